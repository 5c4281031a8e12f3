// The "Show Hints" setting and the two places that keep it in step with the tray's check mark:
// the tray's "&Show Hints" and the closing of the hint window.
#pragma once
#include "platform/ports.h"
#include "store/macro_store.h"

namespace kv {

// The example addresses of the program's texts.
inline constexpr const char* kExampleWebAddress = "http://www.ostrel.example";
inline constexpr const char* kExampleMailAddress = "support@ostrel.example";
inline constexpr const char* kExampleMailLink = "mailto:support@ostrel.example";

// The hint before a program or document is chosen (the wizard's Browse, the script editor's
// "Start an Application or Document").
inline constexpr const char* kDocumentLaunchHint =
    "Note that you may use this option to not only start regular programs, but also launch any windows documents "
    "with valid associations.  For example, \"example.txt\" would launch Notepad with that document loaded, "
    "\"http://www.ostrel.example\" will bring up your default browser and load the Ostrel Web Site, and "
    "\"mailto:support@ostrel.example\" would load your default E-Mail program with the \"support@ostrel.example\" "
    "typed into the \"To\" address";

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
