#include "triggers/hotkey_slots.h"

#include "store/macro.h"

namespace kv {

namespace {
constexpr std::uint8_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12;
// Between looks at the modifiers; short against the time a user takes to let go.
constexpr unsigned kModifierPollMs = 4;
}  // namespace

HotKeySlots::HotKeySlots(Deps deps, const Factory& make_slot) : d_(std::move(deps)) {
  for (int i = 0; i < kHotKeySlots; ++i) {
    slots_[static_cast<std::size_t>(i)] = make_slot(i);
    HotKeyComponent& s = *slots_[static_cast<std::size_t>(i)];
    s.set_Enabled(true);
    s.set_Global(true);
    s.OnHotKey = [this](HotKeyComponent& sender, std::uint16_t&, const HotKeyParts&) { EPHotKey0HotKey(sender); };
  }
}

int HotKeySlots::AssignHotKeys(ProfileStore& profile) {
  MacroStore store(profile);
  const int entries = store.entries();
  for (int s = 1; s <= kLastHotKeyMacro; ++s) slot(s).set_HotKey(0);
  if (entries >= 1) {
    // Sections beyond Entries (left by a hand edit) are no macros and get no hotkey.
    for (int s = 1; s <= kLastHotKeyMacro && s <= entries; ++s)
      slot(s).set_HotKey(read_macro(store, s, {MacroKey::HotKey}).hot_key);
  }
  return entries;
}

bool HotKeySlots::refused(int n) const {
  if (n < 1 || n > kLastHotKeyMacro) return false;
  const HotKeyComponent& s = *slots_[static_cast<std::size_t>(n)];
  return s.HotKey() != 0 && !s.registered();
}

bool HotKeySlots::would_register(ProfileStore& profile, int n, ShortCut value) {
  if (n < 1 || n > kLastHotKeyMacro || value == 0) return false;
  MacroStore store(profile);
  const int entries = store.entries();
  for (int k = 1; k < n && k <= entries; ++k)
    if (read_macro(store, k, {MacroKey::HotKey}).hot_key == value) return false;
  // Held by one of our own slots: the next assignment hands it to the lowest macro that has it.
  for (int s = 1; s <= kLastHotKeyMacro; ++s)
    if (slot(s).HotKey() == value && slot(s).registered()) return true;
  return d_.probe && d_.probe(hotkey_modifiers(value), hotkey_key(value));
}

bool HotKeySlots::modifiers_held() {
  return d_.key_down(kVkControl) || d_.key_down(kVkMenu) || d_.key_down(kVkShift);
}

void HotKeySlots::EPHotKey0HotKey(HotKeyComponent& sender) {
  if (suspended_ || busy_) return;  // dropped, not queued
  // Set before the first message pass: a second hotkey dispatched there must be dropped too.
  busy_ = true;
  struct ClearBusy {
    bool& flag;
    // Also after an error: one failing macro must not silence every hotkey.
    ~ClearBusy() { flag = false; }
  } clear{busy_};
  for (;;) {
    d_.pump.process_messages();
    if (!modifiers_held()) break;
    d_.pump.sleep_ms(kModifierPollMs);
  }
  for (int n = 1; n <= kLastHotKeyMacro; ++n)
    if (&sender == slots_[static_cast<std::size_t>(n)].get()) d_.run(n);
}

}  // namespace kv
