#include "forms/script_editor_win.h"

#include "platform/win32/adapters.h"

namespace kv::win {

namespace {
constexpr int kMmoManKeys = 200;
}  // namespace

ScriptEditor::ScriptEditor(Deps) {}

void ScriptEditor::create_in(Window& parent, int x, int y, int w, int h) {
  create("KeyvaneScriptEditor", "", WS_CHILD | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, parent.scale(x), parent.scale(y),
         parent.scale(w), parent.scale(h), parent.hwnd());
  mmo_man_keys_ = create_control(*this, "EDIT", "", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0, w, h,
                                 kMmoManKeys, WS_EX_CLIENTEDGE);
  apply_font(hwnd(), dialog_font(dpi()));
}

void ScriptEditor::show(bool visible) {
  ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE);
}

std::string ScriptEditor::text() const {
  const int n = GetWindowTextLengthA(mmo_man_keys_);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  s.resize(static_cast<std::size_t>(GetWindowTextA(mmo_man_keys_, s.data(), n + 1)));
  return s;
}

void ScriptEditor::set_text(const std::string& text) {
  SetWindowTextA(mmo_man_keys_, text.c_str());
}

bool ScriptEditor::handle(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

}  // namespace kv::win
