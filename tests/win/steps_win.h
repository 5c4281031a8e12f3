// Helpers of the Windows-side form tests: steps played one per timer tick while a form's own
// modal loop waits, and a window's text.
#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "platform/win32/adapters.h"

namespace kv::test {

// Steps run one per tick, from the front, while a modal run processes messages.
struct Steps {
  std::deque<std::function<void()>> queue;
  kv::win::Win32Timer timer{[this] {
    if (queue.empty()) return;
    auto step = std::move(queue.front());
    queue.pop_front();
    step();
  }};
  explicit Steps(unsigned interval_ms = 30) { timer.start(interval_ms); }
};

inline std::string text_of(HWND w) {
  char buf[512] = {};
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

}  // namespace kv::test
