// Keys aimed at a program that runs above Keyvane's integrity level: the system would drop
// them without a word, so the run ends with a message naming the window and types nothing.
#include <gtest/gtest.h>

#include "platform/error.h"
#include "store/macro_store.h"
#include "tests/fakes/typing_rig.h"

using namespace kv;
using namespace kv::fake;

namespace {

const std::string kAdminMessage =
    "Keyvane cannot type into \"Admin Console\": that program runs as administrator. Start Keyvane as "
    "administrator to automate it.";

}  // namespace

TEST(TypingTarget, AProgramAboveUsGetsNoKeysAndTheRunSaysWhy) {
  TypingRig r;
  const WindowHandle admin = r.windows.add("Admin Console");
  r.integrity.levels[admin] = kIntegrityHigh;
  r.windows.fg = admin;
  EXPECT_EQ(r.play_error("<<SHIFT>>abc<<TAB>>"), kAdminMessage);
  EXPECT_TRUE(r.kb.events.empty()) << "keys went out before the check";
  EXPECT_FALSE(r.sender.shared().pending_shift);
  // The same program at our level, or us with UI access: typed.
  r.integrity.levels[admin] = kIntegrityMedium;
  r.windows.fg = r.windows.add("Other");  // the verdict is asked again for a new window
  r.integrity.levels[r.windows.fg] = kIntegrityHigh;
  r.integrity.ui_access = true;
  EXPECT_EQ(r.play("ok"), "ok");
  // A window whose level the system does not give is typed into.
  r.integrity.ui_access = false;
  r.windows.fg = r.windows.add("Unknown");
  EXPECT_EQ(r.play("ok"), "ok");
}

TEST(TypingTarget, TheCheckFollowsTheForegroundWindow) {
  TypingRig r;
  const WindowHandle editor = r.windows.add("Editor");
  r.integrity.levels[editor] = kIntegrityMedium;
  const WindowHandle admin = r.windows.add("Admin Console");
  r.integrity.levels[admin] = kIntegritySystem;
  r.windows.fg = editor;
  EXPECT_EQ(r.play_error("ab<<TAB>>cd<<FOCUS:Admin Console>>ef"), kAdminMessage);
  EXPECT_EQ(r.typed(), "ab<Tab>cd");
  // The system is asked once per foreground window, not once per batch.
  EXPECT_EQ(r.integrity.queries, 2);
  EXPECT_TRUE(r.kb.keys_left_down().empty());
}

TEST(TypingTarget, APlaybackIntoAProgramAboveUsDoesNotStart) {
  TypingRig r;
  const WindowHandle admin = r.windows.add("Admin Console");
  r.integrity.levels[admin] = kIntegrityHigh;
  r.windows.fg = admin;
  r.profile.write_string("Macro1", "Type", "2");
  r.profile.write_string("Macro1", "FileName", "Keys.dat");
  r.profile.write_string("Main", "Entries", "1");
  std::string message;
  try {
    r.runner.ProcessHotKey(1);
  } catch (const Error& e) {
    message = e.what();
  }
  EXPECT_EQ(message, kAdminMessage);
  EXPECT_TRUE(r.journal.calls.empty());
  EXPECT_TRUE(r.statuses.empty());
}
