#include "components/tray_icon.h"

namespace kv {

std::string tray_tip(const std::string& hint) {
  return hint.substr(0, kTrayTipChars);
}

void TrayIconModel::set_Visible(bool on) {
  if (on == visible_) return;
  visible_ = on;
  notify_(on ? TrayCall::Add : TrayCall::Delete, tray_tip(hint_));
}

void TrayIconModel::set_Hint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  notify_(TrayCall::Modify, tray_tip(hint_));
}

void TrayIconModel::icon_assigned() {
  notify_(TrayCall::Modify, tray_tip(hint_));
}

void TrayIconModel::destroyed() {
  if (visible_) notify_(TrayCall::Delete, tray_tip(hint_));
  visible_ = false;
}

void TrayIconModel::taskbar_created() {
  if (visible_) notify_(TrayCall::Add, tray_tip(hint_));
}

std::vector<TrayEvent> tray_events(std::uint32_t mouse_message, unsigned shift) {
  using E = TrayEvent;
  const auto L = TrayButton::Left, R = TrayButton::Right, M = TrayButton::Middle;
  switch (mouse_message) {
    case 0x0200:
      return {{E::MouseMove, L, shift}};
    case 0x0201:
      return {{E::MouseDown, L, shift}};
    case 0x0202:
      return {{E::Click, L, shift}, {E::MouseUp, L, shift}};
    case 0x0203:
      return {{E::DblClick, L, shift}, {E::MouseDown, L, shift | kTrayDouble}};
    case 0x0204:
      return {{E::MouseDown, R, shift}};
    case 0x0205:
      return {{E::MouseUp, R, shift}, {E::ShowMenu, R, shift}};
    case 0x0206:
      return {{E::MouseDown, R, shift | kTrayDouble}};
    case 0x0207:
      return {{E::MouseDown, M, shift}};
    case 0x0208:
      return {{E::MouseUp, M, shift}};
    case 0x0209:
      return {{E::MouseDown, M, shift | kTrayDouble}};
    default:
      return {};
  }
}

}  // namespace kv
