// Typed access to macros.ini over the private-profile service; nothing is cached, every call
// goes to the file.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ports.h"

namespace kv {

class MacroStore {
 public:
  explicit MacroStore(ProfileStore& profile) : profile_(profile) {}

  std::string read_string(std::string_view section, std::string_view key, std::string_view def = {});
  // Decimal, or hexadecimal with a 0x prefix; anything else reads as the default.
  std::int32_t read_integer(std::string_view section, std::string_view key, std::int32_t def);
  bool read_bool(std::string_view section, std::string_view key, bool def);

  // A refused write or erase raises "Unable to write to %s".
  void write_string(std::string_view section, std::string_view key, std::string_view value);
  void write_integer(std::string_view section, std::string_view key, std::int32_t value);
  void write_bool(std::string_view section, std::string_view key, bool value);
  void erase_section(std::string_view section);

  // Entries of Main: the number of macros.
  int entries();

  ProfileStore& profile() { return profile_; }

 private:
  [[noreturn]] void write_refused();
  ProfileStore& profile_;
};

// Section of macro n: "Macro" followed by n in decimal.
std::string macro_section(int n);

// Names and settings of the Main section and the per-macro keys (read and written through
// store/macro.h).
namespace keys {
inline constexpr std::string_view kMain = "Main";
inline constexpr std::string_view kEntries = "Entries";
inline constexpr std::string_view kFirstRun = "FirstRun";
inline constexpr std::string_view kShowHints = "Show Hints";
inline constexpr std::string_view kWaitForSeparator = "WaitForSeparator";
inline constexpr std::string_view kName = "Name";
inline constexpr std::string_view kType = "Type";
inline constexpr std::string_view kHotKey = "HotKey";
inline constexpr std::string_view kFileName = "FileName";
inline constexpr std::string_view kTrigger = "Trigger";
inline constexpr std::string_view kSpeed = "Speed";
inline constexpr std::string_view kTriggerRan = "TriggerRan";
inline constexpr std::string_view kFoundHandle = "FoundHandle";
}  // namespace keys

// Companion files carry the name without trailing blanks, never the number.
std::string script_file_name(std::string_view macro_name);     // name + ".key"
std::string recording_file_name(std::string_view macro_name);  // name + ".dat"

// Deleting macro n (the list window removes its row between the two steps):
// first the companion files in the program folder, whatever the macro's kind...
void delete_companion_files(FileSystem& files, std::string_view macro_name);
// ...then the later macros move down by one (all eight keys), the last section is erased and
// Entries is lowered.
void renumber_after_delete(MacroStore& store, int n);

// Start-up: every macro's FoundHandle is emptied (the key stays, with an empty value).
void reset_found_handles(MacroStore& store);

}  // namespace kv
