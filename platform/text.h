// The few text rules every part shares: ASCII-only upper-casing and the two trims.
#pragma once
#include <string>
#include <string_view>

namespace kv {

// Letters a to z upper-cased; every other character unchanged.
std::string ascii_upper(std::string_view text);
// Leading and trailing characters with codes up to 32 removed.
std::string trim_controls(std::string_view text);
// Trailing blanks removed, as names are stored.
std::string trim_right_blanks(std::string_view text);

}  // namespace kv
