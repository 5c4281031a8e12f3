#include "store/integer.h"

#include <string>

#include "platform/error.h"

namespace kv {

std::optional<std::int32_t> parse_integer(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return std::nullopt;
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + digit;
    if (hex ? value > 0xFFFFFFFFull : value > 0x80000000ull) return std::nullopt;
  }
  if (!hex && !negative && value > 0x7FFFFFFFull) return std::nullopt;
  const auto bits = static_cast<std::uint32_t>(value);
  const auto magnitude = static_cast<std::int64_t>(static_cast<std::int32_t>(bits));
  if (!hex) {
    const auto v = static_cast<std::int64_t>(value);
    return static_cast<std::int32_t>(negative ? -v : v);
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t str_to_int(std::string_view text) {
  if (auto v = parse_integer(text)) return *v;
  throw Error(format_message("'%s' is not a valid integer value", std::string(text)));
}

}  // namespace kv
