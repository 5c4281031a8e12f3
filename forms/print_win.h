// Printing a text through the standard print dialog onto the chosen printer, laid out by
// PrinterTextStream on the printer's device context.
#pragma once
#include <windows.h>

#include <string>

#include "platform/win32/handles.h"

namespace kv::win {

// PrintDialog1: the standard print dialog. Like a dialog kept on its form, it offers the
// printer and settings chosen last time when it is shown again.
class PrintDialog {
 public:
  PrintDialog() = default;
  PrintDialog(const PrintDialog&) = delete;
  PrintDialog& operator=(const PrintDialog&) = delete;

  // Shows the dialog (owned by `owner`) and prints the text on the chosen printer; prints
  // nothing when it is cancelled. Printer errors are raised as kv::Error. While the dialog is
  // open (the tray menu still works), a second call only brings it forward.
  void print(HWND owner, const std::string& text);

 private:
  static UINT_PTR CALLBACK hook(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);
  bool showing_ = false;
  HWND dialog_ = nullptr;
  OwnedGlobal dev_mode_;
  OwnedGlobal dev_names_;
};

// Prints on an open printer device context (the job is started and ended here).
void print_text_on(HDC printer, const std::string& text, const char* job_name);

}  // namespace kv::win
