// TfrmHint, the hint window, and ShowHint: explanatory texts shown modally while the
// "Show Hints" setting is on.
#pragma once
#include <string>

#include "forms/modal_win.h"
#include "platform/ports.h"
#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class HintForm : public Window {
 public:
  struct Deps {
    // "Show Hints" is read by ShowHint and written as the window closes.
    ProfileStore& profile;
    Win32MessagePump& pump;
    // The tray's "&Show Hints" check mark, kept in step as the window closes.
    bool& tray_checked;
  };

  explicit HintForm(Deps deps);

  // ShowHint: shows the text and returns when the window has closed, when "Show Hints" is on;
  // otherwise does nothing.
  void ShowHint(const std::string& text);
  // Shows the text and returns when the window has closed.
  void show_modal(const std::string& text);
  HWND mmoHint() const { return mmo_hint_; }
  HWND cbShowHint() const { return cb_show_hint_; }

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void close();
  Deps d_;
  ModalRun modal_;
  Win32MessagePump::Registration dialog_keys_;
  HWND mmo_hint_ = nullptr;
  HWND cmd_ok_ = nullptr;
  HWND cb_show_hint_ = nullptr;
  OwnedGdi info_brush_;
};

}  // namespace kv::win
