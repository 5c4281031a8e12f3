// The wizard's controls: the picture strip, the nine pages with their texts, and the button row,
// laid out in 96-dpi pixels and scaled to the window's dpi.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "forms/hints.h"
#include "forms/script_editor_win.h"
#include "forms/wizard_win.h"

namespace kv::win {

namespace {

constexpr int kPageX = 150;  // the page area, right of the picture strip
constexpr int kPageW = 362;
constexpr DWORD kText = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_TABSTOP;

std::size_t index(WizardPage page) {
  return static_cast<std::size_t>(page);
}

OwnedFont make_font(unsigned dpi, int points, int weight) {
  return OwnedFont(CreateFontA(-MulDiv(points, static_cast<int>(dpi), 72), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, "MS Shell Dlg 2"));
}

}  // namespace

HWND WizardForm::add(WizardPage page, const char* cls, const char* text, DWORD style, int x, int y, int w, int h,
                     int id) {
  const bool edit = std::string_view(cls) == "EDIT";
  HWND c = create_control(*this, cls, text, style, x, y, w, h, id, edit ? WS_EX_CLIENTEDGE : 0);
  pages_[index(page)].push_back(c);
  return c;
}

HWND WizardForm::add_bold(WizardPage page, const char* text, int x, int y, int w, int h) {
  HWND c = add(page, "STATIC", text, kText | SS_LEFTNOWORDWRAP, x, y, w, h);
  SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(bold_.get()), FALSE);
  return c;
}

void WizardForm::create_pages() {
  bold_ = make_font(dpi(), 8, FW_BOLD);
  heading_font_ = make_font(dpi(), 12, FW_BOLD);
  picture_ = create_control(*this, "STATIC", "", SS_OWNERDRAW, 8, 8, 132, 272, kIdWizardPicture);
  heading_ = create_control(*this, "STATIC", "", kText, kPageX, 8, kPageW, 26, kIdWizardHeading);
  SendMessageA(heading_, WM_SETFONT, reinterpret_cast<WPARAM>(heading_font_.get()), FALSE);

  // What would you like this macro to do? The options come first so that they form one group.
  using P = WizardPage;
  const DWORD radio = BS_AUTORADIOBUTTON;
  opt_advanced_ = add(P::Start, "BUTTON", "&Create a macro using advanced options.", radio | WS_GROUP | WS_TABSTOP,
                      kPageX, 44, kPageW, 20, kIdOptAdvanced);
  opt_playback_ = add(P::Start, "BUTTON", "&Playback mouse movements, clicks, and keystrokes.", radio, kPageX, 126,
                      kPageW, 20, kIdOptPlayback);
  opt_start_app_ = add(P::Start, "BUTTON", "&Start an Application or Launch a Document", radio, kPageX, 184, kPageW, 20,
                       kIdOptStartApp);
  SendMessageA(opt_advanced_, BM_SETCHECK, BST_CHECKED, 0);
  add(P::Start, "STATIC",
      "This option will allow you to construct a macro that consists of various sophistacated options such as typing "
      "keys, repeating sequences, working with specific windows, pausing, gathering and typing user input, etc..",
      kText | WS_GROUP, kPageX + 18, 66, kPageW - 18, 56);
  add(P::Start, "STATIC", "Use this option to playback all mouse movements, clicks and keystrokes that you record.",
      kText, kPageX + 18, 148, kPageW - 18, 30);
  add(P::Start, "STATIC",
      "This option will allow you to launch any application or document on your system as well as instantly access "
      "web sites and send eMail with just one keystroke.",
      kText, kPageX + 18, 206, kPageW - 18, 44);

  add(P::Name, "STATIC", "Type a unique name for this macro in the space below and select 'Next'.", kText, kPageX, 44,
      kPageW, 32);
  // A wide-character field, so that a name the code page cannot hold is noticed, not stored as '?'.
  edt_macro_name_ = CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | kEdit, scale(kPageX), scale(84), scale(260), scale(22),
      hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdEdtMacroName)), GetModuleHandleA(nullptr), nullptr);
  SendMessageW(edt_macro_name_, WM_SETFONT, reinterpret_cast<WPARAM>(dialog_font(dpi())), FALSE);
  SendMessageW(edt_macro_name_, EM_LIMITTEXT, 30, 0);
  pages_[index(P::Name)].push_back(edt_macro_name_);

  add_bold(P::HotKey, "Hot Key", kPageX, 42, kPageW, 16);
  add(P::HotKey, "STATIC", "Run when a certain set of keys is pressed.", kText, kPageX, 60, kPageW, 16);
  hotkey_ = add(P::HotKey, HOTKEY_CLASSA, "", WS_TABSTOP | WS_BORDER, kPageX, 78, 260, 22, kIdHotKey);
  // Keys alone and Shift alone would take the key from every program: they get Alt instead.
  SendMessageA(hotkey_, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_ALT, 0));
  add(P::HotKey, "BUTTON", "Help", kButton, 420, 77, 70, 24, kIdHotKeyHelp);
  add_bold(P::HotKey, "Window Title", kPageX, 114, kPageW, 16);
  add(P::HotKey, "STATIC", "Run when a certain window appears.", kText, kPageX, 132, kPageW, 16);
  edt_trigger_ = add(P::HotKey, "EDIT", "", kEdit, kPageX, 150, 260, 22, kIdEdtTrigger);
  add(P::HotKey, "BUTTON", "Help", kButton, 420, 149, 70, 24, kIdWinTitleHelp);
  add_bold(P::HotKey, "ShortCut Icon", kPageX, 186, kPageW, 16);
  add(P::HotKey, "STATIC", "Create a shortcut to launch this macro.", kText, kPageX, 204, kPageW, 16);
  cb_shortcuts_ =
      add(P::HotKey, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kPageX, 222, 260, 200, kIdCbShortCuts);
  for (const char* item : kShortcutChoices)
    SendMessageA(cb_shortcuts_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageA(cb_shortcuts_, CB_SETCURSEL, 0, 0);

  add(P::StartApp, "STATIC", "Select 'Browse' to choose the application that will be launched.", kText, kPageX, 44,
      kPageW, 30);
  add(P::StartApp, "STATIC", "Note that you may enter a document name to launch instead of an executable file.", kText,
      kPageX, 76, kPageW, 30);
  add_bold(P::StartApp, "Examples", kPageX, 112, kPageW, 16);
  add(P::StartApp, "STATIC", "C:\\Documents\\Fax Cover.doc", kText, kPageX + 16, 130, kPageW - 16, 16);
  add(P::StartApp, "STATIC", kExampleWebAddress, kText, kPageX + 16, 146, kPageW - 16, 16);
  add(P::StartApp, "STATIC", kExampleMailLink, kText, kPageX + 16, 162, kPageW - 16, 16);
  cmd_browse_ = add(P::StartApp, "BUTTON", "&Browse", kButton, kPageX, 192, 80, 24, kIdBrowse);
  edt_command_line_ = add(P::StartApp, "EDIT", "", kEdit, kPageX, 224, kPageW, 22, kIdEdtCommandLine);
  // As much as the store reads back.
  SendMessageA(edt_command_line_, EM_LIMITTEXT, 1023, 0);

  opt_keys_only_ = add(P::Keystype, "BUTTON", "&Only capture keystrokes.", radio | WS_GROUP | WS_TABSTOP, kPageX, 44,
                       kPageW, 20, kIdOptKeysOnly);
  opt_mouse_keys_ = add(P::Keystype, "BUTTON", "Capture all mouse and keyboard actions.", radio, kPageX, 126, kPageW,
                        20, kIdOptMouseKeys);
  SendMessageA(opt_keys_only_, BM_SETCHECK, BST_CHECKED, 0);
  add(P::Keystype, "STATIC",
      "With this option, keyvane will record all keystrokes as you type them and will ignore any mouse movements and "
      "clicks.",
      kText | WS_GROUP, kPageX + 18, 66, kPageW - 18, 44);
  add(P::Keystype, "STATIC",
      "This option will allow you to record and playback all actions performed with your mouse and your keyboard as "
      "you perform them.",
      kText, kPageX + 18, 148, kPageW - 18, 44);

  add(P::RecordKeys, "STATIC",
      "Select 'Start Recording' to begin recording each key that you type.  If you need a place to type you may use "
      "the space below.  When you are finshed, select 'Stop Recording'.",
      kText, kPageX, 44, kPageW, 44);
  cmd_start_keys_ = add(P::RecordKeys, "BUTTON", "&Start Recording", kButton, kPageX, 94, 110, 24, kIdStartKeys);
  cmd_stop_keys_ = add(P::RecordKeys, "BUTTON", "Stop &Recording", kButton, kPageX + 116, 94, 110, 24, kIdStopKeys);
  cmd_play_keys_ = add(P::RecordKeys, "BUTTON", "&Playback", kButton, kPageX + 232, 94, 90, 24, kIdPlayKeys);
  mmo_practice_ =
      add(P::RecordKeys, "EDIT", "", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP, kPageX,
          126, kPageW, 96, kIdPractice);
  add(P::RecordKeys, "STATIC",
      "Note that you do not have to type in the above box for the keys to be recorded.  Special keys such as Ctrl and "
      "Alt will not show up, but are recorded nonetheless.",
      kText, kPageX, 228, kPageW, 44);

  add(P::RecordMouse, "STATIC",
      "Select 'Start Recording' to begin recording all mouse movements, clicks and keystrokes.  When you are finshed "
      "type Shift+Ctrl+F12 to end recording.  To cancel playback press 'Esc'.",
      kText, kPageX, 44, kPageW, 58);
  cmd_record_mouse_ = add(P::RecordMouse, "BUTTON", "&Start Recording", kButton, kPageX, 108, 94, 24, kIdRecordMouse);
  cmd_stop_mouse_ = add(P::RecordMouse, "BUTTON", "Stop &Recording", kButton, kPageX + 98, 108, 94, 24, kIdStopMouse);
  cmd_play_mouse_ = add(P::RecordMouse, "BUTTON", "&Playback", kButton, kPageX + 196, 108, 62, 24, kIdPlayMouse);
  add_bold(P::RecordMouse, "Shift+Ctrl+F12", kPageX + 264, 113, kPageW - 264, 16);
  add(P::RecordMouse, "BUTTON", "Macro Playback Speed", BS_GROUPBOX, kPageX, 144, kPageW, 76);
  opt_recorded_speed_ = add(P::RecordMouse, "BUTTON", "Play this macro back at its recorded speed.",
                            radio | WS_GROUP | WS_TABSTOP, kPageX + 12, 164, kPageW - 24, 20, kIdOptRecordedSpeed);
  opt_high_speed_ = add(P::RecordMouse, "BUTTON", "Play this macro back at high speed.", radio, kPageX + 12, 188,
                        kPageW - 24, 20, kIdOptHighSpeed);
  SendMessageA(opt_recorded_speed_, BM_SETCHECK, BST_CHECKED, 0);

  add(P::ManualKeys, "STATIC", "Type the keys to be played back below.  Use the extra options for additional features.",
      kText | WS_GROUP, kPageX, 40, kPageW, 30);
  d_.editor.create_in(*this, kPageX, 72, kPageW, 208);

  add(P::Finished, "STATIC",
      "To complete the creation this macro select 'Finish'.  To modify any previous settings select 'Back'.", kText,
      kPageX, 44, kPageW, 44);
  const char* lines[] = {"Macro Name:", "Macro Type:", "Shortcut Keys:", "Window Trigger:"};
  for (int i = 0; i < 4; ++i) {
    add_bold(P::Finished, lines[i], kPageX, 100 + 24 * i, 116, 18);
    summary_values_[static_cast<std::size_t>(i)] = add(P::Finished, "STATIC", "", kText | SS_ENDELLIPSIS, kPageX + 120,
                                                       100 + 24 * i, kPageW - 120, 18, kIdSummaryValue + i);
  }

  create_control(*this, "STATIC", "", SS_ETCHEDHORZ, 8, 290, 504, 2, 0);
  cmd_step_back_ = create_control(*this, "BUTTON", "< &Back", kButton, 262, 300, 80, 24, kIdWizardBack);
  cmd_next_ =
      create_control(*this, "BUTTON", "&Next >", BS_DEFPUSHBUTTON | WS_TABSTOP, 344, 300, 80, 24, kIdWizardNext);
  cmd_finished_ = create_control(*this, "BUTTON", "&Finished", kButton, 344, 300, 80, 24, kIdWizardFinished);
  cmd_save_ = create_control(*this, "BUTTON", "&Save", kButton, 344, 300, 80, 24, kIdWizardSave);
  cmd_cancel_ = create_control(*this, "BUTTON", "&Cancel", kButton, 432, 300, 80, 24, IDCANCEL);
  ShowWindow(cmd_finished_, SW_HIDE);
  ShowWindow(cmd_save_, SW_HIDE);
  EnableWindow(cmd_step_back_, FALSE);
  // The recording buttons as the form is created.
  for (HWND off : {cmd_stop_keys_, cmd_play_keys_, cmd_stop_mouse_, cmd_play_mouse_}) EnableWindow(off, FALSE);
}

}  // namespace kv::win
