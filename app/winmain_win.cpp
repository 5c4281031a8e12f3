// Keyvane.exe: builds the program in its start-up order and runs it until it is asked to end.
#include <windows.h>

#include "app/program_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kv::win::Program program;
  return program.run();
}
