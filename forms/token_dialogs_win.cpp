#include "forms/token_dialogs_win.h"

namespace kv::win {

namespace {

// Without a default and a cancel button, Enter and Esc (IDOK, IDCANCEL from the dialog keys)
// press nothing; these ids are the buttons' own.
constexpr int kCmdOK = 10;
constexpr int kCmdCancel = 11;
constexpr int kTitle = 20;
constexpr int kTime = 21;
constexpr int kSeconds = 22;
constexpr int kMinutes = 23;

// Window class and caption, in TokenDialogKind order.
struct Names {
  const char* class_name;
  const char* caption;
};
constexpr Names kNames[] = {{"TfrmWait", "Wait Time"},
                            {"TfrmRepeat", "Number of Times to Repeat"},
                            {"TfrmInputBox", "Input Box"},
                            {"TfrmWaitforWindow", "Wait for a Window"}};

bool checked(HWND w) {
  return w && SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace

TokenDialog::TokenDialog(TokenDialogKind kind, Deps deps) : d_(deps), model_(kind), modal_(deps.pump) {
  has_default_ = kind == TokenDialogKind::Wait || kind == TokenDialogKind::InputBox;
  // A tool window without title-bar buttons.
  create(kNames[static_cast<int>(kind)].class_name, kNames[static_cast<int>(kind)].caption,
         WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME, 0, 0, 100, 100);
  layout();
  apply_font(hwnd(), dialog_font(dpi()));
  dialog_keys_ = d_.pump.dialog_keys(hwnd());
}

void TokenDialog::label(const char* text, int x, int y, int w, int h) {
  create_control(*this, "STATIC", text, SS_LEFT | SS_NOPREFIX, x, y, w, h, -1);
}

void TokenDialog::time_field(int x, int y) {
  edt_time_ =
      create_control(*this, "EDIT", "", WS_TABSTOP | WS_GROUP | ES_NUMBER, x, y, 40, 22, kTime, WS_EX_CLIENTEDGE);
  SendMessageA(edt_time_, EM_LIMITTEXT, kTokenTimeChars, 0);
}

void TokenDialog::unit_options(int x, int y) {
  opt_seconds_ =
      create_control(*this, "BUTTON", "&Seconds", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, x, y, 80, 20, kSeconds);
  opt_minutes_ = create_control(*this, "BUTTON", "&Minutes", BS_AUTORADIOBUTTON, x + 86, y, 80, 20, kMinutes);
}

void TokenDialog::buttons(int y, int width) {
  cmd_ok_ = create_control(*this, "BUTTON", "&OK", WS_TABSTOP | WS_GROUP | (has_default_ ? BS_DEFPUSHBUTTON : 0),
                           width - 170, y, 75, 25, has_default_ ? IDOK : kCmdOK);
  cmd_cancel_ = create_control(*this, "BUTTON", "&Cancel", WS_TABSTOP, width - 87, y, 75, 25,
                               has_default_ ? IDCANCEL : kCmdCancel);
}

void TokenDialog::layout() {
  switch (kind()) {
    case TokenDialogKind::Wait:
      set_client_size(260, 104);
      label("Please enter the time to wait:", 12, 15, 170, 18);
      time_field(186, 12);
      unit_options(12, 42);
      buttons(70, 260);
      break;
    case TokenDialogKind::Repeat:
      set_client_size(320, 142);
      label(
          "Use this function to repeat all or a part of this macro a given number of times.  Make sure that you "
          "end the repetition with an end repeat command later in the macro.",
          12, 10, 296, 58);
      label("Repeat this sequence", 12, 79, 136, 18);
      time_field(150, 76);
      label("times.", 196, 79, 60, 18);
      buttons(108, 320);
      break;
    case TokenDialogKind::InputBox:
      set_client_size(320, 108);
      label("Enter the text that will appear as the title of this input box.", 12, 10, 296, 32);
      edt_title_ =
          create_control(*this, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 12, 42, 296, 22, kTitle, WS_EX_CLIENTEDGE);
      SendMessageA(edt_title_, EM_LIMITTEXT, kInputBoxTitleChars, 0);
      buttons(74, 320);
      break;
    case TokenDialogKind::WaitForWindow:
      set_client_size(380, 310);
      label(
          "Use this function to wait for a particular window to become visible before continuing with your "
          "macro.  You can look for both application windows and dialog boxes.  This function is not case "
          "sensitive, but the window title to look for must be typed exactly as it will appear on the actual "
          "window.",
          12, 10, 356, 96);
      label("Window Title to Wait For", 12, 110, 356, 18);
      edt_title_ =
          create_control(*this, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, 12, 128, 356, 22, kTitle, WS_EX_CLIENTEDGE);
      label("Example: This window's title is Wait for a Window.", 12, 154, 356, 18);
      label("How long do you want to wait for this window before timing out and continuing the macro?", 12, 182, 356,
            32);
      time_field(12, 218);
      unit_options(64, 219);
      buttons(272, 380);
      break;
  }
}

TokenDialogFields TokenDialog::entered() const {
  return {control_text(edt_title_), control_text(edt_time_), checked(opt_minutes_)};
}

std::optional<std::string> TokenDialog::run() {
  const TokenDialogFields& f = model_.fields();
  if (edt_title_) SetWindowTextA(edt_title_, f.title.c_str());
  if (edt_time_) SetWindowTextA(edt_time_, f.time.c_str());
  if (opt_seconds_) {
    SendMessageA(opt_seconds_, BM_SETCHECK, f.minutes ? BST_UNCHECKED : BST_CHECKED, 0);
    SendMessageA(opt_minutes_, BM_SETCHECK, f.minutes ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  token_.reset();
  // The wait and the repeat start in their time field, the others in their title.
  modal_.show_centred(*this, edt_title_ ? edt_title_ : edt_time_);
  return std::exchange(token_, std::nullopt);
}

void TokenDialog::cmdOKClick() {
  MacroStore store(d_.profile);
  TokenDialogOutcome outcome = model_.ok(entered(), store);
  if (!outcome.token) {
    MessageBoxA(hwnd(), outcome.message.c_str(), "Keyvane", MB_OK);
    SetFocus(field(outcome.focus));
    return;
  }
  token_ = std::move(outcome.token);
  modal_.end(IDOK);
}

void TokenDialog::cmdCancelClick() {
  model_.cancel(entered());
  modal_.end(IDCANCEL);
}

bool TokenDialog::handle(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
    case DM_GETDEFID:
      if (!has_default_) return false;
      result = MAKELRESULT(IDOK, DC_HASDEFID);
      return true;
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (id == (has_default_ ? IDOK : kCmdOK)) {
        cmdOKClick();
      } else if (id == (has_default_ ? IDCANCEL : kCmdCancel)) {
        cmdCancelClick();
      } else {
        return false;
      }
      result = 0;
      return true;
    }
    case WM_CLOSE:  // Alt+F4: as Cancel
      if (modal_.running()) cmdCancelClick();
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace kv::win
