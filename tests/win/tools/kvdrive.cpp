// kvdrive.exe: drives other programs' windows from a test (run in the same Wine prefix).
// Window handles are printed and read as hexadecimal (0x%08lx).
//   find CLASS|- TITLE|- [timeout_ms]      first window with that class/title (visible or not)
//   findvisible CLASS|- TITLE|- [timeout]  same, visible only
//   waitgone CLASS|- TITLE|- timeout_ms    exit 0 once no such window exists
//   enum                                   hwnd pid visible class "title" of every top-level window
//   children HWND                          hwnd id class visible enabled "text" of each descendant
//   child HWND CLASS|- TEXT|-              first descendant with that class/text
//   gettext HWND | settext HWND TEXT
//   settextw HWND HEX,HEX,...              sets a wide-character text given as UTF-16 code units
//   click HWND                             posts BM_CLICK
//   post|send HWND MSG WPARAM LPARAM       numbers accept 0x...
//   lvdump HWND                            list view rows: index, then the columns' texts, tab-separated
//   lvselect HWND INDEX                    selects and focuses a list view row
//   popupmenu [timeout_ms]                 a visible "#32768" popup menu window
//   msgbox TITLE [timeout_ms]              a visible dialog with that title: prints hwnd and its static texts
//   rect HWND                              window rectangle and client size
//   pid HWND                               owning process id
//   foreground                             the foreground window
//   setforeground HWND
//   style HWND                             window style and extended style
//   run "COMMAND LINE" [timeout_ms]        starts a process with exactly that command line; prints
//                                          "pid N", then "exit N" if it ended within the timeout
//   wait PID timeout_ms                    prints "exit N" once the process ended, else exit 1
//   watch PID timeout_ms                   as wait, but first prints "watching" once it holds the
//                                          process, so its exit code cannot be lost
//   trayhas HWND ID                        exit 0 when the notification area holds that icon
//   traydel HWND ID                        removes that icon (as a restarting shell loses it)
//   regmsg NAME HWND                       posts the registered window message NAME to HWND
//   setclip TEXT | getclip                 the clipboard's text
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND parse_hwnd(const char* s) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoul(s, nullptr, 16)));
}
long num(const char* s) {
  return std::strtol(s, nullptr, 0);
}
void print_hwnd(HWND h) {
  std::printf("0x%08lx\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(h)));
}
const char* opt(const char* s) {
  return std::strcmp(s, "-") ? s : nullptr;
}

std::string text_of(HWND h) {
  char t[4096] = {};
  DWORD_PTR r = 0;
  SendMessageTimeoutA(h, WM_GETTEXT, sizeof t, reinterpret_cast<LPARAM>(t), SMTO_ABORTIFHUNG, 3000, &r);
  return t;
}

struct Search {
  const char* cls;
  const char* title;
  bool visible_only;
  HWND found;
};

BOOL CALLBACK match_top(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  char c[256] = {}, t[1024] = {};
  GetClassNameA(h, c, sizeof c);
  GetWindowTextA(h, t, sizeof t);
  if (s->cls && std::strcmp(c, s->cls) != 0) return TRUE;
  if (s->title && std::strcmp(t, s->title) != 0) return TRUE;
  if (s->visible_only && !IsWindowVisible(h)) return TRUE;
  s->found = h;
  return FALSE;
}

HWND find_top(const char* cls, const char* title, bool visible_only) {
  Search s{cls, title, visible_only, nullptr};
  EnumWindows(match_top, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND wait_top(const char* cls, const char* title, bool visible_only, long timeout) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(timeout);
  for (;;) {
    if (HWND h = find_top(cls, title, visible_only)) return h;
    if (static_cast<LONG>(GetTickCount() - until) >= 0) return nullptr;
    Sleep(50);
  }
}

BOOL CALLBACK print_top(HWND h, LPARAM) {
  char c[256] = {}, t[1024] = {};
  DWORD pid = 0;
  GetClassNameA(h, c, sizeof c);
  GetWindowTextA(h, t, sizeof t);
  GetWindowThreadProcessId(h, &pid);
  std::printf("0x%08lx %lu %d %s \"%s\"\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(h)), pid,
              IsWindowVisible(h) ? 1 : 0, c, t);
  return TRUE;
}

BOOL CALLBACK print_child(HWND h, LPARAM) {
  char c[256] = {};
  GetClassNameA(h, c, sizeof c);
  std::printf("0x%08lx %d %s %d %d \"%s\"\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(h)),
              GetDlgCtrlID(h), c, IsWindowVisible(h) ? 1 : 0, IsWindowEnabled(h) ? 1 : 0, text_of(h).c_str());
  return TRUE;
}

BOOL CALLBACK match_child(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  char c[256] = {};
  GetClassNameA(h, c, sizeof c);
  if (s->cls && lstrcmpiA(c, s->cls) != 0) return TRUE;
  if (s->title && text_of(h) != s->title) return TRUE;
  s->found = h;
  return FALSE;
}

BOOL CALLBACK print_static(HWND h, LPARAM) {
  char c[256] = {};
  GetClassNameA(h, c, sizeof c);
  if (!lstrcmpiA(c, "Static")) {
    const std::string t = text_of(h);
    if (!t.empty()) std::printf("%s\n", t.c_str());
  }
  return TRUE;
}

int lvdump(HWND lv) {
  DWORD pid = 0;
  GetWindowThreadProcessId(lv, &pid);
  HANDLE p =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, pid);
  if (!p) return 1;
  const int n = static_cast<int>(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0));
  HWND hdr = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0));
  const int cols = hdr ? static_cast<int>(SendMessageA(hdr, HDM_GETITEMCOUNT, 0, 0)) : 1;
  constexpr SIZE_T kText = 1024;
  char* remote =
      static_cast<char*>(VirtualAllocEx(p, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote) return 1;
  std::printf("items=%d cols=%d selected=%d\n", n, cols,
              static_cast<int>(SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
  for (int i = 0; i < n; ++i) {
    std::printf("%d", i);
    for (int c = 0; c <= cols; ++c) {
      LVITEMA it{};
      it.mask = LVIF_TEXT | LVIF_IMAGE;
      it.iItem = i;
      it.iSubItem = c < cols ? c : 0;
      it.pszText = remote + sizeof(LVITEMA);
      it.cchTextMax = kText;
      char txt[kText] = {};
      SIZE_T io = 0;
      WriteProcessMemory(p, remote, &it, sizeof it, &io);
      if (c < cols) {
        SendMessageA(lv, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(p, remote + sizeof(LVITEMA), txt, kText - 1, &io);
        std::printf("\t%s", txt);
      } else {
        SendMessageA(lv, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(p, remote, &it, sizeof it, &io);
        std::printf("\timage=%d", it.iImage);
      }
    }
    std::printf("\n");
  }
  VirtualFreeEx(p, remote, 0, MEM_RELEASE);
  CloseHandle(p);
  return 0;
}

int lvselect(HWND lv, int index) {
  DWORD pid = 0;
  GetWindowThreadProcessId(lv, &pid);
  HANDLE p = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!p) return 1;
  auto* remote = static_cast<LVITEMA*>(VirtualAllocEx(p, nullptr, sizeof(LVITEMA), MEM_COMMIT, PAGE_READWRITE));
  LVITEMA it{};
  it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  it.state = LVIS_SELECTED | LVIS_FOCUSED;
  SIZE_T io = 0;
  WriteProcessMemory(p, remote, &it, sizeof it, &io);
  const LRESULT r = SendMessageA(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote));
  VirtualFreeEx(p, remote, 0, MEM_RELEASE);
  CloseHandle(p);
  return r ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string cmd = argv[1];
  if ((cmd == "find" || cmd == "findvisible") && argc >= 4) {
    HWND h = wait_top(opt(argv[2]), opt(argv[3]), cmd == "findvisible", argc > 4 ? num(argv[4]) : 0);
    if (!h) return 1;
    print_hwnd(h);
    return 0;
  }
  if (cmd == "waitgone" && argc >= 5) {
    const DWORD until = GetTickCount() + static_cast<DWORD>(num(argv[4]));
    while (find_top(opt(argv[2]), opt(argv[3]), false)) {
      if (static_cast<LONG>(GetTickCount() - until) >= 0) return 1;
      Sleep(50);
    }
    return 0;
  }
  if (cmd == "enum") {
    EnumWindows(print_top, 0);
    return 0;
  }
  if (cmd == "children" && argc >= 3) {
    EnumChildWindows(parse_hwnd(argv[2]), print_child, 0);
    return 0;
  }
  if (cmd == "child" && argc >= 5) {
    Search s{opt(argv[3]), opt(argv[4]), false, nullptr};
    EnumChildWindows(parse_hwnd(argv[2]), match_child, reinterpret_cast<LPARAM>(&s));
    if (!s.found) return 1;
    print_hwnd(s.found);
    return 0;
  }
  if (cmd == "setclip" && argc >= 3) {
    if (!OpenClipboard(nullptr)) return 1;
    EmptyClipboard();
    const std::size_t n = std::strlen(argv[2]) + 1;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
    std::memcpy(GlobalLock(h), argv[2], n);
    GlobalUnlock(h);
    const bool ok = SetClipboardData(CF_TEXT, h) != nullptr;
    CloseClipboard();
    return ok ? 0 : 1;
  }
  if (cmd == "getclip") {
    if (!OpenClipboard(nullptr)) return 1;
    HANDLE h = GetClipboardData(CF_TEXT);
    if (h) {
      std::printf("%s\n", static_cast<const char*>(GlobalLock(h)));
      GlobalUnlock(h);
    }
    CloseClipboard();
    return h ? 0 : 1;
  }
  if (cmd == "gettext" && argc >= 3) {
    std::printf("%s\n", text_of(parse_hwnd(argv[2])).c_str());
    return 0;
  }
  if (cmd == "settext" && argc >= 4)
    return SendMessageA(parse_hwnd(argv[2]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3])) ? 0 : 1;
  if (cmd == "settextw" && argc >= 4) {
    std::wstring text;
    for (const char* p = argv[3]; *p;) {
      char* end = nullptr;
      text += static_cast<wchar_t>(std::strtoul(p, &end, 16));
      p = *end == ',' ? end + 1 : end;
    }
    return SendMessageW(parse_hwnd(argv[2]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) ? 0 : 1;
  }
  if (cmd == "click" && argc >= 3) return PostMessageA(parse_hwnd(argv[2]), BM_CLICK, 0, 0) ? 0 : 1;
  if (cmd == "post" && argc >= 6)
    return PostMessageA(parse_hwnd(argv[2]), static_cast<UINT>(num(argv[3])), static_cast<WPARAM>(num(argv[4])),
                        static_cast<LPARAM>(num(argv[5])))
               ? 0
               : 1;
  if (cmd == "send" && argc >= 6) {
    std::printf("%ld\n",
                static_cast<long>(SendMessageA(parse_hwnd(argv[2]), static_cast<UINT>(num(argv[3])),
                                               static_cast<WPARAM>(num(argv[4])), static_cast<LPARAM>(num(argv[5])))));
    return 0;
  }
  if (cmd == "lvdump" && argc >= 3) return lvdump(parse_hwnd(argv[2]));
  if (cmd == "lvselect" && argc >= 4) return lvselect(parse_hwnd(argv[2]), static_cast<int>(num(argv[3])));
  if (cmd == "popupmenu") {
    HWND h = wait_top("#32768", nullptr, true, argc > 2 ? num(argv[2]) : 0);
    if (!h) return 1;
    print_hwnd(h);
    return 0;
  }
  if (cmd == "msgbox" && argc >= 3) {
    HWND h = wait_top("#32770", argv[2], true, argc > 3 ? num(argv[3]) : 0);
    if (!h) return 1;
    print_hwnd(h);
    EnumChildWindows(h, print_static, 0);
    return 0;
  }
  if (cmd == "rect" && argc >= 3) {
    RECT r{}, c{};
    GetWindowRect(parse_hwnd(argv[2]), &r);
    GetClientRect(parse_hwnd(argv[2]), &c);
    std::printf("%ld %ld %ld %ld client %ld %ld\n", r.left, r.top, r.right, r.bottom, c.right, c.bottom);
    return 0;
  }
  if (cmd == "pid" && argc >= 3) {
    DWORD pid = 0;
    GetWindowThreadProcessId(parse_hwnd(argv[2]), &pid);
    std::printf("%lu\n", pid);
    return 0;
  }
  if (cmd == "foreground") {
    print_hwnd(GetForegroundWindow());
    return 0;
  }
  if (cmd == "setforeground" && argc >= 3) return SetForegroundWindow(parse_hwnd(argv[2])) ? 0 : 1;
  if (cmd == "style" && argc >= 3) {
    std::printf("0x%08lx 0x%08lx\n", static_cast<unsigned long>(GetWindowLongA(parse_hwnd(argv[2]), GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(parse_hwnd(argv[2]), GWL_EXSTYLE)));
    return 0;
  }
  if (cmd == "run" && argc >= 3) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = argv[2];
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      std::printf("error %lu\n", GetLastError());
      return 1;
    }
    std::printf("pid %lu\n", pi.dwProcessId);
    std::fflush(stdout);
    if (argc > 3 && WaitForSingleObject(pi.hProcess, static_cast<DWORD>(num(argv[3]))) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(pi.hProcess, &code);
      std::printf("exit %lu\n", code);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
  }
  if ((cmd == "wait" || cmd == "watch") && argc >= 4) {
    HANDLE p = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, static_cast<DWORD>(num(argv[2])));
    if (!p) {
      std::printf("gone\n");
      return 0;
    }
    if (cmd == "watch") {
      std::printf("watching\n");
      std::fflush(stdout);
    }
    const bool ended = WaitForSingleObject(p, static_cast<DWORD>(num(argv[3]))) == WAIT_OBJECT_0;
    DWORD code = 0;
    GetExitCodeProcess(p, &code);
    CloseHandle(p);
    if (!ended) return 1;
    std::printf("exit %lu\n", code);
    return 0;
  }
  if ((cmd == "trayhas" || cmd == "traydel") && argc >= 4) {
    NOTIFYICONDATAA d{};
    d.cbSize = NOTIFYICONDATAA_V1_SIZE;
    d.hWnd = parse_hwnd(argv[2]);
    d.uID = static_cast<UINT>(num(argv[3]));
    // Modifying nothing succeeds only for an icon that is there.
    return Shell_NotifyIconA(cmd == "trayhas" ? NIM_MODIFY : NIM_DELETE, &d) ? 0 : 1;
  }
  if (cmd == "regmsg" && argc >= 4)
    return PostMessageA(parse_hwnd(argv[3]), RegisterWindowMessageA(argv[2]), 0, 0) ? 0 : 1;
  std::fprintf(stderr, "kvdrive: bad command\n");
  return 2;
}
