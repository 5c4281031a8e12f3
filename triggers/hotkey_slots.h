// The manager window's 101 hotkey slots (slot n serves macro n, slot 0 none), AssignHotKeys
// and the shared handler EPHotKey0HotKey with its two flags.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/ports.h"
#include "triggers/hotkey.h"

namespace kv {

inline constexpr int kHotKeySlots = 101;
inline constexpr int kLastHotKeyMacro = 100;

class HotKeySlots {
 public:
  struct Deps {
    // Physical (asynchronous) state of a virtual key: true while it is held down.
    std::function<bool(std::uint8_t vk)> key_down;
    MessagePump& pump;
    // ProcessHotKey.
    std::function<void(int n)> run;
    // Asks the platform whether it would register the combination now (and lets it go again).
    std::function<bool(unsigned modifiers, unsigned key)> probe;
  };
  using Factory = std::function<std::unique_ptr<HotKeyComponent>(int slot)>;

  // Creates the slots (Enabled, Global, OnHotKey = EPHotKey0HotKey), all empty.
  HotKeySlots(Deps deps, const Factory& make_slot);

  // Clears slots 1 to 100, then loads each from its macro's HotKey (only macros that exist).
  // Returns Entries; the caller rebuilds the list when it is at least 1.
  int AssignHotKeys(ProfileStore& profile);

  void EPHotKey0HotKey(HotKeyComponent& sender);

  HotKeyComponent& slot(int n) { return *slots_.at(static_cast<std::size_t>(n)); }

  // Macro n has a combination that its slot could not register: it does nothing when pressed.
  // Macros above 100 have no slot and are never marked.
  bool refused(int n) const;
  // Would `value` be registered for macro n, were it stored now and the hotkeys assigned again?
  // Not when a lower-numbered macro has it, nor when another program holds it.
  bool would_register(ProfileStore& profile, int n, ShortCut value);

  // Set while the wizard or the properties dialog is open: hotkeys do nothing.
  void set_authoring_suspended(bool on) { suspended_ = on; }
  // Set while a hotkey's macro waits for the modifiers and runs.
  bool busy() const { return busy_; }

 private:
  bool modifiers_held();
  Deps d_;
  std::array<std::unique_ptr<HotKeyComponent>, kHotKeySlots> slots_;
  bool suspended_ = false;
  bool busy_ = false;
};

}  // namespace kv
