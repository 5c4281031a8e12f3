#include <gtest/gtest.h>

#include "components/tray_icon.h"
#include "forms/hints.h"
#include "platform/error.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_system.h"

using namespace kv;
using namespace kv::fake;

namespace {

struct Calls {
  std::vector<std::string> log;
  bool accept = true;
  TrayIconModel::Notify notify() {
    return [this](TrayCall c, const std::string& tip) {
      const char* name = c == TrayCall::Add ? "add" : c == TrayCall::Modify ? "modify" : "delete";
      log.push_back(std::string(name) + ":" + tip);
      return accept;
    };
  }
};

}  // namespace

TEST(TrayIcon, EachChangeMakesOneCallAndRepeatsMakeNone) {
  Calls c;
  TrayIconModel icon(c.notify());
  icon.set_Hint("Tip");
  icon.set_Hint("Tip");
  icon.set_Visible(true);
  icon.set_Visible(true);
  icon.icon_assigned();
  icon.set_Visible(false);
  icon.destroyed();  // not visible: nothing left to delete
  EXPECT_EQ(c.log, (std::vector<std::string>{"modify:Tip", "add:Tip", "modify:Tip", "delete:Tip"}));
  c.log.clear();
  icon.set_Visible(true);
  icon.destroyed();
  EXPECT_EQ(c.log, (std::vector<std::string>{"add:Tip", "delete:Tip"}));
}

TEST(TrayIcon, TipIsCutTo63AndTheIconComesBackWithTheTaskbar) {
  Calls c;
  TrayIconModel icon(c.notify());
  const std::string hint = "Ostrel Keyvane - Right Click For Options" + std::string(40, '!');
  icon.set_Hint(hint);
  EXPECT_EQ(c.log.back(), "modify:" + hint.substr(0, 63));
  EXPECT_EQ(tray_tip(std::string(63, 'a')), std::string(63, 'a'));
  EXPECT_EQ(tray_tip("short"), "short");
  icon.taskbar_created();  // hidden: stays away
  EXPECT_EQ(c.log.size(), 1u);
  icon.set_Visible(true);
  icon.taskbar_created();
  EXPECT_EQ(c.log.back(), "add:" + hint.substr(0, 63));
  EXPECT_EQ(c.log.size(), 3u);
}

TEST(TrayIcon, MouseMessagesRaiseEventsInOrder) {
  using E = TrayEvent;
  const auto L = TrayButton::Left, R = TrayButton::Right, M = TrayButton::Middle;
  EXPECT_EQ(tray_events(0x202, kTrayShift), (std::vector<E>{{E::Click, L, kTrayShift}, {E::MouseUp, L, kTrayShift}}));
  EXPECT_EQ(tray_events(0x203, 0), (std::vector<E>{{E::DblClick, L, 0}, {E::MouseDown, L, kTrayDouble}}));
  EXPECT_EQ(tray_events(0x205, kTrayRight),
            (std::vector<E>{{E::MouseUp, R, kTrayRight}, {E::ShowMenu, R, kTrayRight}}));
  EXPECT_EQ(tray_events(0x206, 0), (std::vector<E>{{E::MouseDown, R, kTrayDouble}}));
  EXPECT_EQ(tray_events(0x209, kTrayCtrl), (std::vector<E>{{E::MouseDown, M, kTrayCtrl | kTrayDouble}}));
  EXPECT_EQ(tray_events(0x208, 0), (std::vector<E>{{E::MouseUp, M, 0}}));
  EXPECT_EQ(tray_events(0x200, 0), (std::vector<E>{{E::MouseMove, L, 0}}));
  EXPECT_TRUE(tray_events(0x20A, 0).empty());  // the wheel raises nothing
}

TEST(Hints, TrayToggleAndHintWindowKeepTheSettingInStep) {
  FakeProfileStore profile;
  FakeEventLoop loop;
  MacroStore store(profile);
  EXPECT_TRUE(hints_enabled(store));  // absent: on
  bool checked = true;
  // The hint window closed with its box unchecked: off, written, tray unchecked.
  hint_window_closed(store, loop, false, checked);
  EXPECT_FALSE(checked);
  EXPECT_FALSE(hints_enabled(store));
  EXPECT_EQ(profile.read_string("Main", "Show Hints", ""), "0");
  // Back on from the tray.
  toggle_show_hints(store, checked);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(hints_enabled(store));
  // Closed with the box checked: only the tray mark, nothing written.
  const int writes = profile.writes();
  checked = false;
  hint_window_closed(store, loop, true, checked);
  EXPECT_TRUE(checked);
  EXPECT_EQ(profile.writes(), writes);
}

TEST(Hints, TurnedBackOnTheHintWindowOpensCheckedAndOkKeepsThemOn) {
  FakeProfileStore profile;
  FakeEventLoop loop;
  MacroStore store(profile);
  bool checked = true;
  EXPECT_TRUE(hint_box_checked_on_open(store));
  hint_window_closed(store, loop, false, checked);  // the user unticked the box
  EXPECT_FALSE(checked);
  toggle_show_hints(store, checked);  // on again from the tray
  // The next hint opens with the box as the setting is now; its OK leaves hints on.
  const bool box = hint_box_checked_on_open(store);
  EXPECT_TRUE(box);
  hint_window_closed(store, loop, box, checked);
  EXPECT_TRUE(checked);
  EXPECT_TRUE(hints_enabled(store));
  profile.write_string("Main", "Show Hints", "0");
  EXPECT_FALSE(hint_box_checked_on_open(store));
}

TEST(Hints, RefusedWriteLeavesTheCheckMark) {
  FakeProfileStore profile;
  FakeEventLoop loop;
  MacroStore store(profile);
  profile.set_read_only(true);
  bool checked = true;
  EXPECT_THROW(toggle_show_hints(store, checked), Error);
  EXPECT_TRUE(checked);
  EXPECT_THROW(hint_window_closed(store, loop, false, checked), Error);
  EXPECT_TRUE(checked);
}
