// The journal recorder: records keyboard and mouse input into .dat files and plays them back.
// The logic lives here, portable; the system is reached through the ports below, whose Win32
// side hooks input on a thread of its own and injects it with SendInput.
#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "journal/capture.h"
#include "journal/dat_file.h"
#include "platform/journal.h"
#include "platform/ports.h"

namespace kv::journal {

// Low-level keyboard and mouse hooks.
class InputHooks {
 public:
  virtual ~InputHooks() = default;
  // Installs or removes the hooks. The sink runs on the hooks' own thread; once a call that
  // removes a hook returns, the sink sees no more events of it. False when a hook asked for is
  // not in place (the system refused it).
  virtual bool set_hooks(bool keyboard, bool mouse, std::function<void(const RawInput&)> sink) = 0;
  virtual ScreenRect virtual_screen() = 0;
};

class Injector {
 public:
  virtual ~Injector() = default;
  // Sends the events as one batch, tagged as ours; returns how many went through.
  virtual std::size_t send(const std::vector<Event>& batch) = 0;
};

// The playback's time base and its cancellable wait.
class PlaybackClock {
 public:
  virtual ~PlaybackClock() = default;
  virtual std::uint64_t now_us() = 0;
  // Blocks until now_us() reaches the deadline (true) or wake() was called (false).
  virtual bool wait_until(std::uint64_t deadline_us) = 0;
  // From any thread: every wait returns false until rearm().
  virtual void wake() = 0;
  virtual void rearm() = 0;
};

// Runs closures on the user-interface thread, in order, while it processes messages.
class UiThread {
 public:
  virtual ~UiThread() = default;
  virtual void post(std::function<void()> f) = 0;
};

class RecordingFiles {
 public:
  virtual ~RecordingFiles() = default;
  virtual std::optional<std::string> read(const std::string& path) = 0;
  // Replaces the file as a whole; false when it could not be written.
  virtual bool write(const std::string& path, const std::string& bytes) = 0;
};

struct JournalPorts {
  InputHooks& hooks;
  Injector& injector;
  PlaybackClock& clock;
  UiThread& ui;
  RecordingFiles& files;
  ErrorReport& errors;
};

// How one playback ended.
struct PlayOutcome {
  bool user_cancel = false;
  std::string error;  // shown to the user before the playback's OnFinished
};

// Plays a recording: at its recorded offsets from the start of the playback (so waits never add
// up to drift) or as fast as possible; stops when cancelled or when the system refuses input,
// and then releases whatever it had pressed.
PlayOutcome play_recording(const Recording& r, bool hi_speed, Injector& injector, PlaybackClock& clock,
                           const std::atomic<bool>& cancel);

inline constexpr std::uint8_t kCancelVk = 0x1B;  // Esc

inline constexpr const char* kHooksRefused =
    "Keyvane cannot watch the keyboard and mouse at the moment, so nothing can be recorded.  Close any program that "
    "might be blocking it and try again.";

class JournalRecorder : public JournalControl {
 public:
  explicit JournalRecorder(JournalPorts ports) : p_(ports) {}
  ~JournalRecorder() override;
  JournalRecorder(const JournalRecorder&) = delete;
  JournalRecorder& operator=(const JournalRecorder&) = delete;

  void set_record_file_name(const std::string& path) override { record_file_ = path; }
  void set_playback_file_name(const std::string& path) override { playback_file_ = path; }
  void set_keystrokes_only(bool on) override { keystrokes_only_ = on; }
  void set_hi_speed_playback(bool on) override { hi_speed_ = on; }
  void start_record() override;
  void stop_record() override;
  // A playback asked for while another runs is queued and starts when that one has finished;
  // Esc cancels the running playback and drops the queued ones.
  void start_playback() override;
  bool busy() const override { return playing_ || !queue_.empty(); }

  bool recording() const override { return recording_; }

 private:
  struct Request {
    std::string file;
    bool hi_speed;
  };
  void begin(const Request& r);
  void playback_done(const PlayOutcome& outcome);
  bool update_hooks();
  void on_input(const RawInput& in);

  JournalPorts p_;
  std::string record_file_, playback_file_;
  bool keystrokes_only_ = false, hi_speed_ = false;

  // Recording: the capture is fed on the hooks' thread.
  std::mutex capture_mutex_;
  std::optional<Capture> capture_;
  bool recording_ = false, recording_keys_only_ = false;

  // Playback: one worker at a time; further requests wait in the queue.
  std::thread worker_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> watch_cancel_key_{false};
  bool playing_ = false;
  std::deque<Request> queue_;
};

}  // namespace kv::journal
