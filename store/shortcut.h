// TShortCut: the 16-bit hotkey value (virtual key in bits 0-7, Shift 0x2000, Ctrl 0x4000,
// Alt 0x8000) and its display text.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace kv {

using ShortCut = std::uint16_t;

inline constexpr ShortCut kShiftBit = 0x2000;
inline constexpr ShortCut kCtrlBit = 0x4000;
inline constexpr ShortCut kAltBit = 0x8000;

// Readers keep only the low 16 bits of the stored integer.
inline ShortCut shortcut_from_stored(std::int32_t stored) {
  return static_cast<ShortCut>(stored & 0xFFFF);
}

// The hotkey-edit control's value: key in the low byte, flags (Shift 1, Ctrl 2, Alt 4,
// extended 8) in the high byte. The extended flag falls off the 16 bits.
inline ShortCut shortcut_from_hotkey_edit(std::uint16_t value) {
  return static_cast<ShortCut>(((value >> 8) << 13) + (value & 0xFF));
}

struct HotKeyParts {
  std::uint16_t key = 0;  // value AND 0x1FFF
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};
HotKeyParts split_shortcut(ShortCut value);

// The display text: "Shift+", "Ctrl+", "Alt+" as set, then the key's name; empty when the key
// has no name. platform_key_name gives the platform's name of a key outside the fixed list,
// which is used only when it is exactly one character long.
std::string shortcut_text(ShortCut value, const std::function<std::string(std::uint8_t vk)>& platform_key_name);

}  // namespace kv
