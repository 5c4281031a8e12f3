#include "engine/find_titled_window.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_system.h"

using namespace kv;

TEST(FindTitledWindow, ComparisonFormTrimsAndUpperCasesAsciiOnly) {
  fake::FakeWindows w;
  const WindowHandle notepad = w.add("Notepad");
  w.add("Notepad - notes.txt");
  const WindowHandle resume = w.add("R\xE9sum\xE9");
  EXPECT_EQ(FindTitledWindow(w, "  notepad \t"), notepad);
  EXPECT_EQ(FindTitledWindow(w, "R\xE9SUM\xE9"), resume);
  EXPECT_EQ(FindTitledWindow(w, "R\xC9SUM\xC9"), 0u);
  EXPECT_EQ(FindTitledWindow(w, "Notepad - notes"), 0u);
}

TEST(FindTitledWindow, FirstInEnumerationOrderVisibleOrNot) {
  fake::FakeWindows w;
  const WindowHandle lower = w.add("Report");
  const WindowHandle upper = w.add("\r\nReport  ", false);  // added later: enumerated first
  EXPECT_EQ(FindTitledWindow(w, "report"), upper);
  w.remove(upper);
  EXPECT_EQ(FindTitledWindow(w, "report"), lower);
}

TEST(FindTitledWindow, TitlesAreCutAt249Characters) {
  fake::FakeWindows w;
  const std::string t249(249, 'a'), t250(250, 'b');
  const WindowHandle a = w.add(t249);
  w.add(t250);
  EXPECT_EQ(FindTitledWindow(w, t249), a);
  EXPECT_EQ(FindTitledWindow(w, t250), 0u);  // a longer wanted title never matches
  EXPECT_NE(FindTitledWindow(w, std::string(249, 'b')), 0u);
}
