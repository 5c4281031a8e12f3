// A form's modal run: the other windows take no input while it lasts and take it again before it
// returns; end() ends only the innermost run; a destroyed form or the end of the program ends it.
#include <windows.h>

#include <gtest/gtest.h>

#include "forms/modal_win.h"
#include "platform/win32/adapters.h"
#include "tests/win/steps_win.h"

using namespace kv::win;
using kv::test::Steps;

namespace {

HWND make_window(const char* title) {
  HWND w = CreateWindowExA(0, "STATIC", title, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(w, SW_SHOWNA);
  return w;
}

}  // namespace

TEST(ModalRun, OtherWindowsTakeNoInputUntilTheInnermostRunEnds) {
  Win32MessagePump pump;
  const OwnedWindow other(make_window("other"));
  const OwnedWindow form(make_window("form"));
  ModalRun modal(pump);
  Steps s(20);
  int shown = 0, inner = -1;
  s.queue.push_back([&] {
    EXPECT_FALSE(IsWindowEnabled(other.get()));
    EXPECT_TRUE(IsWindowEnabled(form.get()));
    // Shown again from inside its own run: the inner run ends first, the outer one waits on.
    s.queue.push_front([&] { modal.end(7); });
    inner = modal.run(form.get(), [&] { ++shown; });
    EXPECT_TRUE(modal.running());
    EXPECT_FALSE(IsWindowEnabled(other.get())) << "the outer run still holds the other windows";
  });
  s.queue.push_back([&] { modal.end(IDCANCEL); });
  EXPECT_FALSE(modal.running());
  EXPECT_EQ(modal.run(form.get(), [&] { ++shown; }), IDCANCEL);
  EXPECT_EQ(inner, 7);
  EXPECT_EQ(shown, 2);
  EXPECT_FALSE(modal.running());
  EXPECT_TRUE(IsWindowEnabled(other.get()));
  EXPECT_TRUE(s.queue.empty());
  modal.end();  // no run: nothing to end
}

TEST(ModalRun, EndsWhenTheFormIsDestroyedOrTheProgramIsAskedToEnd) {
  Win32MessagePump pump;
  const OwnedWindow other(make_window("other"));
  ModalRun modal(pump);
  Steps s(20);
  OwnedWindow form(make_window("form"));
  s.queue.push_back([&] { form.reset(); });
  EXPECT_EQ(modal.run(form.get(), [] {}), 0);
  EXPECT_TRUE(IsWindowEnabled(other.get()));

  const OwnedWindow second(make_window("second"));
  s.queue.push_back([&] { pump.terminate(); });
  EXPECT_EQ(modal.run(second.get(), [] {}), 0);
  EXPECT_TRUE(pump.terminated());
  EXPECT_TRUE(IsWindowEnabled(other.get()));
}
