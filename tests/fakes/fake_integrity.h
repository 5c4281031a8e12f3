// Integrity levels per window, counting the questions asked.
#pragma once
#include <map>

#include "platform/integrity.h"

namespace kv::fake {

class FakeIntegrity : public ProcessIntegrity {
 public:
  std::map<WindowHandle, std::uint32_t> levels;  // windows not listed have no known level
  std::uint32_t own = kIntegrityMedium;
  bool ui_access = false;
  int queries = 0;

  std::optional<std::uint32_t> window_level(WindowHandle w) override {
    ++queries;
    const auto it = levels.find(w);
    if (it == levels.end()) return std::nullopt;
    return it->second;
  }
  std::uint32_t own_level() override { return own; }
  bool own_ui_access() override { return ui_access; }
};

}  // namespace kv::fake
