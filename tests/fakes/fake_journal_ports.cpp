#include "tests/fakes/fake_journal_ports.h"

#include <chrono>

namespace kv::fake {

bool FakeHooks::set_hooks(bool keyboard, bool mouse, std::function<void(const journal::RawInput&)> sink) {
  std::lock_guard<std::mutex> lock(m_);
  if (refuse) keyboard = mouse = false;
  current_ = {keyboard, mouse};
  installs_.push_back(current_);
  sink_ = std::move(sink);
  return !refuse || sink_ == nullptr;
}

bool FakeHooks::emit(const journal::RawInput& in) {
  std::function<void(const journal::RawInput&)> sink;
  {
    std::lock_guard<std::mutex> lock(m_);
    const bool key = journal::is_key(in.kind);
    if ((key && !current_.keyboard) || (!key && !current_.mouse) || !sink_) return false;
    sink = sink_;
  }
  sink(in);
  return true;
}

std::vector<FakeHooks::Install> FakeHooks::installs() {
  std::lock_guard<std::mutex> lock(m_);
  return installs_;
}

FakeHooks::Install FakeHooks::current() {
  std::lock_guard<std::mutex> lock(m_);
  return current_;
}

std::uint64_t FakeClock::now_us() {
  std::lock_guard<std::mutex> lock(m_);
  return now_;
}

bool FakeClock::wait_until(std::uint64_t deadline_us) {
  std::unique_lock<std::mutex> lock(m_);
  deadlines_.push_back(deadline_us);
  if (held_) {
    blocked_ = true;
    cv_.notify_all();
    cv_.wait(lock, [&] { return woken_ || !held_; });
    blocked_ = false;
  }
  if (woken_) return false;
  if (now_ < deadline_us) now_ = deadline_us;
  return true;
}

void FakeClock::wake() {
  std::lock_guard<std::mutex> lock(m_);
  woken_ = true;
  cv_.notify_all();
}

void FakeClock::rearm() {
  std::lock_guard<std::mutex> lock(m_);
  woken_ = false;
}

void FakeClock::advance(std::uint64_t us) {
  std::lock_guard<std::mutex> lock(m_);
  now_ += us;
}

void FakeClock::hold(bool on) {
  std::lock_guard<std::mutex> lock(m_);
  held_ = on;
  cv_.notify_all();
}

std::vector<std::uint64_t> FakeClock::deadlines() {
  std::lock_guard<std::mutex> lock(m_);
  return deadlines_;
}

bool FakeClock::wait_for_blocked_wait(int timeout_ms) {
  std::unique_lock<std::mutex> lock(m_);
  return cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return blocked_; });
}

std::size_t FakeInjector::send(const std::vector<journal::Event>& batch) {
  int index;
  {
    std::lock_guard<std::mutex> lock(m_);
    index = calls_++;
    if (refuse_from >= 0 && index >= refuse_from) return 0;
    sent_.push_back({clock_.now_us(), batch});
  }
  clock_.advance(cost_us);
  if (after_send) after_send(index);
  return batch.size();
}

std::vector<FakeInjector::Sent> FakeInjector::sent() {
  std::lock_guard<std::mutex> lock(m_);
  return sent_;
}

std::vector<journal::Event> FakeInjector::events() {
  std::vector<journal::Event> all;
  for (const auto& s : sent()) all.insert(all.end(), s.batch.begin(), s.batch.end());
  return all;
}

void FakeUi::post(std::function<void()> f) {
  std::lock_guard<std::mutex> lock(m_);
  queue_.push_back(std::move(f));
  cv_.notify_all();
}

bool FakeUi::run_until(const std::function<bool()>& pred, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!pred()) {
    std::function<void()> f;
    {
      std::unique_lock<std::mutex> lock(m_);
      if (!cv_.wait_until(lock, deadline, [&] { return !queue_.empty(); })) return false;
      f = std::move(queue_.front());
      queue_.pop_front();
    }
    f();
  }
  return true;
}

void FakeUi::run_pending() {
  for (std::size_t n = pending(); n > 0; --n) {
    std::function<void()> f;
    {
      std::lock_guard<std::mutex> lock(m_);
      f = std::move(queue_.front());
      queue_.pop_front();
    }
    f();
  }
}

bool FakeUi::wait_pending(int timeout_ms) {
  std::unique_lock<std::mutex> lock(m_);
  return cv_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return !queue_.empty(); });
}

std::size_t FakeUi::pending() {
  std::lock_guard<std::mutex> lock(m_);
  return queue_.size();
}

std::optional<std::string> FakeRecordingFiles::read(const std::string& path) {
  std::lock_guard<std::mutex> lock(m_);
  auto it = files_.find(path);
  if (it == files_.end()) return std::nullopt;
  return it->second;
}

bool FakeRecordingFiles::write(const std::string& path, const std::string& bytes) {
  std::lock_guard<std::mutex> lock(m_);
  if (refuse_writes) return false;
  files_[path] = bytes;
  return true;
}

void FakeRecordingFiles::put(const std::string& path, const std::string& bytes) {
  write(path, bytes);
}

std::optional<std::string> FakeRecordingFiles::get(const std::string& path) {
  return read(path);
}

}  // namespace kv::fake
