// The script editor's commands: what every menu item inserts and which hint it shows, the
// one-line questions' tokens, and the token dialogs' tokens, checks, limits and carry-over.
#include "forms/script_tokens.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "forms/hints.h"
#include "tests/fakes/fake_profile_store.h"

using namespace kv;

namespace {

struct Row {
  std::string caption, text;
  bool hint;
};

std::vector<Row> rows(TokenMenu menu) {
  std::vector<Row> out;
  for (const TokenItem& i : token_menu_items(menu)) {
    EXPECT_TRUE(i.action != TokenAction::Insert || !i.text.empty()) << i.caption;
    out.push_back({i.caption, i.text, !i.hint.empty()});
  }
  return out;
}

void expect_rows(TokenMenu menu, const std::vector<Row>& want) {
  const std::vector<Row> got = rows(menu);
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].caption, want[i].caption);
    EXPECT_EQ(got[i].text, want[i].text) << want[i].caption;
    EXPECT_EQ(got[i].hint, want[i].hint) << want[i].caption;
  }
}

const TokenItem& item(TokenMenu menu, const std::string& caption) {
  for (const TokenItem& i : token_menu_items(menu))
    if (i.caption == caption) return i;
  throw std::runtime_error("no item " + caption);
}

}  // namespace

TEST(ScriptTokens, KeyMenusInsertTheirTokensAndOnlyModifiersHint) {
  EXPECT_EQ(token_menu_caption(TokenMenu::SpecialKeys), "Special &Keys");
  std::vector<Row> special = {{"Ctrl", "<<CTRL>>", true},
                              {"Alt", "<<ALT>>", true},
                              {"Shift", "<<SHIFT>>", true},
                              {"Ctrl+Alt", "<<CTRL+ALT>>", true},
                              {"Ctrl+Shift", "<<CTRL+SHIFT>>", true},
                              {"Shift+Alt", "<<SHIFT+ALT>>", true},
                              {"Enter", "<<ENTER>>", false}};
  for (int f = 1; f <= 12; ++f) special.push_back({"F" + std::to_string(f), "<<F" + std::to_string(f) + ">>", false});
  for (auto [c, t] : {std::pair{"Esc", "<<ESC>>"},
                      {"Tab", "<<TAB>>"},
                      {"Backspace", "<<BACKSPACE>>"},
                      {"Insert", "<<INSERT>>"},
                      {"Delete", "<<DELETE>>"}})
    special.push_back({c, t, false});
  expect_rows(TokenMenu::SpecialKeys, special);
  EXPECT_EQ(item(TokenMenu::SpecialKeys, "Shift+Alt").hint, modifier_hint());
  EXPECT_EQ(modifier_hint(),
            "You have selected a key modifyer.  To mate this key with another, simply type the key or select it from "
            "the list of special keys directly *after* the modifyer ( eg. <<ALT>>f ).  For more information review "
            "the pre-installed examples.");

  EXPECT_EQ(token_menu_caption(TokenMenu::MoreKeys), "&More Keys");
  expect_rows(TokenMenu::MoreKeys, {{"Home", "<<HOME>>", false},
                                    {"End", "<<END>>", false},
                                    {"Page Up", "<<PAGEUP>>", false},
                                    {"Page Down", "<<PAGEDOWN>>", false},
                                    {"Print Screen", "<<PRINTSCREEN>>", false},
                                    {"Up Arrow", "<<UP>>", false},
                                    {"Down Arrow", "<<DOWN>>", false},
                                    {"Left Arrow", "<<LEFT>>", false},
                                    {"Right Arrow", "<<RIGHT>>", false}});
}

TEST(ScriptTokens, DateRepeatAndMiscItemsHintThenActOrInsert) {
  EXPECT_EQ(token_menu_caption(TokenMenu::DateTime), "&Date / Time");
  expect_rows(TokenMenu::DateTime, {{"Current Date in Short Format", "<<SHORTDATE>>", true},
                                    {"Current Date in Long Format", "<<LONGDATE>>", true},
                                    {"Current Time in Short Format", "<<SHORTTIME>>", true},
                                    {"Current Time in Long Format", "<<LONGTIME>>", true}});
  EXPECT_EQ(item(TokenMenu::DateTime, "Current Time in Short Format").hint,
            "A short time is written in with no AM/PM description, eg. 15:30.");

  EXPECT_EQ(token_menu_caption(TokenMenu::Repeat), "&Repeat");
  expect_rows(TokenMenu::Repeat, {{"Start Repeat Sequence", "", true}, {"End Repeat Sequence", "<<ENDREP>>", true}});
  EXPECT_EQ(item(TokenMenu::Repeat, "Start Repeat Sequence").action, TokenAction::RepeatDialog);
  EXPECT_EQ(dialog_kind(TokenAction::WaitDialog), TokenDialogKind::Wait);
  EXPECT_EQ(dialog_kind(TokenAction::RepeatDialog), TokenDialogKind::Repeat);
  EXPECT_EQ(dialog_kind(TokenAction::InputBoxDialog), TokenDialogKind::InputBox);
  EXPECT_EQ(dialog_kind(TokenAction::WaitForWindowDialog), TokenDialogKind::WaitForWindow);

  EXPECT_EQ(token_menu_caption(TokenMenu::Misc), "&Misc.");
  expect_rows(TokenMenu::Misc, {{"Display an input box and get a value", "", true},
                                {"Write stored value", "<<WRITEVALUE>>", true},
                                {"Run another macro", "", true},
                                {"Wait for a window to be present", "", true},
                                {"Bring a window into the foreground", "", true},
                                {"Start an Application or Document", "", true}});
  const std::vector<TokenAction> actions = {TokenAction::InputBoxDialog, TokenAction::Insert,
                                            TokenAction::AskMacroName,   TokenAction::WaitForWindowDialog,
                                            TokenAction::AskWindowTitle, TokenAction::ChooseFile};
  for (std::size_t i = 0; i < actions.size(); ++i) EXPECT_EQ(token_menu_items(TokenMenu::Misc)[i].action, actions[i]);
  EXPECT_EQ(item(TokenMenu::Misc, "Write stored value").hint,
            "This option will type the value that was previously obtained by the \"Get a Value\" option.");
  EXPECT_EQ(item(TokenMenu::Misc, "Start an Application or Document").hint, kDocumentLaunchHint);
  EXPECT_EQ(item(TokenMenu::Misc, "Start an Application or Document").hint,
            "Note that you may use this option to not only start regular programs, but also launch any windows "
            "documents with valid associations.  For example, \"example.txt\" would launch Notepad with that "
            "document loaded, \"http://www.ostrel.example\" will bring up your default browser and load the Ostrel "
            "Web Site, and \"mailto:support@ostrel.example\" would load your default E-Mail program with the "
            "\"support@ostrel.example\" typed into the \"To\" address");
}

TEST(ScriptTokens, AnswersGoInAsTypedAndEmptyAnswersInsertNothing) {
  EXPECT_EQ(run_macro_question().caption, "Run another macro");
  EXPECT_EQ(run_macro_question().prompt, "Type the exact name of the existing macro to run");
  EXPECT_EQ(focus_window_question().caption, "Bring a window into focus");
  EXPECT_EQ(focus_window_question().prompt, "Title of the window to bring to the foreground.");
  EXPECT_EQ(answer_token(TokenAction::AskMacroName, " No Such Macro "), "<<RUN: No Such Macro >>");
  EXPECT_EQ(answer_token(TokenAction::AskWindowTitle, "Untitled - Notepad"), "<<FOCUS:Untitled - Notepad>>");
  EXPECT_EQ(answer_token(TokenAction::ChooseFile, "C:\\Tools\\a b.exe"), "<<EXECUTE:C:\\Tools\\a b.exe>>");
  EXPECT_EQ(answer_token(TokenAction::AskMacroName, ""), std::nullopt);
  EXPECT_EQ(answer_token(TokenAction::ChooseFile, ""), std::nullopt);
}

TEST(TokenDialogs, WaitRepeatAndInputBoxBuildTheirTokensWithoutChecks) {
  fake::FakeProfileStore profile;
  MacroStore store(profile);
  TokenDialogModel wait(TokenDialogKind::Wait);
  EXPECT_EQ(wait.fields(), TokenDialogFields{});
  EXPECT_EQ(wait.ok({"", "15", false}, store).token, "<<SECS15>>");
  EXPECT_EQ(wait.ok({"", " 2 ", true}, store).token, "<<MINS2>>");
  EXPECT_EQ(wait.ok({"", "", false}, store).token, "<<SECS>>");
  EXPECT_EQ(wait.ok({"", "   ", true}, store).token, "<<MINS>>");

  TokenDialogModel rep(TokenDialogKind::Repeat);
  EXPECT_EQ(rep.ok({"", " 12", false}, store).token, "<<REP12>>");
  EXPECT_EQ(rep.ok({"", "", false}, store).token, "<<REP>>");

  TokenDialogModel input(TokenDialogKind::InputBox);
  EXPECT_EQ(input.ok({"  Customer name ", "", false}, store).token, "<<INPUT:Customer name>>");
  EXPECT_EQ(input.ok({"", "", false}, store).token, "<<INPUT:>>");
  EXPECT_EQ(input.ok({std::string(60, 'x'), "", false}, store).token, "<<INPUT:" + std::string(50, 'x') + ">>");
  EXPECT_EQ(profile.writes(), 0);
}

TEST(TokenDialogs, TimeFieldsHoldThreeDigitsOrBlanks) {
  EXPECT_EQ(time_field_text("1234"), "123");
  EXPECT_EQ(time_field_text("1a2"), "12");
  EXPECT_EQ(time_field_text(" 5 "), " 5 ");
  TokenDialogModel wait(TokenDialogKind::Wait);
  fake::FakeProfileStore profile;
  MacroStore store(profile);
  EXPECT_EQ(wait.ok({"", "x9-9z9", false}, store).token, "<<SECS999>>");
}

TEST(TokenDialogs, WaitForAWindowChecksTitleThenTimeAndReadsTheSeparatorAfresh) {
  fake::FakeProfileStore profile;
  MacroStore store(profile);
  TokenDialogModel look(TokenDialogKind::WaitForWindow);
  EXPECT_EQ(look.fields(), (TokenDialogFields{"", "5", false}));
  EXPECT_EQ(look.ok({"Untitled - Notepad", "5", false}, store).token, "<<LOOKFOR:Untitled - Notepad~~SECS:5>>");
  EXPECT_EQ(look.ok({" Report ", " 10", true}, store).token, "<<LOOKFOR:Report~~MINS:10>>");

  // The title first, even with the time blank too.
  TokenDialogOutcome o = look.ok({"", "   ", false}, store);
  EXPECT_FALSE(o.token);
  EXPECT_EQ(o.message, "Please specify the title of the window that you would like to look for.");
  EXPECT_EQ(o.focus, TokenField::Title);
  o = look.ok({"Report", "   ", false}, store);
  EXPECT_FALSE(o.token);
  EXPECT_EQ(o.message, "Please specify a length of time to wait before timing out.");
  EXPECT_EQ(o.focus, TokenField::Time);
  // Blanks only count as a title.
  EXPECT_EQ(look.ok({"  ", "5", false}, store).token, "<<LOOKFOR:~~SECS:5>>");

  profile.write_string("Main", "WaitForSeparator", "|");
  EXPECT_EQ(look.ok({"Title", "5", false}, store).token, "<<LOOKFOR:Title|SECS:5>>");
  profile.write_string("Main", "WaitForSeparator", "##");
  EXPECT_EQ(look.ok({"Title", "5", false}, store).token, "<<LOOKFOR:Title##SECS:5>>");
}

TEST(TokenDialogs, WhatWasTypedIsShownAtTheNextOpeningWhateverClosedTheDialog) {
  fake::FakeProfileStore profile;
  MacroStore store(profile);
  TokenDialogModel rep(TokenDialogKind::Repeat);
  rep.ok({"", "7", false}, store);
  EXPECT_EQ(rep.fields().time, "7");
  rep.cancel({"", "42", false});
  EXPECT_EQ(rep.fields().time, "42");

  TokenDialogModel look(TokenDialogKind::WaitForWindow);
  look.ok({"", "30", true}, store);  // refused, but kept
  EXPECT_EQ(look.fields(), (TokenDialogFields{"", "30", true}));
  look.cancel({"Calc", "1234", false});
  EXPECT_EQ(look.fields(), (TokenDialogFields{"Calc", "123", false}));

  TokenDialogModel input(TokenDialogKind::InputBox);
  input.cancel({std::string(55, 'y'), "", false});
  EXPECT_EQ(input.fields().title, std::string(50, 'y'));
}
