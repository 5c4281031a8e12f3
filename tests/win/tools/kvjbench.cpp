// kvjbench.exe [events] [seconds]: plays a recording of `events` key events spread over
// `seconds` at the recorded speed with the program's own player, SendInput and timer, and
// prints how far each event's playback offset lies from its recorded offset: when it was sent,
// and when it reached a low-level keyboard hook. Figures, not a test (tests/bench).
#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <vector>

#include "journal/ports_win.h"

using namespace kv::journal;

namespace {

// The injector, noting the time of each send.
class TimedInjector : public Injector {
 public:
  TimedInjector(kv::win::Win32Injector& real, PlaybackClock& clock) : real_(real), clock_(clock) {}
  std::size_t send(const std::vector<Event>& batch) override {
    sent_us.push_back(clock_.now_us());
    return real_.send(batch);
  }
  std::vector<std::uint64_t> sent_us;

 private:
  kv::win::Win32Injector& real_;
  PlaybackClock& clock_;
};

void report(const char* what, const std::vector<double>& err_ms) {
  std::vector<double> a;
  for (double e : err_ms) a.push_back(std::fabs(e));
  std::sort(a.begin(), a.end());
  auto pct = [&](double p) {
    return a[static_cast<std::size_t>(std::min<double>(a.size() - 1, p * (a.size() - 1) + 0.5))];
  };
  double mean = 0;
  for (double e : err_ms) mean += e;
  mean /= static_cast<double>(err_ms.size());
  std::printf("%-22s n=%zu median=%.3f ms p99=%.3f ms max=%.3f ms mean(signed)=%.3f ms drift(last)=%.3f ms\n", what,
              a.size(), pct(0.5), pct(0.99), a.back(), mean, err_ms.back());
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 600;
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
  // Press/release pairs of F24 (it types nothing) at random moments, last one at the end.
  Recording r;
  r.keystrokes_only = true;
  r.duration_ms = static_cast<std::uint32_t>(seconds * 1000);
  std::mt19937 rng(42);
  std::uniform_int_distribution<std::uint32_t> at(0, r.duration_ms - 20);
  std::vector<std::uint32_t> times;
  for (int i = 0; i < count / 2; ++i) times.push_back(at(rng));
  std::sort(times.begin(), times.end());
  times.back() = r.duration_ms - 20;
  for (std::uint32_t t : times) {
    Event d;
    d.offset_ms = t;
    d.kind = EventKind::KeyDown;
    d.vk = VK_F24;
    Event u = d;
    u.offset_ms = t + 1 + at(rng) % 19;
    u.kind = EventKind::KeyUp;
    r.events.push_back(d);
    r.events.push_back(u);
  }
  std::stable_sort(r.events.begin(), r.events.end(),
                   [](const Event& a, const Event& b) { return a.offset_ms < b.offset_ms; });

  kv::win::Win32PlaybackClock clock;
  kv::win::Win32InputHooks hooks(clock);
  kv::win::Win32Injector real;
  TimedInjector injector(real, clock);
  std::mutex m;
  std::vector<std::uint64_t> hooked_us;
  hooks.set_hooks(true, false, [&](const RawInput& in) {
    if (in.vk != VK_F24) return;
    std::lock_guard<std::mutex> lock(m);
    hooked_us.push_back(in.time_us);
  });
  timeBeginPeriod(1);
  std::atomic<bool> cancel{false};
  std::printf("playing %zu events over %d s at the recorded speed\n", r.events.size(), seconds);
  const std::uint64_t start = clock.now_us();
  play_recording(r, false, injector, clock, cancel);
  Sleep(300);
  hooks.set_hooks(false, false, nullptr);
  timeEndPeriod(1);

  std::vector<double> sent_err, hook_err;
  for (std::size_t i = 0; i < r.events.size() && i < injector.sent_us.size(); ++i)
    sent_err.push_back((static_cast<double>(injector.sent_us[i] - start) - r.events[i].offset_ms * 1000.0) / 1000.0);
  std::lock_guard<std::mutex> lock(m);
  for (std::size_t i = 0; i < r.events.size() && i < hooked_us.size(); ++i)
    hook_err.push_back((static_cast<double>(hooked_us[i] - start) - r.events[i].offset_ms * 1000.0) / 1000.0);
  report("sent (scheduler)", sent_err);
  if (hooked_us.size() == r.events.size()) {
    report("reached the hook", hook_err);
  } else {
    std::printf("the hook saw %zu of %zu events\n", hooked_us.size(), r.events.size());
  }
  return 0;
}
