// Base of every window of the program: registers its class under the given name, routes
// messages to handle(), keeps exceptions inside (they go to the error report), and scales
// pixel layouts made for 96 dpi to the window's dpi.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/handles.h"

namespace kv::win {

class Window {
 public:
  Window() = default;
  // The window is destroyed without reaching handle(): by then the derived form is gone.
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return window_.get(); }

  // Creates the window with the given class name (registered on first use).
  HWND create(const char* class_name, const char* caption, DWORD style, DWORD ex_style, int x, int y, int w, int h,
              HWND parent = nullptr, HICON icon = nullptr);

  // Pixels at 96 dpi to this window's pixels.
  int scale(int px) const;
  unsigned dpi() const;

  // Moves the window so that it is centred on the primary screen.
  void centre_on_screen();
  // Sets the client area to w x h pixels (96-dpi units) keeping the position.
  void set_client_size(int w, int h);

 protected:
  // Return true when the message was handled and `result` holds the answer.
  virtual bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;
  void destroy() { window_.reset(); }

 private:
  static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  OwnedWindow window_;
};

// The hidden window in which a component (a timer, a hotkey, the tray icon, the recorder's
// messenger) receives its messages, handed to the component's handler. All of them share one
// window class.
class ComponentWindow : public Window {
 public:
  // Message-only windows stay out of every window list. The tray icon's must be a hidden
  // top-level window instead: only those hear the taskbar announce that it was created again.
  enum class Kind { MessageOnly, HiddenTopLevel };
  // Returns true when the message was handled and `result` holds the answer.
  using Handler = std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)>;

  ComponentWindow(Kind kind, Handler handler);

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  Handler handler_;
};

inline constexpr char kComponentWindowClass[] = "KeyvaneComponent";

// The dpi of a window (96 when the platform cannot tell).
unsigned window_dpi(HWND w);

// The dialog font of the forms, at a given dpi: 8 point "MS Shell Dlg 2".
HFONT dialog_font(unsigned dpi);
// Gives the window and all its children the font.
void apply_font(HWND w, HFONT font);

// Appends `submenu` to `menu` as the popup entry `text`; from then on `menu` owns it. Returns the
// submenu (nullptr when it could not be appended, and it is gone).
HMENU append_submenu(HMENU menu, OwnedMenu submenu, const char* text);

// A window's text (a control's contents).
std::string control_text(HWND w);

// A child control at 96-dpi pixel coordinates scaled to the parent's dpi.
HWND create_control(Window& parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id,
                    DWORD ex_style = 0);

}  // namespace kv::win
