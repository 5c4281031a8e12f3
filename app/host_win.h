// TKeyvane: the hidden host window. It anchors the process, takes the playback status, ends
// an instance started with /CLOSE once its macro is done, and carries the tray icon.
#pragma once
#include <functional>
#include <memory>

#include "app/host_state.h"
#include "app/tray_menu_win.h"
#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class HostWindow : public Window {
 public:
  struct Deps {
    // Processes messages while the host is created; a close request ends the application.
    Win32MessagePump& pump;
    ProfileStore& profile;
    Shell& shell;
    Help& help;
    HostState& state;
    // The manager window, created after the host: nullptr until then.
    std::function<MainForm*()> manager;
  };

  explicit HostWindow(Deps deps);

  // Starts the once-a-second check of the /CLOSE rule (after the command line was handled).
  void enable_playback_timer();

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void PlaybackTimerTimer();
  Win32MessagePump& pump_;
  HostState& state_;
  std::unique_ptr<Win32Timer> playback_timer_;
  // TrayIcon1 with PopupMenu1.
  std::unique_ptr<TrayMenu> tray_;
};

}  // namespace kv::win
