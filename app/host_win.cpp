#include "app/host_win.h"

#include "app/app_win.h"
#include "app/tray_menu_win.h"
#include "store/macro_store.h"

namespace kv::win {

HostWindow::HostWindow() {
  create("TKeyvane", "Keyvane", WS_POPUP | WS_CAPTION | WS_MINIMIZE, WS_EX_TOOLWINDOW, 0, 0, 100, 50);
  app().pump.process_messages();
  SetWindowPos(hwnd(), nullptr, -5000, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindowAsync(hwnd(), SW_HIDE);
  app().pump.process_messages();
  MacroStore store(app().profile);
  show_hints_ = store.read_bool(keys::kMain, keys::kShowHints, true);
  playback_timer_ = std::make_unique<Win32Timer>([this] { PlaybackTimerTimer(); });
  tray_ = std::make_unique<TrayMenu>();
}

HostWindow::~HostWindow() {
  tray_.reset();
  playback_timer_.reset();
}

void HostWindow::enable_playback_timer() { playback_timer_->start(1000); }

void HostWindow::PlaybackTimerTimer() {
  if (app().host_state.PlaybackTimerTimer()) app().terminate();
}

bool HostWindow::handle(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  switch (msg) {
    case WM_CLOSE:  // FormCloseQuery: the whole application ends
      app().terminate();
      result = 0;
      return true;
    case WM_QUERYENDSESSION:
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      if (wp) app().terminate();
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace kv::win
