#include "app/command_line.h"

#include "platform/text.h"
#include "store/macro.h"

namespace kv {

namespace {
bool separator(char c) {
  return static_cast<unsigned char>(c) <= 32;
}
}  // namespace

std::vector<std::string> split_command_line(const std::string& command_line) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const std::size_t n = command_line.size();
  for (;;) {
    while (i < n && separator(command_line[i])) ++i;
    while (i + 1 < n && command_line[i] == '"' && command_line[i + 1] == '"') i += 2;
    if (i >= n) break;
    std::string arg;
    while (i < n && !separator(command_line[i])) {
      if (command_line[i] == '"') {
        ++i;
        while (i < n && command_line[i] != '"') arg += command_line[i++];
        if (i < n) ++i;
      } else {
        arg += command_line[i++];
      }
    }
    // An empty argument (a lone quote, or "" pairs before a blank) names nothing; it must not
    // match every macro without a name, nor hide the arguments after it.
    if (!arg.empty()) args.push_back(std::move(arg));
  }
  return args;
}

bool is_close_switch(const std::string& argument) {
  return ascii_upper(argument.substr(0, 6)) == "/CLOSE";
}

std::string given_name(const std::string& argument) {
  if (ascii_upper(argument.substr(0, 6)) == "/OPEN:")
    return trim_controls(argument.size() > 6 ? argument.substr(6, 150) : std::string());
  return argument;
}

std::string wanted_name(const std::string& argument) {
  return ascii_upper(given_name(argument));
}

CommandLineOutcome DoCommandLine(const std::vector<std::string>& arguments, ProfileStore& profile, MessagePump& pump,
                                 const std::function<void(int)>& process_hotkey) {
  CommandLineOutcome outcome;
  for (const std::string& argument : arguments) {
    if (is_close_switch(argument)) {
      outcome.close_when_done = true;
      continue;
    }
    MacroStore store(profile);
    int matched = 0;
    for_each_macro_named(store, wanted_name(argument), pump, [&](int n) {
      ++matched;
      ++outcome.runs;
      process_hotkey(n);
    });
    if (matched == 0) outcome.unmatched.push_back(given_name(argument));
  }
  return outcome;
}

}  // namespace kv
