// The journal recorder as the program drives it: one instance, Recorder, serves the runner and
// the authoring forms.
#pragma once
#include <functional>
#include <string>

namespace kv {

class JournalControl {
 public:
  virtual ~JournalControl() = default;
  virtual void set_record_file_name(const std::string& path) = 0;
  virtual void set_playback_file_name(const std::string& path) = 0;
  virtual void set_keystrokes_only(bool on) = 0;
  virtual void set_hi_speed_playback(bool on) = 0;
  // The file named by the record file name is complete when stop_record returns. A recording
  // that cannot be made (the file cannot be written, the input cannot be watched) raises from
  // start_record with nothing recording.
  virtual void start_record() = 0;
  virtual void stop_record() = 0;
  // Returns at once; the playback ends with exactly one on_finished, on the UI thread.
  virtual void start_playback() = 0;
  // True while a playback runs or waits for an earlier one to end.
  virtual bool busy() const { return false; }
  // True from a start_record that succeeded to the next stop_record.
  virtual bool recording() const { return false; }

  std::function<void(bool user_cancel)> on_finished;
};

}  // namespace kv
