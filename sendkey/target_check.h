// The check before typing and before a playback: keys aimed at a program that runs above
// Keyvane's integrity level would be dropped without a word, so the run ends with a message
// naming the window instead.
#pragma once
#include "platform/integrity.h"
#include "platform/ports.h"

namespace kv {

inline constexpr const char* kCannotTypeInto =
    "Keyvane cannot type into \"%s\": that program runs as administrator. Start Keyvane as administrator to "
    "automate it.";

class TargetCheck {
 public:
  TargetCheck(WindowSystem& windows, ProcessIntegrity& integrity) : windows_(windows), integrity_(integrity) {}

  // Raises kCannotTypeInto when the foreground window belongs to a program above our level
  // and we have no UI access. Asks the system again only when the foreground window changed.
  void check();

 private:
  WindowSystem& windows_;
  ProcessIntegrity& integrity_;
  bool asked_ = false;
  WindowHandle last_ = 0;
  bool last_blocked_ = false;
};

}  // namespace kv
