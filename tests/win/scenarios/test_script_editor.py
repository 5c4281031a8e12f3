"""The script editor, whole program: a kind-4 macro is built in the wizard from every menu and
every token dialog, with a selection replaced and the user's clipboard left alone; its .key file
reads back as the editor showed it, and its hotkey types what the script says."""
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402
from test_typing import Target  # noqa: E402

WM_COMMAND, WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN = 0x111, 0x100, 0x102, 0x201
EM_SETSEL, BM_SETCHECK, HKM_SETHOTKEY = 0xB1, 0xF1, 0x401
VK_RETURN, VK_DOWN = 0x0D, 0x28
NEXT, FINISHED, HEADING, NAME, HOTKEY = 1001, 1003, 1011, 1030, 1040
MMO, DELAY, SPECIAL, DATE, MORE, REPEAT, MISC = 200, 201, 210, 211, 212, 213, 214
TITLE, TIME, OK_NO_DEFAULT, IDOK = 20, 21, 10, 1


class ScriptEditor(kvtest.WineTestCase):
    def ctl(self, form, ident):
        rc, out = self.s.drive("children", form)
        for line in out.split("\n"):
            w = line.split()
            if len(w) > 1 and int(w[1]) == ident:
                return w[0]
        self.fail("no control %d" % ident)

    def page(self, heading):
        wait_for(lambda: self.s.drive("gettext", self.ctl(self.wiz, HEADING))[1].strip() == heading, 15,
                 what="the wizard's page " + heading)

    def text(self):
        rc, out = self.s.drive("gettext", self.mmo)
        return out.rstrip("\n")

    def expect(self, want):
        # Line breaks come back from the tool as bare LFs; the .key file shows them as saved.
        want = want.replace("\r\n", "\n")
        wait_for(lambda: self.text() == want, 15, what="the script %r (it is %r)" % (want, self.text()))

    def pick(self, menu, entry):
        self.s.drive("post", self.ctl(self.wiz, menu), str(WM_LBUTTONDOWN), "1", "0x00050005")
        rc, popup = self.s.drive("popupmenu", "10000")
        self.assertEqual(rc, 0, "the menu of %d did not drop" % menu)
        for _ in range(entry + 1):
            self.s.drive("post", popup.strip(), str(WM_KEYDOWN), str(VK_DOWN), "0")
        self.s.drive("post", popup.strip(), str(WM_KEYDOWN), str(VK_RETURN), "0")

    def type_chars(self, text):
        for c in text:
            self.s.drive("post", self.mmo, str(WM_CHAR), str(ord(c)), "1")

    def dialog(self, cls, fields, ok):
        """Fills the dialog's fields {id: text} and presses the button with id ok."""
        dlg = self.s.find(cls, "-", 15000, visible=True)
        self.assertIsNotNone(dlg, "%s was not shown" % cls)
        for ident, value in fields.items():
            self.s.drive("settext", self.ctl(dlg, ident), value)
        self.s.drive("post", dlg, str(WM_COMMAND), str(ok), "0")
        wait_for(lambda: self.s.find(cls, "-", 0, visible=True) is None, 15, what=cls + " to close")

    def test_a_script_from_every_menu_and_dialog_is_saved_and_runs(self):
        s = self.s
        marker = s.tool_copy("kvmarker.exe", "started.exe")
        s.put("Other.key", "x")
        s.macros({"Name": "Other", "Type": 4, "FileName": "Other.key"}, main={"FirstRun": 1, "Show Hints": 1})
        self.assertEqual(s.drive("setclip", "the user's own copy")[0], 0)
        s.keyvane("")
        main = s.find("TfrmMain", "Ostrel Keyvane", 30000, visible=True)
        self.assertIsNotNone(main, "the manager window was not shown")
        rc, new = s.drive("child", main, "Button", "New Macro")
        s.drive("click", new.strip())
        self.wiz = s.find("TfrmWizard", "Macro Setup Wizard", 20000, visible=True)
        self.assertIsNotNone(self.wiz, "the wizard was not shown")
        self.page("What would you like this macro to do?")
        s.drive("click", self.ctl(self.wiz, NEXT))
        self.page("Name Your Macro")
        s.drive("settext", self.ctl(self.wiz, NAME), "Letter")
        s.drive("click", self.ctl(self.wiz, NEXT))
        self.page("Select Triggers")
        s.drive("send", self.ctl(self.wiz, HOTKEY), str(HKM_SETHOTKEY), "0x652", "0")  # Ctrl+Alt+R
        s.drive("click", self.ctl(self.wiz, NEXT))
        self.page("Create an advanced macro")
        self.mmo = self.ctl(self.wiz, MMO)

        # A modifier over a selection: its hint first; unticked there, no more hints follow.
        s.drive("settext", self.mmo, "Dear XX,")
        s.drive("post", self.mmo, str(EM_SETSEL), "5", "7")
        self.pick(SPECIAL, 2)
        hint = s.find("TfrmHint", "Keyvane Hints", 15000, visible=True)
        self.assertIsNotNone(hint, "the modifier's hint was not shown")
        s.drive("send", self.ctl(hint, 101), str(BM_SETCHECK), "0", "0")
        s.drive("post", hint, str(WM_COMMAND), str(IDOK), "0")
        self.expect("Dear <<SHIFT>>,")
        # The caret stands behind the token, before the comma: the rest goes in there.
        self.type_chars("sir ")
        script = "Dear <<SHIFT>>sir "
        self.expect(script + ",")

        steps = [
            (lambda: self.pick(REPEAT, 0), ("TfrmRepeat", {TIME: "2"}, OK_NO_DEFAULT), "<<REP2>>"),
            (lambda: self.type_chars("ab"), None, "ab"),
            (lambda: self.pick(REPEAT, 1), None, "<<ENDREP>>"),
            (lambda: self.pick(MORE, 0), None, "<<HOME>>"),
            (lambda: s.drive("click", self.ctl(self.wiz, DELAY)), ("TfrmWait", {TIME: "1"}, IDOK), "<<SECS1>>"),
            (lambda: self.pick(DATE, 0), None, "<<SHORTDATE>>"),
            (lambda: self.pick(MISC, 0), ("TfrmInputBox", {TITLE: "Name?"}, IDOK), "<<INPUT:Name?>>"),
            (lambda: self.pick(MISC, 1), None, "<<WRITEVALUE>>"),
            (lambda: self.pick(MISC, 3), ("TfrmWaitforWindow", {TITLE: "Keyvane Target"}, OK_NO_DEFAULT),
             "<<LOOKFOR:Keyvane Target~~SECS:5>>"),
            (lambda: self.pick(MISC, 4), ("KeyvaneLineInput", {101: "Keyvane Target"}, IDOK),
             "<<FOCUS:Keyvane Target>>"),
            (lambda: self.pick(MISC, 2), ("KeyvaneLineInput", {101: "Other"}, IDOK), "<<RUN:Other>>"),
        ]
        for act, dialog, token in steps:
            act()
            if dialog:
                self.dialog(*dialog)
            script += token
            self.expect(script + ",")
        # The file-open dialog: a program chosen by its full path.
        self.pick(MISC, 5)
        box = wait_for(lambda: s.msgbox("Open", 1000), 20, what="the file-open dialog")
        rc, edit = s.drive("child", box[0], "Edit", "-")
        self.assertEqual(rc, 0, "no file name field")
        s.drive("settext", edit.strip(), marker)
        s.drive("post", box[0], str(WM_COMMAND), str(IDOK), "0")
        script += "<<EXECUTE:%s>>" % marker
        self.expect(script + ",")
        self.assertEqual(s.drive("getclip")[1].rstrip("\n"), "the user's own copy")
        self.assertEqual(s.read_ini()["MAIN"].get("SHOW HINTS"), "0")

        # From the keyboard: Ctrl+Enter breaks the line, Enter is the wizard's Next.
        s.focus("Macro Setup Wizard")
        s.xdotool("key", "ctrl+Return")
        script += "\r\n"
        self.expect(script + ",")
        self.type_chars("PS")
        script += "PS"
        self.expect(script + ",")
        s.xdotool("key", "Return")
        self.page("Finished")
        s.drive("click", self.ctl(self.wiz, FINISHED))
        key = s.path("Letter.key")
        wait_for(lambda: os.path.exists(key), 15, what="Letter.key")
        with open(key, "rb") as f:
            self.assertEqual(f.read().decode("latin-1"), script + ",\r\n")

        # The hotkey runs it into the target window.
        wait_for(lambda: s.find("TfrmWizard", "Macro Setup Wizard", 0, visible=True) is None, 15,
                 what="the wizard to close")
        t = Target(s)
        s.xdotool("key", "ctrl+alt+r")
        prompt = s.find("TfrmGetVar", "Keyvane Input Box", 30000, visible=True)
        self.assertIsNotNone(prompt, "the script's prompt did not come")
        rc, edit = s.drive("child", prompt, "Edit", "-")
        s.drive("settext", edit.strip(), "Bob")
        rc, ok = s.drive("child", prompt, "Button", "&OK")
        s.drive("click", ok.strip())
        wait_for(lambda: any("started.exe" in l for l in s.marker_lines()), 30, what="the started program")
        chars = t.chars()
        self.assertTrue(re.fullmatch(r"Dear Sir abab.+Bobx.*PS,", chars, re.S), chars)


if __name__ == "__main__":
    kvtest.main()
