// pnlManualKeys, the script editor of the wizard's script page: the script field mmoManKeys and
// the buttons that insert tokens into it. One instance, a child of the wizard.
#pragma once
#include <windows.h>

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class ScriptEditor : public Window {
 public:
  struct Deps {};

  explicit ScriptEditor(Deps deps);

  // Creates the panel as a child of `parent` at x, y with size w x h (96-dpi pixels, scaled to
  // the parent's dpi), hidden. Its controls are tab stops of the parent's dialog navigation.
  void create_in(Window& parent, int x, int y, int w, int h);
  void show(bool visible);

  HWND pnlManualKeys() const { return hwnd(); }
  HWND mmoManKeys() const { return mmo_man_keys_; }

  std::string text() const;
  void set_text(const std::string& text);

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  HWND mmo_man_keys_ = nullptr;
};

}  // namespace kv::win
