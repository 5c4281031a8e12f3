// The manager window's pictures: the three kind images of the macro list and the banner above
// it, both drawn at the window's dpi so that they stay sharp at any scaling.
#pragma once
#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/window_win.h"

namespace kv::win {

// A program window, a key cap and a mouse, `size` pixels square, in the order of the list's
// image numbers (kImageLaunch, kImageKeys, kImageMouse).
OwnedImageList make_macro_images(int size);

// The banner control of `form`: a blend from deep to light blue with "Keyvane" on the left and
// "Macro Manager" on the right.
void draw_banner(const DRAWITEMSTRUCT& d, const Window& form);

}  // namespace kv::win
