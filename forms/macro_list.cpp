#include "forms/macro_list.h"

#include "store/macro.h"
#include "store/shortcut.h"

namespace kv {

namespace {

// Keystrokes and scripts share an image; kinds outside the four look like kind 1.
int kind_image(MacroKind kind) {
  switch (kind) {
    case MacroKind::Keystrokes:
    case MacroKind::AdvancedScript:
      return kImageKeys;
    case MacroKind::MouseAndKeyboard:
      return kImageMouse;
    case MacroKind::StartApplication:
      break;
  }
  return kImageLaunch;
}

MacroRow read_macro_row(MacroStore& store, int n, const KeyNameFn& platform_key_name, const HotKeyRefusedFn& refused) {
  const Macro macro = read_macro(store, n, {MacroKey::Name, MacroKey::Type, MacroKey::HotKey, MacroKey::Trigger},
                                 MacroDefaults::ListLoad);
  MacroRow row;
  row.caption = macro.name;
  row.image = kind_image(macro.kind);
  row.shortcut_keys = shortcut_text(macro.hot_key, platform_key_name);
  if (!row.shortcut_keys.empty() && refused && refused(n)) row.shortcut_keys += kInUseMark;
  row.trigger = macro.trigger;
  return row;
}

}  // namespace

std::vector<MacroRow> read_macro_rows(MacroStore& store, const KeyNameFn& platform_key_name,
                                      const HotKeyRefusedFn& refused) {
  std::vector<MacroRow> rows;
  const int e = store.entries();
  for (int n = 1; n <= e; ++n) rows.push_back(read_macro_row(store, n, platform_key_name, refused));
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

void ListCommands::macro_deleted() {
  delete_button = delete_item = create_shortcut = false;
}

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
