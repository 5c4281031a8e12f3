// The Win32 handle owners on real handles: each releases its handle once, when it ends, with the
// right function; a move hands the handle over and the moved-from owner releases nothing; the
// device-context guards give back what they took.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/list_images_win.h"
#include "platform/win32/handles.h"

using namespace kv::win;

namespace {

// An owner's whole contract for a handle that can be probed without releasing it.
template <typename O, typename Make, typename Alive>
void check_owner(Make make, Alive alive) {
  const auto h = make();
  ASSERT_TRUE(alive(h));
  { O owner(h); }
  EXPECT_FALSE(alive(h)) << "not released when its owner ended";

  const auto moved = make();
  ASSERT_TRUE(alive(moved));
  {
    O to;
    {
      O from(moved);
      to = std::move(from);
      EXPECT_FALSE(from);  // NOLINT(bugprone-use-after-move): the moved-from owner is empty
    }
    EXPECT_TRUE(alive(moved)) << "released by the owner it was moved away from";
    O again(std::move(to));
    EXPECT_EQ(again.get(), moved);
    EXPECT_TRUE(alive(moved));
  }
  EXPECT_FALSE(alive(moved)) << "not released by the owner it was moved to";

  const auto given_up = make();
  {
    O owner(given_up);
    EXPECT_EQ(owner.release(), given_up);
  }
  EXPECT_TRUE(alive(given_up)) << "released after release() gave it up";
  { O owner(given_up); }
}

LRESULT CALLBACK no_hook(int code, WPARAM wp, LPARAM lp) {
  return CallNextHookEx(nullptr, code, wp, lp);
}
void CALLBACK no_event(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {}

// Hooks can only be probed by unhooking them: unhooking succeeds only while a hook is set.
template <typename O, typename Make, typename Unhook>
void check_hook_owner(Make make, Unhook unhook) {
  const auto h = make();
  ASSERT_TRUE(h);
  { O owner(h); }
  EXPECT_FALSE(unhook(h)) << "still set after its owner ended";
  O to;
  {
    O from(make());
    ASSERT_TRUE(from);
    to = std::move(from);
  }
  EXPECT_TRUE(unhook(to.release())) << "removed by the owner it was moved away from";
}

// A COM object that counts its references.
class Counted : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  ULONG refs = 1;
};

HWND make_window() {
  return CreateWindowExA(0, "STATIC", "kv handles", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

std::string exe_dir() {
  char p[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, p, MAX_PATH);
  std::string s(p);
  return s.substr(0, s.find_last_of('\\') + 1);
}

}  // namespace

TEST(HandleOwners, WindowsMenusIconsAndGdiObjects) {
  check_owner<OwnedWindow>(make_window, [](HWND w) { return IsWindow(w) != FALSE; });
  check_owner<OwnedMenu>([] { return CreatePopupMenu(); }, [](HMENU m) { return IsMenu(m) != FALSE; });
  check_owner<OwnedIcon>([] { return CopyIcon(LoadIconA(nullptr, IDI_APPLICATION)); },
                         [](HICON i) {
                           ICONINFO info{};
                           if (!GetIconInfo(i, &info)) return false;
                           DeleteObject(info.hbmColor);
                           DeleteObject(info.hbmMask);
                           return true;
                         });
  check_owner<OwnedGdi>([] { return static_cast<HGDIOBJ>(CreateSolidBrush(RGB(1, 2, 3))); },
                        [](HGDIOBJ o) { return GetObjectType(o) == OBJ_BRUSH; });
  check_owner<OwnedFont>([] { return CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"); },
                         [](HFONT f) { return GetObjectType(f) == OBJ_FONT; });
  check_owner<OwnedDc>([] { return CreateCompatibleDC(nullptr); },
                       [](HDC dc) { return GetObjectType(dc) == OBJ_MEMDC; });
}

TEST(HandleOwners, ImageListsRegistryKeysMemoryAtomsAndKernelObjects) {
  // An image list is probed through the bitmap it keeps its images in.
  auto image_bitmap = [](HIMAGELIST list) {
    IMAGEINFO info{};
    return ImageList_GetImageInfo(list, 0, &info) ? info.hbmImage : nullptr;
  };
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
  OwnedGdi one(CreateBitmap(16, 16, 1, 32, nullptr));
  ASSERT_EQ(ImageList_Add(list, static_cast<HBITMAP>(one.get()), nullptr), 0);
  HBITMAP images = image_bitmap(list);
  ASSERT_EQ(GetObjectType(images), static_cast<DWORD>(OBJ_BITMAP));
  { OwnedImageList owner(list); }
  EXPECT_EQ(GetObjectType(images), 0u) << "the image list was not destroyed";

  const char* const test_key = "Software\\KeyvaneHandleTest";
  check_owner<OwnedRegKey>(
      [&] {
        HKEY k = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, test_key, 0, nullptr, 0, KEY_READ, nullptr, &k, nullptr);
        return k;
      },
      [](HKEY k) {
        DWORD subkeys = 0;
        return RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr) == ERROR_SUCCESS;
      });
  RegDeleteKeyA(HKEY_CURRENT_USER, test_key);

  check_owner<OwnedGlobal>([] { return GlobalAlloc(GMEM_MOVEABLE, 64); }, [](HGLOBAL g) { return GlobalSize(g) != 0; });
  check_owner<OwnedAtom>([] { return GlobalAddAtomA("KeyvaneHandleTestAtom"); },
                         [](ATOM a) {
                           char name[64] = {};
                           return GlobalGetAtomNameA(a, name, sizeof name) != 0;
                         });
  check_owner<OwnedKernelHandle>([] { return CreateEventA(nullptr, TRUE, FALSE, nullptr); },
                                 [](HANDLE h) {
                                   DWORD flags = 0;
                                   return GetHandleInformation(h, &flags) != FALSE;
                                 });
  const std::string library = exe_dir() + "kvkeylib_with_export.dll";
  check_owner<OwnedModule>([&] { return LoadLibraryA(library.c_str()); },
                           [](HMODULE) { return GetModuleHandleA("kvkeylib_with_export.dll") != nullptr; });
}

TEST(HandleOwners, HooksAndComPointers) {
  check_hook_owner<OwnedHook>([] { return SetWindowsHookExA(WH_GETMESSAGE, no_hook, nullptr, GetCurrentThreadId()); },
                              [](HHOOK h) { return UnhookWindowsHookEx(h) != FALSE; });
  check_hook_owner<OwnedWinEventHook>(
      [] {
        return SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, no_event, 0, 0,
                               WINEVENT_OUTOFCONTEXT);
      },
      [](HWINEVENTHOOK h) { return UnhookWinEvent(h) != FALSE; });

  Counted object;
  {
    ComPtr<IUnknown> to;
    {
      ComPtr<IUnknown> from(&object);
      to = std::move(from);
    }
    EXPECT_EQ(object.refs, 1u) << "released by the pointer it was moved away from";
  }
  EXPECT_EQ(object.refs, 0u) << "released other than once";
}

TEST(HandleOwners, AWindowsDeviceContextIsGivenBackOnceAndMovesWithItsOwner) {
  OwnedWindow window(make_window());
  HDC dc = nullptr;
  {
    const WindowDc taken(window.get());
    dc = taken.get();
    ASSERT_TRUE(dc);
  }
  // Giving back a device context that is no longer out fails.
  EXPECT_EQ(ReleaseDC(window.get(), dc), 0) << "not given back when the guard ended";
  {
    WindowDc to;
    {
      WindowDc from(window.get());
      dc = from.get();
      to = std::move(from);
      EXPECT_FALSE(from);  // NOLINT(bugprone-use-after-move): the moved-from guard is empty
    }
    EXPECT_EQ(to.get(), dc);
    EXPECT_NE(GetDeviceCaps(to.get(), LOGPIXELSY), 0);
  }
  EXPECT_EQ(ReleaseDC(window.get(), dc), 0) << "not given back by the guard it was moved to";
}

TEST(HandleOwners, TheSelectionGuardPutsTheOldObjectBackInOrder) {
  const OwnedDc dc(CreateCompatibleDC(nullptr));
  const OwnedGdi red(CreateSolidBrush(RGB(255, 0, 0)));
  const OwnedGdi blue(CreateSolidBrush(RGB(0, 0, 255)));
  HGDIOBJ const original = GetCurrentObject(dc.get(), OBJ_BRUSH);
  {
    const SelectedObject with_red(dc.get(), red.get());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), red.get());
    {
      const SelectedObject with_blue(dc.get(), blue.get());
      EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), blue.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), red.get());
    {
      // A selection that fails leaves the current object where it is.
      const SelectedObject failed(dc.get(), nullptr);
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), red.get());
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), original);
}

TEST(HandleOwners, TheMacroListImagesAreThreeOfTheAskedSizeWithTransparentCorners) {
  for (int size : {16, 32}) {
    const OwnedImageList images = make_macro_images(size);
    ASSERT_TRUE(images);
    EXPECT_EQ(ImageList_GetImageCount(images.get()), 3);
    int w = 0, h = 0;
    ASSERT_TRUE(ImageList_GetIconSize(images.get(), &w, &h));
    EXPECT_EQ(w, size);
    EXPECT_EQ(h, size);

    // The program window drawn on white: its corner lets the white through, its title bar is blue.
    const WindowDc screen;
    const OwnedDc dc(CreateCompatibleDC(screen.get()));
    const OwnedGdi canvas(CreateCompatibleBitmap(screen.get(), size, size));
    const SelectedObject with_canvas(dc.get(), canvas.get());
    RECT all{0, 0, size, size};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ASSERT_TRUE(ImageList_Draw(images.get(), 0, dc.get(), 0, 0, ILD_NORMAL));
    EXPECT_EQ(GetPixel(dc.get(), 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc.get(), size / 2, size * 3 / 16), RGB(30, 90, 200));
  }
}
