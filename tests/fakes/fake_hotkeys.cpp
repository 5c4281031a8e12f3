#include "tests/fakes/fake_hotkeys.h"

namespace kv::fake {

int FakeHotKeyTable::owner(unsigned modifiers, unsigned key) const {
  auto it = held.find({modifiers, key});
  return it == held.end() ? -1 : it->second;
}

bool FakeHotKey::platform_register(unsigned modifiers, unsigned key) {
  table_.calls.push_back("reg " + std::to_string(slot_) + " " + std::to_string(modifiers) + "+" + std::to_string(key));
  // Without a key code the platform refuses, as it does for a combination already held.
  if (key == 0 || table_.held.count({modifiers, key})) return false;
  table_.held[{modifiers, key}] = slot_;
  return true;
}

void FakeHotKey::platform_unregister() {
  table_.calls.push_back("unreg " + std::to_string(slot_));
  for (auto it = table_.held.begin(); it != table_.held.end();)
    it = it->second == slot_ ? table_.held.erase(it) : std::next(it);
}

}  // namespace kv::fake
