#include "components/tray_icon_win.h"

#include <shellapi.h>

#include <cstring>

namespace kv::win {

namespace {

UINT taskbar_created_message() {
  static const UINT m = RegisterWindowMessageA("TaskbarCreated");
  return m;
}

bool down(int vk) {
  return (GetKeyState(vk) & 0x8000) != 0;
}

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

TEPTrayIcon::TEPTrayIcon()
    : model_([this](TrayCall c, const std::string& tip) { return notify(c, tip); }),
      // Hidden top-level: a message-only window would miss the taskbar's broadcast.
      window_(ComponentWindow::Kind::HiddenTopLevel, [this](UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
        if (!handle(msg, lp)) return false;
        result = 0;
        return true;
      }) {
  static UINT next_id = 0;
  id_ = ++next_id;
  taskbar_created_message();
}

TEPTrayIcon::~TEPTrayIcon() {
  model_.destroyed();
}

void TEPTrayIcon::set_Icon(HICON icon) {
  icon_ = icon;
  model_.icon_assigned();
}

bool TEPTrayIcon::notify(TrayCall call, const std::string& tip) {
  NOTIFYICONDATAA d{};
  d.cbSize = NOTIFYICONDATAA_V1_SIZE;
  d.hWnd = window_.hwnd();
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
  if (!form) form = window_.hwnd();
  SetForegroundWindow(form);
  const UINT cmd = static_cast<UINT>(
      TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, window_.hwnd(), nullptr));
  PostMessageA(form, WM_NULL, 0, 0);
  if (cmd && OnMenuCommand) OnMenuCommand(cmd);
}

bool TEPTrayIcon::handle(UINT msg, LPARAM lp) {
  if (msg == kTrayCallbackMessage) {
    callback(static_cast<UINT>(lp));
    return true;
  }
  if (msg == taskbar_created_message()) {
    model_.taskbar_created();
    return true;
  }
  return false;
}

}  // namespace kv::win
