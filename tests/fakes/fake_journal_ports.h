// Fakes of the journal recorder's ports: hooks fed by the test, an injector that logs what it
// was given, a virtual clock, a UI queue the test drains on its own thread, files in memory.
#pragma once
#include <condition_variable>
#include <map>
#include <mutex>

#include "journal/recorder.h"

namespace kv::fake {

// The pixel the system moves to for a normalised absolute position.
inline std::int32_t denormalise(std::uint16_t value, std::int32_t origin, std::int32_t extent) {
  return origin + static_cast<std::int32_t>(static_cast<std::int64_t>(value) * extent / 65536);
}

class FakeHooks : public journal::InputHooks {
 public:
  struct Install {
    bool keyboard, mouse;
  };
  journal::ScreenRect screen{0, 0, 1280, 1024};

  bool set_hooks(bool keyboard, bool mouse, std::function<void(const journal::RawInput&)> sink) override;
  bool refuse = false;  // the system will not install hooks
  journal::ScreenRect virtual_screen() override { return screen; }
  // As the hook thread would: false when no hook of that kind is installed.
  bool emit(const journal::RawInput& in);
  std::vector<Install> installs();
  Install current();

 private:
  std::mutex m_;
  std::vector<Install> installs_;
  Install current_{false, false};
  std::function<void(const journal::RawInput&)> sink_;
};

// Virtual microseconds. A wait moves the clock to its deadline unless the clock is held, in
// which case it blocks until released or woken.
class FakeClock : public journal::PlaybackClock {
 public:
  std::uint64_t now_us() override;
  bool wait_until(std::uint64_t deadline_us) override;
  void wake() override;
  void rearm() override;

  void advance(std::uint64_t us);
  void hold(bool on);
  std::vector<std::uint64_t> deadlines();
  // Blocks until a wait is under way while the clock is held.
  bool wait_for_blocked_wait(int timeout_ms = 5000);

 private:
  std::mutex m_;
  std::condition_variable cv_;
  std::uint64_t now_ = 1'000'000;
  bool woken_ = false, held_ = false, blocked_ = false;
  std::vector<std::uint64_t> deadlines_;
};

class FakeInjector : public journal::Injector {
 public:
  struct Sent {
    std::uint64_t at_us;
    std::vector<journal::Event> batch;
  };
  FakeInjector(FakeClock& clock) : clock_(clock) {}
  std::size_t send(const std::vector<journal::Event>& batch) override;
  std::vector<Sent> sent();
  std::vector<journal::Event> events();  // all batches, flattened

  std::uint64_t cost_us = 0;  // time each send takes
  int refuse_from = -1;       // index of the first send refused
  std::function<void(int index)> after_send;

 private:
  FakeClock& clock_;
  std::mutex m_;
  std::vector<Sent> sent_;
  int calls_ = 0;
};

class FakeUi : public journal::UiThread {
 public:
  void post(std::function<void()> f) override;
  // Runs posted closures on the calling thread until pred() holds; false on time-out.
  bool run_until(const std::function<bool()>& pred, int timeout_ms = 5000);
  std::size_t pending();
  // Runs what is queued now; waits until something is queued (false on time-out).
  void run_pending();
  bool wait_pending(int timeout_ms = 5000);

 private:
  std::mutex m_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> queue_;
};

class FakeRecordingFiles : public journal::RecordingFiles {
 public:
  std::optional<std::string> read(const std::string& path) override;
  bool write(const std::string& path, const std::string& bytes) override;
  void put(const std::string& path, const std::string& bytes);
  std::optional<std::string> get(const std::string& path);
  bool refuse_writes = false;

 private:
  std::mutex m_;
  std::map<std::string, std::string> files_;
};

}  // namespace kv::fake
