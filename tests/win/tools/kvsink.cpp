// kvsink.exe OUTFILE [TITLE]: a bare window that takes the keyboard focus and only records the
// WM_CHAR characters it receives, with the time of the first and the last, for typing
// benchmarks (an EDIT control is itself too slow to measure typing with). On WM_APP it writes
//   COUNT n
//   SPAN_MS <milliseconds from the first character to the last>
//   TEXT <hex of the characters>
// to OUTFILE (replacing it); WM_APP+1 starts a new recording. "READY hwnd=0x..." is written
// first.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* g_out = nullptr;
std::string g_chars;
LARGE_INTEGER g_first{}, g_last{}, g_freq{};

void write_out(const char* text) {
  FILE* f = std::fopen(g_out, "wb");
  if (!f) return;
  std::fputs(text, f);
  std::fclose(f);
}

void report() {
  const double span = g_chars.empty() ? 0.0
                                      : 1000.0 * static_cast<double>(g_last.QuadPart - g_first.QuadPart) /
                                            static_cast<double>(g_freq.QuadPart);
  std::string hex;
  hex.reserve(g_chars.size() * 2);
  char b[4];
  for (unsigned char c : g_chars) {
    std::snprintf(b, sizeof b, "%02x", c);
    hex += b;
  }
  char head[128];
  std::snprintf(head, sizeof head, "COUNT %u\nSPAN_MS %.3f\nTEXT ", static_cast<unsigned>(g_chars.size()), span);
  write_out((head + hex + "\n").c_str());
}

LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  switch (m) {
    case WM_CHAR: {
      LARGE_INTEGER now;
      QueryPerformanceCounter(&now);
      if (g_chars.empty()) g_first = now;
      g_last = now;
      g_chars += static_cast<char>(wp);
      return 0;
    }
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      return 0;
    case WM_APP:
      report();
      return 0;
    case WM_APP + 1:
      g_chars.clear();
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
  g_out = argv[1];
  QueryPerformanceFrequency(&g_freq);
  g_chars.reserve(1 << 16);
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "KvSink";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "KvSink", argc > 2 ? argv[2] : "Keyvane Sink", WS_OVERLAPPEDWINDOW, 60, 60, 400, 200,
                           nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(w, SW_SHOW);
  SetForegroundWindow(w);
  SetFocus(w);
  char ready[64];
  std::snprintf(ready, sizeof ready, "READY hwnd=0x%08lx\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(w)));
  write_out(ready);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
