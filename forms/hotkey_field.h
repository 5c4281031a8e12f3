// The hotkey field's value for a stored TShortCut.
#pragma once
#include <cstdint>

#include "store/shortcut.h"

namespace kv {

// Flags Shift 1, Ctrl 2, Alt 4 and extended 8 in the high byte, the key in the low byte. Keys of
// the navigation cluster, numeric-pad Divide and Num Lock come from the keyboard with an extended
// scan code; without the flag the field names their numeric-pad twins ("Num 4" for Left).
inline std::uint16_t hotkey_edit_from_shortcut(ShortCut value) {
  const unsigned vk = value & 0xFFu;
  const bool extended =
      (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E || (vk >= 0x5B && vk <= 0x5D) || vk == 0x6F || vk == 0x90;
  return static_cast<std::uint16_t>(((((value >> 13) & 7u) | (extended ? 8u : 0u)) << 8) | vk);
}

}  // namespace kv
