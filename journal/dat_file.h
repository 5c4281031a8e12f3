// The .dat recording: what a recording holds, and its encoding on disk (see dat-format.md).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kv::journal {

enum class EventKind : std::uint8_t {
  KeyDown = 1,
  KeyUp = 2,
  MouseMove = 3,
  ButtonDown = 4,
  ButtonUp = 5,
  Wheel = 6,
  HWheel = 7,
};

enum class Button : std::uint8_t { None = 0, Left = 1, Right = 2, Middle = 3, X1 = 4, X2 = 5 };

// One recorded input event. Keys carry vk/scan/extended; mouse events carry the pointer
// position normalised to the virtual screen (0..65535 on each axis); wheels carry their delta.
struct Event {
  std::uint32_t offset_ms = 0;  // since the recording started
  EventKind kind = EventKind::KeyDown;
  std::uint8_t vk = 0;
  std::uint16_t scan = 0;
  bool extended = false;
  Button button = Button::None;
  std::uint16_t x = 0, y = 0;
  std::int32_t wheel = 0;
  friend bool operator==(const Event&, const Event&) = default;
};

bool is_key(EventKind k);
bool is_mouse(EventKind k);

struct Recording {
  bool keystrokes_only = false;
  std::uint32_t duration_ms = 0;  // from the start to the stop of the recording
  std::vector<Event> events;
  friend bool operator==(const Recording&, const Recording&) = default;
};

inline constexpr std::size_t kHeaderSize = 24;
inline constexpr std::size_t kEventSize = 16;
inline constexpr std::uint16_t kFormatVersion = 1;

std::string encode(const Recording& r);

enum class DecodeError { None, Foreign, NewerVersion, Damaged };

struct Decoded {
  DecodeError error = DecodeError::None;
  Recording recording;
};

// Refuses anything that is not a complete, intact recording of a version we understand; a
// refused file never yields events.
Decoded decode(const std::string& bytes);

// The message the user is shown when a recording cannot be played.
std::string decode_error_message(DecodeError e, const std::string& path);

std::uint32_t crc32(const std::uint8_t* data, std::size_t size);

}  // namespace kv::journal
