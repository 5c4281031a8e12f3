// What one script run leaves to the next and to the runs it interrupts: no pending modifier,
// no sender state, and the end of a run reported only when nothing it started still runs.
#include <gtest/gtest.h>

#include "platform/error.h"
#include "tests/fakes/typing_rig.h"

using namespace kv;
using namespace kv::fake;

namespace {

// Runs macro n; the message of the error it raised, or "(no error)".
std::string run(TypingRig& r, int n) {
  try {
    r.runner.ProcessHotKey(n);
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace

TEST(ScriptRuns, APendingModifierEndsWithItsScript) {
  TypingRig r;
  const int fault = r.macro("Fault", "c<<CTRL>>{d");
  const int at_end = r.macro("AtEnd", "x<<CTRL>>");
  const int both = r.macro("Both", "<<CTRL>>@");
  const int save = r.macro("Save", "s");
  EXPECT_EQ(run(r, fault), "No Closing brackets");
  EXPECT_EQ(run(r, save), "(no error)");
  EXPECT_EQ(r.typed(), "cs") << "the next macro's first key got the Ctrl of the failed one";
  r.kb.clear_all();
  run(r, at_end);
  run(r, save);
  EXPECT_EQ(r.typed(), "xs");
  r.kb.clear_all();
  run(r, both);
  run(r, save);
  EXPECT_EQ(r.typed(), "s");
  EXPECT_TRUE(r.kb.keys_left_down().empty());
  // Within one script the modifier still holds for the next key, repeat pass or not.
  EXPECT_EQ(r.play("<<REP2>>a<<CTRL>><<ENDREP>>b"), "a<^a><^b>");
}

TEST(ScriptRuns, AMacroStartedWhileAnotherTypesIsTypedAsItsOwnScriptSays) {
  TypingRig r;
  const int copy = r.macro("Copy", "<<CTRL>>c");
  const int plain = r.macro("Plain", "s");
  // A hotkey arrives in the message pass after the outer run's "^@": the nested run starts
  // clean, and the outer run's next key still gets the Ctrl+Alt its script asks for.
  r.loop.post([&] { r.runner.ProcessHotKey(plain); });
  EXPECT_EQ(r.play("<<CTRL>>@ab"), "s<^@a>b");
  // One that arrives in the message pass of a typed value gets its tokens translated.
  r.prompt.answers = {"v@"};
  r.prompt.while_open = [&] { r.loop.post([&] { r.runner.ProcessHotKey(copy); }); };
  EXPECT_EQ(r.play("<<INPUT:q>><<WRITEVALUE>>."), "v@<^c>.");
  EXPECT_FALSE(r.sender.TokensOnly());
  EXPECT_TRUE(r.kb.keys_left_down().empty());
}
