// ShowHint and the hint window: nothing while "Show Hints" is off; otherwise the text, shown
// modally until OK, Enter or Esc; closing with the box unchecked turns hints off and unchecks
// the tray's mark, closing with it checked writes nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/hint_form_win.h"
#include "platform/win32/adapters.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/win/steps_win.h"

using namespace kv::win;
using kv::test::Steps;
using kv::test::text_of;

namespace {

bool checked(HWND box) {
  return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

}  // namespace

TEST(HintForm, ShowsTheTextUntilClosedAndKeepsTheSettingInStep) {
  Win32MessagePump pump;
  kv::fake::FakeProfileStore profile;
  bool tray_checked = true;
  HintForm form({profile, pump, tray_checked});
  EXPECT_EQ(text_of(form.hwnd()), "Keyvane Hints");
  Steps s;

  // Checked box, closed with OK: nothing is written.
  s.queue.push_back([&] {
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
    EXPECT_EQ(text_of(form.mmoHint()), "First line\r\nsecond line");
    EXPECT_TRUE(checked(form.cbShowHint()));
    PostMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  form.ShowHint("First line\nsecond line");
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  EXPECT_TRUE(tray_checked);
  EXPECT_FALSE(profile.has_key("Main", "Show Hints"));

  // Unchecked box, closed with Esc: hints go off, in the store and on the tray.
  s.queue.push_back([&] {
    SendMessageA(form.cbShowHint(), BM_SETCHECK, BST_UNCHECKED, 0);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  });
  form.ShowHint("Second");
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  EXPECT_FALSE(tray_checked);
  EXPECT_EQ(profile.read_string("Main", "Show Hints", ""), "0");
  EXPECT_TRUE(s.queue.empty());

  // Off: ShowHint returns at once and the window stays hidden.
  s.queue.push_back([&] {
    ADD_FAILURE() << "ShowHint showed the window while hints are off";
    PostMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  form.ShowHint("Third");
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  s.queue.clear();

  // On again from the tray: the box shows the setting, and OK leaves hints on.
  profile.write_string("Main", "Show Hints", "1");
  s.queue.push_back([&] {
    EXPECT_TRUE(checked(form.cbShowHint()));
    PostMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  tray_checked = true;
  form.ShowHint("Fourth");
  EXPECT_TRUE(tray_checked);
  EXPECT_EQ(profile.read_string("Main", "Show Hints", ""), "1");
}
