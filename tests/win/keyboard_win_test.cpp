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

// A window on a thread of its own that counts the key messages it takes, and can be kept busy.
struct Probe {
  static constexpr UINT kBusy = WM_APP + 1;  // wParam: milliseconds to stay busy
  std::atomic<int> key_downs{0}, chars{0}, markers{0};
  std::atomic<HWND> hwnd{nullptr};
  std::atomic<DWORD> tid{0};
  std::thread thread;

  static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Probe*>(GetWindowLongPtrA(w, GWLP_USERDATA));
    if (self && m == WM_KEYDOWN && wp == 'A') ++self->key_downs;
    if (self && m == WM_KEYDOWN && wp == kv::win::kDeliveryMarkerVk) ++self->markers;
    if (self && m == WM_CHAR) ++self->chars;
    if (m == kBusy) Sleep(static_cast<DWORD>(wp));
    return DefWindowProcA(w, m, wp, lp);
  }
  Probe() {
    thread = std::thread([this] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "KvDeliveryProbe";
      RegisterClassA(&wc);
      const HWND w = CreateWindowExA(0, "KvDeliveryProbe", "Delivery probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                     200, 100, nullptr, nullptr, wc.hInstance, nullptr);
      SetWindowLongPtrA(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      SetForegroundWindow(w);
      SetFocus(w);
      tid = GetCurrentThreadId();
      hwnd = w;
      MSG m;
      while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
    });
  }
  ~Probe() {
    for (int i = 0; i < 500 && !tid; ++i) Sleep(10);
    PostThreadMessageA(tid, WM_QUIT, 0, 0);
    thread.join();
  }
};

std::vector<kv::KeyInput> presses_of_a(kv::win::Win32Keyboard& kb, int n) {
  std::vector<kv::KeyInput> batch;
  for (int i = 0; i < n; ++i) {
    kv::KeyInput down;
    down.vk = 'A';
    down.scan = kb.map_virtual_key('A');
    kv::KeyInput up = down;
    up.up = true;
    batch.push_back(down);
    batch.push_back(up);
  }
  return batch;
}

}  // namespace

TEST(Win32Keyboard, TheDeliveryWaitEndsOnceTheForegroundThreadHasTakenTheKeys) {
  Probe probe;
  for (int i = 0; i < 500 && (!probe.hwnd || GetForegroundWindow() != probe.hwnd); ++i) Sleep(10);
  ASSERT_EQ(GetForegroundWindow(), probe.hwnd.load()) << "the probe window did not get the foreground";
  kv::win::Win32Keyboard kb;
  kv::win::DeliveryWatch watch;
  // The probe's thread is busy when the keys arrive: they wait in its queue.
  PostMessageA(probe.hwnd, Probe::kBusy, 300, 0);
  const auto batch = presses_of_a(kb, 10);
  ASSERT_EQ(kb.send(batch), batch.size());
  const ULONGLONG t0 = GetTickCount64();
  ASSERT_TRUE(watch.wait(5000)) << "the marker was never taken";
  // Without waiting any further: every key has been taken and handled, the marker typed nothing.
  EXPECT_EQ(probe.key_downs, 10);
  EXPECT_EQ(probe.chars, 10);
  EXPECT_EQ(probe.markers, 1);
  EXPECT_GE(GetTickCount64() - t0, 200u) << "the wait did not wait for the busy thread";
  // Again, with nothing sent before it; and the adapter's own wait.
  EXPECT_TRUE(watch.wait(5000));
  ASSERT_EQ(kb.send(presses_of_a(kb, 3)), 6u);
  kb.wait_until_delivered();
  EXPECT_EQ(probe.key_downs, 13);
}

TEST(Win32Keyboard, NoDeliveryWaitForKeysToOurOwnThread) {
  const HWND w = CreateWindowExA(0, "STATIC", "Own", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(w);
  for (int i = 0; i < 200 && GetForegroundWindow() != w; ++i) Sleep(10);
  ASSERT_EQ(GetForegroundWindow(), w);
  const ULONGLONG t0 = GetTickCount64();
  EXPECT_FALSE(kv::win::DeliveryWatch().wait(2000));
  EXPECT_LT(GetTickCount64() - t0, 500u);
  DestroyWindow(w);
}
