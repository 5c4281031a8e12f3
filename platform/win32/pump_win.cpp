#include <algorithm>
#include <vector>

#include "platform/win32/adapters.h"

namespace kv::win {

namespace {
std::vector<HWND>& dialogs() {
  static std::vector<HWND> list;
  return list;
}
std::function<bool(const MSG&)>& key_preview() {
  static std::function<bool(const MSG&)> preview;
  return preview;
}
}  // namespace

void Win32MessagePump::add_dialog(HWND w) {
  dialogs().push_back(w);
}

void Win32MessagePump::remove_dialog(HWND w) {
  auto& d = dialogs();
  d.erase(std::remove(d.begin(), d.end(), w), d.end());
}

void Win32MessagePump::set_key_preview(std::function<bool(const MSG&)> preview) {
  key_preview() = std::move(preview);
}

void Win32MessagePump::dispatch(MSG& msg) {
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && key_preview() && key_preview()(msg)) return;
  if (msg.hwnd) {
    const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    for (HWND d : dialogs())
      if (d == root && IsDialogMessageA(d, &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void Win32MessagePump::process_messages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      continue;
    }
    dispatch(msg);
  }
}

void Win32MessagePump::wait_for_message() {
  if (terminated_) return;
  MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32MessagePump::terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

Win32Timer::Win32Timer(std::function<void()> on_tick)
    : on_tick_(std::move(on_tick)),
      window_(ComponentWindow::Kind::MessageOnly, [this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_TIMER) return false;
        if (running_ && on_tick_) on_tick_();
        result = 0;
        return true;
      }) {}

Win32Timer::~Win32Timer() {
  stop();
}

void Win32Timer::start(unsigned interval_ms) {
  interval_ = interval_ms;
  running_ = true;
  SetTimer(window_.hwnd(), kTimerId, interval_ms, nullptr);
}

void Win32Timer::stop() {
  if (running_) KillTimer(window_.hwnd(), kTimerId);
  running_ = false;
}

}  // namespace kv::win
