#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/script_language.h"
#include "tests/fakes/typing_rig.h"

using namespace kv;
using namespace kv::fake;

TEST(ScriptLanguage, PlainTextTypesEveryCharacterAsItself) {
  TypingRig r;
  EXPECT_EQ(r.play("a@b^c~d{e}f"), "a@b^c~d{e}f");
  EXPECT_FALSE(r.sender.TokensOnly());
  EXPECT_EQ(r.play("Hello<<ENTER>>World"), "Hello<Enter>World");
  EXPECT_EQ(r.play("x<y"), "x<y");
  EXPECT_EQ(r.play("tab\tsep"), "tab<Tab>sep");
  // One run of plain text, one batch, one message pass.
  const int before = r.loop.process_calls;
  r.play("abcd");
  EXPECT_EQ(r.loop.process_calls - before, 1);
}

TEST(ScriptLanguage, TrimmingAndLineBreaks) {
  TypingRig r;
  EXPECT_EQ(r.play(" \t\r\nHello\r\n"), "Hello");
  EXPECT_EQ(r.play("\r\n \x01"), "");
}

TEST(ScriptLanguage, EachLineBreakIsOneEnter) {
  TypingRig r;
  // The layout gives Ctrl+Enter for a line feed: typed as such it would send a mail or break a
  // page. CR LF, a lone CR and a lone LF are each one Enter.
  EXPECT_EQ(r.play("a\r\nb"), "a<Enter>b");
  EXPECT_EQ(r.kb.trace(), "+A -A +Enter -Enter +B -B");
  EXPECT_EQ(r.play("a\rb\nc\n\nd\r\n\r\ne"), "a<Enter>b<Enter>c<Enter><Enter>d<Enter><Enter>e");
  // A run cut at its 255th character does not split a CR LF into two Enters.
  const std::string head(254, 'x');
  EXPECT_EQ(r.play(head + "\r\ny"), head + "<Enter>y");
  // A script file's lines.
  const int n = r.macro("Lines", "one\ntwo\r\nthree\n");
  r.kb.clear_all();
  r.runner.ProcessHotKey(n);
  EXPECT_EQ(r.typed(), "one<Enter>two<Enter>three");
  // The key tokens are unchanged.
  EXPECT_EQ(r.play("<<ENTER>><<CTRL>><<ENTER>>"), "<Enter><^Enter>");
}

TEST(ScriptLanguage, TokenNamesIgnoreCase) {
  TypingRig r;
  EXPECT_EQ(r.play("<<enter>><<Tab>><<bAcKsPaCe>><<pageup>><<PageDown>><<esc>>"),
            "<Enter><Tab><BkSp><PgUp><PgDn><Esc>");
  EXPECT_EQ(r.play("<<F1>><<f10>><<F12>><<insert>><<DELETE>><<home>><<end>>"), "<F1><F10><F12><Ins><Del><Home><End>");
  EXPECT_EQ(r.play("<<UP>><<down>><<Left>><<RIGHT>><<PRINTSCREEN>>"), "<Up><Down><Left><Right><PrtSc>");
}

TEST(ScriptLanguage, ModifierTokensWithACharacter) {
  TypingRig r;
  EXPECT_EQ(r.play("<<CTRL>>c"), "<^c>");
  EXPECT_EQ(r.kb.trace(), "+Ctrl +C -C -Ctrl");
  EXPECT_EQ(r.play("<<ALT>>f"), "<@f>");
  EXPECT_EQ(r.play("<<SHIFT>>a"), "A");
  EXPECT_EQ(r.kb.trace(), "+Shift +Shift +A -A -Shift -Shift");
  EXPECT_EQ(r.play("<<CTRL+ALT>>x"), "<^@x>");
  EXPECT_EQ(r.play("<<ctrl+shift>>s"), "<^S>");
  EXPECT_EQ(r.play("<<SHIFT+ALT>>q"), "<@Q>");
  // Only the one character after the token is modified.
  EXPECT_EQ(r.play("<<CTRL>>ab"), "<^a>b");
}

TEST(ScriptLanguage, ModifierTokensFollowedByTokens) {
  TypingRig r;
  EXPECT_EQ(r.play("<<shift>><<tab>>"), "<~Tab>");
  EXPECT_EQ(r.play("<<CTRL+ALT>><<END>>"), "<^@End>");
  EXPECT_EQ(r.play("<<CTRL>><<F1>>"), "<^F1>");
  EXPECT_EQ(r.play("<<ALT>><<ENTER>>"), "<@Enter>");
  EXPECT_EQ(r.play("<<CTRL+SHIFT>><<PAGEUP>>"), "<^~PgUp>");
  EXPECT_EQ(r.play("<<SHIFT+ALT>><<BACKSPACE>>"), "<@~BkSp>");
  EXPECT_EQ(r.play("<<CTRL+ALT>><<delete>>"), "<^@Del>");
  // Tokens that take no modifier: the modifier and "<<" are dropped, the rest is typed.
  EXPECT_EQ(r.play("<<CTRL>><<PRINTSCREEN>>"), "PRINTSCREEN>>");
  EXPECT_EQ(r.play("<<CTRL>><<SHIFT>>a"), "SHIFT>>a");
  EXPECT_EQ(r.play("<<CTRL>><<SECS5>>x"), "SECS5>>x");
  EXPECT_EQ(r.loop.now_ms(), 0u) << "a modifier followed by a delay token must not wait";
  EXPECT_EQ(r.play("<<CTRL>><<nothing"), "nothing");
}

TEST(ScriptLanguage, ModifierCharactersAfterAModifierToken) {
  TypingRig r;
  EXPECT_EQ(r.play_error("<<CTRL>>{"), "No Closing brackets");
  EXPECT_EQ(r.play_error("<<CTRL>>}"), "Invalid token");
  // "^", "@" and "~" add pending modifiers for the next key.
  EXPECT_EQ(r.play("<<CTRL>>@x"), "<^@x>");
  // At the end of a script the prefix is dropped: the next macro's first key is its own.
  EXPECT_EQ(r.play("ab<<ALT>>"), "ab");
  EXPECT_EQ(r.play("f"), "f");
}

TEST(ScriptLanguage, UnrecognisedTokensLoseOnlyTheirOpening) {
  TypingRig r;
  EXPECT_EQ(r.play("<<HELLO>>"), "HELLO>>");
  EXPECT_EQ(r.play("<<ENDREP>>"), "ENDREP>>");
  EXPECT_EQ(r.play("<<<<"), "");
  EXPECT_EQ(r.play("<<"), "");
  EXPECT_EQ(r.play("<<ENTER >>"), "ENTER >>");
  EXPECT_EQ(r.play("<<F13>>"), "F13>>");
}

TEST(ScriptLanguage, DateAndTimeTokensTypeTheLocaleFormats) {
  TypingRig r;
  EXPECT_EQ(r.play("<<ShortDate>>"), "08/12/2026");
  EXPECT_EQ(r.play("<<LONGDATE>>"), "Tuesday, December 8, 2026");
  EXPECT_EQ(r.play("<<shorttime>>|<<LongTime>>"), "6:32 AM|6:32:36 AM");
  // The result is key-sequence text, not escaped.
  r.datetime.short_date = "8^1";
  EXPECT_EQ(r.play("<<SHORTDATE>>"), "8<^1>");  // "^" modifies the next key
  r.datetime.short_date = "{x";
  EXPECT_EQ(r.play_error("<<SHORTDATE>>"), "No Closing brackets");
}

TEST(ScriptLanguage, SendModifiedKeyReturnsTheRest) {
  TypingRig r;
  EXPECT_EQ(SendModifiedKey(r.sender, "<<F1>>rest", 1), "rest");
  EXPECT_EQ(r.kb.trace(), "+Ctrl +F1 -F1 -Ctrl");
  r.kb.clear_all();
  EXPECT_EQ(SendModifiedKey(r.sender, "<<PRINTSCREEN>>", 2), "PRINTSCREEN>>");
  EXPECT_EQ(SendModifiedKey(r.sender, "<<", 2), "");
  EXPECT_TRUE(r.kb.events.empty());
}

TEST(ScriptLanguage, EveryKeyTokenAloneAndAfterAModifier) {
  struct Case {
    const char* token;
    std::uint8_t vk;
  };
  const Case keys[] = {
      {"<<ENTER>>", 0x0D},    {"<<F1>>", 0x70},     {"<<F2>>", 0x71},   {"<<F3>>", 0x72},   {"<<F4>>", 0x73},
      {"<<F5>>", 0x74},       {"<<F6>>", 0x75},     {"<<F7>>", 0x76},   {"<<F8>>", 0x77},   {"<<F9>>", 0x78},
      {"<<F10>>", 0x79},      {"<<F11>>", 0x7A},    {"<<F12>>", 0x7B},  {"<<TAB>>", 0x09},  {"<<BACKSPACE>>", 0x08},
      {"<<INSERT>>", 0x2D},   {"<<DELETE>>", 0x2E}, {"<<HOME>>", 0x24}, {"<<END>>", 0x23},  {"<<PAGEUP>>", 0x21},
      {"<<PAGEDOWN>>", 0x22}, {"<<UP>>", 0x26},     {"<<DOWN>>", 0x28}, {"<<LEFT>>", 0x25}, {"<<RIGHT>>", 0x27},
      {"<<ESC>>", 0x1B},
  };
  TypingRig r;
  for (const Case& k : keys) {
    r.play(k.token);
    ASSERT_EQ(r.kb.events.size(), 2u) << k.token;
    EXPECT_EQ(r.kb.events[0].vk, k.vk) << k.token;
    // With Ctrl+Shift: Ctrl, Shift, then the key, all released.
    r.play(std::string("<<CTRL+SHIFT>>") + k.token + "z");
    ASSERT_GE(r.kb.events.size(), 6u) << k.token;
    EXPECT_EQ(r.kb.events[0].vk, 0x11) << k.token;
    EXPECT_EQ(r.kb.events[1].vk, 0x10) << k.token;
    EXPECT_EQ(r.kb.events[2].vk, 0x10) << k.token;  // pending Shift and its extra Shift
    EXPECT_EQ(r.kb.events[3].vk, k.vk) << k.token;
    EXPECT_TRUE(r.kb.keys_left_down().empty()) << k.token;
    EXPECT_EQ(r.typed().back(), 'z') << k.token;
  }
  // Print Screen is pressed alone, but takes no modifier.
  EXPECT_EQ(r.play("<<PrintScreen>>"), "<PrtSc>");
  EXPECT_EQ(r.play("<<SHIFT+ALT>><<printscreen>>"), "printscreen>>");
}
