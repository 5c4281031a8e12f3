"""The manager window, whole program: the list shows what macros.ini holds, deleting asks and
renumbers the store, Hide and the close box only hide, shortcut files read back through the
shell link object and run their macro, and the list prints to a file-backed printer."""
import glob
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
import kvwine  # noqa: E402
from kvtest import wait_for  # noqa: E402

WM_KEYDOWN, VK_RETURN, VK_RIGHT, VK_DOWN = 0x100, 0x0D, 0x27, 0x28
WM_CLOSE = 0x10
DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")


class Manager(kvtest.WineTestCase):
    # --- helpers ---------------------------------------------------------------------------
    def mgr(self, *args, timeout=60):
        return self.s.wine(os.path.join(self.s.tools, "kvmgr.exe"), *args, timeout=timeout)

    def open_manager(self, *macros):
        self.s.macros(*macros, main={"FirstRun": 1})
        pid, _ = self.s.keyvane("")
        form = self.s.find("TfrmMain", "Ostrel Keyvane", 20000, visible=True)
        self.assertIsNotNone(form, "the manager window was not shown")
        rc, out = self.s.drive("child", form, "SysListView32", "-")
        self.assertEqual(rc, 0, "no list view in the manager window")
        return pid, form, out.strip()

    def rows(self, lv):
        rc, out = self.s.drive("lvdump", lv)
        self.assertEqual(rc, 0)
        lines = [l for l in out.split("\n") if l]
        head = dict(kv.split("=") for kv in lines[0].split())
        rows = []
        for l in lines[1:]:
            cells = l.split("\t")
            rows.append((cells[1], cells[2], cells[3], int(cells[4].split("=")[1])))
        return int(head["cols"]), int(head["selected"]), rows

    def controls(self, form):
        """{text: (hwnd, enabled)} of the window's buttons."""
        rc, out = self.s.drive("children", form)
        found = {}
        for l in out.split("\n"):
            m = re.match(r'(0x[0-9a-f]+) (-?\d+) (\S+) (\d) (\d) "(.*)"$', l.strip())
            if m and m.group(3).lower() == "button":
                found[m.group(6)] = (m.group(1), m.group(5) == "1")
        return found

    def click_row(self, lv, index, how=None):
        args = ["lvclick", lv, str(index)] + ([how] if how else [])
        rc, out = self.mgr(*args)
        self.assertEqual(rc, 0, "could not click row %d" % index)

    def menu_keys(self, *keys):
        rc, menu = self.s.drive("popupmenu", "10000")
        self.assertEqual(rc, 0, "the popup menu did not open")
        menu = menu.strip()
        for k in keys:
            self.s.drive("post", menu, str(WM_KEYDOWN), str(k), "0")
            time.sleep(0.15)

    def answer(self, title, button):
        box = self.s.msgbox(title, 10000)
        self.assertIsNotNone(box, "no %r message box" % title)
        rc, b = self.s.drive("child", box[0], "Button", button)
        self.assertEqual(rc, 0, "no %r button" % button)
        self.s.drive("click", b.strip())
        return box[1]

    def three_macros(self):
        return ({"Name": "One", "Type": 1, "HotKey": 49217, "FileName": self.s.tool_copy("kvmarker.exe", "first.exe")},
                {"Name": "Two", "Type": 4, "HotKey": 49218, "FileName": "Two.key"},
                {"Name": "Three", "Type": 1, "HotKey": 49219,
                 "FileName": self.s.tool_copy("kvmarker.exe", "third.exe"), "Trigger": "Nothing Here"})

    # --- the list --------------------------------------------------------------------------
    def test_list_shows_the_store_with_images_and_commands_off(self):
        pid, form, lv = self.open_manager(
            {"Name": "Notepad", "Type": 1, "HotKey": 49217, "Trigger": "Untitled - Notepad"},
            {"Name": "Keys", "Type": 2, "HotKey": 8304},
            {"Type": 3},
            {"Name": "Script", "Type": 4, "HotKey": 0})
        cols, selected, rows = self.rows(lv)
        self.assertEqual(cols, 3)
        self.assertEqual(selected, -1)
        self.assertEqual(rows, [("Notepad", "Ctrl+Alt+A", "Untitled - Notepad", 0),
                                ("Keys", "Shift+F1", "", 1),
                                ("Macro3", "", "", 2),
                                ("Script", "", "", 1)])
        # The first run shows it centred on the 1280 x 1024 screen.
        rc, rect = self.s.drive("rect", form)
        l, t, r, b = (int(v) for v in rect.split()[:4])
        self.assertLessEqual(abs((l + r) // 2 - 640), 2, rect)
        self.assertLessEqual(abs((t + b) // 2 - 512), 2, rect)
        c = self.controls(form)
        self.assertEqual({k: v[1] for k, v in c.items()},
                         {"Help": True, "New Macro": True, "Edit Macro": False, "Delete Macro": False,
                          "Hide": True})
        # A click on a row enables the commands that need one.
        self.click_row(lv, 1)
        wait_for(lambda: self.controls(form)["Delete Macro"][1], 10, what="Delete Macro enabled")
        self.assertTrue(self.controls(form)["Edit Macro"][1])
        self.assertEqual(self.rows(lv)[1], 1)

    def test_selection_alone_changes_no_command_a_middle_button_release_does(self):
        pid, form, lv = self.open_manager({"Name": "A", "Type": 1}, {"Name": "B", "Type": 1})
        # A row selected and focused without the mouse, as with the keyboard: commands stay off.
        self.assertEqual(self.s.drive("lvselect", lv, "1")[0], 0)
        time.sleep(0.5)
        self.assertEqual(self.rows(lv)[1], 1)
        c = self.controls(form)
        self.assertFalse(c["Delete Macro"][1])
        self.assertFalse(c["Edit Macro"][1])
        # Releasing the middle button over the list is a mouse release like any other.
        self.click_row(lv, 1, "middle")
        wait_for(lambda: self.controls(form)["Delete Macro"][1], 10, what="Delete Macro enabled")
        self.assertTrue(self.controls(form)["Edit Macro"][1])

    def test_the_list_has_the_keyboard_when_the_window_opens(self):
        pid, form, lv = self.open_manager({"Name": "A", "Type": 1}, {"Name": "B", "Type": 1})
        self.s.focus("Ostrel Keyvane")
        self.s.xdotool("key", "End")
        wait_for(lambda: self.rows(lv)[1] == 1, 10, what="the last row selected from the keyboard")
        # A selection made with the keyboard leaves the commands as they were.
        time.sleep(0.5)
        self.assertFalse(self.controls(form)["Delete Macro"][1])

    def test_the_window_stays_off_the_taskbar(self):
        pid, form, lv = self.open_manager({"Name": "A", "Type": 1})
        xids = wait_for(lambda: self.s.xdotool("search", "--name", "^Ostrel Keyvane$").split(), 10,
                        what="the window on the display")
        # What a desktop's taskbar reads to leave a window out.
        states = subprocess.run(["xprop", "-id", xids[0], "_NET_WM_STATE"], env=self.s.env, stdout=subprocess.PIPE,
                                timeout=30).stdout.decode()
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", states)

    def set_x_work_area(self, area):
        """Sets (or with None removes) the work area a desktop's taskbar leaves; Wine reads it
        when its server starts, so the server is restarted."""
        if area:
            cmd = ["xprop", "-root", "-format", "_NET_WORKAREA", "32c", "-set", "_NET_WORKAREA", area]
        else:
            cmd = ["xprop", "-root", "-remove", "_NET_WORKAREA"]
        subprocess.run(cmd, env=self.s.env, check=True, timeout=30)
        kvtest.kill_wine_programs()
        subprocess.run(["wineserver", "-k"], env=self.s.env, timeout=60)
        subprocess.run(["wineserver", "-w"], env=self.s.env, timeout=60)
        kvwine.ensure()

    def test_first_run_centres_on_the_screen_not_its_work_area(self):
        # A taskbar along the bottom takes 64 pixels of the 1280 x 1024 screen.
        self.set_x_work_area("0, 0, 1280, 960")
        try:
            rc, area = self.mgr("workarea")
            self.assertEqual(area.split(), "0 0 1280 1024 0 0 1280 960".split(), "the work area was not taken up")
            pid, form, lv = self.open_manager({"Name": "A", "Type": 1})
            rc, rect = self.s.drive("rect", form)
            l, t, r, b = (int(v) for v in rect.split()[:4])
            self.assertLessEqual(abs((l + r) // 2 - 640), 2, rect)
            self.assertLessEqual(abs((t + b) // 2 - 512), 2, rect)
        finally:
            self.set_x_work_area(None)

    def test_empty_store_lists_nothing(self):
        self.s.remove_ini()
        pid, _ = self.s.keyvane("")
        form = self.s.find("TfrmMain", "Ostrel Keyvane", 20000, visible=True)
        self.assertIsNotNone(form)
        rc, lv = self.s.drive("child", form, "SysListView32", "-")
        self.assertEqual(self.rows(lv.strip())[2], [])
        self.assertFalse(self.controls(form)["Delete Macro"][1])

    # --- delete ----------------------------------------------------------------------------
    def test_delete_second_after_yes_renumbers_the_store(self):
        self.s.put("Two.key", "text")
        pid, form, lv = self.open_manager(*self.three_macros())
        self.click_row(lv, 1)
        wait_for(lambda: self.controls(form)["Delete Macro"][1], 10, what="Delete Macro enabled")
        self.s.drive("click", self.controls(form)["Delete Macro"][0])
        texts = self.answer("Warning", "&Yes")
        self.assertIn("Are you sure you want to delete this macro?", texts)
        wait_for(lambda: len(self.rows(lv)[2]) == 2, 10, what="two rows")
        self.assertEqual([r[0] for r in self.rows(lv)[2]], ["One", "Three"])
        self.assertEqual(self.rows(lv)[2][1][1], "Ctrl+Alt+C")
        ini = self.s.read_ini()
        self.assertEqual(ini["MAIN"]["ENTRIES"], "2")
        self.assertEqual(ini["MACRO2"]["NAME"], "Three")
        self.assertEqual(ini["MACRO2"]["HOTKEY"], "49219")
        self.assertEqual(ini["MACRO2"]["TRIGGER"], "Nothing Here")
        self.assertNotIn("MACRO3", ini)
        self.assertFalse(os.path.exists(self.s.path("Two.key")))
        c = self.controls(form)
        self.assertFalse(c["Delete Macro"][1])
        # The former third macro answers its hotkey under its new number.
        self.s.focus("Ostrel Keyvane")
        self.s.xdotool("key", "ctrl+alt+c")
        wait_for(lambda: self.s.marker_lines() == ["RAN third.exe"], 10, what="the former third macro's run")
        self.s.xdotool("key", "ctrl+alt+b")  # the deleted macro's hotkey is gone
        time.sleep(1.5)
        self.assertEqual(self.s.marker_lines(), ["RAN third.exe"])
        self.assertIsNone(self.s.msgbox("Keyvane", 0))

    def test_answering_no_changes_nothing(self):
        self.s.put("Two.key", "text")
        pid, form, lv = self.open_manager(*self.three_macros())
        before = read_bytes(self.s.ini_path)
        self.click_row(lv, 1)
        wait_for(lambda: self.controls(form)["Delete Macro"][1], 10, what="Delete Macro enabled")
        self.s.drive("click", self.controls(form)["Delete Macro"][0])
        self.answer("Warning", "&No")
        time.sleep(1.0)  # a wrong deletion would have happened by now
        self.assertEqual(len(self.rows(lv)[2]), 3)
        self.assertEqual(read_bytes(self.s.ini_path), before)
        self.assertTrue(os.path.exists(self.s.path("Two.key")))

    # --- hide ------------------------------------------------------------------------------
    def test_hide_and_the_close_box_only_hide(self):
        for how in ("Hide", "close box"):
            pid, form, lv = self.open_manager({"Name": "A", "Type": 1})
            if how == "Hide":
                self.s.drive("click", self.controls(form)["Hide"][0])
            else:
                self.s.drive("post", form, str(WM_CLOSE), "0", "0")
            wait_for(lambda: self.s.find("TfrmMain", "Ostrel Keyvane", 0, visible=True) is None, 10,
                     what="the window hidden by " + how)
            self.assertFalse(self.s.wait_exit(pid, 1500), how + " ended the program")
            self.assertEqual(len(self.rows(lv)[2]), 1)
            kvtest.kill_wine_programs()

    # --- help ------------------------------------------------------------------------------
    def test_help_button_and_f1_open_the_operation_topic(self):
        with self.s.html_viewer():
            pid, form, lv = self.open_manager({"Name": "A", "Type": 1})
            page = "file:///" + (self.s.win_progdir + "Keyvane.html").replace("\\", "/")
            expected = "RAN kvhtml.exe %s#Operation" % page
            self.s.drive("click", self.controls(form)["Help"][0])
            wait_for(lambda: self.s.marker_lines(), 15, what="help from the Help button")
            self.assertEqual(self.s.marker_lines(), [expected])
            # F1 released while the list has the focus.
            self.s.drive("post", lv, "0x101", "0x70", "0xC03B0001")
            wait_for(lambda: len(self.s.marker_lines()) == 2, 15, what="help from F1")
            self.assertEqual(self.s.marker_lines()[1], expected)
            # Other keys released there open nothing.
            self.s.drive("post", lv, "0x101", "0x71", "0xC03C0001")
            time.sleep(1.0)
            self.assertEqual(len(self.s.marker_lines()), 2)
            # F1 released while Alt is held arrives as a system key: still F1.
            self.s.drive("post", lv, "0x105", "0x70", "0xE03B0001")
            wait_for(lambda: len(self.s.marker_lines()) == 3, 15, what="help from Alt+F1")
            self.assertEqual(self.s.marker_lines()[2], expected)

    # --- shortcut files --------------------------------------------------------------------
    def desktop_links(self, name):
        return glob.glob(os.path.join(self.s.drive_c, "users", "*", "Desktop", name))

    def test_shortcut_on_desktop_reads_back_and_runs_its_macro(self):
        for old in self.desktop_links("Backup.lnk"):
            os.remove(old)
        target = self.s.tool_copy("kvmarker.exe")
        shift_ctrl_f5 = 0x2000 | 0x4000 | 0x74
        pid, form, lv = self.open_manager({"Name": "Other", "Type": 1},
                                          {"Name": "Backup", "Type": 1, "FileName": target, "HotKey": shift_ctrl_f5})
        self.click_row(lv, 1, "right")
        # New, Delete, Create Shortcut... > On Desktop
        self.menu_keys(VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN)
        links = wait_for(lambda: self.desktop_links("Backup.lnk"), 15, what="Backup.lnk on the desktop")
        rc, out = self.mgr("link", kvwine_path(links[0]))
        self.assertEqual(rc, 0, out)
        got = dict(l.split("=", 1) for l in out.split("\n") if "=" in l)
        d = self.s.win_progdir
        self.assertEqual(got["target"].lower(), (d + "Keyvane.exe").lower())
        self.assertEqual(got["arguments"], ' /Open:"Backup" /Close')
        self.assertEqual(got["workdir"].rstrip("\\").lower(), d.rstrip("\\").lower())
        self.assertEqual(got["description"], "Backup")
        self.assertEqual(int(got["hotkey"]), 0x0300 | 0x74)
        self.assertEqual(got["showcmd"], "1")
        self.assertEqual(got["icon"].lower(), (d + "Keyvane.Ico,0").lower())
        # Opening it runs its target with its arguments: that instance runs the macro and ends.
        kvtest.kill_wine_programs()
        line = '"%s"%s' % (got["target"], got["arguments"])
        rc, out = self.s.drive("run", line, "20000", timeout=80)
        self.assertIn("exit 0", out, "the shortcut's instance did not end by itself")
        wait_for(lambda: os.path.exists(self.s.path("marker.log")), 10, what="the macro's marker")
        self.assertEqual(read_bytes(self.s.path("marker.log")).split(), [b"RAN", b"kvmarker.exe"])

    def test_name_the_file_system_refuses_reports_the_write_error(self):
        pid, form, lv = self.open_manager({"Name": "Bad?Name*", "Type": 1})
        self.click_row(lv, 0, "right")
        self.menu_keys(VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN)
        box = self.s.msgbox("Keyvane", 15000)
        self.assertIsNotNone(box, "no error report")
        self.assertIn("Erreur en \xe9criture.", box[1])
        self.s.press_ok(box[0])
        self.assertEqual(glob.glob(os.path.join(self.s.drive_c, "users", "*", "Desktop", "*Name*")), [])
        # The program carries on.
        self.assertFalse(self.s.wait_exit(pid, 500))
        self.assertEqual(len(self.rows(lv)[2]), 1)

    def test_folder_missing_from_the_registry_is_found_through_the_shell(self):
        key = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"
        rc, before = self.s.wine("reg", "query", key, "/v", "Favorites")
        m = re.search(r"REG_SZ\s+(.+)", before)
        self.assertIsNotNone(m, before)
        root_link = os.path.join(self.s.drive_c, "Backup.lnk")
        for old in glob.glob(os.path.join(self.s.drive_c, "users", "*", "Favorites", "Backup.lnk")) + [root_link]:
            if os.path.exists(old):
                os.remove(old)
        self.s.wine("reg", "delete", key, "/v", "Favorites", "/f")
        try:
            pid, form, lv = self.open_manager({"Name": "Backup", "Type": 1})
            self.click_row(lv, 0, "right")
            # Create Shortcut... > In Favorites Folder (the fifth entry)
            self.menu_keys(VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN)
            links = wait_for(lambda: glob.glob(os.path.join(self.s.drive_c, "users", "*", "Favorites", "Backup.lnk")),
                             15, what="Backup.lnk in Favorites")
            self.assertEqual(len(links), 1)
            self.assertFalse(os.path.exists(root_link), "the link was written at the root of the drive")
        finally:
            self.s.wine("reg", "add", key, "/v", "Favorites", "/d", m.group(1).strip(), "/f")

    # --- printing --------------------------------------------------------------------------
    def test_print_macro_list_to_a_file_printer(self):
        out_ps = os.path.join(self.s.progdir, "printed.ps")
        rc, _ = self.mgr("addprinter", "KvFilePrinter", kvwine_path(out_ps), kvwine_path(DATA))
        self.assertEqual(rc, 0, "no file-backed printer")
        pid, form, lv = self.open_manager({"Name": "Alpha", "Type": 1, "HotKey": 16449},
                                          {"Name": "NoKey", "Type": 1},
                                          {"Name": "Gamma", "Type": 4, "HotKey": 0x4000 | 0x8000 | 0x7B})
        self.click_row(lv, 0, "right")
        self.menu_keys(VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN)
        dlg = self.s.find("#32770", "Print", 15000, visible=True)
        self.assertIsNotNone(dlg, "no print dialog")
        rc, ok = self.s.drive("child", dlg, "Button", "OK")
        self.s.drive("click", ok.strip())
        wait_for(lambda: os.path.exists(out_ps) and os.path.getsize(out_ps) > 0
                 and b"%%EOF" in read_bytes(out_ps), 30, what="the printed file")
        text = subprocess.run(["ps2ascii", out_ps], stdout=subprocess.PIPE, timeout=60).stdout.decode("utf-8", "replace")
        lines = [" ".join(l.replace("\xa0", " ").split()) for l in text.replace("\r", "").split("\n") if l.strip()]
        self.assertEqual(lines[0], "HOTKEY MACRO NAME", lines)
        self.assertTrue(lines[1].startswith("_____"), lines)
        self.assertEqual(lines[2:], ["Ctrl+A Alpha", "Ctrl+Alt+F12 Gamma"])

    def print_dialog_from_tray(self, tray):
        self.s.drive("post", tray, "1124", "1", "0x205")
        rc, menu = self.s.drive("popupmenu", "10000")
        self.assertEqual(rc, 0, "the tray menu did not open")
        self.s.drive("post", menu.strip(), "0x102", str(ord("p")), "0")
        dlg = self.s.find("#32770", "Print", 15000, visible=True)
        self.assertIsNotNone(dlg, "no print dialog")
        rc, combo = self.s.drive("child", dlg, "ComboBox", "-")
        self.assertEqual(rc, 0, "no printer list in the print dialog")
        return dlg, combo.strip()

    def test_tray_prints_while_hidden_and_the_dialog_keeps_the_chosen_printer(self):
        first, second = self.s.path("first.ps"), self.s.path("second.ps")
        for name, out in (("KvSecond", second), ("KvFirst", first)):  # KvFirst ends as the default
            rc, _ = self.mgr("addprinter", name, kvwine_path(out), kvwine_path(DATA))
            self.assertEqual(rc, 0, "no file-backed printer")
        self.s.macros({"Name": "Alpha", "Type": 1, "HotKey": 16449}, {"Name": "NoKey", "Type": 1})
        pid, host, tray = self.s.start_resident()
        self.assertIsNone(self.s.find("TfrmMain", "Ostrel Keyvane", 0, visible=True))
        dlg, combo = self.print_dialog_from_tray(tray)
        self.assertEqual(self.s.drive("gettext", combo)[1].strip(), "KvFirst")
        # Printing to a file is not offered: the text always goes to the printer.
        rc, children = self.s.drive("children", dlg)
        to_file = [l for l in children.split("\n") if re.search(r' button \d \d ".*to fi', l.lower())]
        self.assertTrue(to_file, children)
        self.assertTrue(all(re.search(r' button 0 \d ', l.lower()) for l in to_file), to_file)
        self.assertEqual(self.mgr("cbselect", combo, "KvSecond")[0], 0)
        self.s.drive("click", self.s.drive("child", dlg, "Button", "OK")[1].strip())
        wait_for(lambda: os.path.exists(second) and b"%%EOF" in read_bytes(second), 30, what="the printed file")
        text = subprocess.run(["ps2ascii", second], stdout=subprocess.PIPE, timeout=60).stdout.decode("utf-8", "replace")
        lines = [" ".join(l.replace("\xa0", " ").split()) for l in text.replace("\r", "").split("\n") if l.strip()]
        self.assertEqual(lines[0], "HOTKEY MACRO NAME", lines)
        self.assertEqual(lines[2:], ["Ctrl+A Alpha"])
        self.s.drive("waitgone", "#32770", "Print", "10000")
        # Shown again, the dialog offers the printer chosen last time; cancelling prints nothing.
        dlg, combo = self.print_dialog_from_tray(tray)
        self.assertEqual(self.s.drive("gettext", combo)[1].strip(), "KvSecond")
        self.s.drive("click", self.s.drive("child", dlg, "Button", "Cancel")[1].strip())
        self.assertEqual(self.s.drive("waitgone", "#32770", "Print", "10000")[0], 0)
        time.sleep(1.0)
        self.assertFalse(os.path.exists(first))
        self.assertIsNone(self.s.msgbox("Keyvane", 0))

    def print_dialogs(self):
        rc, out = self.s.drive("enum")
        return [l.split()[0] for l in out.splitlines() if ' 1 #32770 "Print"' in l]

    def test_a_second_print_request_brings_the_open_dialog_forward(self):
        out_ps = self.s.path("printed.ps")
        rc, _ = self.mgr("addprinter", "KvOncePrinter", kvwine_path(out_ps), kvwine_path(DATA))
        self.assertEqual(rc, 0, "no file-backed printer")
        self.s.macros({"Name": "Alpha", "Type": 1, "HotKey": 16449})
        pid, host, tray = self.s.start_resident()
        dlg, combo = self.print_dialog_from_tray(tray)
        self.s.drive("post", tray, "1124", "1", "0x205")
        rc, menu = self.s.drive("popupmenu", "10000")
        self.assertEqual(rc, 0, "the tray menu did not open over the print dialog")
        self.s.drive("post", menu.strip(), "0x102", str(ord("p")), "0")
        deadline = time.time() + 2.0
        while time.time() < deadline:  # a second dialog would show within this
            self.assertEqual(self.print_dialogs(), [dlg], "a second print dialog opened")
            time.sleep(0.2)
        self.s.drive("click", self.s.drive("child", dlg, "Button", "Cancel")[1].strip())
        self.assertEqual(self.s.drive("waitgone", "#32770", "Print", "10000")[0], 0)
        self.assertFalse(os.path.exists(out_ps))
        # Closed, it opens again as before.
        dlg, combo = self.print_dialog_from_tray(tray)
        self.s.drive("click", self.s.drive("child", dlg, "Button", "Cancel")[1].strip())
        self.assertEqual(self.s.drive("waitgone", "#32770", "Print", "10000")[0], 0)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def kvwine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


if __name__ == "__main__":
    kvtest.main()
