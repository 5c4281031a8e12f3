#include "tests/fakes/fake_system.h"

#include <stdexcept>
#include <utility>

#include "platform/text.h"

namespace kv::fake {

std::optional<std::string> FakeFileSystem::read_file(const std::string& path) {
  auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

bool FakeFileSystem::delete_file(const std::string& path) {
  deleted.push_back(path);
  return files.erase(path) != 0;
}

bool FakeFileSystem::write_file(const std::string& path, const std::string& content) {
  if (refused.count(path)) return false;
  files[path] = content;
  return true;
}

bool FakeFileSystem::rename_file(const std::string& from, const std::string& to) {
  moves.push_back("rename " + from + " -> " + to);
  auto it = files.find(from);
  if (it == files.end() || refused.count(to)) return false;
  for (const auto& [path, content] : files)
    if (path != from && ascii_upper(path) == ascii_upper(to)) return false;
  std::string content = std::move(it->second);
  files.erase(it);
  files[to] = std::move(content);
  return true;
}

bool FakeFileSystem::replace_file(const std::string& from, const std::string& to) {
  moves.push_back("replace " + from + " -> " + to);
  auto it = files.find(from);
  if (it == files.end() || refused.count(to)) return false;
  std::string content = std::move(it->second);
  files.erase(it);
  std::erase_if(files, [&](const auto& f) { return ascii_upper(f.first) == ascii_upper(to); });
  files[to] = std::move(content);
  return true;
}

void FakeTimer::start(unsigned interval_ms) {
  running_ = true;
  interval_ = interval_ms;
  due_ = loop_.now_ms() + interval_ms;
}

void FakeEventLoop::post_at(std::uint64_t time_ms, std::function<void()> message) {
  scheduled_.emplace(time_ms, std::move(message));
}

FakeTimer& FakeEventLoop::make_timer(std::function<void()> on_tick) {
  timers_.push_back(std::make_unique<FakeTimer>(*this, std::move(on_tick)));
  return *timers_.back();
}

void FakeEventLoop::queue_due_ticks() {
  while (!scheduled_.empty() && scheduled_.begin()->first <= now_) {
    queue_.push_back(std::move(scheduled_.begin()->second));
    scheduled_.erase(scheduled_.begin());
  }
  for (auto& t : timers_) {
    if (t->running_ && t->due_ <= now_) {
      // Like WM_TIMER: overdue intervals coalesce into one tick.
      t->due_ = now_ + t->interval_;
      FakeTimer* timer = t.get();
      queue_.push_back([timer] {
        if (timer->running_) timer->on_tick_();
      });
    }
  }
}

void FakeEventLoop::process_messages() {
  ++process_calls;
  queue_due_ticks();
  while (!queue_.empty()) {
    auto message = std::move(queue_.front());
    queue_.pop_front();
    message();
    queue_due_ticks();
  }
}

void FakeEventLoop::wait_for_message() {
  ++wait_calls;
  queue_due_ticks();
  if (!queue_.empty()) return;
  std::uint64_t next = UINT64_MAX;
  if (!scheduled_.empty()) next = scheduled_.begin()->first;
  for (auto& t : timers_)
    if (t->running_ && t->due_ < next) next = t->due_;
  if (next == UINT64_MAX) throw std::logic_error("wait_for_message: nothing can ever arrive (the program would hang)");
  if (next > now_) now_ = next;
  queue_due_ticks();
}

void FakeEventLoop::wait_for_message_or_timeout(unsigned timeout_ms) {
  ++wait_calls;
  queue_due_ticks();
  if (!queue_.empty()) return;
  std::uint64_t next = now_ + timeout_ms;
  if (!scheduled_.empty() && scheduled_.begin()->first < next) next = scheduled_.begin()->first;
  for (auto& t : timers_)
    if (t->running_ && t->due_ < next) next = t->due_;
  if (next > now_) now_ = next;
  queue_due_ticks();
}

std::string FakePrompt::ask(const std::string& prompt) {
  prompts.push_back(prompt);
  if (while_open) while_open();
  if (answers.empty()) return {};
  std::string a = answers.front();
  answers.pop_front();
  return a;
}

std::string FakeDateTime::format_now(DateTimeFormat which) {
  switch (which) {
    case DateTimeFormat::ShortDate:
      return short_date;
    case DateTimeFormat::LongDate:
      return long_date;
    case DateTimeFormat::ShortTime:
      return short_time;
    case DateTimeFormat::LongTime:
      return long_time;
  }
  return {};
}

WindowHandle FakeWindows::add(const std::string& title, bool visible) {
  const WindowHandle h = next_;
  next_ += 0x10;
  windows.insert(windows.begin(), Window{h, title, visible});
  return h;
}

void FakeWindows::remove(WindowHandle h) {
  for (auto it = windows.begin(); it != windows.end(); ++it)
    if (it->handle == h) {
      windows.erase(it);
      return;
    }
}

FakeWindows::Window* FakeWindows::get(WindowHandle h) {
  for (auto& w : windows)
    if (w.handle == h) return &w;
  return nullptr;
}

std::vector<WindowHandle> FakeWindows::top_level_windows() {
  ++enumerations;
  std::vector<WindowHandle> out;
  for (const auto& w : windows) out.push_back(w.handle);
  return out;
}

std::string FakeWindows::window_title(WindowHandle w, std::size_t max_chars) {
  const Window* win = get(w);
  if (!win) return {};
  return win->title.substr(0, max_chars);
}

bool FakeWindows::is_visible(WindowHandle w) {
  const Window* win = get(w);
  return win && win->visible;
}

WindowHandle FakeWindows::foreground() {
  if (activating_ && clock && clock->now_ms() >= active_at_) {
    fg = std::exchange(activating_, 0);
    if (on_foreground_change) on_foreground_change();
  }
  return fg;
}

void FakeWindows::set_foreground(WindowHandle w) {
  foreground_calls.push_back(w);
  if (activation_delay_ms && clock) {
    fg = 0;
    activating_ = w;
    active_at_ = clock->now_ms() + activation_delay_ms;
    return;
  }
  fg = w;
  if (on_foreground_change) on_foreground_change();
}

WindowHandle FakeWindows::find_window(const std::string& title) {
  // FindWindow compares titles without regard to case.
  for (const auto& w : windows)
    if (ascii_upper(w.title) == ascii_upper(title)) return w.handle;
  return 0;
}

}  // namespace kv::fake
