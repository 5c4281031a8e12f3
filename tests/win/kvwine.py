"""The Wine test environment of the Windows-side tests.

A private Xvfb display, a Wine prefix of the build's own (never ~/.wine), and one
persistent wineserver with Wine's services started once. Everything lives under the build
folder's `wine/` (or $KV_WINE_STATE), is created on first use and reused by later tests.

    python3 kvwine.py up | down | env | run <command...>

Scenario tests import this module and use `Session` (see below).

The prefix matches the build: 32-bit for the i686 build, 64-bit for the x86_64 test build made
on machines whose kernel cannot run 32-bit code (see scripts/build.sh). There `wine` on the PATH
is a small shim that runs Wine's 64-bit loader directly.
"""
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.abspath(os.path.join(HERE, "..", ".."))


def build_dir():
    d = os.environ.get("KV_BUILD_DIR")
    if d:
        return os.path.abspath(d)
    return os.path.join(REPO, "build", "win")


def state_dir():
    d = os.environ.get("KV_WINE_STATE") or os.path.join(build_dir(), "wine")
    os.makedirs(d, exist_ok=True)
    return d


def build_is_64bit():
    """True when the build's Keyvane.exe is an x86_64 program (machine field of its PE header)."""
    try:
        with open(os.path.join(build_dir(), "Keyvane.exe"), "rb") as f:
            head = f.read(4096)
        pe = int.from_bytes(head[0x3C:0x40], "little")
        return head[pe:pe + 4] == b"PE\0\0" and int.from_bytes(head[pe + 4:pe + 6], "little") == 0x8664
    except (OSError, ValueError):
        return False


def prefix_dir():
    return os.path.join(state_dir(), "prefix64" if build_is_64bit() else "prefix")


WINE64 = "/usr/lib/wine/wine64"


def _wine64_shim_dir():
    """A folder holding `wine` that runs the 64-bit loader: Debian's wine script prefers the
    32-bit one whenever it is installed, even where it cannot run."""
    d = os.path.join(state_dir(), "bin64")
    os.makedirs(d, exist_ok=True)
    text = "#!/bin/sh\nexec %s \"$@\"\n" % WINE64
    # wine-stable too: wineboot, regedit and the other wrappers call it.
    for name in ("wine", "wine-stable"):
        shim = os.path.join(d, name)
        if _read(shim) != text.strip():
            with open(shim, "w") as f:
                f.write(text)
            os.chmod(shim, 0o755)
    return d


def _base_env():
    env = dict(os.environ)
    env.update(
        WINEPREFIX=prefix_dir(),
        WINEARCH="win32",
        WINEDEBUG="-all",
        WINEDLLOVERRIDES="mscoree,mshtml=",
    )
    if build_is_64bit():
        env.update(WINEARCH="win64", WINELOADER=WINE64,
                   PATH=_wine64_shim_dir() + os.pathsep + env.get("PATH", ""))
    return env


def _quiet(cmd, env, timeout=None):
    return subprocess.run(cmd, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, timeout=timeout).returncode


def _detached(cmd, env):
    """Starts a process that outlives us, with no inherited pipes (CTest waits on those)."""
    return subprocess.Popen(cmd, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, start_new_session=True, close_fds=True)


def _pid_alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except OSError:
        return False


def _read(path):
    try:
        with open(path) as f:
            return f.read().strip()
    except OSError:
        return ""


def _make_prefix(env):
    pfx = prefix_dir()
    tmp = pfx + ".new"
    shutil.rmtree(tmp, ignore_errors=True)
    e = dict(env, WINEPREFIX=tmp)
    _quiet(["wine", "wineboot", "-i"], e, timeout=300)
    _quiet(["wineserver", "-w"], e, timeout=120)
    # Desktop, Documents and the other user folders are links into $HOME: make them real.
    users = os.path.join(tmp, "drive_c", "users")
    for root, dirs, _ in os.walk(users):
        for d in dirs:
            p = os.path.join(root, d)
            if os.path.islink(p):
                os.unlink(p)
                os.makedirs(p)
    if not os.path.exists(os.path.join(tmp, "system.reg")):
        raise RuntimeError("wineboot did not create a prefix in " + tmp)
    os.rename(tmp, pfx)


def _start_display(env):
    st = state_dir()
    r, w = os.pipe()
    proc = subprocess.Popen(
        ["Xvfb", "-displayfd", str(w), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
        pass_fds=(w,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
        start_new_session=True)
    os.close(w)
    number = b""
    deadline = time.time() + 20
    while time.time() < deadline:
        chunk = os.read(r, 16)
        if not chunk:
            break
        number += chunk
        if number.endswith(b"\n"):
            break
    os.close(r)
    display = ":" + number.decode().strip()
    if display == ":":
        raise RuntimeError("Xvfb did not report a display")
    with open(os.path.join(st, "xvfb.pid"), "w") as f:
        f.write(str(proc.pid))
    with open(os.path.join(st, "display"), "w") as f:
        f.write(display)
    # Xvfb's keymap also puts ( and ) on keypad keycodes, where the layout then cannot type
    # them; -noreset keeps this change for the display's life.
    _quiet(["xmodmap", "-display", display, "-e", "keycode 187 =", "-e", "keycode 188 ="], env)
    return display


def ensure():
    """Brings the environment up if it is not; returns the environment variables to use."""
    env = _base_env()
    with open(os.path.join(state_dir(), "lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not os.path.exists(os.path.join(prefix_dir(), "system.reg")):
            _make_prefix(env)
        pid = _read(os.path.join(state_dir(), "xvfb.pid"))
        display = _read(os.path.join(state_dir(), "display"))
        if not (pid and _pid_alive(int(pid)) and display):
            display = _start_display(env)
        env["DISPLAY"] = display
        # One persistent server, and Wine's services started with their output detached.
        if _quiet(["wineserver", "-p"], env, timeout=60) == 0:
            pass
        _quiet(["wine", "cmd", "/c", "exit"], env, timeout=120)
    return env


def down():
    env = _base_env()
    _quiet(["wineserver", "-k"], env, timeout=60)
    pid = _read(os.path.join(state_dir(), "xvfb.pid"))
    if pid and _pid_alive(int(pid)):
        os.kill(int(pid), signal.SIGTERM)
    for f in ("xvfb.pid", "display"):
        try:
            os.remove(os.path.join(state_dir(), f))
        except OSError:
            pass


def unix_to_windows(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


if __name__ == "__main__":
    cmd = sys.argv[1] if len(sys.argv) > 1 else "up"
    if cmd == "up":
        e = ensure()
        print("WINEPREFIX=%s DISPLAY=%s" % (e["WINEPREFIX"], e["DISPLAY"]))
    elif cmd == "down":
        down()
    elif cmd == "env":
        e = ensure()
        for k in ("WINEPREFIX", "WINEARCH", "WINEDEBUG", "WINEDLLOVERRIDES", "DISPLAY", "PATH"):
            print("export %s='%s'" % (k, e[k]))
        if "WINELOADER" in e:
            print("export WINELOADER='%s'" % e["WINELOADER"])
    elif cmd == "run":
        e = ensure()
        sys.exit(subprocess.call(sys.argv[2:], env=e, stdin=subprocess.DEVNULL))
    else:
        sys.exit("usage: kvwine.py up|down|env|run <command...>")
