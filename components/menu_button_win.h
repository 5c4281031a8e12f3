// TEPMenuButton: an owner-drawn push button with a down arrow that drops a menu of its Items
// below itself; choosing an entry sets ItemIndex and fires OnChange (rules: menu_button.h).
#pragma once
#include <windows.h>

#include "components/menu_button.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class TEPMenuButton : public MenuButtonModel, private MenuButtonView {
 public:
  TEPMenuButton() = default;
  ~TEPMenuButton() override;
  TEPMenuButton(const TEPMenuButton&) = delete;
  TEPMenuButton& operator=(const TEPMenuButton&) = delete;

  // The button as a child of `parent` (96-dpi pixels), a tab stop.
  HWND create(Window& parent, const char* caption, int x, int y, int w, int h, int id);
  HWND hwnd() const { return hwnd_; }

  // What the parent is told about its buttons (the click notification, the request to draw)
  // goes here; true when it was about this button and `result` holds the answer.
  bool parent_message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 private:
  static LRESULT CALLBACK subclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  void draw(const DRAWITEMSTRUCT& d);

  bool has_focus() override;
  void focus() override;
  void show_pressed(bool pressed) override;
  void track(const std::vector<MenuEntry>& entries) override;
  void remove_pending_clicks() override;

  HWND hwnd_ = nullptr;
};

}  // namespace kv::win
