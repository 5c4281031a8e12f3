// The wizard's edit mode: the script page alone, for an advanced macro the properties dialog
// is editing.
#include "forms/wizard.h"
#include "platform/error.h"
#include "platform/text.h"

namespace kv {

void Wizard::prepare_edit(std::string script_path) {
  edit_path_ = std::move(script_path);
  go(WizardPage::ManualKeys);
  buttons_.edit_picture = true;
  buttons_.next_visible = false;
  buttons_.back_visible = false;
  buttons_.finished_visible = false;
  buttons_.save_visible = true;
  edit_mode = true;
  update();
}

void Wizard::load_edit_script(const std::string& file_text) {
  view_.set_script(trim_controls(file_text));
}

void Wizard::edit_load_failed() {
  go(WizardPage::Start);
  view_.clear_fields();
  buttons_.play_keys = buttons_.play_mouse = false;
  buttons_.edit_picture = buttons_.save_visible = false;
  buttons_.next_visible = buttons_.next_enabled = true;
  buttons_.back_visible = true;
  buttons_.back_enabled = false;
  buttons_.finished_visible = false;
  update();
  edit_mode = false;
}

void Wizard::cmdSaveClick() {
  if (!edit_mode) return;
  // Into the file the store names now: a rename waits for the dialog's OK, so that Cancel there
  // never leaves the macro naming a file that is gone.
  if (!d_.files.write_file(edit_path_, script_file_text(view_.script())))
    throw Error(format_message("Unable to write to %s", edit_path_));
  end_edit();
}

void Wizard::end_edit() {
  buttons_.edit_picture = buttons_.save_visible = false;
  buttons_.finished_visible = false;
  buttons_.next_visible = buttons_.back_visible = true;
  go(WizardPage::Start);
  update();
  view_.close();
}

}  // namespace kv
