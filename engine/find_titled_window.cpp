#include "engine/find_titled_window.h"

#include "platform/text.h"

namespace kv {

std::string title_comparison_form(std::string_view title) {
  return ascii_upper(trim_controls(title));
}

WindowHandle FindTitledWindow(WindowSystem& windows, std::string_view wanted) {
  const std::string w = title_comparison_form(wanted);
  for (WindowHandle h : windows.top_level_windows())
    if (title_comparison_form(windows.window_title(h, kTitleReadLimit)) == w) return h;
  return 0;
}

}  // namespace kv
