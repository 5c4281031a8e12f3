// TfrmWizard, the Macro Setup Wizard's window: the picture strip, the nine pages and the button
// row, mirroring the rules of forms/wizard.h. Created hidden at start-up, shown modally from the
// manager window, hidden again (never destroyed) when a run ends.
#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "components/help_win.h"
#include "forms/modal_win.h"
#include "forms/wizard.h"
#include "platform/win32/adapters.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class ScriptEditor;

class WizardForm : public Window, public WizardView {
 public:
  struct Deps {
    ProfileStore& profile;
    // The .key file of an advanced macro goes into the program folder.
    FileSystem& files;
    Win32MessagePump& pump;
    Help& help;
    // pnlManualKeys; the wizard places it on its script page.
    ScriptEditor& editor;
    // ShowHint of the hint window (created after the wizard).
    std::function<void(const std::string& text)> show_hint;
    // The manager window's rows, AssignHotKeys, Shortcut_Create and the authoring suspension
    // flag of its hotkey slots (all created after the wizard).
    std::function<std::vector<std::string>()> list_captions;
    std::function<void()> assign_hotkeys;
    std::function<void(TShellFolder where, int number)> shortcut_create;
    std::function<void(bool on)> set_authoring_suspended;
    // Whether macro n's hotkey was refused by the platform; empty while the slots cannot tell.
    std::function<bool(int n)> hotkey_refused;
    // Recorder, the stop-recording hotkey's wizard side, and the macro list window, which a
    // mouse-and-keyboard recording hides with the wizard.
    JournalControl* journal = nullptr;
    std::function<void(bool on)> enable_stop_hotkey;
    std::function<HWND()> list_window;
  };

  explicit WizardForm(Deps deps);
  ~WizardForm() override;

  // Shows the wizard modally and returns when the run has ended.
  void show_modal();

  Wizard& wizard() { return wizard_; }

  // WizardView
  void show_page(WizardPage page) override;
  void apply(const WizardButtons& buttons) override;
  void focus(WizardFocus control) override;
  void show_summary(const WizardSummary& summary) override;
  void error_box(const std::string& text) override;
  void warning_box(const std::string& text) override;
  bool confirm_cancel() override;
  void close() override;
  void hide_for_recording() override;
  void show_after_recording() override;
  NameInput macro_name() override;
  ShortCut hot_key() override;
  std::string trigger() override;
  std::string command_line() override;
  std::string script() override;
  void clear_fields() override;
  void set_script(const std::string& text) override;
  StartOption start_option() override;
  RecordOption record_option() override;
  bool high_speed() override;
  int shortcut_item() override;
  void set_shortcut_item(int item) override;

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  // forms/wizard_pages_win.cpp
  void create_pages();
  HWND add(WizardPage page, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id = 0);
  HWND add_bold(WizardPage page, const char* text, int x, int y, int w, int h);

  void on_command(int id);
  void cmdBrowseClick();
  void cmdHotKeyHelpClick();
  void cmdWinTitleHelpClick();
  int default_button() const;
  // A control that has just been disabled or hidden must not keep the keyboard.
  void keep_keyboard();

  Deps d_;
  ModalRun modal_;
  Wizard wizard_;
  Win32MessagePump::Registration dialog_keys_;
  Win32MessagePump::Registration f1_;
  OwnedFont bold_;
  OwnedFont heading_font_;
  std::array<std::vector<HWND>, 9> pages_;  // the controls of each page
  WizardPage page_ = WizardPage::Start;
  bool edit_picture_ = false;

  HWND picture_ = nullptr, heading_ = nullptr;
  HWND opt_advanced_ = nullptr, opt_playback_ = nullptr, opt_start_app_ = nullptr;
  HWND edt_macro_name_ = nullptr;
  HWND hotkey_ = nullptr, edt_trigger_ = nullptr, cb_shortcuts_ = nullptr;
  HWND cmd_browse_ = nullptr, edt_command_line_ = nullptr;
  HWND opt_keys_only_ = nullptr, opt_mouse_keys_ = nullptr;
  HWND cmd_start_keys_ = nullptr, cmd_stop_keys_ = nullptr, cmd_play_keys_ = nullptr, mmo_practice_ = nullptr;
  HWND cmd_record_mouse_ = nullptr, cmd_stop_mouse_ = nullptr, cmd_play_mouse_ = nullptr;
  HWND opt_recorded_speed_ = nullptr, opt_high_speed_ = nullptr;
  std::array<HWND, 4> summary_values_{};
  HWND cmd_step_back_ = nullptr, cmd_next_ = nullptr, cmd_finished_ = nullptr, cmd_save_ = nullptr,
       cmd_cancel_ = nullptr;
};

// Control ids the whole-program tests also use.
enum WizardControlId : int {
  kIdWizardNext = 1001,
  kIdWizardBack,
  kIdWizardFinished,
  kIdWizardSave,
  kIdWizardPicture = 1010,
  kIdWizardHeading,
  kIdOptAdvanced = 1020,
  kIdOptPlayback,
  kIdOptStartApp,
  kIdEdtMacroName = 1030,
  kIdHotKey = 1040,
  kIdHotKeyHelp,
  kIdEdtTrigger,
  kIdWinTitleHelp,
  kIdCbShortCuts,
  kIdBrowse = 1050,
  kIdEdtCommandLine,
  kIdOptKeysOnly = 1060,
  kIdOptMouseKeys,
  kIdStartKeys = 1070,
  kIdStopKeys,
  kIdPlayKeys,
  kIdPractice,
  kIdRecordMouse = 1080,
  kIdStopMouse,
  kIdPlayMouse,
  kIdOptRecordedSpeed,
  kIdOptHighSpeed,
  kIdSummaryValue = 1090,  // the four values, in order
};

}  // namespace kv::win
