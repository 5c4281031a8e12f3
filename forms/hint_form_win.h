// TfrmHint, the hint window, and ShowHint: explanatory texts shown modally while the
// "Show Hints" setting is on.
#pragma once
#include <string>

#include "forms/modal_win.h"
#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class HintForm : public Window {
 public:
  HintForm();
  // Shows the text and returns when the window has closed.
  void show_modal(const std::string& text);
  HWND memo() const { return mmo_hint_; }

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void close();
  ModalRun modal_;
  Win32MessagePump::Registration dialog_keys_;
  HWND mmo_hint_ = nullptr;
  HWND cmd_ok_ = nullptr;
  HWND cb_show_hint_ = nullptr;
  OwnedGdi info_brush_;
};

// Shows the text in the hint window when "Show Hints" is on; otherwise does nothing.
void ShowHint(const std::string& text);

}  // namespace kv::win
