"""Benchmarks of the resident program under Wine (figures only, never pass/fail):

1. hotkey latency: from the release of the hotkey's last modifier (Ctrl, held after the rest)
   to the first key message of the macro's typing at the focused target; median over N presses;
2. the window-title poll with 100 trigger macros and 100 top-level windows: CPU time per poll
   and the resident program's CPU use over a minute of idling, once with titles that match no
   trigger and once with every trigger matching a window it has already run for.

    tests/bench/resident_bench_wine.sh [presses] [idle_seconds]
"""
import os
import statistics
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "win"))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402

TICK = os.sysconf("SC_CLK_TCK")


def unix_pids(name):
    return kvtest.prefix_unix_pids([name])


def cpu_seconds(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
    except OSError:
        return 0.0
    return (int(fields[11]) + int(fields[12])) / TICK


def latency(presses):
    s = kvtest.Session("bench_latency")
    s.put("Type.key", "x")
    s.macros({"Name": "Type", "Type": 4, "FileName": "Type.key", "HotKey": kvtest.hotkey(kvtest.CTRL | kvtest.ALT, "M")})
    s.start_resident()
    log = s.path("latency.log")
    s.spawn(os.path.join(s.tools, "kvlatency.exe"), s.win_progdir + "latency.log", "Keyvane Latency")
    wait_for(lambda: "READY" in s.marker_lines("latency.log"), 20, what="kvlatency")
    s.focus("Keyvane Latency")
    delays, hook_delays = [], []
    for i in range(presses):
        seen = len(s.marker_lines("latency.log"))
        s.xdotool("keydown", "ctrl", "alt", "m")
        s.xdotool("keyup", "m", "alt")
        time.sleep(0.3)
        s.xdotool("keyup", "ctrl")

        def typed():
            lines = s.marker_lines("latency.log")[seen:]
            return lines if any(l.startswith("MSG 58 ") for l in lines) else None
        lines = wait_for(typed, 15, what="the typed key of press %d" % (i + 1))
        release = first_key = first_injected = None
        for l in lines:
            w = l.split()
            if w[0] == "LL" and w[1] in ("11", "a2", "a3") and w[2] == "up" and w[3] == "user":
                release = int(w[4])
            elif release and w[0] == "LL" and w[3] == "injected" and first_injected is None:
                first_injected = int(w[4])
            elif release and w[0] == "MSG" and w[1] == "58" and first_key is None:
                first_key = int(w[2])
        if release and first_key:
            delays.append((first_key - release) / 1000.0)
        if release and first_injected:
            hook_delays.append((first_injected - release) / 1000.0)
        time.sleep(0.3)
    s.close()
    print("hotkey latency, Ctrl release -> first key message at the target, %d presses:" % len(delays))
    if delays:
        print("  median %.1f ms, min %.1f ms, max %.1f ms" % (statistics.median(delays), min(delays), max(delays)))
    if hook_delays:
        print("  (to the first injected key event seen by a low-level hook: median %.1f ms)"
              % statistics.median(hook_delays))


def poll(idle_seconds, matching, triggers=100):
    name = "bench_poll_matching" if matching else "bench_poll_%d" % triggers
    s = kvtest.Session(name)
    s.put("Empty.key", "")
    macros = [{"Name": "T%d" % i, "Type": 4, "FileName": "Empty.key", "Trigger": "Bench Window %d" % i}
              for i in range(1, triggers + 1)]
    s.macros(*macros)
    title = "Bench Window %d" if matching else "Other Window %d"
    s.spawn(os.path.join(s.tools, "kvwindows.exe"), "100", title)
    wait_for(lambda: s.find("KvWindows", title.replace("%d", "100"), 0), 30, what="100 windows")
    s.start_resident()
    if matching:
        wait_for(lambda: all(s.read_ini().get("MACRO%d" % n, {}).get("FOUNDHANDLE") for n in range(1, 101)), 60,
                 what="every trigger recorded")
    time.sleep(3)  # start-up settles
    pids = unix_pids("Keyvane.exe")
    servers = unix_pids("wineserver")
    if not pids:
        raise SystemExit("no Keyvane process found")
    t0 = time.monotonic()
    c0 = sum(cpu_seconds(p) for p in pids)
    w0 = sum(cpu_seconds(p) for p in servers)
    time.sleep(idle_seconds)
    c1 = sum(cpu_seconds(p) for p in pids)
    w1 = sum(cpu_seconds(p) for p in servers)
    wall = time.monotonic() - t0
    polls = wall / 0.25
    s.close()
    what = "100 triggers all matching windows they already ran for" if matching else \
        "%d triggers, 100 windows with other titles" % triggers
    print("window-title poll, %s, %.0f s idle:" % (what, wall))
    print("  Keyvane CPU %.2f s = %.2f %% of one core; %.2f ms per poll (%d polls)"
          % (c1 - c0, 100 * (c1 - c0) / wall, 1000 * (c1 - c0) / polls, polls))
    print("  wineserver CPU meanwhile %.2f s = %.2f %% (serves every Wine program of the prefix)"
          % (w1 - w0, 100 * (w1 - w0) / wall))


def main():
    presses = int(sys.argv[1]) if len(sys.argv) > 1 else 20
    idle = float(sys.argv[2]) if len(sys.argv) > 2 else 60
    phases = sys.argv[3].split(",") if len(sys.argv) > 3 else ["latency", "idle", "matching"]
    if "latency" in phases:
        latency(presses)
    if "baseline" in phases:
        poll(idle, matching=False, triggers=0)
    if "idle" in phases:
        poll(idle, matching=False)
    if "matching" in phases:
        poll(idle, matching=True)


if __name__ == "__main__":
    main()
