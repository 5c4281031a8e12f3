// TfrmMain: the macro manager window. It lives from start-up to the end of the program and
// carries the parts that must live as long: the delay timer tmr1, the hotkey slots and the
// window-title poll.
#pragma once
#include <functional>
#include <memory>

#include "components/shell_link.h"
#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

namespace kv {
class HotKeySlots;
}

namespace kv::win {

class TriggerSet;
class MacroListPanel;

class MainForm : public Window {
 public:
  MainForm();
  ~MainForm() override;

  // FormCreate: list, hotkeys, help file, FoundHandle reset.
  void FormCreate();

  // Centres the window on the screen and shows it (first run, "&Open", the icon's double click).
  void show_centred();

  void LoadMacroList();
  void AssignHotKeys();

  // tmr1: the delay timer behind the script's waits; each tick goes to on_delay_tick.
  Timer& delay_timer() { return *tmr1_; }
  std::function<void()> on_delay_tick;

  // The hotkey slots with the authoring suspension flag (set by the wizard and the properties
  // dialog while they are open) and the hotkey busy flag.
  HotKeySlots& hotkeys();
  // The list, buttons and popup menu (forms/main_form_list_win.cpp).
  MacroListPanel& list_panel() { return *list_; }
  // "Print Macro List", also from the tray.
  void mnuPrintClick();
  void Shortcut_Create(TShellFolder where, int number);

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void create_list_panel();
  std::unique_ptr<Win32Timer> tmr1_;
  // The hotkey slots and Timer1's window-title poll.
  std::unique_ptr<TriggerSet> triggers_;
  std::unique_ptr<MacroListPanel> list_;
  Win32MessagePump::Registration dialog_keys_;
};

}  // namespace kv::win
