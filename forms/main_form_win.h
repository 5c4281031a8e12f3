// TfrmMain: the macro manager window. It lives from start-up to the end of the program and
// carries the parts that must live as long: the delay timer tmr1, the hotkey slots and the
// window-title poll.
#pragma once
#include <functional>
#include <memory>

#include "platform/win32/adapters.h"
#include "platform/win32/window_win.h"

namespace kv {
class HotKeySlots;
}

namespace kv::win {

class TriggerSet;

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

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  std::unique_ptr<Win32Timer> tmr1_;
  // The hotkey slots and Timer1's window-title poll.
  std::unique_ptr<TriggerSet> triggers_;
};

}  // namespace kv::win
