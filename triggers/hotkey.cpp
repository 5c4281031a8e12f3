#include "triggers/hotkey.h"

namespace kv {

unsigned hotkey_modifiers(ShortCut value) {
  unsigned m = 0;
  if (value & kAltBit) m |= kModAlt;
  if (value & kCtrlBit) m |= kModControl;
  if (value & kShiftBit) m |= kModShift;
  return m;
}

void HotKeyComponent::set_HotKey(ShortCut value) {
  if (value == hotkey_) return;
  if (enabled_) {
    // The platform keeps an old registration of the same identifier beside a new one, so the
    // old combination would go on firing: let it go first.
    if (hotkey_ != 0) platform_unregister();
    registered_ = value != 0 && platform_register(hotkey_modifiers(value), hotkey_key(value));
  } else {
    registered_ = false;
  }
  hotkey_ = value;
}

void HotKeyComponent::set_Enabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  if (on) {
    registered_ = hotkey_ != 0 && platform_register(hotkey_modifiers(hotkey_), hotkey_key(hotkey_));
  } else {
    if (hotkey_ != 0) platform_unregister();
    registered_ = false;
  }
}

void HotKeyComponent::hotkey_message(bool application_active) {
  if (!OnHotKey || !(global_ || application_active)) return;
  std::uint16_t key = static_cast<std::uint16_t>(hotkey_key(hotkey_));
  const HotKeyParts shift = split_shortcut(hotkey_);
  OnHotKey(*this, key, shift);
}

void HotKeyComponent::release() {
  set_HotKey(0);
}

}  // namespace kv
