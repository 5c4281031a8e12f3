"""The Macro Properties dialog, whole program: opened from the manager window's "Edit Macro",
its "&Properties" menu item and a double click, it renames a script macro and gives it a new
hotkey that types its script at once, changes a program macro's program, edits a script in the
wizard's edit mode, refuses another macro's name, re-records a keystroke macro (OK installs the
take, Cancel drops it), and Cancel (Esc) changes nothing. While it is
open macro hotkeys do nothing, also after the script editor was opened and closed from it."""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402

CTRL_ALT = kvtest.CTRL | kvtest.ALT
HOTKEYF_CTRL, HOTKEYF_ALT = 2, 4
HKM_SETHOTKEY, HKM_GETHOTKEY, WM_KEYDOWN, VK_UP, VK_RETURN = 0x401, 0x402, 0x100, 0x26, 0x0D
NAME, FILE, BROWSE, EDIT_MACRO, TYPE_TEXT, HOTKEY, TRIGGER = 1106, 1108, 1109, 1110, 1104, 1115, 1117
RECORD, STOP, PLAY, PRACTICE, OK, CANCEL = 1120, 1121, 1122, 1124, 1, 2
WIZARD_NEXT, WIZARD_BACK, WIZARD_SAVE, WIZARD_HEADING, EDITOR = 1001, 1002, 1004, 1011, 200
NOT_LOADED = "Error: Keyvane could not load the macro file for this macro"
NAME_TAKEN = "You have selected a name of an existing macro, please select another."


class Dialog:
    """A window of the running Keyvane driven through its controls' ids."""

    def __init__(self, session, hwnd):
        self.s, self.hwnd = session, hwnd

    def controls(self):
        """{id: (hwnd, visible, enabled, text)}"""
        rc, out = self.s.drive("children", self.hwnd)
        found = {}
        for line in out.split("\n"):
            parts = line.strip().split(" ", 5)
            if len(parts) == 6:
                found.setdefault(int(parts[1]), (parts[0], parts[3] == "1", parts[4] == "1", parts[5][1:-1]))
        return found

    def control(self, cid):
        return self.controls()[cid][0]

    def text(self, cid):
        return self.s.drive("gettext", self.control(cid))[1].rstrip("\n")

    def set_text(self, cid, text):
        self.s.drive("settext", self.control(cid), text)

    def click(self, cid):
        self.s.drive("click", self.control(cid))

    def shown(self):
        return {cid for cid, c in self.controls().items() if c[1]}


class Properties(kvtest.WineTestCase):
    def open_manager(self, *macros):
        self.s.macros(*macros, main={"FirstRun": 1})
        self.s.keyvane("")
        form = self.s.find("TfrmMain", "Ostrel Keyvane", 20000, visible=True)
        self.assertIsNotNone(form, "the manager window was not shown")
        rc, lv = self.s.drive("child", form, "SysListView32", "-")
        return form, lv.strip()

    def rows(self, lv):
        rc, out = self.s.drive("lvdump", lv)
        return [l.split("\t")[1:3] for l in out.split("\n")[1:] if l.strip()]

    def click_row(self, lv, index, how=None):
        rc, out = self.s.wine(os.path.join(self.s.tools, "kvmgr.exe"), "lvclick", lv, str(index), *([how] if how else []))
        self.assertEqual(rc, 0, "could not click row %d" % index)

    def dialog(self):
        hwnd = self.s.find("TfrmProperties", "Macro Properties", 15000, visible=True)
        self.assertIsNotNone(hwnd, "the properties dialog did not open")
        d = Dialog(self.s, hwnd)
        wait_for(lambda: d.text(NAME) != "", 10, what="the dialog's fields")
        return d

    def closed(self):
        wait_for(lambda: self.s.find("TfrmProperties", "Macro Properties", 0, visible=True) is None, 15,
                 what="the dialog to close")

    def chars(self, log="target.log"):
        return "".join(chr(int(l.split()[1], 16)) for l in self.s.marker_lines(log) if l.startswith("CHAR "))

    def set_hotkey(self, d, key):
        self.s.drive("send", d.control(HOTKEY), str(HKM_SETHOTKEY), str(ord(key) | (HOTKEYF_CTRL | HOTKEYF_ALT) << 8), "0")

    def answer(self, title, button):
        box = self.s.msgbox(title, 10000)
        self.assertIsNotNone(box, "no %r message box" % title)
        rc, b = self.s.drive("child", box[0], "Button", button)
        self.s.drive("click", b.strip())
        self.s.drive("waitgone", "#32770", title, "10000")
        return box[1]

    def ini_bytes(self):
        with open(self.s.ini_path, "rb") as f:
            return f.read()

    def test_a_renamed_script_macro_with_a_new_hotkey_types_at_once(self):
        self.s.put("Notes.key", "typed<<ENTER>>")
        form, lv = self.open_manager({"Name": "Notes", "Type": 4, "FileName": "Notes.key",
                                      "HotKey": kvtest.hotkey(CTRL_ALT, "N")})
        self.click_row(lv, 0)
        rc, button = self.s.drive("child", form, "Button", "Edit Macro")
        self.s.drive("click", button.strip())
        d = self.dialog()
        self.assertEqual(d.text(TYPE_TEXT), "Playback Manually Created Keystrokes")
        self.assertEqual(d.text(NAME), "Notes")
        shown = d.shown()
        self.assertIn(EDIT_MACRO, shown)
        self.assertFalse({FILE, BROWSE, RECORD, PRACTICE} & shown, shown)
        # With the dialog open the macro's hotkey does nothing.
        log = self.s.target()
        self.s.xdotool("key", "ctrl+alt+n")
        time.sleep(2.0)
        self.assertEqual(self.chars(log), "", "the hotkey ran its macro with the dialog open")
        d.set_text(NAME, "Memo")
        self.set_hotkey(d, "M")
        d.click(OK)
        self.closed()
        ini = self.s.read_ini()["MACRO1"]
        self.assertEqual((ini["NAME"], ini["FILENAME"], ini["HOTKEY"]),
                         ("Memo", "Memo.key", str(kvtest.hotkey(CTRL_ALT, "M"))))
        self.assertTrue(os.path.exists(self.s.path("Memo.key")))
        self.assertFalse(os.path.exists(self.s.path("Notes.key")))
        wait_for(lambda: self.rows(lv) == [["Memo", "Ctrl+Alt+M"]], 10, what="the renamed row")
        self.s.focus("Keyvane Target")
        self.s.xdotool("key", "ctrl+alt+n")
        self.s.xdotool("key", "ctrl+alt+m")
        wait_for(lambda: self.chars(log) == "typed\r", 20, what="the script typed by the new hotkey")
        time.sleep(1.0)
        self.assertEqual(self.chars(log), "typed\r", "the old hotkey still runs the macro")
        # A change of letter case only renames the macro's own file.
        # The target stands over the list: the row is selected and the button pressed by message.
        self.s.drive("lvselect", lv, "0")
        self.s.drive("click", button.strip())
        d = self.dialog()
        d.set_text(NAME, "MEMO")
        d.click(OK)
        self.closed()
        self.assertEqual(self.s.read_ini()["MACRO1"]["FILENAME"], "MEMO.key")
        self.assertIn("MEMO.key", os.listdir(self.s.progdir))
        self.assertNotIn("Memo.key", os.listdir(self.s.progdir))

    def test_the_script_is_edited_in_the_wizard_and_saved_at_once(self):
        self.s.put("Notes.key", "\r\n  old<<ENTER>>\r\n\r\n")
        form, lv = self.open_manager({"Name": "Lost", "Type": 4, "FileName": "Lost.key"},
                                     {"Name": "Notes", "Type": 4, "FileName": "Notes.key",
                                      "HotKey": kvtest.hotkey(CTRL_ALT, "N")})
        # A script file that is not there: reported, no wizard.
        self.click_row(lv, 0, "double")
        d = self.dialog()
        d.click(EDIT_MACRO)
        self.assertIn(NOT_LOADED, self.answer("Keyvane", "OK"))
        self.assertIsNone(self.s.find("TfrmWizard", "Macro Setup Wizard", 500, visible=True))
        d.click(CANCEL)
        self.closed()
        # Double click on the second row; its script in the wizard's edit mode.
        self.click_row(lv, 1, "double")
        d = self.dialog()
        self.assertEqual(d.text(NAME), "Notes")
        self.s.focus("Macro Properties")
        self.s.xdotool("key", "alt+e")  # "&Edit Macro"
        wiz_hwnd = self.s.find("TfrmWizard", "Macro Setup Wizard", 15000, visible=True)
        self.assertIsNotNone(wiz_hwnd, "the wizard did not open")
        wiz = Dialog(self.s, wiz_hwnd)
        wait_for(lambda: wiz.text(EDITOR) == "old<<ENTER>>", 10, what="the trimmed script in the editor")
        self.assertEqual(wiz.text(WIZARD_HEADING), "Create an advanced macro")
        shown = wiz.shown()
        self.assertIn(WIZARD_SAVE, shown)
        self.assertFalse({WIZARD_NEXT, WIZARD_BACK} & shown, shown)
        wiz.set_text(EDITOR, "new<<ENTER>>")
        wiz.click(WIZARD_SAVE)
        wait_for(lambda: self.s.find("TfrmWizard", "Macro Setup Wizard", 0, visible=True) is None, 15,
                 what="the wizard to close")
        with open(self.s.path("Notes.key"), "rb") as f:
            self.assertEqual(f.read(), b"new<<ENTER>>\r\n")
        # The dialog is still open: hotkeys stay suspended.
        log = self.s.target()
        self.s.xdotool("key", "ctrl+alt+n")
        time.sleep(2.0)
        self.assertEqual(self.chars(log), "", "the hotkey ran with the dialog still open")
        d.click(OK)
        self.closed()
        self.s.focus("Keyvane Target")
        self.s.xdotool("key", "ctrl+alt+n")
        wait_for(lambda: self.chars(log).startswith("new\r"), 20, what="the saved script typed")

    def test_a_program_macro_takes_its_new_program_from_the_menu_and_enter(self):
        marker = self.s.tool_copy("kvmarker.exe")
        form, lv = self.open_manager({"Name": "Launch", "Type": 1, "FileName": "C:\\nothing-here.exe",
                                      "HotKey": kvtest.hotkey(CTRL_ALT, "L")})
        self.click_row(lv, 0, "right")
        rc, menu = self.s.drive("popupmenu", "10000")
        self.assertEqual(rc, 0, "the popup menu did not open")
        for k in (VK_UP, VK_RETURN):  # "&Properties" is the last item
            self.s.drive("post", menu.strip(), str(WM_KEYDOWN), str(k), "0")
            time.sleep(0.15)
        d = self.dialog()
        self.assertEqual(d.text(TYPE_TEXT), "Start an Application or Launch a Document")
        self.assertEqual(d.text(FILE), "C:\\nothing-here.exe")
        shown = d.shown()
        self.assertTrue({FILE, BROWSE} <= shown, shown)
        self.assertFalse({EDIT_MACRO, RECORD} & shown, shown)
        # From the keyboard alone: Tab goes from the name to the program, past Browse to the
        # hotkey and on to the window title; Enter is OK.
        d.set_text(FILE, "")
        self.s.focus("Macro Properties")
        self.s.xdotool("key", "Tab")
        self.s.xdotool("type", "--delay", "20", marker + "   ")
        self.s.xdotool("key", "Tab", "Tab", "ctrl+alt+j", "Tab")
        self.s.xdotool("type", "--delay", "20", "Tabbed")
        wait_for(lambda: d.text(TRIGGER) == "Tabbed", 10, what="the window title typed")
        self.s.xdotool("key", "Return")
        self.closed()
        ini = self.s.read_ini()["MACRO1"]
        self.assertEqual((ini["FILENAME"], ini["HOTKEY"], ini["TRIGGER"]),
                         (marker, str(kvtest.hotkey(CTRL_ALT, "J")), "Tabbed"))
        self.s.target()
        self.s.xdotool("key", "ctrl+alt+l")
        time.sleep(1.5)
        self.assertEqual(self.s.marker_lines(), [], "the old hotkey still runs the macro")
        self.s.xdotool("key", "ctrl+alt+j")
        wait_for(lambda: self.s.marker_lines() == ["RAN kvmarker.exe"], 15, what="the new program's run")

    def test_another_macros_name_is_refused_and_esc_changes_nothing(self):
        self.s.put("Keys.dat", "a recording")
        form, lv = self.open_manager({"Name": "Keys", "Type": 2, "FileName": "Keys.dat",
                                      "HotKey": kvtest.hotkey(CTRL_ALT, "K")},
                                     {"Name": "Other", "Type": 4, "FileName": "Other.key"})
        before = self.ini_bytes()
        self.click_row(lv, 0)
        rc, button = self.s.drive("child", form, "Button", "Edit Macro")
        self.s.drive("click", button.strip())
        d = self.dialog()
        self.assertEqual(d.text(TYPE_TEXT), "Playback Keystrokes")
        shown = d.shown()
        self.assertTrue({RECORD, STOP, PLAY, PRACTICE} <= shown, shown)
        self.assertFalse({FILE, BROWSE, EDIT_MACRO} & shown, shown)
        d.set_text(NAME, "other ")
        d.click(OK)
        self.assertIn(NAME_TAKEN, self.answer("Keyvane", "OK"))
        self.assertIsNotNone(self.s.find("TfrmProperties", "Macro Properties", 0, visible=True))
        self.assertEqual(self.ini_bytes(), before)
        self.set_hotkey(d, "Q")
        self.s.focus("Macro Properties")
        self.s.xdotool("key", "Escape")
        self.closed()
        self.assertEqual(self.ini_bytes(), before)
        with open(self.s.path("Keys.dat"), "rb") as f:
            self.assertEqual(f.read(), b"a recording")
        self.assertFalse(os.path.exists(self.s.path("Other.dat")))

    def test_a_new_take_is_installed_by_ok_and_dropped_by_cancel(self):
        self.s.put("Keys.dat", dat_file([(0, 1, 0x58, 0x2D, 0, 0), (10, 2, 0x58, 0x2D, 0, 0)], 10), binary=True)
        form, lv = self.open_manager({"Name": "Keys", "Type": 2, "FileName": "Keys.dat",
                                      "HotKey": kvtest.hotkey(CTRL_ALT, "K")})
        for keep in (False, True):
            self.click_row(lv, 0)
            rc, button = self.s.drive("child", form, "Button", "Edit Macro")
            self.s.drive("click", button.strip())
            d = self.dialog()
            d.click(RECORD)
            wait_for(lambda: not d.controls()[OK][2] and not d.controls()[CANCEL][2], 10,
                     what="OK and Cancel off during the recording")
            self.s.focus("Macro Properties")
            self.s.xdotool("type", "--delay", "60", "abc")
            wait_for(lambda: d.text(PRACTICE) == "abc", 10, what="the keys in the practice box")
            d.click(STOP)
            wait_for(lambda: d.controls()[OK][2], 10, what="OK back after Stop")
            self.assertTrue(os.path.exists(self.s.path("~temp.dat")))
            d.click(OK if keep else CANCEL)
            self.closed()
            self.assertFalse(os.path.exists(self.s.path("~temp.dat")))
            log = self.s.target("Target %d" % keep, "target%d.log" % keep)
            self.s.xdotool("key", "ctrl+alt+k")
            want = "abc" if keep else "x"
            wait_for(lambda: self.chars(log) == want, 15, what="the recording played by the hotkey")


def dat_file(events, duration_ms, keys_only=True):
    """A recording in the program's .dat format: events are (offset_ms, kind, code, a, b, wheel)."""
    body = b"".join(struct.pack("<IBBBBHHi", t, kind, 0, code, 0, a, b, wheel)
                    for t, kind, code, a, b, wheel in events)
    head = b"KVJR" + struct.pack("<HHIII", 1, 24, 1 if keys_only else 0, len(events), duration_ms)
    return head + struct.pack("<I", zlib.crc32(head + body) & 0xFFFFFFFF) + body


if __name__ == "__main__":
    kvtest.main()
