#include "app/help_win.h"

#include <windows.h>

#include "app/app_win.h"

namespace kv::win {

namespace {

// A file URL keeps the anchor, which a plain path handed to the shell would lose.
std::string file_url(const std::string& path, const std::string& anchor) {
  std::string url = "file:///";
  for (char c : path) {
    if (c == '\\')
      url += '/';
    else if (c == ' ')
      url += "%20";
    else
      url += c;
  }
  if (!anchor.empty()) url += "#" + anchor;
  return url;
}

}  // namespace

void open_help_topic(const std::string& topic) {
  app().shell.open(file_url(app().program_dir + "Keyvane.html", topic));
}

void open_faq() { app().shell.open(app().program_dir + "Keyvanefaq.html"); }

}  // namespace kv::win
