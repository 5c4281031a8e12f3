// Printing the macro list: the text that is printed, and the layout of a text stream on the
// printer's pages (tabs, cut runs, line height, page breaks) over a small drawing interface,
// so that the Win32 printer device context and the tests' fake page draw the same way.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "forms/macro_list.h"

namespace kv {

inline constexpr const char* kPrintHeader1 = "HOTKEY      \t\tMACRO NAME";
inline constexpr const char* kPrintHeader2 = "_________________________________";

// The two header lines, then one line per row with a hotkey text (rows without one are
// skipped): the text, three tabs when it is at most 8 characters long, else two, then the
// caption. Lines end with CR LF.
std::string macro_list_print_text(const std::vector<MacroRow>& rows);

struct TextSize {
  int cx = 0;
  int cy = 0;
};

// A page in device units with the stream's font selected.
class TextCanvas {
 public:
  virtual ~TextCanvas() = default;
  virtual int page_width() = 0;
  virtual int page_height() = 0;
  virtual int average_char_width() = 0;
  // Height of a character of the font: the line height of a line where nothing was drawn.
  virtual int char_height() = 0;
  virtual TextSize text_extent(std::string_view text) = 0;
  virtual void draw_text(int x, int y, std::string_view text) = 0;
  // Ends the current page and starts the next one.
  virtual void new_page() = 0;
};

// Lays out text written to the printer: output starts at the top-left corner; runs of text
// are drawn at the current position and cut where the page ends; a tab advances to the next
// stop 8 average characters apart; CR only ends a run; LF starts a new line (and a new page
// when the next line would not fit twice); FF starts a new page.
class PrinterTextStream {
 public:
  explicit PrinterTextStream(TextCanvas& canvas) : canvas_(canvas) {}
  void write(std::string_view text);
  // Draws what is still pending; the caller ends the document.
  void flush() { flush_run(); }

  int x() const { return x_; }
  int y() const { return y_; }

 private:
  void flush_run();
  void new_line();
  void new_page();
  void tab();

  TextCanvas& canvas_;
  std::string run_;
  int x_ = 0;
  int y_ = 0;
  int line_height_ = 0;
};

}  // namespace kv
