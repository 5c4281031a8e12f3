#include <gtest/gtest.h>

#include "engine/script_player.h"
#include "platform/error.h"
#include "store/macro_store.h"
#include "tests/fakes/typing_rig.h"
#include "engine/find_titled_window.h"

using namespace kv;
using namespace kv::fake;

TEST(ScriptPlayer, RepeatBlocks) {
  TypingRig r;
  EXPECT_EQ(r.play("<<REP3>>ab<<ENDREP>>c"), "abababc");
  EXPECT_EQ(r.play("<<REP3>> ab <<ENDREP>>"), "ababab");
  EXPECT_EQ(r.play("<<rep2>>x<<ENDREP>>"), "xx");
  // Blocks do not nest: the inner end closes the outer block.
  EXPECT_EQ(r.play("<<REP2>>a<<REP2>>b<<ENDREP>>c<<ENDREP>>"), "aacENDREP>>");
  // The end mark is case-sensitive: without it nothing repeats and 9 characters go.
  EXPECT_EQ(r.play("<<REP2>>x<<endrep>>"), "rep>>");
  EXPECT_EQ(r.play("<<REP0>>abc<<ENDREP>>d"), "d");
  EXPECT_EQ(r.play("<<REP-3>>abc<<ENDREP>>d"), "d");
  EXPECT_EQ(r.play("<<REP2>><<ENTER>><<SHIFT>>a<<ENDREP>>"), "<Enter>A<Enter>A");
  // An empty body is not played two billion times over.
  EXPECT_EQ(r.play("<<REP2000000000>> \r\n <<ENDREP>>x"), "x");
}

TEST(ScriptPlayer, BadCountsRaiseAndEndTheWholeScript) {
  TypingRig r;
  EXPECT_EQ(r.play_error("a<<SECSx>>b"), "'x' is not a valid integer value");
  EXPECT_EQ(r.typed(), "a");
  EXPECT_EQ(r.play_error("<<SECS>>"), "'' is not a valid integer value");
  EXPECT_EQ(r.play_error("<<MINS 1x>>"), "' 1x' is not a valid integer value");
  EXPECT_EQ(r.play_error("<<REP>>a<<ENDREP>>"), "'' is not a valid integer value");
  EXPECT_EQ(r.play_error("<<SECS5"), "'' is not a valid integer value");
  EXPECT_EQ(r.play_error("<<LOOKFOR:T~~SECS:z>>"), "'z' is not a valid integer value");
  // The enclosing repeat passes are abandoned too.
  EXPECT_EQ(r.play_error("<<REP3>>a<<SECSq>>b<<ENDREP>>c"), "'q' is not a valid integer value");
  EXPECT_EQ(r.typed(), "a");
  EXPECT_FALSE(r.tmr1.running());
}

TEST(ScriptPlayer, DelaysWaitOnTheTimerWithoutSpinning) {
  TypingRig r;
  r.play("<<SECS2>>x");
  EXPECT_EQ(r.kb.time_of('X'), 2000);
  EXPECT_FALSE(r.tmr1.running());
  const std::uint64_t t0 = r.loop.now_ms();
  r.play("<<secs2>>x");
  EXPECT_EQ(r.kb.time_of('X'), static_cast<std::int64_t>(t0 + 2000));
  const std::uint64_t t1 = r.loop.now_ms();
  const int waits = r.loop.wait_calls;
  r.play("<<MINS1>>y");
  EXPECT_EQ(r.kb.time_of('Y'), static_cast<std::int64_t>(t1 + 60000));
  EXPECT_EQ(r.tmr1.interval(), 60000u);
  // Woken once per tick, not once per spin.
  EXPECT_LE(r.loop.wait_calls - waits, 3);
  EXPECT_EQ(r.loop.slept_ms, 0u);
  const std::uint64_t t2 = r.loop.now_ms();
  r.play("<<SECS0>>z<<SECS-4>>w");
  EXPECT_EQ(r.kb.time_of('W'), static_cast<std::int64_t>(t2));
}

TEST(ScriptPlayer, DelayStartedInsideAnotherDelayLetsTheOuterOneEnd) {
  TypingRig r;
  r.macro("Outer", "<<SECS5>>a");
  const int inner = r.macro("Inner", "<<SECS1>>b");
  r.loop.post_at(2000, [&] { r.runner.ProcessHotKey(inner); });
  r.runner.ProcessHotKey(1);
  EXPECT_EQ(r.typed(), "ba");
  // A tick already queued when the inner delay took the timer may count for it.
  EXPECT_GE(r.kb.time_of('B'), 2000);
  EXPECT_LE(r.kb.time_of('B'), 3000);
  // The outer delay had 2 of its 5 ticks when the inner one took the timer.
  EXPECT_GE(r.kb.time_of('A'), 5000);
  EXPECT_LE(r.kb.time_of('A'), 7000);
  EXPECT_FALSE(r.tmr1.running());
  EXPECT_EQ(r.statuses, (std::vector<std::string>{"NoRecord", "NoRecord"}));
}

TEST(ScriptPlayer, AMacroStartedMidScriptRunsToItsEndFirst) {
  TypingRig r;
  r.macro("One", "abc");
  const int two = r.macro("Two", "x<<ENTER>>y");
  bool posted = false;
  // The first Send's message pass delivers "run macro 2".
  r.loop.post([&] {
    posted = true;
    r.runner.ProcessHotKey(two);
  });
  r.runner.ProcessHotKey(1);
  EXPECT_TRUE(posted);
  EXPECT_EQ(r.typed(), "ax<Enter>ybc");
}

TEST(ScriptPlayer, PromptValueIsTypedLiterallyAndTheForegroundComesBack) {
  TypingRig r;
  const WindowHandle editor = r.windows.add("Editor");
  r.windows.fg = editor;
  const WindowHandle form = r.windows.add("Keyvane Input Box");
  r.prompt.while_open = [&] { r.windows.fg = form; };
  r.prompt.answers = {"a^b"};
  EXPECT_EQ(r.play("<<INPUT:Your name?>>Dear <<WRITEVALUE>>"), "Dear a^b");
  EXPECT_EQ(r.prompt.prompts, (std::vector<std::string>{"Your name?"}));
  EXPECT_EQ(r.windows.fg, editor);
  EXPECT_FALSE(r.sender.TokensOnly());
  // A second prompt overwrites the first value.
  r.prompt.answers = {"one", "two"};
  EXPECT_EQ(r.play("<<INPUT:A>><<INPUT:B>><<WRITEVALUE>>"), "two");
  // An empty prompt still asks.
  r.prompt.answers = {""};
  EXPECT_EQ(r.play("<<INPUT:>>x<<WRITEVALUE>>"), "x");
  EXPECT_EQ(r.prompt.prompts.back(), "");
  // The value is key-sequence text with only braces special.
  r.prompt.answers = {"{x"};
  EXPECT_EQ(r.play_error("<<INPUT:q>><<WRITEVALUE>>"), "No Closing brackets");
  EXPECT_FALSE(r.sender.TokensOnly()) << "TokensOnly stayed on after the error";
  // Every script file run starts with an empty value.
  r.prompt.answers = {"kept"};
  r.player.SendKeys("<<INPUT:v>>");
  const int n = r.macro("Write", "[<<WRITEVALUE>>]");
  r.kb.clear_all();
  r.runner.ProcessHotKey(n);
  EXPECT_EQ(r.typed(), "[]");
}

TEST(ScriptPlayer, WriteValueCutsTo255Characters) {
  TypingRig r;
  r.prompt.answers = {std::string(300, 'k')};
  EXPECT_EQ(r.play("<<INPUT:long>><<WRITEVALUE>>"), std::string(255, 'k'));
}

TEST(ScriptPlayer, RunByNameRunsEveryMacroOfThatNameInOrder) {
  TypingRig r;
  r.macro("Notepad", "1");
  r.macro("Other", "2");
  r.macro("NOTEPAD", "3");
  r.macro("notepad", "4");
  const int calls = r.loop.process_calls;
  EXPECT_EQ(r.play("<<RUN:Notepad>>."), "134.");
  EXPECT_GE(r.loop.process_calls - calls, 4 + 3);
  EXPECT_EQ(r.play("<<RUN: Notepad>>."), ".");
  EXPECT_EQ(r.play("<<run:other>>"), "2");
}

TEST(ScriptPlayer, AMacroThatRunsItselfEndsWithAnErrorInsteadOfExhaustingTheStack) {
  TypingRig r;
  const int n = r.macro("Loop", "x<<RUN:Loop>>");
  std::string message;
  try {
    r.runner.ProcessHotKey(n);
  } catch (const Error& e) {
    message = e.what();
  }
  EXPECT_EQ(message, "Macros run one another too deeply (40 levels)");
  EXPECT_EQ(r.typed(), std::string(41, 'x'));
  EXPECT_TRUE(r.kb.keys_left_down().empty());
  // The player is usable again afterwards.
  EXPECT_EQ(r.play("ok"), "ok");
}

TEST(ScriptPlayer, WaitForAWindow) {
  TypingRig r;
  r.loop.post_at(3000, [&] { r.windows.add("Untitled - Notepad"); });
  r.play("<<LOOKFOR:untitled - notepad~~SECS:5>>x");
  EXPECT_GE(r.kb.time_of('X'), 3000);
  EXPECT_LT(r.kb.time_of('X'), 5000);
  // Nothing found: about the whole time, and the script goes on.
  std::uint64_t t = r.loop.now_ms();
  r.play("<<LOOKFOR:Nobody~~SECS:5>>y");
  EXPECT_EQ(r.kb.time_of('Y'), static_cast<std::int64_t>(t + 5000));
  t = r.loop.now_ms();
  r.play("<<LOOKFOR:Nobody~~mins:1>>m");
  EXPECT_EQ(r.kb.time_of('M'), static_cast<std::int64_t>(t + 60000));
  // The separator is read from the store each time.
  r.profile.write_string("Main", "WaitForSeparator", "%%%");
  t = r.loop.now_ms();
  EXPECT_EQ(r.play("<<LOOKFOR:Untitled - Notepad%%%SECS:5>>z"), "z");
  EXPECT_EQ(r.kb.time_of('Z'), static_cast<std::int64_t>(t));
  r.profile.write_string("Main", "WaitForSeparator", "~~");
  // Without a separator the title is empty and one character goes in its place.
  t = r.loop.now_ms();
  EXPECT_EQ(r.play("<<LOOKFOR:TSECS:2>>w"), "w");
  EXPECT_EQ(r.kb.time_of('W'), static_cast<std::int64_t>(t + 2000));
  // Neither SECS: nor MINS: after the title: the rest is typed.
  EXPECT_EQ(r.play("<<LOOKFOR:Untitled - Notepad~~later>>"), "later>>");
  EXPECT_EQ(r.play("<<LOOKFOR:Untitled - Notepad~~SECS:0>>v"), "v");
  // The wait finds the window although a poll runs in each message pass.
  int polls = 0;
  r.loop.post([&] {
    ++polls;
    FindTitledWindow(r.windows, "Something else");
  });
  t = r.loop.now_ms();
  r.play("<<LOOKFOR:Untitled - Notepad~~SECS:3>>u");
  EXPECT_EQ(polls, 1);
  EXPECT_EQ(r.kb.time_of('U'), static_cast<std::int64_t>(t));
}

TEST(ScriptPlayer, FocusAndExecute) {
  TypingRig r;
  const WindowHandle np = r.windows.add("Untitled - Notepad");
  r.windows.add("Other");
  EXPECT_EQ(r.play("<<FOCUS:Untitled - Notepad>>x"), "x");
  EXPECT_EQ(r.windows.foreground_calls, (std::vector<WindowHandle>{np}));
  EXPECT_EQ(r.play("<<FOCUS:Missing>>y"), "y");
  EXPECT_EQ(r.windows.foreground_calls.size(), 1u);
  EXPECT_EQ(r.play("<<EXECUTE:C:\\Tools\\app.exe>>z<<execute:http://example.com/>>"), "z");
  EXPECT_EQ(r.shell.opened, (std::vector<std::string>{"C:\\Tools\\app.exe", "http://example.com/"}));
  EXPECT_EQ(r.shell.opened.size(), 2u);
}

TEST(ScriptPlayer, ArgumentTokensEndAtTheirOwnMarks) {
  TypingRig r;
  const WindowHandle target = r.windows.add("Target");
  // Title and target end at the first ">", the token at the first ">>".
  EXPECT_EQ(r.play("<<FOCUS:Target>ignored>>x"), "x");
  EXPECT_EQ(r.windows.foreground_calls, (std::vector<WindowHandle>{target}));
  EXPECT_EQ(r.play("<<EXECUTE:app.exe>ignored>>y"), "y");
  EXPECT_EQ(r.shell.opened, (std::vector<std::string>{"app.exe"}));
  // A count's single ">" takes the character after it along.
  EXPECT_EQ(r.play("<<SECS0>x>z"), ">z");
  EXPECT_EQ(r.play("<<REP2>ab<<ENDREP>>c"), "bbc");
  // A prompt runs to the first ">>", so it may hold a ">".
  r.prompt.answers = {"v"};
  EXPECT_EQ(r.play("<<INPUT:a>b>>c<<WRITEVALUE>>"), "cv");
  EXPECT_EQ(r.prompt.prompts.back(), "a>b");
  // Unclosed prompt and run tokens: empty argument, one character goes.
  r.prompt.answers = {"w"};
  EXPECT_EQ(r.play("<<INPUT:abc"), "bc");
  EXPECT_EQ(r.prompt.prompts.back(), "");
  EXPECT_EQ(r.play("<<RUN:Nope"), "ope");
  EXPECT_EQ(r.play_error("x<<REP"), "'' is not a valid integer value");
}

TEST(ScriptPlayer, WaitForAWindowInSecondsThenMinutesAndOddSeparators) {
  TypingRig r;
  // A token may carry both units: the seconds are waited, then the minutes.
  std::uint64_t t = r.loop.now_ms();
  EXPECT_EQ(r.play("<<LOOKFOR:Nobody~~SECS:1>>MINS:1>>x"), "x");
  EXPECT_EQ(r.kb.time_of('X'), static_cast<std::int64_t>(t + 61000));
  // A three-character separator that is missing: one character goes in its place.
  r.profile.write_string("Main", "WaitForSeparator", "%%%");
  t = r.loop.now_ms();
  EXPECT_EQ(r.play("<<LOOKFOR:T%%SECS:2>>w"), "%%SECS:2>>w");
  EXPECT_EQ(r.kb.time_of('W'), static_cast<std::int64_t>(t));
  // A modifier left pending at the end of a repeat body holds for the next key, pass or not.
  EXPECT_EQ(r.play("<<REP2>>a<<CTRL>><<ENDREP>>b"), "a<^a><^b>");
}

TEST(ScriptPlayer, LongScriptIsPlayedToItsEnd) {
  TypingRig r;
  const std::string script = "x<<CTRL>><<F1>>" + std::string(15000, 'a');
  const std::string typed = r.play(script);
  EXPECT_EQ(typed, "x<^F1>" + std::string(15000, 'a'));
}

TEST(ScriptPlayer, NoModifierStaysDownWhenAMacroEnds) {
  TypingRig r;
  // Shift goes down, then the system refuses its release; the end of the script releases it.
  r.kb.accepts = {1, 0};
  EXPECT_EQ(r.play_error("<<SHIFT>>a<<SECSbad>>"), "'bad' is not a valid integer value");
  EXPECT_TRUE(r.kb.keys_left_down().empty());
  r.kb.accepts = {2, 0};
  r.play("<<CTRL+ALT>>x");
  EXPECT_TRUE(r.kb.keys_left_down().empty());
}
