// TfrmProperties' rules, apart from its window: what opening shows for the macro's kind, the
// recording panel, the script editor's edit mode, and what OK checks, moves and writes. The
// window (forms/properties_win.h) mirrors them into its controls through PropertiesView.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/macro_name.h"
#include "forms/stop_record.h"
#include "platform/journal.h"
#include "platform/ports.h"
#include "store/macro.h"

namespace kv {

class Wizard;

inline constexpr const char* kPropertiesNameEmpty = "Please enter a name for this macro.";
inline constexpr const char* kPropertiesNoApplication =
    "Please specify an application or document to launch.  You can search for files by selecting 'Browse'.";
inline constexpr const char* kScriptNotLoaded = "Error: Keyvane could not load the macro file for this macro";
// The changes are stored all the same; %s is the combination's display text.
inline constexpr const char* kPropertiesHotKeyRefused =
    "Your changes have been saved, but the keys %s could not be set up as this macro's hot key: Windows or another "
    "program already uses them.  Choose other keys for this macro.";
// The temporary take of a re-recording, in the program folder.
inline constexpr const char* kTemporaryTake = "~temp.dat";

// Which kind-specific controls the macro's kind shows.
struct PropertiesLayout {
  std::string type_text;         // after "Type:"
  bool file_field = false;       // "FileName:" with the program/document field (kind 1)
  bool browse = false;           // "&Browse" (kind 1)
  bool edit_macro = false;       // "&Edit Macro" (kind 4)
  bool speed_options = false;    // the two playback speeds (kind 3)
  bool recording_panel = false;  // kinds 2 and 3

  bool operator==(const PropertiesLayout&) const = default;
};

// The states of the recording panel's buttons and of OK and Cancel.
struct PropertiesButtons {
  bool start = true, stop = false, play = true;
  bool ok = true, cancel = true;

  bool operator==(const PropertiesButtons&) const = default;
};

enum class PropertiesFocus { MacroName, Browse, Practice };

// The window's side.
class PropertiesView {
 public:
  virtual ~PropertiesView() = default;
  virtual void apply(const PropertiesLayout& layout) = 0;
  virtual void apply(const PropertiesButtons& buttons) = 0;
  virtual void focus(PropertiesFocus control) = 0;
  // An error box with an OK button.
  virtual void error_box(const std::string& text) = 0;
  // A plain message box.
  virtual void message_box(const std::string& text) = 0;
  virtual void warning_box(const std::string& text) = 0;
  // Ends the modal showing (the form is hidden, never destroyed).
  virtual void close() = 0;
  // Hides the macro list window and the dialog (a mouse-and-keyboard recording) or shows them
  // again with the dialog on top.
  virtual void show_windows(bool on) = 0;

  virtual NameInput macro_name() = 0;
  virtual void set_macro_name(const std::string& text) = 0;
  virtual std::string file_field() = 0;
  virtual void set_file_field(const std::string& text) = 0;
  virtual ShortCut hot_key() = 0;
  virtual void set_hot_key(ShortCut value) = 0;
  virtual std::string trigger() = 0;
  virtual void set_trigger(const std::string& text) = 0;
  // "Play this macro back at high speed" is selected.
  virtual bool high_speed() = 0;
  virtual void set_high_speed(bool on) = 0;
  virtual void clear_practice() = 0;
};

class Properties : public PropertiesStopClient {
 public:
  struct Deps {
    ProfileStore& profile;
    // The companion files in the program folder.
    FileSystem& files;
    // Recorder, the journal control the wizard owns.
    JournalControl& recorder;
    StopRecordHotkey& stop_hotkey;
    // The wizard, for the script editor's edit mode, and its modal showing.
    Wizard& wizard;
    std::function<void()> show_wizard;
    UpperCaseFn upper;
    // The platform's names of keys outside the display text's own list.
    std::function<std::string(std::uint8_t vk)> platform_key_name;
    // The authoring suspension flag of the hotkey slots.
    std::function<void(bool on)> set_authoring_suspended;
    // LoadMacroList and AssignHotKeys of the manager window.
    std::function<void()> load_macro_list;
    std::function<void()> assign_hotkeys;
    // After AssignHotKeys: true when macro n's hotkey could not be registered. May be empty.
    std::function<bool(int n)> hotkey_refused;
  };

  Properties(Deps deps, PropertiesView& view);

  // The show handler, for macro n (the selected row + 1).
  void FormShow(int n);
  // "&OK". A companion file that cannot be moved raises with the dialog open and the store
  // untouched.
  void Button1Click();
  // "&Cancel" and Esc; nothing while Cancel is disabled.
  void cmdCancelPropsClick();
  // The close box: a recording under way is stopped and its take discarded.
  void close_box();
  // "&Edit Macro": the script in the wizard's edit mode.
  void cmdEditManKeysClick();
  void cmdRecordClick();
  void cmdStopClick();
  void cmdPlayClick();

  // PropertiesStopClient
  void recording_stopped_by_hotkey() override;

  int number() const { return n_; }
  MacroKind kind() const { return kind_; }
  const std::string& loaded_name() const { return loaded_name_; }
  bool new_recording() const { return new_recording_; }
  bool recording() const { return recording_; }
  bool is_open() const { return open_; }
  const PropertiesLayout& layout() const { return layout_; }
  const PropertiesButtons& buttons() const { return buttons_; }

 private:
  std::string path(const std::string& file) { return d_.files.program_dir() + file; }
  void configure_journal();
  // The first problem of the name field, as its error box's text; empty when there is none.
  std::string name_problem(MacroStore& store, const NameInput& name);
  // Every way of closing: the flags cleared, the stop hotkey off, the dialog closed.
  void closing();
  void update() { view_.apply(buttons_); }

  Deps d_;
  PropertiesView& view_;
  int n_ = 0;
  MacroKind kind_{0};
  std::string loaded_name_;
  Macro stored_;  // as read when the dialog opened
  bool new_recording_ = false;
  bool recording_ = false;
  bool open_ = false;
  PropertiesLayout layout_;
  PropertiesButtons buttons_;
};

}  // namespace kv
