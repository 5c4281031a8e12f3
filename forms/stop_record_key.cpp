#include "forms/stop_record_key.h"

namespace kv {

StopRecordKey::StopRecordKey(HotKeyComponent& key, JournalControl& journal, Wizard& wizard)
    : key_(key), journal_(journal), wizard_(wizard) {
  key_.set_Enabled(false);
  key_.set_HotKey(kStopRecordShortCut);
  key_.OnHotKey = [this](HotKeyComponent&, std::uint16_t&, const HotKeyParts&) { EPHotkeyStopRecordHotKey(); };
}

void StopRecordKey::set_enabled(bool on) {
  properties_on_ = on;
  update();
}

void StopRecordKey::set_wizard_enabled(bool on) {
  wizard_on_ = on;
  update();
}

void StopRecordKey::EPHotkeyStopRecordHotKey() {
  // Stopping nothing would still bring a dialog up, perhaps one that is not even open.
  if (!journal_.recording()) return;
  if (wizard_.wizard_recording) {
    wizard_.stop_hotkey();
    return;
  }
  // A recording from the Properties dialog: the wizard is closed and stays as it is. The
  // dialog comes back even when the take could not be written, or it would stay hidden.
  PropertiesStopClient* client = properties_;
  try {
    journal_.stop_record();
  } catch (...) {
    if (client) client->recording_stopped_by_hotkey();
    throw;
  }
  if (client) client->recording_stopped_by_hotkey();
}

}  // namespace kv
