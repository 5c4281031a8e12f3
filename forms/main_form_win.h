// TfrmMain: the macro manager window. It lives from start-up to the end of the program and
// carries the parts that must live as long: the delay timer tmr1, the hotkey slots and the
// window-title poll.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "components/help_win.h"
#include "components/shell_link.h"
#include "platform/ports.h"
#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"
#include "store/shortcut.h"

namespace kv {
class HotKeySlots;
}

namespace kv::win {

class AboutForm;
class TriggerSet;
class MacroListPanel;

class MainForm : public Window {
 public:
  struct Deps {
    // The hidden host: owned by it, the window gets no taskbar button.
    HWND owner;
    Win32ProfileStore& profile;
    // Deletion removes the macro's companion files.
    FileSystem& files;
    Win32MessagePump& pump;
    // Window triggers look for titles and report a refused write.
    WindowSystem& windows;
    ErrorReport& errors;
    Help& help;
    // Shortcut files start Keyvane.exe in this folder (ending in a backslash).
    std::string program_dir;
    // Timer1's window-title poll runs (not in an instance that only runs its macros and ends).
    bool poll_titles;
    // The hotkey slots register their combinations (not beside the resident instance).
    bool register_hotkeys;
    // ProcessHotKey: what the hotkeys and the window triggers run.
    std::function<void(int n)> run_macro;
    // Each tick of tmr1, the script player's delay timer.
    std::function<void()> delay_tick;
    // "New Macro": shows the wizard modally.
    std::function<void()> new_macro;
    // "Edit Macro": shows the properties dialog modally for macro n.
    std::function<void(int n)> edit_macro;
  };

  explicit MainForm(Deps deps);
  ~MainForm() override;

  // FormCreate: list, hotkeys, help file, and the FoundHandle reset when asked for.
  void FormCreate(bool reset_found_handles);

  // Centres the window on the screen and shows it (first run, "&Open", the icon's double click).
  void show_centred();

  void LoadMacroList();
  void AssignHotKeys();

  // tmr1: the delay timer behind the script's waits; each tick goes to Deps::delay_tick.
  Timer& delay_timer() { return *tmr1_; }

  // The hotkey slots with the authoring suspension flag (set by the wizard and the properties
  // dialog while they are open) and the hotkey busy flag.
  HotKeySlots& hotkeys();
  // For the authoring forms' warning on OK or Finish: would `value`, stored for macro n, be
  // registered (no lower-numbered macro has it and no other program holds it)?
  bool hotkey_would_register(int n, ShortCut value);
  // "Print Macro List", also from the tray.
  void mnuPrintClick();
  void Shortcut_Create(TShellFolder where, int number);
  // The captions of the list's rows, first to last.
  std::vector<std::string> list_captions() const;
  // The about box, shown modally; brought forward when it is already up.
  void show_about_box();

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  Deps d_;
  std::unique_ptr<Win32Timer> tmr1_;
  // The hotkey slots and Timer1's window-title poll.
  std::unique_ptr<TriggerSet> triggers_;
  // The list, buttons and popup menu (forms/main_form_list_win.cpp).
  std::unique_ptr<MacroListPanel> list_;
  Win32MessagePump::Registration dialog_keys_;
  std::unique_ptr<AboutForm> about_;  // while it is shown
};

}  // namespace kv::win
