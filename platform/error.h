// The program's one exception type: carries the exact text the user is shown.
#pragma once
#include <stdexcept>
#include <string>

namespace kv {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// "%s"-style formatting of the program's fixed messages (one argument).
std::string format_message(const std::string& pattern, const std::string& arg);

// The error report adds a full stop when the message's last character sorts after '.'.
std::string error_report_text(const std::string& message);

}  // namespace kv
