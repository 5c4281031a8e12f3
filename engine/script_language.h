// The advanced-macro script language: its tokens, how key and modifier tokens become
// key-sequence text, and SendModifiedKey. The walk over a script lives in script_player.
#pragma once
#include <string_view>

#include "platform/ports.h"
#include "sendkey/send_key.h"

namespace kv {

// Letters a to z of the text's front compared upper-cased with an upper-case spelling.
bool starts_with_token(std::string_view text, std::string_view spelling);

struct ModifierToken {
  std::string_view spelling;
  int code;
  std::string_view prefix;  // in key-sequence text
};
// "<<CTRL>>" 1 "^", "<<ALT>>" 2 "@", "<<SHIFT>>" 3 "~", "<<CTRL+ALT>>" 4 "^@",
// "<<CTRL+SHIFT>>" 5 "^~", "<<SHIFT+ALT>>" 6 "~@".
const ModifierToken* match_modifier_token(std::string_view text);
// The prefix of a modifier code; empty for an unknown code.
std::string_view modifier_prefix(int code);

struct KeyToken {
  std::string_view spelling;
  std::string_view sent;  // "{ENTER}" ...
  bool takes_modifier;    // all but "<<PRINTSCREEN>>"
};
const KeyToken* match_key_token(std::string_view text);

struct DateToken {
  std::string_view spelling;
  DateTimeFormat format;
};
const DateToken* match_date_token(std::string_view text);

// Text that follows a modifier token and begins with "<<": a key token that accepts a modifier
// is sent with the modifier's prefix ("^{F1}") and removed; anything else loses the modifier
// and only its "<<". Returns the rest.
std::string_view SendModifiedKey(TSendKey& sender, std::string_view text, int code);

}  // namespace kv
