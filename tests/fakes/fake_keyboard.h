// A US keyboard layout (scan code set 1) that records every key event sent.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/keyboard.h"

namespace kv::fake {

class FakeKeyboard : public Keyboard {
 public:
  std::int16_t vk_key_scan(char c) override;
  std::uint16_t map_virtual_key(std::uint8_t vk) override;
  std::uint16_t to_utf16(char c) override;
  std::string key_name(std::uint8_t vk) override;
  // Physical state of the keys, for the hotkey slots' wait for released modifiers.
  bool is_key_down(std::uint8_t vk) const { return held.count(vk) != 0; }
  std::size_t send(const std::vector<KeyInput>& batch) override;

  // Every event that went through, and each batch as sent.
  std::vector<KeyInput> events;
  std::vector<std::vector<KeyInput>> batches;
  // Keys the user holds down (asynchronous state).
  std::set<std::uint8_t> held;
  // At most this many events of the next batch go through (-1: all).
  int accept_next = -1;

  // The events as text, for readable expectations: "+A -A" is A down then up, "u:e9" a
  // Unicode character.
  std::string trace() const;
  // Keys that are down after every event so far (pressed, never released).
  std::set<std::uint8_t> keys_left_down() const;
  void clear() {
    events.clear();
    batches.clear();
  }
};

// Readable name of a virtual key in traces: letters and digits as themselves, else "Shift",
// "Ctrl", "Alt", "Enter", "Tab", "F1"..., or hex.
std::string vk_trace_name(std::uint8_t vk);

}  // namespace kv::fake
