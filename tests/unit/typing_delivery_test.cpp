// Keys arrive where they were aimed: the system routes sent keys to whichever window has the
// focus when it gets to them, so before anything moves the focus the player waits until the
// keys it sent have been handed on, and after it moved the focus itself it waits until the
// window has it.
#include <gtest/gtest.h>

#include "platform/error.h"
#include "tests/fakes/typing_rig.h"

using namespace kv;
using namespace kv::fake;

namespace {

struct Desk : TypingRig {
  WindowHandle editor = windows.add("Editor");
  WindowHandle other = windows.add("Other");
  Desk() {
    windows.fg = editor;
    route_keys_by_focus();
  }
};

}  // namespace

TEST(TypingDelivery, TextBeforeAPromptReachesTheWindowItWasTypedInto) {
  Desk r;
  const WindowHandle form = r.windows.add("Keyvane Input Box");
  r.prompt.answers = {"abc"};
  // The prompt takes the foreground; the system routes what is still on its way after that.
  r.prompt.while_open = [&] { r.windows.set_foreground(form); };
  r.play("Dear <<INPUT:Your name?>><<WRITEVALUE>>!");
  r.kb.deliver();
  EXPECT_EQ(r.received_by(r.editor), "Dear abc!");
  EXPECT_EQ(r.received_by(form), "");
}

TEST(TypingDelivery, TextBeforeAFocusAnExecuteOrARunStaysWithItsWindow) {
  {
    Desk r;
    r.play("ab<<FOCUS:Other>>cd");
    r.kb.deliver();
    EXPECT_EQ(r.received_by(r.editor), "ab");
    EXPECT_EQ(r.received_by(r.other), "cd");
  }
  {  // a program the shell starts takes the foreground
    Desk r;
    r.shell.on_open = [&](const std::string&) { r.windows.set_foreground(r.other); };
    r.play("ef<<EXECUTE:app.exe>>");
    r.kb.deliver();
    EXPECT_EQ(r.received_by(r.editor), "ef");
    EXPECT_EQ(r.received_by(r.other), "");
    // The same for a start-an-application macro run by name.
    r.profile.write_string("Macro1", "Name", "App");
    r.profile.write_string("Macro1", "Type", "1");
    r.profile.write_string("Main", "Entries", "1");
    r.windows.fg = r.editor;
    r.play("gh<<RUN:App>>");
    r.kb.deliver();
    EXPECT_EQ(r.received_by(r.editor), "gh");
  }
}

TEST(TypingDelivery, AnErrorBoxComesOnlyAfterTheKeysBeforeTheFault) {
  Desk r;
  EXPECT_EQ(r.play_error("abc<<SECSx>>"), "'x' is not a valid integer value");
  EXPECT_TRUE(r.kb.in_flight.empty()) << "keys still on their way when the box takes the focus";
  EXPECT_EQ(r.received_by(r.editor), "abc");
}

TEST(TypingDelivery, TheWaitCostsNothingWhenNoKeyIsOnItsWay) {
  Desk r;
  r.play("<<FOCUS:Other>><<FOCUS:Editor>>x<<FOCUS:Other>><<FOCUS:Editor>>");
  EXPECT_EQ(r.kb.delivery_waits, 1);
}

TEST(TypingDelivery, AfterAFocusTheKeysWaitUntilTheWindowHasIt) {
  Desk r;
  // The window's thread takes 300 ms to answer the activation; keys sent before that would
  // reach no window at all.
  r.windows.activation_delay_ms = 300;
  r.play("<<FOCUS:Other>>x");
  r.kb.deliver();
  EXPECT_EQ(r.received_by(r.other), "x");
  EXPECT_GE(r.kb.time_of('X'), 300);
  EXPECT_EQ(r.loop.process_calls, 1) << "no message may start a macro while the focus moves";
  // A window that never takes the foreground holds the script up for a bounded time only.
  r.windows.activation_delay_ms = 60000;
  const std::uint64_t t = r.loop.now_ms();
  EXPECT_EQ(r.play("<<FOCUS:Editor>>y"), "y");
  EXPECT_LE(r.kb.time_of('Y'), static_cast<std::int64_t>(t + 2000));
  EXPECT_GE(r.kb.time_of('Y'), static_cast<std::int64_t>(t + 1000));
}
