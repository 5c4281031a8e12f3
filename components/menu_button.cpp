#include "components/menu_button.h"

namespace kv {

void MenuButtonModel::click(MenuButtonView& view) {
  if (OnClick) OnClick();
  drop_down(view);
}

void MenuButtonModel::drop_down(MenuButtonView& view) {
  if (dropped_ || Items.empty()) return;
  dropped_ = true;
  // Cleared however the menu ends, so a failed drop-down does not leave the button dead.
  struct Raise {
    MenuButtonModel& model;
    MenuButtonView& view;
    ~Raise() {
      model.dropped_ = false;
      view.show_pressed(false);
    }
  };
  if (!view.has_focus()) view.focus();
  view.show_pressed(true);
  const Raise raise{*this, view};
  view.track(entries());
  view.remove_pending_clicks();
}

bool MenuButtonModel::command(unsigned id) {
  if (id >= Items.size()) return false;
  ItemIndex = static_cast<int>(id);
  if (OnChange) OnChange();
  if (ModalResult != 0 && set_parent_modal_result) set_parent_modal_result(ModalResult);
  return true;
}

std::vector<MenuEntry> MenuButtonModel::entries() const {
  std::vector<MenuEntry> out;
  out.reserve(Items.size());
  for (std::size_t i = 0; i < Items.size(); ++i) {
    if (Items[i] == "-") {
      out.push_back({true, kMenuSeparatorId, {}, false});
    } else {
      const bool checked = ShowCheckmark && ItemIndex == static_cast<int>(i);
      out.push_back({false, static_cast<unsigned>(i), Items[i], checked});
    }
  }
  return out;
}

}  // namespace kv
