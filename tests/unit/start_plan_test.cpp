#include "app/start_plan.h"

#include <gtest/gtest.h>

using namespace kv;
using Args = std::vector<std::string>;
using Kind = HandOverAction::Kind;

TEST(StartPlan, OnlyACloseStartLeavesTheTriggersAndTheSessionAlone) {
  const StartPlan resident{false, true, true, true, true};
  const StartPlan close_alone{true, false, false, false, true};
  const StartPlan close_beside{true, false, false, false, false};
  for (bool running : {false, true}) {
    EXPECT_EQ(plan_start({}, running), resident);
    EXPECT_EQ(plan_start({"/Open:Daily Report"}, running), resident);
    EXPECT_EQ(plan_start({"Report", "/Clos"}, running), resident);
  }
  // The shortcut's own arguments, /CLOSE in any case and place, a longer word that starts with it.
  EXPECT_EQ(plan_start({"/Open:Daily Report", "/Close"}, false), close_alone);
  EXPECT_EQ(plan_start({"/close", "twice"}, false), close_alone);
  EXPECT_EQ(plan_start({"/CLOSEALL"}, false), close_alone);
  // Beside the resident instance the hotkeys stay its own.
  EXPECT_EQ(plan_start({"/Open:Daily Report", "/Close"}, true), close_beside);
}

TEST(HandOver, ArgumentsSurviveTheTripAndForeignPayloadsAreRefused) {
  const Args args{"/Open:Daily Report", "bare name", "/OPEN:   padded   ", "R\xC9SUM\xC9"};
  EXPECT_EQ(decode_hand_over(encode_hand_over(args)), args);
  EXPECT_EQ(decode_hand_over(encode_hand_over({})), Args{});
  const std::string good = encode_hand_over({"A"});
  EXPECT_FALSE(decode_hand_over(""));
  EXPECT_FALSE(decode_hand_over("A"));
  // Cut short: the last argument's terminator is missing.
  EXPECT_FALSE(decode_hand_over(std::string_view(good).substr(0, good.size() - 1)));
  // Another header.
  std::string other = good;
  other[0] = 'k';
  EXPECT_FALSE(decode_hand_over(other));
}

TEST(HandOver, TheResidentShowsItsListRunsNamesAndNeverEnds) {
  EXPECT_EQ(receive_hand_over(kHandOverTag, encode_hand_over({})), (HandOverAction{Kind::ShowList, {}}));
  EXPECT_EQ(receive_hand_over(kHandOverTag, encode_hand_over({"/Open:Other", "x"})),
            (HandOverAction{Kind::RunArguments, {"/Open:Other", "x"}}));
  // A /CLOSE that reached it anyway must not end the resident instance.
  EXPECT_EQ(receive_hand_over(kHandOverTag, encode_hand_over({"/Close", "/Open:Other"})),
            (HandOverAction{Kind::RunArguments, {"/Open:Other"}}));
  EXPECT_EQ(receive_hand_over(kHandOverTag, encode_hand_over({"/close"})), (HandOverAction{Kind::ShowList, {}}));
  // Another program's WM_COPYDATA, or a damaged one, does nothing.
  EXPECT_EQ(receive_hand_over(kHandOverTag + 1, encode_hand_over({"/Open:Other"})).kind, Kind::Ignore);
  EXPECT_EQ(receive_hand_over(kHandOverTag, "/Open:Other").kind, Kind::Ignore);
}

TEST(NoMacroMessage, OneLinePerNameAsGiven) {
  EXPECT_EQ(no_macro_message({"Nobody"}), "There is no macro named \"Nobody\".");
  EXPECT_EQ(no_macro_message({"Nobody", "daily  Report"}),
            "There is no macro named \"Nobody\".\nThere is no macro named \"daily  Report\".");
}
