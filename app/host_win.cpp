#include "app/host_win.h"

#include "app/single_instance_win.h"
#include "app/start_plan.h"
#include "store/macro_store.h"

namespace kv::win {

namespace {
// Posted to the host itself: run the hand-overs received.
constexpr UINT kRunHandOvers = WM_APP + 15;
}  // namespace

HostWindow::HostWindow(Deps deps)
    : pump_(deps.pump), run_arguments_(std::move(deps.run_arguments)), state_(deps.state) {
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

HostWindow::~HostWindow() {
  if (resident_) RemovePropA(hwnd(), kResidentHostProp);
}

void HostWindow::take_hand_overs() {
  resident_ = SetPropA(hwnd(), kResidentHostProp, reinterpret_cast<HANDLE>(1)) != FALSE;
}

bool HostWindow::hand_over_received(const COPYDATASTRUCT& data) {
  if (!resident_ || !data.lpData) return false;
  HandOverAction a = receive_hand_over(static_cast<std::uint32_t>(data.dwData),
                                       std::string_view(static_cast<const char*>(data.lpData), data.cbData));
  if (a.kind == HandOverAction::Kind::Ignore) return false;
  hand_overs_.push_back(std::move(a.arguments));
  PostMessageA(hwnd(), kRunHandOvers, 0, 0);
  return true;
}

void HostWindow::run_hand_overs() {
  while (!hand_overs_.empty()) {
    const std::vector<std::string> args = std::move(hand_overs_.front());
    hand_overs_.pop_front();
    if (args.empty())
      tray_->TrayIcon1DblClick();
    else if (run_arguments_)
      run_arguments_(args);
  }
}

void HostWindow::enable_playback_timer() {
  playback_timer_->start(1000);
}

void HostWindow::PlaybackTimerTimer() {
  if (state_.PlaybackTimerTimer()) pump_.terminate();
}

bool HostWindow::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COPYDATA:
      result = hand_over_received(*reinterpret_cast<const COPYDATASTRUCT*>(lp)) ? TRUE : FALSE;
      return true;
    case kRunHandOvers:
      run_hand_overs();
      result = 0;
      return true;
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
