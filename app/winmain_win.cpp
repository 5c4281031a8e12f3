// Keyvane.exe: start-up in its fixed order, the command line, the first run, the message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/app_win.h"
#include "app/command_line.h"
#include "app/host_win.h"
#include "app/typing_win.h"
#include "forms/hint_form_win.h"
#include "forms/main_form_win.h"
#include "journal/recorder_win.h"
#include "store/macro_store.h"

namespace kv::win {

App& app() {
  static App instance;
  return instance;
}

HWND App::application_window() { return app().host ? app().host->hwnd() : nullptr; }

void App::ProcessHotKey(int n) { runner->ProcessHotKey(n); }

namespace {

void create_forms(App& a) {
  // The wizard's place: it owns the journal control and the key-sequence sender.
  a.recorder = make_recorder();
  create_sender(a);
  a.runner = std::make_unique<MacroRunner>(MacroRunner::Deps{
      a.profile, a.files, a.shell, *a.recorder, a.pump, [](const std::string& s) { app().host_state.RecordFinished(s); }});
  a.recorder->on_finished = [](bool) { app().runner->RecorderFinished(); };
  a.host = std::make_unique<HostWindow>();
  a.hint_form = std::make_unique<HintForm>();
  a.main_form = std::make_unique<MainForm>();
  guarded([&] { a.main_form->FormCreate(); });
  create_prompt_and_player(a);
}

// Returns false when the program must end without entering the message loop.
bool first_run(App& a) {
  try {
    MacroStore store(a.profile);
    if (store.read_bool(keys::kMain, keys::kFirstRun, true)) {
      a.main_form->show_centred();
      store.write_bool(keys::kMain, keys::kFirstRun, false);
    } else {
      ShowWindow(a.main_form->hwnd(), SW_HIDE);
    }
    return true;
  } catch (...) {
    report_current_exception();
    return false;
  }
}

int run() {
  App& a = app();
  a.instance = GetModuleHandleA(nullptr);
  a.program_dir = program_folder();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  a.pump.process_messages();

  create_forms(a);

  std::vector<std::string> args = split_command_line(GetCommandLineA());
  if (!args.empty()) args.erase(args.begin());
  const bool close = DoCommandLine(args, a.profile, a.pump, [](int n) { guarded([n] { app().ProcessHotKey(n); }); });
  a.host_state.set_close_when_done(close);
  a.host->enable_playback_timer();
  a.host_state.enable_open();

  if (first_run(a)) {
    while (!a.pump.terminated()) {
      a.pump.wait_for_message();
      a.pump.process_messages();
    }
  }

  destroy_typing(a);
  a.main_form.reset();
  a.hint_form.reset();
  a.host.reset();
  a.runner.reset();
  a.recorder.reset();
  return 0;
}

}  // namespace
}  // namespace kv::win

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return kv::win::run(); }
