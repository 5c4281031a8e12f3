// Fakes of the small system ports: files, shell, message pump with virtual time, timers, the
// error report, the prompt, the clock of date formats, and the journal control.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/error.h"

#include "platform/journal.h"
#include "platform/ports.h"

namespace kv::fake {

class FakeFileSystem : public FileSystem {
 public:
  std::string dir = "C:\\Program Files\\Keyvane\\";
  std::map<std::string, std::string> files;  // full path -> content
  std::vector<std::string> deleted;
  std::set<std::string> refused;  // paths that cannot be written

  std::optional<std::string> read_file(const std::string& path) override;
  bool delete_file(const std::string& path) override;
  bool write_file(const std::string& path, const std::string& content) override;
  bool file_exists(const std::string& path) override { return exists(path); }
  // Names are compared as Windows compares them: a to z without regard to case.
  bool rename_file(const std::string& from, const std::string& to) override;
  bool replace_file(const std::string& from, const std::string& to) override;
  bool exists(const std::string& path) const { return files.count(path) != 0; }
  // Every rename and replace tried, as "rename <from> -> <to>" or "replace <from> -> <to>".
  std::vector<std::string> moves;
  std::string program_dir() override { return dir; }
};

class FakeShell : public Shell {
 public:
  std::vector<std::string> opened;
  std::function<void(const std::string&)> on_open;
  void open(const std::string& target) override {
    opened.push_back(target);
    if (on_open) on_open(target);
  }
};

class FakeEventLoop;

class FakeTimer : public Timer {
 public:
  FakeTimer(FakeEventLoop& loop, std::function<void()> on_tick) : loop_(loop), on_tick_(std::move(on_tick)) {}
  void start(unsigned interval_ms) override;
  void stop() override { running_ = false; }
  bool running() const override { return running_; }
  unsigned interval() const override { return interval_; }

 private:
  friend class FakeEventLoop;
  FakeEventLoop& loop_;
  std::function<void()> on_tick_;
  bool running_ = false;
  unsigned interval_ = 0;
  std::uint64_t due_ = 0;
};

// A message queue in virtual time. process_messages delivers everything queued and every timer
// tick that is due; wait_for_message moves the clock to the next due event (it fails the test
// when nothing could ever arrive, which would be a hang on the real system).
class FakeEventLoop : public MessagePump, public Clock {
 public:
  void post(std::function<void()> message) { queue_.push_back(std::move(message)); }
  void post_at(std::uint64_t time_ms, std::function<void()> message);
  FakeTimer& make_timer(std::function<void()> on_tick);

  void process_messages() override;
  void wait_for_message() override;
  // Moves the clock to the next due event, but no further than timeout_ms on.
  void wait_for_message_or_timeout(unsigned timeout_ms) override;
  void sleep_ms(unsigned ms) override {
    now_ += ms;
    slept_ms += ms;
  }
  bool terminated() override { return terminated_; }
  std::uint64_t now_ms() override { return now_; }

  void terminate() { terminated_ = true; }
  void advance(std::uint64_t ms) { now_ += ms; }

  int process_calls = 0;
  int wait_calls = 0;
  std::uint64_t slept_ms = 0;

 private:
  void queue_due_ticks();

  std::deque<std::function<void()>> queue_;
  std::multimap<std::uint64_t, std::function<void()>> scheduled_;
  std::vector<std::unique_ptr<FakeTimer>> timers_;
  std::uint64_t now_ = 0;
  bool terminated_ = false;
};

class FakeErrorReport : public ErrorReport {
 public:
  std::vector<std::string> shown;
  void show_error(const std::string& message) override { shown.push_back(message); }
};

class FakePrompt : public RuntimePrompt {
 public:
  std::deque<std::string> answers;
  std::vector<std::string> prompts;
  std::function<void()> while_open;  // runs as if messages were processed while the form is up
  std::string ask(const std::string& prompt) override;
};

class FakeDateTime : public DateTimeSource {
 public:
  std::string short_date = "08/12/2026", long_date = "Tuesday, December 8, 2026";
  std::string short_time = "6:32 AM", long_time = "6:32:36 AM";
  std::string format_now(DateTimeFormat which) override;
};

class FakeJournal : public JournalControl {
 public:
  struct Call {
    std::string what;
    std::string file;
    bool hi_speed = false;
    bool keystrokes_only = false;
  };
  std::vector<Call> calls;
  std::string record_file, playback_file;
  bool keystrokes_only = false, hi_speed = false;

  void set_record_file_name(const std::string& path) override { record_file = path; }
  void set_playback_file_name(const std::string& path) override { playback_file = path; }
  void set_keystrokes_only(bool on) override { keystrokes_only = on; }
  void set_hi_speed_playback(bool on) override { hi_speed = on; }
  void start_record() override {
    calls.push_back({"record", record_file, hi_speed, keystrokes_only});
    if (!start_error.empty()) throw Error(start_error);
    recording_ = true;
    if (disk) disk->files[record_file] = "";
  }
  void stop_record() override {
    calls.push_back({"stop", record_file, hi_speed, keystrokes_only});
    const bool was = recording_;
    recording_ = false;
    if (was && !stop_error.empty()) throw Error(stop_error);
    if (was && disk) disk->files[record_file] = "take " + std::to_string(++takes);
  }
  // Where the takes go, when set: "take 1", "take 2"...
  FakeFileSystem* disk = nullptr;
  int takes = 0;
  bool recording() const override { return recording_; }
  bool recording_ = false;
  // Raised by the next start (nothing records then) or by the stop of a recording.
  std::string start_error, stop_error;
  void start_playback() override { calls.push_back({"play", playback_file, hi_speed}); }
  bool busy() const override { return busy_; }
  bool busy_ = false;
  // Raises OnFinished as the control would, once the playback ended.
  void finish(bool user_cancel = false) {
    if (on_finished) on_finished(user_cancel);
  }
};

class FakeWindows : public WindowSystem {
 public:
  struct Window {
    WindowHandle handle;
    std::string title;
    bool visible = true;
  };
  std::vector<Window> windows;  // enumeration order, topmost first
  WindowHandle fg = 0;
  std::vector<WindowHandle> foreground_calls;
  int enumerations = 0;

  WindowHandle add(const std::string& title, bool visible = true);
  void remove(WindowHandle h);
  Window* get(WindowHandle h);

  std::vector<WindowHandle> top_level_windows() override;
  std::string window_title(WindowHandle w, std::size_t max_chars) override;
  bool is_visible(WindowHandle w) override;
  WindowHandle foreground() override;
  void set_foreground(WindowHandle w) override;
  // Activation takes this long on the clock (the window's thread has to answer first); till
  // then the foreground is no window.
  Clock* clock = nullptr;
  std::uint64_t activation_delay_ms = 0;
  // Runs once the foreground changed (so a test can let the system route its input then).
  std::function<void()> on_foreground_change;
  WindowHandle find_window(const std::string& title) override;

 private:
  WindowHandle next_ = 0x10020;
  WindowHandle activating_ = 0;
  std::uint64_t active_at_ = 0;
};

}  // namespace kv::fake
