#include "journal/ports_win.h"

namespace kv::win {

namespace {

constexpr UINT kApply = WM_APP + 1;      // install or remove hooks as wished
constexpr UINT kReinstall = WM_APP + 2;  // the system may have dropped a hook that answered late
// The system gives a low-level hook about this long before it skips it, and may then remove it.
constexpr std::uint64_t kSlowHookUs = 200'000;
// How long a keyboard hook that is no longer wanted stays for the keys still held.
constexpr ULONGLONG kDeferMs = 1000;
constexpr UINT kDeferPollMs = 20;

// A recording is stopped by a chord (Shift+Ctrl+F12) whose key-ups are still on their way; a
// hook removed while they pass through it can cost the target a release, leaving Ctrl down.
bool stop_keys_held() {
  for (const int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_F12})
    if (GetAsyncKeyState(vk) & 0x8000) return true;
  return false;
}

Win32InputHooks* g_hooks = nullptr;  // the hook procedures have no context argument

}  // namespace

Win32InputHooks::~Win32InputHooks() {
  if (thread_.joinable()) {
    PostThreadMessageA(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  g_hooks = nullptr;
}

void Win32InputHooks::start_thread() {
  ack_.reset(CreateEventA(nullptr, FALSE, FALSE, nullptr));
  g_hooks = this;
  thread_ = std::thread([this] { run(); });
  WaitForSingleObject(ack_.get(), INFINITE);  // its message queue exists
}

bool Win32InputHooks::set_hooks(bool keyboard, bool mouse, std::function<void(const journal::RawInput&)> sink) {
  if (!thread_.joinable()) {
    if (!keyboard && !mouse) return true;
    start_thread();
  }
  {
    std::lock_guard<std::mutex> lock(m_);
    want_keyboard_ = keyboard;
    want_mouse_ = mouse;
    applied_ = false;
    sink_ = std::move(sink);
  }
  if (!PostThreadMessageA(thread_id_, kApply, 0, 0) || WaitForSingleObject(ack_.get(), 10000) != WAIT_OBJECT_0)
    return false;
  std::lock_guard<std::mutex> lock(m_);
  return applied_;
}

journal::ScreenRect Win32InputHooks::virtual_screen() {
  journal::ScreenRect r;
  r.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  r.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  r.width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  r.height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  if (r.width <= 0 || r.height <= 0) {
    r.left = r.top = 0;
    r.width = GetSystemMetrics(SM_CXSCREEN);
    r.height = GetSystemMetrics(SM_CYSCREEN);
  }
  return r;
}

void Win32InputHooks::run() {
  thread_id_ = GetCurrentThreadId();
  MSG msg;
  PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  SetEvent(ack_.get());
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd == nullptr && msg.message == kApply) {
      apply(false);
      SetEvent(ack_.get());
      continue;
    }
    if (msg.hwnd == nullptr && msg.message == kReinstall) {
      apply(true);
      continue;
    }
    if (msg.hwnd == nullptr && msg.message == WM_TIMER && defer_timer_ && msg.wParam == defer_timer_) {
      end_deferral();
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  end_deferral_timer();
  keyboard_.reset();
  mouse_.reset();
}

void Win32InputHooks::apply(bool reinstall) {
  bool keyboard, mouse;
  {
    std::lock_guard<std::mutex> lock(m_);
    keyboard = want_keyboard_;
    mouse = want_mouse_;
  }
  const HINSTANCE self = GetModuleHandleA(nullptr);
  if (keyboard) {
    end_deferral_timer();
  } else if (keyboard_ && !reinstall && !defer_timer_ && stop_keys_held()) {
    // The sink is already gone: the hook only passes the held keys' releases on.
    defer_until_ = GetTickCount64() + kDeferMs;
    defer_timer_ = SetTimer(nullptr, 0, kDeferPollMs, nullptr);
  }
  if (reinstall || (!keyboard && !defer_timer_)) keyboard_.reset();
  if (reinstall || !mouse) mouse_.reset();
  if (keyboard && !keyboard_) keyboard_.reset(SetWindowsHookExA(WH_KEYBOARD_LL, keyboard_proc, self, 0));
  if (mouse && !mouse_) mouse_.reset(SetWindowsHookExA(WH_MOUSE_LL, mouse_proc, self, 0));
  std::lock_guard<std::mutex> lock(m_);
  applied_ = (!keyboard || keyboard_) && (!mouse || mouse_);
}

void Win32InputHooks::end_deferral_timer() {
  if (!defer_timer_) return;
  KillTimer(nullptr, defer_timer_);
  defer_timer_ = 0;
}

void Win32InputHooks::end_deferral() {
  if (stop_keys_held() && GetTickCount64() < defer_until_) return;
  end_deferral_timer();
  bool keyboard;
  {
    std::lock_guard<std::mutex> lock(m_);
    keyboard = want_keyboard_;
  }
  if (!keyboard) keyboard_.reset();
}

void Win32InputHooks::deliver(journal::RawInput& in) {
  in.time_us = clock_.now_us();
  {
    std::lock_guard<std::mutex> lock(m_);
    if (sink_) sink_(in);
  }
  if (clock_.now_us() - in.time_us > kSlowHookUs) PostThreadMessageA(thread_id_, kReinstall, 0, 0);
}

LRESULT CALLBACK Win32InputHooks::keyboard_proc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && g_hooks) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    journal::RawInput in;
    const bool up = (k->flags & LLKHF_UP) != 0 || wp == WM_KEYUP || wp == WM_SYSKEYUP;
    in.kind = up ? journal::EventKind::KeyUp : journal::EventKind::KeyDown;
    in.vk = k->vkCode;
    in.scan = k->scanCode;
    in.extended = (k->flags & LLKHF_EXTENDED) != 0;
    in.injected = (k->flags & LLKHF_INJECTED) != 0;
    in.extra_info = k->dwExtraInfo;
    g_hooks->deliver(in);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK Win32InputHooks::mouse_proc(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION && g_hooks) {
    const auto* m = reinterpret_cast<const MSLLHOOKSTRUCT*>(lp);
    journal::RawInput in;
    in.x = m->pt.x;
    in.y = m->pt.y;
    in.injected = (m->flags & LLMHF_INJECTED) != 0;
    in.extra_info = m->dwExtraInfo;
    using journal::Button;
    using journal::EventKind;
    bool known = true;
    switch (wp) {
      case WM_MOUSEMOVE:
        in.kind = EventKind::MouseMove;
        break;
      case WM_LBUTTONDOWN:
        in.kind = EventKind::ButtonDown;
        in.button = Button::Left;
        break;
      case WM_LBUTTONUP:
        in.kind = EventKind::ButtonUp;
        in.button = Button::Left;
        break;
      case WM_RBUTTONDOWN:
        in.kind = EventKind::ButtonDown;
        in.button = Button::Right;
        break;
      case WM_RBUTTONUP:
        in.kind = EventKind::ButtonUp;
        in.button = Button::Right;
        break;
      case WM_MBUTTONDOWN:
        in.kind = EventKind::ButtonDown;
        in.button = Button::Middle;
        break;
      case WM_MBUTTONUP:
        in.kind = EventKind::ButtonUp;
        in.button = Button::Middle;
        break;
      case WM_XBUTTONDOWN:
      case WM_XBUTTONUP:
        in.kind = wp == WM_XBUTTONDOWN ? EventKind::ButtonDown : EventKind::ButtonUp;
        in.button = HIWORD(m->mouseData) == XBUTTON2 ? Button::X2 : Button::X1;
        break;
      case WM_MOUSEWHEEL:
      case WM_MOUSEHWHEEL:
        in.kind = wp == WM_MOUSEWHEEL ? EventKind::Wheel : EventKind::HWheel;
        in.wheel = static_cast<short>(HIWORD(m->mouseData));
        break;
      default:
        known = false;
        break;
    }
    if (known) g_hooks->deliver(in);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace kv::win
