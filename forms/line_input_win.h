// The one-line question of the script editor: a caption, a prompt, an empty field, OK and
// Cancel, shown modally over the form that asks.
#pragma once
#include <optional>
#include <string>

#include "forms/modal_win.h"
#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class LineInputForm : public Window {
 public:
  explicit LineInputForm(Win32MessagePump& pump);

  // The text as typed on OK (possibly empty); nothing on Cancel, Esc or the close box. Owned by
  // `owner` while it asks: above it, and no taskbar button of its own.
  std::optional<std::string> ask(HWND owner, const std::string& caption, const std::string& prompt);

  HWND edtAnswer() const { return edt_answer_; }
  HWND lblPrompt() const { return lbl_prompt_; }

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  ModalRun modal_;
  Win32MessagePump::Registration dialog_keys_;
  HWND lbl_prompt_ = nullptr;
  HWND edt_answer_ = nullptr;
};

}  // namespace kv::win
