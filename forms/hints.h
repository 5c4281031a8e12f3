// The "Show Hints" setting and the two places that keep it in step with the tray's check mark:
// the tray's "&Show Hints" and the closing of the hint window.
#pragma once
#include "platform/ports.h"
#include "store/macro_store.h"

namespace kv {

// ShowHint shows its text only while this is on (true when the key is absent).
bool hints_enabled(MacroStore& store);

// "&Show Hints": writes the opposite of the check mark, then flips the mark. A refused write
// raises and leaves the mark as it was.
void toggle_show_hints(MacroStore& store, bool& tray_checked);

// The hint window's check box as the window opens: the current setting, so that closing it
// with OK never turns off hints the user has just turned on again.
bool hint_box_checked_on_open(MacroStore& store);

// The hint window closes with its check box in `box_checked`: unchecked turns hints off (written
// first; a refused write raises and changes nothing), checked only checks the tray item.
void hint_window_closed(MacroStore& store, MessagePump& pump, bool box_checked, bool& tray_checked);

}  // namespace kv
