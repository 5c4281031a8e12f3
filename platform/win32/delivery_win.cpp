#include "platform/win32/delivery_win.h"

#include "platform/keyboard.h"
#include "platform/scope_exit.h"

namespace kv::win {

namespace {

// The marker key as the key state of the calling thread's input has it.
bool marker_down() {
  BYTE state[256] = {};
  GetKeyboardState(state);
  return (state[kDeliveryMarkerVk] & 0x80) != 0;
}

bool send_marker(bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = kDeliveryMarkerVk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  in.ki.dwExtraInfo = static_cast<ULONG_PTR>(kInjectedTag);
  return SendInput(1, &in, sizeof in) == 1;
}

// Polls until the marker key is down (or up) in the key state, or the time is out.
bool poll_marker(bool down, ULONGLONG until) {
  for (;;) {
    if (marker_down() == down) return true;
    if (GetTickCount64() >= until) return false;
    Sleep(1);
  }
}

}  // namespace

bool DeliveryWatch::wait(DWORD timeout_ms) {
  const HWND fg = GetForegroundWindow();
  if (!fg) return false;
  const DWORD target = GetWindowThreadProcessId(fg, nullptr);
  const DWORD self = GetCurrentThreadId();
  // Keys for our own windows wait in our own queue: nothing to wait for here.
  if (!target || target == self) return false;
  // Sharing the other thread's input for a moment lets us read the key state it keeps. A
  // thread updates that state as it takes key messages from its queue, so the marker shows
  // down there only once everything sent before it has been taken.
  if (!AttachThreadInput(self, target, TRUE)) return false;
  const ScopeExit detach([&] { AttachThreadInput(self, target, FALSE); });
  const ULONGLONG until = GetTickCount64() + timeout_ms;
  // The release of an earlier marker may still be on its way; the state read first may also
  // be an old copy, which only ever shows the marker down.
  if (!poll_marker(false, until) || !send_marker(false)) return false;
  const bool taken = poll_marker(true, until);
  send_marker(true);
  return taken;
}

}  // namespace kv::win
