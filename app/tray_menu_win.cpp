#include "app/tray_menu_win.h"

#include "app/app_win.h"
#include "app/help_win.h"
#include "app/hints.h"
#include "app/host_win.h"
#include "forms/about_form_win.h"
#include "forms/main_form_win.h"

namespace kv::win {

TrayMenu::TrayMenu() {
  popup_.reset(CreatePopupMenu());
  OwnedMenu help(CreatePopupMenu());
  AppendMenuA(help.get(), MF_STRING, kOperation, "&Operation");
  AppendMenuA(help.get(), MF_STRING, kShowHints, "&Show Hints");
  AppendMenuA(help.get(), MF_STRING, kFaq, "&Frequently Asked Questions");
  AppendMenuA(help.get(), MF_STRING, kSupport, "&Technical Support");
  AppendMenuA(help.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuA(help.get(), MF_STRING, kAbout, "&About...");
  HMENU m = popup_.get();
  AppendMenuA(m, MF_STRING | MF_GRAYED, kOpen, "&Open");
  AppendMenuA(m, MF_STRING, kPrint, "&Print Macro List");
  help_ = append_submenu(m, std::move(help), "&Help");
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING, kVisit, "&Visit Ostrel on the Web");
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING, kExit, "&Exit");
  update_items();

  icon_.set_Hint(kTrayHint);
  icon_.set_Icon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)));
  icon_.set_PopupMenu(popup_.get());
  icon_.OnPopup = [this] { update_items(); };
  icon_.OnMenuCommand = [this](UINT id) { command(id); };
  icon_.OnDblClick = [this] { TrayIcon1DblClick(); };
  icon_.set_Visible(true);
}

void TrayMenu::update_items() {
  const bool open = app().host_state.open_enabled();
  EnableMenuItem(popup_.get(), kOpen, MF_BYCOMMAND | (open ? MF_ENABLED : MF_GRAYED));
  const bool hints = app().host && app().host->show_hints_checked();
  CheckMenuItem(help_, kShowHints, MF_BYCOMMAND | (hints ? MF_CHECKED : MF_UNCHECKED));
}

void TrayMenu::Open1Click() {
  if (!app().host_state.open_enabled() || !app().main_form) return;
  MainForm& f = *app().main_form;
  f.show_centred();
  SetWindowPos(f.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void TrayMenu::TrayIcon1DblClick() {
  if (!app().host_state.open_enabled() || !app().main_form) return;
  MainForm& f = *app().main_form;
  f.show_centred();
  app().pump.process_messages();
  SetForegroundWindow(f.hwnd());
}

void TrayMenu::command(UINT id) {
  App& a = app();
  switch (id) {
    case kOpen:
      Open1Click();
      break;
    case kPrint:
      if (a.main_form) a.main_form->mnuPrintClick();
      break;
    case kOperation:
      open_help_topic("Operation");
      break;
    case kShowHints: {
      MacroStore store(a.profile);
      bool checked = a.host->show_hints_checked();
      toggle_show_hints(store, checked);
      a.host->set_show_hints_checked(checked);
      break;
    }
    case kFaq:
      open_faq();
      break;
    case kSupport:
      a.shell.open(kSupportAddress);
      break;
    case kAbout:
      show_about_box();
      break;
    case kVisit:
      a.shell.open(kHomeAddress);
      break;
    case kExit:
      a.terminate();
      break;
    default:
      break;
  }
  update_items();
}

}  // namespace kv::win
