// The process-wide objects of Keyvane.exe, created by WinMain in the start-up order and
// destroyed when the program ends.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/host_state.h"
#include "engine/runner.h"
#include "platform/journal.h"
#include "platform/win32/adapters.h"

namespace kv {
class TSendKey;
class ScriptPlayer;
class TargetCheck;
}  // namespace kv

namespace kv::win {

class HostWindow;
class MainForm;
class HintForm;
class GetVarForm;
class Win32Keyboard;
class Win32KeyLibrary;
class Win32Integrity;

struct App {
  HINSTANCE instance = nullptr;
  std::string program_dir;

  // Adapters of the system ports.
  Win32ProfileStore profile;
  Win32FileSystem files;
  Win32MessagePump pump;
  Win32Clock clock;
  Win32Windows windows;
  Win32ErrorReport errors;
  Win32DateTime datetime;
  Win32Shell shell{[] { return application_window(); }};

  // The one journal control, Recorder.
  std::unique_ptr<JournalControl> recorder;

  HostState host_state;
  std::unique_ptr<MacroRunner> runner;

  // Typing: the key-sequence sender SendKey1 and the script player.
  std::unique_ptr<Win32Keyboard> keyboard;
  std::unique_ptr<Win32KeyLibrary> key_library;
  std::unique_ptr<TSendKey> send_key;
  // Asked before typing and before a playback: is the foreground program above us?
  std::unique_ptr<Win32Integrity> integrity;
  std::unique_ptr<TargetCheck> target_check;
  std::unique_ptr<ScriptPlayer> player;

  // Forms, in creation order.
  std::unique_ptr<HostWindow> host;
  std::unique_ptr<HintForm> hint_form;
  std::unique_ptr<MainForm> main_form;
  std::unique_ptr<GetVarForm> get_var;

  // The application's window: owner of shell calls and message boxes.
  static HWND application_window();
  // Runs macro n, the way every trigger does.
  void ProcessHotKey(int n);
  // Asks the whole application to end.
  void terminate() { pump.terminate(); }
};

App& app();

}  // namespace kv::win
