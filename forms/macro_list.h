// What the manager window's list shows and which of its commands are available: the rows as
// read from the store, the enabling rules of the two list events, and the delete command.
// The window itself (Win32) only mirrors these into its controls.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "store/macro_store.h"

namespace kv {

// Indexes into the list's image list.
inline constexpr int kImageLaunch = 0;
inline constexpr int kImageKeys = 1;
inline constexpr int kImageMouse = 2;

struct MacroRow {
  std::string caption;  // Name, or the section name when Name is absent
  int image = kImageLaunch;
  std::string shortcut_keys;  // display text of HotKey, empty when none
  std::string trigger;
};

using KeyNameFn = std::function<std::string(std::uint8_t vk)>;
// True when macro n's combination could not be registered.
using HotKeyRefusedFn = std::function<bool(int n)>;

// Added to the "Shortcut Keys" text of a combination that does nothing because the platform
// refused it; the printed list takes the text from the list, so it says the same.
inline constexpr const char* kInUseMark = " (in use)";

// Rows for macros 1..Entries, in store order (the list never sorts).
std::vector<MacroRow> read_macro_rows(MacroStore& store, const KeyNameFn& platform_key_name,
                                      const HotKeyRefusedFn& refused = {});

// The commands that follow the list's selection; all start disabled.
struct ListCommands {
  bool delete_button = false;    // "Delete Macro"
  bool delete_item = false;      // "&Delete Macro"
  bool properties_item = false;  // "&Properties"
  bool edit_button = false;      // "Edit Macro"
  bool create_shortcut = false;  // "Create Shortcut..."

  // A click on the list: the "Edit Macro" button is left as it was.
  void list_clicked(bool has_rows, bool row_selected);
  // A mouse button released over the list.
  void list_mouse_up(bool has_rows, bool row_selected, bool row_focused);
  // After a deletion: the delete commands and the shortcut submenu go off.
  void macro_deleted();

  bool operator==(const ListCommands&) const = default;
};

// What the delete command needs from the window.
class MacroListView {
 public:
  virtual ~MacroListView() = default;
  virtual int selected_index() = 0;  // -1 when no row is selected
  virtual std::string caption(int index) = 0;
  // "Are you sure you want to delete this macro?" answered with Yes.
  virtual bool confirm_delete() = 0;
  virtual void remove_row(int index) = 0;
};

inline constexpr const char* kDeleteQuestion = "Are you sure you want to delete this macro?";
inline constexpr const char* kDeleteQuestionTitle = "Warning";

// "Delete Macro": asks, deletes the companion files named after the row's caption, removes the
// row, renumbers the store and disables the commands. Returns true when a macro was deleted;
// the caller then re-registers the hotkeys (which rebuilds the list).
bool delete_selected_macro(MacroListView& view, MacroStore& store, FileSystem& files, ListCommands& commands);

}  // namespace kv
