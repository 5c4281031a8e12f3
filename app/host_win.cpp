#include "app/host_win.h"

#include "store/macro_store.h"

namespace kv::win {

HostWindow::HostWindow(Deps deps) : pump_(deps.pump), state_(deps.state) {
  create("TKeyvane", "Keyvane", WS_POPUP | WS_CAPTION | WS_MINIMIZE, WS_EX_TOOLWINDOW, 0, 0, 100, 50);
  pump_.process_messages();
  SetWindowPos(hwnd(), nullptr, -5000, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindowAsync(hwnd(), SW_HIDE);
  pump_.process_messages();
  MacroStore store(deps.profile);
  state_.show_hints_checked() = store.read_bool(keys::kMain, keys::kShowHints, true);
  playback_timer_ = std::make_unique<Win32Timer>([this] { PlaybackTimerTimer(); });
  tray_ = std::make_unique<TrayMenu>(
      TrayMenu::Deps{deps.profile, deps.pump, deps.shell, deps.help, deps.state, std::move(deps.manager)});
}

void HostWindow::enable_playback_timer() {
  playback_timer_->start(1000);
}

void HostWindow::PlaybackTimerTimer() {
  if (state_.PlaybackTimerTimer()) pump_.terminate();
}

bool HostWindow::handle(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
    case WM_CLOSE:  // FormCloseQuery: the whole application ends
      pump_.terminate();
      result = 0;
      return true;
    case WM_QUERYENDSESSION:
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      if (wp) pump_.terminate();
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace kv::win
