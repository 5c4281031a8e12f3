// Forms shown modally: while one is up the program's other visible windows take no input, and
// messages are processed until it ends its run.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/ports.h"
#include "platform/win32/window_win.h"

namespace kv::win {

// Disables the visible, enabled windows of the thread other than `modal` for its lifetime.
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

// The modal runs of one form. A form may be shown again from inside its own run (a prompt asked
// while it is up): end() ends the innermost run, and the outer one goes on waiting.
class ModalRun {
 public:
  explicit ModalRun(MessagePump& pump) : pump_(pump) {}
  ModalRun(const ModalRun&) = delete;
  ModalRun& operator=(const ModalRun&) = delete;

  // Disables the other windows (ModalScope), calls `show` to put the form up and give it the
  // focus, and processes messages until end() is called, the form is destroyed or the program is
  // asked to end. The other windows take input again before this returns, so that hiding the
  // form afterwards hands the focus to one of them. Returns the code given to end(), 0 without.
  int run(HWND form, const std::function<void()>& show);
  // The usual run: the form centred on the screen, in the foreground with the focus on `focus`,
  // and hidden again once the run has ended.
  int show_centred(Window& form, HWND focus);
  // Ends the innermost run with `code`; does nothing when no run is in progress.
  void end(int code = IDOK);
  bool running() const { return !runs_.empty(); }

 private:
  MessagePump& pump_;
  std::vector<std::optional<int>*> runs_;  // innermost last
};

}  // namespace kv::win
