// TfrmGetVar: the run-time prompt of the script's input token. One hidden instance, reused for
// every prompt; shown modally on top of everything, Enter or OK confirms, there is no cancel.
#pragma once
#include <string>

#include "forms/modal_win.h"
#include "platform/ports.h"
#include "platform/win32/adapters.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_win.h"

namespace kv::win {

inline constexpr const char* kGetVarCaption = "Keyvane Input Box";

class GetVarForm : public Window, public RuntimePrompt {
 public:
  struct Deps {
    Win32MessagePump& pump;
  };

  explicit GetVarForm(Deps deps);

  // Shows the prompt and returns the edit's text once the form closes; the edit is emptied.
  std::string ask(const std::string& prompt) override;

  HWND lblPrompt() const { return lbl_prompt_; }
  HWND edtVal() const { return edt_val_; }

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void FormShow();
  void Button1Click() { modal_.end(); }

  ModalRun modal_;
  Win32MessagePump::Registration dialog_keys_;
  OwnedFont font_;
  HWND lbl_prompt_ = nullptr;
  HWND edt_val_ = nullptr;
  HWND button1_ = nullptr;
};

}  // namespace kv::win
