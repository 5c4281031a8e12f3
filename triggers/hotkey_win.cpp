#include "triggers/hotkey_win.h"

#include <string>

#include "platform/win32/adapters.h"

namespace kv::win {

namespace {
constexpr char kClass[] = "TEPHotKeyWindow";
}

TEPHotKey::TEPHotKey() {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TEPHotKey::proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  // Message-only: it receives the hotkey message without showing up among top-level windows.
  window_.reset(
      CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr));
  SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  const std::string unique =
      "TEPHotKey" + std::to_string(GetCurrentProcessId()) + "." + std::to_string(reinterpret_cast<UINT_PTR>(this));
  atom_.reset(GlobalAddAtomA(unique.c_str()));
}

TEPHotKey::~TEPHotKey() {
  release();
  SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
}

bool TEPHotKey::platform_register(unsigned modifiers, unsigned key) {
  return RegisterHotKey(window_.get(), atom_.get(), modifiers, key) != FALSE;
}

void TEPHotKey::platform_unregister() { UnregisterHotKey(window_.get(), atom_.get()); }

LRESULT CALLBACK TEPHotKey::proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_HOTKEY) {
    if (auto* self = reinterpret_cast<TEPHotKey*>(GetWindowLongPtrA(w, GWLP_USERDATA)))
      guarded([self] { self->hotkey_message(GetActiveWindow() != nullptr); });
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace kv::win
