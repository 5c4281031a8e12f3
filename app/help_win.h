// Help is shipped as HTML in the program folder and opened through the shell.
#pragma once
#include <string>

namespace kv::win {

// Keyvane.html at the given topic (an anchor of the page), e.g. "Operation".
void open_help_topic(const std::string& topic);
// Keyvanefaq.html.
void open_faq();

}  // namespace kv::win
