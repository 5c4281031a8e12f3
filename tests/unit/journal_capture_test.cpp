#include <gtest/gtest.h>

#include "journal/capture.h"
#include "platform/keyboard.h"
#include "tests/fakes/fake_journal_ports.h"

using namespace kv::journal;
using kv::fake::denormalise;

namespace {

RawInput k(std::uint32_t vk, bool down, std::uint64_t ms, bool injected = false, std::uintptr_t extra = 0) {
  RawInput r;
  r.kind = down ? EventKind::KeyDown : EventKind::KeyUp;
  r.vk = vk;
  r.scan = vk + 0x100;
  r.injected = injected;
  r.extra_info = extra;
  r.time_us = 1'000'000 + ms * 1000;
  return r;
}

RawInput m(EventKind kind, int x, int y, std::uint64_t ms, Button b = Button::None, int wheel = 0) {
  RawInput r;
  r.kind = kind;
  r.x = x;
  r.y = y;
  r.button = b;
  r.wheel = wheel;
  r.time_us = 1'000'000 + ms * 1000;
  return r;
}

std::vector<std::pair<EventKind, int>> keys_of(const Recording& r) {
  std::vector<std::pair<EventKind, int>> out;
  for (const Event& e : r.events)
    if (is_key(e.kind)) out.emplace_back(e.kind, e.vk);
  return out;
}

constexpr auto D = EventKind::KeyDown;
constexpr auto U = EventKind::KeyUp;

}  // namespace

TEST(Capture, RecordsTheUsersKeysButNoInjectedInput) {
  Capture c(true, {}, 1'000'000);
  c.feed(k('A', true, 5));
  c.feed(k('B', true, 7, true));                     // another program's SendInput
  c.feed(k('C', true, 8, false, kv::kInjectedTag));  // our own playback
  c.feed(k('A', false, 40));
  c.feed(k('B', false, 41, true));
  const Recording r = c.finish(1'000'000 + 90'000);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[0].offset_ms, 5u);
  EXPECT_EQ(r.events[0].scan, 'A' + 0x100);
  EXPECT_EQ(r.events[1].offset_ms, 40u);
  EXPECT_EQ(r.duration_ms, 90u);
  EXPECT_TRUE(r.keystrokes_only);
  EXPECT_EQ(decode(encode(r)).recording, r);
}

TEST(Capture, TheStopKeyAndItsModifiersAreLeftOut) {
  Capture c(false, {}, 1'000'000);
  c.feed(k(0xA0, true, 1));  // Shift for a capital
  c.feed(k('X', true, 2));
  c.feed(k('X', false, 3));
  c.feed(k(0xA0, false, 4));
  c.feed(k(0xA2, true, 10));  // Ctrl, with auto-repeat
  c.feed(k(0xA2, true, 11));
  c.feed(k(0xA1, true, 12));  // right Shift
  c.feed(k(0x7B, true, 13));
  c.feed(k(0x7B, true, 14));  // F12 repeats
  c.feed(k(0x7B, false, 15));
  c.feed(k(0xA2, false, 16));
  c.feed(k(0xA1, false, 17));
  const Recording r = c.finish(1'000'000 + 20'000);
  const std::vector<std::pair<EventKind, int>> want = {{D, 0xA0}, {D, 'X'}, {U, 'X'}, {U, 0xA0}};
  EXPECT_EQ(keys_of(r), want);
}

TEST(Capture, F12AloneOrWithOtherModifiersIsRecorded) {
  Capture c(true, {}, 1'000'000);
  c.feed(k(0x7B, true, 1));
  c.feed(k(0x7B, false, 2));
  c.feed(k(0xA2, true, 3));
  c.feed(k(0x7B, true, 4));
  c.feed(k(0x7B, false, 5));
  c.feed(k(0xA2, false, 6));
  const std::vector<std::pair<EventKind, int>> want = {{D, 0x7B}, {U, 0x7B}, {D, 0xA2},
                                                       {D, 0x7B}, {U, 0x7B}, {U, 0xA2}};
  EXPECT_EQ(keys_of(c.finish(1'000'000 + 9000)), want);
}

TEST(Capture, KeysHeldAcrossTheStartOrTheStopAreBalanced) {
  Capture c(false, {}, 1'000'000);
  c.feed(k(0x0D, false, 1));  // Enter that started the recording is released
  c.feed(m(EventKind::ButtonUp, 3, 3, 2, Button::Left));
  c.feed(k('Q', true, 5));
  c.feed(m(EventKind::MouseMove, 100, 200, 6));
  c.feed(m(EventKind::ButtonDown, 100, 200, 7, Button::Right));
  const Recording r = c.finish(1'000'000 + 50'000);
  ASSERT_EQ(r.events.size(), 5u);
  EXPECT_EQ(r.events[0].vk, 'Q');
  EXPECT_EQ(r.events[3].kind, EventKind::KeyUp);
  EXPECT_EQ(r.events[3].vk, 'Q');
  EXPECT_EQ(r.events[3].scan, 'Q' + 0x100);
  EXPECT_EQ(r.events[3].offset_ms, 50u);
  EXPECT_EQ(r.events[4].kind, EventKind::ButtonUp);
  EXPECT_EQ(r.events[4].button, Button::Right);
  EXPECT_EQ(r.events[4].x, r.events[2].x);
  EXPECT_EQ(decode(encode(r)).error, DecodeError::None);
}

TEST(Capture, MouseIsNormalisedToTheVirtualScreenOrLeftOutForKeystrokes) {
  const ScreenRect screen{-1920, -200, 3200, 1224};
  Capture c(false, screen, 1'000'000);
  c.feed(m(EventKind::MouseMove, -1920, -200, 1));
  c.feed(m(EventKind::ButtonDown, 1279, 1023, 2, Button::Left));
  c.feed(m(EventKind::ButtonUp, 1279, 1023, 3, Button::Left));
  c.feed(m(EventKind::Wheel, 0, 0, 4, Button::None, -120));
  c.feed(m(EventKind::Wheel, 0, 0, 5, Button::None, 0));  // nothing to play
  const Recording r = c.finish(1'000'000 + 10'000);
  ASSERT_EQ(r.events.size(), 4u);
  EXPECT_EQ(denormalise(r.events[0].x, screen.left, screen.width), -1920);
  EXPECT_EQ(denormalise(r.events[0].y, screen.top, screen.height), -200);
  EXPECT_EQ(denormalise(r.events[1].x, screen.left, screen.width), 1279);
  EXPECT_EQ(denormalise(r.events[1].y, screen.top, screen.height), 1023);
  EXPECT_EQ(r.events[3].wheel, -120);

  Capture keys(true, screen, 1'000'000);
  keys.feed(m(EventKind::MouseMove, 5, 5, 1));
  keys.feed(k('A', true, 2));
  EXPECT_EQ(keys.finish(1'000'000 + 3000).events.size(), 2u);  // the press and its release
}

TEST(Capture, OffsetsNeverGoBack) {
  Capture c(true, {}, 1'000'000);
  c.feed(k('A', true, 30));
  RawInput early = k('A', false, 0);
  early.time_us = 500;  // before the start, on a clock read late
  c.feed(early);
  const Recording r = c.finish(1'000'000 + 10'000);
  ASSERT_EQ(r.events.size(), 2u);
  EXPECT_EQ(r.events[1].offset_ms, 30u);
  EXPECT_EQ(r.duration_ms, 30u);
}
