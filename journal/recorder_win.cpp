// Recorder on Win32: the portable recorder over hooks, SendInput and a waitable timer.
#include "journal/recorder_win.h"

#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

#include "journal/ports_win.h"
#include "platform/win32/adapters.h"

namespace kv::win {

namespace {

// Owns the ports; they outlive the recorder that uses them.
class Win32Recorder : public JournalControl {
 public:
  Win32Recorder() : hooks_(clock_), recorder_({hooks_, injector_, clock_, ui_, files_, errors_}) {
    timeBeginPeriod(1);  // finer timer ticks for playback at the recorded speed
    recorder_.on_finished = [this](bool cancel) {
      if (on_finished) on_finished(cancel);
    };
  }
  ~Win32Recorder() override { timeEndPeriod(1); }

  void set_record_file_name(const std::string& path) override { recorder_.set_record_file_name(path); }
  void set_playback_file_name(const std::string& path) override { recorder_.set_playback_file_name(path); }
  void set_keystrokes_only(bool on) override { recorder_.set_keystrokes_only(on); }
  void set_hi_speed_playback(bool on) override { recorder_.set_hi_speed_playback(on); }
  void start_record() override { recorder_.start_record(); }
  void stop_record() override { recorder_.stop_record(); }
  void start_playback() override { recorder_.start_playback(); }
  bool busy() const override { return recorder_.busy(); }
  bool recording() const override { return recorder_.recording(); }

 private:
  Win32PlaybackClock clock_;
  Win32InputHooks hooks_;
  Win32Injector injector_;
  Win32UiThread ui_;
  Win32RecordingFiles files_;
  Win32ErrorReport errors_;
  journal::JournalRecorder recorder_;
};

}  // namespace

std::unique_ptr<JournalControl> make_recorder() {
  return std::make_unique<Win32Recorder>();
}

}  // namespace kv::win
