// kvtarget.exe LOGFILE [TITLE]: a window with a multi-line edit box that has the focus and logs
// every key message it receives:
//   KEYDOWN vk=41 scan=1e ext=0 alt=0     (also KEYUP, SYSKEYDOWN, SYSKEYUP)
//   CHAR 61                               (also SYSCHAR; hex character code)
// It also logs "READY hwnd=0x..." once it is up, "FOCUS" when its edit regains the focus,
// and "TEXT <hex of the edit's text>" when it receives WM_APP or closes. Mouse buttons and
// wheels over the edit box are logged with the pointer's screen position:
//   MOUSE LDOWN 120 344                   (also LUP, RDOWN, RUP, MDOWN, MUP)
//   WHEEL -120 120 344
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

FILE* g_log = nullptr;
WNDPROC g_edit_proc = nullptr;
HWND g_edit = nullptr;

void logf(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::vfprintf(g_log, fmt, ap);
  va_end(ap);
  std::fputs("\n", g_log);
  std::fflush(g_log);
}

void log_text() {
  const int n = GetWindowTextLengthA(g_edit);
  std::string t(static_cast<std::size_t>(n) + 1, '\0');
  GetWindowTextA(g_edit, &t[0], n + 1);
  t.resize(static_cast<std::size_t>(n));
  std::string hex;
  char b[4];
  for (unsigned char c : t) {
    std::snprintf(b, sizeof b, "%02x", c);
    hex += b;
  }
  logf("TEXT %s", hex.c_str());
}

void log_mouse(const char* what, LPARAM lp) {
  POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ClientToScreen(g_edit, &pt);
  logf("MOUSE %s %ld %ld", what, static_cast<long>(pt.x), static_cast<long>(pt.y));
}

LRESULT CALLBACK edit_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  const char* name = nullptr;
  switch (m) {
    case WM_KEYDOWN:
      name = "KEYDOWN";
      break;
    case WM_KEYUP:
      name = "KEYUP";
      break;
    case WM_SYSKEYDOWN:
      name = "SYSKEYDOWN";
      break;
    case WM_SYSKEYUP:
      name = "SYSKEYUP";
      break;
    case WM_CHAR:
      logf("CHAR %x", static_cast<unsigned>(wp));
      break;
    case WM_SYSCHAR:
      logf("SYSCHAR %x", static_cast<unsigned>(wp));
      break;
    case WM_SETFOCUS:
      logf("FOCUS");
      break;
    case WM_LBUTTONDOWN:
      log_mouse("LDOWN", lp);
      break;
    case WM_LBUTTONUP:
      log_mouse("LUP", lp);
      break;
    case WM_RBUTTONDOWN:
      log_mouse("RDOWN", lp);
      break;
    case WM_RBUTTONUP:
      log_mouse("RUP", lp);
      break;
    case WM_MBUTTONDOWN:
      log_mouse("MDOWN", lp);
      break;
    case WM_MBUTTONUP:
      log_mouse("MUP", lp);
      break;
    case WM_MOUSEWHEEL:  // the position comes in screen coordinates already
      logf("WHEEL %d %d %d", static_cast<short>(HIWORD(wp)), static_cast<short>(LOWORD(lp)),
           static_cast<short>(HIWORD(lp)));
      break;
    default:
      break;
  }
  if (name)
    logf("%s vk=%x scan=%x ext=%d alt=%d", name, static_cast<unsigned>(wp), static_cast<unsigned>((lp >> 16) & 0xFF),
         static_cast<int>((lp >> 24) & 1), static_cast<int>((lp >> 29) & 1));
  // Keep Alt combinations from opening the system menu, which would take the keys away.
  if (m == WM_SYSKEYDOWN || m == WM_SYSKEYUP || m == WM_SYSCHAR) return 0;
  return CallWindowProcA(g_edit_proc, w, m, wp, lp);
}

LRESULT CALLBACK main_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_APP:
      log_text();
      return 0;
    case WM_SETFOCUS:
      SetFocus(g_edit);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) SetFocus(g_edit);
      return 0;
    case WM_CLOSE:
      log_text();
      DestroyWindow(w);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(w, m, wp, lp);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  g_log = std::fopen(argv[1], "ab");
  if (!g_log) return 3;
  const char* title = argc > 2 ? argv[2] : "Keyvane Target";
  WNDCLASSA wc{};
  wc.lpfnWndProc = main_proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "KvTarget";
  RegisterClassA(&wc);
  HWND top = CreateWindowExA(0, "KvTarget", title, WS_OVERLAPPEDWINDOW, 40, 40, 640, 420, nullptr, nullptr,
                             wc.hInstance, nullptr);
  g_edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                           WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN, 0, 0,
                           620, 380, top, reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
  SendMessageA(g_edit, EM_SETLIMITTEXT, 0, 0);
  g_edit_proc =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(edit_proc)));
  ShowWindow(top, SW_SHOW);
  SetForegroundWindow(top);
  SetFocus(g_edit);
  logf("READY hwnd=0x%08lx", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(top)));
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  std::fclose(g_log);
  return 0;
}
