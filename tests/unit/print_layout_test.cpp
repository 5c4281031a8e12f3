#include <gtest/gtest.h>

#include <algorithm>

#include "forms/print_layout.h"

using namespace kv;

namespace {

// A page of fixed-width characters: 10 units wide ('.' is 1, '#' is 1000), 12 high; a blank
// line is 13.
struct FakePage : TextCanvas {
  struct Draw {
    int page, x, y;
    std::string text;
    bool operator==(const Draw&) const = default;
  };
  int width = 200;
  int height = 100;
  int page = 1;
  std::vector<Draw> draws;

  int page_width() override { return width; }
  int page_height() override { return height; }
  int average_char_width() override { return 10; }
  int char_height() override { return 13; }
  TextSize text_extent(std::string_view t) override {
    int cx = 0;
    for (char c : t) cx += c == '#' ? 1000 : c == '.' ? 1 : 10;
    return {cx, t.empty() ? 0 : 12};
  }
  void draw_text(int x, int y, std::string_view t) override { draws.push_back({page, x, y, std::string(t)}); }
  void new_page() override { ++page; }
};

std::ostream& operator<<(std::ostream& o, const FakePage::Draw& d) {
  return o << "{p" << d.page << " " << d.x << "," << d.y << " '" << d.text << "'}";
}

MacroRow row(std::string keys, std::string name) {
  MacroRow r;
  r.shortcut_keys = std::move(keys);
  r.caption = std::move(name);
  return r;
}

}  // namespace

TEST(PrintText, HeaderThenHotkeyRowsWithTabsByLength) {
  const std::string text = macro_list_print_text(
      {row("Ctrl+A", "Short"), row("", "No hotkey"), row("Ctrl+Alt+F12", "Long"), row("Shift+F1", "Eight")});
  EXPECT_EQ(text,
            "HOTKEY      \t\tMACRO NAME\r\n"
            "_________________________________\r\n"
            "Ctrl+A\t\t\tShort\r\n"
            "Ctrl+Alt+F12\t\tLong\r\n"
            "Shift+F1\t\t\tEight\r\n");
}

TEST(PrintText, NoHotkeysGivesTheHeaderOnly) {
  const std::string header = "HOTKEY      \t\tMACRO NAME\r\n_________________________________\r\n";
  EXPECT_EQ(macro_list_print_text({}), header);
  EXPECT_EQ(macro_list_print_text({row("", "A"), row("", "B")}), header);
}

TEST(PrinterStream, RunsTabsAndCarriageReturns) {
  FakePage page;
  PrinterTextStream out(page);
  out.write("ab\tc\rde\t");  // CR ends a run without moving
  out.write("f");
  out.flush();
  // From x=20 a tab goes to 80; from 110 to 160.
  EXPECT_EQ(page.draws,
            (std::vector<FakePage::Draw>{{1, 0, 0, "ab"}, {1, 80, 0, "c"}, {1, 90, 0, "de"}, {1, 160, 0, "f"}}));
  EXPECT_EQ(out.x(), 170);
}

TEST(PrinterStream, TabStopsFollowTheStreamsFormula) {
  struct Case {
    int from, to;
  } cases[] = {{0, 80}, {10, 80}, {78, 80}, {79, 160}, {80, 160}, {150, 160}, {1005, 1040}};
  for (const auto& c : cases) {
    FakePage page;
    page.width = 2000;
    PrinterTextStream out(page);
    out.write(std::string(static_cast<std::size_t>(c.from / 10), 'x') + std::string(c.from % 10, '.'));
    out.write("\t");
    EXPECT_EQ(out.x(), c.to) << "tab from " << c.from;
  }
}

TEST(PrinterStream, TabBeyondThePageWidthStartsANewLine) {
  FakePage page;
  PrinterTextStream out(page);
  out.write("aaaaaaaaaaaaaaaaa\tb");  // 17 characters: x=170, the tab goes to 240 > 200
  out.flush();
  ASSERT_EQ(page.draws.size(), 2u);
  EXPECT_EQ(page.draws[1], (FakePage::Draw{1, 0, 14, "b"}));
}

TEST(PrinterStream, LongRunIsCutWhereThePageEnds) {
  FakePage page;
  PrinterTextStream out(page);
  out.write("0123456789abcdefghijKLMNO\r\n");
  EXPECT_EQ(page.draws, (std::vector<FakePage::Draw>{{1, 0, 0, "0123456789abcdefghij"}, {1, 0, 14, "KLMNO"}}));
  // A run after a tab is cut against what is left of the line.
  FakePage p2;
  PrinterTextStream o2(p2);
  o2.write("Ctrl+A\t\tabcdefghijklmn");  // tabs: 60 -> 80 -> 160; 4 characters fit
  o2.flush();
  EXPECT_EQ(p2.draws,
            (std::vector<FakePage::Draw>{{1, 0, 0, "Ctrl+A"}, {1, 160, 0, "abcd"}, {1, 0, 14, "efghijklmn"}}));
}

TEST(PrinterStream, CharacterWiderThanThePageIsPrintedOnce) {
  FakePage page;
  PrinterTextStream out(page);
  out.write("ab#c");
  out.flush();
  EXPECT_EQ(page.draws, (std::vector<FakePage::Draw>{{1, 0, 0, "ab"}, {1, 0, 14, "#"}, {1, 0, 28, "c"}}));
}

TEST(PrinterStream, LineHeightsBlankLinesAndPageBreaks) {
  FakePage page;  // height 100: a new page once y > 100 - 2 * line height
  PrinterTextStream out(page);
  out.write("\n");  // nothing drawn: the character height
  EXPECT_EQ(out.y(), 13);
  out.write("a\r\n");
  EXPECT_EQ(out.y(), 27);
  for (int i = 0; i < 3; ++i) out.write("l\r\n");  // 41, 55, 69
  EXPECT_EQ(page.page, 1);
  EXPECT_EQ(out.y(), 69);
  out.write("m\r\n");  // 83 > 72
  EXPECT_EQ(page.page, 2);
  EXPECT_EQ(out.y(), 0);
  out.write("n\r\n");
  EXPECT_EQ(page.draws.back(), (FakePage::Draw{2, 0, 0, "n"}));
  out.write("\f");
  out.write("o");
  out.flush();
  EXPECT_EQ(page.draws.back(), (FakePage::Draw{3, 0, 0, "o"}));
}

TEST(PrinterStream, LongListContinuesWithoutRepeatingTheHeader) {
  std::vector<MacroRow> rows;
  for (int i = 0; i < 40; ++i)
    rows.push_back(row("Ctrl+" + std::string(1, static_cast<char>('A' + i % 26)), "Macro " + std::to_string(i)));
  FakePage page;
  page.width = 2000;
  page.height = 300;
  PrinterTextStream out(page);
  out.write(macro_list_print_text(rows));
  out.flush();
  EXPECT_GE(page.page, 3);
  int headers = 0, macros = 0;
  for (const auto& d : page.draws) {
    if (d.text == "HOTKEY      ") {
      ++headers;
      EXPECT_EQ(d.page, 1);
      EXPECT_EQ(d.y, 0);
    }
    if (d.text.rfind("Macro ", 0) == 0) {
      ++macros;
      EXPECT_EQ(d.x, 240);  // three tabs from a 6-character hotkey: 80, 160, 240
    }
  }
  EXPECT_EQ(headers, 1);
  EXPECT_EQ(macros, 40);
  // Every page after the first starts with a macro line at the top.
  for (int p = 2; p <= page.page; ++p) {
    auto first = std::find_if(page.draws.begin(), page.draws.end(), [&](const auto& d) { return d.page == p; });
    ASSERT_NE(first, page.draws.end());
    EXPECT_EQ(first->y, 0);
    EXPECT_EQ(first->text.rfind("Ctrl+", 0), 0u);
  }
}
