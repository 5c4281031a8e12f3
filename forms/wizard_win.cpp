#include "forms/wizard_win.h"

#include <commctrl.h>

#include "forms/hints.h"
#include "forms/open_file_win.h"
#include "forms/script_editor_win.h"
#include "forms/wizard_art_win.h"

namespace kv::win {

namespace {

constexpr const char* kHeadings[] = {
    "What would you like this macro to do?",
    "Name Your Macro",
    "Select Triggers",
    "Start an Application",
    "Record just keys or mouse and keys?",
    "Record Keystrokes",
    "Record Mouse and Keyboard",
    "Create an advanced macro",
    "Finished",
};

constexpr const char* kHotKeyHelp =
    "If you would like to launch this macro using a set of keys, type them directly into this area.  You may use "
    "Alt, Ctrl, and or Shift together with other keys to create a valid shortcut combination.  It is important to "
    "choose a unique set of keys that are not globally assigned or used by the program that this macro is intended "
    "for.  You will find more about choosing keys at https://www.ostrel.example/keyvane/hotkeys/";
constexpr const char* kWinTitleHelp =
    "To have this macro run when a particular window appears, type the entire title (not case sensitive) of the "
    "window that you would like Keyvane to look for before running this macro.  To skip this option, leave the area "
    "blank.";

std::string window_text(HWND w) {
  const int n = GetWindowTextLengthA(w);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  s.resize(static_cast<std::size_t>(GetWindowTextA(w, s.data(), n + 1)));
  return s;
}

bool checked(HWND w) {
  return SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void show(HWND w, bool on) {
  ShowWindow(w, on ? SW_SHOW : SW_HIDE);
}

void enable(HWND w, bool on) {
  EnableWindow(w, on ? TRUE : FALSE);
}

// The upper-casing of the system's code page, as file names are compared.
std::string upper_ansi(std::string_view text) {
  std::string s(text);
  if (!s.empty()) CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

std::string platform_key_name(std::uint8_t vk) {
  const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
  char name[64] = {};
  if (!GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name)) return {};
  return name;
}

}  // namespace

WizardForm::WizardForm(Deps deps)
    : d_(std::move(deps)),
      modal_(d_.pump),
      wizard_(Wizard::Deps{d_.profile, d_.files, d_.pump, upper_ansi, platform_key_name, d_.list_captions,
                           d_.set_authoring_suspended, d_.enable_stop_hotkey, d_.assign_hotkeys, d_.shortcut_create,
                           d_.hotkey_refused, d_.journal, d_.show_hint,
                           [](const std::string& from, const std::string& to) {
                             return MoveFileExA(from.c_str(), to.c_str(),
                                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
                           },
                           [](std::uint8_t vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }},
              *this) {
  create("TfrmWizard", "Macro Setup Wizard", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
         WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, 0, 0, 100, 100);
  set_client_size(520, 332);
  create_pages();
  show_page(WizardPage::Start);
  dialog_keys_ = d_.pump.dialog_keys(hwnd());
  // F1 released anywhere in the wizard, whichever control has the keyboard.
  f1_ = d_.pump.key_preview([this](const MSG& m) {
    if ((m.message == WM_KEYUP || m.message == WM_SYSKEYUP) && m.wParam == VK_F1 && IsWindowVisible(hwnd()) &&
        (m.hwnd == hwnd() || IsChild(hwnd(), m.hwnd)))
      guarded([this] { d_.help.open_topic("Operation"); });
    // The practice box takes every key, as a multi-line box does, but Esc is still Cancel there
    // as on the rest of the wizard: not while a take is recorded or played, where Esc belongs to
    // the recording or ends the playback.
    if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE && m.hwnd == mmo_practice_ &&
        !(d_.journal && (d_.journal->recording() || d_.journal->busy()))) {
      PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      return true;
    }
    return false;
  });
}

WizardForm::~WizardForm() = default;

void WizardForm::show_modal() {
  centre_on_screen();
  modal_.run(hwnd(), [this] {
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    guarded([this] { wizard_.FormShow(); });
  });
  ShowWindow(hwnd(), SW_HIDE);
}

void WizardForm::show_page(WizardPage page) {
  page_ = page;
  for (std::size_t i = 0; i < pages_.size(); ++i)
    for (HWND c : pages_[i]) show(c, i == static_cast<std::size_t>(page));
  d_.editor.show(page == WizardPage::ManualKeys);
  SetWindowTextA(heading_, kHeadings[static_cast<std::size_t>(page)]);
  InvalidateRect(picture_, nullptr, FALSE);
}

void WizardForm::apply(const WizardButtons& b) {
  show(cmd_next_, b.next_visible);
  enable(cmd_next_, b.next_enabled);
  show(cmd_step_back_, b.back_visible);
  enable(cmd_step_back_, b.back_enabled);
  show(cmd_finished_, b.finished_visible);
  show(cmd_save_, b.save_visible);
  enable(cmd_start_keys_, b.start_keys);
  enable(cmd_stop_keys_, b.stop_keys);
  enable(cmd_play_keys_, b.play_keys);
  enable(cmd_record_mouse_, b.start_mouse);
  enable(cmd_stop_mouse_, b.stop_mouse);
  enable(cmd_play_mouse_, b.play_mouse);
  // Enter presses Next, or Finished where it stands in Next's place.
  const int def = default_button();
  SendMessageA(cmd_next_, BM_SETSTYLE, def == kIdWizardNext ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  SendMessageA(cmd_finished_, BM_SETSTYLE, def == kIdWizardFinished ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  SendMessageA(cmd_save_, BM_SETSTYLE, def == kIdWizardSave ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  if (edit_picture_ != b.edit_picture) {
    edit_picture_ = b.edit_picture;
    InvalidateRect(picture_, nullptr, FALSE);
  }
  keep_keyboard();
}

void WizardForm::keep_keyboard() {
  HWND f = GetFocus();
  if (!f || (f != hwnd() && !IsChild(hwnd(), f)) || (IsWindowVisible(f) && IsWindowEnabled(f))) return;
  // The page's next button in line takes it: Stop gives way to Playback, Start to Stop.
  const std::array<HWND, 3> keys = {cmd_play_keys_, cmd_start_keys_, cmd_stop_keys_};
  const std::array<HWND, 3> mouse = {cmd_play_mouse_, cmd_record_mouse_, cmd_stop_mouse_};
  if (page_ == WizardPage::RecordKeys || page_ == WizardPage::RecordMouse)
    for (HWND c : page_ == WizardPage::RecordKeys ? keys : mouse)
      if (IsWindowEnabled(c)) {
        SetFocus(c);
        return;
      }
  SetFocus(IsWindowVisible(cmd_save_) ? cmd_save_ : IsWindowVisible(cmd_finished_) ? cmd_finished_ : cmd_cancel_);
}

int WizardForm::default_button() const {
  // Edit mode: Save stands where Next does.
  if (IsWindowVisible(cmd_save_)) return kIdWizardSave;
  if (IsWindowVisible(cmd_finished_)) return kIdWizardFinished;
  return kIdWizardNext;
}

void WizardForm::focus(WizardFocus control) {
  switch (control) {
    case WizardFocus::StartOptions:
      SetFocus(checked(opt_playback_) ? opt_playback_ : checked(opt_start_app_) ? opt_start_app_ : opt_advanced_);
      return;
    case WizardFocus::MacroName:
      SetFocus(edt_macro_name_);
      SendMessageW(edt_macro_name_, EM_SETSEL, 0, -1);
      return;
    case WizardFocus::HotKey:
      SetFocus(hotkey_);
      return;
    case WizardFocus::Browse:
      SetFocus(cmd_browse_);
      return;
    case WizardFocus::ScriptEditor:
      SetFocus(d_.editor.mmoManKeys());
      return;
    case WizardFocus::Finished:
      SetFocus(cmd_finished_);
      return;
    case WizardFocus::Practice:
      // The played or typed keys go to the foreground window's focus: ours.
      SetForegroundWindow(hwnd());
      SetFocus(mmo_practice_);
      return;
  }
}

void WizardForm::show_summary(const WizardSummary& s) {
  const std::string* values[] = {&s.name, &s.type, &s.shortcut_keys, &s.window_trigger};
  for (std::size_t i = 0; i < 4; ++i) SetWindowTextA(summary_values_[i], values[i]->c_str());
}

void WizardForm::error_box(const std::string& text) {
  MessageBoxA(hwnd(), text.c_str(), "Keyvane", MB_OK | MB_ICONERROR);
}

void WizardForm::warning_box(const std::string& text) {
  MessageBoxA(hwnd(), text.c_str(), "Keyvane", MB_OK | MB_ICONWARNING);
}

bool WizardForm::confirm_cancel() {
  return MessageBoxA(hwnd(), kCancelQuestion, "Warning", MB_YESNO | MB_ICONWARNING) == IDYES;
}

void WizardForm::close() {
  modal_.end();
}

void WizardForm::hide_for_recording() {
  // The run goes on while both are hidden: the modal loop keeps processing messages.
  if (HWND list = d_.list_window ? d_.list_window() : nullptr) ShowWindow(list, SW_HIDE);
  ShowWindow(hwnd(), SW_HIDE);
}

void WizardForm::show_after_recording() {
  const bool was_hidden = !IsWindowVisible(hwnd());
  if (HWND list = d_.list_window ? d_.list_window() : nullptr) ShowWindow(list, SW_SHOW);
  if (!was_hidden) {
    // A keystroke recording stopped while the user types in another program: the wizard comes
    // up in the window order, but the keyboard stays where the user is, or the next keys would
    // go to the wizard (or, where the system's focus and ours part, nowhere).
    SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  ShowWindow(hwnd(), SW_SHOW);
  SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd());
  keep_keyboard();
}

NameInput WizardForm::macro_name() {
  const int n = GetWindowTextLengthW(edt_macro_name_);
  std::wstring wide(static_cast<std::size_t>(n) + 1, L'\0');
  wide.resize(static_cast<std::size_t>(GetWindowTextW(edt_macro_name_, wide.data(), n + 1)));
  NameInput input;
  if (wide.empty()) return input;
  BOOL lost = FALSE;
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, &lost);
  input.text.assign(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), input.text.data(), size,
                      nullptr, &lost);
  input.fits = !lost;
  return input;
}

ShortCut WizardForm::hot_key() {
  return shortcut_from_hotkey_edit(LOWORD(SendMessageA(hotkey_, HKM_GETHOTKEY, 0, 0)));
}

std::string WizardForm::trigger() {
  return window_text(edt_trigger_);
}

std::string WizardForm::command_line() {
  return window_text(edt_command_line_);
}

std::string WizardForm::script() {
  return d_.editor.text();
}

void WizardForm::set_script(const std::string& text) {
  d_.editor.set_text(text);
}

void WizardForm::clear_fields() {
  SetWindowTextW(edt_macro_name_, L"");
  SetWindowTextA(edt_command_line_, "");
  SetWindowTextA(edt_trigger_, "");
  d_.editor.set_text("");
  SendMessageA(hotkey_, HKM_SETHOTKEY, 0, 0);
}

StartOption WizardForm::start_option() {
  if (checked(opt_playback_)) return StartOption::Playback;
  if (checked(opt_start_app_)) return StartOption::StartApp;
  return StartOption::Advanced;
}

RecordOption WizardForm::record_option() {
  return checked(opt_mouse_keys_) ? RecordOption::MouseAndKeys : RecordOption::KeysOnly;
}

bool WizardForm::high_speed() {
  return checked(opt_high_speed_);
}

int WizardForm::shortcut_item() {
  return static_cast<int>(SendMessageA(cb_shortcuts_, CB_GETCURSEL, 0, 0));
}

void WizardForm::set_shortcut_item(int item) {
  SendMessageA(cb_shortcuts_, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
}

void WizardForm::cmdBrowseClick() {
  if (d_.show_hint) d_.show_hint(kDocumentLaunchHint);
  if (auto file = choose_file(hwnd())) SetWindowTextA(edt_command_line_, file->c_str());
}

void WizardForm::cmdHotKeyHelpClick() {
  MessageBoxA(hwnd(), kHotKeyHelp, "Keyvane", MB_OK);
}

void WizardForm::cmdWinTitleHelpClick() {
  MessageBoxA(hwnd(), kWinTitleHelp, "Keyvane", MB_OK);
}

void WizardForm::on_command(int id) {
  switch (id) {
    case kIdWizardNext:
      if (IsWindowVisible(cmd_next_) && IsWindowEnabled(cmd_next_)) wizard_.cmdNextClick();
      return;
    case kIdWizardFinished:
      if (IsWindowVisible(cmd_finished_)) wizard_.cmdFinishedClick();
      return;
    case kIdWizardSave:
      if (IsWindowVisible(cmd_save_)) wizard_.cmdSaveClick();
      return;
    case kIdWizardBack:
      if (IsWindowVisible(cmd_step_back_) && IsWindowEnabled(cmd_step_back_)) wizard_.cmdStepBackClick();
      return;
    case IDCANCEL:
      wizard_.cmdCancelClick();
      return;
    case kIdBrowse:
      cmdBrowseClick();
      return;
    case kIdHotKeyHelp:
      cmdHotKeyHelpClick();
      return;
    case kIdWinTitleHelp:
      cmdWinTitleHelpClick();
      return;
    case kIdStartKeys:
      if (IsWindowEnabled(cmd_start_keys_)) wizard_.cmdStartKeysClick();
      return;
    case kIdStopKeys:
      if (IsWindowEnabled(cmd_stop_keys_)) wizard_.cmdStopKeysClick();
      return;
    case kIdPlayKeys:
      if (IsWindowEnabled(cmd_play_keys_)) wizard_.cmdPlayKeysClick();
      return;
    case kIdRecordMouse:
      if (IsWindowEnabled(cmd_record_mouse_)) wizard_.cmdRecordMouseClick();
      return;
    case kIdStopMouse:
      if (IsWindowEnabled(cmd_stop_mouse_)) wizard_.cmdStopMouseClick();
      return;
    case kIdPlayMouse:
      if (IsWindowEnabled(cmd_play_mouse_)) wizard_.cmdPlayMouseClick();
      return;
    default:
      return;
  }
}

bool WizardForm::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) return false;
      // Enter comes as IDOK: the default button.
      on_command(LOWORD(wp) == IDOK ? default_button() : LOWORD(wp));
      result = 0;
      return true;
    case DM_GETDEFID:
      result = MAKELRESULT(default_button(), DC_HASDEFID);
      return true;
    case WM_CLOSE:
      wizard_.close_box();
      result = 0;
      return true;
    case WM_DRAWITEM: {
      const auto& di = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (di.hwndItem != picture_) return false;
      draw_wizard_picture(di.hDC, di.rcItem, edit_picture_ ? WizardPicture::EditMode : picture_for(page_), dpi());
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace kv::win
