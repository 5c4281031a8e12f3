#include "forms/script_editor_win.h"

#include <commctrl.h>

namespace kv::win {

namespace {

constexpr int kMmoManKeys = 200;
constexpr int kCmdDelay = 201;
constexpr int kFirstMenu = 210;
constexpr UINT_PTR kSubclassId = 1;

// Tab order and places: two rows of three under the script field.
constexpr int kButtonHeight = 25;
constexpr int kGap = 6;

struct FindId {
  int id;
  HWND found = nullptr;
};

BOOL CALLBACK find_id(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<FindId*>(lp);
  if (GetDlgCtrlID(w) != f->id || !IsWindowVisible(w)) return TRUE;
  f->found = w;
  return FALSE;
}

BOOL CALLBACK find_default(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<FindId*>(lp);
  char cls[16] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, "Button") != 0 || !IsWindowVisible(w)) return TRUE;
  if ((GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK) != BS_DEFPUSHBUTTON) return TRUE;
  f->found = w;
  return FALSE;
}

}  // namespace

ScriptEditor::ScriptEditor(Deps deps) : d_(std::move(deps)), line_input_(d_.pump) {
  for (TokenMenu m :
       {TokenMenu::SpecialKeys, TokenMenu::DateTime, TokenMenu::MoreKeys, TokenMenu::Repeat, TokenMenu::Misc}) {
    TEPMenuButton& b = menu_button(m);
    for (const TokenItem& item : token_menu_items(m)) b.Items.push_back(item.caption);
    b.ShowCheckmark = false;
    b.OnChange = [this, m] { menu_change(m); };
  }
}

ScriptEditor::~ScriptEditor() {
  if (mmo_man_keys_ && IsWindow(mmo_man_keys_)) RemoveWindowSubclass(mmo_man_keys_, editor_proc, kSubclassId);
}

void ScriptEditor::create_in(Window& parent, int x, int y, int w, int h) {
  create("KeyvaneScriptEditor", "", WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, parent.scale(x), parent.scale(y),
         parent.scale(w), parent.scale(h), parent.hwnd());
  const int field_h = h - 2 * kButtonHeight - 2 * kGap;
  // No ES_WANTRETURN: Enter belongs to the form (editor_proc), Ctrl+Enter breaks the line.
  mmo_man_keys_ = create_control(*this, "EDIT", "", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, w,
                                 field_h, kMmoManKeys, WS_EX_CLIENTEDGE);
  SendMessageA(mmo_man_keys_, EM_LIMITTEXT, 0, 0);
  SetWindowSubclass(mmo_man_keys_, editor_proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));

  const int bw = (w - 2 * kGap) / 3;
  const int row1 = field_h + kGap, row2 = row1 + kButtonHeight + kGap;
  auto menu = [&](TokenMenu m, int col, int row) {
    menu_button(m).create(*this, token_menu_caption(m).c_str(), col * (bw + kGap), row, bw, kButtonHeight,
                          kFirstMenu + static_cast<int>(m));
  };
  menu(TokenMenu::SpecialKeys, 0, row1);
  cmd_delay_ = create_control(*this, "BUTTON", std::string(kStartDelayCaption).c_str(), WS_TABSTOP, bw + kGap, row1, bw,
                              kButtonHeight, kCmdDelay);
  menu(TokenMenu::DateTime, 2, row1);
  menu(TokenMenu::MoreKeys, 0, row2);
  menu(TokenMenu::Repeat, 1, row2);
  menu(TokenMenu::Misc, 2, row2);
  apply_font(hwnd(), dialog_font(dpi()));
}

void ScriptEditor::show(bool visible) {
  ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE);
}

std::string ScriptEditor::text() const {
  return control_text(mmo_man_keys_);
}

void ScriptEditor::set_text(const std::string& text) {
  SetWindowTextA(mmo_man_keys_, text.c_str());
}

void ScriptEditor::insert(const std::string& token) {
  SendMessageA(mmo_man_keys_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(token.c_str()));
  SetFocus(mmo_man_keys_);
}

void ScriptEditor::menu_change(TokenMenu menu) {
  const TEPMenuButton& b = menu_button(menu);
  const std::vector<TokenItem>& items = token_menu_items(menu);
  if (b.ItemIndex < 0 || static_cast<std::size_t>(b.ItemIndex) >= items.size()) return;
  act(items[static_cast<std::size_t>(b.ItemIndex)]);
}

void ScriptEditor::act(const TokenItem& item) {
  if (!item.hint.empty() && d_.show_hint) d_.show_hint(item.hint);
  switch (item.action) {
    case TokenAction::Insert:
      insert(item.text);
      return;
    case TokenAction::WaitDialog:
    case TokenAction::RepeatDialog:
    case TokenAction::InputBoxDialog:
    case TokenAction::WaitForWindowDialog:
      dialog(dialog_kind(item.action));
      return;
    case TokenAction::AskMacroName:
    case TokenAction::AskWindowTitle: {
      const LineQuestion q = item.action == TokenAction::AskMacroName ? run_macro_question() : focus_window_question();
      const std::optional<std::string> answer = line_input_.ask(GetAncestor(hwnd(), GA_ROOT), q.caption, q.prompt);
      if (answer)
        if (std::optional<std::string> token = answer_token(item.action, *answer)) insert(*token);
      SetFocus(mmo_man_keys_);
      return;
    }
    case TokenAction::ChooseFile: {
      const std::optional<std::string> path =
          d_.choose_file ? d_.choose_file(GetAncestor(hwnd(), GA_ROOT)) : std::nullopt;
      if (path)
        if (std::optional<std::string> token = answer_token(item.action, *path)) insert(*token);
      SetFocus(mmo_man_keys_);
      return;
    }
  }
}

void ScriptEditor::dialog(TokenDialogKind kind) {
  const std::optional<std::string> token = d_.token_dialog ? d_.token_dialog(kind) : std::nullopt;
  if (token) insert(*token);
  SetFocus(mmo_man_keys_);
}

void ScriptEditor::cmdDelayClick() {
  if (d_.show_hint) d_.show_hint(start_delay_hint());
  dialog(TokenDialogKind::Wait);
}

void ScriptEditor::press_default_button() {
  const HWND form = GetAncestor(hwnd(), GA_ROOT);
  FindId f{0};
  const LRESULT def = SendMessageA(form, DM_GETDEFID, 0, 0);
  if (HIWORD(def) == DC_HASDEFID) {
    f.id = LOWORD(def);
    EnumChildWindows(form, find_id, reinterpret_cast<LPARAM>(&f));
  } else {
    EnumChildWindows(form, find_default, reinterpret_cast<LPARAM>(&f));
  }
  if (!f.found || !IsWindowEnabled(f.found)) return;
  SendMessageA(GetParent(f.found), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(f.found), BN_CLICKED),
               reinterpret_cast<LPARAM>(f.found));
}

LRESULT CALLBACK ScriptEditor::editor_proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  auto& editor = *reinterpret_cast<ScriptEditor*>(self);
  switch (msg) {
    case WM_GETDLGCODE: {
      LRESULT code = DefSubclassProc(w, msg, wp, lp);
      if (const auto* m = reinterpret_cast<const MSG*>(lp); m && m->message == WM_KEYDOWN) {
        // Tab and Esc work as in the rest of the form; Enter comes here (WM_KEYDOWN below).
        if (m->wParam == VK_TAB || m->wParam == VK_ESCAPE) code &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
        if (m->wParam == VK_RETURN) code |= DLGC_WANTALLKEYS;
      }
      return code;
    }
    case WM_KEYDOWN:
      if (wp == VK_RETURN) {
        if (GetKeyState(VK_CONTROL) < 0)
          SendMessageA(w, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\r\n"));
        else
          guarded([&] { editor.press_default_button(); });
        return 0;
      }
      // A multi-line edit would close its parent panel on Esc.
      if (wp == VK_ESCAPE) return 0;
      break;
    case WM_CHAR:
      // The characters of Enter and Ctrl+Enter: the line break, if any, is made above.
      if (wp == '\r' || wp == '\n') return 0;
      break;
    default:
      break;
  }
  return DefSubclassProc(w, msg, wp, lp);
}

bool ScriptEditor::handle(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lp) == cmd_delay_ && cmd_delay_ && HIWORD(wp) == BN_CLICKED) {
        cmdDelayClick();
        result = 0;
        return true;
      }
      [[fallthrough]];
    case WM_DRAWITEM:
      for (TEPMenuButton& b : menus_)
        if (b.parent_message(msg, wp, lp, result)) return true;
      return false;
    case WM_CLOSE:  // a panel is never closed on its own
      result = 0;
      return true;
    default:
      return false;
  }
}

}  // namespace kv::win
