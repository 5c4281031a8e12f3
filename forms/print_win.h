// Printing a text through the standard print dialog onto the chosen printer, laid out by
// PrinterTextStream on the printer's device context.
#pragma once
#include <windows.h>

#include <string>

namespace kv::win {

// Shows the print dialog (owned by `owner`); prints nothing when it is cancelled. Printer
// errors are raised as kv::Error.
void print_text_with_dialog(HWND owner, const std::string& text);

// Prints on an open printer device context (the job is started and ended here).
void print_text_on(HDC printer, const std::string& text, const char* job_name);

}  // namespace kv::win
