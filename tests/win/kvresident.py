"""Helpers of the resident-program tests: background Wine programs, the marker log, xdotool
focus on a Wine window, and the macros that make a trigger's effect visible."""
import os
import subprocess
import time

from kvtest import wait_for

CTRL_ALT = 0xC000
SHIFT, CTRL, ALT = 0x2000, 0x4000, 0x8000


def hotkey(mods, key):
    """The stored TShortCut value."""
    return mods | ord(key) if isinstance(key, str) else mods | key


def spawn(s, *args):
    """Starts a Wine program in the background; its output goes to a file."""
    with open(os.path.join(s.progdir, "spawn-%d.out" % time.monotonic_ns()), "wb") as out:
        return subprocess.Popen(["wine"] + list(args), env=s.env, stdin=subprocess.DEVNULL, stdout=out,
                                stderr=subprocess.DEVNULL, start_new_session=True)


def marker_lines(s, name="marker.log"):
    p = s.path(name)
    if not os.path.exists(p):
        return []
    with open(p, "rb") as f:
        return [l.strip() for l in f.read().decode("latin-1").splitlines() if l.strip()]


def find_tray_window(s, timeout_ms):
    """The tray icon's hidden window: of the components' one window class, the only top-level one."""
    return s.find("KeyvaneComponent", "-", timeout_ms)


def start_keyvane(s, args=""):
    pid, _ = s.keyvane(args)
    host = s.find("TKeyvane", "-", 20000)
    assert host, "Keyvane did not start"
    tray = find_tray_window(s, 10000)
    assert tray, "no tray icon window"
    # The prompt form is created last, after the hotkeys were registered: keys pressed before
    # that would be lost.
    assert s.find("TfrmGetVar", "-", 20000), "start-up did not finish"
    return pid, host, tray


def target(s, title="Keyvane Target", log="target.log"):
    """Starts kvtarget with that title and gives its X window the keyboard focus."""
    spawn(s, os.path.join(s.tools, "kvtarget.exe"), s.win_progdir + log, title)
    wait_for(lambda: any(l.startswith("READY") for l in marker_lines(s, log)), 20, what="kvtarget")
    focus(s, title)
    return log


def focus(s, title):
    def x_window():
        ids = s.xdotool("search", "--name", "^%s$" % title).split()
        return ids[0] if ids else None
    xid = wait_for(x_window, 10, what="the X window of " + title)
    s.xdotool("windowactivate", "--sync", xid)
    s.xdotool("windowfocus", "--sync", xid)
    return xid
