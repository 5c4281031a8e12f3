// TfrmProperties, the Macro Properties dialog's window, mirroring the rules of
// forms/properties.h. Created hidden at start-up, shown modally over the macro list window for
// one macro, hidden again (never destroyed) when it closes.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "components/help_win.h"
#include "forms/modal_win.h"
#include "forms/properties.h"
#include "platform/win32/adapters.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class WizardForm;

class PropertiesForm : public Window, public PropertiesView {
 public:
  struct Deps {
    ProfileStore& profile;
    FileSystem& files;
    Win32MessagePump& pump;
    Help& help;
    JournalControl& recorder;
    StopRecordHotkey& stop_hotkey;
    // The wizard hosts the script editor's edit mode.
    WizardForm& wizard;
    // The manager window (created after the dialog): hidden and shown for a mouse recording.
    std::function<HWND()> manager_window;
    std::function<void(bool on)> set_authoring_suspended;
    std::function<void()> load_macro_list;
    std::function<void()> assign_hotkeys;
    std::function<bool(int n)> hotkey_refused;
  };

  explicit PropertiesForm(Deps deps);
  ~PropertiesForm() override;

  // Shows the dialog modally for macro n and returns when it has closed.
  void show_modal(int n);

  Properties& properties() { return properties_; }

  // PropertiesView
  void apply(const PropertiesLayout& layout) override;
  void apply(const PropertiesButtons& buttons) override;
  void focus(PropertiesFocus control) override;
  void error_box(const std::string& text) override;
  void message_box(const std::string& text) override;
  void warning_box(const std::string& text) override;
  void close() override;
  void show_windows(bool on) override;
  NameInput macro_name() override;
  void set_macro_name(const std::string& text) override;
  std::string file_field() override;
  void set_file_field(const std::string& text) override;
  ShortCut hot_key() override;
  void set_hot_key(ShortCut value) override;
  std::string trigger() override;
  void set_trigger(const std::string& text) override;
  bool high_speed() override;
  void set_high_speed(bool on) override;
  void clear_practice() override;

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void create_controls();
  // Places the rows the kind shows, one under the other, and fits the window to them.
  void place_controls();
  void on_command(int id);
  void cmdBrowseClick();
  static LRESULT CALLBACK practice_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR);

  Deps d_;
  ModalRun modal_;
  Properties properties_;
  Win32MessagePump::Registration dialog_keys_;
  Win32MessagePump::Registration f1_;
  OwnedFont bold_;
  OwnedImageList images_;
  PropertiesLayout layout_;

  HWND picture_ = nullptr, type_text_ = nullptr;
  HWND lbl_name_ = nullptr, edt_macro_name_ = nullptr;
  HWND lbl_file_ = nullptr, edt_file_ = nullptr, cmd_browse_ = nullptr, cmd_edit_macro_ = nullptr;
  HWND opt_recorded_speed_ = nullptr, opt_high_speed_ = nullptr;
  HWND lbl_triggers_ = nullptr, lbl_hotkey_ = nullptr, hotkey_ = nullptr, lbl_window_ = nullptr, edt_trigger_ = nullptr;
  HWND cmd_record_ = nullptr, cmd_stop_ = nullptr, cmd_play_ = nullptr, lbl_stop_key_ = nullptr,
       mmo_practice_ = nullptr;
  HWND last_focus_ = nullptr;  // the control with the keyboard when the dialog was last active
  HWND separator_ = nullptr, cmd_ok_ = nullptr, cmd_cancel_ = nullptr;
};

// Control ids the whole-program tests also use; "&OK" is IDOK and "&Cancel" IDCANCEL.
enum PropertiesControlId : int {
  kIdPropsPicture = 1101,
  kIdPropsTypeText = 1104,
  kIdPropsName = 1106,
  kIdPropsFile = 1108,
  kIdPropsBrowse,
  kIdPropsEditMacro,
  kIdPropsRecordedSpeed,
  kIdPropsHighSpeed,
  kIdPropsHotKey = 1115,
  kIdPropsTrigger = 1117,
  kIdPropsRecord = 1120,
  kIdPropsStop,
  kIdPropsPlay,
  kIdPropsPractice = 1124,
};

}  // namespace kv::win
