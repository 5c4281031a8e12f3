#include "platform/keyboard.h"

namespace kv {

bool is_extended_key(std::uint8_t vk) {
  switch (vk) {
    case 0x03:  // Break
    case 0x21:
    case 0x22:
    case 0x23:
    case 0x24:  // Page Up, Page Down, End, Home
    case 0x25:
    case 0x26:
    case 0x27:
    case 0x28:  // arrows
    case 0x2C:
    case 0x2D:
    case 0x2E:  // Print Screen, Insert, Delete
    case 0x5B:
    case 0x5C:
    case 0x5D:  // Windows keys, Applications
    case 0x6F:  // numeric keypad divide
    case 0x90:  // Num Lock
    case 0xA3:
    case 0xA5:  // right Ctrl, right Alt
      return true;
    default:
      // Browser, volume and media keys.
      return vk >= 0xA6 && vk <= 0xB7;
  }
}

}  // namespace kv
