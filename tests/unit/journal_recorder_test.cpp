#include <gtest/gtest.h>

#include <thread>

#include "journal/recorder.h"
#include "platform/error.h"
#include "platform/keyboard.h"
#include "tests/fakes/fake_journal_ports.h"
#include "tests/fakes/fake_system.h"

using namespace kv;
using namespace kv::journal;
using namespace kv::fake;

namespace {

Event key(std::uint32_t at, EventKind kind, std::uint8_t vk) {
  Event e;
  e.offset_ms = at;
  e.kind = kind;
  e.vk = vk;
  return e;
}

Recording typed_ab() {
  Recording r;
  r.keystrokes_only = true;
  r.duration_ms = 1000;
  r.events = {key(0, EventKind::KeyDown, 0x10), key(100, EventKind::KeyDown, 'A'), key(180, EventKind::KeyUp, 'A'),
              key(250, EventKind::KeyUp, 0x10), key(600, EventKind::KeyDown, 'B'), key(1000, EventKind::KeyUp, 'B')};
  return r;
}

struct Rig {
  FakeHooks hooks;
  FakeClock clock;
  FakeInjector injector{clock};
  FakeUi ui;
  FakeRecordingFiles files;
  FakeErrorReport errors;
  JournalRecorder recorder{{hooks, injector, clock, ui, files, errors}};
  std::vector<std::string> log;  // errors shown and finishes, in order
  std::vector<std::thread::id> finish_threads;

  struct LoggingErrors : ErrorReport {
    Rig* rig;
    void show_error(const std::string& m) override { rig->log.push_back("error: " + m); }
  };

  Rig() {
    recorder.on_finished = [this](bool cancel) {
      log.push_back(cancel ? "finished cancel" : "finished");
      finish_threads.push_back(std::this_thread::get_id());
    };
  }
  int finishes() const {
    int n = 0;
    for (const auto& l : log)
      if (l.rfind("finished", 0) == 0) ++n;
    return n;
  }
  bool wait_finishes(int n) {
    return ui.run_until([&] { return finishes() >= n; });
  }
  void play(const std::string& file, bool hi) {
    recorder.set_playback_file_name(file);
    recorder.set_hi_speed_playback(hi);
    recorder.start_playback();
  }
};

// The rig with errors logged in order with the finishes.
struct OrderedRig : Rig {
  LoggingErrors ordered;
  JournalRecorder rec{{hooks, injector, clock, ui, files, ordered}};
  OrderedRig() {
    ordered.rig = this;
    rec.on_finished = recorder.on_finished;
  }
};

RawInput user_key(std::uint32_t vk, bool down, std::uint64_t at_us) {
  RawInput r;
  r.kind = down ? EventKind::KeyDown : EventKind::KeyUp;
  r.vk = vk;
  r.time_us = at_us;
  return r;
}

}  // namespace

TEST(JournalRecorder, RecordingWritesACompleteFileWhenStopReturns) {
  Rig r;
  r.recorder.set_record_file_name("C:\\k\\Keys.dat");
  r.recorder.set_keystrokes_only(false);
  r.recorder.start_record();
  EXPECT_TRUE(r.hooks.current().keyboard);
  EXPECT_TRUE(r.hooks.current().mouse);
  const std::uint64_t t0 = r.clock.now_us();
  std::thread hook_thread([&] {
    r.hooks.emit(user_key('H', true, t0 + 20'000));
    r.hooks.emit(user_key('H', false, t0 + 70'000));
    RawInput move;
    move.kind = EventKind::MouseMove;
    move.x = 640;
    move.y = 512;
    move.time_us = t0 + 90'000;
    r.hooks.emit(move);
  });
  hook_thread.join();
  r.clock.advance(250'000);
  r.recorder.stop_record();
  EXPECT_FALSE(r.hooks.current().keyboard);
  EXPECT_FALSE(r.hooks.emit(user_key('Z', true, t0 + 300'000)));
  const auto bytes = r.files.get("C:\\k\\Keys.dat");
  ASSERT_TRUE(bytes);
  const Decoded d = decode(*bytes);
  ASSERT_EQ(d.error, DecodeError::None);
  ASSERT_EQ(d.recording.events.size(), 3u);
  EXPECT_EQ(d.recording.events[0].offset_ms, 20u);
  EXPECT_EQ(d.recording.events[1].offset_ms, 70u);
  EXPECT_EQ(d.recording.events[2].kind, EventKind::MouseMove);
  EXPECT_EQ(denormalise(d.recording.events[2].x, 0, 1280), 640);
  EXPECT_EQ(d.recording.duration_ms, 250u);
  EXPECT_FALSE(d.recording.keystrokes_only);
  // The end of the recording is reported once, through the UI thread.
  EXPECT_EQ(r.finishes(), 0);
  ASSERT_TRUE(r.wait_finishes(1));
  EXPECT_EQ(r.ui.pending(), 0u);
  r.recorder.stop_record();  // nothing to stop: no second report
  EXPECT_EQ(r.ui.pending(), 0u);
}

TEST(JournalRecorder, KeystrokeRecordingHooksOnlyTheKeyboard) {
  Rig r;
  r.recorder.set_record_file_name("k.dat");
  r.recorder.set_keystrokes_only(true);
  r.recorder.start_record();
  EXPECT_TRUE(r.hooks.current().keyboard);
  EXPECT_FALSE(r.hooks.current().mouse);
  r.recorder.stop_record();
  EXPECT_TRUE(decode(*r.files.get("k.dat")).recording.keystrokes_only);
}

TEST(JournalRecorder, ATakeThatCouldNotBeSavedOrWatchedDoesNotStart) {
  Rig r;
  r.files.refuse_writes = true;
  r.recorder.set_record_file_name("C:\\ro\\x.dat");
  try {
    r.recorder.start_record();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Unable to write to C:\\ro\\x.dat");
  }
  EXPECT_FALSE(r.recorder.recording());
  EXPECT_FALSE(r.hooks.current().keyboard);
  r.files.refuse_writes = false;
  r.hooks.refuse = true;
  try {
    r.recorder.start_record();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), kHooksRefused);
  }
  EXPECT_FALSE(r.recorder.recording());
  r.hooks.refuse = false;
  // Neither attempt counts as a recording: no end is reported, and a later take works.
  r.recorder.start_record();
  EXPECT_TRUE(r.recorder.recording());
  EXPECT_TRUE(r.hooks.current().keyboard);
  EXPECT_EQ(r.ui.pending(), 0u);
}

TEST(JournalRecorder, AnUnwritableRecordingIsReportedAndStillEnds) {
  Rig r;
  r.recorder.set_record_file_name("C:\\ro\\x.dat");
  r.recorder.start_record();
  r.files.refuse_writes = true;
  try {
    r.recorder.stop_record();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Unable to write to C:\\ro\\x.dat");
  }
  EXPECT_FALSE(r.recorder.recording());
  EXPECT_TRUE(r.wait_finishes(1));
}

TEST(PlayRecording, RecordedSpeedIsScheduledFromTheStartWithoutDrift) {
  FakeClock clock;
  FakeInjector injector{clock};
  injector.cost_us = 700;  // each send takes time; a relative schedule would drift by it
  std::atomic<bool> cancel{false};
  const std::uint64_t start = clock.now_us();
  const PlayOutcome out = play_recording(typed_ab(), false, injector, clock, cancel);
  EXPECT_FALSE(out.user_cancel);
  EXPECT_TRUE(out.error.empty());
  const auto deadlines = clock.deadlines();
  ASSERT_EQ(deadlines.size(), 6u);
  const auto sent = injector.sent();
  ASSERT_EQ(sent.size(), 6u);
  const Recording rec = typed_ab();
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(deadlines[i], start + rec.events[i].offset_ms * 1000ull) << i;
    ASSERT_EQ(sent[i].batch.size(), 1u);
    EXPECT_EQ(sent[i].batch[0], rec.events[i]);
  }
  // Events whose time has already passed go out at once: the last one is still on time.
  EXPECT_EQ(sent[5].at_us, start + 1'000'000);
}

TEST(PlayRecording, HighSpeedDoesNotWait) {
  FakeClock clock;
  FakeInjector injector{clock};
  std::atomic<bool> cancel{false};
  play_recording(typed_ab(), true, injector, clock, cancel);
  EXPECT_TRUE(clock.deadlines().empty());
  EXPECT_EQ(injector.events(), typed_ab().events);
}

TEST(PlayRecording, CancellingReleasesWhatThePlaybackPressed) {
  FakeClock clock;
  FakeInjector injector{clock};
  std::atomic<bool> cancel{false};
  Recording r = typed_ab();
  Event click;
  click.offset_ms = 120;
  click.kind = EventKind::ButtonDown;
  click.button = Button::Left;
  click.x = 500;
  click.y = 600;
  r.events.insert(r.events.begin() + 2, click);  // Shift, A, left button down, then cancel
  injector.after_send = [&](int i) {
    if (i == 2) cancel = true;
  };
  const PlayOutcome out = play_recording(r, false, injector, clock, cancel);
  EXPECT_TRUE(out.user_cancel);
  EXPECT_TRUE(out.error.empty());
  const auto sent = injector.sent();
  ASSERT_EQ(sent.size(), 4u);
  const auto& release = sent[3].batch;
  ASSERT_EQ(release.size(), 3u);
  EXPECT_EQ(release[0].kind, EventKind::KeyUp);
  EXPECT_EQ(release[0].vk, 'A');
  EXPECT_EQ(release[1].vk, 0x10);
  EXPECT_EQ(release[2].kind, EventKind::ButtonUp);
  EXPECT_EQ(release[2].button, Button::Left);
  EXPECT_EQ(release[2].x, 500);
  EXPECT_EQ(release[2].y, 600);
}

TEST(PlayRecording, RefusedInputStopsWithAMessageAndReleasesKeys) {
  FakeClock clock;
  FakeInjector injector{clock};
  injector.refuse_from = 2;
  std::atomic<bool> cancel{false};
  const PlayOutcome out = play_recording(typed_ab(), true, injector, clock, cancel);
  EXPECT_FALSE(out.user_cancel);
  EXPECT_FALSE(out.error.empty());
  EXPECT_EQ(injector.sent().size(), 2u);  // the release was refused as well, but was tried
}

TEST(JournalRecorder, PlaybackReturnsAtOnceAndFinishesOnceOnTheUiThread) {
  Rig r;
  r.files.put("k.dat", encode(typed_ab()));
  r.clock.hold(true);
  r.play("k.dat", false);
  EXPECT_TRUE(r.recorder.busy());
  ASSERT_TRUE(r.clock.wait_for_blocked_wait());  // the worker waits for the first event's time
  EXPECT_EQ(r.finishes(), 0);
  EXPECT_TRUE(r.hooks.current().keyboard);  // Esc is watched
  EXPECT_FALSE(r.hooks.current().mouse);
  r.clock.hold(false);
  ASSERT_TRUE(r.wait_finishes(1));
  EXPECT_EQ(r.log, (std::vector<std::string>{"finished"}));
  EXPECT_EQ(r.finish_threads[0], std::this_thread::get_id());
  EXPECT_EQ(r.injector.events(), typed_ab().events);
  EXPECT_FALSE(r.recorder.busy());
  EXPECT_FALSE(r.hooks.current().keyboard);
  EXPECT_FALSE(r.ui.run_until([] { return false; }, 100));  // nothing more arrives
  EXPECT_EQ(r.finishes(), 1);
}

TEST(JournalRecorder, MissingForeignOrDamagedFilesShowAMessageThenFinishOnce) {
  OrderedRig r;
  std::string damaged = encode(typed_ab());
  damaged[30] ^= 1;
  r.files.put("bad.dat", damaged);
  r.files.put("foreign.dat", "[Main]\r\nEntries=1\r\n");
  for (const char* f : {"gone.dat", "bad.dat", "foreign.dat"}) {
    r.rec.set_playback_file_name(f);
    r.rec.start_playback();
  }
  ASSERT_TRUE(r.wait_finishes(3));
  EXPECT_EQ(r.log, (std::vector<std::string>{"error: Cannot open file gone.dat", "finished",
                                             "error: The recording bad.dat is damaged", "finished",
                                             "error: foreign.dat is not a Keyvane recording", "finished"}));
  EXPECT_TRUE(r.injector.sent().empty());
}

TEST(JournalRecorder, EscFromTheUserCancelsButEscFromAPlaybackDoesNot) {
  Rig r;
  Recording rec = typed_ab();
  rec.events.insert(rec.events.begin() + 1, key(50, EventKind::KeyDown, kCancelVk));
  rec.events.insert(rec.events.begin() + 2, key(60, EventKind::KeyUp, kCancelVk));
  r.files.put("k.dat", encode(rec));
  // The playback's own Esc comes back through the hook tagged as ours.
  r.injector.after_send = [&](int i) {
    if (i == 1) {
      RawInput own = user_key(kCancelVk, true, 0);
      own.extra_info = kInjectedTag;
      own.injected = true;
      r.hooks.emit(own);
    }
    if (i == 3) r.hooks.emit(user_key(kCancelVk, true, 0));  // after the A press
  };
  r.play("k.dat", false);
  ASSERT_TRUE(r.wait_finishes(1));
  EXPECT_EQ(r.log, (std::vector<std::string>{"finished cancel"}));
  const auto events = r.injector.events();
  ASSERT_EQ(events.size(), 6u);  // Shift, Esc, Esc up, A, then A and Shift released
  EXPECT_EQ(events[4].kind, EventKind::KeyUp);
  EXPECT_EQ(events[4].vk, 'A');
  EXPECT_EQ(events[5].vk, 0x10);
}

TEST(JournalRecorder, APlaybackAskedForDuringAnotherIsQueued) {
  Rig r;
  Recording one = typed_ab();
  Recording two;
  two.keystrokes_only = true;
  two.duration_ms = 10;
  two.events = {key(0, EventKind::KeyDown, 'Z'), key(10, EventKind::KeyUp, 'Z')};
  r.files.put("one.dat", encode(one));
  r.files.put("two.dat", encode(two));
  r.clock.hold(true);
  r.play("one.dat", false);
  r.play("two.dat", true);
  ASSERT_TRUE(r.clock.wait_for_blocked_wait());
  bool busy_at_first_finish = false;
  r.recorder.on_finished = [&](bool) {
    r.log.push_back("finished");
    if (r.log.size() == 1) busy_at_first_finish = r.recorder.busy();
  };
  r.clock.hold(false);
  ASSERT_TRUE(r.wait_finishes(2));
  EXPECT_TRUE(busy_at_first_finish);
  EXPECT_FALSE(r.recorder.busy());
  std::vector<Event> want = one.events;
  want.insert(want.end(), two.events.begin(), two.events.end());
  EXPECT_EQ(r.injector.events(), want);
}

TEST(JournalRecorder, EscAlsoDropsThePlaybacksQueuedBehindTheCancelledOne) {
  Rig r;
  Recording two;
  two.keystrokes_only = true;
  two.duration_ms = 10;
  two.events = {key(0, EventKind::KeyDown, 'Z'), key(10, EventKind::KeyUp, 'Z')};
  r.files.put("one.dat", encode(typed_ab()));
  r.files.put("two.dat", encode(two));
  r.clock.hold(true);
  r.play("one.dat", false);
  r.play("two.dat", true);
  r.play("two.dat", true);
  ASSERT_TRUE(r.clock.wait_for_blocked_wait());
  ASSERT_TRUE(r.hooks.emit(user_key(kCancelVk, true, 0)));
  r.clock.hold(false);
  ASSERT_TRUE(r.wait_finishes(3));
  // One OnFinished per playback asked for, all cancelled; nothing of the queued ones was played.
  EXPECT_EQ(r.log, (std::vector<std::string>{"finished cancel", "finished cancel", "finished cancel"}));
  EXPECT_TRUE(r.injector.events().empty());
  EXPECT_FALSE(r.recorder.busy());
  EXPECT_FALSE(r.hooks.current().keyboard);
  EXPECT_FALSE(r.ui.run_until([] { return false; }, 100));
  EXPECT_EQ(r.finishes(), 3);
  // The next playback asked for runs normally.
  r.play("two.dat", true);
  ASSERT_TRUE(r.wait_finishes(4));
  EXPECT_EQ(r.log.back(), "finished");
  EXPECT_EQ(r.injector.events(), two.events);
}

TEST(JournalRecorder, EscBetweenThePlaybacksEndAndItsReportStillDropsTheQueue) {
  Rig r;
  r.files.put("k.dat", encode(typed_ab()));
  r.play("k.dat", true);
  r.play("k.dat", true);
  // The first playback has played everything; its report waits on the UI thread.
  ASSERT_TRUE(r.ui.wait_pending());
  ASSERT_TRUE(r.hooks.emit(user_key(kCancelVk, true, 0)));
  ASSERT_TRUE(r.wait_finishes(2));
  EXPECT_EQ(r.log, (std::vector<std::string>{"finished", "finished cancel"}));
  EXPECT_EQ(r.injector.events(), typed_ab().events);
  EXPECT_FALSE(r.recorder.busy());
}

TEST(JournalRecorder, DestroyingItDuringAPlaybackEndsTheWorker) {
  Rig r;
  r.files.put("k.dat", encode(typed_ab()));
  r.clock.hold(true);
  auto rec = std::make_unique<JournalRecorder>(JournalPorts{r.hooks, r.injector, r.clock, r.ui, r.files, r.errors});
  rec->set_playback_file_name("k.dat");
  rec->start_playback();
  ASSERT_TRUE(r.clock.wait_for_blocked_wait());
  rec.reset();  // wakes the wait and joins the worker
  EXPECT_TRUE(r.injector.sent().empty());
  EXPECT_FALSE(r.hooks.current().keyboard);
}
