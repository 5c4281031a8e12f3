#include "forms/shortcut_create.h"

#include "store/macro.h"

namespace kv {

void create_macro_shortcut(MacroStore& store, TPBShellLink& link, TShellFolder where, int number,
                           const std::string& program_dir) {
  // Nothing between the steps can change the store, so one read serves them all.
  const Macro macro = read_macro(store, number, {MacroKey::Name, MacroKey::HotKey}, MacroDefaults::Shortcut);
  link.SetShellFolder(where);
  link.SetFileName(macro.name + ".lnk");
  link.Description = macro.name;
  link.WorkingDir = program_dir;
  link.Target = program_dir + "Keyvane.exe";
  link.Arguments = " /Open:\"" + macro.name + "\" /Close";
  link.SetWindowState(TWindowState::wsNormal);
  link.SetHotKey(macro.hot_key);
  link.FileIcon = TFileIcon{program_dir + "Keyvane.Ico", 0};
  link.Save();
}

}  // namespace kv
