"""The tray icon and its menu, whole program, driven through the icon's callback message:
"&Exit" ends the program, "&Show Hints" writes the setting, "&Open" and the double click do
nothing before the command line is handled, help opens at its topic, the about box, the web
entries open web addresses, and the icon comes back when the taskbar is created again."""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402

CALLBACK = "1124"  # WM_USER + 100
WM_RBUTTONUP, WM_LBUTTONDBLCLK = "0x205", "0x203"
WM_KEYDOWN, WM_CHAR, VK_ESCAPE = "0x100", "0x102", "0x1b"


class Tray(kvtest.WineTestCase):
    def menu(self, tray, *keys):
        """Right-clicks the icon and types the entries' access keys into the menu."""
        self.s.drive("post", tray, CALLBACK, "1", WM_RBUTTONUP)
        rc, out = self.s.drive("popupmenu", "10000")
        popup = out.strip()
        self.assertEqual(rc, 0, "the tray menu did not open")
        for k in keys:
            if k == "esc":
                self.s.drive("post", popup, WM_KEYDOWN, VK_ESCAPE, "0")
            else:
                self.s.drive("post", popup, WM_CHAR, str(ord(k)), "0")
            time.sleep(0.3)
        return popup

    def manager_visible(self):
        return self.s.find("TfrmMain", "Ostrel Keyvane", 0, visible=True) is not None

    def show_hints(self):
        return self.s.read_ini().get("MAIN", {}).get("SHOW HINTS")

    def test_exit_ends_the_program(self):
        self.s.macros()
        pid, host, tray = self.s.start_resident()
        self.assertFalse(self.s.wait_exit(pid, 1000))
        self.menu(tray, "e")
        self.assertTrue(self.s.wait_exit(pid, 10000), "\"&Exit\" did not end the program")

    def test_show_hints_writes_the_setting_both_ways(self):
        self.s.macros()
        pid, host, tray = self.s.start_resident()
        self.menu(tray, "h", "s")
        wait_for(lambda: self.show_hints() == "0", 10, what="Show Hints=0")
        self.menu(tray, "h", "s")
        wait_for(lambda: self.show_hints() == "1", 10, what="Show Hints=1")

    def test_open_and_double_click_wait_for_the_command_line(self):
        self.s.macros({"Name": "Gone", "Type": 4, "FileName": "Gone.key"})
        pid, _ = self.s.keyvane("/Open:Gone")
        # The command line's macro fails: its error box is up while the command line is handled.
        box = self.s.msgbox("Keyvane", 20000)
        self.assertIsNotNone(box)
        tray = self.s.find(kvtest.TRAY_CLASS, "-", 5000)
        self.s.drive("post", tray, CALLBACK, "1", WM_LBUTTONDBLCLK)
        self.menu(tray, "o", "esc")
        time.sleep(1.0)
        self.assertFalse(self.manager_visible(), "the manager opened before the command line was handled")
        self.s.press_ok(box[0])
        self.s.drive("waitgone", "#32770", "Keyvane", "10000")
        self.s.drive("post", tray, CALLBACK, "1", WM_LBUTTONDBLCLK)
        wait_for(self.manager_visible, 10, what="the manager after a double click")
        self.s.drive("post", self.s.find("TfrmMain", "Ostrel Keyvane"), "0x10", "0", "0")  # close: hides
        wait_for(lambda: not self.manager_visible(), 10, what="the manager hidden")
        self.menu(tray, "o")
        wait_for(self.manager_visible, 10, what="the manager from \"&Open\"")

    def test_icon_comes_back_when_the_taskbar_is_created_again(self):
        self.s.macros()
        pid, host, tray = self.s.start_resident()
        wait_for(lambda: self.s.drive("trayhas", tray, "1")[0] == 0, 10, what="the icon")
        self.assertEqual(self.s.drive("traydel", tray, "1")[0], 0)
        self.assertNotEqual(self.s.drive("trayhas", tray, "1")[0], 0)
        self.s.drive("regmsg", "TaskbarCreated", tray)
        wait_for(lambda: self.s.drive("trayhas", tray, "1")[0] == 0, 10, what="the icon added again")

    def disabled(self, hwnd):
        return bool(int(self.s.drive("style", hwnd)[1].split()[0], 16) & 0x08000000)

    def test_about_box(self):
        self.s.macros(main={"FirstRun": 1})
        pid, host, tray = self.s.start_resident()
        form = self.s.find("TfrmMain", "Ostrel Keyvane", 20000, visible=True)
        self.assertIsNotNone(form)
        self.assertFalse(self.disabled(form))
        self.menu(tray, "h", "a")
        box = self.s.find("-", "About Keyvane", 10000, visible=True)
        self.assertIsNotNone(box, "no about box")
        rc, children = self.s.drive("children", box)
        self.assertIn('"Keyvane 3.3d"', children)
        # Modal: the manager window takes no input while the box is up.
        self.assertTrue(self.disabled(form))
        self.s.drive("click", self.s.drive("child", box, "Button", "OK")[1].strip())
        self.assertEqual(self.s.drive("waitgone", "-", "About Keyvane", "10000")[0], 0)
        wait_for(lambda: not self.disabled(form), 10, what="the manager window enabled again")

    def test_help_opens_the_operation_topic_and_the_faq(self):
        with self.s.html_viewer():
            self.s.macros()
            pid, host, tray = self.s.start_resident()
            self.menu(tray, "h", "o")
            page = "file:///" + (self.s.win_progdir + "Keyvane.html").replace("\\", "/")
            wait_for(lambda: self.s.marker_lines(), 15, what="the help page opened")
            self.assertEqual(self.s.marker_lines(), ["RAN kvhtml.exe %s#Operation" % page])
            self.menu(tray, "h", "f")
            wait_for(lambda: len(self.s.marker_lines()) == 2, 15, what="the FAQ opened")
            self.assertEqual(self.s.marker_lines()[1], "RAN kvhtml.exe %sKeyvanefaq.html" % self.s.win_progdir)
            self.assertTrue(os.path.exists(self.s.path("Keyvane.html")))
            with open(self.s.path("Keyvane.html"), "rb") as f:
                self.assertIn(b'id="Operation"', f.read())

    def test_support_and_home_entries_open_web_addresses(self):
        viewer = self.s.tool_copy("kvmarker.exe", "kvweb.exe")
        key = r"HKLM\Software\Classes\https\shell\open\command"
        _, old = self.s.wine("reg", "query", key, "/ve")
        old_value = next((l.split("REG_SZ", 1)[1].strip() for l in old.splitlines() if "REG_SZ" in l), None)
        self.s.wine("reg", "add", key, "/ve", "/d", '"%s" "%%1"' % viewer, "/f")
        try:
            self.s.macros()
            pid, host, tray = self.s.start_resident()
            self.menu(tray, "h", "t")
            wait_for(lambda: self.s.marker_lines(), 15, what="the support page opened")
            self.menu(tray, "v")
            wait_for(lambda: len(self.s.marker_lines()) == 2, 15, what="the home page opened")
            support, home = (l.split(" ", 2)[2] for l in self.s.marker_lines())
            for url in (support, home):
                self.assertRegex(url, r"^https://[\w.-]+/")
            self.assertNotEqual(support, home)
        finally:
            if old_value is not None:
                self.s.wine("reg", "add", key, "/ve", "/d", old_value, "/f")
            else:
                self.s.wine("reg", "delete", key, "/ve", "/f")


if __name__ == "__main__":
    kvtest.main()
