// Keyboard layout queries, key-event injection and the optional outside key library.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv {

// Every event the program injects carries this in dwExtraInfo, so its own hooks can tell the
// program's input from the user's (playback is never recorded).
inline constexpr std::uintptr_t kInjectedTag = 0x4B56414E;  // "KVAN"

// One key event. A Unicode event types `unit` (a UTF-16 code unit) without a virtual key.
struct KeyInput {
  std::uint8_t vk = 0;
  std::uint16_t scan = 0;
  bool up = false;
  bool extended = false;
  bool unicode = false;
  std::uint16_t unit = 0;
  friend bool operator==(const KeyInput&, const KeyInput&) = default;
};

class Keyboard {
 public:
  virtual ~Keyboard() = default;
  // VkKeyScanA: virtual key in the low byte, shift state (1 Shift, 2 Ctrl, 4 Alt) in the high
  // byte; -1 when the layout cannot type the character.
  virtual std::int16_t vk_key_scan(char c) = 0;
  // MapVirtualKeyA(vk, 0): the key's scan code, 0 when it has none.
  virtual std::uint16_t map_virtual_key(std::uint8_t vk) = 0;
  // The UTF-16 unit of a single-byte character in the ANSI code page.
  virtual std::uint16_t to_utf16(char c) = 0;
  // The platform's name of the key (GetKeyNameText of its scan code); empty when none.
  virtual std::string key_name(std::uint8_t vk) = 0;
  // Sends the events as one batch, tagged as ours; returns how many went through.
  virtual std::size_t send(const std::vector<KeyInput>& batch) = 0;
  // The system hands sent events to whichever window has the focus when it gets to them, not
  // when they were sent. Blocks, without processing messages, until every event sent so far
  // has been handed on, or until a bound of a few seconds has passed.
  virtual void wait_until_delivered() = 0;
};

// True for keys that sit on the extended part of the keyboard (their scan code has an E0
// prefix): marking any other key extended turns, say, Alt into AltGr.
bool is_extended_key(std::uint8_t vk);

// The optional outside key library. Implementations load it only by its full path in the
// program folder, never through the library search path.
class KeyLibrary {
 public:
  // Called with the text in counted form: a length byte, then the characters.
  using Entry = std::function<std::int32_t(const std::string& counted_text)>;
  virtual ~KeyLibrary() = default;
  // False when the library cannot be loaded; a later call may try again.
  virtual bool load() = 0;
  virtual bool loaded() const = 0;
  // Its export with ordinal 1; empty when it has none.
  virtual Entry entry() = 0;
  virtual void unload() = 0;
};

inline constexpr const char* kKeyLibraryName = "FW32SNDKEY.Dll";

}  // namespace kv
