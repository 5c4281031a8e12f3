#include "forms/main_form_win.h"

#include "forms/about_form_win.h"
#include "forms/main_form_list_win.h"
#include "store/macro_store.h"
#include "triggers/triggers_win.h"

namespace kv::win {

MainForm::MainForm(Deps deps) : d_(std::move(deps)) {
  // Owned by the hidden host, the window gets no taskbar button: the program stays off the
  // taskbar, reached through its notification-area icon.
  create("TfrmMain", "Ostrel Keyvane", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME,
         CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, d_.owner, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
  set_client_size(410, 298);
  list_ = std::make_unique<MacroListPanel>(
      MacroListPanel::Deps{*this, d_.profile, d_.files, d_.help, d_.program_dir, [this] { AssignHotKeys(); },
                           [this] {
                             if (d_.new_macro) d_.new_macro();
                           },
                           [this](int n) { return triggers_ && triggers_->hotkeys().refused(n); },
                           [this](int n) {
                             if (d_.edit_macro) d_.edit_macro(n);
                           }});
  // Tab moves between the list and the buttons.
  dialog_keys_ = d_.pump.dialog_keys(hwnd());
  tmr1_ = std::make_unique<Win32Timer>([this] {
    if (d_.delay_tick) d_.delay_tick();
  });
  tmr1_->start(10000);
  triggers_ = std::make_unique<TriggerSet>(
      TriggerSet::Deps{d_.profile, d_.windows, d_.pump, d_.errors, d_.poll_titles, d_.run_macro});
}

MainForm::~MainForm() {
  triggers_.reset();
  tmr1_.reset();
}

HotKeySlots& MainForm::hotkeys() {
  return triggers_->hotkeys();
}

bool MainForm::hotkey_would_register(int n, ShortCut value) {
  return triggers_->hotkeys().would_register(d_.profile, n, value);
}

void MainForm::FormCreate(bool reset_found) {
  LoadMacroList();
  AssignHotKeys();
  if (!reset_found) return;
  MacroStore store(d_.profile);
  reset_found_handles(store);
}

void MainForm::LoadMacroList() {
  list_->LoadMacroList();
}

void MainForm::AssignHotKeys() {
  if (!d_.register_hotkeys) {
    MacroStore store(d_.profile);
    if (store.entries() >= 1) LoadMacroList();
    return;
  }
  if (triggers_->assign_hotkeys() >= 1) LoadMacroList();
}

void MainForm::mnuPrintClick() {
  list_->mnuPrintClick();
}

void MainForm::Shortcut_Create(TShellFolder where, int number) {
  list_->Shortcut_Create(where, number);
}

std::vector<std::string> MainForm::list_captions() const {
  return list_->captions();
}

void MainForm::show_about_box() {
  if (about_) {  // already up (the tray menu works while it is): bring it forward
    SetForegroundWindow(about_->hwnd());
    return;
  }
  about_ = std::make_unique<AboutForm>(AboutForm::Deps{d_.pump, hwnd()});
  struct Gone {
    std::unique_ptr<AboutForm>& box;
    ~Gone() { box.reset(); }
  } gone{about_};
  about_->show_modal();
}

void MainForm::show_centred() {
  centre_on_screen();
  ShowWindow(hwnd(), SW_SHOW);
}

bool MainForm::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (list_ && list_->handle(msg, wp, lp, result)) return true;
  switch (msg) {
    case WM_CLOSE:  // closing only hides the window; the program keeps running
      ShowWindow(hwnd(), SW_HIDE);
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace kv::win
