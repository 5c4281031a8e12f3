// The visible part of TfrmMain: the banner, the macro list lvMacro with its images, the five
// buttons, the popup menu PopupMenu1 with its shortcut submenu, and their commands (delete,
// print, shortcut files, help, hide). MainForm owns one and hands it its messages first.
#pragma once
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "components/help_win.h"
#include "components/shell_link.h"
#include "forms/macro_list.h"
#include "platform/ports.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_win.h"

namespace kv::win {

class ShellLinkWin;
class PrintDialog;

class MacroListPanel : public MacroListView {
 public:
  struct Deps {
    // TfrmMain, which the panel's controls sit on.
    Window& form;
    ProfileStore& profile;
    // Deletion removes the macro's companion files.
    FileSystem& files;
    Help& help;
    // Shortcut files start Keyvane.exe in this folder (ending in a backslash).
    std::string program_dir;
    // Re-registers the hotkeys and rebuilds the list (after a deletion).
    std::function<void()> assign_hotkeys;
    // "New Macro" and "&New Macro": the wizard, shown modally.
    std::function<void()> new_macro;
    // Whether macro n's combination was refused by the platform (shown marked).
    HotKeyRefusedFn hotkey_refused;
    // "Edit Macro", "&Properties" and a double click: the properties dialog for macro n.
    std::function<void(int n)> edit_macro;
  };

  explicit MacroListPanel(Deps deps);
  ~MacroListPanel() override;

  // Rebuilds every row from the store.
  void LoadMacroList();
  // Returns true when the message was one of the panel's.
  bool handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // "Print Macro List" (also the tray's print item): prints the rows as the list shows them.
  void mnuPrintClick();
  // The rows' captions, first to last.
  std::vector<std::string> captions() const;
  // Writes the link file for macro `number` into the special folder `where`.
  void Shortcut_Create(TShellFolder where, int number);

  // MacroListView
  int selected_index() override;
  std::string caption(int index) override;
  bool confirm_delete() override;
  void remove_row(int index) override;

 private:
  static constexpr int kNameColumnWidth = 200;
  static constexpr int kShortcutColumnWidth = 90;
  void create_controls();
  void fit_shortcut_column(const std::vector<MacroRow>& rows);
  void create_menu();
  void apply_commands();
  void on_command(int id);
  bool on_notify(const NMHDR& n, LRESULT& result);
  void show_popup(int x, int y);
  // A mouse button released over the list.
  void lvMacroMouseUp();
  static LRESULT CALLBACK list_subclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref);
  static LRESULT CALLBACK f1_subclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref);
  void cmdDeleteMacroClick();
  // Opens the properties dialog for the selected row; nothing without one.
  void cmdPropertiesClick();
  int row_count() const;
  std::string item_text(int row, int column) const;

  Deps d_;
  HWND list_ = nullptr;
  HWND cmd_properties_ = nullptr, cmd_delete_ = nullptr;
  std::vector<HWND> f1_controls_;  // F1 released in any of them opens help
  OwnedImageList images_;
  OwnedMenu popup_;
  HWND last_focus_ = nullptr;  // the control with the focus when the window was last active
  ListCommands commands_;
  std::unique_ptr<ShellLinkWin> shellink_;
  std::unique_ptr<PrintDialog> print_dialog_;  // PrintDialog1
};

}  // namespace kv::win
