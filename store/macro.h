// A macro as its section of macros.ini holds it: the eight per-macro keys, their one reader and
// their one writer, appending a macro, and the scan for macros by name.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "platform/ports.h"
#include "store/macro_store.h"
#include "store/shortcut.h"

namespace kv {

// The stored Type. A value outside the four kinds stays what was stored (a hand-edited file,
// a missing key read as 0): the runner runs nothing for it and the list shows it as kind 1.
enum class MacroKind : std::int32_t {
  StartApplication = 1,  // a program, document or address opened through the shell
  Keystrokes = 2,        // a recording of keys
  MouseAndKeyboard = 3,  // a recording of mouse and keys
  AdvancedScript = 4,    // a .key script
};

// The keys of a macro section, for reading or writing some of them.
enum class MacroKey { Name, Type, HotKey, FileName, Trigger, Speed, TriggerRan, FoundHandle };

// All eight, in the order deletion copies them.
inline constexpr MacroKey kAllMacroKeys[] = {MacroKey::Name,       MacroKey::Type,       MacroKey::HotKey,
                                             MacroKey::FileName,   MacroKey::Trigger,    MacroKey::Speed,
                                             MacroKey::TriggerRan, MacroKey::FoundHandle};

struct Macro {
  std::string name;
  MacroKind kind{0};
  ShortCut hot_key = 0;
  // Kind 1: the command for the shell; kinds 2 to 4: the companion file in the program folder.
  std::string file_name;
  std::string trigger;  // window title; empty for none
  // 1 plays a recording at its recorded speed; anything else at high speed.
  std::int32_t speed = 1;
  bool trigger_ran = false;
  // Decimal handles of the windows the trigger has fired for since start-up, comma-separated.
  std::string found_handle;

  bool high_speed() const { return speed != 1; }
};

// Which defaults a read gives to missing keys. Only Name and Type differ between readers, each
// as it has always read them; every other key has one default (HotKey 0, Speed 1, TriggerRan
// false, FileName, Trigger and FoundHandle empty):
//   ListLoad  the list rows: Name the section name ("Macro" + n), Type 1;
//   Deletion  renumbering: Name empty, Type 1;
//   Shortcut  shortcut creation: Name "Error";
//   Plain     everybody else (runner, properties dialog, lookup by name, poll, hotkeys): Name
//             empty, Type 0, which runs nothing and leaves the properties dialog's layout as
//             it was.
enum class MacroDefaults { Plain, ListLoad, Deletion, Shortcut };

// Reads the given keys of macro n afresh from the store; the others keep their defaults.
Macro read_macro(MacroStore& store, int n, std::span<const MacroKey> keys,
                 MacroDefaults defaults = MacroDefaults::Plain);
Macro read_macro(MacroStore& store, int n, std::initializer_list<MacroKey> keys,
                 MacroDefaults defaults = MacroDefaults::Plain);

// Writes the given keys of macro n, in the order given. A refused write raises "Unable to write
// to %s"; the keys before it stay written.
void write_macro(MacroStore& store, int n, const Macro& macro, std::span<const MacroKey> keys);
void write_macro(MacroStore& store, int n, const Macro& macro, std::initializer_list<MacroKey> keys);

// Appends a macro: a fresh section after the last macro gets Name, Type, HotKey, Trigger,
// FileName and, for mouse-and-keyboard macros, Speed; only then is Entries raised, so a refused
// write never leaves Entries counting a macro without its keys. Returns the new number.
int append_macro(MacroStore& store, const Macro& macro);

// Lookup by name: for k = 1..Entries in order, calls found(k) for every macro whose Name equals
// `name` with letters a to z compared without regard to case, and processes pending messages
// after every k, matched or not.
void for_each_macro_named(MacroStore& store, std::string_view name, MessagePump& pump,
                          const std::function<void(int n)>& found);

}  // namespace kv
