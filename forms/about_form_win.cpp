#include "forms/about_form_win.h"

#include "kv_version.h"

namespace kv::win {

AboutForm::AboutForm(Deps deps) : modal_(deps.pump) {
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  create("TAboutBox", "About Keyvane", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 0, 0, 100, 100,
         deps.owner);
  set_client_size(300, 138);
  HWND pic = create_control(*this, "STATIC", "", SS_ICON, 12, 12, 32, 32, 100);
  SendMessageA(pic, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  create_control(*this, "STATIC", KV_PRODUCT_LINE, SS_LEFT, 60, 14, 228, 16, 101);
  create_control(*this, "STATIC", "Macros for every program, from the notification area.", SS_LEFT, 60, 34, 228, 32,
                 102);
  create_control(*this, "STATIC", "Ostrel", SS_LEFT, 60, 70, 228, 16, 103);
  ok_ = create_control(*this, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 113, 102, 75, 24, IDOK);
  dialog_keys_ = deps.pump.dialog_keys(hwnd());
}

void AboutForm::show_modal() {
  modal_.show_centred(*this, ok_);
}

bool AboutForm::handle(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if ((msg == WM_COMMAND && (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL)) || msg == WM_CLOSE) {
    modal_.end();
    result = 0;
    return true;
  }
  return false;
}

}  // namespace kv::win
