#include "app/start_plan.h"

#include "app/command_line.h"

namespace kv {

namespace {
constexpr std::string_view kHandOverHeader = "Keyvane hand-over 1";
}  // namespace

StartPlan plan_start(const std::vector<std::string>& arguments, bool resident_running) {
  StartPlan plan;
  for (const std::string& a : arguments)
    if (is_close_switch(a)) plan.close_when_done = true;
  if (plan.close_when_done) {
    plan.reset_found_handles = false;
    plan.poll_titles = false;
    plan.single_instance = false;
    plan.register_hotkeys = !resident_running;
  }
  return plan;
}

std::string encode_hand_over(const std::vector<std::string>& arguments) {
  std::string out(kHandOverHeader);
  out += '\0';
  for (const std::string& a : arguments) {
    // An argument never holds a NUL: the command line is a C string.
    out += a;
    out += '\0';
  }
  return out;
}

std::optional<std::vector<std::string>> decode_hand_over(std::string_view payload) {
  if (payload.size() <= kHandOverHeader.size() || payload.substr(0, kHandOverHeader.size()) != kHandOverHeader ||
      payload[kHandOverHeader.size()] != '\0')
    return std::nullopt;
  std::vector<std::string> args;
  std::size_t i = kHandOverHeader.size() + 1;
  while (i < payload.size()) {
    const std::size_t end = payload.find('\0', i);
    if (end == std::string_view::npos) return std::nullopt;  // cut short
    args.emplace_back(payload.substr(i, end - i));
    i = end + 1;
  }
  return args;
}

HandOverAction receive_hand_over(std::uint32_t tag, std::string_view payload) {
  HandOverAction action;
  if (tag != kHandOverTag) return action;
  auto args = decode_hand_over(payload);
  if (!args) return action;
  for (std::string& a : *args)
    if (!a.empty() && !is_close_switch(a)) action.arguments.push_back(std::move(a));
  action.kind = action.arguments.empty() ? HandOverAction::Kind::ShowList : HandOverAction::Kind::RunArguments;
  return action;
}

std::string no_macro_message(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& n : names) {
    if (!text.empty()) text += '\n';
    text += "There is no macro named \"" + n + "\".";
  }
  return text;
}

}  // namespace kv
