// kvlatency.exe LOGFILE [TITLE]: a focused window that timestamps keyboard input for the hotkey
// latency benchmark. A low-level keyboard hook logs every key event as the system sees it
//   LL <vk hex> <down|up> <user|injected> <microseconds>
// and the window logs the key messages it receives
//   MSG <vk hex> <microseconds>
// all on one clock (QueryPerformanceCounter). "READY" once it is up.
#include <windows.h>

#include <cstdio>

namespace {

FILE* g_log = nullptr;
LARGE_INTEGER g_freq;

long long micros() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart * 1000000 / g_freq.QuadPart;
}

LRESULT CALLBACK hook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    const long long t = micros();
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lp);
    const bool up = wp == WM_KEYUP || wp == WM_SYSKEYUP;
    std::fprintf(g_log, "LL %lx %s %s %lld\n", static_cast<unsigned long>(k->vkCode), up ? "up" : "down",
                 (k->flags & LLKHF_INJECTED) ? "injected" : "user", t);
    std::fflush(g_log);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      std::fprintf(g_log, "MSG %lx %lld\n", static_cast<unsigned long>(wp), micros());
      std::fflush(g_log);
      return 0;
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
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
  QueryPerformanceFrequency(&g_freq);
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "KvLatency";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "KvLatency", argc > 2 ? argv[2] : "Keyvane Latency", WS_OVERLAPPEDWINDOW, 60, 60, 400,
                           200, nullptr, nullptr, wc.hInstance, nullptr);
  HHOOK h = SetWindowsHookExA(WH_KEYBOARD_LL, hook, wc.hInstance, 0);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  SetFocus(w);
  std::fprintf(g_log, "READY\n");
  std::fflush(g_log);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  UnhookWindowsHookEx(h);
  std::fclose(g_log);
  return 0;
}
