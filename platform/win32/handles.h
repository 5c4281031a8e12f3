// Win32 handle owners: windows, hooks, icons, menus, GDI objects, atoms, files, modules, COM.
#pragma once
#include <windows.h>
#include <objbase.h>

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
struct DcTraits {
  using Handle = HDC;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { DeleteDC(h); }
};

using OwnedWindow = Owned<WindowTraits>;
using OwnedHook = Owned<HookTraits>;
using OwnedIcon = Owned<IconTraits>;
using OwnedMenu = Owned<MenuTraits>;
using OwnedGdi = Owned<GdiTraits>;
using OwnedFont = Owned<FontTraits>;
using OwnedAtom = Owned<AtomTraits>;
using OwnedFile = Owned<FileTraits>;
using OwnedKernelHandle = Owned<KernelTraits>;
using OwnedModule = Owned<ModuleTraits>;
using OwnedDc = Owned<DcTraits>;

// A COM interface pointer, released once.
template <typename I>
struct ComTraits {
  using Handle = I*;
  static Handle empty() { return nullptr; }
  static void close(Handle h) { h->Release(); }
};
template <typename I>
using ComPtr = Owned<ComTraits<I>>;

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
