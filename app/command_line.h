// The program's arguments: splitting the command line, and running the macros it names.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace kv {

// Splits a whole command line. Arguments are separated by runs of characters with codes up to
// 32; a double-quoted stretch may hold blanks and its quotes are dropped; "" pairs at the start
// of an argument are skipped; an argument left empty is dropped. The first argument is the
// program itself.
std::vector<std::string> split_command_line(const std::string& command_line);

// The wanted macro name of one argument, upper-cased (a to z only): after "/OPEN:" (any case)
// characters 7 to 156, trimmed; otherwise the whole argument.
std::string wanted_name(const std::string& argument);

// True when the argument's first six characters, upper-cased, are "/CLOSE".
bool is_close_switch(const std::string& argument);

// The name an argument asks for, as the user wrote it (for messages): after "/OPEN:" characters
// 7 to 156, trimmed; otherwise the whole argument.
std::string given_name(const std::string& argument);

struct CommandLineOutcome {
  bool close_when_done = false;  // a /CLOSE argument was seen
  int runs = 0;                  // macros started
  // The names (as given) of the arguments that matched no macro, in argument order.
  std::vector<std::string> unmatched;
};

// DoCommandLine: runs every macro whose name matches each argument, in argument order and in
// ascending macro number, processing messages after every macro examined.
CommandLineOutcome DoCommandLine(const std::vector<std::string>& arguments, ProfileStore& profile, MessagePump& pump,
                                 const std::function<void(int)>& process_hotkey);

}  // namespace kv
