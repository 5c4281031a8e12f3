// The integrity query answers for our own process and window and for another program's
// process and window (under Wine every process may report the same level).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/adapters.h"
#include "platform/win32/integrity_win.h"

namespace {

bool plausible(std::uint32_t level) {
  return level <= kv::kIntegritySystem + 0x1000;
}

struct WindowOf {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK find_window_of(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<WindowOf*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || !IsWindowVisible(w)) return TRUE;
  s->found = w;
  return FALSE;
}

}  // namespace

TEST(Win32Integrity, AnswersForOurOwnProcessAndWindow) {
  kv::win::Win32Integrity integrity;
  const auto own = kv::win::Win32Integrity::process_level(GetCurrentProcessId());
  ASSERT_TRUE(own.has_value());
  EXPECT_TRUE(plausible(*own)) << std::hex << *own;
  EXPECT_EQ(integrity.own_level(), *own);
  const HWND w = CreateWindowExA(0, "STATIC", "Integrity probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(integrity.window_level(kv::win::from_hwnd(w)), own);
  DestroyWindow(w);
  // No window, no level.
  EXPECT_FALSE(integrity.window_level(0).has_value());
  (void)integrity.own_ui_access();  // answers without failing; false for an ordinary program
}

TEST(Win32Integrity, AnswersForAnotherProgramsProcessAndWindow) {
  char windir[MAX_PATH] = {};
  GetWindowsDirectoryA(windir, MAX_PATH);
  std::string cmd = std::string("\"") + windir + "\\notepad.exe\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNOACTIVATE;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) << cmd;
  CloseHandle(pi.hThread);
  ASSERT_NE(pi.dwProcessId, GetCurrentProcessId());
  kv::win::Win32Integrity integrity;
  const auto level = kv::win::Win32Integrity::process_level(pi.dwProcessId);
  EXPECT_TRUE(level.has_value());
  EXPECT_TRUE(level && plausible(*level)) << std::hex << level.value_or(0);
  // Its window, once it has one.
  WindowOf s{pi.dwProcessId, nullptr};
  WaitForInputIdle(pi.hProcess, 20000);
  for (int i = 0; i < 200 && !s.found; ++i) {
    EnumWindows(find_window_of, reinterpret_cast<LPARAM>(&s));
    if (!s.found) Sleep(50);
  }
  EXPECT_NE(s.found, nullptr) << "notepad showed no window";
  EXPECT_EQ(integrity.window_level(kv::win::from_hwnd(s.found)), level);
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hProcess);
}
