// TEPTrayIcon's rules without the platform: which notification-area call each change makes,
// the tip, and which events a callback mouse message raises.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv {

enum class TrayCall { Add, Modify, Delete };

// The tip field holds 64 characters with the terminator.
inline constexpr std::size_t kTrayTipChars = 63;
std::string tray_tip(const std::string& hint);

class TrayIconModel {
 public:
  // One Shell_NotifyIcon call with the current tip; false when the shell refused it.
  using Notify = std::function<bool(TrayCall call, const std::string& tip)>;
  explicit TrayIconModel(Notify notify) : notify_(std::move(notify)) {}

  bool Visible() const { return visible_; }
  void set_Visible(bool on);
  const std::string& Hint() const { return hint_; }
  void set_Hint(const std::string& hint);
  void icon_assigned();
  // The component is going away: the icon leaves the notification area.
  void destroyed();
  // The taskbar was (re)created, as when the shell restarts: a visible icon is added again,
  // or the program would be unreachable.
  void taskbar_created();

 private:
  Notify notify_;
  bool visible_ = false;
  std::string hint_;
};

// Buttons and keys in a tray event's shift state.
enum TrayShift : unsigned {
  kTrayShift = 1,
  kTrayAlt = 2,
  kTrayCtrl = 4,
  kTrayLeft = 8,
  kTrayRight = 16,
  kTrayMiddle = 32,
  kTrayDouble = 64,
};
enum class TrayButton { Left, Right, Middle };

struct TrayEvent {
  enum Kind { Click, DblClick, MouseDown, MouseUp, MouseMove, ShowMenu } kind;
  TrayButton button = TrayButton::Left;
  unsigned shift = 0;
  friend bool operator==(const TrayEvent&, const TrayEvent&) = default;
};

// The events raised, in order, for the mouse message carried by the callback message; shift is
// the state of keys and buttons read when it arrived.
std::vector<TrayEvent> tray_events(std::uint32_t mouse_message, unsigned shift);

}  // namespace kv
