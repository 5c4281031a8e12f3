#include "forms/main_form_win.h"

#include "app/app_win.h"
#include "forms/main_form_list_win.h"
#include "store/macro_store.h"
#include "triggers/triggers_win.h"

namespace kv::win {

MainForm::MainForm() {
  // Owned by the hidden host, the window gets no taskbar button: the program stays off the
  // taskbar, reached through its notification-area icon.
  create("TfrmMain", "Ostrel Keyvane", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME,
         CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, App::application_window(),
         LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
  set_client_size(410, 298);
  create_list_panel();
  tmr1_ = std::make_unique<Win32Timer>([this] {
    if (on_delay_tick) on_delay_tick();
  });
  tmr1_->start(10000);
  triggers_ = std::make_unique<TriggerSet>();
}

MainForm::~MainForm() {
  triggers_.reset();
  tmr1_.reset();
}

HotKeySlots& MainForm::hotkeys() {
  return triggers_->hotkeys();
}

void MainForm::FormCreate() {
  LoadMacroList();
  AssignHotKeys();
  MacroStore store(app().profile);
  reset_found_handles(store);
}

void MainForm::AssignHotKeys() {
  if (triggers_->assign_hotkeys() >= 1) LoadMacroList();
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
