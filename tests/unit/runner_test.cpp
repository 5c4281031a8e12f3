#include <gtest/gtest.h>

#include "engine/runner.h"
#include "platform/error.h"
#include "store/macro_store.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

using namespace kv;
using namespace kv::fake;

namespace {

class RecordingPlayer : public ScriptPlayerEntry {
 public:
  std::vector<std::string> scripts;
  int clears = 0;
  std::function<void(const std::string&)> during;
  void SendKeys(const std::string& script) override {
    scripts.push_back(script);
    if (during) during(script);
  }
  void clear_script_value() override { ++clears; }
};

struct RunnerRig {
  FakeProfileStore profile;
  FakeFileSystem files;
  FakeShell shell;
  FakeJournal journal;
  FakeEventLoop loop;
  RecordingPlayer player;
  std::vector<std::string> statuses;
  MacroRunner runner{{profile, files, shell, journal, loop, [this](const std::string& s) { statuses.push_back(s); }}};

  RunnerRig() {
    runner.set_player(&player);
    journal.on_finished = [this](bool) { runner.RecorderFinished(); };
  }
  void macro(int n, int type, const std::string& file, const std::string& speed = "") {
    const std::string s = macro_section(n);
    if (type) profile.write_string(s, "Type", std::to_string(type));
    profile.write_string(s, "FileName", file);
    if (!speed.empty()) profile.write_string(s, "Speed", speed);
  }
};

}  // namespace

TEST(Runner, KindOneGoesToTheShellUnchangedAndReportsNoRecord) {
  RunnerRig r;
  r.macro(1, 1, "http://example.com/a b?c=1");
  r.runner.ProcessHotKey(1);
  EXPECT_EQ(r.shell.opened, (std::vector<std::string>{"http://example.com/a b?c=1"}));
  EXPECT_EQ(r.statuses, (std::vector<std::string>{"NoRecord"}));
  EXPECT_TRUE(r.journal.calls.empty());
}

TEST(Runner, JournalKindsSetFileSpeedAndIdleFlagAndReportNothing) {
  struct Case {
    int type;
    std::string speed;
    bool hi;
  };
  const Case cases[] = {{2, "", true},  {2, "1", true}, {3, "", false}, {3, "1", false},
                        {3, "2", true}, {3, "0", true}, {3, "7", true}, {3, "0x1", false}};
  for (const Case& c : cases) {
    RunnerRig r;
    r.macro(5, c.type, "Keys.dat", c.speed);
    r.journal.finish();  // an earlier playback ended: the flag is up
    r.statuses.clear();
    r.runner.ProcessHotKey(5);
    ASSERT_EQ(r.journal.calls.size(), 1u);
    EXPECT_EQ(r.journal.calls[0].what, "play");
    EXPECT_EQ(r.journal.calls[0].file, r.files.dir + "Keys.dat");
    EXPECT_EQ(r.journal.calls[0].hi_speed, c.hi) << "type " << c.type << " speed '" << c.speed << "'";
    EXPECT_FALSE(r.runner.journal_idle());
    EXPECT_TRUE(r.statuses.empty());
    r.journal.finish(true);
    EXPECT_TRUE(r.runner.journal_idle());
    EXPECT_EQ(r.statuses, (std::vector<std::string>{"True"}));
  }
}

TEST(Runner, UnknownKindsAndNumbersRunNothing) {
  RunnerRig r;
  r.macro(1, 0, "x");
  r.macro(2, 5, "x");
  r.macro(3, 0, "x");
  r.profile.write_string("Macro3", "Type", "four");
  r.profile.write_string("Main", "Entries", "3");
  for (int n : {0, 1, 2, 3, 4, -1}) r.runner.ProcessHotKey(n);
  EXPECT_TRUE(r.shell.opened.empty());
  EXPECT_TRUE(r.journal.calls.empty());
  EXPECT_TRUE(r.player.scripts.empty());
  EXPECT_TRUE(r.statuses.empty());
}

TEST(Runner, ScriptFileIsReadFromTheProgramFolderJoinedWithCrLf) {
  RunnerRig r;
  r.macro(1, 4, "Report.key");
  r.files.files[r.files.dir + "Report.key"] = "Hello\nWorld\r\n<<ENTER>>\rEnd";
  r.runner.ProcessHotKey(1);
  ASSERT_EQ(r.player.scripts.size(), 1u);
  EXPECT_EQ(r.player.scripts[0], "Hello\r\nWorld\r\n<<ENTER>>\r\nEnd\r\n");
  EXPECT_EQ(r.player.clears, 1);
  EXPECT_EQ(r.statuses, (std::vector<std::string>{"NoRecord"}));
}

TEST(Runner, FullPathFileNameStillGetsTheProgramFolderInFront) {
  RunnerRig r;
  r.macro(1, 4, "C:\\x.key");
  r.files.files["C:\\x.key"] = "elsewhere";
  try {
    r.runner.ProcessHotKey(1);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + r.files.dir + "C:\\x.key");
  }
  EXPECT_TRUE(r.statuses.empty());
  EXPECT_TRUE(r.runner.journal_idle());
  EXPECT_TRUE(r.player.scripts.empty());
}

TEST(Runner, ScriptErrorAbandonsTheRunWithoutStatus) {
  RunnerRig r;
  r.macro(1, 4, "Bad.key");
  r.files.files[r.files.dir + "Bad.key"] = "<<SECSx>>";
  r.player.during = [](const std::string&) { throw Error("'x' is not a valid integer value"); };
  EXPECT_THROW(r.runner.ProcessHotKey(1), Error);
  EXPECT_TRUE(r.statuses.empty());
  EXPECT_TRUE(r.runner.journal_idle());
}

TEST(Runner, ScriptWaitsForAJournalMacroItStartedBeforeReportingItsEnd) {
  RunnerRig r;
  r.macro(1, 4, "Outer.key");
  r.macro(2, 2, "Keys.dat");
  r.files.files[r.files.dir + "Outer.key"] = "<<RUN:Keys>>rest";
  // The script starts macro 2 by name; its playback ends 3 s later, on the UI thread.
  r.player.during = [&](const std::string&) {
    r.runner.ProcessHotKey(2);
    r.loop.post_at(r.loop.now_ms() + 3000, [&] { r.journal.finish(); });
  };
  r.runner.ProcessHotKey(1);
  // The playback's end is not reported on its own while the script that started it runs.
  EXPECT_EQ(r.statuses, (std::vector<std::string>{"NoRecord"}));
  EXPECT_GE(r.loop.now_ms(), 3000u);
  // The wait blocks between passes instead of spinning.
  EXPECT_LE(r.loop.process_calls, 5);
}

TEST(Runner, ScriptWaitsForEveryJournalMacroItStartedNotJustTheFirst) {
  RunnerRig r;
  r.macro(1, 4, "Outer.key");
  r.macro(2, 2, "One.dat");
  r.macro(3, 3, "Two.dat");
  r.files.files[r.files.dir + "Outer.key"] = "<<RUN:One>><<RUN:Two>>";
  // The control queues the second playback behind the first: it is busy until both ended.
  r.player.during = [&](const std::string&) {
    r.runner.ProcessHotKey(2);
    r.runner.ProcessHotKey(3);
    r.journal.busy_ = true;
    r.loop.post_at(r.loop.now_ms() + 1000, [&] { r.journal.finish(); });
    r.loop.post_at(r.loop.now_ms() + 4000, [&] {
      r.journal.busy_ = false;
      r.journal.finish();
    });
  };
  r.runner.ProcessHotKey(1);
  // The script's end is reported once the second one ended.
  EXPECT_EQ(r.statuses, (std::vector<std::string>{"NoRecord"}));
  EXPECT_GE(r.loop.now_ms(), 4000u);
  EXPECT_TRUE(r.runner.journal_idle());
}

TEST(ScriptLines, JoiningRules) {
  EXPECT_EQ(join_script_lines(""), "");
  EXPECT_EQ(join_script_lines("a"), "a\r\n");
  EXPECT_EQ(join_script_lines("a\r\n"), "a\r\n");
  EXPECT_EQ(join_script_lines("a\n\nb"), "a\r\n\r\nb\r\n");
  EXPECT_EQ(join_script_lines("a\r\rb"), "a\r\n\r\nb\r\n");
  EXPECT_EQ(join_script_lines("a\n\rb"), "a\r\n\r\nb\r\n");
  EXPECT_EQ(join_script_lines(std::string("ab\0cd", 5)), "ab\r\n");
}

TEST(Runner, AWizardTakeOrTestPlaybackEndingMeanwhileNeitherEndsARunNorReleasesAWaitingScript) {
  RunnerRig r;
  r.macro(1, 4, "Outer.key");
  r.macro(2, 2, "Keys.dat");
  r.files.files[r.files.dir + "Outer.key"] = "<<RUN:Keys>>";
  // A test playback from the wizard is playing; the script's playback is queued behind it.
  r.player.during = [&](const std::string&) {
    r.journal.busy_ = true;
    r.runner.ProcessHotKey(2);
    r.loop.post_at(r.loop.now_ms() + 1000, [&] { r.journal.finish(); });  // the wizard's
    r.loop.post_at(r.loop.now_ms() + 3000, [&] {
      r.journal.busy_ = false;
      r.journal.finish();  // the script's own
    });
  };
  r.runner.ProcessHotKey(1);
  EXPECT_EQ(r.statuses, (std::vector<std::string>{"NoRecord"}));
  EXPECT_GE(r.loop.now_ms(), 3000u);

  // A /CLOSE run's playback is under way when a wizard take ends: no "True" until it has ended.
  RunnerRig c;
  c.macro(1, 2, "Keys.dat");
  c.runner.ProcessHotKey(1);
  c.journal.busy_ = true;
  c.journal.finish();  // the take's end
  EXPECT_TRUE(c.statuses.empty());
  EXPECT_FALSE(c.runner.journal_idle());
  c.journal.busy_ = false;
  c.journal.finish();
  EXPECT_EQ(c.statuses, (std::vector<std::string>{"True"}));
  EXPECT_TRUE(c.runner.journal_idle());
}
