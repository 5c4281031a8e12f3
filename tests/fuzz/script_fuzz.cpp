// Fuzzes script text through the player, with other macros to run, windows to find and a
// prompt: no crash or sanitizer report; afterwards no key is down, TokensOnly is off and the
// delay timer is stopped, whether the script ended normally or by an error.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/error.h"
#include "tests/fakes/typing_rig.h"

namespace {

// Counts of up to four digits keep every wait and repeat within a fuzzing run's time (a
// five-digit minute count is a legitimate wait of days).
bool has_long_number(const std::string& s) {
  int run = 0;
  for (char c : s) {
    const bool digitish =
        (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == 'x' || c == 'X' || c == '$';
    run = digitish ? run + 1 : 0;
    if (run > 4) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  if (has_long_number(script)) return 0;
  kv::fake::TypingRig r;
  r.macro("A", "a<<ENTER>>");
  r.macro("B", "<<SECS1>>b<<RUN:A>>");
  r.macro("Loop", "l<<RUN:Loop>>");
  r.files.files[r.files.dir + "X.key"] = script;
  r.profile.write_string("Macro4", "Name", "X");
  r.profile.write_string("Macro4", "Type", "4");
  r.profile.write_string("Macro4", "FileName", "X.key");
  r.profile.write_string("Main", "Entries", "4");
  r.windows.add("Target");
  r.prompt.answers = {"^v@", "{x", ""};
  try {
    r.runner.ProcessHotKey(4);
  } catch (const kv::Error&) {
  }
  if (!r.kb.keys_left_down().empty()) __builtin_trap();
  if (r.sender.TokensOnly()) __builtin_trap();
  if (r.tmr1.running()) __builtin_trap();
  for (const kv::KeyInput& e : r.kb.events)
    if (!e.unicode && e.vk == 0xFF) __builtin_trap();
  return 0;
}
