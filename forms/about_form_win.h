// The manager window's about box: caption "About Keyvane", product line "Keyvane 3.3d".
#pragma once
#include <windows.h>

#include "forms/modal_win.h"
#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class AboutForm : public Window {
 public:
  struct Deps {
    Win32MessagePump& pump;
    // The manager window.
    HWND owner;
  };

  explicit AboutForm(Deps deps);
  // Returns when the box is closed.
  void show_modal();

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  ModalRun modal_;
  Win32MessagePump::Registration dialog_keys_;
  HWND ok_ = nullptr;
};

}  // namespace kv::win
