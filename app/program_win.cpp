#include "app/program_win.h"

#include <commctrl.h>

#include "app/command_line.h"
#include "app/host_win.h"
#include "engine/runner.h"
#include "engine/script_player.h"
#include "forms/getvar_win.h"
#include "forms/hint_form_win.h"
#include "forms/main_form_win.h"
#include "forms/open_file_win.h"
#include "forms/properties_win.h"
#include "forms/script_editor_win.h"
#include "forms/stop_record_key.h"
#include "forms/token_dialogs_win.h"
#include "forms/wizard_win.h"
#include "journal/recorder_win.h"
#include "platform/win32/integrity_win.h"
#include "platform/win32/keyboard_win.h"
#include "sendkey/send_key.h"
#include "sendkey/target_check.h"
#include "store/macro_store.h"
#include "triggers/hotkey_slots.h"
#include "triggers/hotkey_win.h"

namespace kv::win {

Program::Program(std::vector<std::string> arguments, const StartPlan& plan)
    : arguments_(std::move(arguments)),
      plan_(plan),
      program_dir_(program_folder()),
      shell_([this] { return application_window(); }),
      help_({program_dir_, shell_, [this] { return application_window(); }}) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  pump_.process_messages();

  // 1. The wizard's place: the journal control Recorder and the key-sequence sender SendKey1,
  // which every playback uses; the runner that drives them.
  recorder_ = make_recorder();
  keyboard_ = std::make_unique<Win32Keyboard>();
  key_library_ = std::make_unique<Win32KeyLibrary>(program_dir_);
  send_key_ = std::make_unique<TSendKey>(*keyboard_, pump_, key_library_.get());
  integrity_ = std::make_unique<Win32Integrity>();
  target_check_ = std::make_unique<TargetCheck>(windows_, *integrity_);
  send_key_->set_target_check(target_check_.get());
  runner_ = std::make_unique<MacroRunner>(MacroRunner::Deps{
      profile_, files_, shell_, *recorder_, pump_, [this](const std::string& s) { host_state_.RecordFinished(s); }});
  // RecorderFinished, whoever started the recording or playback: the wizard's two Playback
  // buttons, then "True" and the journal-idle flag.
  recorder_->on_finished = [this](bool) {
    if (wizard_) wizard_->wizard().playback_finished();
    if (runner_) runner_->RecorderFinished();
  };
  // TfrmWizard with its script editor; what they call on the token dialogs, the hint and the
  // manager windows is bound to them as they come.
  script_editor_ = std::make_unique<ScriptEditor>(ScriptEditor::Deps{
      pump_,
      [this](const std::string& text) {
        if (hint_form_) hint_form_->ShowHint(text);
      },
      [this](TokenDialogKind kind) -> std::optional<std::string> {
        TokenDialog* dialogs[] = {wait_.get(), repeat_.get(), input_box_.get(), wait_for_window_.get()};
        TokenDialog* d = dialogs[static_cast<int>(kind)];
        return d ? d->run() : std::nullopt;
      },
      [](HWND owner) { return choose_file(owner); }});
  wizard_ = std::make_unique<WizardForm>(
      WizardForm::Deps{profile_, files_, pump_, help_, *script_editor_,
                       [this](const std::string& text) {
                         if (hint_form_) hint_form_->ShowHint(text);
                       },
                       [this] { return main_form_ ? main_form_->list_captions() : std::vector<std::string>{}; },
                       [this] {
                         if (main_form_) main_form_->AssignHotKeys();
                       },
                       [this](TShellFolder where, int n) {
                         if (main_form_) main_form_->Shortcut_Create(where, n);
                       },
                       [this](bool on) {
                         if (main_form_) main_form_->hotkeys().set_authoring_suspended(on);
                       },
                       [this](int n) { return main_form_ && main_form_->hotkeys().refused(n); }, recorder_.get(),
                       [this](bool on) {
                         if (stop_record_) stop_record_->set_wizard_enabled(on);
                       },
                       [this]() -> HWND { return main_form_ ? main_form_->hwnd() : nullptr; }});
  stop_record_component_ = std::make_unique<TEPHotKey>();
  stop_record_ = std::make_unique<StopRecordKey>(*stop_record_component_, *recorder_, wizard_->wizard());
  // 2. The host TKeyvane, which adds the tray icon.
  host_ = std::make_unique<HostWindow>(
      HostWindow::Deps{pump_, profile_, shell_, help_, host_state_, [this] { return main_form_.get(); },
                       [this](const std::vector<std::string>& handed_over) { handle_arguments(handed_over); }});
  // Owned by the hidden host like the manager window, the wizard gets no taskbar button either.
  SetWindowLongPtrA(wizard_->hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(host_->hwnd()));
  // 3. The token dialogs of the script editor.
  wait_ = std::make_unique<TokenDialog>(TokenDialogKind::Wait, TokenDialog::Deps{pump_, profile_});
  repeat_ = std::make_unique<TokenDialog>(TokenDialogKind::Repeat, TokenDialog::Deps{pump_, profile_});
  input_box_ = std::make_unique<TokenDialog>(TokenDialogKind::InputBox, TokenDialog::Deps{pump_, profile_});
  wait_for_window_ = std::make_unique<TokenDialog>(TokenDialogKind::WaitForWindow, TokenDialog::Deps{pump_, profile_});
  for (TokenDialog* d : {wait_.get(), repeat_.get(), input_box_.get(), wait_for_window_.get()})
    SetWindowLongPtrA(d->hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(host_->hwnd()));
  // 4. The hint window TfrmHint.
  hint_form_ = std::make_unique<HintForm>(HintForm::Deps{profile_, pump_, host_state_.show_hints_checked()});
  // 5. The properties dialog TfrmProperties; the manager window it hides, suspends and
  // reloads comes next.
  properties_ = std::make_unique<PropertiesForm>(
      PropertiesForm::Deps{profile_, files_, pump_, help_, *recorder_, *stop_record_, *wizard_,
                           [this] { return main_form_ ? main_form_->hwnd() : nullptr; },
                           [this](bool on) {
                             if (main_form_) main_form_->hotkeys().set_authoring_suspended(on);
                           },
                           [this] {
                             if (main_form_) main_form_->LoadMacroList();
                           },
                           [this] {
                             if (main_form_) main_form_->AssignHotKeys();
                           },
                           [this](int n) { return main_form_ && main_form_->hotkeys().refused(n); }});
  // 6. The manager window TfrmMain: its creation loads the list, registers the hotkeys (unless a
  // /CLOSE start runs beside the resident instance) and, unless this is a /CLOSE start, clears
  // every window-trigger record and starts the poll.
  main_form_ = std::make_unique<MainForm>(
      MainForm::Deps{host_->hwnd(), profile_, files_, pump_, windows_, errors_, help_, program_dir_, plan_.poll_titles,
                     plan_.register_hotkeys, [this](int n) { ProcessHotKey(n); },
                     [this] {
                       if (player_) player_->DelayTimerTick();
                     },
                     [this] { wizard_->show_modal(); }, [this](int n) { properties_->show_modal(n); }});
  // Modal over the manager window: owned by it, the dialog never goes behind it.
  SetWindowLongPtrA(properties_->hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(main_form_->hwnd()));
  guarded([this] { main_form_->FormCreate(plan_.reset_found_handles); });
  // 7. The run-time prompt TfrmGetVar, and the script player that asks through it and waits on
  // the manager window's tmr1.
  get_var_ = std::make_unique<GetVarForm>(GetVarForm::Deps{pump_});
  player_ = std::make_unique<ScriptPlayer>(ScriptPlayer::Deps{*send_key_, pump_, clock_, main_form_->delay_timer(),
                                                              profile_, windows_, shell_, *get_var_, datetime_,
                                                              [this](int n) { ProcessHotKey(n); }});
  runner_->set_player(player_.get());
  runner_->set_target_check(target_check_.get());
}

Program::~Program() {
  runner_->set_player(nullptr);
  runner_->set_target_check(nullptr);
  player_.reset();
  get_var_.reset();
  // Owned by the manager window, whose end would take the dialog's window with it.
  properties_.reset();
  main_form_.reset();
  hint_form_.reset();
  wait_for_window_.reset();
  input_box_.reset();
  repeat_.reset();
  wait_.reset();
  host_.reset();
  stop_record_.reset();
  stop_record_component_.reset();
  wizard_.reset();
  script_editor_.reset();
  runner_.reset();
  send_key_.reset();
  target_check_.reset();
  integrity_.reset();
  key_library_.reset();
  keyboard_.reset();
  recorder_.reset();
}

StopRecordHotkey& Program::stop_record_hotkey() {
  return *stop_record_;
}

void Program::ProcessHotKey(int n) {
  runner_->ProcessHotKey(n);
}

HWND Program::application_window() const {
  return host_ ? host_->hwnd() : nullptr;
}

bool Program::first_run() {
  try {
    MacroStore store(profile_);
    if (store.read_bool(keys::kMain, keys::kFirstRun, true)) {
      main_form_->show_centred();
      store.write_bool(keys::kMain, keys::kFirstRun, false);
    } else {
      ShowWindow(main_form_->hwnd(), SW_HIDE);
    }
    return true;
  } catch (...) {
    report_current_exception();
    return false;
  }
}

CommandLineOutcome Program::handle_arguments(const std::vector<std::string>& arguments) {
  return DoCommandLine(arguments, profile_, pump_, [this](int n) {
    try {
      ProcessHotKey(n);
    } catch (...) {
      report_current_exception();
      host_state_.command_line_run_failed();
    }
  });
}

int Program::run() {
  const CommandLineOutcome outcome = handle_arguments(arguments_);
  host_state_.set_close_when_done(outcome.close_when_done);
  if (outcome.close_when_done && outcome.runs == 0) {
    // Nothing will report a status: a stale shortcut must not leave an instance behind.
    if (!outcome.unmatched.empty()) errors_.show_error(no_macro_message(outcome.unmatched));
    return 0;
  }
  host_->enable_playback_timer();
  host_state_.enable_open();
  if (plan_.single_instance) host_->take_hand_overs();

  if (first_run()) {
    while (!pump_.terminated()) {
      pump_.wait_for_message();
      pump_.process_messages();
    }
  }
  return 0;
}

}  // namespace kv::win
