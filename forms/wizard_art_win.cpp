#include "forms/wizard_art_win.h"

#include "platform/win32/handles.h"

namespace kv::win {

namespace {

// Draws in a 132 x 272 design space scaled into the strip.
class Canvas {
 public:
  Canvas(HDC dc, const RECT& r, unsigned dpi) : dc_(dc), r_(r), dpi_(dpi) {}

  int x(int v) const { return r_.left + MulDiv(v, r_.right - r_.left, 132); }
  int y(int v) const { return r_.top + MulDiv(v, r_.bottom - r_.top, 272); }
  int px(int v) const { return MulDiv(v, static_cast<int>(dpi_), 96); }

  // A top-to-bottom blend from `top` to `bottom`, in bands one device pixel high.
  void background(COLORREF top, COLORREF bottom) {
    const int h = r_.bottom - r_.top;
    for (int i = 0; i < h; ++i) {
      auto mix = [&](int a, int b) { return a + (b - a) * i / (h > 1 ? h - 1 : 1); };
      OwnedGdi brush(
          CreateSolidBrush(RGB(mix(GetRValue(top), GetRValue(bottom)), mix(GetGValue(top), GetGValue(bottom)),
                               mix(GetBValue(top), GetBValue(bottom)))));
      RECT band{r_.left, r_.top + i, r_.right, r_.top + i + 1};
      FillRect(dc_, &band, static_cast<HBRUSH>(brush.get()));
    }
  }
  void box(int l, int t, int rgt, int b, COLORREF fill, COLORREF line, int radius = 0) {
    OwnedGdi brush(CreateSolidBrush(fill));
    OwnedGdi pen(CreatePen(PS_SOLID, px(2), line));
    SelectedObject sb(dc_, brush.get());
    SelectedObject sp(dc_, pen.get());
    if (radius)
      RoundRect(dc_, x(l), y(t), x(rgt), y(b), px(radius), px(radius));
    else
      Rectangle(dc_, x(l), y(t), x(rgt), y(b));
  }
  void ellipse(int l, int t, int rgt, int b, COLORREF fill, COLORREF line) {
    OwnedGdi brush(CreateSolidBrush(fill));
    OwnedGdi pen(CreatePen(PS_SOLID, px(2), line));
    SelectedObject sb(dc_, brush.get());
    SelectedObject sp(dc_, pen.get());
    Ellipse(dc_, x(l), y(t), x(rgt), y(b));
  }
  void line(std::initializer_list<POINT> points, COLORREF colour, int width) {
    OwnedGdi pen(CreatePen(PS_SOLID, px(width), colour));
    SelectedObject sp(dc_, pen.get());
    bool first = true;
    for (POINT p : points) {
      if (first)
        MoveToEx(dc_, x(p.x), y(p.y), nullptr);
      else
        LineTo(dc_, x(p.x), y(p.y));
      first = false;
    }
  }
  void polygon(std::initializer_list<POINT> points, COLORREF fill, COLORREF edge) {
    POINT pts[16];
    int n = 0;
    for (POINT p : points) pts[n++] = POINT{x(p.x), y(p.y)};
    OwnedGdi brush(CreateSolidBrush(fill));
    OwnedGdi pen(CreatePen(PS_SOLID, px(2), edge));
    SelectedObject sb(dc_, brush.get());
    SelectedObject sp(dc_, pen.get());
    Polygon(dc_, pts, n);
  }

 private:
  HDC dc_;
  RECT r_;
  unsigned dpi_;
};

constexpr COLORREF kInk = RGB(32, 48, 96);
constexpr COLORREF kPaper = RGB(250, 250, 246);
constexpr COLORREF kAccent = RGB(240, 170, 40);

void keyboard(Canvas& c, int top) {
  c.box(14, top, 118, top + 60, RGB(220, 224, 235), kInk, 10);
  for (int row = 0; row < 3; ++row)
    for (int k = 0; k < 6; ++k) {
      const int l = 22 + k * 15 + (row == 1 ? 4 : 0);
      c.box(l, top + 8 + row * 15, l + 11, top + 19 + row * 15, kPaper, kInk, 3);
    }
  c.box(40, top + 52, 92, top + 56, kPaper, kInk);
}

void document(Canvas& c, int l, int t) {
  c.polygon({{l, t}, {l + 56, t}, {l + 76, t + 20}, {l + 76, t + 100}, {l, t + 100}}, kPaper, kInk);
  c.line({{l + 56, t}, {l + 56, t + 20}, {l + 76, t + 20}}, kInk, 2);
}

}  // namespace

WizardPicture picture_for(WizardPage page) {
  switch (page) {
    case WizardPage::Start:
      return WizardPicture::Start;
    case WizardPage::Name:
    case WizardPage::HotKey:
      return WizardPicture::Naming;
    case WizardPage::StartApp:
      return WizardPicture::Application;
    case WizardPage::Keystype:
    case WizardPage::RecordKeys:
      return WizardPicture::Keyboard;
    case WizardPage::RecordMouse:
      return WizardPicture::Mouse;
    case WizardPage::ManualKeys:
      return WizardPicture::Script;
    case WizardPage::Finished:
      break;
  }
  return WizardPicture::Finished;
}

void draw_wizard_picture(HDC dc, const RECT& r, WizardPicture picture, unsigned dpi) {
  Canvas c(dc, r, dpi);
  c.background(RGB(70, 110, 190), RGB(16, 32, 80));
  switch (picture) {
    case WizardPicture::Start:  // a lit bulb: an idea for a macro
      c.box(50, 128, 82, 150, RGB(200, 200, 210), kInk, 4);
      c.line({{56, 158}, {76, 158}}, kPaper, 4);
      for (POINT ray : {POINT{66, 40}, POINT{16, 96}, POINT{116, 96}, POINT{28, 56}, POINT{104, 56}})
        c.line({{66, 96}, ray}, kAccent, 2);
      c.ellipse(30, 60, 102, 132, RGB(255, 230, 120), kInk);
      break;
    case WizardPicture::Naming:  // a name tag
      c.polygon({{20, 90}, {92, 90}, {116, 120}, {92, 150}, {20, 150}}, kPaper, kInk);
      c.ellipse(90, 113, 104, 127, RGB(70, 110, 190), kInk);
      c.line({{32, 112}, {78, 112}}, kInk, 3);
      c.line({{32, 128}, {66, 128}}, kInk, 3);
      keyboard(c, 176);
      break;
    case WizardPicture::Application:  // a program window
      c.box(16, 70, 116, 160, kPaper, kInk, 6);
      c.box(16, 70, 116, 88, RGB(90, 140, 220), kInk, 6);
      c.polygon({{50, 104}, {86, 122}, {50, 140}}, RGB(80, 170, 90), kInk);
      break;
    case WizardPicture::Keyboard:
      keyboard(c, 96);
      c.ellipse(52, 176, 80, 204, RGB(220, 60, 60), kPaper);  // recording
      break;
    case WizardPicture::Mouse:
      c.ellipse(38, 70, 94, 170, RGB(220, 224, 235), kInk);
      c.line({{38, 110}, {94, 110}}, kInk, 2);
      c.line({{66, 70}, {66, 110}}, kInk, 2);
      c.line({{66, 70}, {66, 50}, {90, 36}}, kPaper, 2);
      c.ellipse(52, 186, 80, 214, RGB(220, 60, 60), kPaper);
      break;
    case WizardPicture::Script:
    case WizardPicture::EditMode:
      document(c, 26, 66);
      for (int i = 0; i < 5; ++i) c.line({{36, 100 + 12 * i}, {i % 2 ? 80 : 92, 100 + 12 * i}}, kInk, 2);
      c.line({{40, 186}, {28, 196}, {40, 206}}, kAccent, 4);
      c.line({{92, 186}, {104, 196}, {92, 206}}, kAccent, 4);
      if (picture == WizardPicture::EditMode)  // a pencil across the page
        c.polygon({{108, 80}, {120, 92}, {70, 142}, {54, 146}, {58, 130}}, kAccent, kInk);
      break;
    case WizardPicture::Finished:  // a check mark
      c.ellipse(22, 80, 110, 168, RGB(80, 170, 90), kPaper);
      c.line({{42, 124}, {60, 144}, {92, 102}}, kPaper, 8);
      break;
  }
}

}  // namespace kv::win
