// Integer text as the store and the script's counts read it.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace kv {

// Leading blanks, an optional sign, then decimal digits, or hexadecimal after "$", "x" or "0x"
// (either case). Anything else, trailing characters included, is not an integer. Decimal values
// must fit 32 bits; hexadecimal ones may use all 32 bits and wrap.
std::optional<std::int32_t> parse_integer(std::string_view text);

// The standard text-to-integer conversion: raises "'%s' is not a valid integer value".
std::int32_t str_to_int(std::string_view text);

}  // namespace kv
