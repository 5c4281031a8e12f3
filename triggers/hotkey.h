// TEPHotKey's rules without the platform: when a combination is registered and unregistered,
// and how a hotkey message becomes OnHotKey. The Win32 component (hotkey_win.h) supplies the
// registration; tests supply a fake.
#pragma once
#include <cstdint>
#include <functional>

#include "store/shortcut.h"

namespace kv {

// RegisterHotKey's modifier flags.
inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;

// Modifiers from the TShortCut bits (the Windows key is never used) and the key code.
unsigned hotkey_modifiers(ShortCut value);
inline unsigned hotkey_key(ShortCut value) {
  return value & 0x1FFFu;
}

class HotKeyComponent {
 public:
  using Handler = std::function<void(HotKeyComponent& sender, std::uint16_t& key, const HotKeyParts& shift)>;

  HotKeyComponent() = default;
  virtual ~HotKeyComponent() = default;
  HotKeyComponent(const HotKeyComponent&) = delete;
  HotKeyComponent& operator=(const HotKeyComponent&) = delete;

  void set_Enabled(bool on);
  // false: fire only while a window of this application is the active one.
  void set_Global(bool on) { global_ = on; }
  ShortCut HotKey() const { return hotkey_; }
  void set_HotKey(ShortCut value);
  // The platform's answer to the last registration: false while a combination is set that the
  // platform refused (another program, or an earlier slot, holds it) or that is not registered.
  bool registered() const { return registered_; }

  Handler OnHotKey;

  // The platform's hotkey message reached the component's window.
  void hotkey_message(bool application_active);

 protected:
  // The derived component's destructor calls this while its registration still works.
  void release();
  virtual bool platform_register(unsigned modifiers, unsigned key) = 0;
  virtual void platform_unregister() = 0;

 private:
  bool enabled_ = true;
  bool global_ = true;
  ShortCut hotkey_ = 0;
  bool registered_ = false;
};

}  // namespace kv
