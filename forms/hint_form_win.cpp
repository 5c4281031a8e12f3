#include "forms/hint_form_win.h"

#include "forms/hints.h"

namespace kv::win {

namespace {
constexpr int kCheckBox = 101;
}  // namespace

HintForm::HintForm(Deps deps) : d_(deps), modal_(deps.pump) {
  create("TfrmHint", "Keyvane Hints", WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME,
         0, 0, 100, 100);
  set_client_size(330, 196);
  mmo_hint_ = create_control(*this, "EDIT", "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                             8, 8, 314, 148, 100, WS_EX_CLIENTEDGE);
  cb_show_hint_ =
      create_control(*this, "BUTTON", "Show hints", BS_AUTOCHECKBOX | WS_TABSTOP, 8, 166, 150, 20, kCheckBox);
  cmd_ok_ = create_control(*this, "BUTTON", "&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 247, 164, 75, 24, IDOK);
  SendMessageA(cb_show_hint_, BM_SETCHECK, BST_CHECKED, 0);
  info_brush_.reset(CreateSolidBrush(GetSysColor(COLOR_INFOBK)));
  dialog_keys_ = d_.pump.dialog_keys(hwnd());
}

void HintForm::show_modal(const std::string& text) {
  // Edit controls break lines only at CR LF.
  std::string crlf;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crlf += '\r';
    crlf += text[i];
  }
  SetWindowTextA(mmo_hint_, crlf.c_str());
  MacroStore store(d_.profile);
  SendMessageA(cb_show_hint_, BM_SETCHECK, hint_box_checked_on_open(store) ? BST_CHECKED : BST_UNCHECKED, 0);
  modal_.show_centred(*this, cmd_ok_);
}

void HintForm::close() {
  MacroStore store(d_.profile);
  // A refused write raises here: the window stays open and the tray mark unchanged.
  hint_window_closed(store, d_.pump, SendMessageA(cb_show_hint_, BM_GETCHECK, 0, 0) == BST_CHECKED, d_.tray_checked);
  modal_.end();
}

bool HintForm::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        close();
        result = 0;
        return true;
      }
      return false;
    case WM_CLOSE:
      close();
      result = 0;
      return true;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == mmo_hint_) {
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_INFOBK));
        SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_INFOTEXT));
        result = reinterpret_cast<LRESULT>(info_brush_.get());
        return true;
      }
      return false;
    default:
      return false;
  }
}

void HintForm::ShowHint(const std::string& text) {
  MacroStore store(d_.profile);
  if (hints_enabled(store)) show_modal(text);
}

}  // namespace kv::win
