#include "store/macro_store.h"

#include "platform/error.h"
#include "platform/text.h"
#include "store/integer.h"
#include "store/macro.h"

namespace kv {

std::string MacroStore::read_string(std::string_view section, std::string_view key, std::string_view def) {
  return profile_.read_string(section, key, def);
}

std::int32_t MacroStore::read_integer(std::string_view section, std::string_view key, std::int32_t def) {
  const std::string text = profile_.read_string(section, key, "");
  return parse_integer(text).value_or(def);
}

bool MacroStore::read_bool(std::string_view section, std::string_view key, bool def) {
  return read_integer(section, key, def ? 1 : 0) != 0;
}

void MacroStore::write_refused() {
  throw Error(format_message("Unable to write to %s", profile_.file_name()));
}

void MacroStore::write_string(std::string_view section, std::string_view key, std::string_view value) {
  if (!profile_.write_string(section, key, value)) write_refused();
}

void MacroStore::write_integer(std::string_view section, std::string_view key, std::int32_t value) {
  write_string(section, key, std::to_string(value));
}

void MacroStore::write_bool(std::string_view section, std::string_view key, bool value) {
  write_string(section, key, value ? "1" : "0");
}

void MacroStore::erase_section(std::string_view section) {
  if (!profile_.erase_section(section)) write_refused();
}

int MacroStore::entries() {
  return read_integer(keys::kMain, keys::kEntries, 0);
}

std::string macro_section(int n) {
  return "Macro" + std::to_string(n);
}

std::string script_file_name(std::string_view macro_name) {
  return trim_right_blanks(macro_name) + ".key";
}
std::string recording_file_name(std::string_view macro_name) {
  return trim_right_blanks(macro_name) + ".dat";
}

void delete_companion_files(FileSystem& files, std::string_view macro_name) {
  const std::string dir = files.program_dir();
  // Failing deletions are of no consequence: the file may never have existed.
  files.delete_file(dir + script_file_name(macro_name));
  files.delete_file(dir + recording_file_name(macro_name));
}

void renumber_after_delete(MacroStore& store, int n) {
  const int e = store.entries();
  // A row that no longer names a stored macro (the file was changed behind the list's back)
  // must not erase somebody else's section.
  if (n < 1 || n > e) return;
  for (int c = n; c < e; ++c)
    write_macro(store, c, read_macro(store, c + 1, kAllMacroKeys, MacroDefaults::Deletion), kAllMacroKeys);
  store.erase_section(macro_section(e));
  store.write_integer(keys::kMain, keys::kEntries, e - 1);
}

void reset_found_handles(MacroStore& store) {
  const int e = store.entries();
  for (int n = 1; n <= e; ++n) write_macro(store, n, Macro{}, {MacroKey::FoundHandle});
}

}  // namespace kv
