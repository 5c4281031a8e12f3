// Win32 handle owners: windows, hooks, icons, menus, GDI objects, device contexts, image lists,
// registry keys, global and COM memory, atoms, files, modules, COM pointers; and the two scoped
// guards that do not fit one handle: a window's device context and an object selected into one.
#pragma once
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <objbase.h>

#include <utility>

#include "platform/owned.h"

namespace kv::win {

struct WindowTraits {
  using Handle = HWND;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DestroyWindow(h); }
};
struct HookTraits {
  using Handle = HHOOK;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { UnhookWindowsHookEx(h); }
};
struct WinEventHookTraits {
  using Handle = HWINEVENTHOOK;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { UnhookWinEvent(h); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DestroyIcon(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DestroyMenu(h); }
};
struct GdiTraits {
  using Handle = HGDIOBJ;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};
struct FontTraits {
  using Handle = HFONT;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};
// A device context of CreateCompatibleDC, or the one the print dialog hands out.
struct DcTraits {
  using Handle = HDC;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DeleteDC(h); }
};
struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { ImageList_Destroy(h); }
};
struct RegKeyTraits {
  using Handle = HKEY;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { RegCloseKey(h); }
};
struct GlobalTraits {
  using Handle = HGLOBAL;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { GlobalFree(h); }
};
// Memory the shell hands out for the caller to free (a known folder's path).
struct CoTaskMemTraits {
  using Handle = void*;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { CoTaskMemFree(h); }
};
struct AtomTraits {
  using Handle = ATOM;
  static Handle empty() { return 0; }
  static void close(Handle h) { GlobalDeleteAtom(h); }
};
struct FileTraits {
  using Handle = HANDLE;
  static Handle empty() { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};
struct KernelTraits {
  using Handle = HANDLE;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { CloseHandle(h); }
};
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { FreeLibrary(h); }
};

using OwnedWindow = Owned<WindowTraits>;
using OwnedHook = Owned<HookTraits>;
using OwnedWinEventHook = Owned<WinEventHookTraits>;
using OwnedIcon = Owned<IconTraits>;
using OwnedMenu = Owned<MenuTraits>;
using OwnedGdi = Owned<GdiTraits>;
using OwnedFont = Owned<FontTraits>;
using OwnedDc = Owned<DcTraits>;
using OwnedImageList = Owned<ImageListTraits>;
using OwnedRegKey = Owned<RegKeyTraits>;
using OwnedGlobal = Owned<GlobalTraits>;
using OwnedCoTaskMem = Owned<CoTaskMemTraits>;
using OwnedAtom = Owned<AtomTraits>;
using OwnedFile = Owned<FileTraits>;
using OwnedKernelHandle = Owned<KernelTraits>;
using OwnedModule = Owned<ModuleTraits>;

// A COM interface pointer, released once.
template <typename I>
struct ComTraits {
  using Handle = I*;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { h->Release(); }
};
template <typename I>
using ComPtr = Owned<ComTraits<I>>;

// GetDC with its ReleaseDC: the device context of a window (of the screen for none), given back
// to that window once. A move hands it over.
class WindowDc {
 public:
  explicit WindowDc(HWND window = nullptr) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() { reset(); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc(WindowDc&& other) noexcept : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      reset();
      window_ = other.window_;
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  void reset() {
    if (HDC dc = std::exchange(dc_, nullptr)) ReleaseDC(window_, dc);
  }
  HWND window_;
  HDC dc_;
};

// SelectObject for a scope: the object selected before is put back when the scope ends.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() {
    if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// COM for the calling thread, initialised for the lifetime of the object.
class ComScope {
 public:
  ComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComScope() {
    if (ok_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool ok_;
};

}  // namespace kv::win
