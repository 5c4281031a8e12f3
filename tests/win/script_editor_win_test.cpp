// The script editor page in a window of its own, driven through its real controls: every menu
// and token dialog inserts at the caret in place of the selection, with Undo and without the
// clipboard; hints come first while "Show Hints" is on; the dialogs keep what was typed; Enter
// presses the form's default button, Ctrl+Enter breaks the line, Tab and Esc leave the field.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/win/script_editor_rig_win.h"

using namespace kv::test;
using kv::TokenDialogKind;
using kv::TokenMenu;
using kv::win::TokenDialog;

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
