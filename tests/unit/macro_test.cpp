#include <gtest/gtest.h>

#include <tuple>

#include "platform/error.h"
#include "store/macro.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

using namespace kv;
using kv::fake::FakeEventLoop;
using kv::fake::FakeProfileStore;

namespace {

void write_all_keys(FakeProfileStore& p, int n) {
  const std::string s = macro_section(n);
  p.write_string(s, "Name", "Report");
  p.write_string(s, "Type", "0x3");
  p.write_string(s, "HotKey", std::to_string(0x10000 | 0xC041));
  p.write_string(s, "FileName", "Report.dat");
  p.write_string(s, "Trigger", "Untitled - Notepad");
  p.write_string(s, "Speed", "2");
  p.write_string(s, "TriggerRan", "5");
  p.write_string(s, "FoundHandle", "12,34");
}

auto fields(const Macro& m) {
  return std::make_tuple(m.name, static_cast<int>(m.kind), m.hot_key, m.file_name, m.trigger, m.speed, m.trigger_ran,
                         m.found_handle);
}

// A record with every key at its common default but Name and Type.
Macro defaults(const std::string& name, MacroKind kind) {
  Macro m;
  m.name = name;
  m.kind = kind;
  return m;
}

Macro sample(MacroKind kind) {
  Macro m;
  m.name = "Daily";
  m.kind = kind;
  m.hot_key = 0xC041;
  m.file_name = "Daily.dat";
  m.trigger = "Inbox";
  m.speed = 2;
  return m;
}

}  // namespace

TEST(MacroRecord, EveryKeyDecodesAndOnlyTheAskedKeysAreRead) {
  FakeProfileStore p;
  MacroStore s(p);
  write_all_keys(p, 2);
  // HotKey keeps its low 16 bits; TriggerRan is any non-zero integer.
  const Macro all{"Report", MacroKind::MouseAndKeyboard, 0xC041, "Report.dat", "Untitled - Notepad", 2, true, "12,34"};
  EXPECT_EQ(fields(read_macro(s, 2, kAllMacroKeys)), fields(all));
  EXPECT_TRUE(all.high_speed());

  const int reads = p.reads();
  Macro trigger_only;
  trigger_only.trigger = "Untitled - Notepad";
  EXPECT_EQ(fields(read_macro(s, 2, {MacroKey::Trigger})), fields(trigger_only));
  EXPECT_EQ(p.reads(), reads + 1);
}

TEST(MacroRecord, MissingKeysTakeTheDefaultsOfTheirReader) {
  FakeProfileStore p;
  MacroStore s(p);
  p.write_string("Macro3", "Type", "two");  // not an integer: the default
  // Only Name and Type differ by reader: HotKey 0, Speed 1, TriggerRan false, texts empty.
  EXPECT_EQ(fields(read_macro(s, 3, kAllMacroKeys)), fields(Macro{}));
  EXPECT_EQ(Macro{}.kind, MacroKind{0});
  EXPECT_FALSE(Macro{}.high_speed());
  EXPECT_EQ(fields(read_macro(s, 3, kAllMacroKeys, MacroDefaults::ListLoad)),
            fields(defaults("Macro3", MacroKind::StartApplication)));
  EXPECT_EQ(fields(read_macro(s, 3, kAllMacroKeys, MacroDefaults::Deletion)),
            fields(defaults("", MacroKind::StartApplication)));
  EXPECT_EQ(fields(read_macro(s, 3, kAllMacroKeys, MacroDefaults::Shortcut)), fields(defaults("Error", MacroKind{0})));
  // A stored empty Name is a name, not a missing one.
  p.write_string("Macro3", "Name", "");
  EXPECT_EQ(read_macro(s, 3, {MacroKey::Name}, MacroDefaults::ListLoad).name, "");
}

TEST(MacroRecord, KindsOutsideTheFourKeepTheirStoredValue) {
  FakeProfileStore p;
  MacroStore s(p);
  p.write_string("Macro1", "Type", "7");
  Macro m = read_macro(s, 1, {MacroKey::Type}, MacroDefaults::Deletion);
  EXPECT_EQ(static_cast<int>(m.kind), 7);
  write_macro(s, 2, m, {MacroKey::Type});
  EXPECT_EQ(p.read_string("Macro2", "Type", ""), "7");
}

TEST(MacroRecord, WriterWritesTheKeysInTheOrderGivenAndStopsAtARefusal) {
  FakeProfileStore p;
  MacroStore s(p);
  Macro m = sample(MacroKind::MouseAndKeyboard);
  m.trigger_ran = true;
  m.found_handle = "7";
  write_macro(s, 1, m, {MacroKey::Trigger, MacroKey::Name, MacroKey::TriggerRan, MacroKey::HotKey});
  EXPECT_EQ(p.dump(), "[Macro1]\nTrigger=Inbox\nName=Daily\nTriggerRan=1\nHotKey=49217\n");

  p.refuse_after(1);
  try {
    write_macro(s, 2, m, {MacroKey::Speed, MacroKey::FoundHandle, MacroKey::Name});
    FAIL() << "a refused write must raise";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Unable to write to macros.ini");
  }
  EXPECT_EQ(p.read_string("Macro2", "Speed", ""), "2");
  EXPECT_FALSE(p.has_key("Macro2", "FoundHandle"));
  EXPECT_FALSE(p.has_key("Macro2", "Name"));
}

TEST(AppendMacro, KeysOfTheNewNumberFirstEntriesLast) {
  FakeProfileStore p;
  MacroStore s(p);
  p.write_string("Main", "Entries", "2");
  // A section left past the last macro by a hand edit: none of it belongs to the new macro.
  p.write_string("Macro3", "FoundHandle", "99");
  p.write_string("Macro3", "Speed", "1");
  EXPECT_EQ(append_macro(s, sample(MacroKind::MouseAndKeyboard)), 3);
  EXPECT_EQ(s.entries(), 3);
  Macro script = sample(MacroKind::AdvancedScript);
  script.file_name = "Daily.key";
  EXPECT_EQ(append_macro(s, script), 4);
  EXPECT_EQ(p.dump(),
            "[Main]\nEntries=4\n"
            "[Macro3]\nName=Daily\nType=3\nHotKey=49217\nTrigger=Inbox\nFileName=Daily.dat\nSpeed=2\n"
            "[Macro4]\nName=Daily\nType=4\nHotKey=49217\nTrigger=Inbox\nFileName=Daily.key\n");

  FakeProfileStore empty;  // no Entries yet: the first macro is number 1
  MacroStore e(empty);
  EXPECT_EQ(append_macro(e, sample(MacroKind::StartApplication)), 1);
  EXPECT_EQ(e.entries(), 1);
  EXPECT_FALSE(empty.has_key("Macro1", "Speed"));
}

TEST(AppendMacro, ARefusedWriteNeverLeavesEntriesCountingAnIncompleteMacro) {
  // The erase, five or six keys, then Entries: refuse each write in turn.
  for (MacroKind kind : {MacroKind::StartApplication, MacroKind::MouseAndKeyboard}) {
    const int writes = kind == MacroKind::MouseAndKeyboard ? 8 : 7;
    for (int allowed = 0; allowed < writes; ++allowed) {
      FakeProfileStore p;
      MacroStore s(p);
      p.write_string("Main", "Entries", "1");
      p.refuse_after(allowed);
      EXPECT_THROW(append_macro(s, sample(kind)), Error) << allowed;
      EXPECT_EQ(s.entries(), 1) << allowed;
      // The next append takes the same number and leaves nothing of the failed one behind.
      p.refuse_after(-1);
      EXPECT_EQ(append_macro(s, sample(MacroKind::AdvancedScript)), 2);
      EXPECT_EQ(read_macro(s, 2, {MacroKey::Type}).kind, MacroKind::AdvancedScript);
      EXPECT_FALSE(p.has_key("Macro2", "Speed")) << allowed;
    }
  }
}

TEST(LookupByName, EveryMatchInOrderWithMessagesAfterEachMacro) {
  FakeProfileStore p;
  MacroStore s(p);
  FakeEventLoop loop;
  const char* names[] = {"Notepad", "NOTEPAD", "R\xE9sum\xE9", "notepad ", "Note pad", nullptr, "noTepad"};
  for (int k = 1; k <= 7; ++k)
    if (names[k - 1]) p.write_string(macro_section(k), "Name", names[k - 1]);
  p.write_string("Macro8", "Name", "Notepad");  // beyond Entries
  p.write_string("Main", "Entries", "7");
  std::vector<int> found;
  std::vector<int> calls_when_found;
  auto collect = [&](int k) {
    found.push_back(k);
    calls_when_found.push_back(loop.process_calls);
  };
  for_each_macro_named(s, "notePAD", loop, collect);
  // The profile service drops the trailing blank of macro 4's stored name.
  EXPECT_EQ(found, (std::vector<int>{1, 2, 4, 7}));
  EXPECT_EQ(calls_when_found, (std::vector<int>{0, 1, 3, 6}));
  EXPECT_EQ(loop.process_calls, 7);

  found.clear();
  for_each_macro_named(s, "R\xC9SUM\xC9", loop, collect);  // only a to z ignore case
  EXPECT_TRUE(found.empty());
  for_each_macro_named(s, "", loop, collect);  // a macro without a Name has the empty name
  EXPECT_EQ(found, (std::vector<int>{6}));
}
