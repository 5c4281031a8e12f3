// Until the recorder proper exists, a playback ends at once (on the UI thread) and a
// recording records nothing.
#include "journal/recorder_win.h"

#include <windows.h>

#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

namespace kv::win {

namespace {

constexpr UINT kFinished = WM_APP + 1;

class InterimRecorder : public JournalControl, public Window {
 public:
  InterimRecorder() { create("KeyvaneRecorder", "", WS_POPUP, 0, 0, 0, 0, 0); }
  void set_record_file_name(const std::string& path) override { record_ = path; }
  std::string record_file_name() const override { return record_; }
  void set_playback_file_name(const std::string& path) override { playback_ = path; }
  std::string playback_file_name() const override { return playback_; }
  void set_keystrokes_only(bool) override {}
  void set_hi_speed_playback(bool on) override { hi_ = on; }
  bool hi_speed_playback() const override { return hi_; }
  void start_record() override {}
  void stop_record() override {}
  void start_playback() override { PostMessageA(hwnd(), kFinished, 0, 0); }

 protected:
  bool handle(UINT msg, WPARAM, LPARAM, LRESULT& result) override {
    if (msg != kFinished) return false;
    if (on_finished) on_finished(false);
    result = 0;
    return true;
  }

 private:
  std::string record_, playback_;
  bool hi_ = false;
};

}  // namespace

std::unique_ptr<JournalControl> make_recorder() { return std::make_unique<InterimRecorder>(); }

}  // namespace kv::win
