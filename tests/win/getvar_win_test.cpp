// The run-time prompt form: Enter in the edit or OK gives the edit's text and empties it; a
// prompt asked while another is open takes the form for its answer, and then the first one
// comes back as it was left, still waiting for its own answer.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "forms/getvar_win.h"
#include "platform/win32/adapters.h"
#include "tests/win/steps_win.h"

using kv::test::Steps;
using kv::test::text_of;

namespace {

void press_enter(HWND edit) {
  PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x1C0001);
}

}  // namespace

TEST(GetVarForm, EnterOrOkConfirmsAndTheEditStartsEmptyNextTime) {
  kv::win::Win32MessagePump pump;
  kv::win::GetVarForm form({pump});
  EXPECT_EQ(text_of(form.hwnd()), "Keyvane Input Box");
  Steps s;
  s.queue.push_back([&] {
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
    EXPECT_EQ(text_of(form.lblPrompt()), "Your name?");
    SetWindowTextA(form.edtVal(), "a^b");
    press_enter(form.edtVal());
  });
  EXPECT_EQ(form.ask("Your name?"), "a^b");
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  EXPECT_EQ(text_of(form.edtVal()), "");

  s.queue.push_back([&] {
    EXPECT_EQ(text_of(form.edtVal()), "");
    // Escape is no cancel: the form stays up.
    PostMessageA(form.edtVal(), WM_KEYDOWN, VK_ESCAPE, 0x10001);
  });
  s.queue.push_back([&] {
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
    PostMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  EXPECT_EQ(form.ask(""), "");
  EXPECT_TRUE(s.queue.empty());
}

TEST(GetVarForm, APromptAskedWhileAnotherIsOpenLeavesTheFirstOneWaiting) {
  kv::win::Win32MessagePump pump;
  kv::win::GetVarForm form({pump});
  Steps s;
  std::string inner;
  bool first_came_back = false;
  s.queue.push_back([&] { SetWindowTextA(form.edtVal(), "half typed"); });
  // A macro started from the first prompt's message loop asks in its turn.
  s.queue.push_back([&] {
    s.queue.push_front([&] {
      EXPECT_EQ(text_of(form.lblPrompt()), "Second?");
      EXPECT_EQ(text_of(form.edtVal()), "");
      SetWindowTextA(form.edtVal(), "two");
      press_enter(form.edtVal());
    });
    inner = form.ask("Second?");
  });
  s.queue.push_back([&] {
    first_came_back = true;
    EXPECT_TRUE(IsWindowVisible(form.hwnd()));
    EXPECT_EQ(text_of(form.lblPrompt()), "First?");
    EXPECT_EQ(text_of(form.edtVal()), "half typed");
    SetWindowTextA(form.edtVal(), "one");
    press_enter(form.edtVal());
  });
  EXPECT_EQ(form.ask("First?"), "one");
  EXPECT_EQ(inner, "two");
  EXPECT_TRUE(first_came_back);
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  EXPECT_EQ(text_of(form.edtVal()), "");
}
