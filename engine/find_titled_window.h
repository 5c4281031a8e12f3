// FindTitledWindow: the first top-level window whose title equals a wanted title, both in
// comparison form. Used by the window-title poll and by the script's wait for a window.
#pragma once
#include <string>
#include <string_view>

#include "platform/ports.h"

namespace kv {

// Titles are read with this limit; a longer title is cut before the comparison.
inline constexpr std::size_t kTitleReadLimit = 249;

// Letters a to z upper-cased, characters with codes up to 32 trimmed from both ends.
std::string title_comparison_form(std::string_view title);

// In enumeration order (topmost first), visible or not; 0 when no title is equal. Keeps no
// state beyond the call, so a poll running inside a script's wait does not disturb it.
WindowHandle FindTitledWindow(WindowSystem& windows, std::string_view wanted);

}  // namespace kv
