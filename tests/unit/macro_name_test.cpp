#include <gtest/gtest.h>

#include "forms/macro_name.h"

using namespace kv;

namespace {

// The code page's upper-casing as Windows-1252 does it: a to z and the accented letters
// 0xE0 to 0xFE but the division sign.
std::string upper_1252(std::string_view text) {
  std::string s(text);
  for (char& c : s) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) c = static_cast<char>(u - 0x20);
  }
  return s;
}

std::optional<std::string> problem(const std::string& name, const std::vector<std::string>& existing = {}) {
  return macro_name_problem(NameInput{name, true}, existing, upper_1252);
}

}  // namespace

TEST(MacroName, ANameOfAnotherMacroIsTakenWhateverItsCaseOrTrailingBlanks) {
  const std::vector<std::string> rows = {"Notes", "Caf\xE9 ", "Report"};
  EXPECT_EQ(problem("notes", rows), kNameTaken);
  EXPECT_EQ(problem("Notes  ", rows), kNameTaken);
  EXPECT_EQ(problem("REPORT", rows), kNameTaken);
  // Non-ASCII letters compare as the file system compares them: café and CAFÉ are one file.
  EXPECT_EQ(problem("CAF\xC9", rows), kNameTaken);
  EXPECT_EQ(problem("Notes 2", rows), std::nullopt);
  EXPECT_EQ(problem(" Notes", rows), kNameNotAFileName);
}

TEST(MacroName, EmptyOrBlanksOnlyAskForANameAfterTheDuplicateTest) {
  EXPECT_EQ(problem(""), kNameEmpty);
  EXPECT_EQ(problem("   "), kNameEmpty);
  // A stored name of blanks is what an empty field would store: the duplicate test comes first.
  EXPECT_EQ(problem("", {"  "}), kNameTaken);
}

TEST(MacroName, NamesThatCannotNameAFileAreRefusedWithOneMessage) {
  for (const char* bad :
       {"a\\b", "a/b",   "C:",       "what?",   "star*",        "say \"hi\"", "<tag>", "a|b", "tab\there",
        "dot.", "dot. ", " leading", "CON",     "con",          "Prn",        "AUX",   "NUL", "COM1",
        "com9", "LPT1",  "lpt9",     "CON.txt", "nul.anything", "~temp",      "~TEMP"}) {
    EXPECT_EQ(problem(bad), kNameNotAFileName) << bad;
  }
  EXPECT_EQ(problem(std::string("a") + '\x7F' + "b"), std::nullopt) << "DEL is an ordinary character";
  for (const char* good :
       {"CONSOLE", "COM0", "COM10", "LPT", "Daily Report", "~temp2", "a.b", "x-y_z (1)", "Caf\xE9"}) {
    EXPECT_EQ(problem(good), std::nullopt) << good;
  }
  // The message says which characters are not allowed.
  EXPECT_NE(std::string(kNameNotAFileName).find("\\ / : * ? \" < > |"), std::string::npos);
}

TEST(MacroName, CharactersOutsideTheCodePageAreRefusedBeforeAnythingElse) {
  EXPECT_EQ(macro_name_problem(NameInput{"?", false}, {"?"}, upper_1252), kNameOutsideCodePage);
  EXPECT_EQ(macro_name_problem(NameInput{"", false}, {}, upper_1252), kNameOutsideCodePage);
}
