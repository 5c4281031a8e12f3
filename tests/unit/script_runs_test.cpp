// What one script run leaves to the next and to the runs it interrupts: no pending modifier,
// no sender state, and the end of a run reported only when nothing it started still runs.
#include <gtest/gtest.h>

#include "platform/error.h"
#include "store/macro_store.h"
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

namespace {

// A keystroke macro (kind 2) whose playback runs until the test ends it.
int keystroke_macro(TypingRig& r, const std::string& name) {
  MacroStore store(r.profile);
  const int n = store.entries() + 1;
  r.profile.write_string(macro_section(n), keys::kName, name);
  r.profile.write_string(macro_section(n), keys::kType, "2");
  r.profile.write_string(macro_section(n), keys::kFileName, name + ".dat");
  r.profile.write_string(keys::kMain, keys::kEntries, std::to_string(n));
  return n;
}

void end_playback_at(TypingRig& r, std::uint64_t ms) {
  r.journal.busy_ = true;
  r.loop.post_at(ms, [&r] {
    r.journal.busy_ = false;
    r.journal.finish();
  });
}

}  // namespace

TEST(ScriptRuns, AScriptRunInsideAScriptDoesNotReportTheEndWhileAPlaybackItsOuterStartedRuns) {
  TypingRig r;
  keystroke_macro(r, "Keys");
  r.macro("Inner", "i");
  const int outer = r.macro("Outer", "a<<RUN:Keys>><<RUN:Inner>>b");
  end_playback_at(r, 5000);
  r.runner.ProcessHotKey(outer);
  EXPECT_EQ(r.typed(), "aib");
  // The rest of the script is typed while the playback runs...
  EXPECT_EQ(r.kb.time_of('B'), 0);
  // ...and the end of the run is reported once, after the playback ended.
  EXPECT_EQ(r.statuses, (std::vector<std::string>{"NoRecord"}));
  EXPECT_GE(r.loop.now_ms(), 5000u);
  EXPECT_TRUE(r.runner.journal_idle());
}

TEST(ScriptRuns, NothingRunInsideARunReportsTheEndBeforeTheOuterRunEnds) {
  TypingRig r;
  const int shell = keystroke_macro(r, "Shell");
  r.profile.write_string(macro_section(shell), keys::kType, "1");
  const int playback = keystroke_macro(r, "Keys");
  // A start-an-application macro run by name, then a playback that ends while the script types.
  const int outer = r.macro("Outer", "k<<RUN:Shell>>z<<RUN:Keys>><<SECS10>>x");
  end_playback_at(r, 2000);
  r.runner.ProcessHotKey(outer);
  EXPECT_EQ(r.typed(), "kzx");
  EXPECT_EQ(r.statuses, (std::vector<std::string>{"NoRecord"}));
  // A playback that ends with no run in progress reports its own end.
  r.statuses.clear();
  r.runner.ProcessHotKey(playback);
  end_playback_at(r, r.loop.now_ms() + 1000);
  r.loop.wait_for_message();
  r.loop.process_messages();
  EXPECT_EQ(r.statuses, (std::vector<std::string>{"True"}));
}

TEST(ScriptRuns, EndingTheProgramStopsTheScriptAtOnce) {
  {  // in a delay: nothing more is typed, and the pending modifiers go
    TypingRig r;
    r.loop.post_at(1500, [&] { r.loop.terminate(); });
    EXPECT_EQ(r.play("a<<CTRL>>@<<SECS5>>b<<SECS5>>c"), "a");
    EXPECT_LT(r.loop.now_ms(), 2000u);
    EXPECT_FALSE(r.sender.shared().pending_ctrl || r.sender.shared().pending_alt);
    EXPECT_TRUE(r.kb.keys_left_down().empty());
  }
  {  // in a wait for a window
    TypingRig r;
    r.loop.post_at(2500, [&] { r.loop.terminate(); });
    EXPECT_EQ(r.play("a<<LOOKFOR:Nobody~~SECS:30>>b<<FOCUS:Other>><<EXECUTE:app.exe>>"), "a");
    EXPECT_LT(r.loop.now_ms(), 4000u);
    EXPECT_TRUE(r.shell.opened.empty());
  }
  {  // in a prompt: its answer is neither kept nor typed
    TypingRig r;
    r.windows.fg = r.windows.add("Editor");
    r.prompt.answers = {"answer"};
    r.prompt.while_open = [&] { r.loop.terminate(); };
    EXPECT_EQ(r.play("<<INPUT:q>><<WRITEVALUE>>x"), "");
    EXPECT_EQ(r.player.script_value(), "");
  }
  {  // in a macro run by name: the outer script stops too, the run reports nothing and does not
     // wait for the playback it started
    TypingRig r;
    keystroke_macro(r, "Keys");
    r.macro("Inner", "i<<SECS5>>j");
    const int outer = r.macro("Outer", "a<<RUN:Keys>><<RUN:Inner>>b<<REP3>>c<<ENDREP>>");
    r.journal.busy_ = true;  // and never ends
    r.loop.post_at(1000, [&] { r.loop.terminate(); });
    EXPECT_NO_THROW(r.runner.ProcessHotKey(outer));
    EXPECT_EQ(r.typed(), "ai");
    EXPECT_TRUE(r.statuses.empty());
  }
}
