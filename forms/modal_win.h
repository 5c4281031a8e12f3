// While a form is shown modally the program's other visible windows take no input; they are
// enabled again when it closes.
#pragma once
#include <windows.h>

#include <vector>

namespace kv::win {

class ModalScope {
 public:
  explicit ModalScope(HWND modal) {
    EnumThreadWindows(GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(&disabled_));
    std::erase(disabled_, modal);
    for (HWND w : disabled_) EnableWindow(w, FALSE);
  }
  ~ModalScope() {
    for (HWND w : disabled_)
      if (IsWindow(w)) EnableWindow(w, TRUE);
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;

 private:
  static BOOL CALLBACK collect(HWND w, LPARAM lp) {
    if (IsWindowVisible(w) && IsWindowEnabled(w)) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
    return TRUE;
  }
  std::vector<HWND> disabled_;
};

}  // namespace kv::win
