#include <gtest/gtest.h>

#include "forms/stop_record_key.h"
#include "platform/error.h"
#include "tests/fakes/fake_hotkeys.h"
#include "tests/unit/wizard_rig.h"

using namespace kv;
using namespace kv::test;
using kv::fake::FakeHotKey;
using kv::fake::FakeHotKeyTable;

namespace {

// The wizard with its stop key, as the program wires them.
struct KeyRig : Rig {
  FakeHotKeyTable table;
  FakeHotKey component{table, 0};
  StopRecordKey stop{component, journal, wizard};

  void press() { component.hotkey_message(false); }
};

struct Buttons {
  bool start, stop, play;
  bool operator==(const Buttons&) const = default;
};
Buttons key_buttons(const Rig& r) {
  return {r.view.buttons.start_keys, r.view.buttons.stop_keys, r.view.buttons.play_keys};
}
Buttons mouse_buttons(const Rig& r) {
  return {r.view.buttons.start_mouse, r.view.buttons.stop_mouse, r.view.buttons.play_mouse};
}

class Properties : public PropertiesStopClient {
 public:
  int stopped = 0;
  void recording_stopped_by_hotkey() override { ++stopped; }
};

}  // namespace

TEST(WizardRecording, KeystrokePageStartsAfterTheHintStopsAndPlaysIntoThePracticeBox) {
  Rig r;
  r.to_recording_page("Report ", RecordOption::KeysOnly);
  ASSERT_EQ(r.wizard.page(), WizardPage::RecordKeys);
  EXPECT_FALSE(r.view.buttons.next_enabled);
  EXPECT_EQ(key_buttons(r), (Buttons{true, false, false}));

  r.wizard.cmdStartKeysClick();
  ASSERT_EQ(r.hints, std::vector<std::string>{kRecordKeysHint});
  EXPECT_EQ(r.view.log, (std::vector<std::string>{"hint closed", "focus practice"}));
  ASSERT_EQ(r.journal.calls.size(), 1u);
  EXPECT_EQ(r.journal.calls[0].what, "record");
  EXPECT_EQ(r.journal.calls[0].file, r.dir() + "Report.dat");
  EXPECT_TRUE(r.journal.calls[0].keystrokes_only);
  EXPECT_TRUE(r.wizard.wizard_recording);
  EXPECT_FALSE(r.view.windows_hidden);
  EXPECT_EQ(key_buttons(r), (Buttons{false, true, false}));
  EXPECT_FALSE(r.view.buttons.next_enabled);

  r.wizard.cmdStopKeysClick();
  EXPECT_EQ(r.journal.calls.back().what, "stop");
  EXPECT_FALSE(r.journal.recording());
  EXPECT_EQ(key_buttons(r), (Buttons{true, false, true}));
  EXPECT_TRUE(r.view.buttons.next_enabled);

  r.view.log.clear();
  r.wizard.cmdPlayKeysClick();
  EXPECT_EQ(r.view.log, std::vector<std::string>{"focus practice"});
  EXPECT_EQ(key_buttons(r), (Buttons{true, false, false}));
  EXPECT_EQ(r.journal.calls.back().what, "play");
  EXPECT_EQ(r.journal.calls.back().file, r.dir() + "Report.dat");
  EXPECT_TRUE(r.journal.calls.back().hi_speed);
  // The playback's end brings back both pages' Playback.
  r.wizard.playback_finished();
  EXPECT_TRUE(r.view.buttons.play_keys);
  EXPECT_TRUE(r.view.buttons.play_mouse);
  // A second take goes into the same file; a new run disables Playback but keeps Start and Stop.
  r.wizard.cmdStartKeysClick();
  EXPECT_EQ(r.journal.calls.back().file, r.dir() + "Report.dat");
  r.wizard.cmdStopKeysClick();
  // Shown again within the run (the flag is still up) nothing changes; a new run is another matter.
  r.wizard.FormShow();
  EXPECT_EQ(key_buttons(r), (Buttons{true, false, true}));
  EXPECT_EQ(r.wizard.page(), WizardPage::RecordKeys);
  r.view.answer_yes = true;
  r.wizard.cmdCancelClick();
  r.wizard.FormShow();
  EXPECT_EQ(key_buttons(r), (Buttons{true, false, false}));
  EXPECT_EQ(r.wizard.page(), WizardPage::Start);
}

TEST(WizardRecording, MousePageHidesTheWindowsAndPlaysAtTheChosenSpeed) {
  Rig r;
  r.to_recording_page("Clicks", RecordOption::MouseAndKeys);
  ASSERT_EQ(r.wizard.page(), WizardPage::RecordMouse);
  EXPECT_FALSE(r.view.buttons.next_enabled);
  r.wizard.cmdRecordMouseClick();
  ASSERT_EQ(r.hints, std::vector<std::string>{kRecordMouseHint});
  // The hint first, then the windows go, and only then does the recording start.
  EXPECT_EQ(r.view.log, (std::vector<std::string>{"hint closed", "hide"}));
  ASSERT_EQ(r.journal.calls.size(), 1u);
  EXPECT_FALSE(r.journal.calls[0].keystrokes_only);
  EXPECT_EQ(r.journal.calls[0].file, r.dir() + "Clicks.dat");
  EXPECT_TRUE(r.view.windows_hidden);
  EXPECT_TRUE(r.wizard.wizard_recording);
  EXPECT_EQ(mouse_buttons(r), (Buttons{false, true, false}));

  r.wizard.cmdStopMouseClick();
  EXPECT_FALSE(r.view.windows_hidden);
  EXPECT_FALSE(r.wizard.wizard_recording);
  EXPECT_EQ(mouse_buttons(r), (Buttons{true, false, true}));
  EXPECT_TRUE(r.view.buttons.next_enabled);

  for (bool fast : {true, false}) {
    r.view.fast = fast;
    r.wizard.cmdPlayMouseClick();
    EXPECT_FALSE(r.view.buttons.play_mouse);
    EXPECT_EQ(r.journal.calls.back().what, "play");
    EXPECT_EQ(r.journal.calls.back().file, r.dir() + "Clicks.dat");
    EXPECT_EQ(r.journal.calls.back().hi_speed, fast);
    r.wizard.playback_finished();
  }
  // Finish stores the speed with the recording, which is already in place.
  r.view.fast = true;
  r.wizard.cmdNextClick();
  r.wizard.cmdFinishedClick();
  EXPECT_EQ(r.key(1, "Type"), "3");
  EXPECT_EQ(r.key(1, "FileName"), "Clicks.dat");
  EXPECT_EQ(r.key(1, "Speed"), "2");
  EXPECT_TRUE(r.files.exists(r.dir() + "Clicks.dat"));
}

TEST(StopRecordKey, IsRegisteredWhileTheWizardOrThePropertiesDialogWantsIt) {
  KeyRig r;
  EXPECT_EQ(r.component.HotKey(), 24699);
  EXPECT_TRUE(r.table.calls.empty());  // disabled as the program starts
  r.stop.set_wizard_enabled(true);
  EXPECT_EQ(r.table.calls, std::vector<std::string>{"reg 0 6+123"});  // Shift+Ctrl, F12
  r.stop.set_enabled(true);
  r.stop.set_wizard_enabled(false);
  EXPECT_TRUE(r.component.registered());
  r.stop.set_enabled(false);
  EXPECT_FALSE(r.component.registered());
  EXPECT_EQ(r.table.calls.back(), "unreg 0");
}

TEST(StopRecordKey, StopsAKeystrokeRecordingInEitherOrderWithTheStopButton) {
  for (bool button_first : {false, true}) {
    KeyRig r;
    r.to_recording_page("Keys", RecordOption::KeysOnly);
    r.wizard.cmdStartKeysClick();
    r.view.log.clear();
    if (button_first) {
      r.wizard.cmdStopKeysClick();
      const std::size_t calls = r.journal.calls.size();
      const WizardButtons before = r.view.buttons;
      r.press();  // nothing records any more: nothing happens
      EXPECT_EQ(r.journal.calls.size(), calls);
      EXPECT_EQ(r.view.buttons, before);
      EXPECT_TRUE(r.view.log.empty());
      continue;
    }
    r.press();
    EXPECT_EQ(r.journal.calls.back().what, "stop");
    EXPECT_FALSE(r.journal.recording());
    // Next comes back; Start stays off and Stop on until the button is pressed.
    EXPECT_TRUE(r.view.buttons.next_enabled);
    EXPECT_EQ(key_buttons(r), (Buttons{false, true, false}));
    EXPECT_EQ(r.view.log, std::vector<std::string>{"show on top"});
    EXPECT_EQ(r.wizard.page(), WizardPage::RecordKeys);
    r.wizard.cmdStopKeysClick();
    EXPECT_EQ(key_buttons(r), (Buttons{true, false, true}));
    EXPECT_TRUE(r.files.exists(r.dir() + "Keys.dat"));
  }
}

TEST(StopRecordKey, BringsTheWizardBackOnTheMousePageWithTheRunAsItWas) {
  KeyRig r;
  r.to_recording_page("Clicks", RecordOption::MouseAndKeys);
  r.view.key = 0x4000 | 'K';
  r.view.trigger_text = "Notepad";
  r.wizard.cmdRecordMouseClick();
  ASSERT_TRUE(r.view.windows_hidden);
  r.press();
  EXPECT_FALSE(r.view.windows_hidden);
  EXPECT_EQ(r.view.log.back(), "show on top");
  EXPECT_EQ(mouse_buttons(r), (Buttons{true, false, true}));
  EXPECT_TRUE(r.view.buttons.next_enabled);
  // The show handler ran again but saw the flag: same page, same fields, Back still on.
  EXPECT_EQ(r.wizard.page(), WizardPage::RecordMouse);
  EXPECT_EQ(r.view.page, WizardPage::RecordMouse);
  EXPECT_EQ(r.view.name.text, "Clicks");
  EXPECT_EQ(r.view.key, 0x4000 | 'K');
  EXPECT_EQ(r.view.trigger_text, "Notepad");
  EXPECT_TRUE(r.view.buttons.back_enabled);
  EXPECT_TRUE(r.view.buttons.play_mouse);
  EXPECT_TRUE(r.stop_hotkey);
  // A second press stops nothing and shows nothing.
  r.view.log.clear();
  r.press();
  EXPECT_TRUE(r.view.log.empty());
  // The run goes on to its end.
  r.wizard.cmdNextClick();
  r.wizard.cmdFinishedClick();
  EXPECT_EQ(r.key(1, "FileName"), "Clicks.dat");
  EXPECT_TRUE(r.files.exists(r.dir() + "Clicks.dat"));
  EXPECT_FALSE(r.wizard.wizard_recording);
}

TEST(StopRecordKey, ARecordingFromThePropertiesDialogGoesBackToIt) {
  KeyRig r;
  Properties props;
  r.stop.set_properties(&props);
  r.press();  // nothing records: the dialog is not called
  EXPECT_EQ(props.stopped, 0);
  EXPECT_TRUE(r.journal.calls.empty());
  r.journal.set_record_file_name("C:\\k\\~temp.dat");
  r.journal.start_record();
  const WizardButtons wizard_before = r.view.buttons;
  r.press();
  EXPECT_EQ(props.stopped, 1);
  EXPECT_FALSE(r.journal.recording());
  EXPECT_EQ(r.view.buttons, wizard_before);
  EXPECT_TRUE(r.view.log.empty());
  // A take that cannot be written still brings the dialog back, and the error is reported.
  r.journal.start_record();
  r.journal.stop_error = "Unable to write to C:\\k\\~temp.dat";
  EXPECT_THROW(r.press(), Error);
  EXPECT_EQ(props.stopped, 2);
  r.stop.set_properties(nullptr);
  r.journal.stop_error.clear();
  r.journal.start_record();
  r.press();  // the dialog has gone: the recording still stops
  EXPECT_FALSE(r.journal.recording());
}

TEST(WizardRecording, ARecordingThatCannotStartOrBeSavedLeavesTheButtonsAsBeforeStart) {
  for (RecordOption option : {RecordOption::KeysOnly, RecordOption::MouseAndKeys}) {
    Rig r;
    r.to_recording_page("Locked", option);
    const WizardButtons before = r.view.buttons;
    r.journal.start_error = "Unable to write to C:\\Program Files\\Keyvane\\Locked.dat";
    try {
      option == RecordOption::KeysOnly ? r.wizard.cmdStartKeysClick() : r.wizard.cmdRecordMouseClick();
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), r.journal.start_error);
    }
    EXPECT_EQ(r.view.buttons, before);
    EXPECT_FALSE(r.view.windows_hidden);
    EXPECT_FALSE(r.wizard.wizard_recording);

    // Started, but the take cannot be written at the stop.
    r.journal.start_error.clear();
    r.journal.stop_error = "Unable to write to C:\\Program Files\\Keyvane\\Locked.dat";
    option == RecordOption::KeysOnly ? r.wizard.cmdStartKeysClick() : r.wizard.cmdRecordMouseClick();
    EXPECT_THROW(option == RecordOption::KeysOnly ? r.wizard.cmdStopKeysClick() : r.wizard.cmdStopMouseClick(), Error);
    EXPECT_EQ(r.view.buttons, before);
    EXPECT_FALSE(r.view.buttons.next_enabled);
    EXPECT_FALSE(r.view.windows_hidden);
    EXPECT_FALSE(r.journal.recording());
  }
}

TEST(WizardRecording, ARunEndedWithoutFinishDeletesItsRecordings) {
  struct Case {
    const char* how;
    bool answer_yes;
    bool deleted;
  } cases[] = {{"cancel yes", true, true}, {"cancel no", false, false}, {"close box", false, true}};
  for (const Case& c : cases) {
    Rig r;
    r.files.files[r.dir() + "Other.dat"] = "another macro's";
    r.to_recording_page("Gone", RecordOption::KeysOnly);
    r.wizard.cmdStartKeysClick();
    r.wizard.cmdStopKeysClick();
    ASSERT_TRUE(r.files.exists(r.dir() + "Gone.dat"));
    r.view.answer_yes = c.answer_yes;
    std::string(c.how) == "close box" ? r.wizard.close_box() : r.wizard.cmdCancelClick();
    EXPECT_EQ(!r.files.exists(r.dir() + "Gone.dat"), c.deleted) << c.how;
    EXPECT_TRUE(r.files.exists(r.dir() + "Other.dat"));
  }
  // Closed while it records: the recording ends, its file goes, the page can start again.
  Rig r;
  r.to_recording_page("Midway", RecordOption::KeysOnly);
  r.wizard.cmdStartKeysClick();
  r.wizard.close_box();
  EXPECT_FALSE(r.journal.recording());
  EXPECT_FALSE(r.files.exists(r.dir() + "Midway.dat"));
  EXPECT_EQ(key_buttons(r), (Buttons{true, false, false}));
  // A finished run keeps the recording its macro names.
  Rig kept;
  kept.to_recording_page("Kept", RecordOption::KeysOnly);
  kept.wizard.cmdStartKeysClick();
  kept.wizard.cmdStopKeysClick();
  kept.wizard.cmdNextClick();
  kept.wizard.cmdFinishedClick();
  EXPECT_TRUE(kept.files.exists(kept.dir() + "Kept.dat"));
}

namespace {
// Records a take under `first`, goes back to the name page, renames to `second` and returns to
// the recording page, recording again there when `again`.
void record_then_rename(Rig& r, const std::string& first, const std::string& second, bool again) {
  r.to_recording_page(first, RecordOption::KeysOnly);
  r.wizard.cmdStartKeysClick();
  r.wizard.cmdStopKeysClick();
  for (int i = 0; i < 3; ++i) r.wizard.cmdStepBackClick();
  ASSERT_EQ(r.wizard.page(), WizardPage::Name);
  r.view.name.text = second;
  for (int i = 0; i < 3; ++i) r.wizard.cmdNextClick();
  ASSERT_EQ(r.wizard.page(), WizardPage::RecordKeys);
  if (again) r.wizard.cmdStartKeysClick();
  r.wizard.cmdStopKeysClick();
  r.wizard.cmdNextClick();
  ASSERT_EQ(r.wizard.page(), WizardPage::Finished);
}
}  // namespace

TEST(WizardRecording, FinishRenamesARecordingMadeUnderAnEarlierName) {
  Rig r;
  record_then_rename(r, "Draft", "Final ", false);
  const std::string final_path = r.dir() + "Final.dat";
  r.rename_refused = {final_path};
  try {
    r.wizard.cmdFinishedClick();
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Unable to write to " + final_path);
  }
  // Still on the summary, nothing stored, the recording where it was.
  EXPECT_EQ(r.wizard.page(), WizardPage::Finished);
  EXPECT_EQ(r.view.closed, 0);
  EXPECT_EQ(r.profile.read_string("Main", "Entries", "<missing>"), "<missing>");
  EXPECT_TRUE(r.files.exists(r.dir() + "Draft.dat"));

  r.rename_refused.clear();
  r.wizard.cmdFinishedClick();
  EXPECT_EQ(r.key(1, "FileName"), "Final.dat");
  EXPECT_EQ(r.files.files[final_path], "take 1");
  EXPECT_FALSE(r.files.exists(r.dir() + "Draft.dat"));

  // Recorded again under the new name: the earlier take is an orphan and goes.
  Rig again;
  record_then_rename(again, "Draft", "Final", true);
  again.wizard.cmdFinishedClick();
  EXPECT_EQ(again.files.files[final_path], "take 2");
  EXPECT_FALSE(again.files.exists(again.dir() + "Draft.dat"));
}

TEST(WizardRecording, PlaybackWaitsForTheUsersModifiersToBeReleased) {
  for (RecordOption option : {RecordOption::KeysOnly, RecordOption::MouseAndKeys}) {
    Rig r;
    r.to_recording_page("Held", option);
    const bool keys = option == RecordOption::KeysOnly;
    keys ? r.wizard.cmdStartKeysClick() : r.wizard.cmdRecordMouseClick();
    keys ? r.wizard.cmdStopKeysClick() : r.wizard.cmdStopMouseClick();
    // Alt+P: Alt is still down when Playback is pressed, and let go 300 ms later.
    r.held = {0x12};
    r.release_at = r.loop.now_ms() + 300;
    const std::uint64_t t0 = r.loop.now_ms();
    keys ? r.wizard.cmdPlayKeysClick() : r.wizard.cmdPlayMouseClick();
    EXPECT_EQ(r.journal.calls.back().what, "play");
    EXPECT_GE(r.loop.now_ms(), t0 + 300);
    EXPECT_LT(r.loop.now_ms(), t0 + 400);
    // A key that never comes up holds the playback back for a while, not for ever.
    r.held = {0x11};
    r.release_at = UINT64_MAX;
    const std::uint64_t t1 = r.loop.now_ms();
    const std::size_t calls = r.journal.calls.size();
    keys ? r.wizard.cmdPlayKeysClick() : r.wizard.cmdPlayMouseClick();
    ASSERT_EQ(r.journal.calls.size(), calls + 1);
    EXPECT_EQ(r.journal.calls.back().what, "play");
    EXPECT_GE(r.loop.now_ms(), t1 + 1000);
    EXPECT_LE(r.loop.now_ms(), t1 + 5000);
  }
}
