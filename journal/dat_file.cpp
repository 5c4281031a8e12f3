#include "journal/dat_file.h"

#include <array>

#include "platform/error.h"

namespace kv::journal {

namespace {

constexpr char kMagic[4] = {'K', 'V', 'J', 'R'};
constexpr std::uint32_t kFlagKeystrokesOnly = 1;
constexpr std::uint8_t kEventExtended = 1;

void put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}
std::uint16_t get16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t get32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(get16(p)) | (static_cast<std::uint32_t>(get16(p + 2)) << 16);
}

// The CRC covers the header up to the CRC field, then the events.
std::uint32_t file_crc(const std::uint8_t* data, std::size_t size) {
  std::string covered(reinterpret_cast<const char*>(data), 20);
  covered.append(reinterpret_cast<const char*>(data) + kHeaderSize, size - kHeaderSize);
  return crc32(reinterpret_cast<const std::uint8_t*>(covered.data()), covered.size());
}

bool valid_event(const Event& e, bool keystrokes_only) {
  switch (e.kind) {
    case EventKind::KeyDown:
    case EventKind::KeyUp:
      return e.vk != 0 && e.vk != 0xFF && e.button == Button::None && e.y == 0 && e.wheel == 0;
    case EventKind::MouseMove:
    case EventKind::Wheel:
    case EventKind::HWheel:
      return !keystrokes_only && e.vk == 0 && e.scan == 0 && !e.extended && e.button == Button::None &&
             (e.kind == EventKind::MouseMove) == (e.wheel == 0);
    case EventKind::ButtonDown:
    case EventKind::ButtonUp:
      return !keystrokes_only && e.vk == 0 && !e.extended && e.wheel == 0 && e.button >= Button::Left &&
             e.button <= Button::X2;
  }
  return false;
}

}  // namespace

bool is_key(EventKind k) {
  return k == EventKind::KeyDown || k == EventKind::KeyUp;
}
bool is_mouse(EventKind k) {
  return !is_key(k);
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string encode(const Recording& r) {
  std::string out(kMagic, 4);
  put16(out, kFormatVersion);
  put16(out, static_cast<std::uint16_t>(kHeaderSize));
  put32(out, r.keystrokes_only ? kFlagKeystrokesOnly : 0);
  put32(out, static_cast<std::uint32_t>(r.events.size()));
  put32(out, r.duration_ms);
  put32(out, 0);  // CRC, filled in below
  for (const Event& e : r.events) {
    put32(out, e.offset_ms);
    out += static_cast<char>(e.kind);
    out += static_cast<char>(e.extended ? kEventExtended : 0);
    out += static_cast<char>(is_key(e.kind) ? e.vk : static_cast<std::uint8_t>(e.button));
    out += '\0';
    put16(out, is_key(e.kind) ? e.scan : e.x);
    put16(out, e.y);
    put32(out, static_cast<std::uint32_t>(e.wheel));
  }
  const std::uint32_t crc = file_crc(reinterpret_cast<const std::uint8_t*>(out.data()), out.size());
  std::string crc_bytes;
  put32(crc_bytes, crc);
  out.replace(20, 4, crc_bytes);
  return out;
}

Decoded decode(const std::string& bytes) {
  Decoded d;
  const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::size_t size = bytes.size();
  if (size < 8 || bytes.compare(0, 4, kMagic, 4) != 0) {
    d.error = DecodeError::Foreign;
    return d;
  }
  const std::uint16_t version = get16(p + 4);
  if (version > kFormatVersion) {
    d.error = DecodeError::NewerVersion;
    return d;
  }
  d.error = DecodeError::Damaged;
  if (version == 0 || size < kHeaderSize || get16(p + 6) != kHeaderSize) return d;
  const std::uint32_t flags = get32(p + 8);
  const std::uint64_t count = get32(p + 12);
  if ((flags & ~kFlagKeystrokesOnly) != 0) return d;
  if (size != kHeaderSize + count * kEventSize) return d;
  if (file_crc(p, size) != get32(p + 20)) return d;

  Recording r;
  r.keystrokes_only = (flags & kFlagKeystrokesOnly) != 0;
  r.duration_ms = get32(p + 16);
  r.events.reserve(static_cast<std::size_t>(count));
  std::uint32_t last = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* q = p + kHeaderSize + i * kEventSize;
    Event e;
    e.offset_ms = get32(q);
    const std::uint8_t kind = q[4];
    if (kind < 1 || kind > 7 || (q[5] & ~kEventExtended) != 0 || q[7] != 0) return d;
    e.kind = static_cast<EventKind>(kind);
    e.extended = (q[5] & kEventExtended) != 0;
    if (is_key(e.kind)) {
      e.vk = q[6];
      e.scan = get16(q + 8);
    } else {
      if (q[6] > static_cast<std::uint8_t>(Button::X2)) return d;
      e.button = static_cast<Button>(q[6]);
      e.x = get16(q + 8);
    }
    e.y = get16(q + 10);
    e.wheel = static_cast<std::int32_t>(get32(q + 12));
    if (e.offset_ms < last || e.offset_ms > r.duration_ms || !valid_event(e, r.keystrokes_only)) return d;
    last = e.offset_ms;
    r.events.push_back(e);
  }
  d.error = DecodeError::None;
  d.recording = std::move(r);
  return d;
}

std::string decode_error_message(DecodeError e, const std::string& path) {
  switch (e) {
    case DecodeError::Foreign:
      return format_message("%s is not a Keyvane recording", path);
    case DecodeError::NewerVersion:
      return format_message("%s was recorded by a newer version of Keyvane", path);
    case DecodeError::Damaged:
      return format_message("The recording %s is damaged", path);
    case DecodeError::None:
      break;
  }
  return {};
}

}  // namespace kv::journal
