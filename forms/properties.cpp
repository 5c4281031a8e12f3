#include "forms/properties.h"

#include "forms/wizard.h"
#include "platform/error.h"
#include "platform/text.h"
#include "store/macro_store.h"

namespace kv {

namespace {

PropertiesLayout layout_for(MacroKind kind) {
  PropertiesLayout l;
  switch (kind) {
    case MacroKind::StartApplication:
      l.type_text = "Start an Application or Launch a Document";
      l.file_field = l.browse = true;
      break;
    case MacroKind::Keystrokes:
      l.type_text = "Playback Keystrokes";
      l.recording_panel = true;
      break;
    case MacroKind::MouseAndKeyboard:
      l.type_text = "Playback Mouse and Keyboard";
      l.recording_panel = l.speed_options = true;
      break;
    case MacroKind::AdvancedScript:
      l.type_text = "Playback Manually Created Keystrokes";
      l.edit_macro = true;
      break;
    default:
      // No kind this program makes: only what every macro has. Controls left over from the
      // previous showing would record into, or store a program for, another macro's file.
      break;
  }
  return l;
}

bool recorded(MacroKind kind) {
  return kind == MacroKind::Keystrokes || kind == MacroKind::MouseAndKeyboard;
}

}  // namespace

Properties::Properties(Deps deps, PropertiesView& view) : d_(std::move(deps)), view_(view) {}

void Properties::FormShow(int n) {
  d_.stop_hotkey.set_enabled(true);
  d_.stop_hotkey.set_properties(this);
  d_.set_authoring_suspended(true);
  open_ = true;
  view_.clear_practice();
  n_ = n;
  new_recording_ = recording_ = false;
  buttons_ = PropertiesButtons{};

  MacroStore store(d_.profile);
  stored_ = read_macro(
      store, n_,
      {MacroKey::Type, MacroKey::Name, MacroKey::HotKey, MacroKey::Trigger, MacroKey::FileName, MacroKey::Speed});
  kind_ = stored_.kind;
  layout_ = layout_for(kind_);
  view_.apply(layout_);
  update();
  if (recorded(kind_)) configure_journal();
  if (kind_ == MacroKind::MouseAndKeyboard) view_.set_high_speed(stored_.high_speed());
  if (kind_ == MacroKind::StartApplication) view_.set_file_field(stored_.file_name);
  view_.set_macro_name(stored_.name);
  loaded_name_ = stored_.name;
  view_.set_hot_key(stored_.hot_key);
  view_.set_trigger(stored_.trigger);
  view_.focus(PropertiesFocus::MacroName);
}

void Properties::configure_journal() {
  const bool keys = kind_ == MacroKind::Keystrokes;
  d_.recorder.set_playback_file_name(path(stored_.file_name));
  d_.recorder.set_record_file_name(path(kTemporaryTake));
  d_.recorder.set_hi_speed_playback(keys);
  d_.recorder.set_keystrokes_only(keys);
}

std::string Properties::name_problem(MacroStore& store, const NameInput& name) {
  // The wizard's rules, this macro's own name excepted: a change of letter case only renames
  // its own files.
  std::vector<std::string> others;
  const int entries = store.entries();
  for (int k = 1; k <= entries; ++k)
    if (k != n_) others.push_back(read_macro(store, k, {MacroKey::Name}, MacroDefaults::ListLoad).name);
  const auto problem = macro_name_problem(name, others, d_.upper);
  return problem ? *problem : std::string();
}

void Properties::Button1Click() {
  if (!open_ || !buttons_.ok) return;
  MacroStore store(d_.profile);
  Macro m = read_macro(
      store, n_,
      {MacroKey::Type, MacroKey::Name, MacroKey::HotKey, MacroKey::FileName, MacroKey::Trigger, MacroKey::Speed});
  const NameInput typed = view_.macro_name();
  const std::string name = trim_right_blanks(typed.text);
  if (name.empty()) {
    view_.error_box(kPropertiesNameEmpty);
    view_.focus(PropertiesFocus::MacroName);
    return;
  }
  // An unchanged name is the macro's own, whatever other entries hold.
  if (name != m.name || !typed.fits) {
    if (const std::string problem = name_problem(store, typed); !problem.empty()) {
      view_.error_box(problem);
      view_.focus(PropertiesFocus::MacroName);
      return;
    }
  }
  const std::string command = view_.file_field();
  if (m.kind == MacroKind::StartApplication && trim_controls(command).empty()) {
    view_.error_box(kPropertiesNoApplication);
    view_.focus(PropertiesFocus::Browse);
    return;
  }
  // The files first: when one cannot be moved, nothing is written.
  const std::string old_file = m.file_name;
  const std::string old_name = m.name;
  const ShortCut old_key = m.hot_key;
  m.name = name;
  switch (m.kind) {
    case MacroKind::StartApplication:
      m.file_name = trim_right_blanks(command);
      break;
    case MacroKind::Keystrokes:
    case MacroKind::MouseAndKeyboard:
      m.file_name = recording_file_name(name);
      break;
    case MacroKind::AdvancedScript:
      m.file_name = script_file_name(name);
      break;
    default:
      break;
  }
  if (new_recording_ && recorded(m.kind)) {
    // Replaced in one step: the old recording stays whole until the take has its place.
    const std::string target = path(m.file_name);
    if (!d_.files.replace_file(path(kTemporaryTake), target))
      throw Error(format_message("Unable to write to %s", target));
    if (!old_file.empty() && ascii_upper(old_file) != ascii_upper(m.file_name)) d_.files.delete_file(path(old_file));
  } else if (name != old_name && (recorded(m.kind) || m.kind == MacroKind::AdvancedScript) && !old_file.empty() &&
             old_file != m.file_name) {
    const std::string target = path(m.file_name);
    // A file that is not there has nothing to lose; one that stays under its old name would
    // be lost to the macro.
    if (!d_.files.rename_file(path(old_file), target) && d_.files.file_exists(path(old_file)))
      throw Error(format_message("Unable to write to %s", target));
  }
  m.hot_key = view_.hot_key();
  m.trigger = view_.trigger();
  std::vector<MacroKey> keys{MacroKey::HotKey, MacroKey::Name};
  if (m.kind == MacroKind::StartApplication || recorded(m.kind) || m.kind == MacroKind::AdvancedScript)
    keys.push_back(MacroKey::FileName);
  if (m.kind == MacroKind::MouseAndKeyboard) {
    m.speed = view_.high_speed() ? 2 : 1;
    keys.push_back(MacroKey::Speed);
  }
  keys.push_back(MacroKey::Trigger);
  write_macro(store, n_, m, keys);
  // The take is the macro's now.
  new_recording_ = false;
  d_.load_macro_list();
  d_.assign_hotkeys();
  if (m.hot_key != 0 && m.hot_key != old_key && d_.hotkey_refused && d_.hotkey_refused(n_))
    view_.warning_box(format_message(kPropertiesHotKeyRefused, shortcut_text(m.hot_key, d_.platform_key_name)));
  closing();
}

void Properties::cmdCancelPropsClick() {
  if (!open_ || !buttons_.cancel) return;
  if (new_recording_) d_.files.delete_file(path(kTemporaryTake));
  closing();
}

void Properties::close_box() {
  if (!open_) return;
  if (recording_) {
    // No window would be left to stop it.
    d_.recorder.stop_record();
    recording_ = false;
    buttons_ = PropertiesButtons{};
    update();
  }
  if (new_recording_) d_.files.delete_file(path(kTemporaryTake));
  closing();
}

void Properties::closing() {
  d_.set_authoring_suspended(false);
  new_recording_ = false;
  d_.stop_hotkey.set_enabled(false);
  d_.stop_hotkey.set_properties(nullptr);
  open_ = false;
  view_.close();
}

void Properties::cmdEditManKeysClick() {
  if (!open_ || kind_ != MacroKind::AdvancedScript) return;
  const std::string file = path(script_file_name(trim_right_blanks(loaded_name_)));
  d_.wizard.prepare_edit(file);
  const auto text = d_.files.read_file(file);
  if (!text) {
    view_.message_box(kScriptNotLoaded);
    d_.wizard.edit_load_failed();
    return;
  }
  d_.wizard.load_edit_script(*text);
  struct Back {
    Properties& p;
    ~Back() {
      p.d_.wizard.edit_mode = false;
      // The dialog is still open: hotkeys stay suspended and the stop hotkey on, whatever the
      // wizard's closing did.
      if (!p.open_) return;
      p.d_.set_authoring_suspended(true);
      p.d_.stop_hotkey.set_enabled(true);
      p.d_.stop_hotkey.set_properties(&p);
    }
  } back{*this};
  if (d_.show_wizard) d_.show_wizard();
}

void Properties::cmdRecordClick() {
  if (!open_ || !layout_.recording_panel || !buttons_.start) return;
  new_recording_ = true;
  buttons_.start = false;
  buttons_.stop = true;
  // A playback now would only end up in the take.
  buttons_.ok = buttons_.cancel = buttons_.play = false;
  update();
  view_.focus(PropertiesFocus::Practice);
  if (kind_ == MacroKind::MouseAndKeyboard) view_.show_windows(false);
  // Named afresh: a run or the wizard may have used the one journal control since opening.
  d_.recorder.set_record_file_name(path(kTemporaryTake));
  d_.recorder.set_keystrokes_only(kind_ == MacroKind::Keystrokes);
  recording_ = true;
  d_.recorder.start_record();
}

void Properties::cmdStopClick() {
  if (!open_ || !recording_) return;
  buttons_.ok = buttons_.cancel = true;
  d_.recorder.stop_record();
  recording_ = false;
  buttons_.stop = false;
  buttons_.start = buttons_.play = true;
  update();
  view_.show_windows(true);
}

void Properties::recording_stopped_by_hotkey() {
  // The hotkey has already stopped the journal; with nothing recorded here there is nothing
  // to bring back.
  if (!open_ || !recording_) return;
  recording_ = false;
  buttons_.stop = false;
  buttons_.start = buttons_.play = buttons_.cancel = buttons_.ok = true;
  update();
  view_.show_windows(true);
}

void Properties::cmdPlayClick() {
  if (!open_ || !layout_.recording_panel || !buttons_.play) return;
  d_.recorder.set_playback_file_name(path(new_recording_ ? std::string(kTemporaryTake) : stored_.file_name));
  view_.focus(PropertiesFocus::Practice);
  d_.recorder.set_hi_speed_playback(kind_ == MacroKind::Keystrokes || view_.high_speed());
  d_.recorder.start_playback();
}

}  // namespace kv
