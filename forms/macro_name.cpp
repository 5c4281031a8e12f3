#include "forms/macro_name.h"

#include <algorithm>

#include "platform/text.h"

namespace kv {

namespace {

bool is_reserved_device(std::string_view name) {
  // A device name stays the device with any extension behind it.
  const std::string stem = ascii_upper(name.substr(0, name.find('.')));
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

bool usable_as_file_name(std::string_view name) {
  if (name.empty() || name.front() == ' ' || name.back() == '.') return false;
  const bool bad_char = std::any_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
  });
  if (bad_char || is_reserved_device(name)) return false;
  // The temporary take of the properties dialog, ~temp.dat, is no macro's.
  return ascii_upper(name) != "~TEMP";
}

std::optional<std::string> macro_name_problem(const NameInput& name, const std::vector<std::string>& existing,
                                              const UpperCaseFn& upper) {
  if (!name.fits) return kNameOutsideCodePage;
  const std::string stored = trim_right_blanks(name.text);
  const std::string key = upper(stored);
  for (const std::string& other : existing)
    if (upper(trim_right_blanks(other)) == key) return kNameTaken;
  if (stored.empty()) return kNameEmpty;
  if (!usable_as_file_name(stored)) return kNameNotAFileName;
  return std::nullopt;
}

}  // namespace kv
