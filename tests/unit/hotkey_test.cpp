#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/error.h"
#include "store/macro_store.h"
#include "tests/fakes/fake_hotkeys.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"
#include "triggers/hotkey_slots.h"

using namespace kv;
using namespace kv::fake;

namespace {

constexpr ShortCut kCtrlShiftK = 0x6000 | 'K';
constexpr ShortCut kCtrlAltX = 0xC000 | 'X';
constexpr ShortCut kAltF1 = 0x8000 | 0x70;
constexpr std::uint8_t kVkShift = 0x10, kVkCtrl = 0x11, kVkAlt = 0x12;

struct Rig {
  FakeHotKeyTable table;
  FakeKeyboard keyboard;
  FakeEventLoop loop;
  FakeProfileStore profile;
  std::vector<int> ran;
  std::function<void(int)> during;
  int probes = 0;
  HotKeySlots slots{{[this](std::uint8_t vk) { return keyboard.is_key_down(vk); }, loop,
                     [this](int n) {
                       ran.push_back(n);
                       if (during) during(n);
                     },
                     [this](unsigned m, unsigned k) {
                       ++probes;
                       return k != 0 && !table.held.count({m, k});
                     }},
                    [this](int slot) { return std::make_unique<FakeHotKey>(table, slot); }};

  void macros(const std::vector<ShortCut>& keys) {
    profile.write_string("Main", "Entries", std::to_string(keys.size()));
    for (std::size_t i = 0; i < keys.size(); ++i)
      profile.write_string(macro_section(static_cast<int>(i) + 1), "HotKey", std::to_string(keys[i]));
  }
  // The platform delivers the hotkey message for a combination to whichever slot holds it.
  void press(ShortCut combination) {
    const int s = table.owner(hotkey_modifiers(combination), hotkey_key(combination));
    if (s >= 0) slots.slot(s).hotkey_message(false);
  }
};

}  // namespace

TEST(HotKeyComponent, RegistrationRules) {
  FakeHotKeyTable t;
  FakeHotKey k(t, 7);
  k.set_HotKey(kCtrlAltX);
  EXPECT_EQ(t.owner(kModControl | kModAlt, 'X'), 7);
  k.set_HotKey(kCtrlAltX);  // same value: no call
  k.set_HotKey(kAltF1);     // the old combination is let go first
  EXPECT_EQ(t.owner(kModControl | kModAlt, 'X'), -1);
  EXPECT_EQ(t.owner(kModAlt, 0x70), 7);
  k.set_Enabled(false);
  EXPECT_TRUE(t.held.empty());
  k.set_HotKey(kCtrlShiftK);  // stored only while disabled
  EXPECT_TRUE(t.held.empty());
  k.set_Enabled(true);
  EXPECT_EQ(t.owner(kModControl | kModShift, 'K'), 7);
  k.set_HotKey(0);
  EXPECT_TRUE(t.held.empty());
  EXPECT_EQ(t.calls,
            (std::vector<std::string>{"reg 7 3+88", "unreg 7", "reg 7 1+112", "unreg 7", "reg 7 6+75", "unreg 7"}));
}

TEST(HotKeyComponent, DestructionUnregistersAndMessageRaisesOnlyWhenAllowed) {
  FakeHotKeyTable t;
  {
    FakeHotKey k(t, 1);
    k.set_HotKey(0x2000 | 0x70);  // Shift+F1
    int fired = 0;
    std::uint16_t seen_key = 0;
    HotKeyParts seen{};
    k.OnHotKey = [&](HotKeyComponent&, std::uint16_t& key, const HotKeyParts& shift) {
      ++fired;
      seen_key = key;
      seen = shift;
    };
    k.set_Global(false);
    k.hotkey_message(false);  // not global and no active window of ours
    EXPECT_EQ(fired, 0);
    k.hotkey_message(true);
    k.set_Global(true);
    k.hotkey_message(false);
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(seen_key, 0x70);
    EXPECT_TRUE(seen.shift);
    EXPECT_FALSE(seen.ctrl || seen.alt);
  }
  EXPECT_TRUE(t.held.empty());
  EXPECT_EQ(t.calls.back(), "unreg 1");
}

TEST(HotKeyComponent, ModifierBits) {
  EXPECT_EQ(hotkey_modifiers(0x8000 | 'A'), kModAlt);
  EXPECT_EQ(hotkey_modifiers(0x4000 | 'A'), kModControl);
  EXPECT_EQ(hotkey_modifiers(0x2000 | 'A'), kModShift);
  EXPECT_EQ(hotkey_modifiers(0xE000 | 'A'), kModAlt | kModControl | kModShift);
  EXPECT_EQ(hotkey_key(0xC041), 0x41u);
  EXPECT_EQ(hotkey_key(0x1FFF), 0x1FFFu);
}

TEST(AssignHotKeys, SharedCombinationGoesToLowestAndMovesAfterDeletion) {
  Rig r;
  r.macros({kAltF1, kCtrlShiftK, 0, 0, kCtrlShiftK});
  EXPECT_EQ(r.slots.AssignHotKeys(r.profile), 5);
  r.press(kCtrlShiftK);
  EXPECT_EQ(r.ran, (std::vector<int>{2}));
  EXPECT_EQ(r.slots.slot(5).HotKey(), kCtrlShiftK);  // stored, but refused by the platform

  // Macro 2 deleted: the former macro 5, now 4, takes the combination.
  MacroStore store(r.profile);
  renumber_after_delete(store, 2);
  r.slots.AssignHotKeys(r.profile);
  r.ran.clear();
  r.press(kCtrlShiftK);
  r.press(kAltF1);
  EXPECT_EQ(r.ran, (std::vector<int>{4, 1}));
  EXPECT_EQ(r.slots.slot(5).HotKey(), 0);
}

TEST(AssignHotKeys, OnlyMacrosOneToHundredThatExist) {
  Rig r;
  std::vector<ShortCut> keys;  // Ctrl with key codes 1 to 102
  for (int i = 1; i <= 102; ++i) keys.push_back(static_cast<ShortCut>(0x4000 | i));
  r.macros(keys);
  r.slots.AssignHotKeys(r.profile);
  EXPECT_EQ(r.slots.slot(100).HotKey(), 0x4000 | 100);
  EXPECT_EQ(r.slots.slot(0).HotKey(), 0);
  EXPECT_EQ(r.table.owner(kModControl, 101), -1);  // macro 101 keeps its value, unregistered
  EXPECT_EQ(r.table.held.size(), 100u);

  // Entries lowered to 2 with stale sections left behind: only macros 1 and 2 register.
  r.profile.write_string("Main", "Entries", "2");
  r.slots.AssignHotKeys(r.profile);
  EXPECT_EQ(r.table.held.size(), 2u);
  EXPECT_EQ(r.slots.slot(3).HotKey(), 0);

  r.profile.write_string("Main", "Entries", "0");
  EXPECT_EQ(r.slots.AssignHotKeys(r.profile), 0);
  EXPECT_TRUE(r.table.held.empty());
}

TEST(AssignHotKeys, ComboHeldByAnotherProgramStaysSilent) {
  Rig r;
  r.table.held[{kModControl | kModAlt, 'X'}] = -1;
  r.macros({kCtrlAltX});
  r.slots.AssignHotKeys(r.profile);
  r.press(kCtrlAltX);
  EXPECT_TRUE(r.ran.empty());
}

TEST(AssignHotKeys, EachSlotKeepsThePlatformsAnswer) {
  Rig r;
  r.table.held[{kModControl | kModAlt, 'X'}] = -1;   // another program
  r.macros({kCtrlAltX, kAltF1, kAltF1, 0, 0x4000});  // macro 5: no key code
  r.slots.AssignHotKeys(r.profile);
  EXPECT_TRUE(r.slots.refused(1));
  EXPECT_FALSE(r.slots.refused(2));
  EXPECT_TRUE(r.slots.refused(3));  // the lower-numbered macro 2 has it
  EXPECT_FALSE(r.slots.refused(4));
  EXPECT_TRUE(r.slots.refused(5));
  EXPECT_FALSE(r.slots.refused(0));
  EXPECT_FALSE(r.slots.refused(101));
  // The other program lets go; the next assignment registers it and the mark goes.
  r.table.held.erase({kModControl | kModAlt, 'X'});
  r.slots.AssignHotKeys(r.profile);
  EXPECT_FALSE(r.slots.refused(1));
  r.slots.slot(1).set_Enabled(false);
  EXPECT_TRUE(r.slots.refused(1));  // set but not registered
}

TEST(AssignHotKeys, WouldRegisterAnswersForTheMacroAsTheNextAssignmentWould) {
  Rig r;
  r.table.held[{kModControl | kModAlt, 'X'}] = -1;
  r.macros({kAltF1, 0, kCtrlShiftK});
  r.slots.AssignHotKeys(r.profile);
  EXPECT_TRUE(r.slots.would_register(r.profile, 1, kAltF1));   // its own
  EXPECT_FALSE(r.slots.would_register(r.profile, 2, kAltF1));  // macro 1 keeps it
  // Held by a later macro's slot: macro 2 would take it over, without asking the platform.
  const int probes = r.probes;
  EXPECT_TRUE(r.slots.would_register(r.profile, 2, kCtrlShiftK));
  EXPECT_EQ(r.probes, probes);
  EXPECT_FALSE(r.slots.would_register(r.profile, 2, kCtrlAltX));          // another program's
  EXPECT_TRUE(r.slots.would_register(r.profile, 2, kCtrlAltX ^ 0x4000));  // Alt+X is free
  EXPECT_FALSE(r.slots.would_register(r.profile, 2, 0));
  // A new macro (number Entries + 1), and one beyond the slots.
  EXPECT_TRUE(r.slots.would_register(r.profile, 4, kCtrlShiftK ^ 0x2000));
  EXPECT_FALSE(r.slots.would_register(r.profile, 101, kCtrlShiftK ^ 0x2000));
  // Asking registers nothing.
  EXPECT_EQ(r.table.owner(kModControl, 'K'), -1);
}

TEST(HotKeyHandler, WaitsUntilEveryModifierIsReleased) {
  Rig r;
  r.macros({kCtrlAltX});
  r.slots.AssignHotKeys(r.profile);
  r.keyboard.held = {kVkCtrl, kVkShift};
  r.loop.post_at(100, [&] { r.keyboard.held.erase(kVkShift); });
  r.loop.post_at(300, [&] { r.keyboard.held.erase(kVkCtrl); });
  std::uint64_t started = 0;
  r.during = [&](int) {
    started = r.loop.now_ms();
    EXPECT_TRUE(r.slots.busy());
  };
  r.press(kCtrlAltX);
  EXPECT_EQ(r.ran, (std::vector<int>{1}));
  EXPECT_GE(started, 300u);
  EXPECT_LT(started, 320u);  // noticed promptly once let go
  EXPECT_FALSE(r.slots.busy());

  r.keyboard.held = {kVkAlt};
  r.loop.post_at(r.loop.now_ms() + 50, [&] { r.keyboard.held.clear(); });
  r.press(kCtrlAltX);
  EXPECT_EQ(r.ran.size(), 2u);
}

TEST(HotKeyHandler, DropsHotkeysWhileBusyOrSuspended) {
  Rig r;
  r.macros({kCtrlAltX, kAltF1});
  r.slots.AssignHotKeys(r.profile);
  // A second hotkey arriving during the run, and one during the first message pass (while
  // the user still holds a modifier), are both dropped and never run later.
  r.keyboard.held = {kVkCtrl};
  r.loop.post([&] { r.press(kAltF1); });
  r.loop.post_at(40, [&] { r.keyboard.held.clear(); });
  r.during = [&](int n) {
    if (n == 1) {
      r.press(kAltF1);
      r.loop.process_messages();
    }
  };
  r.press(kCtrlAltX);
  r.loop.process_messages();
  EXPECT_EQ(r.ran, (std::vector<int>{1}));

  r.slots.set_authoring_suspended(true);
  r.press(kAltF1);
  EXPECT_EQ(r.ran.size(), 1u);
  r.slots.set_authoring_suspended(false);
  r.press(kAltF1);
  EXPECT_EQ(r.ran, (std::vector<int>{1, 2}));
}

TEST(HotKeyHandler, FailingMacroDoesNotSilenceLaterHotkeys) {
  Rig r;
  r.macros({kCtrlAltX});
  r.slots.AssignHotKeys(r.profile);
  r.during = [](int) { throw Error("Cannot open file C:\\Gone.key"); };
  EXPECT_THROW(r.press(kCtrlAltX), Error);
  EXPECT_FALSE(r.slots.busy());
  r.during = nullptr;
  r.press(kCtrlAltX);
  EXPECT_EQ(r.ran.size(), 2u);
}
