// The journal recorder under the runner and the script player: an advanced script that runs
// keystroke macros by name reports its end only after their playbacks ended.
#include <gtest/gtest.h>

#include "engine/runner.h"
#include "engine/script_player.h"
#include "journal/recorder.h"
#include "sendkey/send_key.h"
#include "store/macro_store.h"
#include "tests/fakes/fake_journal_ports.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

using namespace kv;
using namespace kv::journal;
using namespace kv::fake;

namespace {

// The UI thread's queue as the runner's wait sees it: the recorder's posts arrive there.
struct BridgePump : MessagePump {
  FakeEventLoop& loop;
  FakeUi& ui;
  int waits = 0;
  std::function<void()> on_wait;
  BridgePump(FakeEventLoop& l, FakeUi& u) : loop(l), ui(u) {}
  void process_messages() override {
    loop.process_messages();
    ui.run_pending();
  }
  void wait_for_message() override {
    ++waits;
    if (on_wait) on_wait();
    if (!ui.wait_pending()) throw std::runtime_error("waited for a message that never came");
  }
  void wait_for_message_or_timeout(unsigned ms) override { loop.wait_for_message_or_timeout(ms); }
  void sleep_ms(unsigned ms) override { loop.sleep_ms(ms); }
  bool terminated() override { return false; }
};

Recording press(std::uint8_t vk, std::uint32_t at_ms) {
  Recording r;
  r.keystrokes_only = true;
  r.duration_ms = at_ms + 10;
  Event d;
  d.offset_ms = at_ms;
  d.kind = EventKind::KeyDown;
  d.vk = vk;
  Event u = d;
  u.offset_ms = at_ms + 10;
  u.kind = EventKind::KeyUp;
  r.events = {d, u};
  return r;
}

struct Rig {
  FakeEventLoop loop;
  FakeUi ui;
  BridgePump pump{loop, ui};
  FakeKeyboard kb;
  SendKeyShared shared;
  TSendKey sender{kb, loop, nullptr, shared};
  FakeProfileStore profile;
  FakeFileSystem files;
  FakeShell shell;
  FakeWindows windows;
  FakePrompt prompt;
  FakeDateTime datetime;
  FakeHooks hooks;
  FakeClock clock;
  FakeInjector injector{clock};
  FakeRecordingFiles dat;
  FakeErrorReport errors;
  JournalRecorder recorder{{hooks, injector, clock, ui, dat, errors}};
  std::vector<std::string> log;  // statuses, and each recorded key as it is played
  FakeTimer& tmr1 = loop.make_timer([this] { player.DelayTimerTick(); });
  MacroRunner runner{{profile, files, shell, recorder, pump, [this](const std::string& s) { log.push_back(s); }}};
  ScriptPlayer player{{sender, pump, loop, tmr1, profile, windows, shell, prompt, datetime,
                       [this](int n) { runner.ProcessHotKey(n); }}};

  Rig() {
    runner.set_player(&player);
    recorder.on_finished = [this](bool) { runner.RecorderFinished(); };
    injector.after_send = [this](int) {
      const auto e = injector.events().back();
      // The mouse macro's key is played while the UI thread waits, so the count is stable.
      if (e.kind == EventKind::KeyDown)
        log.push_back(std::string("played ") + static_cast<char>(e.vk) +
                      (e.vk == 'M' ? " after " + std::to_string(kb.events.size()) : ""));
    };
  }
  void macro(int n, const std::string& name, int type, const std::string& file) {
    const std::string s = macro_section(n);
    profile.write_string(s, "Name", name);
    profile.write_string(s, "Type", std::to_string(type));
    profile.write_string(s, "FileName", file);
    profile.write_string("Main", "Entries", std::to_string(n));
  }
};

}  // namespace

TEST(JournalUnderScripts, AScriptReportsItsEndOnlyAfterThePlaybacksItStarted) {
  Rig r;
  r.macro(1, "Keys", 3, "Keys.dat");
  r.macro(2, "Mouse", 3, "Mouse.dat");
  r.macro(3, "Outer", 4, "Outer.key");
  r.dat.put(r.files.dir + "Keys.dat", encode(press('K', 0)));
  r.dat.put(r.files.dir + "Mouse.dat", encode(press('M', 400)));
  r.files.files[r.files.dir + "Outer.key"] = "<<RUN:Keys>><<RUN:Mouse>>ab";
  // Both play at their recorded speed, and wait until the script, having typed the rest of
  // its text, waits for them; the second was queued behind the first.
  r.clock.hold(true);
  r.pump.on_wait = [&] { r.clock.hold(false); };
  r.runner.ProcessHotKey(3);
  const std::string typed = std::to_string(r.kb.events.size());
  ASSERT_EQ(typed, "4");
  // The playbacks' end is the script's to report: once, after both.
  EXPECT_EQ(r.log, (std::vector<std::string>{"played K", "played M after 4", "NoRecord"}));
  EXPECT_TRUE(r.runner.journal_idle());
  EXPECT_GE(r.pump.waits, 1);
  EXPECT_TRUE(r.errors.shown.empty());
}

TEST(JournalUnderScripts, AMissingRecordingStillLetsTheScriptEnd) {
  Rig r;
  r.macro(1, "Keys", 2, "Gone.dat");
  r.macro(2, "Outer", 4, "Outer.key");
  r.files.files[r.files.dir + "Outer.key"] = "<<RUN:Keys>>";
  r.runner.ProcessHotKey(2);
  EXPECT_EQ(r.errors.shown, (std::vector<std::string>{"Cannot open file " + r.files.dir + "Gone.dat"}));
  EXPECT_EQ(r.log, (std::vector<std::string>{"NoRecord"}));
}

TEST(JournalUnderScripts, EscEndsThePlaybackAndTheOneQueuedBehindItAndTheScriptEnds) {
  Rig r;
  r.macro(1, "Keys", 3, "Keys.dat");
  r.macro(2, "Mouse", 3, "Mouse.dat");
  r.macro(3, "Outer", 4, "Outer.key");
  r.dat.put(r.files.dir + "Keys.dat", encode(press('K', 300)));
  r.dat.put(r.files.dir + "Mouse.dat", encode(press('M', 0)));
  r.files.files[r.files.dir + "Outer.key"] = "<<RUN:Keys>><<RUN:Mouse>>ab";
  // The user presses Esc while the script waits and the first playback waits for its key.
  r.clock.hold(true);
  bool pressed = false;
  r.pump.on_wait = [&] {
    if (pressed) return;
    pressed = true;
    ASSERT_TRUE(r.clock.wait_for_blocked_wait());
    RawInput esc;
    esc.kind = EventKind::KeyDown;
    esc.vk = kCancelVk;
    ASSERT_TRUE(r.hooks.emit(esc));
    r.clock.hold(false);
  };
  r.runner.ProcessHotKey(3);
  // The script reports the end, once both playbacks have ended.
  EXPECT_EQ(r.log, (std::vector<std::string>{"NoRecord"}));
  EXPECT_TRUE(r.injector.events().empty());
  EXPECT_TRUE(r.runner.journal_idle());
  EXPECT_FALSE(r.recorder.busy());
}
