#include "forms/line_input_win.h"

namespace kv::win {

LineInputForm::LineInputForm(Win32MessagePump& pump) : modal_(pump) {
  create("KeyvaneLineInput", "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME, 0, 0, 100,
         100);
  set_client_size(330, 104);
  lbl_prompt_ = create_control(*this, "STATIC", "", SS_LEFT | SS_NOPREFIX, 10, 10, 310, 30, 100);
  edt_answer_ = create_control(*this, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 10, 42, 310, 22, 101, WS_EX_CLIENTEDGE);
  create_control(*this, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 164, 72, 75, 24, IDOK);
  create_control(*this, "BUTTON", "Cancel", WS_TABSTOP, 245, 72, 75, 24, IDCANCEL);
  apply_font(hwnd(), dialog_font(dpi()));
  dialog_keys_ = pump.dialog_keys(hwnd());
}

std::optional<std::string> LineInputForm::ask(HWND owner, const std::string& caption, const std::string& prompt) {
  SetWindowLongPtrA(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  SetWindowTextA(hwnd(), caption.c_str());
  SetWindowTextA(lbl_prompt_, prompt.c_str());
  SetWindowTextA(edt_answer_, "");
  const int code = modal_.show_centred(*this, edt_answer_);
  std::string answer = control_text(edt_answer_);
  SetWindowTextA(edt_answer_, "");
  if (code != IDOK) return std::nullopt;
  return answer;
}

bool LineInputForm::handle(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        modal_.end(LOWORD(wp));
        result = 0;
        return true;
      }
      return false;
    case WM_CLOSE:
      modal_.end(IDCANCEL);
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace kv::win
