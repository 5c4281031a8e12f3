// The host's playback status and the /CLOSE rule that ends an instance once its macro is done.
#pragma once
#include <string>

namespace kv {

class HostState {
 public:
  // RecordFinished: keeps the last status reported; nothing else.
  void RecordFinished(const std::string& status) { playback_status_ = status; }

  void set_close_when_done(bool on) { close_when_done_ = on; }
  bool close_when_done() const { return close_when_done_; }

  // The once-a-second PlaybackTimer: true when the application should end now.
  bool PlaybackTimerTimer() const {
    return close_when_done_ && (playback_status_ == "True" || playback_status_ == "NoRecord");
  }

  // "&Open" (and the icon's double click) work once the command line has been handled.
  bool open_enabled() const { return open_enabled_; }
  void enable_open() { open_enabled_ = true; }

 private:
  std::string playback_status_;
  bool close_when_done_ = false;
  bool open_enabled_ = false;
};

}  // namespace kv
