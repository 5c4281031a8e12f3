// TKeyvane: the hidden host window. It anchors the process, takes the playback status, ends
// an instance started with /CLOSE once its macro is done, and carries the tray icon.
#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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
    // Handles arguments handed over by a later start, as the command line would.
    std::function<void(const std::vector<std::string>& arguments)> run_arguments;
  };

  explicit HostWindow(Deps deps);
  ~HostWindow() override;

  // Starts the once-a-second check of the /CLOSE rule (after the command line was handled).
  void enable_playback_timer();
  // From now on later starts of the session hand their arguments to this host.
  void take_hand_overs();

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void PlaybackTimerTimer();
  // Answers a WM_COPYDATA at once; what it asks for runs after the sender has its answer.
  bool hand_over_received(const COPYDATASTRUCT& data);
  void run_hand_overs();
  Win32MessagePump& pump_;
  std::function<void(const std::vector<std::string>&)> run_arguments_;
  bool resident_ = false;
  // Hand-overs received and not yet run: empty arguments bring the list window forward.
  std::deque<std::vector<std::string>> hand_overs_;
  HostState& state_;
  std::unique_ptr<Win32Timer> playback_timer_;
  // TrayIcon1 with PopupMenu1.
  std::unique_ptr<TrayMenu> tray_;
};

}  // namespace kv::win
