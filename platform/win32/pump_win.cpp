#include <algorithm>
#include <vector>

#include "platform/win32/adapters.h"

namespace kv::win {

Win32MessagePump::Registration::Registration(Registration&& other) noexcept
    : pump_(std::exchange(other.pump_, nullptr)), id_(other.id_) {}

Win32MessagePump::Registration& Win32MessagePump::Registration::operator=(Registration&& other) noexcept {
  if (this != &other) {
    reset();
    pump_ = std::exchange(other.pump_, nullptr);
    id_ = other.id_;
  }
  return *this;
}

void Win32MessagePump::Registration::reset() {
  if (Win32MessagePump* pump = std::exchange(pump_, nullptr)) pump->unregister(id_);
}

Win32MessagePump::Registration Win32MessagePump::dialog_keys(HWND window) {
  dialogs_.emplace_back(++next_id_, window);
  return Registration(*this, next_id_);
}

Win32MessagePump::Registration Win32MessagePump::key_preview(KeyPreview preview) {
  previews_.emplace_back(++next_id_, std::move(preview));
  return Registration(*this, next_id_);
}

void Win32MessagePump::unregister(unsigned id) {
  auto is = [id](const auto& entry) { return entry.first == id; };
  std::erase_if(dialogs_, is);
  std::erase_if(previews_, is);
}

bool Win32MessagePump::previewed(const MSG& msg) {
  // A preview may register or unregister others while it runs (it may show a form).
  for (std::size_t i = previews_.size(); i-- > 0;) {
    if (i >= previews_.size()) continue;
    const KeyPreview preview = previews_[i].second;
    if (preview && preview(msg)) return true;
  }
  return false;
}

void Win32MessagePump::dispatch(MSG& msg) {
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && previewed(msg)) return;
  if (msg.hwnd) {
    const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    // Looked up before the call: the dialog's handlers may change the list.
    const bool dialog =
        std::any_of(dialogs_.begin(), dialogs_.end(), [root](const auto& d) { return d.second == root; });
    if (dialog && IsDialogMessageA(root, &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void Win32MessagePump::process_messages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      terminated_ = true;
      continue;
    }
    dispatch(msg);
  }
}

void Win32MessagePump::wait_for_message() {
  if (terminated_) return;
  MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32MessagePump::wait_for_message_or_timeout(unsigned timeout_ms) {
  if (terminated_) return;
  MsgWaitForMultipleObjectsEx(0, nullptr, timeout_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32MessagePump::terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

Win32Timer::Win32Timer(std::function<void()> on_tick)
    : on_tick_(std::move(on_tick)),
      window_(ComponentWindow::Kind::MessageOnly, [this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
        if (msg != WM_TIMER) return false;
        if (running_ && on_tick_) on_tick_();
        result = 0;
        return true;
      }) {}

Win32Timer::~Win32Timer() {
  stop();
}

void Win32Timer::start(unsigned interval_ms) {
  interval_ = interval_ms;
  running_ = true;
  SetTimer(window_.hwnd(), kTimerId, interval_ms, nullptr);
}

void Win32Timer::stop() {
  if (running_) KillTimer(window_.hwnd(), kTimerId);
  running_ = false;
}

}  // namespace kv::win
