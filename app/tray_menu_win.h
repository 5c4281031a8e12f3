// The host's tray icon TrayIcon1 and its menu PopupMenu1: every entry and its action, the
// double click, and "&Open" held back until the command line has been handled.
#pragma once
#include <windows.h>

#include <functional>

#include "app/host_state.h"
#include "components/help_win.h"
#include "components/tray_icon_win.h"
#include "platform/ports.h"
#include "platform/win32/adapters.h"
#include "platform/win32/handles.h"

namespace kv::win {

class MainForm;

inline constexpr char kTrayHint[] = "Ostrel Keyvane - Right Click For Options";
inline constexpr char kSupportAddress[] = "https://www.ostrel.example/keyvane/support/";
inline constexpr char kHomeAddress[] = "https://www.ostrel.example/";

class TrayMenu {
 public:
  struct Deps {
    ProfileStore& profile;
    // Processes messages after the double click's show; "&Exit" ends the application.
    Win32MessagePump& pump;
    Shell& shell;
    Help& help;
    HostState& state;
    // The manager window, created after the host: nullptr until then.
    std::function<MainForm*()> manager;
  };

  enum Command : UINT {
    kOpen = 1,
    kPrint,
    kOperation,
    kShowHints,
    kFaq,
    kSupport,
    kAbout,
    kVisit,
    kExit,
  };

  explicit TrayMenu(Deps deps);

  void command(UINT id);
  // Open1Click and TrayIcon1DblClick.
  void Open1Click();
  void TrayIcon1DblClick();

 private:
  void update_items();
  Deps d_;
  OwnedMenu popup_;
  HMENU help_ = nullptr;  // owned by popup_
  TEPTrayIcon icon_;
};

}  // namespace kv::win
