#include "forms/shortcut_create.h"

namespace kv {

void create_macro_shortcut(MacroStore& store, TPBShellLink& link, TShellFolder where, int number,
                           const std::string& program_dir) {
  const std::string section = macro_section(number);
  auto name = [&] { return store.read_string(section, keys::kName, "Error"); };
  link.SetShellFolder(where);
  link.SetFileName(name() + ".lnk");
  link.Description = name();
  link.WorkingDir = program_dir;
  link.Target = program_dir + "Keyvane.exe";
  link.Arguments = " /Open:\"" + name() + "\" /Close";
  link.SetWindowState(TWindowState::wsNormal);
  link.SetHotKey(shortcut_from_stored(store.read_integer(section, keys::kHotKey, 0)));
  link.FileIcon = TFileIcon{program_dir + "Keyvane.Ico", 0};
  link.Save();
}

}  // namespace kv
