// kvrecord.exe FILE keys|mouse: records the user's input into FILE with the program's own
// journal recorder, as the authoring forms do. It shows a hidden window titled "KvRecord";
// posting WM_APP to it stops the recording, writes the file and ends the tool (exit code 0,
// or 4 when the file could not be written).
#include <windows.h>

#include <string>

#include "journal/recorder_win.h"
#include "platform/win32/adapters.h"

namespace {

bool g_stop = false;

LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_APP) {
    g_stop = true;
    return 0;
  }
  return DefWindowProcA(w, m, wp, lp);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "KvRecord";
  RegisterClassA(&wc);
  CreateWindowExA(WS_EX_TOOLWINDOW, "KvRecord", "KvRecord", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                  nullptr);
  auto recorder = kv::win::make_recorder();
  int finished = 0;
  recorder->on_finished = [&](bool) { ++finished; };
  recorder->set_record_file_name(argv[1]);
  recorder->set_keystrokes_only(std::string(argv[2]) == "keys");
  recorder->start_record();
  kv::win::Win32MessagePump pump;
  while (!g_stop) {
    pump.wait_for_message();
    pump.process_messages();
  }
  int code = 0;
  try {
    recorder->stop_record();
  } catch (...) {
    code = 4;
  }
  // The end of the recording is reported through the message queue, as to the program.
  while (finished == 0) {
    pump.wait_for_message();
    pump.process_messages();
  }
  return code;
}
