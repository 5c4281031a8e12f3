#include "forms/hints.h"

namespace kv {

bool hints_enabled(MacroStore& store) {
  return store.read_bool(keys::kMain, keys::kShowHints, true);
}

bool hint_box_checked_on_open(MacroStore& store) {
  return hints_enabled(store);
}

void toggle_show_hints(MacroStore& store, bool& tray_checked) {
  store.write_bool(keys::kMain, keys::kShowHints, !tray_checked);
  tray_checked = !tray_checked;
}

void hint_window_closed(MacroStore& store, MessagePump& pump, bool box_checked, bool& tray_checked) {
  if (box_checked) {
    tray_checked = true;
    return;
  }
  pump.process_messages();
  store.write_bool(keys::kMain, keys::kShowHints, false);
  tray_checked = false;
}

}  // namespace kv
