#include "store/shortcut.h"

#include <array>

namespace kv {

HotKeyParts split_shortcut(ShortCut value) {
  HotKeyParts p;
  p.key = static_cast<std::uint16_t>(value & 0x1FFF);
  p.shift = (value & kShiftBit) != 0;
  p.ctrl = (value & kCtrlBit) != 0;
  p.alt = (value & kAltBit) != 0;
  return p;
}

namespace {

std::string key_name(std::uint8_t vk, const std::function<std::string(std::uint8_t)>& platform_key_name) {
  static constexpr std::array<const char*, 9> kNav = {"Space", "PgUp", "PgDn",  "End", "Home",
                                                      "Left",  "Up",   "Right", "Down"};
  switch (vk) {
    case 0x08:
      return "BkSp";
    case 0x09:
      return "Tab";
    case 0x0D:
      return "Enter";
    case 0x1B:
      return "Esc";
    case 0x2D:
      return "Ins";
    case 0x2E:
      return "Del";
    default:
      break;
  }
  if (vk >= 0x20 && vk <= 0x28) return kNav[vk - 0x20];
  if ((vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A)) return std::string(1, static_cast<char>(vk));
  if (vk >= 0x60 && vk <= 0x69) return std::string(1, static_cast<char>('0' + (vk - 0x60)));
  if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
  std::string name = platform_key_name ? platform_key_name(vk) : std::string();
  return name.size() == 1 ? name : std::string();
}

}  // namespace

std::string shortcut_text(ShortCut value, const std::function<std::string(std::uint8_t vk)>& platform_key_name) {
  if (value == 0) return {};
  const std::string name = key_name(static_cast<std::uint8_t>(value & 0xFF), platform_key_name);
  if (name.empty()) return {};
  std::string text;
  if (value & kShiftBit) text += "Shift+";
  if (value & kCtrlBit) text += "Ctrl+";
  if (value & kAltBit) text += "Alt+";
  return text + name;
}

}  // namespace kv
