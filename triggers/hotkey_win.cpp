#include "triggers/hotkey_win.h"

#include <string>

namespace kv::win {

TEPHotKey::TEPHotKey()
    : window_(ComponentWindow::Kind::MessageOnly, [this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_HOTKEY) return false;
        hotkey_message(GetActiveWindow() != nullptr);
        result = 0;
        return true;
      }) {
  const std::string unique =
      "TEPHotKey" + std::to_string(GetCurrentProcessId()) + "." + std::to_string(reinterpret_cast<UINT_PTR>(this));
  atom_.reset(GlobalAddAtomA(unique.c_str()));
}

TEPHotKey::~TEPHotKey() {
  release();
}

bool TEPHotKey::platform_register(unsigned modifiers, unsigned key) {
  return RegisterHotKey(window_.hwnd(), atom_.get(), modifiers, key) != FALSE;
}

void TEPHotKey::platform_unregister() {
  UnregisterHotKey(window_.hwnd(), atom_.get());
}

}  // namespace kv::win
