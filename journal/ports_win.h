// The journal recorder's ports on Win32: low-level hooks on a thread of their own, SendInput,
// a waitable-timer clock, a hidden window that runs closures on the UI thread, and whole-file
// reads and writes.
#pragma once
#include <windows.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "journal/recorder.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class Win32PlaybackClock : public journal::PlaybackClock {
 public:
  Win32PlaybackClock();
  std::uint64_t now_us() override;
  bool wait_until(std::uint64_t deadline_us) override;
  void wake() override { SetEvent(wake_.get()); }
  void rearm() override { ResetEvent(wake_.get()); }

 private:
  LARGE_INTEGER freq_{};
  OwnedKernelHandle timer_, wake_;
};

// The hooks live on a thread with its own message loop, so a busy UI thread never delays the
// user's input and the system never drops the hooks for answering late.
class Win32InputHooks : public journal::InputHooks {
 public:
  explicit Win32InputHooks(journal::PlaybackClock& clock) : clock_(clock) {}
  ~Win32InputHooks() override;
  Win32InputHooks(const Win32InputHooks&) = delete;
  Win32InputHooks& operator=(const Win32InputHooks&) = delete;

  bool set_hooks(bool keyboard, bool mouse, std::function<void(const journal::RawInput&)> sink) override;
  journal::ScreenRect virtual_screen() override;

 private:
  static LRESULT CALLBACK keyboard_proc(int code, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK mouse_proc(int code, WPARAM wp, LPARAM lp);
  void run();
  void apply(bool reinstall);
  void end_deferral();
  void end_deferral_timer();
  void deliver(journal::RawInput& in);
  void start_thread();

  journal::PlaybackClock& clock_;
  std::thread thread_;
  DWORD thread_id_ = 0;
  OwnedKernelHandle ack_;
  std::mutex m_;  // guards the wishes and the sink; held while the sink runs
  bool want_keyboard_ = false, want_mouse_ = false;
  bool applied_ = false;  // the hooks' thread has every hook it was asked for
  std::function<void(const journal::RawInput&)> sink_;
  // Used on the hooks' thread only.
  OwnedHook keyboard_, mouse_;
  // A keyboard hook kept, passing everything on, until the stop chord's keys are up.
  UINT_PTR defer_timer_ = 0;
  ULONGLONG defer_until_ = 0;
};

class Win32Injector : public journal::Injector {
 public:
  std::size_t send(const std::vector<journal::Event>& batch) override;
};

class Win32UiThread : public journal::UiThread {
 public:
  Win32UiThread();
  void post(std::function<void()> f) override;

 private:
  void run_next();
  std::mutex m_;
  std::deque<std::function<void()>> queue_;
  ComponentWindow window_;
};

class Win32RecordingFiles : public journal::RecordingFiles {
 public:
  std::optional<std::string> read(const std::string& path) override;
  bool write(const std::string& path, const std::string& bytes) override;
};

}  // namespace kv::win
