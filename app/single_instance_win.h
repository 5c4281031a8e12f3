// The session's one resident Keyvane: a named object in the session's namespace tells whether
// it runs; its host window, marked once its start-up is done, takes the arguments of later
// starts (WM_COPYDATA) and answers at once.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace kv::win {

class SessionClaim {
 public:
  // Takes the session's resident place, or learns that another instance holds it.
  SessionClaim();
  // True when another instance held the place first.
  bool taken() const { return taken_; }

 private:
  OwnedKernelHandle mutex_;
  bool taken_ = false;
};

// True when an instance holds the session's resident place (nothing is taken by asking).
bool resident_running();

// Hands the arguments to the resident instance and lets it bring its window forward. True when
// it answered within a few seconds; false (nothing handed over) when there is none or it did
// not answer, and the caller carries on on its own.
bool hand_over_to_resident(const std::vector<std::string>& arguments);

// The property that marks the resident instance's host: later starts hand over to it.
inline constexpr const char* kResidentHostProp = "Keyvane.Resident";

}  // namespace kv::win
