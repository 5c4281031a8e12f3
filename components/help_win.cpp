#include "components/help_win.h"

#include <shellapi.h>

namespace kv::win {

namespace {

std::string file_url(const std::string& path, const std::string& anchor) {
  std::string url = "file:///";
  for (char c : path) {
    switch (c) {
      case '\\':
        url += '/';
        break;
      case ' ':
        url += "%20";
        break;
      case '%':
        url += "%25";
        break;
      case '#':
        url += "%23";
        break;
      default:
        url += c;
    }
  }
  if (!anchor.empty()) url += "#" + anchor;
  return url;
}

}  // namespace

void Help::open_topic(const std::string& topic) {
  const std::string page = d_.program_dir + "Keyvane.html";
  // Handed to the shell as a document, the page would open at its top: the shell resolves a
  // file URL to the file and drops the anchor. The program registered for the page gets the
  // URL itself, anchor and all.
  char program[MAX_PATH] = {};
  const auto found = reinterpret_cast<INT_PTR>(FindExecutableA(page.c_str(), nullptr, program));
  if (found > 32 && program[0]) {
    const std::string url = "\"" + file_url(page, topic) + "\"";
    const auto started = reinterpret_cast<INT_PTR>(
        ShellExecuteA(d_.owner ? d_.owner() : nullptr, "open", program, url.c_str(), nullptr, SW_SHOWNORMAL));
    if (started > 32) return;
  }
  d_.shell.open(page);
}

void Help::open_faq() {
  d_.shell.open(d_.program_dir + "Keyvanefaq.html");
}

}  // namespace kv::win
