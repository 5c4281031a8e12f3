#include "components/menu_button_win.h"

#include <commctrl.h>

#include "platform/win32/adapters.h"
#include "platform/win32/handles.h"

namespace kv::win {

namespace {
constexpr UINT_PTR kSubclassId = 1;
}  // namespace

TEPMenuButton::~TEPMenuButton() {
  if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, subclass, kSubclassId);
}

HWND TEPMenuButton::create(Window& parent, const char* caption, int x, int y, int w, int h, int id) {
  hwnd_ = create_control(parent, "BUTTON", caption, WS_TABSTOP | BS_OWNERDRAW, x, y, w, h, id);
  SetWindowSubclass(hwnd_, subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  return hwnd_;
}

LRESULT CALLBACK TEPMenuButton::subclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto& b = *reinterpret_cast<TEPMenuButton*>(self);
  switch (msg) {
    // The press drops the menu itself: no capture, no pressed look of the standard button, and
    // a second press counts as a press, not a double click.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      guarded([&] { b.click(b); });
      return 0;
    case WM_LBUTTONUP:
      return 0;
    case WM_COMMAND:  // an entry of the menu
      if (lp == 0 && HIWORD(wp) == 0) {
        guarded([&] { b.command(LOWORD(wp)); });
        return 0;
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(w, msg, wp, lp);
}

bool TEPMenuButton::parent_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (!hwnd_) return false;
  if (msg == WM_COMMAND && reinterpret_cast<HWND>(lp) == hwnd_ && HIWORD(wp) == BN_CLICKED) {
    click(*this);  // by the keyboard: Space, or its access key
    result = 0;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (d->hwndItem != hwnd_) return false;
    draw(*d);
    result = TRUE;
    return true;
  }
  return false;
}

bool TEPMenuButton::has_focus() {
  return GetFocus() == hwnd_;
}

void TEPMenuButton::focus() {
  SetFocus(hwnd_);
}

void TEPMenuButton::show_pressed(bool pressed) {
  SendMessageA(hwnd_, BM_SETSTATE, pressed ? 1 : 0, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

void TEPMenuButton::track(const std::vector<MenuEntry>& entries) {
  const OwnedMenu menu(CreatePopupMenu());
  for (const MenuEntry& e : entries) {
    if (e.separator)
      AppendMenuA(menu.get(), MF_SEPARATOR, e.id, nullptr);
    else
      AppendMenuA(menu.get(), MF_STRING | (e.checked ? MF_CHECKED : 0), e.id, e.text.c_str());
  }
  RECT r;
  GetWindowRect(hwnd_, &r);
  // The chosen entry arrives as a command posted to the button, so entry 0 counts like any other.
  TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, r.left, r.bottom - 1, 0, hwnd_, nullptr);
}

void TEPMenuButton::remove_pending_clicks() {
  MSG m;
  while (PeekMessageA(&m, hwnd_, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE)) {
  }
}

void TEPMenuButton::draw(const DRAWITEMSTRUCT& d) {
  const HDC dc = d.hDC;
  RECT face = d.rcItem;
  const bool pressed = (d.itemState & ODS_SELECTED) != 0;
  const bool disabled = (d.itemState & ODS_DISABLED) != 0;
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

  const unsigned dpi = window_dpi(hwnd_);
  auto px = [dpi](int v) { return MulDiv(v, static_cast<int>(dpi), 96); };
  char caption[256] = {};
  GetWindowTextA(hwnd_, caption, sizeof caption);
  const SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
  RECT text{0, 0, 0, 0};
  DrawTextA(dc, caption, -1, &text, DT_SINGLELINE | DT_CALCRECT);
  const int tw = text.right - text.left, th = text.bottom - text.top;
  const int mid_x = (d.rcItem.left + d.rcItem.right) / 2, mid_y = (d.rcItem.top + d.rcItem.bottom) / 2;
  // The caption's centre moves left to leave room for the arrow.
  RECT place{mid_x - tw / 2 - px(10), mid_y - th / 2, 0, 0};
  place.right = place.left + tw;
  place.bottom = place.top + th;
  SetBkMode(dc, TRANSPARENT);
  COLORREF colour = GetSysColor(COLOR_BTNTEXT);
  if (disabled) {
    colour = GetSysColor(COLOR_GRAYTEXT);
    if (colour == GetSysColor(COLOR_BTNFACE)) colour = GetSysColor(COLOR_BTNSHADOW);
  }
  SetTextColor(dc, colour);
  DrawTextA(dc, caption, -1, &place, DT_SINGLELINE | ((d.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0));

  if (d.itemState & ODS_FOCUS) {
    RECT f = d.rcItem;
    InflateRect(&f, -px(4), -px(4));
    DrawFocusRect(dc, &f);
  }

  // A down-pointing triangle 10 wide and 5 high, after the caption, centred vertically.
  const int left = mid_x + tw / 2 + (pressed ? 1 : 0), top = mid_y - px(5) / 2;
  auto arrow = [&](int offset, int sys_colour) {
    const POINT tri[3] = {{left + offset, top + offset},
                          {left + px(10) + offset, top + offset},
                          {left + px(10) / 2 + offset, top + px(5) + offset}};
    const OwnedGdi brush(CreateSolidBrush(GetSysColor(sys_colour)));
    const OwnedGdi pen(CreatePen(PS_SOLID, 1, GetSysColor(sys_colour)));
    const SelectedObject b(dc, brush.get());
    const SelectedObject p(dc, pen.get());
    Polygon(dc, tri, 3);
  };
  if (disabled) {
    arrow(1, COLOR_BTNHIGHLIGHT);
    arrow(0, COLOR_BTNSHADOW);
  } else {
    arrow(0, COLOR_BTNTEXT);
  }
}

}  // namespace kv::win
