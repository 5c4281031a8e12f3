#include "forms/list_images_win.h"

#include <commctrl.h>

#include <algorithm>

#include "forms/macro_list.h"

namespace kv::win {

namespace {

// One image on a 16-unit grid scaled to `s` pixels, into the bitmap selected in `dc`.
void draw_kind(HDC dc, int kind, int s) {
  auto u = [s](int v) { return v * s / 16; };
  OwnedGdi pen(CreatePen(PS_SOLID, std::max(1, s / 16), RGB(40, 40, 40)));
  const SelectedObject with_pen(dc, pen.get());
  if (kind == kImageLaunch) {  // a program window with its title bar
    OwnedGdi face(CreateSolidBrush(RGB(255, 255, 255)));
    const SelectedObject with_face(dc, face.get());
    Rectangle(dc, u(1), u(2), u(15), u(14));
    OwnedGdi title(CreateSolidBrush(RGB(30, 90, 200)));
    RECT bar{u(1), u(2), u(15), u(5)};
    FillRect(dc, &bar, static_cast<HBRUSH>(title.get()));
  } else if (kind == kImageKeys) {  // a key cap
    OwnedGdi face(CreateSolidBrush(RGB(235, 235, 225)));
    OwnedGdi top(CreateSolidBrush(RGB(250, 250, 245)));
    const SelectedObject with_face(dc, face.get());
    RoundRect(dc, u(1), u(2), u(15), u(14), u(4), u(4));
    const SelectedObject with_top(dc, top.get());
    RoundRect(dc, u(3), u(3), u(13), u(10), u(3), u(3));
  } else {  // a mouse
    OwnedGdi face(CreateSolidBrush(RGB(210, 220, 240)));
    const SelectedObject with_face(dc, face.get());
    RoundRect(dc, u(3), u(1), u(13), u(15), u(9), u(9));
    MoveToEx(dc, u(3), u(6), nullptr);
    LineTo(dc, u(13), u(6));
    MoveToEx(dc, u(8), u(1), nullptr);
    LineTo(dc, u(8), u(6));
  }
}

}  // namespace

OwnedImageList make_macro_images(int size) {
  OwnedImageList images(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 3, 0));
  const WindowDc screen;
  const COLORREF key = RGB(255, 0, 255);
  OwnedGdi background(CreateSolidBrush(key));
  for (int kind : {kImageLaunch, kImageKeys, kImageMouse}) {
    OwnedGdi bitmap(CreateCompatibleBitmap(screen.get(), size, size));
    {
      const OwnedDc dc(CreateCompatibleDC(screen.get()));
      const SelectedObject with_bitmap(dc.get(), bitmap.get());
      RECT all{0, 0, size, size};
      FillRect(dc.get(), &all, static_cast<HBRUSH>(background.get()));
      draw_kind(dc.get(), kind, size);
    }  // the bitmap must be out of the device context before the list copies it
    ImageList_AddMasked(images.get(), static_cast<HBITMAP>(bitmap.get()), key);
  }
  return images;
}

void draw_banner(const DRAWITEMSTRUCT& d, const Window& form) {
  const RECT r = d.rcItem;
  // A horizontal blend from deep to light blue, drawn in bands.
  for (int x = r.left; x < r.right; x += 4) {
    const int t = static_cast<int>((x - r.left) * 255 / std::max<LONG>(1, r.right - r.left));
    OwnedGdi b(CreateSolidBrush(RGB(20 + t / 4, 50 + t / 3, 120 + t / 3)));
    RECT band{x, r.top, std::min<LONG>(x + 4, r.right), r.bottom};
    FillRect(d.hDC, &band, static_cast<HBRUSH>(b.get()));
  }
  RECT edge = r;
  DrawEdge(d.hDC, &edge, EDGE_ETCHED, BF_RECT);
  const unsigned dpi = form.dpi();
  OwnedFont title(CreateFontA(-MulDiv(14, static_cast<int>(dpi), 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, "Arial"));
  const SelectedObject with_title(d.hDC, title.get());
  SetBkMode(d.hDC, TRANSPARENT);
  SetTextColor(d.hDC, RGB(255, 255, 255));
  RECT text{r.left + form.scale(10), r.top, r.right, r.bottom};
  DrawTextA(d.hDC, "Keyvane", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
  SelectObject(d.hDC, dialog_font(dpi));  // the title font is deselected again as the scope ends
  SetTextColor(d.hDC, RGB(225, 235, 255));
  RECT sub{r.left, r.top, r.right - form.scale(10), r.bottom};
  DrawTextA(d.hDC, "Macro Manager", -1, &sub, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
}

}  // namespace kv::win
