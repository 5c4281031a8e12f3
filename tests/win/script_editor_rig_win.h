// The script editor page in a window of its own, for the Windows-side tests: the real editor,
// token dialogs and hint window around a form with a default and a cancel button, and steps
// that drive them through their controls while the modal runs wait.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/hint_form_win.h"
#include "forms/script_editor_win.h"
#include "forms/token_dialogs_win.h"
#include "platform/win32/adapters.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/win/steps_win.h"

namespace kv::test {

using namespace kv::win;

// Steps tried once per tick until each reports done; one that never does fails the test and
// ends every modal run, so the test returns.
struct Driver {
  explicit Driver(Win32MessagePump& p) : pump(p) {}
  Win32MessagePump& pump;
  std::deque<std::pair<std::string, std::function<bool()>>> steps;
  DWORD deadline = 0;
  Win32Timer timer{[this] { tick(); }};

  void then(std::string what, std::function<bool()> step) { steps.emplace_back(std::move(what), std::move(step)); }
  void tick() {
    if (steps.empty()) return;
    if (steps.front().second()) {
      steps.pop_front();
      deadline = GetTickCount() + 15000;
    } else if (static_cast<LONG>(GetTickCount() - deadline) > 0) {
      ADD_FAILURE() << "never came: " << steps.front().first;
      steps.clear();
      EndMenu();
      pump.terminate();
    }
  }
  void run() {
    deadline = GetTickCount() + 15000;
    timer.start(20);
    while (!steps.empty() && !pump.terminated()) {
      pump.wait_for_message();
      pump.process_messages();
    }
    timer.stop();
  }
};

struct FindTop {
  const char* cls;
  HWND found = nullptr;
};

inline BOOL CALLBACK match_visible(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<FindTop*>(lp);
  char c[64] = {};
  GetClassNameA(w, c, sizeof c);
  if (lstrcmpA(c, f->cls) != 0 || !IsWindowVisible(w)) return TRUE;
  f->found = w;
  return FALSE;
}

// A visible top-level window of this thread with that class.
inline HWND visible_window(const char* cls) {
  FindTop f{cls};
  EnumThreadWindows(GetCurrentThreadId(), match_visible, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

inline void key(HWND w, UINT vk) {
  PostMessageA(w, WM_KEYDOWN, vk, 1);
  PostMessageA(w, WM_KEYUP, vk, 0xC0000001);
}

inline void set_ctrl(bool down) {
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(state);
}

inline std::string clipboard_text() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "(clipboard busy)";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

inline void set_clipboard_text(const std::string& text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
  GlobalUnlock(h);
  SetClipboardData(CF_TEXT, h);
  CloseClipboard();
}

// A form with a default and a cancel button around the editor, as the wizard is.
class Host : public Window {
 public:
  explicit Host(Win32MessagePump& pump) {
    create("KvEditorTestHost", "Editor host", WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, 60, 60,
           100, 100);
    set_client_size(480, 330);
    create_control(*this, "BUTTON", "&Next >", WS_TABSTOP | BS_DEFPUSHBUTTON, 300, 298, 80, 25, IDOK);
    create_control(*this, "BUTTON", "&Cancel", WS_TABSTOP, 390, 298, 80, 25, IDCANCEL);
    keys_ = pump.dialog_keys(hwnd());
  }
  int next = 0, cancel = 0;

 protected:
  bool handle(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
    if (msg == DM_GETDEFID) {
      result = MAKELRESULT(IDOK, DC_HASDEFID);
      return true;
    }
    if (msg == WM_ACTIVATE) {  // as the program's forms do: the focus comes back where it was
      if (LOWORD(wp) == WA_INACTIVE) {
        if (IsChild(hwnd(), GetFocus())) last_focus_ = GetFocus();
      } else if (last_focus_ && IsWindow(last_focus_)) {
        SetFocus(last_focus_);
      }
      result = 0;
      return true;
    }
    if (msg != WM_COMMAND) return false;
    if (LOWORD(wp) == IDOK) ++next;
    if (LOWORD(wp) == IDCANCEL) ++cancel;
    result = 0;
    return LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL;
  }

 private:
  Win32MessagePump::Registration keys_;
  HWND last_focus_ = nullptr;
};

struct Rig {
  Win32MessagePump pump;
  kv::fake::FakeProfileStore profile;
  bool tray_checked = true;
  HintForm hint{{profile, pump, tray_checked}};
  TokenDialog wait{TokenDialogKind::Wait, {pump, profile}};
  TokenDialog repeat{TokenDialogKind::Repeat, {pump, profile}};
  TokenDialog input_box{TokenDialogKind::InputBox, {pump, profile}};
  TokenDialog wait_for_window{TokenDialogKind::WaitForWindow, {pump, profile}};
  std::vector<std::string> log;  // hints shown and files asked for, in order
  std::optional<std::string> chosen_file;
  ScriptEditor editor{{pump,
                       [this](const std::string& text) {
                         log.push_back("hint: " + text.substr(0, 30));
                         hint.ShowHint(text);
                       },
                       [this](TokenDialogKind kind) {
                         TokenDialog* d[] = {&wait, &repeat, &input_box, &wait_for_window};
                         return d[static_cast<int>(kind)]->run();
                       },
                       [this](HWND owner) {
                         log.push_back(owner == host.hwnd() ? "file asked by the form" : "file asked by another");
                         return chosen_file;
                       }}};
  Host host{pump};
  Driver d{pump};

  Rig() {
    editor.create_in(host, 10, 10, 460, 280);
    editor.show(true);
    ShowWindow(host.hwnd(), SW_SHOW);
    SetForegroundWindow(host.hwnd());
    hints(false);
  }
  void hints(bool on) { profile.write_string("Main", "Show Hints", on ? "1" : "0"); }
  HWND mmo() const { return editor.mmoManKeys(); }
  std::string text() const { return editor.text(); }
  std::pair<int, int> selection() const {
    DWORD a = 0, b = 0;
    SendMessageA(mmo(), EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
    return {static_cast<int>(a), static_cast<int>(b)};
  }
  void start(const std::string& text, int sel_from, int sel_to) {
    d.then("the editor ready", [=, this] {
      editor.set_text(text);
      SetFocus(mmo());
      SendMessageA(mmo(), EM_SETSEL, sel_from, sel_to);
      return true;
    });
  }
  // Drops a menu by a click on its button and picks entry `index` with the keyboard.
  void choose(TokenMenu menu, int index) {
    d.then("click", [=, this] {
      PostMessageA(editor.menu_button(menu).hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      PostMessageA(editor.menu_button(menu).hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      return true;
    });
    d.then("the menu", [=, this] {
      const HWND popup = visible_window("#32768");
      if (!popup) return false;
      for (int i = 0; i <= index; ++i) key(popup, VK_DOWN);
      key(popup, VK_RETURN);
      return true;
    });
  }
  void close_hint(const std::string& starting) {
    d.then("the hint " + starting, [=, this] {
      if (!IsWindowVisible(hint.hwnd())) return false;
      EXPECT_EQ(text_of(hint.mmoHint()).substr(0, starting.size()), starting);
      PostMessageA(hint.hwnd(), WM_COMMAND, IDOK, 0);
      return true;
    });
  }
  void expect_text(const std::string& want) {
    d.then("the text " + want, [=, this] {
      // The focus may come back a little later, when the form is active again.
      return text() == want && GetFocus() == mmo();
    });
  }
  // Waits for a dialog, fills it, and presses one of its buttons.
  void in_dialog(TokenDialog& dlg, std::function<void()> fill, HWND (TokenDialog::*button)() const) {
    d.then(std::string("dialog ") + text_of(dlg.hwnd()), [=, this, &dlg] {
      if (!IsWindowVisible(dlg.hwnd()) || GetForegroundWindow() != dlg.hwnd()) return false;
      fill();
      PostMessageA(dlg.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID((dlg.*button)()), BN_CLICKED),
                   reinterpret_cast<LPARAM>((dlg.*button)()));
      return true;
    });
  }
  void in_question(const char* caption, const char* answer, bool ok) {
    d.then(std::string("question ") + caption, [=, this] {
      HWND q = editor.line_input().hwnd();
      if (!IsWindowVisible(q)) return false;
      EXPECT_EQ(text_of(q), caption);
      EXPECT_EQ(text_of(editor.line_input().edtAnswer()), "");
      EXPECT_EQ(GetFocus(), editor.line_input().edtAnswer());
      SetWindowTextA(editor.line_input().edtAnswer(), answer);
      if (ok)
        key(editor.line_input().edtAnswer(), VK_RETURN);
      else
        key(editor.line_input().edtAnswer(), VK_ESCAPE);
      return true;
    });
  }
};

}  // namespace kv::test
