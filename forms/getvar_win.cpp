#include "forms/getvar_win.h"

#include "forms/modal_win.h"
#include "platform/win32/adapters.h"

namespace kv::win {

namespace {

constexpr int kButton1 = IDOK;  // Enter in the edit presses the default button

}  // namespace

GetVarForm::GetVarForm(Deps deps) : modal_(deps.pump) {
  create("TfrmGetVar", kGetVarCaption, WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
         CW_USEDEFAULT, CW_USEDEFAULT, 100, 100);
  set_client_size(233, 100);
  font_.reset(CreateFontA(-MulDiv(8, static_cast<int>(dpi()), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
  lbl_prompt_ = create_control(*this, "STATIC", "", SS_LEFT | SS_NOPREFIX, 4, 2, 225, 41, 100);
  edt_val_ = create_control(*this, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 5, 44, 222, 21, 101, WS_EX_CLIENTEDGE);
  button1_ = create_control(*this, "BUTTON", "&OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 147, 73, 82, 22, kButton1);
  apply_font(hwnd(), font_.get());
  dialog_keys_ = deps.pump.dialog_keys(hwnd());
}

void GetVarForm::FormShow() {
  SetForegroundWindow(hwnd());
  SetFocus(edt_val_);
}

std::string GetVarForm::ask(const std::string& prompt) {
  // A macro started while the form is up (by a window trigger, say) may ask in its turn: its
  // question takes the form until answered, then the first one comes back as it was left.
  const bool nested = modal_.running();
  const std::string outer_prompt = nested ? control_text(lbl_prompt_) : std::string();
  const std::string outer_value = nested ? control_text(edt_val_) : std::string();
  SetWindowTextA(lbl_prompt_, prompt.c_str());
  SetWindowTextA(edt_val_, "");
  modal_.run(hwnd(), [&] {
    if (!nested) centre_on_screen();
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    FormShow();
  });
  const std::string value = control_text(edt_val_);
  SetWindowTextA(edt_val_, "");
  if (nested) {
    SetWindowTextA(lbl_prompt_, outer_prompt.c_str());
    SetWindowTextA(edt_val_, outer_value.c_str());
    SendMessageA(edt_val_, EM_SETSEL, outer_value.size(), static_cast<LPARAM>(outer_value.size()));
    FormShow();
  } else {
    ShowWindow(hwnd(), SW_HIDE);
  }
  return value;
}

bool GetVarForm::handle(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
    case DM_GETDEFID:
      result = MAKELRESULT(kButton1, DC_HASDEFID);
      return true;
    case WM_COMMAND:
      if (LOWORD(wp) == kButton1) {
        Button1Click();
        result = 0;
        return true;
      }
      return false;
    case WM_CLOSE:  // no close box, but Alt+F4 still asks: it confirms like OK
      Button1Click();
      result = 0;
      return true;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && modal_.running()) SetFocus(edt_val_);
      return false;
    default:
      return false;
  }
}

}  // namespace kv::win
