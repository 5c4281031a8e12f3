// The file-open dialog of the authoring forms, shared by the wizard's Browse and the script
// editor's "Start an Application or Document".
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace kv::win {

// "All Files (*.*)|*.*|Executables (*.exe)|*.exe|..." as description and pattern pairs.
inline constexpr const char* kOpenFileFilter =
    "All Files (*.*)|*.*|Executables (*.exe)|*.exe|Batch Files (*.bat)|*.bat|PIF Files (*.pif)|*.pif|"
    "Com Files (*.com)|*.com";

// Shows the dialog owned by `owner`, first filter entry selected. Returns the chosen file's full
// path, or nothing when the user cancelled.
std::optional<std::string> choose_file(HWND owner);

}  // namespace kv::win
