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

void Win32MessagePump::wait_for_message_or_timeout(unsigned timeout_ms) {
  if (terminated_) return;
  MsgWaitForMultipleObjectsEx(0, nullptr, timeout_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32MessagePump::terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

namespace {
constexpr char kTimerClass[] = "KeyvaneTimerWindow";
constexpr UINT_PTR kTimerId = 1;
}  // namespace

Win32Timer::Win32Timer(std::function<void()> on_tick) : on_tick_(std::move(on_tick)) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Win32Timer::proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kTimerClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  window_.reset(
      CreateWindowExA(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr));
  SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Timer::~Win32Timer() {
  stop();
}

void Win32Timer::start(unsigned interval_ms) {
  interval_ = interval_ms;
  running_ = true;
  SetTimer(window_.get(), kTimerId, interval_ms, nullptr);
}

void Win32Timer::stop() {
  if (running_) KillTimer(window_.get(), kTimerId);
  running_ = false;
}

LRESULT CALLBACK Win32Timer::proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    auto* self = reinterpret_cast<Win32Timer*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (self && self->running_ && self->on_tick_) guarded(self->on_tick_);
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace kv::win
