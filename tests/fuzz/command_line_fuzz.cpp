// Fuzzes the command line: splitting, the /OPEN: and /CLOSE rules and the name lookup.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "store/macro_store.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  kv::fake::FakeProfileStore profile;
  profile.write_string("Main", "Entries", "3");
  profile.write_string("Macro1", "Name", "Daily Report");
  profile.write_string("Macro3", "Name", "x");
  kv::fake::FakeEventLoop loop;
  int runs = 0;
  const auto args = kv::split_command_line(line);
  for (const auto& a : args)
    if (a.empty()) __builtin_trap();  // an argument is never empty
  kv::DoCommandLine(args, profile, loop, [&](int n) {
    if (n < 1 || n > 3) __builtin_trap();
    ++runs;
  });
  return 0;
}
