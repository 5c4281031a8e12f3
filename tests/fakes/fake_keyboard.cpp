#include "tests/fakes/fake_keyboard.h"

#include <cstdio>
#include <cstring>

namespace kv::fake {

namespace {

struct Punct {
  char plain;
  char shifted;
  std::uint8_t vk;
};
constexpr Punct kPunct[] = {{'-', '_', 0xBD},  {'=', '+', 0xBB}, {'[', '{', 0xDB},  {']', '}', 0xDD},
                            {'\\', '|', 0xDC}, {';', ':', 0xBA}, {'\'', '"', 0xDE}, {',', '<', 0xBC},
                            {'.', '>', 0xBE},  {'/', '?', 0xBF}, {'`', '~', 0xC0}};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

}  // namespace

std::int16_t FakeKeyboard::vk_key_scan(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return static_cast<std::int16_t>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return static_cast<std::int16_t>(0x100 | c);
  if (c >= '0' && c <= '9') return static_cast<std::int16_t>(c);
  if (const char* p = std::strchr(kShiftedDigits, c); p && c)
    return static_cast<std::int16_t>(0x100 | ('0' + (p - kShiftedDigits)));
  for (const Punct& p : kPunct) {
    if (c == static_cast<unsigned char>(p.plain)) return p.vk;
    if (c == static_cast<unsigned char>(p.shifted)) return static_cast<std::int16_t>(0x100 | p.vk);
  }
  switch (c) {
    case ' ':
      return 0x20;
    case '\r':
      return 0x0D;
    case '\n':
      return 0x20D;  // Ctrl+Enter, as the platform reports it
    case '\t':
      return 0x09;
    case 0x08:
      return 0x08;
    case 0x1B:
      return 0x1B;
    default:
      break;
  }
  if (c >= 1 && c <= 26) return static_cast<std::int16_t>(0x200 | ('A' + c - 1));
  return -1;
}

std::uint16_t FakeKeyboard::map_virtual_key(std::uint8_t vk) {
  static const char* const kRow1 = "QWERTYUIOP";
  static const char* const kRow2 = "ASDFGHJKL";
  static const char* const kRow3 = "ZXCVBNM";
  if (vk >= 'A' && vk <= 'Z') {
    if (const char* p = std::strchr(kRow1, vk)) return static_cast<std::uint16_t>(0x10 + (p - kRow1));
    if (const char* p = std::strchr(kRow2, vk)) return static_cast<std::uint16_t>(0x1E + (p - kRow2));
    if (const char* p = std::strchr(kRow3, vk)) return static_cast<std::uint16_t>(0x2C + (p - kRow3));
  }
  if (vk >= '1' && vk <= '9') return static_cast<std::uint16_t>(0x02 + (vk - '1'));
  if (vk == '0') return 0x0B;
  if (vk >= 0x70 && vk <= 0x79) return static_cast<std::uint16_t>(0x3B + (vk - 0x70));
  switch (vk) {
    case 0x08:
      return 0x0E;
    case 0x09:
      return 0x0F;
    case 0x0D:
      return 0x1C;
    case 0x10:
      return 0x2A;
    case 0x11:
      return 0x1D;
    case 0x12:
      return 0x38;
    case 0x1B:
      return 0x01;
    case 0x20:
      return 0x39;
    case 0x21:
      return 0x49;
    case 0x22:
      return 0x51;
    case 0x23:
      return 0x4F;
    case 0x24:
      return 0x47;
    case 0x25:
      return 0x4B;
    case 0x26:
      return 0x48;
    case 0x27:
      return 0x4D;
    case 0x28:
      return 0x50;
    case 0x2C:
      return 0x54;
    case 0x2D:
      return 0x52;
    case 0x2E:
      return 0x53;
    case 0x7A:
      return 0x57;
    case 0x7B:
      return 0x58;
    case 0x90:
      return 0x45;
    case 0xBA:
      return 0x27;
    case 0xBB:
      return 0x0D;
    case 0xBC:
      return 0x33;
    case 0xBD:
      return 0x0C;
    case 0xBE:
      return 0x34;
    case 0xBF:
      return 0x35;
    case 0xC0:
      return 0x29;
    case 0xDB:
      return 0x1A;
    case 0xDC:
      return 0x2B;
    case 0xDD:
      return 0x1B;
    case 0xDE:
      return 0x28;
    default:
      return 0;
  }
}

std::uint16_t FakeKeyboard::to_utf16(char c) {
  // Windows-1252 for the upper half is enough for the tests.
  return static_cast<std::uint16_t>(static_cast<unsigned char>(c));
}

std::string FakeKeyboard::key_name(std::uint8_t vk) {
  for (const Punct& p : kPunct)
    if (p.vk == vk) return std::string(1, p.plain);
  switch (vk) {
    case 0x90:
      return "Num Lock";
    case 0x14:
      return "Caps Lock";
    case 0x6A:
      return "Num *";
    default:
      return {};
  }
}

std::size_t FakeKeyboard::send(const std::vector<KeyInput>& batch) {
  std::size_t n = batch.size();
  if (accept_next >= 0 && static_cast<std::size_t>(accept_next) < n) n = static_cast<std::size_t>(accept_next);
  accept_next = -1;
  batches.emplace_back(batch.begin(), batch.begin() + static_cast<std::ptrdiff_t>(n));
  events.insert(events.end(), batch.begin(), batch.begin() + static_cast<std::ptrdiff_t>(n));
  if (focus) in_flight.insert(in_flight.end(), batch.begin(), batch.begin() + static_cast<std::ptrdiff_t>(n));
  return n;
}

std::string vk_trace_name(std::uint8_t vk) {
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
  if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
  switch (vk) {
    case 0x08:
      return "BkSp";
    case 0x09:
      return "Tab";
    case 0x0D:
      return "Enter";
    case 0x10:
      return "Shift";
    case 0x11:
      return "Ctrl";
    case 0x12:
      return "Alt";
    case 0x1B:
      return "Esc";
    case 0x20:
      return "Space";
    case 0x21:
      return "PgUp";
    case 0x22:
      return "PgDn";
    case 0x23:
      return "End";
    case 0x24:
      return "Home";
    case 0x25:
      return "Left";
    case 0x26:
      return "Up";
    case 0x27:
      return "Right";
    case 0x28:
      return "Down";
    case 0x2C:
      return "PrtSc";
    case 0x2D:
      return "Ins";
    case 0x2E:
      return "Del";
    default:
      break;
  }
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X", vk);
  return buf;
}

std::string FakeKeyboard::trace() const {
  std::string out;
  for (const KeyInput& e : events) {
    if (!out.empty()) out += ' ';
    if (e.unicode) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%su:%x", e.up ? "-" : "+", e.unit);
      out += buf;
    } else {
      out += (e.up ? "-" : "+") + vk_trace_name(e.vk);
    }
  }
  return out;
}

std::set<std::uint8_t> FakeKeyboard::keys_left_down() const {
  std::set<std::uint8_t> down;
  for (const KeyInput& e : events) {
    if (e.unicode) continue;
    if (e.up)
      down.erase(e.vk);
    else
      down.insert(e.vk);
  }
  return down;
}

}  // namespace kv::fake
