// The wizard's two recording pages: Start, Stop and Playback on each, the stop hotkey's part
// in them, and what becomes of the recordings a run made.
#include <algorithm>

#include "forms/wizard.h"
#include "platform/error.h"
#include "store/macro_store.h"

namespace kv {

namespace {
constexpr std::uint8_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12;
constexpr unsigned kModifierPollMs = 10;
constexpr unsigned kModifierWaitMs = 5000;  // a key that sticks must not hold the wizard for ever
}  // namespace

void Wizard::wait_modifiers_released() {
  // Playback pressed with its access key: the played keys would meet the user's Alt still held
  // (the first key became Alt+key and was lost).
  if (!d_.key_down) return;
  for (unsigned waited = 0; waited < kModifierWaitMs; waited += kModifierPollMs) {
    if (!d_.key_down(kVkMenu) && !d_.key_down(kVkControl) && !d_.key_down(kVkShift)) return;
    d_.pump.sleep_ms(kModifierPollMs);
  }
}

std::string Wizard::take_file() {
  return d_.files.program_dir() + recording_file_name(view_.macro_name().text);
}

void Wizard::restore_before_start() {
  buttons_ = before_start_;
  wizard_recording = recording_before_start_;
  update();
}

void Wizard::start_take(bool keys_only) {
  d_.journal->set_keystrokes_only(keys_only);
  try {
    d_.journal->start_record();
  } catch (...) {
    // Nothing records: the page must not claim otherwise.
    restore_before_start();
    throw;
  }
  if (std::find(takes_.begin(), takes_.end(), record_file_) == takes_.end()) takes_.push_back(record_file_);
}

void Wizard::stop_take() {
  if (!d_.journal) return;
  const bool was_recording = d_.journal->recording();
  try {
    d_.journal->stop_record();
  } catch (...) {
    if (was_recording) restore_before_start();
    throw;
  }
  if (was_recording) last_take_ = record_file_;
}

void Wizard::cmdStartKeysClick() {
  if (!d_.journal) return;
  if (d_.show_hint) d_.show_hint(kRecordKeysHint);
  before_start_ = buttons_;
  recording_before_start_ = wizard_recording;
  wizard_recording = true;
  view_.focus(WizardFocus::Practice);
  buttons_.start_keys = false;
  buttons_.stop_keys = true;
  update();
  record_file_ = take_file();
  d_.journal->set_record_file_name(record_file_);
  start_take(true);
}

void Wizard::cmdStopKeysClick() {
  buttons_.next_enabled = true;
  stop_take();
  buttons_.stop_keys = false;
  buttons_.start_keys = buttons_.play_keys = true;
  update();
}

void Wizard::cmdPlayKeysClick() {
  if (!d_.journal) return;
  // The played keys land in the practice box.
  view_.focus(WizardFocus::Practice);
  buttons_.play_keys = false;
  update();
  wait_modifiers_released();
  d_.journal->set_hi_speed_playback(true);
  d_.journal->set_playback_file_name(record_file_);
  d_.journal->start_playback();
}

void Wizard::cmdRecordMouseClick() {
  if (!d_.journal) return;
  if (d_.show_hint) d_.show_hint(kRecordMouseHint);
  before_start_ = buttons_;
  recording_before_start_ = wizard_recording;
  buttons_.start_mouse = false;
  buttons_.stop_mouse = true;
  update();
  record_file_ = take_file();
  d_.journal->set_record_file_name(record_file_);
  wizard_recording = true;
  view_.hide_for_recording();
  try {
    start_take(false);
  } catch (...) {
    view_.show_after_recording();
    throw;
  }
}

void Wizard::cmdStopMouseClick() {
  buttons_.next_enabled = true;
  try {
    stop_take();
  } catch (...) {
    view_.show_after_recording();
    throw;
  }
  buttons_.stop_mouse = false;
  buttons_.start_mouse = buttons_.play_mouse = true;
  update();
  view_.show_after_recording();
  wizard_recording = false;
}

void Wizard::cmdPlayMouseClick() {
  if (!d_.journal) return;
  buttons_.play_mouse = false;
  update();
  wait_modifiers_released();
  d_.journal->set_playback_file_name(record_file_);
  d_.journal->set_hi_speed_playback(view_.high_speed());
  d_.journal->start_playback();
}

void Wizard::stop_hotkey() {
  buttons_.next_enabled = true;
  try {
    stop_take();
  } catch (...) {
    view_.show_after_recording();
    throw;
  }
  if (page_ == WizardPage::RecordMouse) {
    buttons_.stop_mouse = false;
    buttons_.start_mouse = buttons_.play_mouse = true;
  }
  update();
  if (!wizard_recording) return;
  view_.show_after_recording();
  // Shown again: the show handler sees the flag and leaves the run as it was.
  FormShow();
}

void Wizard::playback_finished() {
  buttons_.play_keys = buttons_.play_mouse = true;
  update();
}

void Wizard::rename_take_for_finish(const Macro& m) {
  const std::string target = d_.files.program_dir() + m.file_name;
  // The name was changed after the recording: the recording follows it.
  if (last_take_.empty() || last_take_ == target) return;
  if (!d_.rename_file || !d_.rename_file(last_take_, target))
    throw Error(format_message("Unable to write to %s", target));
  std::replace(takes_.begin(), takes_.end(), last_take_, target);
  last_take_ = record_file_ = target;
}

void Wizard::drop_takes(const std::string& keep) {
  // Nothing refers to them, and the next macro of such a name would take one over.
  for (const std::string& take : takes_)
    if (take != keep) d_.files.delete_file(take);
  takes_.clear();
  last_take_.clear();
}

}  // namespace kv
