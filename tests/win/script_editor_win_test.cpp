// The script editor page in a window of its own, driven through its real controls: every menu
// and token dialog inserts at the caret in place of the selection, with Undo and without the
// clipboard; hints come first while "Show Hints" is on; the dialogs keep what was typed; Enter
// presses the form's default button, Ctrl+Enter breaks the line, Tab and Esc leave the field.
#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "forms/hint_form_win.h"
#include "forms/script_editor_win.h"
#include "forms/token_dialogs_win.h"
#include "platform/win32/adapters.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/win/steps_win.h"

using namespace kv::win;
using kv::TokenDialogKind;
using kv::TokenMenu;
using kv::test::text_of;

namespace {

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

BOOL CALLBACK match_visible(HWND w, LPARAM lp) {
  auto* f = reinterpret_cast<FindTop*>(lp);
  char c[64] = {};
  GetClassNameA(w, c, sizeof c);
  if (lstrcmpA(c, f->cls) != 0 || !IsWindowVisible(w)) return TRUE;
  f->found = w;
  return FALSE;
}

// A visible top-level window of this thread with that class.
HWND visible_window(const char* cls) {
  FindTop f{cls};
  EnumThreadWindows(GetCurrentThreadId(), match_visible, reinterpret_cast<LPARAM>(&f));
  return f.found;
}

void key(HWND w, UINT vk) {
  PostMessageA(w, WM_KEYDOWN, vk, 1);
  PostMessageA(w, WM_KEYUP, vk, 0xC0000001);
}

void set_ctrl(bool down) {
  BYTE state[256];
  GetKeyboardState(state);
  state[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(state);
}

std::string clipboard_text() {
  std::string text;
  if (!OpenClipboard(nullptr)) return "(clipboard busy)";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(GlobalLock(h));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return text;
}

void set_clipboard_text(const std::string& text) {
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

}  // namespace

TEST(ScriptEditor, EveryMenuInsertsAtTheCaretInPlaceOfTheSelectionAndLeavesTheClipboard) {
  Rig r;
  set_clipboard_text("the user's own copy");
  r.hints(true);
  // Enter over a selection, after no hint; Undo takes it back in one step.
  r.start("Hello world!", 6, 11);
  r.choose(TokenMenu::SpecialKeys, 6);
  r.expect_text("Hello <<ENTER>>!");
  r.d.then("caret behind the token, Undo", [&] {
    EXPECT_EQ(r.selection(), (std::pair{15, 15}));
    SendMessageA(r.mmo(), EM_UNDO, 0, 0);
    EXPECT_EQ(r.text(), "Hello world!");
    return true;
  });
  // A modifier: its hint first.
  r.start("", 0, 0);
  r.choose(TokenMenu::SpecialKeys, 3);
  r.close_hint("You have selected a key modifyer.");
  r.expect_text("<<CTRL+ALT>>");
  // Date / Time with its own hint; entry 0 of More Keys, without one.
  r.choose(TokenMenu::DateTime, 1);
  r.close_hint("The way your system defines a long date");
  r.expect_text("<<CTRL+ALT>><<LONGDATE>>");
  r.choose(TokenMenu::MoreKeys, 0);
  r.expect_text("<<CTRL+ALT>><<LONGDATE>><<HOME>>");
  // Hints off: no hint, at once.
  r.d.then("hints off", [&] {
    r.hints(false);
    return true;
  });
  r.start("ab", 1, 1);
  r.choose(TokenMenu::Repeat, 1);
  r.expect_text("a<<ENDREP>>b");
  r.choose(TokenMenu::Misc, 1);
  r.expect_text("a<<ENDREP>><<WRITEVALUE>>b");
  // Its access key drops a menu too, below the button; closing it chooses nothing.
  r.d.then("Alt+K", [&] {
    PostMessageA(r.mmo(), WM_SYSCHAR, 'k', 0x20000001);
    return true;
  });
  r.d.then("the menu below its button", [&] {
    const HWND popup = visible_window("#32768");
    if (!popup) return false;
    RECT m, b;
    GetWindowRect(popup, &m);
    GetWindowRect(r.editor.menu_button(TokenMenu::SpecialKeys).hwnd(), &b);
    EXPECT_EQ(m.left, b.left);
    EXPECT_EQ(m.top, b.bottom - 1);
    key(popup, VK_ESCAPE);
    return true;
  });
  r.d.then("the menu closed", [&] { return visible_window("#32768") == nullptr; });
  r.d.run();
  EXPECT_EQ(r.text(), "a<<ENDREP>><<WRITEVALUE>>b");
  EXPECT_EQ(r.editor.menu_button(TokenMenu::SpecialKeys).ItemIndex, 3);
  EXPECT_EQ(clipboard_text(), "the user's own copy");
}

TEST(ScriptEditor, TokenDialogsInsertOnOkNothingOnCancelAndKeepWhatWasTyped) {
  Rig r;
  set_clipboard_text("kept");
  r.profile.write_string("Main", "WaitForSeparator", "|");
  r.start("", 0, 0);
  // Start a Delay: hint, then the Wait dialog with its time field focused.
  r.d.then("hints on, Start a Delay", [&] {
    r.hints(true);
    PostMessageA(r.editor.cmdDelay(), BM_CLICK, 0, 0);
    return true;
  });
  r.close_hint("This option is especially useful");
  r.d.then("hints off", [&] {
    r.hints(false);
    return true;
  });
  r.in_dialog(
      r.wait,
      [&] {
        EXPECT_EQ(text_of(r.wait.hwnd()), "Wait Time");
        EXPECT_EQ(GetFocus(), r.wait.field(kv::TokenField::Time));
        EXPECT_EQ(SendMessageA(r.wait.optSeconds(), BM_GETCHECK, 0, 0), BST_CHECKED);
        SetWindowTextA(r.wait.field(kv::TokenField::Time), "15");
      },
      &TokenDialog::cmdOK);
  r.expect_text("<<SECS15>>");
  // Again: 15 still there; Minutes, then Cancel inserts nothing.
  r.d.then("Start a Delay", [&] {
    PostMessageA(r.editor.cmdDelay(), BM_CLICK, 0, 0);
    return true;
  });
  r.in_dialog(
      r.wait,
      [&] {
        EXPECT_EQ(text_of(r.wait.field(kv::TokenField::Time)), "15");
        SendMessageA(r.wait.optSeconds(), BM_SETCHECK, BST_UNCHECKED, 0);
        SendMessageA(r.wait.optMinutes(), BM_SETCHECK, BST_CHECKED, 0);
      },
      &TokenDialog::cmdCancel);
  r.d.then("Start a Delay", [&] {
    if (IsWindowVisible(r.wait.hwnd())) return false;
    EXPECT_EQ(r.text(), "<<SECS15>>");
    PostMessageA(r.editor.cmdDelay(), BM_CLICK, 0, 0);
    return true;
  });
  r.in_dialog(
      r.wait, [&] { EXPECT_EQ(SendMessageA(r.wait.optMinutes(), BM_GETCHECK, 0, 0), BST_CHECKED); },
      &TokenDialog::cmdOK);
  r.expect_text("<<SECS15>><<MINS15>>");

  // Repeat: Enter in its count field presses nothing (no default button).
  r.choose(TokenMenu::Repeat, 0);
  r.d.then("Enter in the repeat count", [&] {
    if (!IsWindowVisible(r.repeat.hwnd()) || GetForegroundWindow() != r.repeat.hwnd()) return false;
    EXPECT_EQ(GetFocus(), r.repeat.field(kv::TokenField::Time));
    SetWindowTextA(r.repeat.field(kv::TokenField::Time), "3");
    key(r.repeat.field(kv::TokenField::Time), VK_RETURN);
    return true;
  });
  r.in_dialog(
      r.repeat, [] {}, &TokenDialog::cmdOK);
  r.expect_text("<<SECS15>><<MINS15>><<REP3>>");

  r.start("", 0, 0);
  r.choose(TokenMenu::Misc, 0);
  r.in_dialog(
      r.input_box, [&] { SetWindowTextA(r.input_box.field(kv::TokenField::Title), " Customer "); },
      &TokenDialog::cmdOK);
  r.expect_text("<<INPUT:Customer>>");

  // Wait for a window: the title is asked for first, the dialog stays open.
  r.start("", 0, 0);
  r.choose(TokenMenu::Misc, 3);
  r.in_dialog(
      r.wait_for_window,
      [&] {
        EXPECT_EQ(text_of(r.wait_for_window.field(kv::TokenField::Time)), "5");
        SetWindowTextA(r.wait_for_window.field(kv::TokenField::Time), "");
      },
      &TokenDialog::cmdOK);
  r.d.then("the title message", [&] {
    const HWND box = visible_window("#32770");
    if (!box) return false;
    char text[200] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    EXPECT_STREQ(text, "Please specify the title of the window that you would like to look for.");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return true;
  });
  r.d.then("title focused, still open", [&] {
    if (visible_window("#32770") || GetFocus() != r.wait_for_window.field(kv::TokenField::Title)) return false;
    EXPECT_TRUE(IsWindowVisible(r.wait_for_window.hwnd()));
    SetWindowTextA(r.wait_for_window.field(kv::TokenField::Title), "Untitled - Notepad");
    SetWindowTextA(r.wait_for_window.field(kv::TokenField::Time), "5");
    return true;
  });
  r.in_dialog(
      r.wait_for_window, [] {}, &TokenDialog::cmdOK);
  r.expect_text("<<LOOKFOR:Untitled - Notepad|SECS:5>>");
  r.d.run();
  EXPECT_EQ(clipboard_text(), "kept");
}

TEST(ScriptEditor, QuestionsAndTheFileDialogInsertAsGivenAndNothingWhenCancelled) {
  Rig r;
  r.start("", 0, 0);
  r.choose(TokenMenu::Misc, 2);
  r.in_question("Run another macro", "No Such Macro", true);
  r.expect_text("<<RUN:No Such Macro>>");
  r.choose(TokenMenu::Misc, 2);
  r.in_question("Run another macro", "Typed, then cancelled", false);
  r.choose(TokenMenu::Misc, 4);
  r.in_question("Bring a window into focus", "", true);
  r.choose(TokenMenu::Misc, 4);
  r.in_question("Bring a window into focus", "Calculator", true);
  r.expect_text("<<RUN:No Such Macro>><<FOCUS:Calculator>>");
  // The file: its hint first, then the dialog owned by the form.
  r.d.then("a file to choose, hints on", [&] {
    r.hints(true);
    r.chosen_file = "C:\\Tools\\run me.exe";
    return true;
  });
  r.start("", 0, 0);
  r.choose(TokenMenu::Misc, 5);
  r.close_hint("Note that you may use this option");
  r.expect_text("<<EXECUTE:C:\\Tools\\run me.exe>>");
  r.d.then("the dialog cancelled", [&] {
    r.hints(false);
    r.chosen_file.reset();
    return true;
  });
  r.choose(TokenMenu::Misc, 5);
  r.d.then("the dialog asked for", [&] { return r.log.size() == 8; });
  r.d.run();
  EXPECT_EQ(r.text(), "<<EXECUTE:C:\\Tools\\run me.exe>>");
  // Every command gives its hint first (shown only while hints are on).
  const std::string run = "hint: Use this option to run any pre", focus = "hint: Use this option to bring a win",
                    file = "hint: Note that you may use this opt";
  EXPECT_EQ(r.log, (std::vector<std::string>{run, run, focus, focus, file, "file asked by the form", file,
                                             "file asked by the form"}));
}

TEST(ScriptEditor, EnterPressesTheDefaultButtonCtrlEnterBreaksTheLineTabAndEscLeave) {
  Rig r;
  r.start("one", 3, 3);
  r.d.then("Enter", [&] {
    key(r.mmo(), VK_RETURN);
    return true;
  });
  r.d.then("the default button pressed", [&] {
    if (r.host.next != 1) return false;
    EXPECT_EQ(r.text(), "one");
    set_ctrl(true);
    key(r.mmo(), VK_RETURN);
    PostMessageA(r.mmo(), WM_CHAR, '\n', 1);  // what Ctrl+Enter types
    return true;
  });
  r.d.then("a line break", [&] {
    if (r.text() != "one\r\n") return false;
    set_ctrl(false);
    EXPECT_EQ(r.host.next, 1);
    EXPECT_EQ(r.selection(), (std::pair{5, 5}));
    key(r.mmo(), VK_TAB);
    return true;
  });
  // Tab goes through the two rows of buttons, left to right, then on to the form's buttons.
  const std::vector<HWND> order = {
      r.editor.menu_button(TokenMenu::SpecialKeys).hwnd(), r.editor.cmdDelay(),
      r.editor.menu_button(TokenMenu::DateTime).hwnd(),    r.editor.menu_button(TokenMenu::MoreKeys).hwnd(),
      r.editor.menu_button(TokenMenu::Repeat).hwnd(),      r.editor.menu_button(TokenMenu::Misc).hwnd()};
  for (HWND next : order) {
    r.d.then("Tab on", [&r, next] {
      if (GetFocus() != next) return false;
      key(next, VK_TAB);
      return true;
    });
  }
  r.d.then("Tab out of the page", [&] {
    if (GetFocus() == r.editor.menu_button(TokenMenu::Misc).hwnd()) return false;
    EXPECT_FALSE(IsChild(r.editor.pnlManualKeys(), GetFocus()));
    SetFocus(r.mmo());
    key(r.mmo(), VK_ESCAPE);
    return true;
  });
  r.d.then("Esc to the form's cancel", [&] {
    if (r.host.cancel != 1) return false;
    EXPECT_TRUE(IsWindow(r.editor.pnlManualKeys()));
    EXPECT_EQ(r.text(), "one\r\n");
    return true;
  });
  r.d.run();
}
