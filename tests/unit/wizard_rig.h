// The wizard's presenter over a fake window and fake ports, shared by the wizard's tests.
#pragma once
#include <set>

#include "forms/wizard.h"
#include "platform/text.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

namespace kv::test {

using kv::fake::FakeEventLoop;
using kv::fake::FakeFileSystem;
using kv::fake::FakeJournal;
using kv::fake::FakeProfileStore;

class FakeWizardView : public WizardView {
 public:
  WizardPage page = WizardPage::Finished;  // nothing shown yet
  WizardButtons buttons;
  std::vector<WizardFocus> focused;
  WizardSummary shown_summary;
  std::vector<std::string> errors;
  std::vector<std::string> warnings;
  bool answer_yes = false;
  int questions = 0;
  int closed = 0;
  bool windows_hidden = false;
  // What the recording steps did, in order, with the journal's calls.
  std::vector<std::string> log;

  NameInput name;
  ShortCut key = 0;
  std::string trigger_text, command, script_text;
  StartOption start = StartOption::Advanced;
  RecordOption record = RecordOption::KeysOnly;
  bool fast = false;
  int shortcut = 0;

  void show_page(WizardPage p) override { page = p; }
  void apply(const WizardButtons& b) override { buttons = b; }
  void focus(WizardFocus c) override {
    focused.push_back(c);
    if (c == WizardFocus::Practice) log.push_back("focus practice");
  }
  void show_summary(const WizardSummary& s) override { shown_summary = s; }
  void error_box(const std::string& text) override { errors.push_back(text); }
  void warning_box(const std::string& text) override { warnings.push_back(text); }
  bool confirm_cancel() override {
    ++questions;
    return answer_yes;
  }
  void close() override { ++closed; }
  void hide_for_recording() override {
    windows_hidden = true;
    log.push_back("hide");
  }
  void show_after_recording() override {
    windows_hidden = false;
    log.push_back("show on top");
  }
  NameInput macro_name() override { return name; }
  ShortCut hot_key() override { return key; }
  std::string trigger() override { return trigger_text; }
  std::string command_line() override { return command; }
  std::string script() override { return script_text; }
  void clear_fields() override {
    name = {};
    key = 0;
    trigger_text = command = script_text = "";
  }
  void set_script(const std::string& text) override { script_text = text; }
  StartOption start_option() override { return start; }
  RecordOption record_option() override { return record; }
  bool high_speed() override { return fast; }
  int shortcut_item() override { return shortcut; }
  void set_shortcut_item(int item) override { shortcut = item; }

  WizardFocus last_focus() const { return focused.empty() ? WizardFocus::Finished : focused.back(); }
};

struct Rig {
  FakeProfileStore profile;
  FakeFileSystem files;
  FakeEventLoop loop;
  FakeWizardView view;
  std::vector<std::string> rows;
  bool suspended = false;
  bool stop_hotkey = false;
  std::vector<std::string> calls;  // what Finish called, in order
  std::function<void()> on_shortcut;
  std::set<int> refused_hotkeys;  // macros whose hotkey the platform would not register
  FakeJournal journal;
  std::vector<std::string> hints;
  std::set<std::string> rename_refused;  // targets a rename cannot reach
  std::set<std::uint8_t> held;           // keys the user holds until release_at on the loop's clock
  std::uint64_t release_at = 0;
  Wizard wizard{Wizard::Deps{profile, files, loop, [](std::string_view s) { return ascii_upper(s); },
                             [](std::uint8_t) { return std::string(); }, [this] { return rows; },
                             [this](bool on) { suspended = on; }, [this](bool on) { stop_hotkey = on; },
                             [this] { calls.push_back("AssignHotKeys after " + std::to_string(loop.process_calls)); },
                             [this](TShellFolder where, int n) {
                               calls.push_back("Shortcut_Create " + std::to_string(static_cast<int>(where)) + " " +
                                               std::to_string(n));
                               if (on_shortcut) on_shortcut();
                             },
                             [this](int n) { return refused_hotkeys.count(n) != 0; }, &journal,
                             [this](const std::string& text) {
                               hints.push_back(text);
                               view.log.push_back(journal.calls.empty() ? "hint closed" : "hint after the journal");
                             },
                             [this](const std::string& from, const std::string& to) {
                               if (rename_refused.count(to) || !files.exists(from)) return false;
                               files.files[to] = files.files[from];
                               files.files.erase(from);
                               return true;
                             },
                             [this](std::uint8_t vk) { return held.count(vk) != 0 && loop.now_ms() < release_at; }},
                view};

  // A new run of an application macro up to the summary.
  void application_summary(const std::string& name) {
    view.start = StartOption::StartApp;
    to_summary(name);
    view.command = "fax.exe";
  }
  // A new run up to the summary for the chosen options.
  void to_summary(const std::string& name) {
    wizard.FormShow();
    wizard.cmdNextClick();
    view.name.text = name;
    wizard.cmdNextClick();
    wizard.cmdNextClick();
    if (view.start == StartOption::Playback) wizard.cmdNextClick();
    view.command = "notepad.exe";
    wizard.cmdNextClick();
    ASSERT_EQ(wizard.page(), WizardPage::Finished);
  }
  std::string key(int n, const char* k) { return profile.read_string(macro_section(n), k, "<missing>"); }

  Rig() { journal.disk = &files; }
  // A new run up to the recording page of the record option, with this name.
  void to_recording_page(const std::string& name, RecordOption option) {
    view.start = StartOption::Playback;
    view.record = option;
    wizard.FormShow();
    wizard.cmdNextClick();
    view.name.text = name;
    wizard.cmdNextClick();
    wizard.cmdNextClick();
    wizard.cmdNextClick();
  }
  std::string dir() { return files.dir; }
};

}  // namespace kv::test
