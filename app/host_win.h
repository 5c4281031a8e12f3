// TKeyvane: the hidden host window. It anchors the process, takes the playback status, ends
// an instance started with /CLOSE once its macro is done, and carries the tray icon.
#pragma once
#include <memory>

#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class TrayMenu;

class HostWindow : public Window {
 public:
  HostWindow();
  ~HostWindow() override;

  // Starts the once-a-second check of the /CLOSE rule (after the command line was handled).
  void enable_playback_timer();
  bool show_hints_checked() const { return show_hints_; }
  void set_show_hints_checked(bool on) { show_hints_ = on; }
  // TrayIcon1 with PopupMenu1.
  TrayMenu& tray() { return *tray_; }

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void PlaybackTimerTimer();
  std::unique_ptr<Win32Timer> playback_timer_;
  bool show_hints_ = true;
  std::unique_ptr<TrayMenu> tray_;
};

}  // namespace kv::win
