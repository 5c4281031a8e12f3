// The pictures of the wizard's left strip, drawn in code at the window's dpi so that they stay
// sharp at any scaling: one per group of pages and one for the script editor's edit mode.
#pragma once
#include <windows.h>

#include "forms/wizard.h"

namespace kv::win {

enum class WizardPicture { Start, Naming, Application, Keyboard, Mouse, Script, Finished, EditMode };

WizardPicture picture_for(WizardPage page);

// Fills `r` of `dc` with the picture.
void draw_wizard_picture(HDC dc, const RECT& r, WizardPicture picture, unsigned dpi);

}  // namespace kv::win
