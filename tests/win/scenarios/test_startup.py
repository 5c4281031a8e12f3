"""Start-up and the command line, whole program: /Open: runs macros by name, /Close ends the
instance once its macro is done (or failed, or matched nothing), the first run is recorded,
errors reach a message box."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402


class Startup(kvtest.WineTestCase):
    def marker_lines(self):
        p = self.s.path("marker.log")
        if not os.path.exists(p):
            return []
        with open(p) as f:
            return [l.strip() for l in f if l.strip()]

    def test_open_close_runs_kind_one_and_ends_by_itself(self):
        target = self.s.tool_copy("kvmarker.exe")
        self.s.macros({"Name": "Marker", "Type": 1, "FileName": target})
        t0 = time.time()
        pid, code = self.s.keyvane('/Open:"Marker" /Close', wait_ms=15000)
        elapsed = time.time() - t0
        self.assertEqual(code, 0, "the /Close instance did not end by itself")
        wait_for(self.marker_lines, 10, what="the marker file")
        self.assertEqual(self.marker_lines(), ["RAN kvmarker.exe"])
        # One PlaybackTimer tick after the macro, plus Wine's process start.
        self.assertLess(elapsed, 8.0)

    def test_without_close_the_instance_stays_resident(self):
        target = self.s.tool_copy("kvmarker.exe")
        self.s.macros({"Name": "Marker", "Type": 1, "FileName": target})
        pid, code = self.s.keyvane('/OPEN:"   marker   "', wait_ms=0)
        wait_for(self.marker_lines, 10, what="the marker file")
        self.assertFalse(self.s.wait_exit(pid, 3000), "the instance ended without /Close")
        self.assertIsNotNone(self.s.find("TKeyvane", "-"))

    def test_close_request_to_the_host_ends_the_program(self):
        self.s.macros()
        pid, _ = self.s.keyvane("")
        host = self.s.find("TKeyvane", "-", 15000)
        self.assertIsNotNone(host)
        self.assertFalse(self.s.wait_exit(pid, 1500))
        self.s.drive("post", host, "0x10", "0", "0")  # WM_CLOSE
        self.assertTrue(self.s.wait_exit(pid, 10000), "a close request did not end the program")

    def test_duplicates_run_in_order_and_unknown_names_run_nothing(self):
        a = self.s.tool_copy("kvmarker.exe", "first.exe")
        b = self.s.tool_copy("kvmarker.exe", "second.exe")
        c = self.s.tool_copy("kvmarker.exe", "third.exe")
        self.s.macros({"Name": "Twice", "Type": 1, "FileName": a},
                      {"Name": "Other", "Type": 1, "FileName": b},
                      {"Name": "TWICE", "Type": 1, "FileName": c})
        pid, code = self.s.keyvane('Nobody /Close', wait_ms=0)
        box = self.s.msgbox("Keyvane", 15000)
        self.assertIsNotNone(box, "a name that matches nothing was not reported")
        self.assertIn('There is no macro named "Nobody".', box[1])
        self.s.press_ok(box[0])
        self.assertTrue(self.s.wait_exit(pid, 10000), "a /Close instance that ran nothing stayed behind")
        self.assertEqual(self.marker_lines(), [])
        pid, code = self.s.keyvane('/close twice', wait_ms=15000)
        self.assertEqual(code, 0)
        wait_for(lambda: len(self.marker_lines()) == 2, 10, what="two marker lines")
        self.assertEqual(sorted(self.marker_lines()), ["RAN first.exe", "RAN third.exe"])

    def test_first_run_shows_the_manager_and_is_written_false(self):
        self.s.remove_ini()
        pid, _ = self.s.keyvane("")
        hwnd = self.s.find("TfrmMain", "Ostrel Keyvane", 15000, visible=True)
        self.assertIsNotNone(hwnd, "the manager window was not shown on the first run")
        wait_for(lambda: self.s.read_ini().get("MAIN", {}).get("FIRSTRUN") == "0", 10, what="FirstRun=0")
        kvtest.kill_wine_programs()
        # Later starts leave it hidden.
        pid, _ = self.s.keyvane("")
        self.assertIsNotNone(self.s.find("TKeyvane", "-", 15000))
        time.sleep(1.0)
        self.assertIsNone(self.s.find("TfrmMain", "Ostrel Keyvane", 0, visible=True))

    def test_missing_script_shows_the_error_and_reports_nothing(self):
        self.s.macros({"Name": "Gone", "Type": 4, "FileName": "Gone.key"})
        pid, _ = self.s.keyvane('/Open:Gone /Close')
        box = self.s.msgbox("Keyvane", 15000)
        self.assertIsNotNone(box, "no error message box")
        self.assertIn("Cannot open file %sGone.key." % self.s.win_progdir, box[1])
        self.s.press_ok(box[0])
        # No status was reported, yet the /Close instance ends after the error box.
        self.assertTrue(self.s.wait_exit(pid, 10000), "a /Close instance whose macro failed stayed behind")

    def test_read_only_store_reports_the_refused_write_and_ends(self):
        self.s.write_ini({"Main": {"Entries": 0}})
        os.chmod(self.s.ini_path, 0o444)
        try:
            pid, _ = self.s.keyvane("")
            box = self.s.msgbox("Keyvane", 15000)
            self.assertIsNotNone(box, "the refused write was not reported")
            self.assertIn("Unable to write to macros.ini.", box[1])
            self.s.press_ok(box[0])
            self.assertTrue(self.s.wait_exit(pid, 10000), "the program did not end after the refused first-run write")
            self.assertEqual(self.s.read_ini()["MAIN"]["ENTRIES"], "0")
        finally:
            os.chmod(self.s.ini_path, 0o644)


if __name__ == "__main__":
    kvtest.main()
