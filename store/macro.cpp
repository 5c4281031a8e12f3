#include "store/macro.h"

#include "platform/text.h"

namespace kv {

namespace {

std::string_view macro_key_name(MacroKey key) {
  switch (key) {
    case MacroKey::Name:
      return keys::kName;
    case MacroKey::Type:
      return keys::kType;
    case MacroKey::HotKey:
      return keys::kHotKey;
    case MacroKey::FileName:
      return keys::kFileName;
    case MacroKey::Trigger:
      return keys::kTrigger;
    case MacroKey::Speed:
      return keys::kSpeed;
    case MacroKey::TriggerRan:
      return keys::kTriggerRan;
    case MacroKey::FoundHandle:
      return keys::kFoundHandle;
  }
  return {};
}

Macro defaults_for(int n, MacroDefaults defaults) {
  Macro m;
  switch (defaults) {
    case MacroDefaults::Plain:
      break;
    case MacroDefaults::ListLoad:
      m.name = macro_section(n);
      m.kind = MacroKind::StartApplication;
      break;
    case MacroDefaults::Deletion:
      m.kind = MacroKind::StartApplication;
      break;
    case MacroDefaults::Shortcut:
      m.name = "Error";
      break;
  }
  return m;
}

}  // namespace

Macro read_macro(MacroStore& store, int n, std::span<const MacroKey> keys, MacroDefaults defaults) {
  Macro m = defaults_for(n, defaults);
  const std::string section = macro_section(n);
  for (MacroKey key : keys) {
    const std::string_view k = macro_key_name(key);
    switch (key) {
      case MacroKey::Name:
        m.name = store.read_string(section, k, m.name);
        break;
      case MacroKey::Type:
        m.kind = static_cast<MacroKind>(store.read_integer(section, k, static_cast<std::int32_t>(m.kind)));
        break;
      case MacroKey::HotKey:
        m.hot_key = shortcut_from_stored(store.read_integer(section, k, m.hot_key));
        break;
      case MacroKey::FileName:
        m.file_name = store.read_string(section, k, m.file_name);
        break;
      case MacroKey::Trigger:
        m.trigger = store.read_string(section, k, m.trigger);
        break;
      case MacroKey::Speed:
        m.speed = store.read_integer(section, k, m.speed);
        break;
      case MacroKey::TriggerRan:
        m.trigger_ran = store.read_bool(section, k, m.trigger_ran);
        break;
      case MacroKey::FoundHandle:
        m.found_handle = store.read_string(section, k, m.found_handle);
        break;
    }
  }
  return m;
}

Macro read_macro(MacroStore& store, int n, std::initializer_list<MacroKey> keys, MacroDefaults defaults) {
  return read_macro(store, n, std::span<const MacroKey>(keys.begin(), keys.size()), defaults);
}

void write_macro(MacroStore& store, int n, const Macro& macro, std::span<const MacroKey> keys) {
  const std::string section = macro_section(n);
  for (MacroKey key : keys) {
    const std::string_view k = macro_key_name(key);
    switch (key) {
      case MacroKey::Name:
        store.write_string(section, k, macro.name);
        break;
      case MacroKey::Type:
        store.write_integer(section, k, static_cast<std::int32_t>(macro.kind));
        break;
      case MacroKey::HotKey:
        store.write_integer(section, k, macro.hot_key);
        break;
      case MacroKey::FileName:
        store.write_string(section, k, macro.file_name);
        break;
      case MacroKey::Trigger:
        store.write_string(section, k, macro.trigger);
        break;
      case MacroKey::Speed:
        store.write_integer(section, k, macro.speed);
        break;
      case MacroKey::TriggerRan:
        store.write_bool(section, k, macro.trigger_ran);
        break;
      case MacroKey::FoundHandle:
        store.write_string(section, k, macro.found_handle);
        break;
    }
  }
}

void write_macro(MacroStore& store, int n, const Macro& macro, std::initializer_list<MacroKey> keys) {
  write_macro(store, n, macro, std::span<const MacroKey>(keys.begin(), keys.size()));
}

int append_macro(MacroStore& store, const Macro& macro) {
  const int n = store.entries() + 1;
  // Whatever a hand edit or an earlier refused append left under that number is not the new
  // macro's: its trigger record or speed must not carry over.
  store.erase_section(macro_section(n));
  write_macro(store, n, macro,
              {MacroKey::Name, MacroKey::Type, MacroKey::HotKey, MacroKey::Trigger, MacroKey::FileName});
  if (macro.kind == MacroKind::MouseAndKeyboard) write_macro(store, n, macro, {MacroKey::Speed});
  store.write_integer(keys::kMain, keys::kEntries, n);
  return n;
}

void for_each_macro_named(MacroStore& store, std::string_view name, MessagePump& pump,
                          const std::function<void(int n)>& found) {
  const std::string wanted = ascii_upper(name);
  const int entries = store.entries();
  for (int k = 1; k <= entries; ++k) {
    if (ascii_upper(read_macro(store, k, {MacroKey::Name}).name) == wanted) found(k);
    pump.process_messages();
  }
}

}  // namespace kv
