// Keyvane.exe's composition root: every object that lives as long as the program, built in the
// start-up order, each handed by its constructor exactly what it uses.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/host_state.h"
#include "app/start_plan.h"
#include "components/help_win.h"
#include "forms/stop_record.h"
#include "platform/journal.h"
#include "platform/win32/adapters.h"

namespace kv {
class MacroRunner;
class StopRecordHotkey;
class StopRecordKey;
class ScriptPlayer;
class TSendKey;
class TargetCheck;
}  // namespace kv

namespace kv::win {

class GetVarForm;
class Win32Integrity;
class HintForm;
class HostWindow;
class ScriptEditor;
class WizardForm;
class MainForm;
class PropertiesForm;
class ScriptEditor;
class TEPHotKey;
class TokenDialog;
class Win32Keyboard;
class Win32KeyLibrary;

class Program {
 public:
  // Creates the forms, all hidden, in the start-up order, for a start with these arguments
  // (the program's own name not among them).
  Program(std::vector<std::string> arguments, const StartPlan& plan);
  // Ends them in the reverse order.
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The command line, "&Open", the first run, then the message loop until the program is asked
  // to end. Returns the exit code.
  int run();

  // EPHotkeyStopRecord, for the Properties dialog.
  StopRecordHotkey& stop_record_hotkey();

 private:
  // Every trigger ends here: runs macro n.
  void ProcessHotKey(int n);
  // DoCommandLine over these arguments; a macro's error is shown and the next one runs.
  CommandLineOutcome handle_arguments(const std::vector<std::string>& arguments);
  // The hidden host: owner of the manager window, message boxes and what the shell opens.
  HWND application_window() const;
  // Shows the manager window on the very first run; false when the program must end at once.
  bool first_run();

  const std::vector<std::string> arguments_;
  const StartPlan plan_;
  // The system, and what every part shares.
  const std::string program_dir_;
  Win32ProfileStore profile_;
  Win32FileSystem files_;
  Win32MessagePump pump_;
  Win32Windows windows_;
  Win32ErrorReport errors_;
  Win32DateTime datetime_;
  Win32Clock clock_;
  Win32Shell shell_;
  Help help_;
  HostState host_state_;

  // In the order of creation (Program::Program).
  std::unique_ptr<JournalControl> recorder_;  // Recorder
  std::unique_ptr<Win32Keyboard> keyboard_;
  std::unique_ptr<Win32KeyLibrary> key_library_;
  std::unique_ptr<TSendKey> send_key_;  // SendKey1
  // Asked before typing and before a playback: is the foreground program above us?
  std::unique_ptr<Win32Integrity> integrity_;
  std::unique_ptr<TargetCheck> target_check_;
  std::unique_ptr<MacroRunner> runner_;
  std::unique_ptr<ScriptEditor> script_editor_;  // pnlManualKeys, hosted by the wizard
  std::unique_ptr<WizardForm> wizard_;           // TfrmWizard
  std::unique_ptr<TEPHotKey> stop_record_component_;
  std::unique_ptr<StopRecordKey> stop_record_;  // EPHotkeyStopRecord, on the wizard
  std::unique_ptr<HostWindow> host_;            // TKeyvane, with the tray icon
  // TfrmWait, TfrmRepeat, TfrmInputBox, TfrmWaitforWindow
  std::unique_ptr<TokenDialog> wait_, repeat_, input_box_, wait_for_window_;
  std::unique_ptr<HintForm> hint_form_;
  std::unique_ptr<PropertiesForm> properties_;  // TfrmProperties
  std::unique_ptr<MainForm> main_form_;
  std::unique_ptr<GetVarForm> get_var_;
  std::unique_ptr<ScriptPlayer> player_;
};

}  // namespace kv::win
