#include "forms/main_form_list_win.h"

#include <algorithm>

#include <commctrl.h>
#include <windowsx.h>

#include "components/shell_link_win.h"
#include "forms/list_images_win.h"
#include "forms/print_layout.h"
#include "forms/print_win.h"
#include "forms/shortcut_create.h"
#include "platform/win32/adapters.h"
#include "store/macro_store.h"

namespace kv::win {

namespace {

enum : int {
  kIdList = 101,
  kIdHelp,
  kIdNew,
  kIdProperties,
  kIdDelete,
  kIdClose,
  kIdBanner,
  kIdMnuNew = 201,
  kIdMnuDelete,
  kIdMnuPrint,
  kIdMnuProperties,
  kIdShortcutFirst = 211,  // the six submenu entries, in menu order
};

constexpr TShellFolder kShortcutFolders[] = {TShellFolder::sfDesktop,   TShellFolder::sfStartMenu,
                                             TShellFolder::sfPrograms,  TShellFolder::sfStartup,
                                             TShellFolder::sfFavorites, TShellFolder::sfPersonal};
constexpr const char* kShortcutEntries[] = {"On &Desktop",        "On &Start Menu",       "On &Programs Menu",
                                            "In Start&Up Folder", "In &Favorites Folder", "In P&ersonal Folder"};
// Position of "Create Shortcut..." in PopupMenu1.
constexpr UINT kShortcutMenuPos = 2;

// The platform's name of a key outside the fixed list of the display text.
std::string platform_key_name(std::uint8_t vk) {
  const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
  char name[64] = {};
  if (!GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name)) return {};
  return name;
}

void set_enabled(HWND w, bool on) {
  EnableWindow(w, on ? TRUE : FALSE);
}

// F1 released, also with Alt held (the release then comes as a system key).
bool f1_released(UINT msg, WPARAM wp) {
  return (msg == WM_KEYUP || msg == WM_SYSKEYUP) && wp == VK_F1;
}

}  // namespace

MacroListPanel::MacroListPanel(Deps deps)
    : d_(std::move(deps)), shellink_(std::make_unique<ShellLinkWin>()), print_dialog_(std::make_unique<PrintDialog>()) {
  // Shellink starts on the desktop, normal window, no hotkey.
  shellink_->link.SetShellFolder(TShellFolder::sfDesktop);
  shellink_->link.SetWindowState(TWindowState::wsNormal);
  shellink_->link.SetHotKey(0);
  create_controls();
  create_menu();
  apply_commands();
}

MacroListPanel::~MacroListPanel() {
  if (list_) RemoveWindowSubclass(list_, list_subclass, 2);
  for (HWND c : f1_controls_) RemoveWindowSubclass(c, f1_subclass, 1);
}

void MacroListPanel::create_controls() {
  create_control(d_.form, "STATIC", "", SS_OWNERDRAW, 4, 1, 404, 35, kIdBanner);
  list_ = create_control(
      d_.form, WC_LISTVIEWA, "",
      WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_SHAREIMAGELISTS,
      3, 37, 405, 228, kIdList, WS_EX_CLIENTEDGE);
  SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
               LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  struct Column {
    const char* text;
    int width;
  } columns[] = {{"Macro Name", kNameColumnWidth}, {"Shortcut Keys", kShortcutColumnWidth}, {"Window Trigger", 105}};
  int i = 0;
  for (const Column& c : columns) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(c.text);
    col.cx = d_.form.scale(c.width);
    col.iSubItem = i;
    SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    ++i;
  }
  // Drawn at the window's size so that they stay sharp at any scaling.
  images_ = make_macro_images(d_.form.scale(16));
  SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_.get()));
  const DWORD button = WS_TABSTOP | BS_PUSHBUTTON;
  HWND cmd_help = create_control(d_.form, "BUTTON", "Help", button, 1, 271, 55, 21, kIdHelp);
  HWND cmd_new = create_control(d_.form, "BUTTON", "New Macro", button, 57, 271, 86, 21, kIdNew);
  cmd_properties_ = create_control(d_.form, "BUTTON", "Edit Macro", button, 145, 271, 86, 21, kIdProperties);
  cmd_delete_ = create_control(d_.form, "BUTTON", "Delete Macro", button, 233, 271, 86, 21, kIdDelete);
  HWND cmd_close = create_control(d_.form, "BUTTON", "Hide", button, 321, 271, 86, 21, kIdClose);
  f1_controls_ = {list_, cmd_help, cmd_new, cmd_properties_, cmd_delete_, cmd_close};
  for (HWND c : f1_controls_) SetWindowSubclass(c, f1_subclass, 1, reinterpret_cast<DWORD_PTR>(this));
  SetWindowSubclass(list_, list_subclass, 2, reinterpret_cast<DWORD_PTR>(this));
}

// Help: F1 released anywhere in the window, whichever control has the focus.
LRESULT CALLBACK MacroListPanel::f1_subclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (f1_released(msg, wp)) guarded([ref] { reinterpret_cast<MacroListPanel*>(ref)->d_.help.open_topic("Operation"); });
  return DefSubclassProc(w, msg, wp, lp);
}

// The list reports the release of the left and right buttons itself (NM_CLICK, NM_RCLICK) but
// not that of the middle one, which is a mouse button released over the list all the same.
LRESULT CALLBACK MacroListPanel::list_subclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_MBUTTONUP) guarded([ref] { reinterpret_cast<MacroListPanel*>(ref)->lvMacroMouseUp(); });
  return DefSubclassProc(w, msg, wp, lp);
}

void MacroListPanel::lvMacroMouseUp() {
  const bool focused = SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0;
  commands_.list_mouse_up(row_count() > 0, selected_index() >= 0, focused);
  apply_commands();
}

void MacroListPanel::create_menu() {
  popup_.reset(CreatePopupMenu());
  HMENU m = popup_.get();
  AppendMenuA(m, MF_STRING, kIdMnuNew, "&New Macro");
  AppendMenuA(m, MF_STRING, kIdMnuDelete, "&Delete Macro");
  OwnedMenu shortcuts(CreatePopupMenu());
  for (int i = 0; i < 6; ++i) AppendMenuA(shortcuts.get(), MF_STRING, kIdShortcutFirst + i, kShortcutEntries[i]);
  append_submenu(m, std::move(shortcuts), "Create Shortcut...");
  AppendMenuA(m, MF_STRING, kIdMnuPrint, "Print Macro List");
  AppendMenuA(m, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(m, MF_STRING, kIdMnuProperties, "&Properties");
}

void MacroListPanel::apply_commands() {
  set_enabled(cmd_delete_, commands_.delete_button);
  set_enabled(cmd_properties_, commands_.edit_button);
  HMENU m = popup_.get();
  auto flag = [](bool on) { return on ? MF_ENABLED : MF_GRAYED; };
  EnableMenuItem(m, kIdMnuDelete, MF_BYCOMMAND | flag(commands_.delete_item));
  EnableMenuItem(m, kIdMnuProperties, MF_BYCOMMAND | flag(commands_.properties_item));
  EnableMenuItem(m, kShortcutMenuPos, MF_BYPOSITION | flag(commands_.create_shortcut));
}

void MacroListPanel::LoadMacroList() {
  SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  MacroStore store(d_.profile);
  const std::vector<MacroRow> rows = read_macro_rows(store, platform_key_name, d_.hotkey_refused);
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  int i = 0;
  for (const MacroRow& r : rows) {
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE;
    it.iItem = i;
    it.pszText = const_cast<char*>(r.caption.c_str());
    it.iImage = r.image;
    SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
    const std::string* subs[] = {&r.shortcut_keys, &r.trigger};
    for (int c = 1; c <= 2; ++c) {
      LVITEMA sub{};
      sub.iSubItem = c;
      sub.pszText = const_cast<char*>(subs[c - 1]->c_str());
      SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
    }
    ++i;
  }
  fit_shortcut_column(rows);
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void MacroListPanel::fit_shortcut_column(const std::vector<MacroRow>& rows) {
  // A combination marked "(in use)" must be readable: its column takes what it needs from the
  // name column; without a mark both keep their usual widths.
  int keys = d_.form.scale(kShortcutColumnWidth);
  for (const MacroRow& r : rows) {
    if (r.shortcut_keys.find(kInUseMark) == std::string::npos) continue;
    const int w = static_cast<int>(
                      SendMessageA(list_, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(r.shortcut_keys.c_str()))) +
                  d_.form.scale(14);
    keys = std::max(keys, w);
  }
  const int both = d_.form.scale(kNameColumnWidth + kShortcutColumnWidth);
  keys = std::min(keys, both - d_.form.scale(kNameColumnWidth / 2));
  SendMessageA(list_, LVM_SETCOLUMNWIDTH, 0, both - keys);
  SendMessageA(list_, LVM_SETCOLUMNWIDTH, 1, keys);
}

int MacroListPanel::row_count() const {
  return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::string MacroListPanel::item_text(int row, int column) const {
  char buf[1100] = {};
  LVITEMA it{};
  it.iSubItem = column;
  it.pszText = buf;
  it.cchTextMax = sizeof buf;
  SendMessageA(list_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&it));
  return buf;
}

int MacroListPanel::selected_index() {
  return static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::string MacroListPanel::caption(int index) {
  return item_text(index, 0);
}

bool MacroListPanel::confirm_delete() {
  return MessageBoxA(d_.form.hwnd(), kDeleteQuestion, kDeleteQuestionTitle, MB_YESNO | MB_ICONWARNING) == IDYES;
}

void MacroListPanel::remove_row(int index) {
  SendMessageA(list_, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void MacroListPanel::cmdDeleteMacroClick() {
  MacroStore store(d_.profile);
  const bool deleted = delete_selected_macro(*this, store, d_.files, commands_);
  if (!deleted) return;
  apply_commands();
  if (d_.assign_hotkeys) d_.assign_hotkeys();
}

void MacroListPanel::cmdPropertiesClick() {
  const int i = selected_index();
  if (i >= 0 && d_.edit_macro) d_.edit_macro(i + 1);
}

void MacroListPanel::mnuPrintClick() {
  std::vector<MacroRow> rows;
  const int n = row_count();
  for (int i = 0; i < n; ++i) {
    MacroRow r;
    r.caption = item_text(i, 0);
    r.shortcut_keys = item_text(i, 1);
    rows.push_back(std::move(r));
  }
  print_dialog_->print(d_.form.hwnd(), macro_list_print_text(rows));
}

std::vector<std::string> MacroListPanel::captions() const {
  std::vector<std::string> rows;
  const int n = row_count();
  for (int i = 0; i < n; ++i) rows.push_back(item_text(i, 0));
  return rows;
}

void MacroListPanel::Shortcut_Create(TShellFolder where, int number) {
  MacroStore store(d_.profile);
  create_macro_shortcut(store, shellink_->link, where, number, d_.program_dir);
}

void MacroListPanel::on_command(int id) {
  switch (id) {
    case kIdNew:
    case kIdMnuNew:
      if (d_.new_macro) d_.new_macro();
      return;
    case kIdProperties:
    case kIdMnuProperties:
      cmdPropertiesClick();
      return;
    case kIdDelete:
    case kIdMnuDelete:
      cmdDeleteMacroClick();
      return;
    case kIdClose:
      ShowWindow(d_.form.hwnd(), SW_HIDE);
      return;
    case kIdHelp:
      d_.help.open_topic("Operation");
      return;
    case kIdMnuPrint:
      mnuPrintClick();
      return;
    default:
      break;
  }
  if (id >= kIdShortcutFirst && id < kIdShortcutFirst + 6) {
    const int i = selected_index();
    if (i >= 0) Shortcut_Create(kShortcutFolders[id - kIdShortcutFirst], i + 1);
  }
}

bool MacroListPanel::on_notify(const NMHDR& n, LRESULT& result) {
  if (n.hwndFrom != list_) return false;
  const bool has_rows = row_count() > 0;
  const bool selected = selected_index() >= 0;
  const bool focused = SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0;
  switch (n.code) {
    case NM_CLICK:  // lvMacroClick, then the button's release (lvMacroMouseUp)
      commands_.list_clicked(has_rows, selected);
      commands_.list_mouse_up(has_rows, selected, focused);
      apply_commands();
      break;
    case NM_RCLICK:
      lvMacroMouseUp();
      break;
    case NM_DBLCLK:
      cmdPropertiesClick();
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}

void MacroListPanel::show_popup(int x, int y) {
  if (x == -1 && y == -1) {  // from the keyboard: under the selected row, or the list's corner
    RECT r{};
    const int i = selected_index();
    r.left = LVIR_BOUNDS;
    if (i < 0 || !SendMessageA(list_, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
      r = RECT{0, 0, 0, 0};
    POINT p{r.left + d_.form.scale(8), r.bottom};
    ClientToScreen(list_, &p);
    x = p.x;
    y = p.y;
  }
  apply_commands();
  const UINT id = TrackPopupMenu(popup_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, d_.form.hwnd(), nullptr);
  if (id) on_command(static_cast<int>(id));
}

bool MacroListPanel::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (lp == 0 && HIWORD(wp) == 0) {  // a menu item
        on_command(LOWORD(wp));
        result = 0;
        return true;
      }
      if (HIWORD(wp) == BN_CLICKED && reinterpret_cast<HWND>(lp) != list_) {
        on_command(LOWORD(wp));
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY:
      return on_notify(*reinterpret_cast<const NMHDR*>(lp), result);
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) != list_) return false;
      show_popup(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      result = 0;
      return true;
    case WM_KEYUP:  // the window itself has the focus
    case WM_SYSKEYUP:
      if (!f1_released(msg, wp)) return false;
      d_.help.open_topic("Operation");
      result = 0;
      return true;
    case WM_ACTIVATE:
      // The control that had the focus gets it back when the window is active again; at first
      // that is the list, the first control in tab order.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(d_.form.hwnd(), f)) last_focus_ = f;
      } else {
        HWND f = last_focus_ && IsWindow(last_focus_) && IsWindowEnabled(last_focus_) ? last_focus_ : list_;
        SetFocus(f);
      }
      result = 0;
      return true;
    case WM_HELP:  // F1 is answered on its release
      result = TRUE;
      return true;
    case WM_DRAWITEM: {
      const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (d->CtlID != kIdBanner) return false;
      draw_banner(*d, d_.form);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

}  // namespace kv::win
