// TEPMenuButton's rules: the menu built from Items, the drop-down's steps, which command ids
// choose an entry, OnChange and the modal result, and no second menu while one is open.
#include "components/menu_button.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

using kv::MenuButtonModel;
using kv::MenuEntry;

namespace {

struct FakeView : kv::MenuButtonView {
  std::vector<std::string> log;
  bool focused = false;
  std::function<void()> while_open;  // what the user does while the menu is up
  std::vector<MenuEntry> shown;
  bool has_focus() override { return focused; }
  void focus() override {
    focused = true;
    log.push_back("focus");
  }
  void show_pressed(bool pressed) override { log.push_back(pressed ? "pressed" : "released"); }
  void track(const std::vector<MenuEntry>& entries) override {
    log.push_back("track");
    shown = entries;
    if (while_open) while_open();
  }
  void remove_pending_clicks() override { log.push_back("flush"); }
};

}  // namespace

TEST(MenuButton, BuildsTheMenuFromItemsWithSeparatorsAndTheCheckMark) {
  MenuButtonModel b;
  b.Items = {"Zero", "-", "Two"};
  EXPECT_EQ(b.entries(),
            (std::vector<MenuEntry>{{false, 0, "Zero", false}, {true, 65535, "", false}, {false, 2, "Two", false}}));
  // The mark only with ShowCheckmark on, and only on the entry at ItemIndex.
  b.ItemIndex = 2;
  EXPECT_FALSE(b.entries()[2].checked);
  b.ShowCheckmark = true;
  EXPECT_TRUE(b.entries()[2].checked);
  EXPECT_FALSE(b.entries()[0].checked);
  b.ItemIndex = -1;
  for (const MenuEntry& e : b.entries()) EXPECT_FALSE(e.checked);
}

TEST(MenuButton, DropDownFocusesPressesTracksFlushesAndReleasesInOrder) {
  MenuButtonModel b;
  b.Items = {"A"};
  FakeView v;
  std::vector<bool> dropped_seen;
  v.while_open = [&] { dropped_seen.push_back(b.dropped()); };
  int clicks = 0;
  b.OnClick = [&] {
    ++clicks;
    v.log.push_back("OnClick");
  };
  b.click(v);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(v.log, (std::vector<std::string>{"OnClick", "focus", "pressed", "track", "flush", "released"}));
  EXPECT_EQ(dropped_seen, std::vector<bool>{true});
  EXPECT_FALSE(b.dropped());

  // Already focused: not focused again.
  v.log.clear();
  b.click(v);
  EXPECT_EQ(v.log, (std::vector<std::string>{"OnClick", "pressed", "track", "flush", "released"}));
}

TEST(MenuButton, NoMenuWithoutItemsAndNoSecondMenuWhileOneIsOpen) {
  MenuButtonModel b;
  FakeView v;
  int changes = 0;
  b.OnChange = [&] { ++changes; };
  b.click(v);
  EXPECT_TRUE(v.log.empty());
  EXPECT_EQ(changes, 0);

  b.Items = {"A", "B"};
  int tracks = 0;
  v.while_open = [&] {
    ++tracks;
    b.click(v);  // the button clicked again while its menu is up
  };
  b.click(v);
  EXPECT_EQ(tracks, 1);
  EXPECT_FALSE(b.dropped());
  // The button is usable again afterwards, even after a menu that failed.
  v.while_open = [&] { throw std::runtime_error("menu failed"); };
  EXPECT_THROW(b.click(v), std::runtime_error);
  EXPECT_FALSE(b.dropped());
  EXPECT_EQ(v.log.back(), "released");
}

TEST(MenuButton, CommandsBelowTheCountChooseOthersAreIgnored) {
  MenuButtonModel b;
  b.Items = {"A", "-", "C"};
  std::vector<int> seen;
  b.OnChange = [&] { seen.push_back(b.ItemIndex); };
  // Id 0 is an entry like any other; the same entry twice fires twice.
  EXPECT_TRUE(b.command(0));
  EXPECT_TRUE(b.command(2));
  EXPECT_TRUE(b.command(2));
  EXPECT_EQ(seen, (std::vector<int>{0, 2, 2}));
  // A separator's id and anything at or above the count: nothing changes.
  EXPECT_FALSE(b.command(kv::kMenuSeparatorId));
  EXPECT_FALSE(b.command(3));
  EXPECT_EQ(b.ItemIndex, 2);
  EXPECT_EQ(seen.size(), 3u);
}

TEST(MenuButton, ClosingTheMenuWithoutAChoiceChangesNothing) {
  MenuButtonModel b;
  b.Items = {"A", "B"};
  b.ItemIndex = 1;
  int changes = 0;
  b.OnChange = [&] { ++changes; };
  FakeView v;
  b.click(v);
  EXPECT_EQ(b.ItemIndex, 1);
  EXPECT_EQ(changes, 0);
}

TEST(MenuButton, AModalResultIsHandedToTheParentOnlyWhenSetAndAfterOnChange) {
  MenuButtonModel b;
  b.Items = {"A"};
  std::vector<std::string> log;
  b.OnChange = [&] { log.push_back("change"); };
  b.set_parent_modal_result = [&](int r) { log.push_back("result " + std::to_string(r)); };
  b.command(0);
  EXPECT_EQ(log, std::vector<std::string>{"change"});
  b.ModalResult = 1;
  b.command(0);
  b.command(7);  // ignored ids set no result either
  EXPECT_EQ(log, (std::vector<std::string>{"change", "change", "result 1"}));
}
