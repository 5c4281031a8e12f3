// How one start of the program goes: whether it resets the window-trigger records and polls
// window titles, whether it is the session's resident instance (or hands its arguments to the
// one that runs), the hand-over message itself, and what a /CLOSE start says when its names
// match nothing.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

struct StartPlan {
  // A /CLOSE argument: the instance runs its macros and ends.
  bool close_when_done = false;
  // Only the resident instance serves window triggers: a short-lived /CLOSE instance that
  // emptied FoundHandle would run every trigger macro again for windows already served.
  bool reset_found_handles = true;
  bool poll_titles = true;
  // One resident instance per session: any start without /CLOSE becomes it, or hands its
  // arguments to the one already running and ends.
  bool single_instance = true;
  // A /CLOSE start beside the resident instance leaves the hotkeys to it: registered here for
  // the moment of its run, they would be refused to the resident instance.
  bool register_hotkeys = true;

  bool operator==(const StartPlan&) const = default;
};

// The plan for the program's arguments (the program's own name not among them), when a
// resident instance does or does not run in the session.
StartPlan plan_start(const std::vector<std::string>& arguments, bool resident_running);

// The hand-over from a new start to the resident instance (WM_COPYDATA): this tag, then the
// payload made by encode_hand_over.
inline constexpr std::uint32_t kHandOverTag = 0x4B564831;  // "KVH1"

// A fixed header, then each argument followed by a NUL.
std::string encode_hand_over(const std::vector<std::string>& arguments);
// The arguments, or nothing when the payload is not a hand-over.
std::optional<std::vector<std::string>> decode_hand_over(std::string_view payload);

struct HandOverAction {
  enum class Kind { Ignore, ShowList, RunArguments };
  Kind kind = Kind::Ignore;
  // For RunArguments: handled as the instance's own command line would be.
  std::vector<std::string> arguments;

  bool operator==(const HandOverAction&) const = default;
};

// What the resident instance does with a message it received. A start without names brings
// the list window forward; /CLOSE arguments are dropped, since a hand-over never ends the
// resident instance.
HandOverAction receive_hand_over(std::uint32_t tag, std::string_view payload);

// The box a /CLOSE start shows when none of its names matched a macro: one line per name.
std::string no_macro_message(const std::vector<std::string>& names);

}  // namespace kv
