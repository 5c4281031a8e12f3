// TEPMenuButton's rules without the platform: the drop-down's steps and their order, the
// entries of its menu, which command ids choose an entry and which are ignored, and what
// choosing one does (ItemIndex, OnChange, the parent's modal result).
#pragma once
#include <functional>
#include <string>
#include <vector>

namespace kv {

// The command id of a separator; ids at or above the entry count choose nothing.
inline constexpr unsigned kMenuSeparatorId = 65535;

struct MenuEntry {
  bool separator = false;
  unsigned id = 0;
  std::string text;
  bool checked = false;
  friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

// What the drop-down does to the button on screen.
class MenuButtonView {
 public:
  virtual ~MenuButtonView() = default;
  virtual bool has_focus() = 0;
  virtual void focus() = 0;
  // The button-state message (pressed or released) and a repaint.
  virtual void show_pressed(bool pressed) = 0;
  // Shows the menu below the button and returns once it has closed. A chosen entry arrives
  // later as a command (MenuButtonModel::command).
  virtual void track(const std::vector<MenuEntry>& entries) = 0;
  // Drops the mouse clicks still waiting for the button (the one that closed the menu).
  virtual void remove_pending_clicks() = 0;
};

class MenuButtonModel {
 public:
  std::vector<std::string> Items;
  int ItemIndex = -1;
  bool ShowCheckmark = false;
  // Not zero: choosing an entry also gives the parent form this modal result.
  int ModalResult = 0;
  std::function<void()> OnClick;
  std::function<void()> OnChange;
  // Sets the parent form's modal result.
  std::function<void(int)> set_parent_modal_result;

  // A click by mouse or keyboard: OnClick, then the drop-down.
  void click(MenuButtonView& view);
  // Opens the menu unless it is already open or there are no entries.
  void drop_down(MenuButtonView& view);
  // A command the menu sent to the button; true when it chose an entry.
  bool command(unsigned id);

  bool dropped() const { return dropped_; }
  // The menu as built from Items: "-" is a separator, entry i has id i.
  std::vector<MenuEntry> entries() const;

 private:
  bool dropped_ = false;
};

}  // namespace kv
