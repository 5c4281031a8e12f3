#include <gtest/gtest.h>

#include "platform/error.h"
#include "store/macro_store.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"
#include "triggers/title_poll.h"

using namespace kv;
using namespace kv::fake;

namespace {

class CountingWatch : public StoreWatch {
 public:
  std::uint64_t value = 1;
  std::uint64_t stamp() override { return value; }
};

struct Rig {
  FakeProfileStore profile;
  FakeWindows windows;
  FakeEventLoop loop;
  FakeErrorReport errors;
  CountingWatch watch;
  std::vector<int> ran;
  std::function<void(int)> during;
  TitlePoll poll{{profile, windows, loop, errors,
                  [this](int n) {
                    ran.push_back(n);
                    if (during) during(n);
                  },
                  nullptr}};

  void triggers(const std::vector<std::string>& titles) {
    profile.write_string("Main", "Entries", std::to_string(titles.size()));
    for (std::size_t i = 0; i < titles.size(); ++i) {
      const std::string s = macro_section(static_cast<int>(i) + 1);
      profile.write_string(s, "Name", "M" + std::to_string(i + 1));
      profile.write_string(s, "Trigger", titles[i]);
      profile.write_string(s, "FoundHandle", "");
    }
  }
  std::string found(int n) { return profile.read_string(macro_section(n), "FoundHandle", ""); }
};

std::string dec(WindowHandle h) {
  return std::to_string(h);
}

}  // namespace

TEST(TitlePoll, OncePerWindowHandleRecordedBeforeTheRun) {
  Rig r;
  r.triggers({"  notepad ", "", "Other"});
  r.poll.Timer1Timer();
  EXPECT_TRUE(r.ran.empty());
  const WindowHandle a = r.windows.add("Notepad");
  r.windows.add("Notepad - notes.txt");
  std::vector<std::string> found_at_run;
  r.during = [&](int n) { found_at_run.push_back(r.found(n)); };
  r.poll.Timer1Timer();
  r.poll.Timer1Timer();  // still open: no second run
  EXPECT_EQ(r.ran, (std::vector<int>{1}));
  r.windows.remove(a);
  const WindowHandle b = r.windows.add("NOTEPAD");
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1, 1}));
  EXPECT_EQ(r.found(1), dec(a) + "," + dec(b));
  EXPECT_EQ(found_at_run, (std::vector<std::string>{dec(a), dec(a) + "," + dec(b)}));
}

TEST(TitlePoll, HiddenWindowRunsOnceWhenShown) {
  Rig r;
  r.triggers({"Report"});
  const WindowHandle w = r.windows.add("Report", false);
  r.poll.Timer1Timer();
  EXPECT_TRUE(r.ran.empty());
  EXPECT_EQ(r.found(1), "");
  r.windows.get(w)->visible = true;
  r.poll.Timer1Timer();
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1}));
}

TEST(TitlePoll, TwoMacrosOnOneTitleRunInOrderAndOnlyTopmostIsExamined) {
  Rig r;
  r.triggers({"Daily", "x", "DAILY"});
  const WindowHandle lower = r.windows.add("Daily");
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1, 3}));
  // A second window further down the order, while the topmost one is recorded: not looked at.
  r.windows.remove(lower);
  const WindowHandle second = r.windows.add("daily");
  const WindowHandle top = r.windows.add("Daily");
  r.ran.clear();
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1, 3}));
  EXPECT_EQ(r.found(1), dec(lower) + "," + dec(top));
  r.ran.clear();
  r.poll.Timer1Timer();
  EXPECT_TRUE(r.ran.empty());
  (void)second;
}

TEST(TitlePoll, NestedPollDuringARunDoesNotRunTwice) {
  Rig r;
  r.triggers({"Target", "Target"});
  r.windows.add("Target");
  int nested = 0;
  r.during = [&](int n) {
    if (n == 1 && nested++ == 0) {
      // The macro plays and processes messages: a timer tick starts another poll.
      r.loop.post([&] { r.poll.Timer1Timer(); });
      r.loop.process_messages();
    }
  };
  r.poll.Timer1Timer();
  // The nested poll ran macro 2 (not yet recorded); the outer one then finds it recorded.
  EXPECT_EQ(r.ran, (std::vector<int>{1, 2}));
}

TEST(TitlePoll, NestedPollDuringTheMessagePassIsSeenBeforeDeciding) {
  Rig r;
  r.triggers({"Target"});
  r.windows.add("Target");
  // A tick queued before the poll: it is dispatched in the outer poll's message pass, runs and
  // records the macro; the outer poll must read FoundHandle after that pass.
  r.loop.post([&] { r.poll.Timer1Timer(); });
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1}));
}

TEST(TitlePoll, ErrorLeavesTheWindowRecorded) {
  Rig r;
  r.triggers({"Target"});
  r.windows.add("Target");
  r.during = [](int) { throw Error("Invalid token"); };
  EXPECT_THROW(r.poll.Timer1Timer(), Error);
  r.during = nullptr;
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran.size(), 1u);
}

TEST(TitlePoll, FoundHandleStaysWithinWhatAReadReturns) {
  Rig r;
  r.triggers({"Busy"});
  // Close to full with windows that are gone; one still open (oldest) and one retitled.
  const WindowHandle keep_open = r.windows.add("Busy");
  const WindowHandle retitled = r.windows.add("Something else");
  std::string found = dec(keep_open) + "," + dec(retitled);
  for (WindowHandle h = 5000000; found.size() < 1015; ++h) found += "," + std::to_string(h);
  r.profile.write_string("Macro1", "FoundHandle", found);
  // Windows with the title come and go; each runs the macro once, however many came before.
  for (int i = 0; i < 300; ++i) {
    const WindowHandle w = r.windows.add("Busy");
    r.poll.Timer1Timer();
    ASSERT_EQ(r.ran.size(), static_cast<std::size_t>(i) + 1) << "window " << i;
    const std::string now = r.found(1);
    ASSERT_LE(now.size(), kFoundHandleLimit);
    ASSERT_TRUE(found_handle_contains(now, w));
    r.poll.Timer1Timer();  // and only once
    ASSERT_EQ(r.ran.size(), static_cast<std::size_t>(i) + 1);
    r.windows.remove(w);
    r.poll.Timer1Timer();  // the one left open, recorded long ago, does not run again
    ASSERT_EQ(r.ran.size(), static_cast<std::size_t>(i) + 1);
  }
  // Handles of closed windows went first; the window that still shows the title is kept.
  const std::string last = r.found(1);
  EXPECT_FALSE(found_handle_contains(last, 5000000));
  EXPECT_TRUE(found_handle_contains(last, retitled));  // gone ones sufficed
  EXPECT_TRUE(found_handle_contains(last, keep_open));
}

TEST(TitlePoll, AppendDropsByStandingThenAge) {
  auto standing = [](const std::string& e) {
    if (e == "x") return HandleStanding::Gone;
    return e[0] == '1' ? HandleStanding::Showing : HandleStanding::Retitled;
  };
  const std::string s510(510, '1'), s450(450, '1'), s300(300, '1'), r500(500, '2'), r300(300, '2');
  EXPECT_EQ(append_found_handle("", 42, standing), "42");
  EXPECT_EQ(append_found_handle("1,2", 42, standing), "1,2,42");
  // 1025 characters: the gone entry goes, though it is the newest.
  EXPECT_EQ(append_found_handle(s510 + "," + r500 + ",x", 4294967295u, standing), s510 + "," + r500 + ",4294967295");
  // A retitled window goes before older ones that still show the title.
  EXPECT_EQ(append_found_handle(s450 + "," + r300 + "," + s300, 7, standing), s450 + "," + s300 + ",7");
  // Among equals, the oldest goes.
  EXPECT_EQ(append_found_handle(std::string(600, '1') + "," + std::string(500, '1'), 7, standing),
            std::string(500, '1') + ",7");
  EXPECT_FALSE(found_handle_contains("12,345", 34));
  EXPECT_TRUE(found_handle_contains("12,345", 345));
  EXPECT_FALSE(found_handle_contains("", 0));
}

TEST(TitlePoll, RefusedRecordIsReportedOnceAndStillRunsOncePerWindow) {
  Rig r;
  r.triggers({"Target"});
  r.windows.add("Target");
  r.profile.set_read_only(true);
  r.poll.Timer1Timer();
  r.poll.Timer1Timer();
  r.windows.add("Target");
  r.poll.Timer1Timer();
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1, 1}));
  EXPECT_EQ(r.errors.shown, (std::vector<std::string>{"Unable to write to macros.ini"}));
}

TEST(TitlePoll, TriggersAreReadAgainWhenTheStoreChanges) {
  Rig r;
  TitlePoll poll{{r.profile, r.windows, r.loop, r.errors, [&](int n) { r.ran.push_back(n); }, &r.watch}};
  r.triggers({"First"});
  r.windows.add("Second");
  poll.Timer1Timer();
  const int reads = r.profile.reads();
  poll.Timer1Timer();
  EXPECT_EQ(r.profile.reads(), reads);  // nothing found, store unchanged: no reads at all
  r.profile.write_string("Macro1", "Trigger", "Second");
  poll.Timer1Timer();
  EXPECT_TRUE(r.ran.empty());  // the watch has not moved yet
  ++r.watch.value;
  poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1}));
  // A change the watch cannot see is picked up by the periodic full read.
  r.windows.add("Third");
  r.profile.write_string("Macro1", "Trigger", "Third");
  for (int i = 0; i < TitlePoll::kRereadEvery; ++i) poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1, 1}));
}

TEST(TitlePoll, WindowsOpenedByAMacroAreSeenByLaterMacrosOfTheSamePoll) {
  Rig r;
  r.triggers({"Starter", "Opened"});
  r.windows.add("Starter");
  r.during = [&](int n) {
    if (n == 1) r.windows.add("Opened");
  };
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1, 2}));
}

TEST(TitlePoll, KeptTitlesFollowReportedChangesNewWindowsAndTheRefresh) {
  Rig r;
  r.poll.set_titles_notified(true);
  r.triggers({"Notes - Editor"});
  const WindowHandle w = r.windows.add("Untitled - Editor");
  r.poll.Timer1Timer();
  // A new window is read at once.
  const WindowHandle fresh = r.windows.add("Notes - Editor");
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1}));
  EXPECT_EQ(r.found(1), dec(fresh));
  // A reported change is seen on the next poll.
  r.windows.get(w)->title = "notes - editor";
  r.windows.remove(fresh);
  r.poll.title_changed(w);
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1, 1}));
  // An unreported change is caught by the periodic full read, within a second.
  const WindowHandle quiet = r.windows.add("Other");
  r.poll.Timer1Timer();
  r.windows.remove(w);
  r.windows.get(quiet)->title = "Notes - Editor";
  for (int i = 0; i < TitlePoll::kTitleRefreshEvery; ++i) r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1, 1, 1}));
  // Closed windows leave the kept titles: a window reusing the handle is read afresh.
  r.windows.remove(quiet);
  r.poll.Timer1Timer();
  r.windows.windows.insert(r.windows.windows.begin(), {quiet, "Notes - Editor", true});
  r.profile.write_string("Macro1", "FoundHandle", "");
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran.size(), 4u);
}

TEST(TitlePoll, QuietPollsAreSkippedOnlyWhenNothingCouldHaveChanged) {
  Rig r;
  TitlePoll poll{{r.profile, r.windows, r.loop, r.errors, [&](int n) { r.ran.push_back(n); }, &r.watch}};
  poll.set_titles_notified(true);
  r.triggers({"Wanted"});
  r.windows.add("Other");
  poll.Timer1Timer();
  // Before any report has arrived, reports are not trusted: every poll looks.
  const WindowHandle w = r.windows.add("Wanted");
  poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1}));
  poll.windows_changed();
  poll.Timer1Timer();  // ran last time: looks again
  const int looked = r.windows.enumerations;
  poll.Timer1Timer();
  poll.Timer1Timer();
  EXPECT_LE(r.windows.enumerations, looked + 1);  // quiet: skipped but for the refresh
  // A reported window is seen on the next poll.
  r.windows.remove(w);
  r.windows.add("Wanted");
  poll.windows_changed();
  poll.Timer1Timer();
  EXPECT_EQ(r.ran.size(), 2u);
  // A store change is seen without any window report.
  poll.Timer1Timer();
  r.profile.write_string("Macro1", "FoundHandle", "");
  ++r.watch.value;
  poll.Timer1Timer();
  EXPECT_EQ(r.ran.size(), 3u);
  // An unreported window is seen within kTitleRefreshEvery polls.
  poll.Timer1Timer();
  r.windows.add("WANTED");
  for (int i = 0; i < TitlePoll::kTitleRefreshEvery; ++i) poll.Timer1Timer();
  EXPECT_EQ(r.ran.size(), 4u);
}

TEST(TitlePoll, APollThatRanAMacroGoesOnWithTheStoreAsItIsNow) {
  // Macro 1 deletes macro 2 as it runs: the former macro 3 is now macro 2, and section Macro3
  // is gone. Nothing may be recorded into the wrong macro or into the erased section.
  Rig r;
  r.triggers({"A", "B", "C"});
  r.windows.add("A");
  r.windows.add("B");
  const WindowHandle c = r.windows.add("C");
  r.during = [&](int n) {
    if (n != 1) return;
    MacroStore store(r.profile);
    renumber_after_delete(store, 2);
  };
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1, 2}));
  EXPECT_EQ(r.found(2), dec(c));
  EXPECT_EQ(r.profile.read_string("Macro2", "Trigger", ""), "C");
  EXPECT_FALSE(r.profile.has_section("Macro3"));
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1, 2}));
}

TEST(TitlePoll, AMacroChangedDuringTheMessagePassIsNotRecordedUnderItsOldTrigger) {
  Rig r;
  r.triggers({"A", "B"});
  r.windows.add("A");
  const WindowHandle b = r.windows.add("B");
  // Dispatched in the poll's message pass: macro 1 is given another trigger and macro 2 is
  // deleted, so the list the poll read is out of date.
  r.loop.post([&] {
    r.profile.write_string("Macro1", "Trigger", "Elsewhere");
    MacroStore store(r.profile);
    renumber_after_delete(store, 2);
  });
  r.poll.Timer1Timer();
  EXPECT_TRUE(r.ran.empty());
  EXPECT_EQ(r.found(1), "");
  EXPECT_FALSE(r.profile.has_section("Macro2"));
  // A macro that takes B's title afterwards runs for it on a later poll.
  r.profile.write_string("Macro1", "Trigger", "B");
  r.poll.Timer1Timer();
  EXPECT_EQ(r.ran, (std::vector<int>{1}));
  EXPECT_EQ(r.found(1), dec(b));
}
