#include "forms/wizard.h"

#include "platform/error.h"
#include "platform/text.h"

namespace kv {

TShellFolder shortcut_choice_folder(int item) {
  constexpr TShellFolder folders[] = {TShellFolder::sfNone,     TShellFolder::sfDesktop, TShellFolder::sfStartMenu,
                                      TShellFolder::sfPrograms, TShellFolder::sfStartup, TShellFolder::sfFavorites,
                                      TShellFolder::sfPersonal};
  if (item < 0 || item >= static_cast<int>(std::size(folders))) return TShellFolder::sfNone;
  return folders[item];
}

Wizard::Wizard(Deps deps, WizardView& view) : d_(std::move(deps)), view_(view) {}

void Wizard::FormShow() {
  if (d_.enable_stop_hotkey) d_.enable_stop_hotkey(true);
  // Shown again after a recording: the run goes on where it was.
  if (wizard_recording) return;
  if (edit_mode) {
    view_.focus(WizardFocus::ScriptEditor);
    return;
  }
  d_.set_authoring_suspended(true);
  takes_.clear();
  last_take_.clear();
  kept_take_.clear();
  go(WizardPage::Start);
  view_.clear_fields();
  buttons_.play_keys = buttons_.play_mouse = false;
  buttons_.edit_picture = buttons_.save_visible = false;
  buttons_.next_visible = buttons_.next_enabled = true;
  buttons_.back_visible = true;
  buttons_.back_enabled = false;
  buttons_.finished_visible = false;
  update();
  view_.focus(WizardFocus::StartOptions);
}

void Wizard::go(WizardPage page) {
  page_ = page;
  view_.show_page(page);
}

MacroKind Wizard::kind() {
  switch (view_.start_option()) {
    case StartOption::StartApp:
      return MacroKind::StartApplication;
    case StartOption::Playback:
      return view_.record_option() == RecordOption::KeysOnly ? MacroKind::Keystrokes : MacroKind::MouseAndKeyboard;
    case StartOption::Advanced:
      break;
  }
  return MacroKind::AdvancedScript;
}

WizardPage Wizard::last_page() {
  switch (kind()) {
    case MacroKind::StartApplication:
      return WizardPage::StartApp;
    case MacroKind::Keystrokes:
      return WizardPage::RecordKeys;
    case MacroKind::MouseAndKeyboard:
      return WizardPage::RecordMouse;
    default:
      return WizardPage::ManualKeys;
  }
}

WizardSummary Wizard::summary() {
  WizardSummary s;
  s.name = view_.macro_name().text;
  switch (kind()) {
    case MacroKind::StartApplication:
      s.type = "Start an Application";
      break;
    case MacroKind::Keystrokes:
      s.type = "Playback keyboard";
      break;
    case MacroKind::MouseAndKeyboard:
      s.type = "Playback mouse and keyboard";
      break;
    default:
      s.type = "Playback advanced macro";
      break;
  }
  const ShortCut key = view_.hot_key();
  s.shortcut_keys = key == 0 ? "None" : shortcut_text(key, d_.platform_key_name);
  s.window_trigger = view_.trigger();
  if (s.window_trigger.empty()) s.window_trigger = "None";
  return s;
}

void Wizard::cmdNextClick() {
  switch (page_) {
    case WizardPage::Start:
      go(WizardPage::Name);
      view_.focus(WizardFocus::MacroName);
      break;
    case WizardPage::Name: {
      view_.set_shortcut_item(0);
      const std::vector<std::string> rows = d_.list_captions ? d_.list_captions() : std::vector<std::string>{};
      if (auto problem = macro_name_problem(view_.macro_name(), rows, d_.upper)) {
        view_.error_box(*problem);
        view_.focus(WizardFocus::MacroName);
        return;
      }
      go(WizardPage::HotKey);
      view_.focus(WizardFocus::HotKey);
      break;
    }
    case WizardPage::HotKey:
      switch (view_.start_option()) {
        case StartOption::Advanced:
          go(WizardPage::ManualKeys);
          view_.focus(WizardFocus::ScriptEditor);
          break;
        case StartOption::Playback:
          go(WizardPage::Keystype);
          break;
        case StartOption::StartApp:
          go(WizardPage::StartApp);
          view_.focus(WizardFocus::Browse);
          break;
      }
      break;
    case WizardPage::StartApp:
      // Blanks alone name nothing the shell could open.
      if (trim_controls(view_.command_line()).empty()) {
        view_.error_box(kNoApplication);
        view_.focus(WizardFocus::Browse);
        return;
      }
      [[fallthrough]];
    case WizardPage::RecordKeys:
    case WizardPage::RecordMouse:
    case WizardPage::ManualKeys:
      go(WizardPage::Finished);
      buttons_.next_visible = false;
      buttons_.finished_visible = true;
      view_.show_summary(summary());
      break;
    case WizardPage::Keystype:
      go(view_.record_option() == RecordOption::KeysOnly ? WizardPage::RecordKeys : WizardPage::RecordMouse);
      // Only a stopped recording (or Back) brings Next back.
      buttons_.next_enabled = false;
      break;
    case WizardPage::Finished:
      return;
  }
  buttons_.back_enabled = true;
  update();
  if (page_ == WizardPage::Finished) view_.focus(WizardFocus::Finished);
}

void Wizard::cmdStepBackClick() {
  buttons_.next_enabled = true;
  switch (page_) {
    case WizardPage::Start:
      break;
    case WizardPage::Name:
      go(WizardPage::Start);
      buttons_.back_enabled = false;
      update();
      view_.focus(WizardFocus::StartOptions);
      return;
    case WizardPage::HotKey:
      go(WizardPage::Name);
      update();
      view_.focus(WizardFocus::MacroName);
      return;
    case WizardPage::StartApp:
      go(WizardPage::HotKey);
      update();
      view_.focus(WizardFocus::HotKey);
      return;
    case WizardPage::Keystype:
    case WizardPage::ManualKeys:
      go(WizardPage::HotKey);
      break;
    case WizardPage::RecordKeys:
    case WizardPage::RecordMouse:
      go(WizardPage::Keystype);
      break;
    case WizardPage::Finished: {
      const WizardPage last = last_page();
      go(last);
      buttons_.finished_visible = false;
      buttons_.next_visible = true;
      update();
      if (last == WizardPage::StartApp) view_.focus(WizardFocus::Browse);
      if (last == WizardPage::ManualKeys) view_.focus(WizardFocus::ScriptEditor);
      return;
    }
  }
  update();
}

void Wizard::cmdFinishedClick() {
  // Finish lets messages through while it works: a second click queued behind the first must
  // not store the macro again.
  if (finishing_) return;
  finishing_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{finishing_};
  Macro m;
  m.name = trim_right_blanks(view_.macro_name().text);
  m.kind = kind();
  m.hot_key = view_.hot_key();
  m.trigger = view_.trigger();
  m.speed = view_.high_speed() ? 2 : 1;
  switch (m.kind) {
    case MacroKind::StartApplication:
      m.file_name = view_.command_line();
      break;
    case MacroKind::AdvancedScript:
      m.file_name = script_file_name(m.name);
      break;
    default:
      m.file_name = recording_file_name(m.name);
      break;
  }
  const bool recorded = m.kind == MacroKind::Keystrokes || m.kind == MacroKind::MouseAndKeyboard;
  if (recorded) rename_take_for_finish(m);
  // The script first: a store that names a file which could not be written helps nobody.
  if (m.kind == MacroKind::AdvancedScript) {
    const std::string path = d_.files.program_dir() + m.file_name;
    if (!d_.files.write_file(path, script_file_text(view_.script())))
      throw Error(format_message("Unable to write to %s", path));
  }
  MacroStore store(d_.profile);
  const int n = append_macro(store, m);
  if (recorded) kept_take_ = d_.files.program_dir() + m.file_name;
  // The macro is stored: the run ends whatever follows, or a second Finish would store it twice.
  try {
    d_.pump.process_messages();
    d_.assign_hotkeys();
    if (m.hot_key != 0 && d_.hotkey_refused && d_.hotkey_refused(n))
      view_.warning_box(format_message(kHotKeyRefused, shortcut_text(m.hot_key, d_.platform_key_name)));
    const TShellFolder where = shortcut_choice_folder(view_.shortcut_item());
    if (where != TShellFolder::sfNone) d_.shortcut_create(where, n);
  } catch (...) {
    closing();
    view_.close();
    throw;
  }
  closing();
  view_.close();
}

void Wizard::cmdCancelClick() {
  if (edit_mode) {
    end_edit();
    return;
  }
  if (!view_.confirm_cancel()) return;
  closing();
  view_.close();
}

void Wizard::close_box() {
  if (edit_mode) {
    end_edit();
    return;
  }
  closing();
  view_.close();
}

void Wizard::closing() {
  d_.set_authoring_suspended(false);
  if (wizard_recording && d_.journal && d_.journal->recording()) {
    // A run that ends while it records must not leave the input watched: the take is dropped
    // below, so a failure to write it does not matter.
    try {
      d_.journal->stop_record();
    } catch (const Error&) {
    }
    buttons_.start_keys = buttons_.start_mouse = true;
    buttons_.stop_keys = buttons_.stop_mouse = false;
    update();
  }
  drop_takes(kept_take_);
  wizard_recording = false;
  if (d_.enable_stop_hotkey) d_.enable_stop_hotkey(false);
}

std::string script_file_text(const std::string& editor_text) {
  std::string out;
  std::size_t i = 0;
  while (i < editor_text.size()) {
    const std::size_t end = editor_text.find_first_of("\r\n", i);
    out.append(editor_text, i, end == std::string::npos ? std::string::npos : end - i);
    out += "\r\n";
    if (end == std::string::npos) break;
    i = end + 1;
    if (editor_text[end] == '\r' && i < editor_text.size() && editor_text[i] == '\n') ++i;
  }
  return out;
}

}  // namespace kv
