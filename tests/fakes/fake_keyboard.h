// A US keyboard layout (scan code set 1) that records every key event sent.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/keyboard.h"
#include "platform/ports.h"

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
  void wait_until_delivered() override {
    ++delivery_waits;
    deliver();
  }

  // Every event that went through, and each batch as sent.
  std::vector<KeyInput> events;
  std::vector<std::vector<KeyInput>> batches;
  // Keys the user holds down (asynchronous state).
  std::set<std::uint8_t> held;
  // At most this many events of the next batch go through (-1: all).
  int accept_next = -1;

  // Delivery as the system does it: events sent wait in_flight until deliver() hands them to
  // the window focus() names at that moment. Without focus they count as delivered at once.
  std::function<WindowHandle()> focus;
  std::vector<KeyInput> in_flight;
  std::map<WindowHandle, std::vector<KeyInput>> received;
  int delivery_waits = 0;
  void deliver() {
    if (!focus) return;
    auto& to = received[focus()];
    to.insert(to.end(), in_flight.begin(), in_flight.end());
    in_flight.clear();
  }

  // The events as text, for readable expectations: "+A -A" is A down then up, "u:e9" a
  // Unicode character.
  std::string trace() const;
  // Keys that are down after every event so far (pressed, never released).
  std::set<std::uint8_t> keys_left_down() const;
  void clear() {
    events.clear();
    batches.clear();
    in_flight.clear();
    received.clear();
  }
};

// Readable name of a virtual key in traces: letters and digits as themselves, else "Shift",
// "Ctrl", "Alt", "Enter", "Tab", "F1"..., or hex.
std::string vk_trace_name(std::uint8_t vk);

}  // namespace kv::fake
