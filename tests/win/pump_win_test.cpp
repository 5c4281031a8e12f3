// The message pump's registrations: dialog keyboard handling and the key preview work exactly as
// long as their registration lives, and move with it. The components' windows share one class.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

using namespace kv::win;

namespace {

// A form with two buttons that records the keys it is sent.
class KeyForm : public Window {
 public:
  KeyForm() {
    create("KvPumpTestForm", "pump test", WS_POPUP | WS_VISIBLE, 0, 0, 0, 200, 100);
    first = create_control(*this, "BUTTON", "first", WS_TABSTOP, 0, 0, 80, 20, 1);
    second = create_control(*this, "BUTTON", "second", WS_TABSTOP, 0, 30, 80, 20, 2);
  }
  std::vector<WPARAM> keys;
  HWND first = nullptr, second = nullptr;

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
    if (msg != WM_KEYDOWN) return false;
    keys.push_back(wp);
    result = 0;
    return true;
  }
};

void press_tab(Win32MessagePump& pump, HWND focused) {
  PostMessageA(focused, WM_KEYDOWN, VK_TAB, 0x000F0001);
  pump.process_messages();
}

struct EnumResult {
  HWND wanted;
  bool seen = false;
};

BOOL CALLBACK look_for(HWND w, LPARAM lp) {
  auto* r = reinterpret_cast<EnumResult*>(lp);
  if (w == r->wanted) r->seen = true;
  return TRUE;
}

bool top_level(HWND w) {
  EnumResult r{w};
  EnumWindows(look_for, reinterpret_cast<LPARAM>(&r));
  return r.seen;
}

std::string class_of(HWND w) {
  char name[64] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}

}  // namespace

TEST(MessagePump, TabMovesTheFocusOnlyWhileTheDialogKeysAreRegistered) {
  Win32MessagePump pump;
  KeyForm form;
  SetForegroundWindow(form.hwnd());
  SetFocus(form.first);
  ASSERT_EQ(GetFocus(), form.first);
  {
    const Win32MessagePump::Registration keys = pump.dialog_keys(form.hwnd());
    press_tab(pump, form.first);
    EXPECT_EQ(GetFocus(), form.second);
  }
  SetFocus(form.first);
  press_tab(pump, form.first);
  EXPECT_EQ(GetFocus(), form.first) << "Tab still handled after the registration ended";
}

TEST(MessagePump, KeyPreviewsSeeKeysFirstLatestFirstWhileRegistered) {
  Win32MessagePump pump;
  KeyForm form;
  std::vector<std::string> seen;
  auto preview = [&](const char* name, bool consume) {
    return pump.key_preview([&seen, name, consume](const MSG& m) {
      if (m.message == WM_KEYDOWN) seen.push_back(std::string(name) + ":" + std::to_string(m.wParam));
      return consume && m.wParam == VK_F1;
    });
  };
  Win32MessagePump::Registration outer = preview("outer", true);
  Win32MessagePump::Registration inner = preview("inner", false);
  PostMessageA(form.hwnd(), WM_KEYDOWN, VK_F1, 0);
  PostMessageA(form.hwnd(), WM_KEYDOWN, 'A', 0);
  pump.process_messages();
  EXPECT_EQ(seen, (std::vector<std::string>{"inner:112", "outer:112", "inner:65", "outer:65"}));
  EXPECT_EQ(form.keys, (std::vector<WPARAM>{'A'})) << "a consumed key reached the window";

  // A move hands the registration over; ending the moved-from one changes nothing.
  seen.clear();
  Win32MessagePump::Registration moved;
  {
    Win32MessagePump::Registration from = std::move(outer);
    moved = std::move(from);
  }
  inner.reset();
  PostMessageA(form.hwnd(), WM_KEYDOWN, VK_F1, 0);
  pump.process_messages();
  EXPECT_EQ(seen, (std::vector<std::string>{"outer:112"}));
  moved.reset();
  PostMessageA(form.hwnd(), WM_KEYDOWN, VK_F1, 0);
  pump.process_messages();
  EXPECT_EQ(seen.size(), 1u) << "a preview saw keys after its registration ended";
  EXPECT_EQ(form.keys, (std::vector<WPARAM>{'A', VK_F1}));
}

TEST(ComponentWindow, OneClassMessageOnlyUnlessItMustHearBroadcasts) {
  std::vector<UINT> got;
  auto handler = [&got](UINT msg, WPARAM, LPARAM, LRESULT& result) {
    if (msg != WM_APP + 5) return false;
    got.push_back(msg);
    result = 0;
    return true;
  };
  ComponentWindow quiet(ComponentWindow::Kind::MessageOnly, handler);
  ComponentWindow broadcast(ComponentWindow::Kind::HiddenTopLevel, handler);
  EXPECT_EQ(class_of(quiet.hwnd()), kComponentWindowClass);
  EXPECT_EQ(class_of(broadcast.hwnd()), kComponentWindowClass);
  EXPECT_FALSE(top_level(quiet.hwnd()));
  EXPECT_TRUE(top_level(broadcast.hwnd()));
  EXPECT_FALSE(IsWindowVisible(broadcast.hwnd()));
  PostMessageA(quiet.hwnd(), WM_APP + 5, 0, 0);
  PostMessageA(broadcast.hwnd(), WM_APP + 5, 0, 0);
  Win32MessagePump pump;
  pump.process_messages();
  EXPECT_EQ(got.size(), 2u);
}
