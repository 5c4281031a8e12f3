// TEPTrayIcon: the program's icon in the notification area, with a hidden window that takes
// the icon's callback message, raises the mouse events and shows the popup menu.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "components/tray_icon.h"
#include "platform/win32/window_win.h"

namespace kv::win {

// WM_USER + 100.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 100;

class TEPTrayIcon {
 public:
  TEPTrayIcon();
  ~TEPTrayIcon();
  TEPTrayIcon(const TEPTrayIcon&) = delete;
  TEPTrayIcon& operator=(const TEPTrayIcon&) = delete;

  void set_Hint(const std::string& hint) { model_.set_Hint(hint); }
  const std::string& Hint() const { return model_.Hint(); }
  // Not owned: the program's icon lives as long as the program.
  void set_Icon(HICON icon);
  void set_Visible(bool on) { model_.set_Visible(on); }
  bool Visible() const { return model_.Visible(); }
  // Shown on a right click (automatic popup); not owned.
  void set_PopupMenu(HMENU menu) { menu_ = menu; }

  std::function<void()> OnClick, OnDblClick;
  std::function<void(TrayButton, unsigned shift, int x, int y)> OnMouseDown, OnMouseUp;
  std::function<void(unsigned shift, int x, int y)> OnMouseMove;
  // Just before the menu shows (to bring its items up to date), and the item chosen.
  std::function<void()> OnPopup;
  std::function<void(UINT id)> OnMenuCommand;

 private:
  bool handle(UINT msg, LPARAM lp);
  bool notify(TrayCall call, const std::string& tip);
  void callback(UINT mouse_message);
  void show_menu(int x, int y);

  UINT id_ = 0;
  HICON icon_ = nullptr;
  HMENU menu_ = nullptr;
  TrayIconModel model_;
  ComponentWindow window_;
};

}  // namespace kv::win
