#include "forms/properties_win.h"

#include <commctrl.h>

#include "forms/list_images_win.h"
#include "forms/macro_list.h"
#include "forms/open_file_win.h"
#include "forms/wizard_win.h"

namespace kv::win {

namespace {

constexpr int kWidth = 420;  // client width, 96-dpi pixels
constexpr int kFieldX = 96;  // the fields, right of their labels
constexpr int kRight = 408;  // right edge of the widest controls
constexpr DWORD kText = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP;

void show(HWND w, bool on) {
  ShowWindow(w, on ? SW_SHOW : SW_HIDE);
}

void enable(HWND w, bool on) {
  EnableWindow(w, on ? TRUE : FALSE);
}

bool checked(HWND w) {
  return SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

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

OwnedFont bold_font(unsigned dpi) {
  return OwnedFont(CreateFontA(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, "MS Shell Dlg 2"));
}

// The hotkey field's value for a TShortCut: flags Shift 1, Ctrl 2, Alt 4 in the high byte.
WPARAM hotkey_edit_value(ShortCut value) {
  return static_cast<WPARAM>((((value >> 13) & 7u) << 8) | (value & 0xFFu));
}

}  // namespace

PropertiesForm::PropertiesForm(Deps deps)
    : d_(std::move(deps)),
      modal_(d_.pump),
      properties_(
          Properties::Deps{d_.profile, d_.files, d_.recorder, d_.stop_hotkey, d_.wizard.wizard(),
                           [this] { d_.wizard.show_modal(); }, upper_ansi, platform_key_name,
                           d_.set_authoring_suspended, d_.load_macro_list, d_.assign_hotkeys, d_.hotkey_refused},
          *this) {
  create("TfrmProperties", "Macro Properties", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
         WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, 0, 0, 100, 100);
  create_controls();
  place_controls();
  dialog_keys_ = d_.pump.dialog_keys(hwnd());
  // F1 released anywhere in the dialog, whichever control has the keyboard.
  f1_ = d_.pump.key_preview([this](const MSG& m) {
    if ((m.message == WM_KEYUP || m.message == WM_SYSKEYUP) && m.wParam == VK_F1 && IsWindowVisible(hwnd()) &&
        IsWindowEnabled(hwnd()) && (m.hwnd == hwnd() || IsChild(hwnd(), m.hwnd)))
      guarded([this] { d_.help.open_topic("Operation"); });
    return false;
  });
}

PropertiesForm::~PropertiesForm() {
  if (mmo_practice_ && IsWindow(mmo_practice_)) RemoveWindowSubclass(mmo_practice_, practice_proc, 1);
}

void PropertiesForm::create_controls() {
  bold_ = bold_font(dpi());
  images_ = make_macro_images(scale(32));
  const DWORD radio = BS_AUTORADIOBUTTON;
  // In tab order: the fields top to bottom, then the recording panel, then OK and Cancel.
  picture_ = create_control(*this, "STATIC", "", SS_OWNERDRAW, 12, 10, 40, 40, kIdPropsPicture);
  create_control(*this, "STATIC", "Use the options below to modify the properties of this macro.", kText, 64, 12,
                 kRight - 64, 32, 0);
  create_control(*this, "STATIC", "Type:", kText, 12, 54, 80, 16, 0);
  type_text_ = create_control(*this, "STATIC", "", kText, kFieldX, 54, kRight - kFieldX, 16, kIdPropsTypeText);
  lbl_name_ = create_control(*this, "STATIC", "Name:", kText, 12, 0, 80, 16, 0);
  // A wide-character field, so that a name the code page cannot hold is noticed, not stored as '?'.
  edt_macro_name_ =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | kEdit, 0, 0, 10, 10, hwnd(),
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPropsName)), GetModuleHandleA(nullptr), nullptr);
  SendMessageW(edt_macro_name_, WM_SETFONT, reinterpret_cast<WPARAM>(dialog_font(dpi())), FALSE);
  SendMessageW(edt_macro_name_, EM_LIMITTEXT, 50, 0);
  lbl_file_ = create_control(*this, "STATIC", "FileName:", kText, 12, 0, 80, 16, 0);
  edt_file_ = create_control(*this, "EDIT", "", kEdit, 0, 0, 10, 10, kIdPropsFile, WS_EX_CLIENTEDGE);
  // As much as the store reads back.
  SendMessageA(edt_file_, EM_LIMITTEXT, 1023, 0);
  cmd_browse_ = create_control(*this, "BUTTON", "&Browse", kButton, 0, 0, 10, 10, kIdPropsBrowse);
  cmd_edit_macro_ = create_control(*this, "BUTTON", "&Edit Macro", kButton, 0, 0, 10, 10, kIdPropsEditMacro);
  opt_recorded_speed_ = create_control(*this, "BUTTON", "Play this macro back at its recorded speed.",
                                       radio | WS_GROUP | WS_TABSTOP, 0, 0, 10, 10, kIdPropsRecordedSpeed);
  opt_high_speed_ =
      create_control(*this, "BUTTON", "Play this macro back at high speed", radio, 0, 0, 10, 10, kIdPropsHighSpeed);
  SendMessageA(opt_recorded_speed_, BM_SETCHECK, BST_CHECKED, 0);
  lbl_triggers_ = create_control(*this, "STATIC", "Triggers...", kText | WS_GROUP, 12, 0, 200, 16, 0);
  SendMessageA(lbl_triggers_, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
  lbl_hotkey_ = create_control(*this, "STATIC", "HotKey:", kText, 12, 0, 80, 16, 0);
  hotkey_ = create_control(*this, HOTKEY_CLASSA, "", WS_TABSTOP | WS_BORDER, 0, 0, 10, 10, kIdPropsHotKey);
  // As on the wizard: a key alone or with Shift alone gets Alt.
  SendMessageA(hotkey_, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
  lbl_window_ = create_control(*this, "STATIC", "Window:", kText, 12, 0, 80, 16, 0);
  edt_trigger_ = create_control(*this, "EDIT", "", kEdit, 0, 0, 10, 10, kIdPropsTrigger, WS_EX_CLIENTEDGE);
  cmd_record_ = create_control(*this, "BUTTON", "&Start Recording", kButton, 0, 0, 10, 10, kIdPropsRecord);
  cmd_stop_ = create_control(*this, "BUTTON", "Stop &Recording", kButton, 0, 0, 10, 10, kIdPropsStop);
  cmd_play_ = create_control(*this, "BUTTON", "&Playback", kButton, 0, 0, 10, 10, kIdPropsPlay);
  lbl_stop_key_ = create_control(*this, "STATIC", "Shift+Ctrl+F12", kText | SS_LEFTNOWORDWRAP, 0, 0, 10, 10, 0);
  SendMessageA(lbl_stop_key_, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
  mmo_practice_ =
      create_control(*this, "EDIT", "", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP, 0, 0,
                     10, 10, kIdPropsPractice, WS_EX_CLIENTEDGE);
  SetWindowSubclass(mmo_practice_, practice_proc, 1, 0);
  separator_ = create_control(*this, "STATIC", "", SS_ETCHEDHORZ, 12, 0, kRight - 12, 2, 0);
  cmd_ok_ = create_control(*this, "BUTTON", "&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 10, 10, IDOK);
  cmd_cancel_ = create_control(*this, "BUTTON", "&Cancel", kButton, 0, 0, 10, 10, IDCANCEL);
  enable(cmd_stop_, false);
}

void PropertiesForm::place_controls() {
  auto put = [this](HWND w, int x, int y, int width, int height) {
    SetWindowPos(w, nullptr, scale(x), scale(y), scale(width), scale(height), SWP_NOZORDER | SWP_NOACTIVATE);
  };
  const PropertiesLayout& l = layout_;
  int y = 78;
  put(lbl_name_, 12, y + 3, 80, 16);
  put(edt_macro_name_, kFieldX, y, 240, 22);
  y += 32;
  // The row under Name: the program field, Edit Macro where Browse stands, or the speeds.
  const bool file_row = l.file_field || l.browse || l.edit_macro;
  if (file_row) {
    put(lbl_file_, 12, y + 3, 80, 16);
    put(edt_file_, kFieldX, y, kRight - kFieldX - 92, 22);
    put(cmd_browse_, kRight - 84, y - 1, 84, 24);
    put(cmd_edit_macro_, kRight - 84, y - 1, 84, 24);
    y += 32;
  }
  if (l.speed_options) {
    put(opt_recorded_speed_, kFieldX, y, kRight - kFieldX, 20);
    put(opt_high_speed_, kFieldX, y + 22, kRight - kFieldX, 20);
    y += 50;
  }
  put(lbl_triggers_, 12, y, 200, 16);
  y += 22;
  put(lbl_hotkey_, 12, y + 3, 80, 16);
  put(hotkey_, kFieldX, y, 240, 22);
  y += 30;
  put(lbl_window_, 12, y + 3, 80, 16);
  put(edt_trigger_, kFieldX, y, kRight - kFieldX, 22);
  y += 34;
  if (l.recording_panel) {
    put(cmd_record_, 12, y, 104, 24);
    put(cmd_stop_, 122, y, 104, 24);
    put(cmd_play_, 232, y, 76, 24);
    put(lbl_stop_key_, 316, y + 5, kRight - 316, 16);
    y += 32;
    put(mmo_practice_, 12, y, kRight - 12, 60);
    y += 70;
  }
  put(separator_, 12, y, kRight - 12, 2);
  y += 10;
  put(cmd_ok_, kRight - 176, y, 84, 24);
  put(cmd_cancel_, kRight - 84, y, 84, 24);
  set_client_size(kWidth, y + 34);
}

void PropertiesForm::show_modal(int n) {
  last_focus_ = nullptr;
  modal_.run(hwnd(), [this, n] {
    guarded([this, n] { properties_.FormShow(n); });
    centre_on_screen();
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    focus(PropertiesFocus::MacroName);
  });
  ShowWindow(hwnd(), SW_HIDE);
}

void PropertiesForm::apply(const PropertiesLayout& l) {
  layout_ = l;
  SetWindowTextA(type_text_, l.type_text.c_str());
  show(lbl_file_, l.file_field);
  show(edt_file_, l.file_field);
  show(cmd_browse_, l.browse);
  show(cmd_edit_macro_, l.edit_macro);
  show(opt_recorded_speed_, l.speed_options);
  show(opt_high_speed_, l.speed_options);
  for (HWND w : {cmd_record_, cmd_stop_, cmd_play_, lbl_stop_key_, mmo_practice_}) show(w, l.recording_panel);
  place_controls();
  InvalidateRect(picture_, nullptr, TRUE);
}

void PropertiesForm::apply(const PropertiesButtons& b) {
  enable(cmd_record_, b.start);
  enable(cmd_stop_, b.stop);
  enable(cmd_play_, b.play);
  enable(cmd_ok_, b.ok);
  enable(cmd_cancel_, b.cancel);
  // A button that has just been disabled must not keep the keyboard.
  HWND f = GetFocus();
  if (f && IsChild(hwnd(), f) && !IsWindowEnabled(f))
    SetFocus(IsWindowEnabled(cmd_stop_) ? cmd_stop_ : IsWindowEnabled(cmd_record_) ? cmd_record_ : edt_macro_name_);
}

void PropertiesForm::focus(PropertiesFocus control) {
  switch (control) {
    case PropertiesFocus::MacroName:
      SetFocus(edt_macro_name_);
      SendMessageW(edt_macro_name_, EM_SETSEL, 0, -1);
      return;
    case PropertiesFocus::Browse:
      SetFocus(cmd_browse_);
      return;
    case PropertiesFocus::Practice:
      SetFocus(mmo_practice_);
      return;
  }
}

void PropertiesForm::error_box(const std::string& text) {
  MessageBoxA(hwnd(), text.c_str(), "Keyvane", MB_OK | MB_ICONERROR);
}

void PropertiesForm::message_box(const std::string& text) {
  MessageBoxA(hwnd(), text.c_str(), "Keyvane", MB_OK);
}

void PropertiesForm::warning_box(const std::string& text) {
  MessageBoxA(hwnd(), text.c_str(), "Keyvane", MB_OK | MB_ICONWARNING);
}

void PropertiesForm::close() {
  modal_.end();
}

void PropertiesForm::show_windows(bool on) {
  HWND manager = d_.manager_window ? d_.manager_window() : nullptr;
  if (!on) {
    ShowWindow(hwnd(), SW_HIDE);
    if (manager) ShowWindow(manager, SW_HIDE);
    return;
  }
  if (manager) ShowWindow(manager, SW_SHOW);
  ShowWindow(hwnd(), SW_SHOW);
  SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(hwnd());
}

NameInput PropertiesForm::macro_name() {
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

void PropertiesForm::set_macro_name(const std::string& text) {
  SetWindowTextA(edt_macro_name_, text.c_str());
}

std::string PropertiesForm::file_field() {
  return control_text(edt_file_);
}

void PropertiesForm::set_file_field(const std::string& text) {
  SetWindowTextA(edt_file_, text.c_str());
}

ShortCut PropertiesForm::hot_key() {
  return shortcut_from_hotkey_edit(LOWORD(SendMessageA(hotkey_, HKM_GETHOTKEY, 0, 0)));
}

void PropertiesForm::set_hot_key(ShortCut value) {
  SendMessageA(hotkey_, HKM_SETHOTKEY, hotkey_edit_value(value), 0);
}

std::string PropertiesForm::trigger() {
  return control_text(edt_trigger_);
}

void PropertiesForm::set_trigger(const std::string& text) {
  SetWindowTextA(edt_trigger_, text.c_str());
}

bool PropertiesForm::high_speed() {
  return checked(opt_high_speed_);
}

void PropertiesForm::set_high_speed(bool on) {
  SendMessageA(opt_high_speed_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageA(opt_recorded_speed_, BM_SETCHECK, on ? BST_UNCHECKED : BST_CHECKED, 0);
}

void PropertiesForm::clear_practice() {
  SetWindowTextA(mmo_practice_, "");
}

void PropertiesForm::cmdBrowseClick() {
  if (auto file = choose_file(hwnd())) SetWindowTextA(edt_file_, file->c_str());
}

// Tab and Esc in the practice box work as in the rest of the dialog; Enter breaks its line.
LRESULT CALLBACK PropertiesForm::practice_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_GETDLGCODE) {
    LRESULT code = DefSubclassProc(w, msg, wp, lp);
    if (const auto* m = reinterpret_cast<const MSG*>(lp);
        m && m->message == WM_KEYDOWN && (m->wParam == VK_TAB || m->wParam == VK_ESCAPE))
      code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    return code;
  }
  // A multi-line edit would close its parent on Esc.
  if (msg == WM_KEYDOWN && wp == VK_ESCAPE) return 0;
  return DefSubclassProc(w, msg, wp, lp);
}

void PropertiesForm::on_command(int id) {
  switch (id) {
    case IDOK:
      properties_.Button1Click();
      return;
    case IDCANCEL:
      properties_.cmdCancelPropsClick();
      return;
    case kIdPropsBrowse:
      if (layout_.browse) cmdBrowseClick();
      return;
    case kIdPropsEditMacro:
      properties_.cmdEditManKeysClick();
      return;
    case kIdPropsRecord:
      properties_.cmdRecordClick();
      return;
    case kIdPropsStop:
      properties_.cmdStopClick();
      return;
    case kIdPropsPlay:
      properties_.cmdPlayClick();
      return;
    default:
      return;
  }
}

bool PropertiesForm::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) != BN_CLICKED) return false;
      guarded([&] { on_command(LOWORD(wp)); });
      result = 0;
      return true;
    case DM_GETDEFID:
      result = MAKELRESULT(IDOK, DC_HASDEFID);
      return true;
    case WM_CLOSE:
      guarded([this] { properties_.close_box(); });
      result = 0;
      return true;
    case WM_ACTIVATE:
      // The control that had the keyboard gets it back when the dialog is active again.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd(), f)) last_focus_ = f;
      } else {
        HWND f = last_focus_ && IsWindow(last_focus_) && IsWindowVisible(last_focus_) && IsWindowEnabled(last_focus_)
                     ? last_focus_
                     : edt_macro_name_;
        SetFocus(f);
      }
      result = 0;
      return true;
    case WM_HELP:  // F1 is answered on its release
      result = TRUE;
      return true;
    case WM_DRAWITEM: {
      const auto& di = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (di.hwndItem != picture_) return false;
      FillRect(di.hDC, &di.rcItem, GetSysColorBrush(COLOR_BTNFACE));
      int image = -1;
      switch (properties_.kind()) {
        case MacroKind::StartApplication:
          image = kImageLaunch;
          break;
        case MacroKind::Keystrokes:
        case MacroKind::AdvancedScript:
          image = kImageKeys;
          break;
        case MacroKind::MouseAndKeyboard:
          image = kImageMouse;
          break;
        default:
          break;
      }
      if (image >= 0) ImageList_Draw(images_.get(), image, di.hDC, di.rcItem.left, di.rcItem.top, ILD_TRANSPARENT);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace kv::win
