#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/host_state.h"
#include "store/macro_store.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

using namespace kv;
using namespace kv::fake;
using Args = std::vector<std::string>;

TEST(SplitCommandLine, QuotesPairsAndControlRuns) {
  EXPECT_EQ(split_command_line("Keyvane.exe /Open:\"Daily Report\" /Close"),
            (Args{"Keyvane.exe", "/Open:Daily Report", "/Close"}));
  EXPECT_EQ(split_command_line("\"C:\\Program Files\\Keyvane.exe\"  \t\r\n Report"),
            (Args{"C:\\Program Files\\Keyvane.exe", "Report"}));
  EXPECT_EQ(split_command_line("k \"\"\"\"abc \"\"x"), (Args{"k", "abc", "x"}));
  EXPECT_EQ(split_command_line("k a\"b c\"d \"e"), (Args{"k", "ab cd", "e"}));
  EXPECT_EQ(split_command_line("k /OPEN:\"   Report   \""), (Args{"k", "/OPEN:   Report   "}));
  EXPECT_EQ(split_command_line("k \x01\x02 a\x7f"), (Args{"k", "a\x7f"}));
  EXPECT_EQ(split_command_line("   "), Args{});
  EXPECT_EQ(split_command_line("k \"\""), Args{"k"});
  // Empty arguments are dropped without losing the ones after them.
  EXPECT_EQ(split_command_line("k \"\" /Close"), (Args{"k", "/Close"}));
  EXPECT_EQ(split_command_line("k \"\t"), (Args{"k", "\t"}));
  EXPECT_EQ(split_command_line("k \""), (Args{"k"}));
  EXPECT_EQ(split_command_line("k \"\"\" x"), (Args{"k", " x"}));
}

TEST(CommandLineNames, SwitchesAndWantedNames) {
  EXPECT_TRUE(is_close_switch("/Close"));
  EXPECT_TRUE(is_close_switch("/close"));
  EXPECT_TRUE(is_close_switch("/CLOSEALL"));
  EXPECT_FALSE(is_close_switch("/Clos"));
  EXPECT_EQ(wanted_name("/Open:daily REPORT"), "DAILY REPORT");
  EXPECT_EQ(wanted_name("/open:   Report   "), "REPORT");
  EXPECT_EQ(wanted_name("  Report "), "  REPORT ");
  EXPECT_EQ(wanted_name("/Open:"), "");
  EXPECT_EQ(wanted_name("/x"), "/X");
  EXPECT_EQ(wanted_name("r\xE9sum\xE9"), "R\xE9SUM\xE9");
  const std::string longname(200, 'a');
  EXPECT_EQ(wanted_name("/OPEN:" + longname), std::string(150, 'A'));
}

namespace {
struct Rig {
  FakeProfileStore profile;
  FakeEventLoop loop;
  std::vector<int> ran;
  std::function<void(int)> run = [this](int n) { ran.push_back(n); };
  void names(const std::vector<std::string>& names, bool with_entries = true) {
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i] != "<none>") profile.write_string(macro_section(static_cast<int>(i + 1)), "Name", names[i]);
    if (with_entries) profile.write_string("Main", "Entries", std::to_string(names.size()));
  }
};
}  // namespace

TEST(DoCommandLine, MatchesEveryMacroOfTheNameInOrder) {
  Rig r;
  // The profile service hands values back without trailing blanks, so macro 4 matches too.
  r.names({"Daily Report", "Other", "daily report", "DAILY REPORT ", "R\xC9SUM\xC9", "Daily  Report"});
  EXPECT_FALSE(DoCommandLine({"/Open:daily REPORT"}, r.profile, r.loop, r.run).close_when_done);
  EXPECT_EQ(r.ran, (std::vector<int>{1, 3, 4}));
  // Messages are processed after every macro examined, matched or not.
  EXPECT_EQ(r.loop.process_calls, 6);
  r.ran.clear();
  const CommandLineOutcome o =
      DoCommandLine({"/Close", "other", "/OPEN:   Other   ", "r\xE9sum\xE9"}, r.profile, r.loop, r.run);
  EXPECT_TRUE(o.close_when_done);
  EXPECT_EQ(o.runs, 2);
  // Names are reported as given: a name that differs only in non-ASCII case matched nothing.
  EXPECT_EQ(o.unmatched, Args{"r\xE9sum\xE9"});
  EXPECT_EQ(r.ran, (std::vector<int>{2, 2}));
  // Arguments run in their own order, not in the order of the macros they name.
  r.ran.clear();
  DoCommandLine({"/Open:Other", "/Open:Daily Report", "OTHER"}, r.profile, r.loop, r.run);
  EXPECT_EQ(r.ran, (std::vector<int>{2, 1, 3, 4, 2}));
}

TEST(DoCommandLine, MacrosBeyondTheHotkeyRangeRunByName) {
  Rig r;
  std::vector<std::string> names(100, "x");
  names.push_back("Last");
  r.names(names);
  DoCommandLine({"/Open:Last", "last", "/OPEN: LAST "}, r.profile, r.loop, r.run);
  EXPECT_EQ(r.ran, (std::vector<int>{101, 101, 101}));
}

TEST(DoCommandLine, EmptyOpenNameMatchesNamelessMacrosAndCloseAloneRunsNothing) {
  Rig r;
  r.names({"A", "<none>", ""});
  EXPECT_FALSE(DoCommandLine({"/Open:"}, r.profile, r.loop, r.run).close_when_done);
  EXPECT_EQ(r.ran, (std::vector<int>{2, 3}));
  r.ran.clear();
  const CommandLineOutcome alone = DoCommandLine({"/CLOSE"}, r.profile, r.loop, r.run);
  EXPECT_TRUE(alone.close_when_done);
  EXPECT_TRUE(r.ran.empty());
  // /CLOSE names no macro, so there is nothing to report as missing.
  EXPECT_TRUE(alone.unmatched.empty());
  EXPECT_FALSE(DoCommandLine({}, r.profile, r.loop, r.run).close_when_done);
}

TEST(DoCommandLine, WithoutEntriesNothingRuns) {
  Rig r;
  r.names({"A"}, false);
  const CommandLineOutcome o = DoCommandLine({"A", "/Open:  Daily  Report ", "/Close"}, r.profile, r.loop, r.run);
  EXPECT_TRUE(r.ran.empty());
  EXPECT_EQ(o.runs, 0);
  EXPECT_EQ(o.unmatched, (Args{"A", "Daily  Report"}));
}

TEST(HostState, CloseRuleNeedsExactStatus) {
  HostState h;
  EXPECT_FALSE(h.PlaybackTimerTimer());
  h.RecordFinished("NoRecord");
  EXPECT_FALSE(h.PlaybackTimerTimer());
  h.set_close_when_done(true);
  EXPECT_TRUE(h.PlaybackTimerTimer());
  h.RecordFinished("true");
  EXPECT_FALSE(h.PlaybackTimerTimer());
  h.RecordFinished("True");
  EXPECT_TRUE(h.PlaybackTimerTimer());
  // A command-line macro that failed reports no status: the instance ends all the same.
  HostState failed;
  failed.command_line_run_failed();
  EXPECT_FALSE(failed.PlaybackTimerTimer());
  failed.set_close_when_done(true);
  EXPECT_TRUE(failed.PlaybackTimerTimer());
  EXPECT_FALSE(h.open_enabled());
  h.enable_open();
  EXPECT_TRUE(h.open_enabled());
}
