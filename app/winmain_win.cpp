// Keyvane.exe: a start without /CLOSE while Keyvane already runs in the session hands its
// arguments to that instance and ends; otherwise the program is built in its start-up order and
// runs until it is asked to end.
#include <windows.h>

#include <optional>

#include "app/command_line.h"
#include "app/program_win.h"
#include "app/single_instance_win.h"
#include "app/start_plan.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::vector<std::string> args = kv::split_command_line(GetCommandLineA());
  if (!args.empty()) args.erase(args.begin());
  const kv::StartPlan plan = kv::plan_start(args, kv::win::resident_running());
  // Held for the whole run: while it lives, this is the session's resident instance.
  std::optional<kv::win::SessionClaim> claim;
  if (plan.single_instance) {
    claim.emplace();
    if (claim->taken() && kv::win::hand_over_to_resident(args)) return 0;
  }
  kv::win::Program program(std::move(args), plan);
  return program.run();
}
