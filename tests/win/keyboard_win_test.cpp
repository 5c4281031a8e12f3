// The Win32 side of the sender: the outside key library is taken only from the program folder,
// by its full path, and a library without the export is not used; SendInput reports its count.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/keyboard_win.h"

namespace {

std::string exe_dir() {
  char p[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, p, MAX_PATH);
  std::string s(p);
  return s.substr(0, s.find_last_of('\\') + 1);
}

// A fresh folder under the temporary folder, ending in a backslash.
std::string fresh_dir(const char* name) {
  char t[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, t);
  const std::string d = std::string(t) + name + "\\";
  const std::string lib = d + kv::kKeyLibraryName;
  DeleteFileA(lib.c_str());
  CreateDirectoryA(d.c_str(), nullptr);
  return d;
}

void copy_lib(const char* built, const std::string& to_dir) {
  ASSERT_TRUE(CopyFileA((exe_dir() + built).c_str(), (to_dir + kv::kKeyLibraryName).c_str(), FALSE))
      << "missing " << built;
}

}  // namespace

TEST(Win32KeyLibrary, LoadsOnlyFromTheProgramFolderAndPassesCountedText) {
  const std::string prog = fresh_dir("kvkeylib_prog");
  const std::string elsewhere = fresh_dir("kvkeylib_elsewhere");
  // A library in the current folder and on the PATH is never picked up.
  copy_lib("kvkeylib_with_export.dll", elsewhere);
  char old_cwd[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, old_cwd);
  SetCurrentDirectoryA(elsewhere.c_str());
  kv::win::Win32KeyLibrary lib(prog);
  EXPECT_FALSE(lib.load());
  EXPECT_FALSE(lib.loaded());
  EXPECT_EQ(GetModuleHandleA(kv::kKeyLibraryName), nullptr);
  SetCurrentDirectoryA(old_cwd);

  copy_lib("kvkeylib_with_export.dll", prog);
  ASSERT_TRUE(lib.load());
  const kv::KeyLibrary::Entry entry = lib.entry();
  ASSERT_TRUE(static_cast<bool>(entry));
  EXPECT_EQ(entry(std::string("\x02hi", 3)), 2000 + 'h');
  EXPECT_EQ(entry(std::string(1, '\0')), 0);
  lib.unload();
  EXPECT_FALSE(lib.loaded());
}

TEST(Win32KeyLibrary, WithoutTheExportTheSenderTypesItself) {
  const std::string prog = fresh_dir("kvkeylib_noexport");
  copy_lib("kvkeylib_no_export.dll", prog);
  kv::win::Win32KeyLibrary lib(prog);
  ASSERT_TRUE(lib.load());
  EXPECT_FALSE(static_cast<bool>(lib.entry()));
  lib.unload();
  // A relative folder is no full path: refused.
  kv::win::Win32KeyLibrary relative("kvkeylib_noexport\\");
  EXPECT_FALSE(relative.load());
}

TEST(Win32Keyboard, LayoutAnswersAndEmptyBatch) {
  kv::win::Win32Keyboard kb;
  EXPECT_EQ(kb.vk_key_scan('a') & 0xFF, 'A');
  EXPECT_EQ(kb.vk_key_scan('A') >> 8, 1);
  EXPECT_EQ(kb.vk_key_scan('a'), kb.vk_key_scan('a'));  // cached answer is the same
  EXPECT_NE(kb.map_virtual_key('A'), 0);
  EXPECT_EQ(kb.send({}), 0u);
}

namespace {
std::atomic<int> g_downs{0};

LRESULT CALLBACK counting_proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_KEYDOWN && wp == 'A') ++g_downs;
  return DefWindowProcA(w, m, wp, lp);
}

// A window on a thread of its own that takes each message slowly, as a busy program does.
struct SlowTarget {
  std::atomic<HWND> hwnd{nullptr};
  std::atomic<DWORD> tid{0};
  std::thread thread;
  SlowTarget() {
    thread = std::thread([this] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = counting_proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "KvDeliveryProbe";
      RegisterClassA(&wc);
      HWND w = CreateWindowExA(0, "KvDeliveryProbe", "Delivery probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                               nullptr, nullptr, wc.hInstance, nullptr);
      tid = GetCurrentThreadId();
      hwnd = w;
      MSG m;
      while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        if (m.message == WM_KEYDOWN) Sleep(15);
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
      DestroyWindow(w);
    });
    while (!hwnd) Sleep(5);
  }
  ~SlowTarget() {
    PostThreadMessageA(tid, WM_QUIT, 0, 0);
    thread.join();
  }
};
}  // namespace

TEST(Win32Keyboard, TheDeliveryWaitEndsOnlyOnceTheTargetThreadHasTakenTheKeys) {
  SlowTarget target;
  const HWND w = target.hwnd;
  SetForegroundWindow(w);
  for (int i = 0; i < 200 && GetForegroundWindow() != w; ++i) Sleep(20);
  ASSERT_EQ(GetForegroundWindow(), w) << "the probe window did not get the foreground";
  for (int i = 0; i < 200; ++i) {
    GUITHREADINFO gi{};
    gi.cbSize = sizeof gi;
    if (GetGUIThreadInfo(target.tid, &gi) && gi.hwndFocus == w) break;
    Sleep(20);
  }

  kv::win::Win32Keyboard kb;
  std::vector<kv::KeyInput> batch;
  for (int i = 0; i < 10; ++i) {
    kv::KeyInput down;
    down.vk = 'A';
    down.scan = kb.map_virtual_key('A');
    kv::KeyInput up = down;
    up.up = true;
    batch.push_back(down);
    batch.push_back(up);
  }
  ASSERT_EQ(kb.send(batch), batch.size());
  // Ten presses at 15 ms each are still in the target's queue when send returns.
  EXPECT_LT(g_downs.load(), 10);
  ASSERT_TRUE(kb.wait_until_delivered_within(5000)) << "the wait could not tell";
  EXPECT_EQ(g_downs.load(), 10) << "the wait ended before the target had taken every key";
  // Again: each wait has a marker of its own.
  ASSERT_EQ(kb.send(batch), batch.size());
  ASSERT_TRUE(kb.wait_until_delivered_within(5000));
  EXPECT_EQ(g_downs.load(), 20);
}
