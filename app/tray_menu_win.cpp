#include "app/tray_menu_win.h"

#include "forms/hints.h"
#include "forms/main_form_win.h"
#include "platform/win32/window_win.h"

namespace kv::win {

TrayMenu::TrayMenu(Deps deps) : d_(std::move(deps)) {
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
  const bool open = d_.state.open_enabled();
  EnableMenuItem(popup_.get(), kOpen, MF_BYCOMMAND | (open ? MF_ENABLED : MF_GRAYED));
  const bool hints = d_.state.show_hints_checked();
  CheckMenuItem(help_, kShowHints, MF_BYCOMMAND | (hints ? MF_CHECKED : MF_UNCHECKED));
}

void TrayMenu::Open1Click() {
  MainForm* f = d_.manager();
  if (!d_.state.open_enabled() || !f) return;
  f->show_centred();
  SetWindowPos(f->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void TrayMenu::TrayIcon1DblClick() {
  MainForm* f = d_.manager();
  if (!d_.state.open_enabled() || !f) return;
  f->show_centred();
  d_.pump.process_messages();
  SetForegroundWindow(f->hwnd());
}

void TrayMenu::command(UINT id) {
  switch (id) {
    case kOpen:
      Open1Click();
      break;
    case kPrint:
      if (MainForm* f = d_.manager()) f->mnuPrintClick();
      break;
    case kOperation:
      d_.help.open_topic("Operation");
      break;
    case kShowHints: {
      MacroStore store(d_.profile);
      toggle_show_hints(store, d_.state.show_hints_checked());
      break;
    }
    case kFaq:
      d_.help.open_faq();
      break;
    case kSupport:
      d_.shell.open(kSupportAddress);
      break;
    case kAbout:
      if (MainForm* f = d_.manager()) f->show_about_box();
      break;
    case kVisit:
      d_.shell.open(kHomeAddress);
      break;
    case kExit:
      d_.pump.terminate();
      break;
    default:
      break;
  }
  update_items();
}

}  // namespace kv::win
