"""The Macro Setup Wizard, whole program: opened from the manager window, it creates a
program-starting macro with hotkey, window trigger and desktop shortcut and an advanced macro
with its script; its name and application pages refuse bad input; Cancel asks, the close box
does not; while it is open macro hotkeys do nothing."""
import glob
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
from kvtest import Wizard, wait_for  # noqa: E402

HOTKEYF_CTRL, HOTKEYF_ALT = 2, 4
CTRL_ALT_M = kvtest.hotkey(kvtest.CTRL | kvtest.ALT, "M")

NAME_TAKEN = "You have selected a name of an existing macro, please select another."
NAME_EMPTY = "Please type a name for this macro."
NO_APPLICATION = ("Please specify an application or document to launch.  You can search for files by selecting "
                  "'Browse'.")
CANCEL_QUESTION = ("The Macro Setup Wizard has not finished creating your macro.  Are you sure you want to exit the "
                   "wizard?")


class SetupWizard(kvtest.WineTestCase):
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

    def desktop_links(self, name):
        return glob.glob(os.path.join(self.s.drive_c, "users", "*", "Desktop", name))

    def press(self, keys):
        """xdotool keys into the wizard's X window (any Wine window serves for global hotkeys)."""
        self.s.focus("Macro Setup Wizard")
        self.s.xdotool("key", keys)

    def ctrl_alt_m_runs_the_marker(self, what):
        self.s.target()
        self.s.xdotool("key", "ctrl+alt+m")
        wait_for(lambda: self.s.marker_lines() == ["RAN kvmarker.exe"], 15, what=what)

    def test_a_program_macro_with_hotkey_trigger_and_desktop_shortcut_runs_at_once(self):
        for old in self.desktop_links("Marker App.lnk"):
            os.remove(old)
        target = self.s.tool_copy("kvmarker.exe")
        form, lv = self.open_manager({"Name": "Signature", "Type": 2, "HotKey": 8304})
        w = Wizard.open_from(self.s, form)
        w.click(Wizard.OPT_START_APP)
        w.next("Name Your Macro")
        w.set_text(Wizard.NAME, "Marker App  ")
        w.next("Select Triggers")
        w.set_hotkey(ord("M"), HOTKEYF_CTRL | HOTKEYF_ALT)
        w.set_text(Wizard.TRIGGER, "Nothing Like This")
        w.choose_shortcut(1)  # On Desktop
        w.next("Start an Application")
        w.set_text(Wizard.COMMAND, target)
        w.next("Finished")
        self.assertEqual(w.summary(), ["Marker App  ", "Start an Application", "Ctrl+Alt+M", "Nothing Like This"])
        w.click(Wizard.FINISHED)
        w.wait_closed()

        wait_for(lambda: len(self.rows(lv)) == 2, 15, what="the new row in the list")
        self.assertEqual(self.rows(lv)[1], ["Marker App", "Ctrl+Alt+M"])
        ini = self.s.read_ini()
        self.assertEqual(ini["MAIN"]["ENTRIES"], "2")
        self.assertEqual({k: ini["MACRO2"][k] for k in ("NAME", "TYPE", "HOTKEY", "TRIGGER", "FILENAME")},
                         {"NAME": "Marker App", "TYPE": "1", "HOTKEY": str(CTRL_ALT_M), "TRIGGER": "Nothing Like This",
                          "FILENAME": target})
        links = wait_for(lambda: self.desktop_links("Marker App.lnk"), 15, what="Marker App.lnk on the desktop")
        rc, out = self.s.wine(os.path.join(self.s.tools, "kvmgr.exe"), "link",
                              "Z:" + os.path.abspath(links[0]).replace("/", "\\"))
        got = dict(l.split("=", 1) for l in out.split("\n") if "=" in l)
        self.assertEqual(got["arguments"], ' /Open:"Marker App" /Close')
        # The hotkey runs the macro at once, without a restart.
        self.ctrl_alt_m_runs_the_marker("the new macro's run")

    def test_an_advanced_macro_types_the_script_it_was_given(self):
        form, lv = self.open_manager()
        w = Wizard.open_from(self.s, form)
        w.click(Wizard.OPT_ADVANCED)
        w.next("Name Your Macro")
        w.set_text(Wizard.NAME, "Typist")
        w.next("Select Triggers")
        w.set_hotkey(ord("M"), HOTKEYF_CTRL | HOTKEYF_ALT)
        w.next("Create an advanced macro")
        # Next focused the script editor: the user types there.
        script = "Hi wizard<<ENTER>>"
        self.s.focus("Macro Setup Wizard")
        self.s.xdotool("type", "--delay", "30", script)
        wait_for(lambda: self.s.drive("child", w.hwnd, "Edit", script)[0] == 0, 15, what="the typed script")
        w.next("Finished")
        self.assertEqual(w.summary(), ["Typist", "Playback advanced macro", "Ctrl+Alt+M", "None"])
        w.click(Wizard.FINISHED)
        w.wait_closed()
        with open(self.s.path("Typist.key"), "rb") as f:
            self.assertEqual(f.read(), (script + "\r\n").encode())
        ini = self.s.read_ini()
        self.assertEqual(ini["MACRO1"]["FILENAME"], "Typist.key")
        self.assertEqual(ini["MACRO1"]["TYPE"], "4")
        self.assertEqual(ini["MAIN"]["ENTRIES"], "1")
        wait_for(lambda: self.rows(lv) == [["Typist", "Ctrl+Alt+M"]], 15, what="the row")
        log = self.s.target()
        self.s.xdotool("key", "ctrl+alt+m")

        def typed():
            lines = self.s.marker_lines(log)
            return "".join(chr(int(l.split()[1], 16)) for l in lines if l.startswith("CHAR "))
        wait_for(lambda: typed() == "Hi wizard\r", 20, what="the script typed into the target")

    def test_a_script_file_that_cannot_be_written_leaves_the_store_alone(self):
        form, lv = self.open_manager()
        self.s.put("Locked.key", "someone else's")
        os.chmod(self.s.path("Locked.key"), 0o444)
        try:
            w = Wizard.open_from(self.s, form)
            w.click(Wizard.OPT_ADVANCED)
            w.next("Name Your Macro")
            w.set_text(Wizard.NAME, "Locked")
            w.next("Select Triggers")
            w.next("Create an advanced macro")
            w.next("Finished")
            w.click(Wizard.FINISHED)
            texts = w.answer("Keyvane", "OK")
            self.assertIn("Unable to write to %sLocked.key." % self.s.win_progdir, texts)
            self.assertEqual(w.heading(), "Finished")
            self.assertTrue(w.visible())
            self.assertNotIn("MACRO1", self.s.read_ini())
            self.assertEqual(self.s.read_ini()["MAIN"]["ENTRIES"], "0")
        finally:
            os.chmod(self.s.path("Locked.key"), 0o644)

    def test_the_name_and_application_pages_refuse_bad_input(self):
        form, lv = self.open_manager({"Name": "Notes", "Type": 1, "FileName": "notepad.exe"})
        w = Wizard.open_from(self.s, form)
        w.click(Wizard.OPT_START_APP)
        w.next("Name Your Macro")
        for name, message in (("notes ", NAME_TAKEN), ("   ", NAME_EMPTY), ("a:b", None), ("CON", None)):
            w.set_text(Wizard.NAME, name)
            w.click(Wizard.NEXT)
            texts = w.answer("Keyvane", "OK")
            if message:
                self.assertIn(message, texts)
            else:
                self.assertTrue(any("\\ / : * ? \" < > |" in t for t in texts), texts)
            self.assertEqual(w.heading(), "Name Your Macro")
        # A name the system's code page cannot hold (Greek capital omega, pasted in) is refused,
        # not stored as a question mark.
        self.s.drive("settextw", w.control(Wizard.NAME), "3A9,20,4D")
        w.click(Wizard.NEXT)
        texts = w.answer("Keyvane", "OK")
        self.assertTrue(any("cannot store" in t for t in texts), texts)
        self.assertEqual(w.heading(), "Name Your Macro")
        w.set_text(Wizard.NAME, "Fresh")
        w.next("Select Triggers")
        w.next("Start an Application")
        w.click(Wizard.NEXT)
        self.assertIn(NO_APPLICATION, w.answer("Keyvane", "OK"))
        self.assertEqual(w.heading(), "Start an Application")
        # Browse: the document-launch hint first, then the file-open dialog; Cancel changes nothing.
        self.s.put("Report.txt", "a document")
        for choose in (False, True):
            w.click(Wizard.BROWSE)
            hint = self.s.find("TfrmHint", "Keyvane Hints", 15000, visible=True)
            self.assertIsNotNone(hint, "no hint before the file dialog")
            rc, ok = self.s.drive("child", hint, "Button", "&OK")
            rc, text = self.s.drive("child", hint, "Edit", "-")
            self.assertTrue(self.s.drive("gettext", text.strip())[1].startswith(
                "Note that you may use this option to not only start regular programs"))
            self.s.drive("click", ok.strip())
            dialog = self.s.find("#32770", "Open", 15000, visible=True)
            self.assertIsNotNone(dialog, "no file-open dialog")
            if choose:
                rc, name = self.s.drive("child", dialog, "Edit", "-")
                self.s.drive("settext", name.strip(), self.s.win_progdir + "Report.txt")
                rc, button = self.s.drive("child", dialog, "Button", "&Open")
            else:
                rc, button = self.s.drive("child", dialog, "Button", "Cancel")
            self.s.drive("click", button.strip())
            self.s.drive("waitgone", "#32770", "Open", "10000")
            want = (self.s.win_progdir + "Report.txt") if choose else ""
            wait_for(lambda: w.text(Wizard.COMMAND).lower() == want.lower(), 10, what="the program field")
        # Cancel answered No keeps the run; Yes ends it and nothing was written.
        w.click(Wizard.CANCEL)
        self.assertIn(CANCEL_QUESTION, w.answer("Warning", "&No"))
        self.assertTrue(w.visible())
        self.assertEqual(w.heading(), "Start an Application")
        w.click(Wizard.CANCEL)
        w.answer("Warning", "&Yes")
        w.wait_closed()
        self.assertEqual(self.s.read_ini()["MAIN"]["ENTRIES"], "1")
        self.assertNotIn("MACRO2", self.s.read_ini())

    def test_macro_hotkeys_do_nothing_while_the_wizard_is_open(self):
        target = self.s.tool_copy("kvmarker.exe")
        form, lv = self.open_manager({"Name": "Marker", "Type": 1, "FileName": target, "HotKey": CTRL_ALT_M})
        w = Wizard.open_from(self.s, form)
        w.next("Name Your Macro")
        self.press("ctrl+alt+m")
        time.sleep(2.0)  # a run would have logged by now
        self.assertEqual(self.s.marker_lines(), [], "the hotkey ran its macro with the wizard open")
        # The close box ends the run without asking.
        self.s.drive("post", w.hwnd, str(Wizard.WM_CLOSE), "0", "0")
        w.wait_closed()
        self.assertIsNone(self.s.msgbox("Warning", 500))
        self.ctrl_alt_m_runs_the_marker("the run after the wizard closed")

    def test_the_wizard_goes_by_keyboard_alone(self):
        form, lv = self.open_manager()
        w = Wizard.open_from(self.s, form)
        self.press("Down")  # the options are one group: the arrows choose
        self.s.xdotool("key", "Down")
        wait_for(lambda: self.s.drive("send", w.control(Wizard.OPT_START_APP), "0xF0", "0", "0")[1].strip() == "1", 10,
                 what="the application option chosen with the arrows")
        self.s.xdotool("key", "Return")  # Enter is Next
        w.wait_page("Name Your Macro")
        self.s.xdotool("type", "--delay", "30", "Keyed")
        self.s.xdotool("key", "Return")
        w.wait_page("Select Triggers")
        # The hotkey field has the keyboard. A key alone or with Shift alone would take it from
        # every program: the field makes it Alt+key.
        hotkey_value = lambda: int(self.s.drive("send", w.control(Wizard.HOTKEY), "0x402", "0", "0")[1].strip())
        for keys in ("k", "shift+k"):
            self.s.xdotool("key", keys)
            wait_for(lambda: hotkey_value() == HOTKEYF_ALT << 8 | ord("K"), 10, what="Alt+K for " + keys)
        # It takes a valid combination as typed; Tab passes its Help button.
        self.s.xdotool("key", "ctrl+alt+k")
        self.s.xdotool("key", "Tab", "Tab")
        self.s.xdotool("type", "--delay", "30", "Title")
        self.s.xdotool("key", "Return")
        w.wait_page("Start an Application")
        self.s.xdotool("key", "Tab")  # from Browse to the program field
        self.s.xdotool("type", "--delay", "30", "notepad.exe")
        self.s.xdotool("key", "Return")
        w.wait_page("Finished")
        self.assertEqual(w.summary(), ["Keyed", "Start an Application", "Ctrl+Alt+K", "Title"])
        self.s.xdotool("key", "alt+b")
        w.wait_page("Start an Application")
        self.s.xdotool("key", "Return")
        w.wait_page("Finished")
        # Esc is Cancel's question; No keeps the run, and Enter then finishes.
        self.s.xdotool("key", "Escape")
        box = self.s.msgbox("Warning", 10000)
        self.assertIsNotNone(box, "Esc did not ask")
        self.s.xdotool("key", "n")
        self.s.drive("waitgone", "#32770", "Warning", "10000")
        self.assertTrue(w.visible())
        self.press("Return")
        w.wait_closed()
        ini = self.s.read_ini()
        self.assertEqual((ini["MACRO1"]["NAME"], ini["MACRO1"]["FILENAME"], ini["MACRO1"]["TRIGGER"]),
                         ("Keyed", "notepad.exe", "Title"))
        self.assertEqual(ini["MACRO1"]["HOTKEY"], str(kvtest.hotkey(kvtest.CTRL | kvtest.ALT, "K")))

    def test_f1_anywhere_opens_help_and_the_help_buttons_explain(self):
        with self.s.html_viewer():
            form, lv = self.open_manager()
            w = Wizard.open_from(self.s, form)
            page = "file:///" + (self.s.win_progdir + "Keyvane.html").replace("\\", "/")
            expected = "RAN kvhtml.exe %s#Operation" % page
            w.next("Name Your Macro")
            self.s.drive("post", w.control(Wizard.NAME), "0x101", "0x70", "0xC03B0001")
            wait_for(lambda: self.s.marker_lines() == [expected], 15, what="help from F1 in the name field")
            w.set_text(Wizard.NAME, "Helped")
            w.next("Select Triggers")
            w.next("Create an advanced macro")
            rc, editor = self.s.drive("child", w.hwnd, "Edit", "-")
            self.s.drive("post", editor.strip(), "0x101", "0x70", "0xC03B0001")
            wait_for(lambda: len(self.s.marker_lines()) == 2, 15, what="help from F1 in the script editor")
            w.back("Select Triggers")
            rc, helps = self.s.drive("children", w.hwnd)
            buttons = [l.split()[0] for l in helps.split("\n") if l.endswith('"Help"') and " 1 1 " in l]
            self.assertEqual(len(buttons), 2)
            self.s.drive("click", buttons[0])
            texts = w.answer("Keyvane", "OK")
            self.assertTrue(any(t.startswith("If you would like to launch this macro using a set of keys") and
                                "It is important to choose a unique set of keys" in t for t in texts), texts)
            self.s.drive("click", buttons[1])
            texts = w.answer("Keyvane", "OK")
            self.assertTrue(any(t.startswith("To have this macro run when a particular window appears") for t in texts))
            self.assertEqual(len(self.s.marker_lines()), 2, "only F1 opens help")


if __name__ == "__main__":
    kvtest.main()
