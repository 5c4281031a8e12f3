#include "forms/print_layout.h"

#include <algorithm>

namespace kv {

std::string macro_list_print_text(const std::vector<MacroRow>& rows) {
  std::string out = std::string(kPrintHeader1) + "\r\n" + kPrintHeader2 + "\r\n";
  for (const MacroRow& row : rows) {
    const std::string& s = row.shortcut_keys;
    if (s.empty()) continue;
    out += s;
    out += s.size() <= 8 ? "\t\t\t" : "\t\t";
    out += row.caption;
    out += "\r\n";
  }
  return out;
}

void PrinterTextStream::write(std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '\t':
        flush_run();
        tab();
        break;
      case '\r':
        flush_run();
        break;
      case '\n':
        flush_run();
        new_line();
        break;
      case '\f':
        flush_run();
        new_page();
        break;
      default:
        run_ += c;
        break;
    }
  }
}

void PrinterTextStream::flush_run() {
  std::string_view rest = run_;
  const int page_width = canvas_.page_width();
  while (!rest.empty()) {
    // The longest start of the run that still fits on what is left of the line.
    std::size_t len = rest.size();
    TextSize ext = canvas_.text_extent(rest);
    if (x_ + ext.cx > page_width) {
      std::size_t lo = 0, hi = rest.size();  // lo fits, hi does not
      while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (x_ + canvas_.text_extent(rest.substr(0, mid)).cx <= page_width)
          lo = mid;
        else
          hi = mid;
      }
      len = lo;
      // A character wider than the whole page is printed cut off rather than starting
      // new lines for ever.
      if (len == 0 && x_ == 0) len = 1;
      ext = len ? canvas_.text_extent(rest.substr(0, len)) : TextSize{};
    }
    if (len > 0) {
      line_height_ = std::max(line_height_, ext.cy + 2);
      canvas_.draw_text(x_, y_, rest.substr(0, len));
    }
    rest.remove_prefix(len);
    if (rest.empty())
      x_ += ext.cx;
    else
      new_line();
  }
  run_.clear();
}

void PrinterTextStream::new_line() {
  x_ = 0;
  if (line_height_ == 0) line_height_ = canvas_.char_height();
  y_ += line_height_;
  if (y_ > canvas_.page_height() - 2 * line_height_) new_page();
  line_height_ = 0;
}

void PrinterTextStream::new_page() {
  canvas_.new_page();
  x_ = 0;
  y_ = 0;
  line_height_ = 0;
}

void PrinterTextStream::tab() {
  const int w = std::max(1, 8 * canvas_.average_char_width());
  x_ = x_ + w - ((x_ + w + 1) % w) + 1;
  if (x_ > canvas_.page_width()) new_line();
}

}  // namespace kv
