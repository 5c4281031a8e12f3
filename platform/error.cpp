#include "platform/error.h"

namespace kv {

std::string format_message(const std::string& pattern, const std::string& arg) {
  std::string out;
  const auto at = pattern.find("%s");
  if (at == std::string::npos) return pattern;
  out.reserve(pattern.size() + arg.size());
  out.append(pattern, 0, at);
  out += arg;
  out.append(pattern, at + 2, std::string::npos);
  return out;
}

std::string error_report_text(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
    return message + ".";
  return message;
}

}  // namespace kv
