#include "platform/win32/window_win.h"

#include <map>

#include "platform/win32/adapters.h"

namespace kv::win {

unsigned window_dpi(HWND w) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  if (get_dpi && w) {
    const UINT d = get_dpi(w);
    if (d) return d;
  }
  const WindowDc screen;
  const int d = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return d > 0 ? static_cast<unsigned>(d) : 96u;
}

HFONT dialog_font(unsigned dpi) {
  // One font per dpi for the life of the program.
  static std::map<unsigned, OwnedFont> fonts;
  auto& f = fonts[dpi];
  if (!f) {
    f.reset(CreateFontA(-MulDiv(8, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        "MS Shell Dlg 2"));
  }
  return f.get();
}

namespace {
BOOL CALLBACK set_child_font(HWND c, LPARAM lp) {
  SendMessageA(c, WM_SETFONT, static_cast<WPARAM>(lp), TRUE);
  return TRUE;
}
}  // namespace

void apply_font(HWND w, HFONT font) {
  SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EnumChildWindows(w, set_child_font, reinterpret_cast<LPARAM>(font));
}

HWND Window::create(const char* class_name, const char* caption, DWORD style, DWORD ex_style, int x, int y, int w,
                    int h, HWND parent, HICON icon) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(GetModuleHandleA(nullptr), class_name, &wc)) {
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Window::proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = class_name;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    RegisterClassExA(&wc);
  }
  HWND created = CreateWindowExA(ex_style, class_name, caption, style, x, y, w, h, parent, nullptr,
                                 GetModuleHandleA(nullptr), this);
  return created;
}

Window::~Window() {
  if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
  window_.reset();
}

unsigned Window::dpi() const {
  return window_dpi(hwnd());
}

int Window::scale(int px) const {
  return MulDiv(px, static_cast<int>(dpi()), 96);
}

void Window::centre_on_screen() {
  // The whole primary screen, taskbar included, not just its work area.
  RECT r;
  GetWindowRect(hwnd(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::set_client_size(int w, int h) {
  RECT r{0, 0, scale(w), scale(h)};
  const DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE));
  const DWORD ex = static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_EXSTYLE));
  AdjustWindowRectEx(&r, style, FALSE, ex);
  SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Window::proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_.reset(w);
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(w, GWLP_USERDATA));
  }
  if (msg == WM_NCDESTROY && self) {
    SetWindowLongPtrA(w, GWLP_USERDATA, 0);
    self->window_.release();
    return DefWindowProcA(w, msg, wp, lp);
  }
  if (self) {
    LRESULT result = 0;
    bool handled = false;
    try {
      handled = self->handle(msg, wp, lp, result);
    } catch (...) {
      report_current_exception();
      handled = false;
    }
    if (handled) return result;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

ComponentWindow::ComponentWindow(Kind kind, Handler handler) : handler_(std::move(handler)) {
  if (kind == Kind::MessageOnly)
    create(kComponentWindowClass, "", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
  else
    create(kComponentWindowClass, "", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0);
}

bool ComponentWindow::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  return handler_ && handler_(msg, wp, lp, result);
}

HMENU append_submenu(HMENU menu, OwnedMenu submenu, const char* text) {
  if (!AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.get()), text)) return nullptr;
  return submenu.release();
}

std::string control_text(HWND w) {
  if (!w) return {};
  const int n = GetWindowTextLengthA(w);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(w, text.data(), n + 1)));
  return text;
}

HWND create_control(Window& parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                    DWORD ex_style) {
  HWND c = CreateWindowExA(ex_style, cls, text, style | WS_CHILD | WS_VISIBLE, parent.scale(x), parent.scale(y),
                           parent.scale(w), parent.scale(h), parent.hwnd(),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(dialog_font(parent.dpi())), FALSE);
  return c;
}

}  // namespace kv::win
