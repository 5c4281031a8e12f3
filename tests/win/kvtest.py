"""Helpers of the whole-program tests and benchmarks: a program folder with Keyvane.exe,
macros.ini in the prefix's Windows folder, starting Keyvane (once, or resident until start-up
has finished) and ending it, background Wine programs and their logs, driving windows with
kvdrive.exe and xdotool, and waiting for conditions (never fixed sleeps)."""
import contextlib
import os
import shutil
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kvwine  # noqa: E402

SHIFT, CTRL, ALT = 0x2000, 0x4000, 0x8000

WATCHED = ("Keyvane.exe", "kvtarget.exe", "kvsink.exe", "kvmarker.exe", "kvwindows.exe", "kvhtml.exe", "kvmgr.exe")


# The class of the tray icon's hidden window (shared by every component window).
TRAY_CLASS = "KeyvaneComponent"

def wait_for(cond, timeout=10.0, interval=0.05, what="condition"):
    deadline = time.time() + timeout
    while True:
        v = cond()
        if v:
            return v
        if time.time() >= deadline:
            raise AssertionError("timed out after %.1fs waiting for %s" % (timeout, what))
        time.sleep(interval)


def hotkey(mods, key):
    """The stored TShortCut value of modifiers and a key (a character or a virtual-key code)."""
    return mods | ord(key) if isinstance(key, str) else mods | key


def prefix_unix_pids(names):
    """Unix processes of this prefix whose command line (for a Windows program, its Windows
    command line) holds one of names; other test runs, with prefixes of their own, are ignored."""
    me = os.getpid()
    mine = ("WINEPREFIX=" + kvwine.prefix_dir()).encode()
    out = []
    for pid in os.listdir("/proc"):
        if not pid.isdigit() or int(pid) == me:
            continue
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                cmd = f.read().decode("latin-1")
            with open("/proc/%s/environ" % pid, "rb") as f:
                if mine not in f.read().split(b"\0"):
                    continue
        except OSError:
            continue
        if any(n.lower() in cmd.lower() for n in names):
            out.append(int(pid))
    return out


def kill_wine_programs(names=WATCHED):
    """Ends test programs of this prefix still running."""
    for pid in prefix_unix_pids(names):
        try:
            os.kill(pid, 9)
        except OSError:
            pass


class Session:
    """One test's Wine environment and program folder C:\\kvtest\\<name>."""

    def __init__(self, name):
        self.env = kvwine.ensure()
        self.build = kvwine.build_dir()
        self.prefix = kvwine.prefix_dir()
        self.drive_c = os.path.join(self.prefix, "drive_c")
        self.windir = os.path.join(self.drive_c, "windows")
        self.ini_path = os.path.join(self.windir, "macros.ini")
        self.tools = os.path.join(self.build, "tools")
        self.name = name
        self.progdir = os.path.join(self.drive_c, "kvtest", name)
        self.win_progdir = "C:\\kvtest\\" + name + "\\"
        kill_wine_programs()
        shutil.rmtree(self.progdir, ignore_errors=True)
        os.makedirs(self.progdir)
        shutil.copy(os.path.join(self.build, "Keyvane.exe"), self.progdir)
        for extra in ("Keyvane.html", "Keyvanefaq.html", "Keyvane.Ico"):
            src = os.path.join(self.build, extra)
            if os.path.exists(src):
                shutil.copy(src, self.progdir)
        self.remove_ini()

    # --- files -----------------------------------------------------------------------------
    def remove_ini(self):
        try:
            os.chmod(self.ini_path, 0o644)
            os.remove(self.ini_path)
        except OSError:
            pass

    def write_ini(self, sections):
        """sections: {"Main": {"Entries": 1}, "Macro1": {...}} or the file's text."""
        if isinstance(sections, str):
            text = sections
        else:
            text = ""
            for sec, keys in sections.items():
                text += "[%s]\r\n" % sec
                for k, v in keys.items():
                    text += "%s=%s\r\n" % (k, v)
        with open(self.ini_path, "wb") as f:
            f.write(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("latin-1"))

    def macros(self, *macros, main=None):
        """Writes macros.ini from macro dicts (Name, Type, ...), with Entries and FirstRun=0."""
        sections = {"Main": dict({"Entries": len(macros), "FirstRun": 0}, **(main or {}))}
        for i, m in enumerate(macros, 1):
            sections["Macro%d" % i] = m
        self.write_ini(sections)

    def read_ini(self):
        """{section: {key: value}}, names upper-cased as the platform matches them."""
        out, sec = {}, None
        if not os.path.exists(self.ini_path):
            return out
        with open(self.ini_path, "rb") as f:
            for line in f.read().decode("latin-1").splitlines():
                line = line.strip()
                if line.startswith("[") and line.endswith("]"):
                    sec = out.setdefault(line[1:-1].upper(), {})
                elif "=" in line and sec is not None:
                    k, v = line.split("=", 1)
                    sec[k.strip().upper()] = v.strip()
        return out

    def put(self, name, content, binary=False):
        """A file in the program folder."""
        mode = "wb"
        data = content if binary else content.encode("latin-1")
        with open(os.path.join(self.progdir, name), mode) as f:
            f.write(data)

    def path(self, name):
        return os.path.join(self.progdir, name)

    def tool_copy(self, tool, as_name=None):
        """Copies a tool into the program folder; returns its Windows path."""
        dst = as_name or tool
        shutil.copy(os.path.join(self.tools, tool), os.path.join(self.progdir, dst))
        return self.win_progdir + dst

    @contextlib.contextmanager
    def html_viewer(self):
        """Makes a copy of kvmarker (kvhtml.exe) the program that opens .html pages for the
        duration; it logs "RAN kvhtml.exe <page>". The former association comes back after."""
        viewer = self.tool_copy("kvmarker.exe", "kvhtml.exe")
        key = r"HKLM\Software\Classes\.html"
        progid = r"HKLM\Software\Classes\KvTestPage"
        _, old = self.wine("reg", "query", key, "/ve")
        old_value = None
        for line in old.splitlines():
            if "REG_SZ" in line:
                old_value = line.split("REG_SZ", 1)[1].strip()
        self.wine("reg", "add", progid + r"\shell\open\command", "/ve", "/d", '"%s" "%%1"' % viewer, "/f")
        self.wine("reg", "add", key, "/ve", "/d", "KvTestPage", "/f")
        try:
            yield
        finally:
            if old_value is not None:
                self.wine("reg", "add", key, "/ve", "/d", old_value, "/f")
            else:
                self.wine("reg", "delete", key, "/ve", "/f")
            self.wine("reg", "delete", progid, "/f")

    # --- processes ---------------------------------------------------------------------------
    def wine(self, *args, timeout=60):
        # Output goes to a file, not a pipe: programs started from the tool inherit its output
        # handles, and a pipe would stay open as long as they run.
        import tempfile
        with tempfile.TemporaryFile() as out:
            r = subprocess.run(["wine"] + list(args), env=self.env, stdin=subprocess.DEVNULL,
                               stdout=out, stderr=subprocess.DEVNULL, timeout=timeout)
            out.seek(0)
            return r.returncode, out.read().decode("latin-1").replace("\r", "")

    def drive(self, *args, timeout=60):
        """Runs kvdrive.exe; returns (exit code, output)."""
        return self.wine(os.path.join(self.tools, "kvdrive.exe"), *args, timeout=timeout)

    def keyvane(self, args="", wait_ms=0):
        """Starts Keyvane.exe with exactly this argument text; returns its Windows process id
        and, when it ended within wait_ms, its exit code (else None)."""
        line = '"%sKeyvane.exe"%s' % (self.win_progdir, (" " + args) if args else "")
        rc, out = self.drive("run", line, str(wait_ms), timeout=wait_ms / 1000 + 60)
        pid, code = None, None
        for word in out.split("\n"):
            if word.startswith("pid "):
                pid = int(word.split()[1])
            if word.startswith("exit "):
                code = int(word.split()[1])
        if pid is None:
            raise AssertionError("Keyvane.exe did not start: " + out)
        return pid, code

    def windows_of(self, pid):
        """{window class: handle} of the top-level windows of one process (the first of each)."""
        rc, out = self.drive("enum")
        found = {}
        for w in (l.split() for l in out.splitlines()):
            if len(w) > 3 and w[1] == str(pid):
                found.setdefault(w[3], w[0])
        return found

    def start_resident(self, args=""):
        """Starts Keyvane.exe and waits until its start-up has finished; returns its process id
        and the handles of its host and tray icon windows. Other instances may be running."""
        pid, code = self.keyvane(args)
        assert code is None, "Keyvane ended at once (exit %s)" % code
        # The prompt form is created last, after the hotkeys were registered: keys pressed
        # before that would be lost.
        # The tray icon's window is the only top-level one of the components' window class.
        wanted = {"TKeyvane", TRAY_CLASS, "TfrmGetVar"}

        def started():
            w = self.windows_of(pid)
            return w if wanted <= w.keys() else None
        w = wait_for(started, 40, what="the start-up of Keyvane %d (%s)" % (pid, ", ".join(sorted(wanted))))
        return pid, w["TKeyvane"], w[TRAY_CLASS]

    def spawn(self, *args):
        """Starts a Wine program in the background; its output goes to a file."""
        with open(os.path.join(self.progdir, "spawn-%d.out" % time.monotonic_ns()), "wb") as out:
            return subprocess.Popen(["wine"] + list(args), env=self.env, stdin=subprocess.DEVNULL, stdout=out,
                                    stderr=subprocess.DEVNULL, start_new_session=True)

    def marker_lines(self, name="marker.log"):
        """The non-empty lines of a log in the program folder (kvmarker's by default)."""
        p = self.path(name)
        if not os.path.exists(p):
            return []
        with open(p, "rb") as f:
            return [l.strip() for l in f.read().decode("latin-1").splitlines() if l.strip()]

    def target(self, title="Keyvane Target", log="target.log"):
        """Starts kvtarget with that title and gives its X window the keyboard focus."""
        self.spawn(os.path.join(self.tools, "kvtarget.exe"), self.win_progdir + log, title)
        wait_for(lambda: any(l.startswith("READY") for l in self.marker_lines(log)), 20, what="kvtarget")
        self.focus(title)
        return log

    def focus(self, title):
        """Activates and focuses the X window of the Wine window with exactly that title."""
        def x_window():
            ids = self.xdotool("search", "--name", "^%s$" % title).split()
            return ids[0] if ids else None
        xid = wait_for(x_window, 10, what="the X window of " + title)
        self.xdotool("windowactivate", "--sync", xid)
        self.xdotool("windowfocus", "--sync", xid)
        return xid

    def wait_exit(self, pid, timeout_ms):
        rc, out = self.drive("wait", str(pid), str(timeout_ms), timeout=timeout_ms / 1000 + 60)
        return rc == 0

    def find(self, cls="-", title="-", timeout_ms=0, visible=False):
        rc, out = self.drive("findvisible" if visible else "find", cls, title, str(timeout_ms))
        return out.strip() if rc == 0 else None

    def msgbox(self, title="Keyvane", timeout_ms=10000):
        """(hwnd, [texts]) of a visible message box with that title, or None."""
        rc, out = self.drive("msgbox", title, str(timeout_ms))
        if rc != 0:
            return None
        lines = [l for l in out.split("\n") if l]
        return lines[0], lines[1:]

    def press_ok(self, box_hwnd):
        rc, out = self.drive("child", box_hwnd, "Button", "OK")
        self.drive("click", out.strip())

    def xdotool(self, *args):
        return subprocess.run(["xdotool"] + list(args), env=self.env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30).stdout.decode()

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def close(self):
        kill_wine_programs()


class Wizard:
    """The Macro Setup Wizard of a running Keyvane, driven through its controls by their ids
    (forms/wizard_win.h), as a user's clicks and typing would."""
    NEXT, BACK, FINISHED, HEADING = 1001, 1002, 1003, 1011
    OPT_ADVANCED, OPT_PLAYBACK, OPT_START_APP = 1020, 1021, 1022
    NAME, HOTKEY, TRIGGER, SHORTCUTS = 1030, 1040, 1042, 1044
    BROWSE, COMMAND = 1050, 1051
    SUMMARY = 1090
    CANCEL = 2
    HKM_SETHOTKEY, CB_SETCURSEL, WM_CLOSE = 0x401, 0x14E, 0x10

    def __init__(self, session, hwnd):
        self.s = session
        self.hwnd = hwnd

    @staticmethod
    def open_from(session, manager):
        """Clicks the manager window's "New Macro" and waits for the wizard's first page."""
        rc, button = session.drive("child", manager, "Button", "New Macro")
        assert rc == 0, "no New Macro button"
        session.drive("click", button.strip())
        hwnd = session.find("TfrmWizard", "Macro Setup Wizard", 20000, visible=True)
        assert hwnd, "the wizard did not open"
        w = Wizard(session, hwnd)
        w.wait_page("What would you like this macro to do?")
        return w

    def controls(self):
        """{id: (hwnd, visible, enabled, text)} of the wizard's controls."""
        rc, out = self.s.drive("children", self.hwnd)
        found = {}
        for line in out.split("\n"):
            parts = line.strip().split(" ", 5)
            if len(parts) == 6:
                found.setdefault(int(parts[1]), (parts[0], parts[3] == "1", parts[4] == "1", parts[5][1:-1]))
        return found

    def control(self, cid):
        return self.controls()[cid][0]

    def heading(self):
        return self.controls()[self.HEADING][3]

    def wait_page(self, heading):
        wait_for(lambda: self.heading() == heading, 15, what="the wizard's page " + heading)

    def click(self, cid):
        self.s.drive("click", self.control(cid))

    def set_text(self, cid, text):
        self.s.drive("settext", self.control(cid), text)

    def text(self, cid):
        return self.s.drive("gettext", self.control(cid))[1].rstrip("\n")

    def set_hotkey(self, vk, hotkeyf):
        """The hotkey field's value: a virtual key with HOTKEYF_ flags (Shift 1, Ctrl 2, Alt 4)."""
        self.s.drive("send", self.control(self.HOTKEY), str(self.HKM_SETHOTKEY), str(vk | hotkeyf << 8), "0")

    def choose_shortcut(self, item):
        self.s.drive("send", self.control(self.SHORTCUTS), str(self.CB_SETCURSEL), str(item), "0")

    def next(self, heading):
        self.click(self.NEXT)
        self.wait_page(heading)

    def back(self, heading):
        self.click(self.BACK)
        self.wait_page(heading)

    def summary(self):
        return [self.text(self.SUMMARY + i) for i in range(4)]

    def visible(self):
        rc, out = self.s.drive("findvisible", "TfrmWizard", "Macro Setup Wizard", "0")
        return rc == 0

    def wait_closed(self):
        wait_for(lambda: not self.visible(), 15, what="the wizard to close")

    def answer(self, title, button):
        """Presses `button` of the message box `title`; returns the box's texts."""
        box = self.s.msgbox(title, 10000)
        assert box, "no %r message box" % title
        rc, b = self.s.drive("child", box[0], "Button", button)
        assert rc == 0, "no %r button in %r" % (button, box[1])
        self.s.drive("click", b.strip())
        self.s.drive("waitgone", "#32770", title, "10000")
        return box[1]


class WineTestCase(unittest.TestCase):
    """A test case with a fresh Session per test, named after the test."""

    def setUp(self):
        self.s = Session(self.id().split(".")[-1])

    def tearDown(self):
        self.s.close()


def main():
    unittest.main(verbosity=2)
