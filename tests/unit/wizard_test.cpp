#include "forms/wizard.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/error.h"
#include "platform/text.h"
#include "tests/unit/wizard_rig.h"

using namespace kv;
using namespace kv::test;

TEST(WizardFlow, NextWalksEachKindToTheSummaryFocusingAsEachPageNeeds) {
  struct Case {
    StartOption start;
    RecordOption record;
    std::vector<WizardPage> pages;  // after Triggers
    WizardFocus focus;              // on the first of them
  } cases[] = {
      {StartOption::StartApp, RecordOption::KeysOnly, {WizardPage::StartApp}, WizardFocus::Browse},
      {StartOption::Advanced, RecordOption::KeysOnly, {WizardPage::ManualKeys}, WizardFocus::ScriptEditor},
      {StartOption::Playback, RecordOption::KeysOnly, {WizardPage::Keystype, WizardPage::RecordKeys}, {}},
      {StartOption::Playback, RecordOption::MouseAndKeys, {WizardPage::Keystype, WizardPage::RecordMouse}, {}},
  };
  for (const Case& c : cases) {
    Rig r;
    r.view.start = c.start;
    r.view.record = c.record;
    r.wizard.FormShow();
    EXPECT_EQ(r.view.page, WizardPage::Start);
    EXPECT_FALSE(r.view.buttons.back_enabled);
    r.wizard.cmdNextClick();
    EXPECT_EQ(r.view.page, WizardPage::Name);
    EXPECT_EQ(r.view.last_focus(), WizardFocus::MacroName);
    EXPECT_TRUE(r.view.buttons.back_enabled);
    r.view.name.text = "Report";
    r.view.command = "notepad.exe";
    r.wizard.cmdNextClick();
    EXPECT_EQ(r.view.page, WizardPage::HotKey);
    EXPECT_EQ(r.view.last_focus(), WizardFocus::HotKey);
    r.view.focused.clear();
    r.wizard.cmdNextClick();  // nothing on Triggers is checked
    EXPECT_EQ(r.view.page, c.pages[0]);
    if (c.start != StartOption::Playback) {
      EXPECT_EQ(r.view.last_focus(), c.focus);
    }
    if (c.pages.size() == 2) {
      r.wizard.cmdNextClick();
      EXPECT_EQ(r.view.page, c.pages[1]);
      EXPECT_FALSE(r.view.buttons.next_enabled) << "Next waits for a stopped recording";
      EXPECT_TRUE(r.view.buttons.next_visible);
      EXPECT_TRUE(r.view.buttons.back_enabled);
    }
    EXPECT_TRUE(r.view.errors.empty());
    EXPECT_FALSE(r.view.buttons.finished_visible);
    r.wizard.cmdNextClick();  // no recording or script is required
    EXPECT_EQ(r.view.page, WizardPage::Finished);
    EXPECT_FALSE(r.view.buttons.next_visible);
    EXPECT_TRUE(r.view.buttons.finished_visible);
    EXPECT_TRUE(r.view.buttons.back_enabled);
    EXPECT_EQ(r.view.last_focus(), WizardFocus::Finished);
  }
}

TEST(WizardFlow, BackGoesWhereItsTableSaysAndAlwaysEnablesNext) {
  struct Case {
    StartOption start;
    RecordOption record;
    int nexts;  // from the first page
    WizardPage from, to;
    bool back_enabled;
    std::optional<WizardFocus> focus;
  } cases[] = {
      {StartOption::Advanced, RecordOption::KeysOnly, 1, WizardPage::Name, WizardPage::Start, false,
       WizardFocus::StartOptions},
      {StartOption::Advanced, RecordOption::KeysOnly, 2, WizardPage::HotKey, WizardPage::Name, true,
       WizardFocus::MacroName},
      {StartOption::StartApp, RecordOption::KeysOnly, 3, WizardPage::StartApp, WizardPage::HotKey, true,
       WizardFocus::HotKey},
      {StartOption::Playback, RecordOption::KeysOnly, 3, WizardPage::Keystype, WizardPage::HotKey, true, {}},
      {StartOption::Advanced, RecordOption::KeysOnly, 3, WizardPage::ManualKeys, WizardPage::HotKey, true, {}},
      {StartOption::Playback, RecordOption::KeysOnly, 4, WizardPage::RecordKeys, WizardPage::Keystype, true, {}},
      {StartOption::Playback, RecordOption::MouseAndKeys, 4, WizardPage::RecordMouse, WizardPage::Keystype, true, {}},
      {StartOption::StartApp, RecordOption::KeysOnly, 4, WizardPage::Finished, WizardPage::StartApp, true,
       WizardFocus::Browse},
      {StartOption::Playback, RecordOption::KeysOnly, 5, WizardPage::Finished, WizardPage::RecordKeys, true, {}},
      {StartOption::Playback, RecordOption::MouseAndKeys, 5, WizardPage::Finished, WizardPage::RecordMouse, true, {}},
      {StartOption::Advanced, RecordOption::KeysOnly, 4, WizardPage::Finished, WizardPage::ManualKeys, true,
       WizardFocus::ScriptEditor},
  };
  for (const Case& c : cases) {
    Rig r;
    r.view.start = c.start;
    r.view.record = c.record;
    r.wizard.FormShow();
    for (int i = 0; i < c.nexts; ++i) {
      r.view.name.text = "Report";
      r.view.command = "notepad.exe";
      r.wizard.cmdNextClick();
    }
    ASSERT_EQ(r.view.page, c.from);
    r.view.focused.clear();
    r.wizard.cmdStepBackClick();
    EXPECT_EQ(r.view.page, c.to) << static_cast<int>(c.from);
    EXPECT_TRUE(r.view.buttons.next_enabled);
    EXPECT_TRUE(r.view.buttons.next_visible);
    EXPECT_FALSE(r.view.buttons.finished_visible);
    EXPECT_EQ(r.view.buttons.back_enabled, c.back_enabled);
    if (c.focus) {
      EXPECT_EQ(r.view.last_focus(), *c.focus);
    } else {
      EXPECT_TRUE(r.view.focused.empty());
    }
  }
}

TEST(WizardFlow, AKeystrokeSummaryLeadsBackAndForthWithoutANewRecording) {
  Rig r;
  r.view.start = StartOption::Playback;
  r.to_summary("Keys");
  r.wizard.cmdStepBackClick();
  EXPECT_EQ(r.view.page, WizardPage::RecordKeys);
  EXPECT_TRUE(r.view.buttons.next_enabled);
  r.wizard.cmdNextClick();
  EXPECT_EQ(r.view.page, WizardPage::Finished);
  // Back from the keys-or-mouse page and Next again: the earlier choice is still the view's.
  r.wizard.cmdStepBackClick();
  r.wizard.cmdStepBackClick();
  r.wizard.cmdStepBackClick();
  EXPECT_EQ(r.view.page, WizardPage::HotKey);
  r.view.record = RecordOption::MouseAndKeys;
  r.wizard.cmdNextClick();
  r.wizard.cmdNextClick();
  EXPECT_EQ(r.view.page, WizardPage::RecordMouse);
}

TEST(WizardFlow, TheNamePageRefusesBadNamesAndResetsTheShortcutChoice) {
  Rig r;
  r.rows = {"Notes", "Other"};
  r.wizard.FormShow();
  r.wizard.cmdNextClick();
  r.view.shortcut = 3;
  r.view.name.text = "notes";
  r.wizard.cmdNextClick();
  EXPECT_EQ(r.view.page, WizardPage::Name);
  EXPECT_EQ(r.view.shortcut, 0) << "reset before the tests";
  ASSERT_EQ(r.view.errors.size(), 1u);
  EXPECT_EQ(r.view.errors[0], kNameTaken);
  EXPECT_EQ(r.view.last_focus(), WizardFocus::MacroName);
  r.view.name.text = "";
  r.wizard.cmdNextClick();
  EXPECT_EQ(r.view.errors.back(), kNameEmpty);
  r.view.name.text = "a:b";
  r.wizard.cmdNextClick();
  EXPECT_EQ(r.view.errors.back(), kNameNotAFileName);
  EXPECT_EQ(r.view.page, WizardPage::Name);
  r.view.shortcut = 2;
  r.view.name.text = "Notes 2";
  r.wizard.cmdNextClick();
  EXPECT_EQ(r.view.page, WizardPage::HotKey);
  EXPECT_EQ(r.view.shortcut, 0);
  EXPECT_EQ(r.view.errors.size(), 3u);
}

TEST(WizardFlow, TheApplicationPageWantsAProgramAndKeepsTheShortcutChoice) {
  Rig r;
  r.view.start = StartOption::StartApp;
  r.wizard.FormShow();
  r.wizard.cmdNextClick();
  r.view.name.text = "Web";
  r.wizard.cmdNextClick();
  r.view.shortcut = 1;
  r.wizard.cmdNextClick();
  for (const char* empty : {"", "   "}) {
    r.view.command = empty;
    r.view.focused.clear();
    r.wizard.cmdNextClick();
    EXPECT_EQ(r.view.page, WizardPage::StartApp);
    EXPECT_EQ(r.view.errors.back(), kNoApplication);
    EXPECT_EQ(r.view.last_focus(), WizardFocus::Browse);
  }
  r.view.command = "http://www.ostrel.example";
  r.wizard.cmdNextClick();
  EXPECT_EQ(r.view.page, WizardPage::Finished);
  EXPECT_EQ(r.view.shortcut, 1);
}

TEST(WizardFlow, TheSummaryShowsNameKindHotkeyAndTrigger) {
  Rig r;
  r.view.start = StartOption::Advanced;
  r.to_summary("My Macro ");
  r.view.key = kCtrlBit | kAltBit | 'K';
  r.view.trigger_text = "Untitled - Notepad";
  EXPECT_EQ(r.wizard.summary(),
            (WizardSummary{"My Macro ", "Playback advanced macro", "Ctrl+Alt+K", "Untitled - Notepad"}));
  r.view.key = 0;
  r.view.trigger_text = "";
  EXPECT_EQ(r.wizard.summary(), (WizardSummary{"My Macro ", "Playback advanced macro", "None", "None"}));
  EXPECT_EQ(r.view.shown_summary.name, "My Macro ");
  r.view.start = StartOption::StartApp;
  EXPECT_EQ(r.wizard.summary().type, "Start an Application");
  r.view.start = StartOption::Playback;
  EXPECT_EQ(r.wizard.summary().type, "Playback keyboard");
  r.view.record = RecordOption::MouseAndKeys;
  EXPECT_EQ(r.wizard.summary().type, "Playback mouse and keyboard");
}

TEST(WizardRun, ANewRunEmptiesTheFieldsAndKeepsTheChoices) {
  Rig r;
  r.view.start = StartOption::Playback;
  r.to_summary("Old");
  r.view.record = RecordOption::MouseAndKeys;
  r.view.fast = true;
  r.view.shortcut = 4;
  r.view.key = 0x4041;
  r.view.trigger_text = r.view.command = r.view.script_text = "x";
  r.wizard.cmdCancelClick();  // answered No: nothing changes
  EXPECT_EQ(r.view.closed, 0);
  EXPECT_EQ(r.view.page, WizardPage::Finished);
  EXPECT_TRUE(r.suspended);
  r.view.answer_yes = true;
  r.wizard.cmdCancelClick();
  EXPECT_EQ(r.view.closed, 1);
  EXPECT_FALSE(r.suspended);
  EXPECT_EQ(r.view.questions, 2);

  r.wizard.FormShow();
  EXPECT_TRUE(r.suspended);
  EXPECT_TRUE(r.stop_hotkey);
  EXPECT_EQ(r.view.page, WizardPage::Start);
  EXPECT_EQ(r.view.name.text, "");
  EXPECT_EQ(r.view.key, 0);
  EXPECT_EQ(r.view.trigger_text + r.view.command + r.view.script_text, "");
  EXPECT_EQ(r.view.start, StartOption::Playback);
  EXPECT_EQ(r.view.record, RecordOption::MouseAndKeys);
  EXPECT_TRUE(r.view.fast);
  EXPECT_EQ(r.view.shortcut, 4);
  EXPECT_EQ(r.view.buttons, WizardButtons{});
  EXPECT_EQ(r.view.last_focus(), WizardFocus::StartOptions);
  EXPECT_EQ(r.profile.writes(), 0) << "Cancel writes nothing";
}

TEST(WizardRun, ShownAgainAfterARecordingOrInEditModeTheRunIsNotReset) {
  Rig r;
  r.view.start = StartOption::Playback;
  r.wizard.FormShow();
  r.wizard.cmdNextClick();
  r.view.name.text = "Take";
  r.wizard.cmdNextClick();
  r.wizard.wizard_recording = true;
  r.wizard.FormShow();
  EXPECT_EQ(r.view.page, WizardPage::HotKey);
  EXPECT_EQ(r.view.name.text, "Take");

  r.wizard.close_box();  // no question; the flags are cleared
  EXPECT_EQ(r.view.questions, 0);
  EXPECT_EQ(r.view.closed, 1);
  EXPECT_FALSE(r.wizard.wizard_recording);
  EXPECT_FALSE(r.suspended);
  EXPECT_FALSE(r.stop_hotkey);

  r.wizard.edit_mode = true;
  r.view.focused.clear();
  r.wizard.FormShow();
  EXPECT_EQ(r.view.name.text, "Take");
  EXPECT_FALSE(r.suspended);
  EXPECT_EQ(r.view.focused, std::vector<WizardFocus>{WizardFocus::ScriptEditor});
  r.wizard.cmdCancelClick();
  EXPECT_EQ(r.view.questions, 0) << "edit mode closes without asking";
  EXPECT_EQ(r.view.closed, 2);
}

TEST(WizardFinish, AnApplicationMacroIsAppendedWithItsFieldsAsTyped) {
  for (const char* target :
       {"C:\\Windows\\notepad.exe", "http://www.ostrel.example", "mailto:support@ostrel.example"}) {
    Rig r;
    r.view.start = StartOption::StartApp;
    r.to_summary("Fax  ");
    r.view.command = target;
    r.view.trigger_text = " Untitled - Notepad";
    r.view.key = 0x4000 | 0x8000 | 'F';
    r.view.shortcut = 1;
    r.wizard.cmdFinishedClick();
    EXPECT_EQ(r.key(1, "Name"), "Fax");
    EXPECT_EQ(r.key(1, "Type"), "1");
    EXPECT_EQ(r.key(1, "HotKey"), "49222");
    EXPECT_EQ(r.profile.read_string("Main", "Entries", ""), "1") << "Entries missing: the first macro is 1";
    EXPECT_EQ(r.key(1, "FileName"), target);
    EXPECT_EQ(r.key(1, "Speed"), "<missing>");
    EXPECT_EQ(r.calls, (std::vector<std::string>{"AssignHotKeys after 1", "Shortcut_Create 1 1"}));
    EXPECT_EQ(r.view.closed, 1);
    EXPECT_FALSE(r.suspended);
    EXPECT_TRUE(r.files.files.empty());
  }
}

TEST(WizardFinish, AnAdvancedMacroWritesItsScriptThenItsKeysAndKeepsTheShortcutChoice) {
  Rig r;
  r.profile.write_string("Main", "Entries", "2");
  r.to_summary("My Macro ");
  r.view.script_text = "Hello<<ENTER>>\r\nsecond line";
  r.view.shortcut = 2;
  const int writes_before = r.profile.writes();
  r.wizard.cmdFinishedClick();
  EXPECT_EQ(r.files.files.at(r.files.dir + "My Macro.key"), "Hello<<ENTER>>\r\nsecond line\r\n");
  EXPECT_EQ(r.key(3, "Name"), "My Macro");
  EXPECT_EQ(r.key(3, "Type"), "4");
  EXPECT_EQ(r.key(3, "HotKey"), "0");
  EXPECT_EQ(r.key(3, "Trigger"), "");
  EXPECT_EQ(r.key(3, "FileName"), "My Macro.key");
  EXPECT_EQ(r.profile.read_string("Main", "Entries", ""), "3");
  EXPECT_GT(r.profile.writes(), writes_before);
  EXPECT_EQ(r.calls, (std::vector<std::string>{"AssignHotKeys after 1", "Shortcut_Create 8 3"}));
}

TEST(WizardFinish, RecordedMacrosNameTheirRecordingAndTheSpeed) {
  Rig r;
  r.view.start = StartOption::Playback;
  r.view.record = RecordOption::MouseAndKeys;
  r.to_summary("Clicks ");
  r.view.fast = true;
  r.wizard.cmdFinishedClick();
  EXPECT_EQ(r.key(1, "Type"), "3");
  EXPECT_EQ(r.key(1, "FileName"), "Clicks.dat");
  EXPECT_EQ(r.key(1, "Speed"), "2");
  EXPECT_EQ(r.calls, std::vector<std::string>{"AssignHotKeys after 1"}) << "No Shortcut: no call";
}

TEST(WizardFinish, ARefusedScriptFileLeavesTheStoreAloneAndTheWizardOnTheSummary) {
  Rig r;
  r.to_summary("Report");
  r.files.refused.insert(r.files.dir + "Report.key");
  try {
    r.wizard.cmdFinishedClick();
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + r.files.dir + "Report.key");
  }
  EXPECT_EQ(r.profile.writes(), 0);
  EXPECT_EQ(r.wizard.page(), WizardPage::Finished);
  EXPECT_EQ(r.view.closed, 0);
  EXPECT_TRUE(r.suspended);
  EXPECT_TRUE(r.calls.empty());
}

TEST(WizardFinish, ARefusedStoreWriteNeverCountsTheHalfWrittenMacro) {
  Rig r;
  r.application_summary("Fax");
  r.profile.refuse_after(3);
  EXPECT_THROW(r.wizard.cmdFinishedClick(), Error);
  EXPECT_EQ(r.profile.read_string("Main", "Entries", "<missing>"), "<missing>");
  EXPECT_EQ(r.view.closed, 0);
  EXPECT_TRUE(r.calls.empty());
}

TEST(WizardFinish, AFailureAfterTheMacroIsStoredStillEndsTheRun) {
  Rig r;
  r.application_summary("Fax");
  r.view.shortcut = 1;
  r.on_shortcut = [] { throw Error("Unable to write to C:\\Desktop\\Fax.lnk"); };
  EXPECT_THROW(r.wizard.cmdFinishedClick(), Error);
  EXPECT_EQ(r.profile.read_string("Main", "Entries", ""), "1");
  EXPECT_EQ(r.view.closed, 1) << "a second Finish would store the macro twice";
  EXPECT_FALSE(r.suspended);
}

TEST(WizardFinish, AClickQueuedWhileFinishWorksStoresNothingMore) {
  Rig r;
  r.application_summary("Fax");
  r.loop.post([&r] { r.wizard.cmdFinishedClick(); });
  r.wizard.cmdFinishedClick();
  EXPECT_EQ(r.profile.read_string("Main", "Entries", ""), "1");
  EXPECT_FALSE(r.profile.has_section("Macro2"));
  EXPECT_EQ(r.view.closed, 1);
}

TEST(WizardFinish, AHotkeyThePlatformRefusesIsReportedAndTheMacroKept) {
  Rig r;
  r.refused_hotkeys = {1};
  r.application_summary("Fax");
  r.view.key = kCtrlBit | kAltBit | 'F';
  r.wizard.cmdFinishedClick();
  EXPECT_EQ(r.key(1, "HotKey"), "49222");
  ASSERT_EQ(r.view.warnings.size(), 1u);
  EXPECT_NE(r.view.warnings[0].find("the keys Ctrl+Alt+F could not"), std::string::npos) << r.view.warnings[0];
  EXPECT_EQ(r.view.closed, 1);
  // Without a hotkey there is nothing to refuse.
  Rig none;
  none.refused_hotkeys = {1};
  none.application_summary("Fax");
  none.wizard.cmdFinishedClick();
  EXPECT_TRUE(none.view.warnings.empty());
}

TEST(WizardFinish, TheScriptFileHoldsTheEditorsLinesEachEndedByCrLf) {
  EXPECT_EQ(script_file_text(""), "");
  EXPECT_EQ(script_file_text("one"), "one\r\n");
  EXPECT_EQ(script_file_text("one\r\ntwo"), "one\r\ntwo\r\n");
  EXPECT_EQ(script_file_text("one\r\n"), "one\r\n");
  EXPECT_EQ(script_file_text("one\r\n\r\n"), "one\r\n\r\n");
  EXPECT_EQ(script_file_text("a\nb\rc"), "a\r\nb\r\nc\r\n");
}

TEST(WizardFinish, ShortcutItemsMapToTheirFolders) {
  EXPECT_EQ(shortcut_choice_folder(0), TShellFolder::sfNone);
  EXPECT_EQ(shortcut_choice_folder(1), TShellFolder::sfDesktop);
  EXPECT_EQ(shortcut_choice_folder(2), TShellFolder::sfStartMenu);
  EXPECT_EQ(shortcut_choice_folder(3), TShellFolder::sfPrograms);
  EXPECT_EQ(shortcut_choice_folder(4), TShellFolder::sfStartup);
  EXPECT_EQ(shortcut_choice_folder(5), TShellFolder::sfFavorites);
  EXPECT_EQ(shortcut_choice_folder(6), TShellFolder::sfPersonal);
  EXPECT_EQ(shortcut_choice_folder(-1), TShellFolder::sfNone);
  EXPECT_EQ(shortcut_choice_folder(7), TShellFolder::sfNone);
}
