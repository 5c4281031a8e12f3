// How the player hands its typing to the system: plain text in whole runs, every key press
// contiguous, the events in the order a character-by-character walk would give.
#include <gtest/gtest.h>

#include "engine/script_language.h"
#include "engine/script_player.h"
#include "platform/scope_exit.h"
#include "tests/fakes/typing_rig.h"

using namespace kv;
using namespace kv::fake;

namespace {

// The events of the script typed one character per Send (the walk before batching), with
// the player's own token handling.
std::vector<KeyInput> walked_one_by_one(const std::string& script) {
  TypingRig r;
  std::string_view rest = script;
  while (!rest.empty()) {
    if (rest.size() >= 2 && rest[0] == '<' && rest[1] == '<') {
      rest = r.player.ExecuteToken(rest);
      continue;
    }
    const char c = rest[0];
    rest.remove_prefix(1);
    const bool literal = c == '@' || c == '^' || c == '~';
    r.sender.SetTokensOnly(literal);
    const ScopeExit off([&] { r.sender.SetTokensOnly(false); });
    r.sender.Send(std::string_view(&c, 1));
  }
  return r.kb.events;
}

}  // namespace

TEST(TypingBatches, EveryScriptGivesTheEventsOfTheOneByOneWalkInItsOrder) {
  const std::string scripts[] = {
      "Hello @^~{} World!<<ENTER>>Line2<<TAB>>end<<END>><<SHIFT+ALT>>q<<CTRL>>a",
      "a@b^c~d{e}f<<HELLO>><<ENDREP>><<<<x y<<CTRL>><<PRINTSCREEN>>|",
      "x<<CTRL>><<F1>>" + std::string(600, 'a') + "Z",
      // Modifiers left pending by a modifier token apply to the first key of the next run.
      "<<CTRL>>@xyz<<SHIFT>>~QR<<CTRL+ALT>>^<<ALT>>",
      "Mixed CASE, digits 0123456789 and !\"#$%&'()*+,-./:;=?[\\]_`|",
      "caf\xe9 \x80\xa3 \t tab",
      "<<shift>><<tab>><<CTRL+ALT>><<END>>x<<CTRL>><<SHIFT>>a<<CTRL>><<SECS5>>",
  };
  for (const std::string& script : scripts) {
    TypingRig r;
    r.play(script);
    EXPECT_EQ(r.kb.events, walked_one_by_one(script)) << script;
    EXPECT_TRUE(r.kb.keys_left_down().empty()) << script;
  }
}

TEST(TypingBatches, PlainTextGoesInRunsOfAtMost255CharactersWithMessagesBetween) {
  TypingRig r;
  const int before = r.loop.process_calls;
  EXPECT_EQ(r.play("Hello, World!"), "Hello, World!");
  EXPECT_EQ(r.kb.batches.size(), 1u);
  EXPECT_EQ(r.loop.process_calls - before, 1);
  // A token ends the run: text, Tab, text.
  EXPECT_EQ(r.play("ab<<TAB>>cd"), "ab<Tab>cd");
  EXPECT_EQ(r.kb.batches.size(), 3u);
  // 300 characters: 255, then 45.
  const std::string long_text(300, 'k');
  EXPECT_EQ(r.play(long_text), long_text);
  ASSERT_EQ(r.kb.batches.size(), 2u);
  EXPECT_EQ(typed_text(r.kb.batches[0]), std::string(255, 'k'));
  EXPECT_EQ(typed_text(r.kb.batches[1]), std::string(45, 'k'));
}

TEST(TypingBatches, AHotkeyWaitsAtMostOneBatch) {
  TypingRig r;
  r.macro("Nested", "n");
  std::size_t typed_before_nested = 0;
  r.loop.post([&] {
    typed_before_nested = typed_text(r.kb.events).size();
    r.runner.ProcessHotKey(1);
  });
  const std::string text = std::string(255, 'a') + std::string(10, 'b');
  EXPECT_EQ(r.play(text), std::string(255, 'a') + "n" + std::string(10, 'b'));
  EXPECT_EQ(typed_before_nested, 255u);
}

TEST(TypingBatches, ABatchTheSystemRefusesEndsTheRunWithAMessage) {
  TypingRig r;
  const std::string refused = kKeysRefused;
  EXPECT_EQ(refused, "The system refused the keys Keyvane typed, so the macro was stopped");
  // Refused whole: nothing after it is typed.
  r.kb.accepts = {0};
  EXPECT_EQ(r.play_error("abc<<TAB>>d"), refused);
  EXPECT_EQ(r.typed(), "");
  // Refused in part: the key the system pressed is let go, and the run ends there.
  r.kb.accepts = {3};
  EXPECT_EQ(r.play_error("ab<<TAB>>c"), refused);
  EXPECT_EQ(r.kb.trace(), "+A -A +B -B");
  // Modifiers the batch pressed are released, last down first up.
  r.kb.accepts = {2};
  EXPECT_EQ(r.play_error("<<CTRL+ALT>>xyz"), refused);
  EXPECT_EQ(r.kb.trace(), "+Alt +Ctrl -Ctrl -Alt");
  // A key token's batch too.
  r.kb.accepts = {1};
  EXPECT_EQ(r.play_error("<<SHIFT>><<TAB>>more"), refused);
  EXPECT_EQ(r.kb.trace(), "+Shift -Shift");
  EXPECT_TRUE(r.kb.keys_left_down().empty());
}
