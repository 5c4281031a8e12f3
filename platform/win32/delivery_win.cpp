#include "platform/win32/delivery_win.h"

#include "platform/keyboard.h"

namespace kv::win {

namespace {

constexpr UINT kJoin = WM_APP + 1;   // wParam: the thread to join, 0 to leave the current one
constexpr UINT kWatch = WM_APP + 2;  // lParam: how many milliseconds to watch at most

bool marker_toggled() {
  return (GetKeyState(kDeliveryMarkerVk) & 1) != 0;
}

bool send_marker() {
  INPUT in[2] = {};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = kDeliveryMarkerVk;
    i.ki.dwExtraInfo = static_cast<ULONG_PTR>(kInjectedTag);
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, in, sizeof(INPUT)) == 2;
}

}  // namespace

DeliveryWatch::~DeliveryWatch() {
  if (thread_.joinable()) {
    PostThreadMessageA(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
}

bool DeliveryWatch::start_thread() {
  if (thread_.joinable()) return true;
  ack_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  seen_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  if (!ack_ || !seen_) return false;
  thread_ = std::thread([this] { run(); });
  return WaitForSingleObject(ack_.get(), 5000) == WAIT_OBJECT_0;  // its message queue exists
}

void DeliveryWatch::run() {
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  thread_id_ = GetCurrentThreadId();
  SetEvent(ack_.get());
  DWORD joined = 0;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == kJoin) {
      if (joined) AttachThreadInput(thread_id_, joined, FALSE);
      const auto to = static_cast<DWORD>(msg.wParam);
      joined = to && AttachThreadInput(thread_id_, to, TRUE) ? to : 0;
      ok_ = joined != 0;
      SetEvent(ack_.get());
    } else if (msg.hwnd == nullptr && msg.message == kWatch) {
      // The toggle bit flips each time the joined thread takes a marker's press.
      const bool before = marker_toggled();
      ok_ = true;
      SetEvent(ack_.get());
      const ULONGLONG until = GetTickCount64() + static_cast<DWORD>(msg.lParam);
      // No message or event says when another thread takes a key: look every millisecond,
      // for at most the bound.
      while (marker_toggled() == before && GetTickCount64() < until) Sleep(1);
      if (marker_toggled() != before) SetEvent(seen_.get());
    } else {
      DispatchMessageA(&msg);
    }
  }
  if (joined) AttachThreadInput(thread_id_, joined, FALSE);
}

bool DeliveryWatch::post_and_wait(UINT msg, WPARAM wp, LPARAM lp, DWORD timeout_ms) {
  ResetEvent(ack_.get());
  ok_ = false;
  return PostThreadMessageA(thread_id_, msg, wp, lp) && WaitForSingleObject(ack_.get(), timeout_ms) == WAIT_OBJECT_0 &&
         ok_;
}

void DeliveryWatch::follow(HWND target) {
  DWORD tid = target ? GetWindowThreadProcessId(target, nullptr) : 0;
  // Keys for our own thread's windows wait in our own queue: nothing to watch there.
  if (tid == GetCurrentThreadId()) tid = 0;
  if (tid == joined_) return;
  if (!start_thread()) return;
  // A thread that refuses (another desktop, a higher integrity level) leaves nothing joined.
  joined_ = post_and_wait(kJoin, tid, 0, 2000) ? tid : 0;
}

bool DeliveryWatch::wait(DWORD timeout_ms) {
  if (!joined_) return false;
  const HWND fg = GetForegroundWindow();
  if (!fg || GetWindowThreadProcessId(fg, nullptr) != joined_) return false;
  const ULONGLONG until = GetTickCount64() + timeout_ms;
  ResetEvent(seen_.get());
  if (!post_and_wait(kWatch, 0, static_cast<LPARAM>(timeout_ms), timeout_ms) || !send_marker()) return false;
  const ULONGLONG now = GetTickCount64();
  return now < until && WaitForSingleObject(seen_.get(), static_cast<DWORD>(until - now)) == WAIT_OBJECT_0;
}

}  // namespace kv::win
