#include "components/tray_icon_win.h"

#include <shellapi.h>

#include <cstring>

#include "platform/win32/adapters.h"

namespace kv::win {

namespace {

constexpr char kClass[] = "TEPTrayIcon";

UINT taskbar_created_message() {
  static const UINT m = RegisterWindowMessageA("TaskbarCreated");
  return m;
}

bool down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

unsigned shift_state() {
  unsigned s = 0;
  if (down(VK_SHIFT)) s |= kTrayShift;
  if (down(VK_MENU)) s |= kTrayAlt;
  if (down(VK_CONTROL)) s |= kTrayCtrl;
  if (down(VK_LBUTTON)) s |= kTrayLeft;
  if (down(VK_RBUTTON)) s |= kTrayRight;
  if (down(VK_MBUTTON)) s |= kTrayMiddle;
  return s;
}

}  // namespace

TEPTrayIcon::TEPTrayIcon() : model_([this](TrayCall c, const std::string& tip) { return notify(c, tip); }) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &TEPTrayIcon::proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    return RegisterClassA(&wc) != 0;
  }();
  (void)registered;
  static UINT next_id = 0;
  id_ = ++next_id;
  // A hidden top-level window: message-only windows miss the taskbar's broadcast.
  window_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, kClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr));
  SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  taskbar_created_message();
}

TEPTrayIcon::~TEPTrayIcon() {
  model_.destroyed();
  SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
}

void TEPTrayIcon::set_Icon(HICON icon) {
  icon_ = icon;
  model_.icon_assigned();
}

bool TEPTrayIcon::notify(TrayCall call, const std::string& tip) {
  NOTIFYICONDATAA d{};
  d.cbSize = NOTIFYICONDATAA_V1_SIZE;
  d.hWnd = window_.get();
  d.uID = id_;
  d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  d.uCallbackMessage = kTrayCallbackMessage;
  d.hIcon = icon_;
  std::memcpy(d.szTip, tip.data(), tip.size() < sizeof d.szTip ? tip.size() : sizeof d.szTip - 1);
  const DWORD op = call == TrayCall::Add ? NIM_ADD : call == TrayCall::Modify ? NIM_MODIFY : NIM_DELETE;
  return Shell_NotifyIconA(op, &d) != FALSE;
}

void TEPTrayIcon::callback(UINT mouse_message) {
  POINT p{};
  GetCursorPos(&p);
  for (const TrayEvent& e : tray_events(mouse_message, shift_state())) {
    switch (e.kind) {
      case TrayEvent::Click:
        if (OnClick) OnClick();
        break;
      case TrayEvent::DblClick:
        if (OnDblClick) OnDblClick();
        break;
      case TrayEvent::MouseDown:
        if (OnMouseDown) OnMouseDown(e.button, e.shift, p.x, p.y);
        break;
      case TrayEvent::MouseUp:
        if (OnMouseUp) OnMouseUp(e.button, e.shift, p.x, p.y);
        break;
      case TrayEvent::MouseMove:
        if (OnMouseMove) OnMouseMove(e.shift, p.x, p.y);
        break;
      case TrayEvent::ShowMenu:
        show_menu(p.x, p.y);
        break;
    }
  }
}

void TEPTrayIcon::show_menu(int x, int y) {
  if (!menu_) return;
  if (OnPopup) OnPopup();
  // The menu closes when the user clicks elsewhere only if a window of ours is in the
  // foreground while it is up; with no active form our own hidden window serves.
  HWND form = GetActiveWindow();
  if (!form) form = window_.get();
  SetForegroundWindow(form);
  const UINT cmd = static_cast<UINT>(
      TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, window_.get(), nullptr));
  PostMessageA(form, WM_NULL, 0, 0);
  if (cmd && OnMenuCommand) OnMenuCommand(cmd);
}

LRESULT CALLBACK TEPTrayIcon::proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<TEPTrayIcon*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  if (self && msg == kTrayCallbackMessage) {
    guarded([self, lp] { self->callback(static_cast<UINT>(lp)); });
    return 0;
  }
  if (self && msg == taskbar_created_message()) {
    self->model_.taskbar_created();
    return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

}  // namespace kv::win
