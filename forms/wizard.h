// TfrmWizard's rules, apart from its window: the page flow of Next and Back, the summary, what
// a run starts and ends with, and what Finish writes. The window (forms/wizard_win.h) mirrors
// them into its controls through WizardView.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "components/shell_link.h"
#include "forms/macro_list.h"
#include "forms/macro_name.h"
#include "platform/journal.h"
#include "platform/ports.h"
#include "store/macro.h"

namespace kv {

enum class WizardPage { Start, Name, HotKey, StartApp, Keystype, RecordKeys, RecordMouse, ManualKeys, Finished };

// The options of "What would you like this macro to do?", in their order on the page.
enum class StartOption { Advanced, Playback, StartApp };
// The options of "Record just keys or mouse and keys?".
enum class RecordOption { KeysOnly, MouseAndKeys };

// The controls that get the focus when a step says so.
enum class WizardFocus { StartOptions, MacroName, HotKey, Browse, ScriptEditor, Finished, Practice };

// What the buttons show. The recording buttons start as the forms are created and keep their
// states between runs, apart from the two Playback buttons, which every run disables.
struct WizardButtons {
  bool next_visible = true;
  bool next_enabled = true;
  bool back_visible = true;  // hidden only in edit mode
  bool back_enabled = false;
  bool finished_visible = false;
  bool save_visible = false;
  bool edit_picture = false;  // the left strip's picture of the script editor's edit mode
  bool start_keys = true, stop_keys = false, play_keys = false;
  bool start_mouse = true, stop_mouse = false, play_mouse = false;

  bool operator==(const WizardButtons&) const = default;
};

// The summary lines' values.
struct WizardSummary {
  std::string name;
  std::string type;
  std::string shortcut_keys;
  std::string window_trigger;

  bool operator==(const WizardSummary&) const = default;
};

inline constexpr const char* kCancelQuestion =
    "The Macro Setup Wizard has not finished creating your macro.  Are you sure you want to exit the wizard?";
// The macro is stored all the same; %s is the combination's display text.
inline constexpr const char* kHotKeyRefused =
    "Your macro has been created, but the keys %s could not be set up as its hot key: Windows or another program "
    "already uses them.  Choose other keys for this macro in its properties.";
// The hints before a recording starts.
inline constexpr const char* kRecordKeysHint =
    "When you close this box, Keyvane will start to record all of the keys that you press.  You do not need to use "
    "the space at the bottom to record your keystrokes - it is only there if you need it.  You may open the program "
    "that you intend this macro to be run within and begin typing in it.  When you are finished, simply use your "
    "maouse to click the Stop Recording button in Keyvane.";
inline constexpr const char* kRecordMouseHint =
    "When you close this box, Keyvane will disappear and start recording all of your keyboard and mouse actions.  To "
    "end recording type Shift+Ctrl+F12.";
inline constexpr const char* kNoApplication =
    "Please specify an application or document to launch.  You can search for files by selecting 'Browse'.";

// The shortcut list cbShortCuts, in order; item 0 is "No Shortcut".
inline constexpr const char* kShortcutChoices[] = {"No Shortcut",       "On Desktop",        "On Start Menu",
                                                   "On Programs Menu",  "In StartUp Folder", "In Favorites Folder",
                                                   "In Personal Folder"};
// The special folder of each item; sfNone for "No Shortcut".
TShellFolder shortcut_choice_folder(int item);

// The window's side.
class WizardView {
 public:
  virtual ~WizardView() = default;
  // Shows `page` and hides every other one.
  virtual void show_page(WizardPage page) = 0;
  virtual void apply(const WizardButtons& buttons) = 0;
  virtual void focus(WizardFocus control) = 0;
  virtual void show_summary(const WizardSummary& summary) = 0;
  // An error box with an OK button.
  virtual void error_box(const std::string& text) = 0;
  // A warning box with an OK button.
  virtual void warning_box(const std::string& text) = 0;
  // The Cancel question answered with Yes.
  virtual bool confirm_cancel() = 0;
  // Ends the modal showing (the form is hidden, never destroyed).
  virtual void close() = 0;
  // A mouse-and-keyboard recording: the macro list window and the wizard are hidden while it
  // runs (the run goes on), and shown again after it, the wizard on top and in the foreground.
  // After a keystroke recording, when both stayed visible, the wizard only comes to the top:
  // the keyboard stays with the program the user types in.
  virtual void hide_for_recording() = 0;
  virtual void show_after_recording() = 0;

  virtual NameInput macro_name() = 0;
  virtual ShortCut hot_key() = 0;
  virtual std::string trigger() = 0;
  virtual std::string command_line() = 0;
  virtual std::string script() = 0;
  // Empties the name, program/document, window-title and script fields and clears the hotkey.
  virtual void clear_fields() = 0;
  // The script editor's text (edit mode loads a stored script into it).
  virtual void set_script(const std::string& text) = 0;

  virtual StartOption start_option() = 0;
  virtual RecordOption record_option() = 0;
  // "Play this macro back at high speed." is selected.
  virtual bool high_speed() = 0;
  virtual int shortcut_item() = 0;
  virtual void set_shortcut_item(int item) = 0;
};

class Wizard {
 public:
  struct Deps {
    ProfileStore& profile;
    // The .key file goes into the program folder.
    FileSystem& files;
    MessagePump& pump;
    UpperCaseFn upper;
    KeyNameFn platform_key_name;
    // The captions of the macro list's rows, first to last.
    std::function<std::vector<std::string>()> list_captions;
    // The authoring suspension flag of the hotkey slots.
    std::function<void(bool on)> set_authoring_suspended;
    // The stop-recording hotkey EPHotkeyStopRecord; may be empty while there is none.
    std::function<void(bool on)> enable_stop_hotkey;
    // AssignHotKeys of the manager window, which also reloads the list.
    std::function<void()> assign_hotkeys;
    // Shortcut_Create of the manager window.
    std::function<void(TShellFolder where, int number)> shortcut_create;
    // After AssignHotKeys: true when macro n's hotkey could not be registered (the platform or
    // another program holds the combination). May be empty while the slots cannot tell.
    std::function<bool(int n)> hotkey_refused;
    // Recorder, which the recording pages drive; may be null while there is none.
    JournalControl* journal = nullptr;
    // ShowHint: returns once the hint window has closed (at once when hints are off).
    std::function<void(const std::string& text)> show_hint;
    // Moves a recording to another name, replacing a file there; false when it failed.
    std::function<bool(const std::string& from, const std::string& to)> rename_file;
    // Physical state of a virtual key: true while it is held down.
    std::function<bool(std::uint8_t vk)> key_down;
  };

  Wizard(Deps deps, WizardView& view);

  // The show handler: the start of a run.
  void FormShow();
  void cmdNextClick();
  void cmdStepBackClick();
  // Writes the macro. A refused write raises with the wizard still on the summary and, when the
  // .key file was refused, the store untouched.
  void cmdFinishedClick();
  void cmdCancelClick();
  // The close box: the run ends at once, without the question.
  void close_box();

  // The recording pages (forms/wizard_recording.cpp).
  void cmdStartKeysClick();
  void cmdStopKeysClick();
  void cmdPlayKeysClick();
  void cmdRecordMouseClick();
  void cmdStopMouseClick();
  void cmdPlayMouseClick();
  // The stop-recording hotkey's first two steps, for a recording started from the wizard.
  void stop_hotkey();
  // The wizard's part of RecorderFinished: both Playback buttons enabled.
  void playback_finished();
  // Edit mode (forms/wizard_edit.cpp), driven by the properties dialog for a stored advanced
  // macro. Only the script page, the edit picture and "&Save"; Save writes `script_path`.
  void prepare_edit(std::string script_path);
  // The script file's text, trimmed, into the editor.
  void load_edit_script(const std::string& file_text);
  // The script file could not be read: the wizard is put back on its first page, emptied.
  void edit_load_failed();
  // "&Save": the script into its file at once, then the wizard closes. A refused write raises
  // with the wizard still open.
  void cmdSaveClick();

  WizardPage page() const { return page_; }
  const WizardButtons& buttons() const { return buttons_; }
  // The macro kind the two option pages choose.
  MacroKind kind();
  WizardSummary summary();

  // Set and cleared by the properties dialog: only the script editor page of a stored macro.
  bool edit_mode = false;
  // A recording started from the wizard is under way or has just been stopped.
  bool wizard_recording = false;

 private:
  void go(WizardPage page);
  void update() { view_.apply(buttons_); }
  // The page after Triggers for the chosen kind, and the last page before the summary.
  WizardPage last_page();
  void closing();
  // Recording: the take's file name, what Start changes, and what becomes of the run's takes.
  std::string take_file();
  void start_take(bool keys_only);
  void stop_take();
  void restore_before_start();
  void rename_take_for_finish(const Macro& m);
  void drop_takes(const std::string& keep);
  void wait_modifiers_released();
  // Edit mode's Cancel, close box and the end of Save: the normal button row back, the wizard
  // closed. The properties dialog is still open, so its suspension of the hotkeys stays.
  void end_edit();

  Deps d_;
  WizardView& view_;
  WizardPage page_ = WizardPage::Start;
  WizardButtons buttons_;
  bool finishing_ = false;
  // The run's takes: every file a recording of this run went into, and the last one made.
  std::vector<std::string> takes_;
  std::string last_take_;
  std::string kept_take_;    // the stored macro's recording, once Finish has stored it
  std::string record_file_;  // the RecordFileName the wizard last set
  // As they were when Start was pressed, for a take that fails.
  WizardButtons before_start_;
  bool recording_before_start_ = false;
  std::string edit_path_;
};

// The script as its .key file holds it: the editor's lines with CR LF after each one.
std::string script_file_text(const std::string& editor_text);

}  // namespace kv
