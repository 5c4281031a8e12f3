// The rules a new macro's name must meet: unique among the macros as the file system compares
// names, and usable as the name of its companion files. Shared by the authoring forms.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr const char* kNameEmpty = "Please type a name for this macro.";
inline constexpr const char* kNameTaken = "You have selected a name of an existing macro, please select another.";
inline constexpr const char* kNameNotAFileName =
    "A macro's name is also the name of its files, so it cannot contain any of the characters "
    "\\ / : * ? \" < > | or a control character, cannot begin with a blank or end with a dot, and "
    "cannot be a name Windows reserves (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9) or ~temp.  "
    "Please type another name.";
inline constexpr const char* kNameOutsideCodePage =
    "This name contains characters that Keyvane cannot store.  Please use only the letters and signs "
    "of your system's language.";

// Upper-cases single-byte text in the system's code page as the platform does for file names.
using UpperCaseFn = std::function<std::string(std::string_view text)>;

// The name field as the form read it: `text` in the system's code page, `fits` false when the
// field held characters the code page has no place for.
struct NameInput {
  std::string text;
  bool fits = true;
};

// The first rule the name breaks, as the message of its error box, in the order: outside the
// code page, the name of an existing macro (trailing blanks ignored, case compared by `upper`),
// empty or blanks only, not a file name. Nothing when the name may be used.
std::optional<std::string> macro_name_problem(const NameInput& name, const std::vector<std::string>& existing,
                                              const UpperCaseFn& upper);

// True when `name` (its trailing blanks already gone) can name a file of its own in the
// program folder.
bool usable_as_file_name(std::string_view name);

}  // namespace kv
