#include <gtest/gtest.h>

#include "forms/macro_list.h"
#include "forms/print_layout.h"
#include "platform/error.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

using namespace kv;
using kv::fake::FakeFileSystem;
using kv::fake::FakeProfileStore;

namespace {

std::string no_platform_names(std::uint8_t) {
  return "Num Lock";
}

void add_macro(FakeProfileStore& p, int n, std::map<std::string, std::string> keys) {
  for (const auto& [k, v] : keys) p.write_string(macro_section(n), k, v);
}

}  // namespace

TEST(MacroRows, NamesKindsHotkeysAndTriggersFromTheStore) {
  FakeProfileStore p;
  MacroStore s(p);
  p.write_string("Main", "Entries", "6");
  add_macro(p, 1, {{"Name", "Notepad"}, {"Type", "1"}, {"HotKey", "49217"}, {"Trigger", "Untitled - Notepad"}});
  add_macro(p, 2, {{"Name", "Keys"}, {"Type", "2"}, {"HotKey", "8304"}});
  add_macro(p, 3, {{"Type", "3"}, {"HotKey", "0"}});                            // no Name
  add_macro(p, 4, {{"Name", "Script"}, {"Type", "0x4"}, {"HotKey", "16528"}});  // Ctrl + Num Lock: no text
  add_macro(p, 5, {{"Name", "Odd"}, {"Type", "9"}});
  add_macro(p, 6, {{"Name", "Untyped"}, {"Type", "two"}});
  const auto rows = read_macro_rows(s, no_platform_names);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0].caption, "Notepad");
  EXPECT_EQ(rows[0].image, 0);
  EXPECT_EQ(rows[0].shortcut_keys, "Ctrl+Alt+A");
  EXPECT_EQ(rows[0].trigger, "Untitled - Notepad");
  EXPECT_EQ(rows[1].image, 1);
  EXPECT_EQ(rows[1].shortcut_keys, "Shift+F1");
  EXPECT_EQ(rows[1].trigger, "");
  EXPECT_EQ(rows[2].caption, "Macro3");
  EXPECT_EQ(rows[2].image, 2);
  EXPECT_EQ(rows[2].shortcut_keys, "");
  EXPECT_EQ(rows[3].image, rows[1].image);
  EXPECT_EQ(rows[3].shortcut_keys, "");
  EXPECT_EQ(rows[4].image, 0);
  EXPECT_EQ(rows[5].image, 0);  // unreadable Type reads as 1
}

TEST(MacroRows, ARefusedCombinationIsShownInUse) {
  FakeProfileStore p;
  MacroStore s(p);
  p.write_string("Main", "Entries", "3");
  add_macro(p, 1, {{"Name", "Held"}, {"HotKey", "49234"}});  // Ctrl+Alt+R
  add_macro(p, 2, {{"Name", "Free"}, {"HotKey", "8304"}});
  add_macro(p, 3, {{"Name", "None"}});
  std::vector<int> asked;
  const auto rows = read_macro_rows(s, no_platform_names, [&](int n) {
    asked.push_back(n);
    return n != 2;
  });
  EXPECT_EQ(rows[0].shortcut_keys, "Ctrl+Alt+R (in use)");
  EXPECT_EQ(rows[1].shortcut_keys, "Shift+F1");
  // A macro without a combination has nothing to mark, whatever its slot says.
  EXPECT_EQ(rows[2].shortcut_keys, "");
  EXPECT_EQ(asked, (std::vector<int>{1, 2}));
  // The printed list takes the marked text and, being longer than 8, two tabs.
  EXPECT_NE(macro_list_print_text(rows).find("Ctrl+Alt+R (in use)\t\tHeld\r\n"), std::string::npos);
}

TEST(MacroRows, EmptyStoreGivesNoRowsAndEntriesBoundsTheList) {
  FakeProfileStore p;
  MacroStore s(p);
  EXPECT_TRUE(read_macro_rows(s, no_platform_names).empty());
  add_macro(p, 1, {{"Name", "Beyond Entries"}});
  EXPECT_TRUE(read_macro_rows(s, no_platform_names).empty());
  p.write_string("Main", "Entries", "2");
  const auto rows = read_macro_rows(s, no_platform_names);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].caption, "Macro2");  // listed although its section is missing
  // No upper limit: a macro past the hotkey range is listed like any other.
  p.write_string("Main", "Entries", "101");
  add_macro(p, 101, {{"Name", "Last"}, {"Type", "4"}, {"HotKey", "49217"}});
  const auto many = read_macro_rows(s, no_platform_names);
  ASSERT_EQ(many.size(), 101u);
  EXPECT_EQ(many[100].caption, "Last");
  EXPECT_EQ(many[100].shortcut_keys, "Ctrl+Alt+A");
}

TEST(ListCommands, ClickAndMouseUpFollowTheirOwnRules) {
  ListCommands c;
  EXPECT_EQ(c, ListCommands{});  // everything starts disabled
  c.list_clicked(true, true);
  EXPECT_TRUE(c.delete_button && c.delete_item && c.properties_item && c.create_shortcut);
  EXPECT_FALSE(c.edit_button) << "a click leaves the Edit Macro button alone";
  c.list_mouse_up(true, true, true);
  EXPECT_TRUE(c.edit_button);
  c.list_clicked(true, false);
  EXPECT_FALSE(c.delete_button || c.delete_item || c.properties_item || c.create_shortcut);
  EXPECT_TRUE(c.edit_button);
  c.list_mouse_up(true, true, false);  // selected but no focused row
  EXPECT_EQ(c, ListCommands{});
  c.list_mouse_up(false, true, true);  // empty list
  EXPECT_EQ(c, ListCommands{});
}

TEST(ListCommands, DeletionDisablesDeleteAndShortcutButLeavesEdit) {
  ListCommands c;
  c.list_mouse_up(true, true, true);
  c.macro_deleted();
  EXPECT_FALSE(c.delete_button || c.delete_item || c.create_shortcut);
  EXPECT_TRUE(c.edit_button && c.properties_item);
}

namespace {

struct FakeListView : MacroListView {
  std::vector<std::string> rows;
  int selected = -1;
  bool answer = true;
  int asked = 0;
  std::function<void()> while_asking;
  int selected_index() override { return selected; }
  std::string caption(int i) override { return rows.at(static_cast<std::size_t>(i)); }
  bool confirm_delete() override {
    ++asked;
    if (while_asking) while_asking();
    return answer;
  }
  void remove_row(int i) override {
    rows.erase(rows.begin() + i);
    selected = -1;
  }
};

struct DeleteFixture : ::testing::Test {
  FakeProfileStore p;
  MacroStore s{p};
  FakeFileSystem files;
  FakeListView view;
  ListCommands commands;

  void SetUp() override {
    p.write_string("Main", "Entries", "3");
    add_macro(p, 1, {{"Name", "One"}, {"Type", "4"}, {"HotKey", "16449"}, {"FileName", "One.key"}});
    add_macro(p, 2, {{"Name", "Two "}, {"Type", "2"}, {"HotKey", "16450"}, {"FileName", "Two.dat"}});
    add_macro(p, 3, {{"Name", "Three"}, {"Type", "4"}, {"HotKey", "16451"}, {"FileName", "Three.key"}});
    for (const char* f : {"One.key", "Two.key", "Two.dat", "Three.key"}) files.files[files.dir + f] = "x";
    view.rows = {"One", "Two ", "Three"};
    commands.list_mouse_up(true, true, true);
  }
};

}  // namespace

TEST_F(DeleteFixture, YesDeletesTheSelectedMacroRenumbersAndDisables) {
  view.selected = 1;
  EXPECT_TRUE(delete_selected_macro(view, s, files, commands));
  EXPECT_EQ(view.asked, 1);
  EXPECT_EQ(view.rows, (std::vector<std::string>{"One", "Three"}));
  EXPECT_EQ(s.entries(), 2);
  EXPECT_EQ(s.read_string("Macro2", "Name"), "Three");
  EXPECT_EQ(s.read_integer("Macro2", "HotKey", 0), 16451);
  EXPECT_FALSE(p.has_section("Macro3"));
  // Companion files are named after the caption without its trailing blank, whatever the kind.
  EXPECT_FALSE(files.exists(files.dir + "Two.key"));
  EXPECT_FALSE(files.exists(files.dir + "Two.dat"));
  EXPECT_TRUE(files.exists(files.dir + "Three.key"));
  EXPECT_FALSE(commands.delete_button || commands.delete_item || commands.create_shortcut);
}

TEST_F(DeleteFixture, NoOrNoSelectionChangesNothing) {
  const std::string before = p.dump();
  view.selected = -1;
  EXPECT_FALSE(delete_selected_macro(view, s, files, commands));
  EXPECT_EQ(view.asked, 0) << "no question without a selected row";
  view.selected = 1;
  view.answer = false;
  EXPECT_FALSE(delete_selected_macro(view, s, files, commands));
  EXPECT_EQ(view.asked, 1);
  EXPECT_EQ(p.dump(), before);
  EXPECT_EQ(view.rows.size(), 3u);
  EXPECT_TRUE(files.deleted.empty());
  EXPECT_TRUE(commands.delete_button);
}

TEST_F(DeleteFixture, ListRebuiltWhileAskingDeletesNothing) {
  view.selected = 1;
  const std::string before = p.dump();
  view.while_asking = [&] { view.selected = -1; };  // the rows were reloaded meanwhile
  EXPECT_FALSE(delete_selected_macro(view, s, files, commands));
  EXPECT_EQ(p.dump(), before);
  EXPECT_TRUE(files.deleted.empty());
}

TEST_F(DeleteFixture, RefusedWriteRaisesAfterTheRowWasRemoved) {
  view.selected = 0;
  p.set_read_only(true);
  try {
    delete_selected_macro(view, s, files, commands);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Unable to write to macros.ini");
  }
  EXPECT_EQ(view.rows.size(), 2u);
}
