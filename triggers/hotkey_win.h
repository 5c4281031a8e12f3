// TEPHotKey: one global hotkey registration, with its own hidden window that receives the
// platform's hotkey message and an identifier taken from the global atom table.
#pragma once
#include <windows.h>

#include "platform/win32/handles.h"
#include "triggers/hotkey.h"

namespace kv::win {

class TEPHotKey : public HotKeyComponent {
 public:
  TEPHotKey();
  ~TEPHotKey() override;

  HWND window() const { return window_.get(); }
  ATOM identifier() const { return atom_.get(); }

 protected:
  bool platform_register(unsigned modifiers, unsigned key) override;
  void platform_unregister() override;

 private:
  static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  OwnedWindow window_;
  OwnedAtom atom_;
};

}  // namespace kv::win
