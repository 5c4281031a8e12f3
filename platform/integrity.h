// The mandatory integrity levels of processes, as the system's access tokens give them: the
// system silently drops synthetic input aimed at a process above the sender's level.
#pragma once
#include <cstdint>
#include <optional>

#include "platform/ports.h"

namespace kv {

// The levels as the system numbers them (the last part of the token's label).
inline constexpr std::uint32_t kIntegrityMedium = 0x2000;
inline constexpr std::uint32_t kIntegrityHigh = 0x3000;
inline constexpr std::uint32_t kIntegritySystem = 0x4000;

class ProcessIntegrity {
 public:
  virtual ~ProcessIntegrity() = default;
  // The level of the process that owns the window; nothing when the system does not tell.
  virtual std::optional<std::uint32_t> window_level(WindowHandle w) = 0;
  // Keyvane's own level.
  virtual std::uint32_t own_level() = 0;
  // True when Keyvane may drive the windows of programs above its level (UI access).
  virtual bool own_ui_access() = 0;
};

}  // namespace kv
