// The manager window's about box: caption "About Keyvane", product line "Keyvane 3.3d".
#pragma once

namespace kv::win {

// Shown modally; returns when it is closed.
void show_about_box();

}  // namespace kv::win
