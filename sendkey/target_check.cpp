#include "sendkey/target_check.h"

#include <string>

#include "platform/error.h"

namespace kv {

namespace {
constexpr std::size_t kTitleShown = 255;
}

void TargetCheck::check() {
  const WindowHandle w = windows_.foreground();
  if (!w) return;  // nothing has the foreground: nobody to compare with
  if (!asked_ || w != last_) {
    const std::optional<std::uint32_t> level = integrity_.window_level(w);
    // A level the system does not give is no reason to refuse: the keys are sent as always.
    last_blocked_ = level && *level > integrity_.own_level() && !integrity_.own_ui_access();
    last_ = w;
    asked_ = true;
  }
  if (last_blocked_) throw Error(format_message(kCannotTypeInto, windows_.window_title(w, kTitleShown)));
}

}  // namespace kv
