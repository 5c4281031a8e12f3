#include "engine/script_language.h"

#include <algorithm>
#include <array>
#include <string>

namespace kv {

namespace {

constexpr std::array<ModifierToken, 6> kModifiers{{
    {"<<CTRL>>", 1, "^"},
    {"<<ALT>>", 2, "@"},
    {"<<SHIFT>>", 3, "~"},
    {"<<CTRL+ALT>>", 4, "^@"},
    {"<<CTRL+SHIFT>>", 5, "^~"},
    {"<<SHIFT+ALT>>", 6, "~@"},
}};

constexpr std::array<KeyToken, 27> kKeys{{
    {"<<ENTER>>", "{ENTER}", true},    {"<<F1>>", "{F1}", true},
    {"<<F2>>", "{F2}", true},          {"<<F3>>", "{F3}", true},
    {"<<F4>>", "{F4}", true},          {"<<F5>>", "{F5}", true},
    {"<<F6>>", "{F6}", true},          {"<<F7>>", "{F7}", true},
    {"<<F8>>", "{F8}", true},          {"<<F9>>", "{F9}", true},
    {"<<F10>>", "{F10}", true},        {"<<F11>>", "{F11}", true},
    {"<<F12>>", "{F12}", true},        {"<<TAB>>", "{TAB}", true},
    {"<<BACKSPACE>>", "{BKSP}", true}, {"<<INSERT>>", "{INSERT}", true},
    {"<<DELETE>>", "{DELETE}", true},  {"<<HOME>>", "{HOME}", true},
    {"<<END>>", "{END}", true},        {"<<PAGEUP>>", "{PGUP}", true},
    {"<<PAGEDOWN>>", "{PGDN}", true},  {"<<PRINTSCREEN>>", "{PRTSC}", false},
    {"<<UP>>", "{UP}", true},          {"<<DOWN>>", "{DOWN}", true},
    {"<<LEFT>>", "{LEFT}", true},      {"<<RIGHT>>", "{RIGHT}", true},
    {"<<ESC>>", "{ESC}", true},
}};

constexpr std::array<DateToken, 4> kDates{{
    {"<<SHORTDATE>>", DateTimeFormat::ShortDate},
    {"<<LONGDATE>>", DateTimeFormat::LongDate},
    {"<<SHORTTIME>>", DateTimeFormat::ShortTime},
    {"<<LONGTIME>>", DateTimeFormat::LongTime},
}};

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool starts_with_token(std::string_view text, std::string_view spelling) {
  if (text.size() < spelling.size()) return false;
  for (std::size_t i = 0; i < spelling.size(); ++i)
    if (upper(text[i]) != spelling[i]) return false;
  return true;
}

const ModifierToken* match_modifier_token(std::string_view text) {
  for (const ModifierToken& m : kModifiers)
    if (starts_with_token(text, m.spelling)) return &m;
  return nullptr;
}

std::string_view modifier_prefix(int code) {
  for (const ModifierToken& m : kModifiers)
    if (m.code == code) return m.prefix;
  return {};
}

const KeyToken* match_key_token(std::string_view text) {
  for (const KeyToken& k : kKeys)
    if (starts_with_token(text, k.spelling)) return &k;
  return nullptr;
}

const DateToken* match_date_token(std::string_view text) {
  for (const DateToken& d : kDates)
    if (starts_with_token(text, d.spelling)) return &d;
  return nullptr;
}

std::string_view SendModifiedKey(TSendKey& sender, std::string_view text, int code) {
  const KeyToken* key = match_key_token(text);
  if (!key || !key->takes_modifier) return text.substr(std::min<std::size_t>(2, text.size()));
  sender.Send(std::string(modifier_prefix(code)) + std::string(key->sent));
  return text.substr(key->spelling.size());
}

}  // namespace kv
