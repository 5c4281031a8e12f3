// pnlManualKeys, the script editor of the wizard's script page: the script field mmoManKeys and
// the buttons that insert tokens into it. One instance, a child of the wizard.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "components/menu_button_win.h"
#include "forms/line_input_win.h"
#include "forms/script_tokens.h"
#include "platform/win32/adapters.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class ScriptEditor : public Window {
 public:
  struct Deps {
    Win32MessagePump& pump;
    // ShowHint of the hint window (created after the editor).
    std::function<void(const std::string&)> show_hint;
    // Shows one of the token dialogs (created after the editor): its token, nothing on Cancel.
    std::function<std::optional<std::string>(TokenDialogKind)> token_dialog;
    // The file-open dialog of the authoring forms: the chosen file's full path, or nothing.
    std::function<std::optional<std::string>(HWND owner)> choose_file;
  };

  explicit ScriptEditor(Deps deps);
  ~ScriptEditor() override;

  // Creates the panel as a child of `parent` at x, y with size w x h (96-dpi pixels, scaled to
  // the parent's dpi), hidden. Its controls are tab stops of the parent's dialog navigation.
  void create_in(Window& parent, int x, int y, int w, int h);
  void show(bool visible);

  HWND pnlManualKeys() const { return hwnd(); }
  HWND mmoManKeys() const { return mmo_man_keys_; }
  // The five menu buttons, in TokenMenu order, and "&Start a Delay".
  TEPMenuButton& menu_button(TokenMenu menu) { return menus_[static_cast<std::size_t>(menu)]; }
  HWND cmdDelay() const { return cmd_delay_; }
  LineInputForm& line_input() { return line_input_; }

  std::string text() const;
  void set_text(const std::string& text);

  // Puts the token in at the caret in place of the selection, as one step Undo takes back,
  // and gives the editor the focus with the caret behind the token. The clipboard is the
  // user's: it is not used.
  void insert(const std::string& token);

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  static LRESULT CALLBACK editor_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
  // Enter in the editor: the form's default button, as in any other field.
  void press_default_button();
  void menu_change(TokenMenu menu);
  void act(const TokenItem& item);
  void dialog(TokenDialogKind kind);
  void cmdDelayClick();

  Deps d_;
  LineInputForm line_input_;
  HWND mmo_man_keys_ = nullptr;
  HWND cmd_delay_ = nullptr;
  std::array<TEPMenuButton, 5> menus_;
};

}  // namespace kv::win
