#include "forms/print_win.h"

#include <cderr.h>
#include <commdlg.h>

#include <optional>

#include "forms/print_layout.h"
#include "platform/error.h"
#include "platform/win32/handles.h"

namespace kv::win {

namespace {

// A printer page with the stream's font: MS Sans Serif 8 points at the printer's resolution.
class PrinterCanvas : public TextCanvas {
 public:
  explicit PrinterCanvas(HDC dc) : dc_(dc) {
    font_.reset(CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_SWISS, "MS Sans Serif"));
    select();
  }
  PrinterCanvas(const PrinterCanvas&) = delete;
  PrinterCanvas& operator=(const PrinterCanvas&) = delete;

  int page_width() override { return GetDeviceCaps(dc_, HORZRES); }
  int page_height() override { return GetDeviceCaps(dc_, VERTRES); }
  int average_char_width() override {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    return tm.tmAveCharWidth;
  }
  int char_height() override { return text_extent("0").cy; }
  TextSize text_extent(std::string_view text) override {
    SIZE s{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
    return {static_cast<int>(s.cx), static_cast<int>(s.cy)};
  }
  void draw_text(int x, int y, std::string_view text) override {
    TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
  }
  void new_page() override {
    EndPage(dc_);
    StartPage(dc_);
    select();  // some drivers reset the device context at each page
  }

 private:
  // The object selected before the first page is the one put back at the end.
  void select() {
    if (selected_)
      SelectObject(dc_, font_.get());
    else
      selected_.emplace(dc_, font_.get());
    SetBkMode(dc_, TRANSPARENT);
  }
  HDC dc_;
  OwnedFont font_;
  std::optional<SelectedObject> selected_;
};

}  // namespace

void print_text_on(HDC dc, const std::string& text, const char* job_name) {
  DOCINFOA doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = job_name;
  if (StartDocA(dc, &doc) <= 0) throw Error("Printing could not be started");
  bool ok = StartPage(dc) > 0;
  if (ok) {
    {
      PrinterCanvas canvas(dc);
      PrinterTextStream stream(canvas);
      stream.write(text);
      stream.flush();
    }
    ok = EndPage(dc) > 0;
  }
  if (!ok) {
    AbortDoc(dc);
    throw Error("Printing failed");
  }
  if (EndDoc(dc) <= 0) throw Error("Printing failed");
}

UINT_PTR CALLBACK PrintDialog::hook(HWND dialog, UINT msg, WPARAM, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<PrintDialog*>(reinterpret_cast<const PRINTDLGA*>(lp)->lCustData);
    self->dialog_ = dialog;
  }
  return FALSE;  // the dialog's own handling goes on
}

void PrintDialog::print(HWND owner, const std::string& text) {
  if (showing_) {
    if (dialog_) SetForegroundWindow(dialog_);
    return;
  }
  showing_ = true;
  struct Shown {
    PrintDialog& d;
    ~Shown() {
      d.showing_ = false;
      d.dialog_ = nullptr;
    }
  } shown{*this};
  PRINTDLGA pd{};
  BOOL chosen = FALSE;
  DWORD err = 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    pd = PRINTDLGA{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = owner;
    // Printing to a file is not offered: the text always goes to the printer. The driver makes
    // the copies asked for.
    pd.Flags = PD_RETURNDC | PD_NOWARNING | PD_NOSELECTION | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
               PD_USEDEVMODECOPIESANDCOLLATE | PD_ENABLEPRINTHOOK;
    pd.lpfnPrintHook = hook;
    pd.lCustData = reinterpret_cast<LPARAM>(this);
    // The dialog may replace the handles it is given; it owns what it replaces.
    pd.hDevMode = dev_mode_.release();
    pd.hDevNames = dev_names_.release();
    chosen = PrintDlgA(&pd);
    dialog_ = nullptr;
    dev_mode_.reset(pd.hDevMode);
    dev_names_.reset(pd.hDevNames);
    err = chosen ? 0 : CommDlgExtendedError();
    const bool last_printer_gone = err == PDERR_PRINTERNOTFOUND || err == PDERR_DNDMMISMATCH;
    if (!last_printer_gone || (!dev_mode_ && !dev_names_)) break;
    // The printer chosen last time is gone: offer the default one instead.
    dev_mode_.reset();
    dev_names_.reset();
  }
  if (!chosen) {
    if (err == 0) return;  // cancelled
    if (err == PDERR_NODEFAULTPRN || err == PDERR_NODEVICES) throw Error("No printer is installed");
    throw Error("The print dialog failed (error " + std::to_string(err) + ")");
  }
  if (!pd.hDC) throw Error("The printer could not be opened");
  OwnedDc dc(pd.hDC);
  print_text_on(dc.get(), text, "Keyvane");
}

}  // namespace kv::win
