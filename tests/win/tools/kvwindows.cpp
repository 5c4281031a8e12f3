// kvwindows.exe COUNT TITLE [show_after_ms|hidden]: opens COUNT top-level windows titled TITLE
// (a "%d" in TITLE becomes the window's number, from 1) and keeps them until it is ended or one
// of them is closed. With show_after_ms they start hidden and are shown after that many ms;
// with "hidden" they are shown when one of them receives WM_APP.
// Prints "READY" and each window's handle once they exist.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
std::vector<HWND> g_windows;

LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  if (m == WM_APP) {
    for (HWND each : g_windows) ShowWindow(each, SW_SHOWNOACTIVATE);
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const int count = std::atoi(argv[1]);
  const std::string pattern = argv[2];
  const bool on_request = argc > 3 && std::string(argv[3]) == "hidden";
  const int show_after = on_request ? -2 : argc > 3 ? std::atoi(argv[3]) : -1;
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "KvWindows";
  RegisterClassA(&wc);
  std::vector<HWND>& windows = g_windows;
  for (int i = 1; i <= count; ++i) {
    std::string title = pattern;
    const auto at = title.find("%d");
    if (at != std::string::npos) title.replace(at, 2, std::to_string(i));
    HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, "KvWindows", title.c_str(), WS_OVERLAPPED | WS_CAPTION,
                             20 + (i % 40) * 8, 20 + (i % 40) * 8, 240, 80, nullptr, nullptr, wc.hInstance, nullptr);
    if (show_after == -1) ShowWindow(w, SW_SHOWNOACTIVATE);
    windows.push_back(w);
  }
  std::printf("READY\n");
  for (HWND w : windows) std::printf("0x%08lx\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)));
  std::fflush(stdout);
  if (show_after >= 0) SetTimer(nullptr, 0, static_cast<UINT>(show_after), nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && !msg.hwnd) {
      KillTimer(nullptr, msg.wParam);
      for (HWND w : windows) ShowWindow(w, SW_SHOWNOACTIVATE);
      continue;
    }
    DispatchMessageA(&msg);
  }
  return 0;
}
