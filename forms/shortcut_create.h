// The link file that runs one macro in a fresh instance: Shortcut_Create of the list window and
// the wizard's last step.
#pragma once
#include <string>

#include "components/shell_link.h"
#include "store/macro_store.h"

namespace kv {

// Shortcut_Create: the link for macro `number` in the folder `where`, starting Keyvane.exe in
// the program folder (ending in a backslash) with /Open:"name" /Close.
void create_macro_shortcut(MacroStore& store, TPBShellLink& link, TShellFolder where, int number,
                           const std::string& program_dir);

}  // namespace kv
