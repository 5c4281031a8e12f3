// Help, shipped as HTML in the program folder and opened through the shell: Keyvane.html at a
// topic and Keyvanefaq.html.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "platform/ports.h"

namespace kv::win {

class Help {
 public:
  struct Deps {
    // The folder of Keyvane.exe, ending in a backslash.
    std::string program_dir;
    Shell& shell;
    // The application's window, owner of what the shell opens.
    std::function<HWND()> owner;
  };

  explicit Help(Deps deps) : d_(std::move(deps)) {}

  // Keyvane.html at the given topic (an anchor of the page), e.g. "Operation".
  void open_topic(const std::string& topic);
  // Keyvanefaq.html.
  void open_faq();

 private:
  Deps d_;
};

}  // namespace kv::win
