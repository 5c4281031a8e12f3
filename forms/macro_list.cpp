#include "forms/macro_list.h"

#include "store/shortcut.h"

namespace kv {

int kind_image(int type) {
  switch (type) {
    case 2:
    case 4: return kImageKeys;
    case 3: return kImageMouse;
    default: return kImageLaunch;
  }
}

MacroRow read_macro_row(MacroStore& store, int n, const KeyNameFn& platform_key_name) {
  const std::string section = macro_section(n);
  MacroRow row;
  row.caption = store.read_string(section, keys::kName, section);
  row.image = kind_image(store.read_integer(section, keys::kType, 1));
  row.shortcut_keys =
      shortcut_text(shortcut_from_stored(store.read_integer(section, keys::kHotKey, 0)), platform_key_name);
  row.trigger = store.read_string(section, keys::kTrigger, "");
  return row;
}

std::vector<MacroRow> read_macro_rows(MacroStore& store, const KeyNameFn& platform_key_name) {
  std::vector<MacroRow> rows;
  const int e = store.entries();
  for (int n = 1; n <= e; ++n) rows.push_back(read_macro_row(store, n, platform_key_name));
  return rows;
}

void ListCommands::list_clicked(bool has_rows, bool row_selected) {
  const bool e = has_rows && row_selected;
  delete_button = delete_item = properties_item = create_shortcut = e;
}

void ListCommands::list_mouse_up(bool has_rows, bool row_selected, bool row_focused) {
  const bool e = has_rows && row_selected && row_focused;
  delete_button = delete_item = properties_item = edit_button = create_shortcut = e;
}

void ListCommands::macro_deleted() { delete_button = delete_item = create_shortcut = false; }

bool delete_selected_macro(MacroListView& view, MacroStore& store, FileSystem& files, ListCommands& commands) {
  const int index = view.selected_index();
  if (index < 0) return false;
  const std::string name = view.caption(index);
  if (!view.confirm_delete()) return false;
  // The question box processes messages; a list rebuilt meanwhile must not lose another macro.
  if (view.selected_index() != index || view.caption(index) != name) return false;
  delete_companion_files(files, name);
  view.remove_row(index);
  renumber_after_delete(store, index + 1);
  commands.macro_deleted();
  return true;
}

}  // namespace kv
