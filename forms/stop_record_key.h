// EPHotkeyStopRecord as the program has it: the Shift+Ctrl+F12 hotkey component, registered
// only while the wizard or the Properties dialog is shown, and what a press of it does.
#pragma once
#include "forms/stop_record.h"
#include "forms/wizard.h"
#include "platform/journal.h"
#include "triggers/hotkey.h"

namespace kv {

// Shift+Ctrl+F12.
inline constexpr ShortCut kStopRecordShortCut = 24699;

class StopRecordKey : public StopRecordHotkey {
 public:
  // Takes the component over: disabled, with the stop key and this handler.
  StopRecordKey(HotKeyComponent& key, JournalControl& journal, Wizard& wizard);

  // The Properties dialog's wish; the wizard has its own, and either keeps the key registered.
  void set_enabled(bool on) override;
  void set_wizard_enabled(bool on);
  void set_properties(PropertiesStopClient* client) override { properties_ = client; }

  // EPHotkeyStopRecordHotKey. With nothing being recorded it does nothing at all.
  void EPHotkeyStopRecordHotKey();

 private:
  void update() { key_.set_Enabled(wizard_on_ || properties_on_); }

  HotKeyComponent& key_;
  JournalControl& journal_;
  Wizard& wizard_;
  PropertiesStopClient* properties_ = nullptr;
  bool wizard_on_ = false, properties_on_ = false;
};

}  // namespace kv
