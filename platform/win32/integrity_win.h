// The integrity-level port on Win32: the mandatory label and the UI-access flag of process
// tokens.
#pragma once
#include <windows.h>

#include "platform/integrity.h"

namespace kv::win {

class Win32Integrity : public ProcessIntegrity {
 public:
  std::optional<std::uint32_t> window_level(WindowHandle w) override;
  std::uint32_t own_level() override;
  bool own_ui_access() override;

  // The level of a process by its id; nothing when it cannot be opened or its token read.
  static std::optional<std::uint32_t> process_level(DWORD pid);
};

}  // namespace kv::win
