#include <gtest/gtest.h>

#include "journal/capture.h"
#include "journal/dat_file.h"
#include "tests/fakes/fake_journal_ports.h"

using namespace kv::journal;
using kv::fake::denormalise;

namespace {

Event key(std::uint32_t at, EventKind k, std::uint8_t vk, std::uint16_t scan = 0, bool ext = false) {
  Event e;
  e.offset_ms = at;
  e.kind = k;
  e.vk = vk;
  e.scan = scan;
  e.extended = ext;
  return e;
}

Event mouse(std::uint32_t at, EventKind k, std::uint16_t x, std::uint16_t y, Button b = Button::None, int wheel = 0) {
  Event e;
  e.offset_ms = at;
  e.kind = k;
  e.x = x;
  e.y = y;
  e.button = b;
  e.wheel = wheel;
  return e;
}

Recording sample() {
  Recording r;
  r.duration_ms = 5000;
  r.events = {key(0, EventKind::KeyDown, 0x41, 0x1E),
              key(80, EventKind::KeyUp, 0x41, 0x1E),
              key(100, EventKind::KeyDown, 0x2E, 0x53, true),
              key(100, EventKind::KeyUp, 0x2E, 0x53, true),
              mouse(200, EventKind::MouseMove, 0, 65535),
              mouse(300, EventKind::ButtonDown, 1234, 4321, Button::Left),
              mouse(310, EventKind::ButtonUp, 1234, 4321, Button::Left),
              mouse(400, EventKind::ButtonDown, 9, 9, Button::X2),
              mouse(401, EventKind::ButtonUp, 9, 9, Button::X2),
              mouse(500, EventKind::Wheel, 100, 100, Button::None, -240),
              mouse(5000, EventKind::HWheel, 100, 100, Button::None, 120)};
  return r;
}

// Re-stamps the CRC so that a test reaches the checks behind it.
std::string with_fixed_crc(std::string bytes) {
  std::string covered = bytes.substr(0, 20) + bytes.substr(kHeaderSize);
  const std::uint32_t c = crc32(reinterpret_cast<const std::uint8_t*>(covered.data()), covered.size());
  for (int i = 0; i < 4; ++i) bytes[20 + i] = static_cast<char>((c >> (8 * i)) & 0xFF);
  return bytes;
}

DecodeError error_of(const std::string& bytes) {
  const Decoded d = decode(bytes);
  if (d.error != DecodeError::None) {
    EXPECT_TRUE(d.recording.events.empty());
  }
  return d.error;
}

}  // namespace

TEST(DatFile, RoundTripKeepsEveryEventAndTheHeader) {
  const Recording r = sample();
  const std::string bytes = encode(r);
  ASSERT_EQ(bytes.size(), kHeaderSize + kEventSize * r.events.size());
  EXPECT_EQ(bytes.substr(0, 4), "KVJR");
  const Decoded d = decode(bytes);
  ASSERT_EQ(d.error, DecodeError::None);
  EXPECT_EQ(d.recording, r);

  Recording keys;
  keys.keystrokes_only = true;
  keys.duration_ms = 10;
  keys.events = {key(10, EventKind::KeyDown, 0x10)};
  EXPECT_EQ(decode(encode(keys)).recording, keys);
  Recording empty;
  EXPECT_EQ(decode(encode(empty)).error, DecodeError::None);
}

TEST(DatFile, Crc32IsTheStandardOne) {
  const std::string s = "123456789";
  EXPECT_EQ(crc32(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()), 0xCBF43926u);
}

TEST(DatFile, ForeignAndNewerFilesAreRefused) {
  EXPECT_EQ(error_of(""), DecodeError::Foreign);
  EXPECT_EQ(error_of("KVJ"), DecodeError::Foreign);
  EXPECT_EQ(error_of("MZ\x90\x00\x03\x00\x00\x00\x04\x00\x00\x00\xff\xff\x00\x00" + std::string(64, '\0')),
            DecodeError::Foreign);
  std::string newer = encode(sample());
  newer[4] = 2;
  EXPECT_EQ(error_of(newer), DecodeError::NewerVersion);
}

TEST(DatFile, TruncatedOrCorruptedFilesAreDamaged) {
  const std::string good = encode(sample());
  EXPECT_EQ(error_of(good.substr(0, good.size() - 1)), DecodeError::Damaged);
  EXPECT_EQ(error_of(good.substr(0, 12)), DecodeError::Damaged);
  EXPECT_EQ(error_of(good + '\0'), DecodeError::Damaged);
  // Any single flipped bit is caught.
  for (std::size_t i = 0; i < good.size(); ++i) {
    if (i >= 4 && i < 6) continue;  // the version field has its own answers
    std::string bad = good;
    bad[i] = static_cast<char>(bad[i] ^ 0x10);
    EXPECT_NE(error_of(bad), DecodeError::None) << "byte " << i;
  }
  std::string v0 = good;
  v0[4] = 0;
  EXPECT_EQ(error_of(with_fixed_crc(v0)), DecodeError::Damaged);
}

TEST(DatFile, IntactButImpossibleEventsAreDamaged) {
  const std::string good = encode(sample());
  auto event_byte = [&](std::size_t event, std::size_t field, char value, std::size_t width = 1) {
    std::string b = good;
    for (std::size_t i = 0; i < width; ++i) b[kHeaderSize + event * kEventSize + field + i] = i ? 0 : value;
    return with_fixed_crc(b);
  };
  EXPECT_EQ(error_of(event_byte(0, 4, 9)), DecodeError::Damaged);      // unknown kind
  EXPECT_EQ(error_of(event_byte(0, 6, 0)), DecodeError::Damaged);      // key without a key
  EXPECT_EQ(error_of(event_byte(5, 6, 7)), DecodeError::Damaged);      // no such button
  EXPECT_EQ(error_of(event_byte(4, 6, 1)), DecodeError::Damaged);      // a move with a button
  EXPECT_EQ(error_of(event_byte(9, 12, 0, 4)), DecodeError::Damaged);  // wheel without delta
  EXPECT_EQ(error_of(event_byte(5, 1, 0)), DecodeError::Damaged);      // offset goes back
  EXPECT_EQ(error_of(event_byte(10, 2, 1)), DecodeError::Damaged);     // beyond the duration
  EXPECT_EQ(error_of(event_byte(2, 5, 2)), DecodeError::Damaged);      // unknown event flag
  std::string keys_only = good;
  keys_only[8] = 1;  // keystrokes-only, yet with mouse events
  EXPECT_EQ(error_of(with_fixed_crc(keys_only)), DecodeError::Damaged);
  std::string count = good;
  count[12] = static_cast<char>(count[12] + 1);
  EXPECT_EQ(error_of(with_fixed_crc(count)), DecodeError::Damaged);
}

TEST(DatFile, RefusalsHaveClearMessages) {
  EXPECT_EQ(decode_error_message(DecodeError::Foreign, "C:\\k\\a.dat"), "C:\\k\\a.dat is not a Keyvane recording");
  EXPECT_EQ(decode_error_message(DecodeError::NewerVersion, "a.dat"),
            "a.dat was recorded by a newer version of Keyvane");
  EXPECT_EQ(decode_error_message(DecodeError::Damaged, "a.dat"), "The recording a.dat is damaged");
}

TEST(Normalise, EveryPixelComesBackThroughTheSystemsConversion) {
  for (int extent : {1, 640, 1024, 1280, 1920, 2560, 3840, 7680}) {
    for (int origin : {0, -1920}) {
      for (int px = origin; px < origin + extent; ++px) {
        const std::uint16_t v = normalise(px, origin, extent);
        ASSERT_EQ(denormalise(v, origin, extent), px) << extent;
        // The system truncates value * extent / 65536; a value off by one either way still lands
        // on the pixel, so a conversion that rounds differently cannot move a click.
        if (extent <= 3840 && v > 0 && v < 65535) {
          ASSERT_EQ(denormalise(static_cast<std::uint16_t>(v - 1), origin, extent), px);
          ASSERT_EQ(denormalise(static_cast<std::uint16_t>(v + 1), origin, extent), px);
        }
      }
    }
  }
  EXPECT_EQ(normalise(-5, 0, 1280), normalise(0, 0, 1280));
  EXPECT_EQ(normalise(5000, 0, 1280), normalise(1279, 0, 1280));
}
