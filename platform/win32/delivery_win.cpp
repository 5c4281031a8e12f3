#include "platform/win32/delivery_win.h"

namespace kv::win {

namespace {

constexpr UINT kSetHook = WM_APP + 1;
constexpr UINT kRemoveHook = WM_APP + 2;

std::atomic<DeliveryWatch*> g_watch{nullptr};  // the hook procedure has no context argument

}  // namespace

DeliveryWatch::~DeliveryWatch() {
  if (thread_.joinable()) {
    PostThreadMessageA(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  g_watch = nullptr;
}

bool DeliveryWatch::start_thread() {
  if (thread_.joinable()) return true;
  ack_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  seen_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!ack_ || !seen_) return false;
  g_watch = this;
  thread_ = std::thread([this] { run(); });
  return WaitForSingleObject(ack_.get(), 5000) == WAIT_OBJECT_0;  // its message queue exists
}

void DeliveryWatch::run() {
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  thread_id_ = GetCurrentThreadId();
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  SetEvent(ack_.get());
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == kSetHook) {
      if (!hook_) hook_.reset(SetWindowsHookExA(WH_KEYBOARD_LL, hook_proc, GetModuleHandleA(nullptr), 0));
      hooked_ = static_cast<bool>(hook_);
      SetEvent(ack_.get());
      continue;
    }
    if (msg.hwnd == nullptr && msg.message == kRemoveHook) {
      hook_.reset();
      continue;
    }
    DispatchMessageA(&msg);
  }
  hook_.reset();
}

bool DeliveryWatch::post_and_wait(UINT msg, DWORD timeout_ms) {
  ResetEvent(ack_.get());
  return PostThreadMessageA(thread_id_, msg, 0, 0) && WaitForSingleObject(ack_.get(), timeout_ms) == WAIT_OBJECT_0;
}

bool DeliveryWatch::wait(DWORD timeout_ms) {
  const ULONGLONG until = GetTickCount64() + timeout_ms;
  if (!start_thread() || !post_and_wait(kSetHook, timeout_ms) || !hooked_) return false;
  const unsigned mine = ++next_ & 0xFF;
  INPUT marker{};
  marker.type = INPUT_KEYBOARD;
  marker.ki.wVk = kDeliveryMarkerVk;
  marker.ki.dwFlags = KEYEVENTF_KEYUP;
  marker.ki.dwExtraInfo = static_cast<ULONG_PTR>(kDeliveryMarkerBase | mine);
  bool seen = false;
  if (SendInput(1, &marker, sizeof marker) == 1) {
    for (;;) {
      if (last_seen_.load() == mine) {
        seen = true;
        break;
      }
      const ULONGLONG now = GetTickCount64();
      if (now >= until || WaitForSingleObject(seen_.get(), static_cast<DWORD>(until - now)) != WAIT_OBJECT_0) break;
    }
  }
  // Off again: every key the user types would pass through it otherwise.
  PostThreadMessageA(thread_id_, kRemoveHook, 0, 0);
  return seen;
}

LRESULT CALLBACK DeliveryWatch::hook_proc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    DeliveryWatch* self = g_watch.load();
    if (self && (k->dwExtraInfo & ~std::uintptr_t{0xFF}) == kDeliveryMarkerBase) {
      self->last_seen_ = static_cast<unsigned>(k->dwExtraInfo & 0xFF);
      SetEvent(self->seen_.get());
      return 1;  // ours: no window gets it
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace kv::win
