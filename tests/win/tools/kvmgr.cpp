// kvmgr.exe: test helper for the manager window's scenarios (run in the same Wine prefix).
//   lvclick HWND INDEX [right|double|middle]  clicks a list view row like a user (SendInput at the row)
//   cbselect HWND TEXT                   selects the combo box item with exactly that text and tells
//                                        the combo's parent, as a user's choice does
//   workarea                             prints the primary screen's rectangle and its work area
//   link PATH                            reads a .lnk back through the shell link object and prints
//                                        target, arguments, workdir, description, hotkey, showcmd, icon
//   addprinter NAME PORT PPD_DIR         a PostScript printer whose port is a file; made the default
//   holdhotkey MODS VK LOG               registers the hotkey, writes "HELD 1" (or "HELD 0") to LOG and
//                                        keeps it until ended
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND parse_hwnd(const char* s) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoul(s, nullptr, 16)));
}

bool row_rect(HWND lv, int index, RECT& out) {
  DWORD pid = 0;
  GetWindowThreadProcessId(lv, &pid);
  HANDLE p = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (!p) return false;
  auto* remote = static_cast<RECT*>(VirtualAllocEx(p, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE));
  RECT r{};
  r.left = LVIR_LABEL;
  SIZE_T io = 0;
  WriteProcessMemory(p, remote, &r, sizeof r, &io);
  const LRESULT ok = SendMessageA(lv, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote));
  ReadProcessMemory(p, remote, &out, sizeof out, &io);
  VirtualFreeEx(p, remote, 0, MEM_RELEASE);
  CloseHandle(p);
  return ok != 0;
}

void mouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  SendInput(1, &in, sizeof in);
  Sleep(30);
}

int lvclick(HWND lv, int index, const char* how) {
  RECT r{};
  if (!row_rect(lv, index, r)) return 1;
  POINT pt{r.left + 8, (r.top + r.bottom) / 2};
  ClientToScreen(lv, &pt);
  SetCursorPos(pt.x, pt.y);
  Sleep(50);
  const bool right = how && !std::strcmp(how, "right");
  const bool middle = how && !std::strcmp(how, "middle");
  const int clicks = how && !std::strcmp(how, "double") ? 2 : 1;
  for (int i = 0; i < clicks; ++i) {
    mouse(middle ? MOUSEEVENTF_MIDDLEDOWN : right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    mouse(middle ? MOUSEEVENTF_MIDDLEUP : right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  }
  std::printf("%ld %ld\n", pt.x, pt.y);
  return 0;
}

int read_link(const char* path) {
  if (FAILED(CoInitialize(nullptr))) return 1;
  IShellLinkA* link = nullptr;
  int rc = 1;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        char buf[1024];
        buf[0] = 0;
        link->GetPath(buf, sizeof buf, nullptr, SLGP_RAWPATH);
        std::printf("target=%s\n", buf);
        buf[0] = 0;
        link->GetArguments(buf, sizeof buf);
        std::printf("arguments=%s\n", buf);
        buf[0] = 0;
        link->GetWorkingDirectory(buf, sizeof buf);
        std::printf("workdir=%s\n", buf);
        buf[0] = 0;
        link->GetDescription(buf, sizeof buf);
        std::printf("description=%s\n", buf);
        WORD hotkey = 0;
        link->GetHotkey(&hotkey);
        std::printf("hotkey=%u\n", hotkey);
        int show = 0;
        link->GetShowCmd(&show);
        std::printf("showcmd=%d\n", show);
        int icon = -1;
        buf[0] = 0;
        link->GetIconLocation(buf, sizeof buf, &icon);
        std::printf("icon=%s,%d\n", buf, icon);
        rc = 0;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return rc;
}

int add_printer(const char* name, const char* port, const char* ppd_dir) {
  // The PostScript driver needs a PPD beside it before it makes a device context.
  char drivers[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(drivers), sizeof drivers, &needed)) {
    std::printf("no printer driver folder %lu\n", GetLastError());
    return 1;
  }
  const std::string dir = drivers;
  SHCreateDirectoryExA(nullptr, dir.c_str(), nullptr);
  CopyFileA((std::string(ppd_dir) + "\\generic.ppd").c_str(), (dir + "\\generic.ppd").c_str(), FALSE);
  DRIVER_INFO_3A di{};
  di.cVersion = 3;
  di.pName = const_cast<char*>("Wine PostScript Driver");
  di.pDriverPath = const_cast<char*>("wineps.drv");
  di.pDataFile = const_cast<char*>("generic.ppd");
  di.pConfigFile = const_cast<char*>("wineps.drv");
  if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&di)))  // fails harmlessly when present
    std::printf("AddPrinterDriver %lu\n", GetLastError());
  // A printer of that name left by an earlier run may print to another file: made anew.
  HANDLE existing = nullptr;
  PRINTER_DEFAULTSA all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (OpenPrinterA(const_cast<char*>(name), &existing, &all)) {
    DeletePrinter(existing);
    ClosePrinter(existing);
  }
  {
    PRINTER_INFO_2A pi{};
    pi.pPrinterName = const_cast<char*>(name);
    pi.pPortName = const_cast<char*>(port);
    pi.pDriverName = const_cast<char*>("Wine PostScript Driver");
    pi.pPrintProcessor = const_cast<char*>("WinPrint");
    pi.pDatatype = const_cast<char*>("RAW");
    pi.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE h = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&pi));
    if (!h) {
      std::printf("AddPrinter failed %lu\n", GetLastError());
      return 1;
    }
    ClosePrinter(h);
  }
  return SetDefaultPrinterA(name) ? 0 : 1;
}

int cbselect(HWND combo, const char* text) {
  // The system carries the combo box's string messages across processes itself.
  const LRESULT index =
      SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
  if (index < 0) return 1;
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  return 0;
}

int workarea() {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoA(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi)) return 1;
  std::printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right,
              mi.rcMonitor.bottom, mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom);
  return 0;
}

}  // namespace

int hold_hotkey(unsigned modifiers, unsigned vk, const char* log) {
  const bool held = RegisterHotKey(nullptr, 1, modifiers, vk) != FALSE;
  if (FILE* f = std::fopen(log, "w")) {
    std::fprintf(f, "HELD %d\n", held ? 1 : 0);
    std::fclose(f);
  }
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) DispatchMessageA(&m);
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  // Row positions are read in the list's own pixels: no scaling of coordinates at high dpi.
  SetProcessDPIAware();
  const std::string cmd = argv[1];
  if (cmd == "lvclick" && argc >= 4)
    return lvclick(parse_hwnd(argv[2]), std::atoi(argv[3]), argc > 4 ? argv[4] : nullptr);
  if (cmd == "link" && argc >= 3) return read_link(argv[2]);
  if (cmd == "cbselect" && argc >= 4) return cbselect(parse_hwnd(argv[2]), argv[3]);
  if (cmd == "workarea") return workarea();
  if (cmd == "holdhotkey" && argc >= 5)
    return hold_hotkey(static_cast<unsigned>(std::strtoul(argv[2], nullptr, 0)),
                       static_cast<unsigned>(std::strtoul(argv[3], nullptr, 0)), argv[4]);
  if (cmd == "addprinter" && argc >= 5) return add_printer(argv[2], argv[3], argv[4]);
  std::fprintf(stderr, "kvmgr: bad command\n");
  return 2;
}
