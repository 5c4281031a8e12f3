// The host's tray icon TrayIcon1 and its menu PopupMenu1: every entry and its action, the
// double click, and "&Open" held back until the command line has been handled.
#pragma once
#include <windows.h>

#include <memory>

#include "components/tray_icon_win.h"
#include "platform/win32/handles.h"

namespace kv::win {

inline constexpr char kTrayHint[] = "Ostrel Keyvane - Right Click For Options";
inline constexpr char kSupportAddress[] = "https://www.ostrel.example/keyvane/support/";
inline constexpr char kHomeAddress[] = "https://www.ostrel.example/";

class TrayMenu {
 public:
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

  TrayMenu();
  TEPTrayIcon& icon() { return icon_; }
  HMENU menu() const { return popup_.get(); }

  void command(UINT id);
  // Open1Click and TrayIcon1DblClick.
  void Open1Click();
  void TrayIcon1DblClick();

 private:
  void update_items();
  OwnedMenu popup_;
  HMENU help_ = nullptr;  // owned by popup_
  TEPTrayIcon icon_;
};

}  // namespace kv::win
