// The host's state: the playback status and the /CLOSE rule that ends an instance once its macro
// is done, "&Open" held back until the command line has been handled, the "&Show Hints" mark.
#pragma once
#include <string>

namespace kv {

class HostState {
 public:
  // RecordFinished: keeps the last status reported; nothing else.
  void RecordFinished(const std::string& status) { playback_status_ = status; }

  void set_close_when_done(bool on) { close_when_done_ = on; }
  bool close_when_done() const { return close_when_done_; }

  // A macro of the command line ended with an error: a /CLOSE instance then ends too, as no
  // status will come for it.
  void command_line_run_failed() { run_failed_ = true; }

  // The once-a-second PlaybackTimer: true when the application should end now.
  bool PlaybackTimerTimer() const {
    return close_when_done_ && (playback_status_ == "True" || playback_status_ == "NoRecord" || run_failed_);
  }

  // "&Open" (and the icon's double click) work once the command line has been handled.
  bool open_enabled() const { return open_enabled_; }
  void enable_open() { open_enabled_ = true; }

  // The check mark of the tray's "&Show Hints" (mnuShowHints), loaded from the store as the host
  // is created; the tray item and the closing of the hint window keep it in step.
  bool& show_hints_checked() { return show_hints_checked_; }

 private:
  std::string playback_status_;
  bool close_when_done_ = false;
  bool run_failed_ = false;
  bool open_enabled_ = false;
  bool show_hints_checked_ = true;
};

}  // namespace kv
