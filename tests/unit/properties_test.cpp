#include "forms/properties.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "forms/hotkey_field.h"
#include "forms/wizard.h"
#include "platform/error.h"
#include "platform/text.h"
#include "store/macro_store.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

using namespace kv;
using kv::fake::FakeEventLoop;
using kv::fake::FakeFileSystem;
using kv::fake::FakeJournal;
using kv::fake::FakeProfileStore;

namespace {

const std::string kDir = "C:\\Program Files\\Keyvane\\";

// The store and the files writing into one log, so that the order of OK's steps shows.
struct Log {
  std::vector<std::string> lines;
};

class LoggedStore : public FakeProfileStore {
 public:
  explicit LoggedStore(Log& log) : log_(log) {}
  bool write_string(std::string_view section, std::string_view key, std::string_view value) override {
    log_.lines.push_back(std::string(section) + "." + std::string(key) + "=" + std::string(value));
    return FakeProfileStore::write_string(section, key, value);
  }

 private:
  Log& log_;
};

class LoggedFiles : public FakeFileSystem {
 public:
  explicit LoggedFiles(Log& log) : log_(log) {}
  bool rename_file(const std::string& from, const std::string& to) override {
    log_.lines.push_back("rename " + short_name(from) + " " + short_name(to));
    return FakeFileSystem::rename_file(from, to);
  }
  bool replace_file(const std::string& from, const std::string& to) override {
    log_.lines.push_back("replace " + short_name(from) + " " + short_name(to));
    return FakeFileSystem::replace_file(from, to);
  }
  bool delete_file(const std::string& path) override {
    log_.lines.push_back("delete " + short_name(path));
    return FakeFileSystem::delete_file(path);
  }
  static std::string short_name(const std::string& path) {
    return path.starts_with(kDir) ? path.substr(kDir.size()) : "!" + path;
  }

 private:
  Log& log_;
};

class FakeStopHotkey : public StopRecordHotkey {
 public:
  bool enabled = false;
  PropertiesStopClient* client = nullptr;
  void set_enabled(bool on) override { enabled = on; }
  void set_properties(PropertiesStopClient* c) override { client = c; }
};

class FakeView : public PropertiesView {
 public:
  PropertiesLayout layout;
  PropertiesButtons buttons;
  std::vector<PropertiesFocus> focused;
  std::vector<std::string> errors, messages, warnings;
  int closed = 0;
  bool windows_shown = true;
  NameInput name;
  std::string file, trigger_text, practice = "typed last time";
  ShortCut key = 0;
  bool fast = false;

  void apply(const PropertiesLayout& l) override { layout = l; }
  void apply(const PropertiesButtons& b) override { buttons = b; }
  void focus(PropertiesFocus c) override { focused.push_back(c); }
  void error_box(const std::string& t) override { errors.push_back(t); }
  void message_box(const std::string& t) override { messages.push_back(t); }
  void warning_box(const std::string& t) override { warnings.push_back(t); }
  void close() override { ++closed; }
  void show_windows(bool on) override { windows_shown = on; }
  NameInput macro_name() override { return name; }
  void set_macro_name(const std::string& t) override { name = {t, true}; }
  std::string file_field() override { return file; }
  void set_file_field(const std::string& t) override { file = t; }
  ShortCut hot_key() override { return key; }
  void set_hot_key(ShortCut v) override { key = v; }
  std::string trigger() override { return trigger_text; }
  void set_trigger(const std::string& t) override { trigger_text = t; }
  bool high_speed() override { return fast; }
  void set_high_speed(bool on) override { fast = on; }
  void clear_practice() override { practice.clear(); }
};

class FakeWizardView : public WizardView {
 public:
  WizardPage page = WizardPage::Finished;
  WizardButtons buttons;
  std::string script_text = "left over", name_text = "left over";
  int closed = 0;
  void show_page(WizardPage p) override { page = p; }
  void apply(const WizardButtons& b) override { buttons = b; }
  void focus(WizardFocus) override {}
  void show_summary(const WizardSummary&) override {}
  void error_box(const std::string&) override {}
  void warning_box(const std::string&) override {}
  bool confirm_cancel() override { return true; }
  void close() override { ++closed; }
  // Edit mode never records.
  void hide_for_recording() override { ADD_FAILURE() << "hidden for a recording"; }
  void show_after_recording() override { ADD_FAILURE() << "shown after a recording"; }
  NameInput macro_name() override { return {name_text, true}; }
  ShortCut hot_key() override { return 0; }
  std::string trigger() override { return {}; }
  std::string command_line() override { return {}; }
  std::string script() override { return script_text; }
  void clear_fields() override { script_text = name_text = ""; }
  void set_script(const std::string& t) override { script_text = t; }
  StartOption start_option() override { return StartOption::Advanced; }
  RecordOption record_option() override { return RecordOption::KeysOnly; }
  bool high_speed() override { return false; }
  int shortcut_item() override { return 0; }
  void set_shortcut_item(int) override {}
};

struct Rig {
  Log log;
  LoggedStore profile{log};
  LoggedFiles files{log};
  FakeEventLoop loop;
  FakeJournal recorder;
  FakeStopHotkey stop;
  FakeView view;
  FakeWizardView wizard_view;
  std::vector<bool> suspensions;  // every change of the authoring suspension flag
  std::vector<std::string> calls;
  std::function<void()> in_wizard;  // what the user does while the wizard is shown
  int wizard_shown = 0;
  Wizard wizard{
      Wizard::Deps{profile, files, loop, [](std::string_view s) { return ascii_upper(s); },
                   [](std::uint8_t) { return std::string(); }, nullptr, [this](bool on) { suspensions.push_back(on); },
                   nullptr, [] {}, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
      wizard_view};
  Properties props{
      Properties::Deps{profile, files, recorder, stop, wizard,
                       [this] {
                         ++wizard_shown;
                         wizard.FormShow();
                         if (in_wizard) in_wizard();
                       },
                       [](std::string_view s) { return ascii_upper(s); }, [](std::uint8_t) { return std::string(); },
                       [this](bool on) { suspensions.push_back(on); }, [this] { calls.push_back("LoadMacroList"); },
                       [this] { calls.push_back("AssignHotKeys"); }, nullptr},
      view};

  Rig() { files.dir = kDir; }
  void macros(std::initializer_list<std::vector<std::pair<const char*, std::string>>> list) {
    int n = 0;
    for (const auto& keys : list) {
      ++n;
      for (const auto& [k, v] : keys) profile.write_string(macro_section(n), k, v);
    }
    profile.write_string("Main", "Entries", std::to_string(n));
    log.lines.clear();
  }
  void open(int n) {
    props.FormShow(n);
    log.lines.clear();
  }
  std::string key(int n, const char* k) { return profile.read_string(macro_section(n), k, "<missing>"); }
};

}  // namespace

TEST(PropertiesOpening, EachKindShowsItsControlsAndFieldsAndSetsUpTheJournal) {
  struct Case {
    std::string type;  // empty: no Type key
    PropertiesLayout layout;
    bool journal;
  } cases[] = {
      {"1", {"Start an Application or Launch a Document", true, true, false, false, false}, false},
      {"2", {"Playback Keystrokes", false, false, false, false, true}, true},
      {"3", {"Playback Mouse and Keyboard", false, false, false, true, true}, true},
      {"4", {"Playback Manually Created Keystrokes", false, false, true, false, false}, false},
      {"7", {}, false},
      {"", {}, false},
  };
  for (const Case& c : cases) {
    Rig r;
    std::vector<std::pair<const char*, std::string>> keys = {{"Name", "Notes"},
                                                             {"HotKey", "16459"},
                                                             {"Trigger", "Untitled - Notepad"},
                                                             {"FileName", "Notes.dat"},
                                                             {"Speed", "2"}};
    if (!c.type.empty()) keys.push_back({"Type", c.type});
    r.macros({{{"Name", "First"}, {"Type", "2"}}, keys});
    // The previous showing was of a keystroke macro, and the wizard recorded since.
    r.props.FormShow(1);
    r.props.cmdCancelPropsClick();
    r.recorder.record_file = "C:\\elsewhere\\Other.dat";
    r.view = FakeView{};
    r.props.FormShow(2);
    SCOPED_TRACE("Type " + c.type);
    EXPECT_EQ(r.view.layout, c.layout);
    EXPECT_EQ(r.view.name.text, "Notes");
    EXPECT_EQ(r.props.loaded_name(), "Notes");
    EXPECT_EQ(r.view.key, 16459);
    EXPECT_EQ(r.view.trigger_text, "Untitled - Notepad");
    EXPECT_EQ(r.view.file, c.type == "1" ? "Notes.dat" : "");
    EXPECT_EQ(r.view.practice, "");
    EXPECT_EQ(r.view.focused.back(), PropertiesFocus::MacroName);
    EXPECT_EQ(r.view.buttons, PropertiesButtons{});
    EXPECT_EQ(r.suspensions.back(), true);
    EXPECT_TRUE(r.stop.enabled);
    EXPECT_EQ(r.stop.client, &r.props);
    if (c.journal) {
      EXPECT_EQ(r.recorder.playback_file, kDir + "Notes.dat");
      EXPECT_EQ(r.recorder.record_file, kDir + "~temp.dat");
      EXPECT_EQ(r.recorder.hi_speed, c.type == "2");
      EXPECT_EQ(r.recorder.keystrokes_only, c.type == "2");
    } else {
      EXPECT_EQ(r.recorder.record_file, "C:\\elsewhere\\Other.dat");
    }
    EXPECT_EQ(r.view.fast, c.type == "3");
    EXPECT_TRUE(r.log.lines.empty()) << "opening writes nothing";
  }
}

TEST(PropertiesOpening, TheSpeedOptionFollowsSpeedWhateverTheLastShowingSelected) {
  struct Case {
    std::string speed;  // empty: no Speed key
    bool fast;
  } cases[] = {{"", false}, {"1", false}, {"2", true}, {"0", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE("Speed " + c.speed);
    Rig r;
    std::vector<std::pair<const char*, std::string>> keys = {{"Name", "Mouse"}, {"Type", "3"}};
    if (!c.speed.empty()) keys.push_back({"Speed", c.speed});
    r.macros({keys});
    r.view.fast = !c.fast;
    r.props.FormShow(1);
    EXPECT_EQ(r.view.fast, c.fast);
  }
}

TEST(PropertiesOpening, TheHotkeyFieldShowsAStoredShortCutAsItsOwnKeys) {
  // Every modifier set on every key comes back unchanged through the field.
  for (unsigned mods = 0; mods < 8; ++mods)
    for (unsigned vk = 0; vk < 256; ++vk) {
      const auto value = static_cast<ShortCut>((mods << 13) | vk);
      ASSERT_EQ(shortcut_from_hotkey_edit(hotkey_edit_from_shortcut(value)), value) << value;
    }
  // Shift+Ctrl+Left, Alt+Home, Ctrl+Alt+Del, numeric-pad Divide, Num Lock: extended keys.
  EXPECT_EQ(hotkey_edit_from_shortcut(0x6025), 0x0B25);
  EXPECT_EQ(hotkey_edit_from_shortcut(0x8024), 0x0C24);
  EXPECT_EQ(hotkey_edit_from_shortcut(0xC02E), 0x0E2E);
  EXPECT_EQ(hotkey_edit_from_shortcut(0x406F), 0x0A6F);
  EXPECT_EQ(hotkey_edit_from_shortcut(0x4090), 0x0A90);
  // Letters, function keys, Enter and the numeric-pad digits are not.
  EXPECT_EQ(hotkey_edit_from_shortcut(0xC041), 0x0641);
  EXPECT_EQ(hotkey_edit_from_shortcut(0x2074), 0x0174);
  EXPECT_EQ(hotkey_edit_from_shortcut(0x400D), 0x020D);
  EXPECT_EQ(hotkey_edit_from_shortcut(0x8064), 0x0464);
  EXPECT_EQ(hotkey_edit_from_shortcut(0), 0);
}

TEST(PropertiesOk, WritesAndMovesInOrderForEachKindOfChange) {
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, std::string>> macro;
    std::string typed_name, typed_file;
    bool fast;
    std::vector<std::string> log;
  } cases[] = {
      {"case-only rename",
       {{"Name", "Notes"}, {"Type", "2"}, {"FileName", "Notes.dat"}},
       "NOTES",
       "",
       false,
       {"rename Notes.dat NOTES.dat", "Macro1.HotKey=0", "Macro1.Name=NOTES", "Macro1.FileName=NOTES.dat",
        "Macro1.Trigger="}},
      {"trailing blanks",
       {{"Name", "Report"}, {"Type", "4"}, {"FileName", "Report.key"}},
       "Daily  ",
       "",
       false,
       {"rename Report.key Daily.key", "Macro1.HotKey=0", "Macro1.Name=Daily", "Macro1.FileName=Daily.key",
        "Macro1.Trigger="}},
      {"path with trailing blanks",
       {{"Name", "Fax"}, {"Type", "1"}, {"FileName", "fax.exe"}},
       "Fax",
       "C:\\Tools\\fax.exe   ",
       false,
       {"Macro1.HotKey=0", "Macro1.Name=Fax", "Macro1.FileName=C:\\Tools\\fax.exe", "Macro1.Trigger="}},
      {"Speed 2 without touching the recording",
       {{"Name", "Mouse"}, {"Type", "3"}, {"FileName", "Mouse.dat"}, {"Speed", "1"}},
       "Mouse",
       "",
       true,
       {"Macro1.HotKey=0", "Macro1.Name=Mouse", "Macro1.FileName=Mouse.dat", "Macro1.Speed=2", "Macro1.Trigger="}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig r;
    r.macros({c.macro});
    r.files.files[kDir + "Notes.dat"] = r.files.files[kDir + "Report.key"] = r.files.files[kDir + "Mouse.dat"] = "x";
    r.open(1);
    r.view.name.text = c.typed_name;
    r.view.file = c.typed_file;
    r.view.fast = c.fast;
    r.props.Button1Click();
    EXPECT_EQ(r.log.lines, c.log);
    EXPECT_TRUE(r.view.errors.empty());
    EXPECT_EQ(r.calls, (std::vector<std::string>{"LoadMacroList", "AssignHotKeys"}));
    EXPECT_EQ(r.view.closed, 1);
    EXPECT_EQ(r.suspensions.back(), false);
    EXPECT_FALSE(r.stop.enabled);
    EXPECT_EQ(r.stop.client, nullptr);
    EXPECT_TRUE(r.files.exists(kDir + r.key(1, "FileName")) || r.key(1, "Type") == "1");
  }
}

TEST(PropertiesOk, ANewTakeReplacesTheRecordingAndCancelKeepsTheOldOne) {
  for (bool rename : {false, true}) {
    SCOPED_TRACE(rename ? "with a rename" : "same name");
    Rig r;
    r.macros({{{"Name", "Keys"}, {"Type", "2"}, {"FileName", "Keys.dat"}}});
    r.files.files[kDir + "Keys.dat"] = "old take";
    r.open(1);
    r.props.cmdPlayClick();
    r.props.cmdRecordClick();
    r.files.files[kDir + "~temp.dat"] = "new take";
    r.props.cmdStopClick();
    r.props.cmdPlayClick();
    ASSERT_EQ(r.recorder.calls.size(), 4u);
    EXPECT_EQ(r.recorder.calls[0].file, kDir + "Keys.dat") << "Playback before a take plays the recording";
    EXPECT_EQ(r.recorder.calls[1].what, "record");
    EXPECT_EQ(r.recorder.calls[1].file, kDir + "~temp.dat");
    EXPECT_EQ(r.recorder.calls[3].file, kDir + "~temp.dat");
    if (rename) r.view.name.text = "Typing";
    r.props.Button1Click();
    const std::string target = rename ? "Typing.dat" : "Keys.dat";
    const std::vector<std::string> want =
        rename ? std::vector<std::string>{"replace ~temp.dat Typing.dat",
                                          "delete Keys.dat",
                                          "Macro1.HotKey=0",
                                          "Macro1.Name=Typing",
                                          "Macro1.FileName=Typing.dat",
                                          "Macro1.Trigger="}
               : std::vector<std::string>{"replace ~temp.dat Keys.dat", "Macro1.HotKey=0", "Macro1.Name=Keys",
                                          "Macro1.FileName=Keys.dat", "Macro1.Trigger="};
    EXPECT_EQ(r.log.lines, want);
    EXPECT_EQ(r.files.files[kDir + target], "new take");
    EXPECT_FALSE(r.files.exists(kDir + "~temp.dat"));
    EXPECT_EQ(r.files.exists(kDir + "Keys.dat"), !rename);
  }
  Rig r;
  r.macros({{{"Name", "Keys"}, {"Type", "2"}, {"FileName", "Keys.dat"}}});
  r.files.files[kDir + "Keys.dat"] = "old take";
  r.open(1);
  const std::string before = r.profile.dump();
  r.props.cmdRecordClick();
  r.files.files[kDir + "~temp.dat"] = "new take";
  r.props.cmdStopClick();
  r.view.name.text = "Typing";
  r.props.cmdCancelPropsClick();
  EXPECT_EQ(r.profile.dump(), before);
  EXPECT_EQ(r.files.files[kDir + "Keys.dat"], "old take");
  EXPECT_FALSE(r.files.exists(kDir + "~temp.dat"));
  EXPECT_EQ(r.view.closed, 1);
  EXPECT_FALSE(r.props.new_recording());
}

TEST(PropertiesOk, AFileThatCannotBeMovedLeavesStoreAndRecordingAsTheyWere) {
  struct Case {
    const char* what;
    bool take;
    std::string orphan;  // a file already called what the macro's would become
  } cases[] = {{"take onto a file that cannot be written", true, ""},
               {"rename onto a file that is there", false, "Typing.dat"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Rig r;
    r.macros({{{"Name", "Keys"}, {"Type", "2"}, {"FileName", "Keys.dat"}}});
    r.files.files[kDir + "Keys.dat"] = "old take";
    if (!c.orphan.empty()) r.files.files[kDir + c.orphan] = "nobody's";
    if (c.take) r.files.refused.insert(kDir + "Typing.dat");
    r.open(1);
    if (c.take) {
      r.props.cmdRecordClick();
      r.files.files[kDir + "~temp.dat"] = "new take";
      r.props.cmdStopClick();
    }
    const std::string before = r.profile.dump();
    r.view.name.text = "Typing";
    try {
      r.props.Button1Click();
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Unable to write to " + kDir + "Typing.dat");
    }
    EXPECT_EQ(r.profile.dump(), before);
    EXPECT_EQ(r.files.files[kDir + "Keys.dat"], "old take");
    EXPECT_EQ(r.view.closed, 0);
    EXPECT_TRUE(r.props.is_open());
    EXPECT_EQ(r.props.new_recording(), c.take);
  }
  // A macro whose file is already missing still takes its new name.
  Rig r;
  r.macros({{{"Name", "Keys"}, {"Type", "2"}, {"FileName", "Keys.dat"}}});
  r.open(1);
  r.view.name.text = "Typing";
  r.props.Button1Click();
  EXPECT_EQ(r.key(1, "FileName"), "Typing.dat");
  EXPECT_EQ(r.view.closed, 1);
}

TEST(PropertiesOk, RefusedNamesAndAnEmptyProgramWriteNothingAndFocusTheirField) {
  struct Case {
    NameInput name;
    std::string file;
    std::string error;
    PropertiesFocus focus;
  } cases[] = {
      {{"", true}, "fax.exe", kPropertiesNameEmpty, PropertiesFocus::MacroName},
      {{"   ", true}, "fax.exe", kPropertiesNameEmpty, PropertiesFocus::MacroName},
      {{"other ", true}, "fax.exe", kNameTaken, PropertiesFocus::MacroName},
      {{"a:b", true}, "fax.exe", kNameNotAFileName, PropertiesFocus::MacroName},
      {{"~TEMP", true}, "fax.exe", kNameNotAFileName, PropertiesFocus::MacroName},
      {{" Lead", true}, "fax.exe", kNameNotAFileName, PropertiesFocus::MacroName},
      {{"lpt1", true}, "fax.exe", kNameNotAFileName, PropertiesFocus::MacroName},
      {{"Fax?", false}, "fax.exe", kNameOutsideCodePage, PropertiesFocus::MacroName},
      {{"Fax", true}, "  ", kPropertiesNoApplication, PropertiesFocus::Browse},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.text + "|" + c.file);
    Rig r;
    r.macros({{{"Name", "Fax"}, {"Type", "1"}, {"FileName", "fax.exe"}}, {{"Name", "Other"}, {"Type", "4"}}});
    r.open(1);
    const std::string before = r.profile.dump();
    r.view.name = c.name;
    r.view.file = c.file;
    r.props.Button1Click();
    EXPECT_EQ(r.view.errors, std::vector<std::string>{c.error});
    EXPECT_EQ(r.view.focused.back(), c.focus);
    EXPECT_EQ(r.profile.dump(), before);
    EXPECT_TRUE(r.log.lines.empty());
    EXPECT_EQ(r.view.closed, 0);
    EXPECT_EQ(r.suspensions.back(), true);
  }
  // Entries that already share a name can still be edited as long as the name stays.
  Rig r;
  r.macros({{{"Name", "Twin"}, {"Type", "1"}, {"FileName", "a.exe"}}, {{"Name", "Twin"}, {"Type", "1"}}});
  r.open(1);
  r.view.key = 16459;
  r.props.Button1Click();
  EXPECT_TRUE(r.view.errors.empty());
  EXPECT_EQ(r.key(1, "HotKey"), "16459");
}

TEST(PropertiesEditMode, SaveWritesTheCurrentFileSoCancelOrARenamedOkKeepTheScript) {
  for (bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "Save then OK with a rename" : "Save then Cancel");
    Rig r;
    r.macros({{{"Name", "Notes"}, {"Type", "4"}, {"FileName", "Notes.key"}}});
    r.files.files[kDir + "Notes.key"] = "\r\n  old<<ENTER>>\r\n\r\n";
    r.open(1);
    r.view.name.text = "Memo";
    std::string loaded;
    WizardButtons in_edit;
    r.in_wizard = [&] {
      loaded = r.wizard_view.script_text;
      in_edit = r.wizard_view.buttons;
      EXPECT_EQ(r.wizard_view.page, WizardPage::ManualKeys);
      r.wizard_view.script_text = "new";
      r.wizard.cmdSaveClick();
    };
    r.props.cmdEditManKeysClick();
    EXPECT_EQ(loaded, "old<<ENTER>>");
    EXPECT_TRUE(in_edit.save_visible && in_edit.edit_picture);
    EXPECT_FALSE(in_edit.next_visible || in_edit.back_visible || in_edit.finished_visible);
    EXPECT_EQ(r.wizard_view.closed, 1);
    EXPECT_FALSE(r.wizard.edit_mode);
    EXPECT_FALSE(r.wizard_view.buttons.save_visible || r.wizard_view.buttons.edit_picture);
    EXPECT_TRUE(r.wizard_view.buttons.next_visible && r.wizard_view.buttons.back_visible);
    EXPECT_EQ(r.files.files[kDir + "Notes.key"], "new\r\n");
    EXPECT_EQ(r.view.closed, 0) << "the dialog stays open";
    if (ok) {
      r.props.Button1Click();
      EXPECT_EQ(r.key(1, "FileName"), "Memo.key");
      EXPECT_EQ(r.files.files[kDir + "Memo.key"], "new\r\n");
      EXPECT_FALSE(r.files.exists(kDir + "Notes.key"));
    } else {
      r.props.cmdCancelPropsClick();
      EXPECT_EQ(r.key(1, "FileName"), "Notes.key");
      EXPECT_FALSE(r.files.exists(kDir + "Memo.key"));
    }
  }
}

TEST(PropertiesEditMode, HotkeysStaySuspendedAcrossTheWizardUntilTheDialogCloses) {
  enum class End { Save, Cancel, CloseBox };
  for (End end : {End::Save, End::Cancel, End::CloseBox}) {
    Rig r;
    r.macros({{{"Name", "Notes"}, {"Type", "4"}, {"FileName", "Notes.key"}}});
    r.files.files[kDir + "Notes.key"] = "hi";
    r.open(1);
    r.in_wizard = [&] {
      if (end == End::Save) r.wizard.cmdSaveClick();
      if (end == End::Cancel) r.wizard.cmdCancelClick();
      if (end == End::CloseBox) r.wizard.close_box();
    };
    r.props.cmdEditManKeysClick();
    EXPECT_EQ(r.wizard_shown, 1);
    EXPECT_EQ(r.wizard_view.closed, 1);
    EXPECT_EQ(std::count(r.suspensions.begin(), r.suspensions.end(), false), 0) << "cleared while the dialog was open";
    EXPECT_TRUE(r.stop.enabled);
    EXPECT_EQ(r.stop.client, &r.props);
    r.props.cmdCancelPropsClick();
    EXPECT_EQ(r.suspensions.back(), false);
  }
}

TEST(PropertiesEditMode, AnUnreadableScriptIsReportedAndTheWizardPutBack) {
  Rig r;
  r.macros({{{"Name", "Notes"}, {"Type", "4"}, {"FileName", "Notes.key"}}});
  r.open(1);
  r.props.cmdEditManKeysClick();
  EXPECT_EQ(r.view.messages, std::vector<std::string>{kScriptNotLoaded});
  EXPECT_EQ(r.wizard_shown, 0);
  EXPECT_FALSE(r.wizard.edit_mode);
  EXPECT_EQ(r.wizard_view.page, WizardPage::Start);
  EXPECT_EQ(r.wizard_view.script_text, "");
  EXPECT_EQ(r.wizard_view.name_text, "");
  const WizardButtons& b = r.wizard_view.buttons;
  EXPECT_FALSE(b.save_visible || b.edit_picture || b.play_keys || b.play_mouse || b.back_enabled);
  EXPECT_TRUE(b.next_visible && b.back_visible);
  EXPECT_TRUE(r.props.is_open());
  EXPECT_EQ(r.suspensions, std::vector<bool>{true});
}

TEST(PropertiesRecording, AMouseRecordingHidesTheWindowsUntilTheHotkeyStopsIt) {
  Rig r;
  r.macros({{{"Name", "Mouse"}, {"Type", "3"}, {"FileName", "Mouse.dat"}}});
  r.open(1);
  r.props.cmdRecordClick();
  EXPECT_FALSE(r.view.windows_shown);
  EXPECT_EQ(r.view.buttons, (PropertiesButtons{false, true, false, false, false}));
  EXPECT_TRUE(r.stop.enabled) << "hidden is not closed";
  EXPECT_FALSE(r.recorder.keystrokes_only);
  // The hotkey stops the journal, then hands over to the dialog.
  r.recorder.stop_record();
  ASSERT_EQ(r.stop.client, &r.props);
  r.stop.client->recording_stopped_by_hotkey();
  EXPECT_TRUE(r.view.windows_shown);
  EXPECT_EQ(r.view.buttons, PropertiesButtons{});
  EXPECT_FALSE(r.props.recording());
  // Playback at the speed chosen now, from the take.
  r.view.fast = true;
  r.props.cmdPlayClick();
  EXPECT_EQ(r.recorder.calls.back().what, "play");
  EXPECT_EQ(r.recorder.calls.back().file, kDir + "~temp.dat");
  EXPECT_TRUE(r.recorder.calls.back().hi_speed);
  // Pressed again with nothing recorded, the hotkey changes nothing here.
  r.view.windows_shown = false;
  r.stop.client->recording_stopped_by_hotkey();
  EXPECT_FALSE(r.view.windows_shown);
}

TEST(PropertiesRecording, TheCloseBoxDuringARecordingStopsItAndDiscardsTheTake) {
  Rig r;
  r.macros({{{"Name", "Keys"}, {"Type", "2"}, {"FileName", "Keys.dat"}}});
  r.files.files[kDir + "Keys.dat"] = "old take";
  r.open(1);
  const std::string before = r.profile.dump();
  r.props.cmdRecordClick();
  r.files.files[kDir + "~temp.dat"] = "half a take";
  // Esc and Enter do nothing while their buttons are off.
  r.props.cmdCancelPropsClick();
  r.props.Button1Click();
  EXPECT_EQ(r.view.closed, 0);
  r.props.close_box();
  ASSERT_EQ(r.recorder.calls.size(), 2u);
  EXPECT_EQ(r.recorder.calls[1].what, "stop");
  EXPECT_FALSE(r.files.exists(kDir + "~temp.dat"));
  EXPECT_EQ(r.files.files[kDir + "Keys.dat"], "old take");
  EXPECT_EQ(r.profile.dump(), before);
  EXPECT_EQ(r.view.closed, 1);
  EXPECT_EQ(r.suspensions.back(), false);
  EXPECT_FALSE(r.stop.enabled);
  EXPECT_EQ(r.stop.client, nullptr);
}
