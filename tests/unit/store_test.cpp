#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/text.h"
#include "store/integer.h"
#include "store/macro_store.h"
#include "store/shortcut.h"
#include "tests/contracts/profile_store_contract.h"
#include "tests/fakes/fake_keyboard.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

using namespace kv;
using kv::fake::FakeFileSystem;
using kv::fake::FakeProfileStore;

struct FakeStoreMaker {
  static std::unique_ptr<ProfileStore> make() { return std::make_unique<FakeProfileStore>(); }
  static void set_read_only(ProfileStore& s, bool on) { static_cast<FakeProfileStore&>(s).set_read_only(on); }
};
INSTANTIATE_TYPED_TEST_SUITE_P(Fake, ProfileStoreContract, FakeStoreMaker);

TEST(IntegerText, DecimalHexSignsAndRejects) {
  EXPECT_EQ(parse_integer("42"), 42);
  EXPECT_EQ(parse_integer("0x2"), 2);
  EXPECT_EQ(parse_integer("0XfF"), 255);
  EXPECT_EQ(parse_integer("$10"), 16);
  EXPECT_EQ(parse_integer("  -7"), -7);
  EXPECT_EQ(parse_integer("+7"), 7);
  EXPECT_EQ(parse_integer("2147483647"), 2147483647);
  EXPECT_EQ(parse_integer("-2147483648"), INT32_MIN);
  EXPECT_EQ(parse_integer("0xFFFFFFFF"), -1);
  for (const char* bad : {"", "two", "7 ", "0x", "-", "1e3", "2147483648", "0x100000000", "\t5"})
    EXPECT_FALSE(parse_integer(bad).has_value()) << "'" << bad << "'";
}

TEST(IntegerText, ConversionErrorNamesTheText) {
  try {
    str_to_int("x");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
  }
  EXPECT_THROW(str_to_int(""), Error);
  EXPECT_EQ(str_to_int("12"), 12);
}

TEST(MacroStore, ReadersDecodeIntegersBooleansAndFallBackToDefaults) {
  FakeProfileStore p;
  MacroStore s(p);
  p.write_string("Macro1", "Type", "0x2");
  p.write_string("Macro2", "Type", "two");
  p.write_string("Main", "Show Hints", "0");
  p.write_string("Main", "FirstRun", "5");
  EXPECT_EQ(s.read_integer("Macro1", "Type", 1), 2);
  EXPECT_EQ(s.read_integer("Macro2", "Type", 1), 1);
  EXPECT_EQ(s.read_integer("Macro2", "Type", 0), 0);
  EXPECT_EQ(s.read_integer("Macro3", "HotKey", 0), 0);
  EXPECT_FALSE(s.read_bool("Main", "Show Hints", true));
  EXPECT_TRUE(s.read_bool("Main", "FirstRun", false));
  EXPECT_TRUE(s.read_bool("Main", "Missing", true));
  EXPECT_EQ(s.entries(), 0);
  s.write_bool("Main", "FirstRun", false);
  s.write_integer("Main", "Entries", 3);
  EXPECT_EQ(p.read_string("Main", "FirstRun", ""), "0");
  EXPECT_EQ(p.read_string("Main", "Entries", ""), "3");
  EXPECT_EQ(s.entries(), 3);
}

TEST(MacroStore, CompanionNamesAndTrimming) {
  EXPECT_EQ(script_file_name("Report  "), "Report.key");
  EXPECT_EQ(recording_file_name(" Keys "), " Keys.dat");
  EXPECT_EQ(macro_section(12), "Macro12");
  EXPECT_EQ(ascii_upper("R\xE9sum\xE9 abc"), "R\xE9SUM\xE9 ABC");
  EXPECT_EQ(trim_controls("\r\n\t  notepad \x01"), "notepad");
}

TEST(ShortCut, DisplayTextTable) {
  fake::FakeKeyboard kb;
  auto name = [&](std::uint8_t vk) { return kb.key_name(vk); };
  EXPECT_EQ(shortcut_text(shortcut_from_stored(49217), name), "Ctrl+Alt+A");
  EXPECT_EQ(shortcut_text(shortcut_from_stored(8304), name), "Shift+F1");
  EXPECT_EQ(shortcut_text(0, name), "");
  EXPECT_EQ(shortcut_text(kCtrlBit | 0x90, name), "");  // Num Lock: a longer platform name
  EXPECT_EQ(shortcut_text(kCtrlBit | 0xBA, name), "Ctrl+;");
  EXPECT_EQ(shortcut_text(kShiftBit | kCtrlBit | kAltBit | 0x2E, name), "Shift+Ctrl+Alt+Del");
  EXPECT_EQ(shortcut_text(kAltBit | 0x87, name), "Alt+F24");
  EXPECT_EQ(shortcut_text(0x65, name), "5");
  EXPECT_EQ(shortcut_text(0x33, name), "3");
  const char* nav[] = {"Space", "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right", "Down"};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(shortcut_text(static_cast<ShortCut>(0x20 + i), name), nav[i]);
  EXPECT_EQ(shortcut_text(0x08, name), "BkSp");
  EXPECT_EQ(shortcut_text(0x09, name), "Tab");
  EXPECT_EQ(shortcut_text(0x0D, name), "Enter");
  EXPECT_EQ(shortcut_text(0x1B, name), "Esc");
  EXPECT_EQ(shortcut_text(0x2D, name), "Ins");
  // Only the low 16 bits of a stored value count.
  EXPECT_EQ(shortcut_text(shortcut_from_stored(0x10000 | 0x4041), name), "Ctrl+A");
}

TEST(ShortCut, HotKeyEditConversionAndSplit) {
  // Ctrl+Alt (2|4) on 'A', with the extended flag (8) falling off.
  EXPECT_EQ(shortcut_from_hotkey_edit(0x0641), 0xC041);
  EXPECT_EQ(shortcut_from_hotkey_edit(0x0E41), 0xC041);
  EXPECT_EQ(shortcut_from_hotkey_edit(0x0170), 0x2070);
  const HotKeyParts p = split_shortcut(0xE074);
  EXPECT_EQ(p.key, 0x74);
  EXPECT_TRUE(p.shift && p.ctrl && p.alt);
  EXPECT_EQ(split_shortcut(0x1F41).key, 0x1F41);
}

namespace {
void add_macro(FakeProfileStore& p, int n, const std::string& name, int type) {
  const std::string s = macro_section(n);
  p.write_string(s, "Name", name);
  p.write_string(s, "Type", std::to_string(type));
  p.write_string(s, "HotKey", std::to_string(0x4041 + n));
  p.write_string(s, "FileName", name + (type == 4 ? ".key" : ".dat"));
  p.write_string(s, "Trigger", "Title " + name);
  p.write_string(s, "Speed", std::to_string(n));
  p.write_string(s, "TriggerRan", n % 2 ? "1" : "0");
  p.write_string(s, "FoundHandle", std::to_string(100 * n));
}
}  // namespace

TEST(DeleteMacro, SecondOfFourMovesAllEightKeysDown) {
  FakeProfileStore p;
  FakeFileSystem fs;
  MacroStore s(p);
  for (int n = 1; n <= 4; ++n) add_macro(p, n, "M" + std::to_string(n), n == 3 ? 4 : 2);
  p.write_string("Main", "Entries", "4");
  fs.files[fs.dir + "M2.key"] = "x";
  fs.files[fs.dir + "M2.dat"] = "x";
  fs.files[fs.dir + "M3.key"] = "kept";

  delete_companion_files(fs, "M2");
  renumber_after_delete(s, 2);

  EXPECT_EQ(fs.deleted, (std::vector<std::string>{fs.dir + "M2.key", fs.dir + "M2.dat"}));
  EXPECT_EQ(fs.files.count(fs.dir + "M3.key"), 1u);
  EXPECT_EQ(s.entries(), 3);
  EXPECT_FALSE(p.has_section("Macro4"));
  EXPECT_EQ(p.read_string("Macro1", "Name", ""), "M1");
  for (int n = 2; n <= 3; ++n) {
    const std::string sec = macro_section(n);
    const int was = n + 1;
    EXPECT_EQ(p.read_string(sec, "Name", ""), "M" + std::to_string(was));
    EXPECT_EQ(s.read_integer(sec, "Type", 0), was == 3 ? 4 : 2);
    EXPECT_EQ(s.read_integer(sec, "HotKey", 0), 0x4041 + was);
    EXPECT_EQ(p.read_string(sec, "FileName", ""), "M" + std::to_string(was) + (was == 3 ? ".key" : ".dat"));
    EXPECT_EQ(p.read_string(sec, "Trigger", ""), "Title M" + std::to_string(was));
    EXPECT_EQ(s.read_integer(sec, "Speed", 0), was);
    EXPECT_EQ(s.read_bool(sec, "TriggerRan", false), was % 2 == 1);
    EXPECT_EQ(p.read_string(sec, "FoundHandle", ""), std::to_string(100 * was));
  }
}

TEST(DeleteMacro, MissingKeysAreWrittenWithTheirDefaults) {
  FakeProfileStore p;
  MacroStore s(p);
  p.write_string("Main", "Entries", "2");
  p.write_string("Macro1", "Name", "A");
  p.write_string("Macro2", "Name", "B");
  renumber_after_delete(s, 1);
  EXPECT_EQ(p.read_string("Macro1", "Name", ""), "B");
  EXPECT_EQ(p.read_string("Macro1", "Type", ""), "1");
  EXPECT_EQ(p.read_string("Macro1", "HotKey", ""), "0");
  EXPECT_EQ(p.read_string("Macro1", "Speed", ""), "1");
  EXPECT_EQ(p.read_string("Macro1", "TriggerRan", ""), "0");
  EXPECT_TRUE(p.has_key("Macro1", "FoundHandle"));
  EXPECT_FALSE(p.has_section("Macro2"));
}

TEST(DeleteMacro, LastAndOnlyMacro) {
  FakeProfileStore p;
  MacroStore s(p);
  add_macro(p, 1, "A", 1);
  add_macro(p, 2, "B", 1);
  p.write_string("Main", "Entries", "2");
  const int writes = p.writes();
  renumber_after_delete(s, 2);
  EXPECT_EQ(p.writes(), writes + 2);  // erase, Entries: nothing copied
  EXPECT_EQ(s.entries(), 1);
  EXPECT_EQ(p.read_string("Macro1", "Name", ""), "A");
  renumber_after_delete(s, 1);
  EXPECT_EQ(s.entries(), 0);
  EXPECT_FALSE(p.has_section("Macro1"));
}

TEST(DeleteMacro, RowBeyondTheStoreErasesNothing) {
  FakeProfileStore p;
  MacroStore s(p);
  add_macro(p, 1, "A", 1);
  p.write_string("Main", "Entries", "1");
  renumber_after_delete(s, 3);
  EXPECT_TRUE(p.has_section("Macro1"));
  EXPECT_EQ(s.entries(), 1);
}

TEST(DeleteMacro, RefusedWriteStopsWhereItFailed) {
  FakeProfileStore p;
  MacroStore s(p);
  for (int n = 1; n <= 3; ++n) add_macro(p, n, "M" + std::to_string(n), 1);
  p.write_string("Main", "Entries", "3");
  p.refuse_after(3);
  EXPECT_THROW(renumber_after_delete(s, 1), Error);
  // Keys written before the failure stay; nothing is rolled back, nothing else is touched.
  EXPECT_EQ(p.read_string("Macro1", "Name", ""), "M2");
  EXPECT_EQ(p.read_string("Macro1", "Trigger", ""), "Title M1");
  EXPECT_EQ(s.entries(), 3);
  EXPECT_TRUE(p.has_section("Macro3"));
}

TEST(StartupReset, EmptiesEveryFoundHandleAndKeepsTheKey) {
  FakeProfileStore p;
  MacroStore s(p);
  add_macro(p, 1, "A", 1);
  p.write_string("Macro2", "Name", "B");
  add_macro(p, 3, "C", 1);  // beyond Entries: untouched
  p.write_string("Main", "Entries", "2");
  reset_found_handles(s);
  EXPECT_EQ(p.read_string("Macro1", "FoundHandle", "x"), "");
  EXPECT_EQ(p.read_string("Macro2", "FoundHandle", "x"), "");
  EXPECT_TRUE(p.has_key("Macro2", "FoundHandle"));
  EXPECT_EQ(p.read_string("Macro3", "FoundHandle", ""), "300");
}

TEST(ErrorReport, FullStopRule) {
  EXPECT_EQ(error_report_text("Invalid token"), "Invalid token.");
  EXPECT_EQ(error_report_text("'x' is not a valid integer value"), "'x' is not a valid integer value.");
  EXPECT_EQ(error_report_text("Erreur en \xE9"
                              "criture."),
            "Erreur en \xE9"
            "criture.");
  EXPECT_EQ(error_report_text("\"CoCreateInstance\" a \xE9"
                              "chou\xE9."),
            "\"CoCreateInstance\" a \xE9"
            "chou\xE9.");
  EXPECT_EQ(error_report_text("Cannot open file C:\\x\\"), "Cannot open file C:\\x\\.");
  EXPECT_EQ(error_report_text("ends with !"), "ends with !");
  EXPECT_EQ(error_report_text("ends with -"), "ends with -");
  EXPECT_EQ(error_report_text(""), "");
  EXPECT_EQ(format_message("Unable to write to %s", "macros.ini"), "Unable to write to macros.ini");
}
