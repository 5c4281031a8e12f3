// The platform's global hotkey table, faked: a combination belongs to the first registration
// that asks for it; later ones are refused. Each fake component registers under its slot.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "triggers/hotkey.h"

namespace kv::fake {

class FakeHotKeyTable {
 public:
  // (modifiers, key) -> owner; owners: slot numbers, or -1 for another program.
  std::map<std::pair<unsigned, unsigned>, int> held;
  // Every platform call, as "reg 3 6+75" / "unreg 3".
  std::vector<std::string> calls;

  // The slot that answers the combination, or -1 when none of ours does.
  int owner(unsigned modifiers, unsigned key) const;
};

class FakeHotKey : public HotKeyComponent {
 public:
  FakeHotKey(FakeHotKeyTable& table, int slot) : table_(table), slot_(slot) {}
  ~FakeHotKey() override { release(); }

 protected:
  bool platform_register(unsigned modifiers, unsigned key) override;
  void platform_unregister() override;

 private:
  FakeHotKeyTable& table_;
  int slot_;
};

}  // namespace kv::fake
