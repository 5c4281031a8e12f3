// TEPHotKey: one global hotkey registration, with its own hidden window that receives the
// platform's hotkey message and an identifier taken from the global atom table.
#pragma once
#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/window_win.h"
#include "triggers/hotkey.h"

namespace kv::win {

class TEPHotKey : public HotKeyComponent {
 public:
  TEPHotKey();
  ~TEPHotKey() override;

 protected:
  bool platform_register(unsigned modifiers, unsigned key) override;
  void platform_unregister() override;

 private:
  OwnedAtom atom_;
  // Message-only: it receives the hotkey message without showing up among top-level windows.
  ComponentWindow window_;
};

}  // namespace kv::win
