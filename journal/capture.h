// Turns what the input hooks saw into recorded events: skips input that software injected
// (our own playback included), the stop key Shift+Ctrl+F12 with its modifiers, and releases of
// keys that were already down when the recording started; normalises mouse positions to the
// virtual screen.
#pragma once
#include <cstdint>
#include <set>
#include <vector>

#include "journal/dat_file.h"

namespace kv::journal {

// One event as a low-level hook reports it, copied into a plain struct.
struct RawInput {
  EventKind kind = EventKind::KeyDown;
  std::uint32_t vk = 0;
  std::uint32_t scan = 0;
  bool extended = false;
  bool injected = false;  // the system's injected flag
  std::uintptr_t extra_info = 0;
  std::int32_t x = 0, y = 0;  // screen pixels
  Button button = Button::None;
  std::int32_t wheel = 0;
  std::uint64_t time_us = 0;  // on the recorder's clock
};

struct ScreenRect {
  std::int32_t left = 0, top = 0, width = 1, height = 1;
};

// Pixel to 0..65535, so that a recording plays where it was made whatever the resolution,
// scaling or monitor layout. The value names the middle of the pixel, so the system's
// truncating conversion back (value * extent / 65536) lands on the same pixel.
std::uint16_t normalise(std::int32_t pixel, std::int32_t origin, std::int32_t extent);

// The stop key: F12 with Shift and Ctrl.
inline constexpr std::uint8_t kStopVk = 0x7B;

class Capture {
 public:
  Capture(bool keystrokes_only, ScreenRect screen, std::uint64_t start_us)
      : keystrokes_only_(keystrokes_only), screen_(screen), start_us_(start_us) {}

  void feed(const RawInput& in);
  // Ends the recording at stop_us: every key or button still held gets its release, so a
  // playback never leaves anything down.
  Recording finish(std::uint64_t stop_us);

  // True when the raw event should be treated as the user's own (not injected by software).
  static bool is_users(const RawInput& in);

 private:
  std::uint32_t offset(std::uint64_t t);
  void drop_held_downs(std::uint8_t vk);

  bool keystrokes_only_;
  ScreenRect screen_;
  std::uint64_t start_us_;
  std::uint32_t last_offset_ = 0;
  std::vector<Event> events_;
  std::set<std::uint8_t> down_;       // keys whose press was recorded and not yet released
  std::set<std::uint8_t> swallowed_;  // keys of the stop chord: their releases are not recorded
  std::set<std::uint8_t> buttons_down_;
  std::set<std::uint8_t> pressed_;  // every key of the user held now, recorded or not
};

}  // namespace kv::journal
