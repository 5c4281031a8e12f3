"""Releases, as a Windows user meets them: the per-user installer run silently in a prefix of its
own, the installed Keyvane typing an advanced macro, an upgrade over a running Keyvane and the
uninstaller, both keeping the user's macros, and the portable zip run from where it was
unpacked. Tests the files scripts/package.sh wrote to build/dist."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
import kvwine  # noqa: E402
from kvtest import wait_for  # noqa: E402
from test_typing import Target  # noqa: E402

UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Keyvane"
PROGRAM_FILES = ["Keyvane.Ico", "Keyvane.exe", "Keyvane.html", "Keyvanefaq.html", "LICENSE.txt", "README.txt"]


def project_version():
    with open(os.path.join(kvwine.REPO, "CMakeLists.txt")) as f:
        return re.search(r"project\(Keyvane VERSION ([0-9.]+)", f.read()).group(1)


def dist_file(kind, ext):
    path = os.path.join(kvwine.REPO, "build", "dist", "Keyvane-%s-%s.%s" % (project_version(), kind, ext))
    if not os.path.exists(path):
        raise AssertionError("%s is missing: run scripts/package.sh first" % path)
    return path


class Package(kvtest.WineTestCase):
    @classmethod
    def setUpClass(cls):
        if kvwine.build_is_64bit():
            raise unittest.SkipTest("this machine cannot run 32-bit programs, and the installer is one")
        # A fresh prefix of its own: nothing of an earlier install may be found there.
        cls.saved_state = os.environ.get("KV_WINE_STATE")
        base = cls.saved_state or os.path.join(kvwine.build_dir(), "wine")
        os.environ["KV_WINE_STATE"] = base.rstrip("/") + "-package"
        kvwine.down()
        shutil.rmtree(kvwine.prefix_dir(), ignore_errors=True)
        # Brought up as the fixture does, so that the display outlives no object of ours.
        subprocess.run([sys.executable, os.path.join(kvwine.HERE, "kvwine.py"), "up"], check=True,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, timeout=600)

    @classmethod
    def tearDownClass(cls):
        kvwine.down()
        if cls.saved_state is None:
            os.environ.pop("KV_WINE_STATE", None)
        else:
            os.environ["KV_WINE_STATE"] = cls.saved_state

    def setUp(self):
        super().setUp()
        # No desktop entries in the test user's home for the shortcuts the installer makes.
        self.s.env["WINEDLLOVERRIDES"] += ";winemenubuilder.exe=d"
        self.other_progdir, self.other_win_progdir = self.s.progdir, self.s.win_progdir
        self.targets = 0

    # --- helpers -----------------------------------------------------------------------------
    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def unix_path(self, win_path):
        self.assertTrue(win_path.upper().startswith("C:\\"), win_path)
        return os.path.join(self.s.drive_c, *win_path[3:].split("\\"))

    def shell_folder(self, name):
        """The Windows path of one of the user's shell folders (LocalAppData, Programs, StartUp)."""
        rc, out = self.s.wine("reg", "query", r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders",
                              "/v", name)
        m = re.search(r"REG_SZ\s+(.+)$", out, re.M)
        self.assertIsNotNone(m, "no shell folder " + name)
        return m.group(1).strip()

    def reg_values(self, root):
        """{name: data} of the uninstall entry under HKCU or HKLM, or None without one."""
        rc, out = self.s.wine("reg", "query", root + "\\" + UNINSTALL_KEY)
        if rc != 0:
            return None
        values = {}
        for line in out.splitlines():
            m = re.match(r"\s+(\S+)\s+(REG_\w+)\s+(.*)$", line)
            if m:
                values[m.group(1)] = m.group(3).strip()
        return values

    def use_folder(self, unix_dir, win_dir):
        self.s.progdir, self.s.win_progdir = unix_dir, win_dir.rstrip("\\") + "\\"

    def run_macro(self, text):
        """Runs advanced macro X, typing text and Enter, from the current program folder into a
        new logging window."""
        folder, win_folder = self.s.progdir, self.s.win_progdir
        self.use_folder(self.other_progdir, self.other_win_progdir)  # the window's own files
        self.targets += 1
        target = Target(self.s, log_name="target-%d.log" % self.targets)
        self.use_folder(folder, win_folder)
        self.s.put("X.key", text + "<<ENTER>>")
        self.s.macros({"Name": "X", "Type": 4, "FileName": "X.key"})
        pid, code = self.s.keyvane('/Open:"X" /Close', wait_ms=60000)
        self.assertEqual(code, 0, "Keyvane in %s did not run its macro and end" % win_folder)
        self.assertEqual(target.chars(), text + "\r")

    def watch_exit(self, pid):
        """Holds the process from now on; the returned function waits for its exit code."""
        out = tempfile.TemporaryFile()
        self.addCleanup(out.close)
        proc = subprocess.Popen(["wine", os.path.join(self.s.tools, "kvdrive.exe"), "watch", str(pid), "120000"],
                                env=self.s.env, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL)
        self.addCleanup(proc.kill)

        def text():
            out.seek(0)
            return out.read().decode("latin-1")

        wait_for(lambda: "watching" in text() or proc.poll() is not None, 30, what="the exit watch")
        self.assertIn("watching", text(), "process %d is not running" % pid)

        def exit_code():
            proc.wait(timeout=180)
            m = re.search(r"^exit (\d+)", text(), re.M)
            return int(m.group(1)) if m else None
        return exit_code

    def still_running(self, pid):
        rc, out = self.s.drive("wait", str(pid), "0")
        return rc == 1

    def install(self, setup):
        rc, out = self.s.wine(setup, "/S", timeout=300)
        self.assertEqual(rc, 0, "the silent install failed")

    # --- tests -------------------------------------------------------------------------------
    def test_install_run_upgrade_and_uninstall_keep_the_macros(self):
        setup = kvwine.unix_to_windows(dist_file("setup", "exe"))
        version = project_version()
        win_inst = self.shell_folder("Local AppData") + "\\Programs\\Keyvane"
        inst = self.unix_path(win_inst)
        menu_link = os.path.join(self.unix_path(self.shell_folder("Programs")), "Keyvane.lnk")
        startup_link = os.path.join(self.unix_path(self.shell_folder("StartUp")), "Keyvane.lnk")

        self.install(setup)
        self.assertEqual(sorted(os.listdir(inst)), sorted(PROGRAM_FILES + ["Uninstall.exe"]))
        self.assertTrue(os.path.exists(menu_link), "no Start-menu entry")
        self.assertFalse(os.path.exists(startup_link), "starting with Windows is on by default")
        entry = self.reg_values("HKCU")
        self.assertIsNotNone(entry, "no uninstall entry in the user's registry")
        self.assertEqual(entry["DisplayName"], "Keyvane")
        self.assertEqual(entry["DisplayVersion"], version)
        self.assertEqual(entry["Publisher"], "Ostrel")
        self.assertEqual(entry["DisplayIcon"].lower(), (win_inst + "\\Keyvane.exe,0").lower())
        self.assertEqual(entry["UninstallString"].lower(), ('"%s\\Uninstall.exe"' % win_inst).lower())
        size_kb = int(entry["EstimatedSize"], 16)
        self.assertGreaterEqual(size_kb, os.path.getsize(os.path.join(inst, "Keyvane.exe")) // 1024)
        self.assertIsNone(self.reg_values("HKLM"), "the install wrote to the machine's registry")

        self.use_folder(inst, win_inst)
        self.run_macro("Installed Keyvane")
        # The user's macros beside the program, and a start with Windows chosen earlier.
        self.s.put("Report.dat", b"\x00\x01recording\xff", binary=True)
        self.s.put("~temp.dat", "take")
        user_files = {n: self.read(os.path.join(inst, n)) for n in ("X.key", "Report.dat", "~temp.dat")}
        os.makedirs(os.path.dirname(startup_link), exist_ok=True)
        shutil.copy(menu_link, startup_link)

        running = self.watch_exit(self.s.start_resident()[0])
        # As the resident Keyvane has started (a /Close start leaves the window-trigger records
        # alone, a resident one empties them).
        ini = self.read(self.s.ini_path)
        self.install(setup)
        self.assertEqual(running(), 0, "the upgrade did not close the running Keyvane as its Exit does")
        self.assertEqual(sorted(os.listdir(inst)), sorted(PROGRAM_FILES + ["Uninstall.exe"] + list(user_files)))
        for name, data in user_files.items():
            self.assertEqual(self.read(os.path.join(inst, name)), data, name + " changed in the upgrade")
        self.assertTrue(os.path.exists(startup_link), "the upgrade dropped the start with Windows")
        self.assertEqual(self.reg_values("HKCU")["DisplayVersion"], version)

        # The uninstaller closes the installed Keyvane only, never one run from elsewhere.
        running = self.watch_exit(self.s.start_resident()[0])
        self.use_folder(self.other_progdir, self.other_win_progdir)
        # Only one resident Keyvane runs per session: the other folder's one is a /Close start
        # still waiting in its macro.
        self.s.put("X.key", "<<MINS5>>")
        other = self.s.start_resident('/Open:"X" /Close')[0]
        rc, _ = self.s.wine(win_inst + "\\Uninstall.exe", "/S", timeout=120)
        self.assertEqual(rc, 0)
        # It goes on as a copy of itself in the temporary folder.
        wait_for(lambda: not os.path.exists(os.path.join(inst, "Uninstall.exe"))
                 and not kvtest.prefix_unix_pids(["~nsu"]), 120, what="the uninstaller to finish")
        self.assertEqual(running(), 0, "the uninstaller did not close the running Keyvane as its Exit does")
        self.assertTrue(self.still_running(other), "the uninstaller ended a Keyvane of another folder")
        self.assertEqual(sorted(os.listdir(inst)), sorted(user_files), "left or removed the wrong files")
        for name, data in user_files.items():
            self.assertEqual(self.read(os.path.join(inst, name)), data, name + " changed")
        self.assertEqual(self.read(self.s.ini_path), ini, "macros.ini changed")
        self.assertFalse(os.path.exists(menu_link), "the Start-menu entry is still there")
        self.assertFalse(os.path.exists(startup_link), "the start with Windows is still there")
        self.assertIsNone(self.reg_values("HKCU"), "the uninstall entry is still there")

    def test_portable_zip_runs_from_where_it_is_unpacked(self):
        with zipfile.ZipFile(dist_file("portable", "zip")) as z:
            self.assertEqual(sorted(z.namelist()), sorted(PROGRAM_FILES))
            folder = os.path.join(self.s.progdir, "Keyvane portable")
            z.extractall(folder)
        readme = self.read(os.path.join(folder, "README.txt")).decode("latin-1")
        self.assertIn("version %s" % project_version(), readme)
        self.assertIn("macros.ini", readme)
        self.assertIn("\r\n", readme, "README.txt needs Windows line ends")
        self.assertTrue(self.read(os.path.join(folder, "LICENSE.txt")).startswith(b"MIT License"))
        self.use_folder(folder, self.s.win_progdir + "Keyvane portable")
        self.run_macro("Portable Keyvane")


if __name__ == "__main__":
    kvtest.main()
