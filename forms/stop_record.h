// The stop-recording hotkey EPHotkeyStopRecord (Shift+Ctrl+F12) as the two recording forms see
// it. It lives on the wizard; the Properties dialog enables it while shown and takes the third
// of its steps when the recording was not started from the wizard.
#pragma once

namespace kv {

// The Properties dialog's side of the hotkey.
class PropertiesStopClient {
 public:
  virtual ~PropertiesStopClient() = default;
  // The hotkey has just stopped a recording started from the dialog: Stop off; Start, Cancel
  // and OK on; the macro list window and the dialog shown, the dialog on top.
  virtual void recording_stopped_by_hotkey() = 0;
};

class StopRecordHotkey {
 public:
  virtual ~StopRecordHotkey() = default;
  // Enabled while the wizard or the Properties dialog is shown.
  virtual void set_enabled(bool on) = 0;
  // The open Properties dialog, or nullptr once it has closed.
  virtual void set_properties(PropertiesStopClient* client) = 0;
};

}  // namespace kv
