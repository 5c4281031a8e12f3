"""One resident Keyvane per session, whole program: /Close starts run their macro without
touching window triggers and always end; a later plain start brings the resident's list window
forward and ends; names given without /Close are handed to the resident instance."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402


class Resident(kvtest.WineTestCase):
    def lines(self):
        return self.s.marker_lines()

    def keyvanes(self):
        return kvtest.prefix_unix_pids(["Keyvane.exe"])

    def two_macros(self, trigger=None):
        a = self.s.tool_copy("kvmarker.exe", "login.exe")
        b = self.s.tool_copy("kvmarker.exe", "other.exe")
        login = {"Name": "Login", "Type": 1, "FileName": a}
        if trigger:
            login["Trigger"] = trigger
        self.s.macros(login, {"Name": "Other", "Type": 1, "FileName": b})

    def test_close_starts_leave_window_triggers_alone_and_end(self):
        self.two_macros(trigger="Login Window")
        self.s.start_resident()
        self.s.spawn(os.path.join(self.s.tools, "kvwindows.exe"), "1", "Login Window")
        wait_for(lambda: self.lines() == ["RAN login.exe"], 15, what="the trigger's run")
        found = self.s.read_ini()["MACRO1"]["FOUNDHANDLE"]
        for i in range(3):
            pid, code = self.s.keyvane('/Open:"Other" /Close', wait_ms=20000)
            self.assertEqual(code, 0, "/Close instance %d did not end by itself" % (i + 1))
        wait_for(lambda: self.lines().count("RAN other.exe") == 3, 15, what="three runs of Other")
        time.sleep(1.5)  # six polls of the resident instance with the window still open
        self.assertEqual(self.lines().count("RAN login.exe"), 1, "the trigger macro ran again")
        self.assertEqual(self.s.read_ini()["MACRO1"]["FOUNDHANDLE"], found)
        self.assertEqual(len(self.keyvanes()), 1)

    def test_a_second_plain_start_shows_the_resident_list_and_ends(self):
        self.two_macros()
        pid, host, tray = self.s.start_resident()
        self.assertIsNone(self.s.find("TfrmMain", "Ostrel Keyvane", 0, visible=True))
        second, code = self.s.keyvane("", wait_ms=20000)
        self.assertEqual(code, 0, "the second start did not end")
        form = self.s.find("TfrmMain", "Ostrel Keyvane", 15000, visible=True)
        self.assertIsNotNone(form, "the resident list window was not shown")
        self.assertEqual(self.s.windows_of(pid).get("TfrmMain"), form)
        self.assertEqual(len(self.keyvanes()), 1)

    def test_names_without_close_are_run_by_the_resident_instance(self):
        self.two_macros()
        pid, host, tray = self.s.start_resident()
        second, code = self.s.keyvane('/Open:"Other"', wait_ms=20000)
        self.assertEqual(code, 0, "the start that handed its names over did not end")
        wait_for(lambda: self.lines() == ["RAN other.exe"], 15, what="the handed-over run")
        time.sleep(1.0)
        self.assertEqual(self.lines(), ["RAN other.exe"])
        self.assertEqual(len(self.keyvanes()), 1)
        self.assertFalse(self.s.wait_exit(pid, 0), "the resident instance ended")

    def test_an_unknown_name_with_close_says_so_and_ends(self):
        self.two_macros()
        pid, host, tray = self.s.start_resident()
        other, _ = self.s.keyvane('/Open:"Nobody" /Close')
        box = self.s.msgbox("Keyvane", 15000)
        self.assertIsNotNone(box, "no message for the unknown name")
        self.assertIn('There is no macro named "Nobody".', box[1])
        self.s.press_ok(box[0])
        self.assertTrue(self.s.wait_exit(other, 10000), "the /Close instance stayed behind")
        self.assertEqual(self.lines(), [])
        self.assertFalse(self.s.wait_exit(pid, 0), "the resident instance ended")


    def test_a_combination_another_program_holds_is_marked_in_the_list(self):
        ctrl_alt_r = kvtest.hotkey(kvtest.CTRL | kvtest.ALT, "R")
        ctrl_alt_t = kvtest.hotkey(kvtest.CTRL | kvtest.ALT, "T")
        self.s.macros({"Name": "Held", "Type": 1, "HotKey": ctrl_alt_r},
                      {"Name": "Free", "Type": 1, "HotKey": ctrl_alt_t}, main={"FirstRun": 1})
        self.s.spawn(os.path.join(self.s.tools, "kvmgr.exe"), "holdhotkey", "3", str(ord("R")),
                     self.s.win_progdir + "held.log")
        wait_for(lambda: self.s.marker_lines("held.log"), 20, what="the test program's hotkey")
        self.assertEqual(self.s.marker_lines("held.log"), ["HELD 1"])
        self.s.keyvane("")
        form = self.s.find("TfrmMain", "Ostrel Keyvane", 20000, visible=True)
        self.assertIsNotNone(form, "the manager window was not shown")
        rc, lv = self.s.drive("child", form, "SysListView32", "-")
        rc, out = self.s.drive("lvdump", lv.strip())
        rows = [l.split("\t") for l in out.split("\n")[1:] if l]
        self.assertEqual([(r[1], r[2]) for r in rows], [("Held", "Ctrl+Alt+R (in use)"), ("Free", "Ctrl+Alt+T")])


if __name__ == "__main__":
    kvtest.main()
