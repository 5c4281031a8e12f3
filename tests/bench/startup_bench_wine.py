"""Benchmark of a shortcut's start under Wine (figures only, never pass/fail): the time from
starting `Keyvane.exe /Open:X /Close` to the macro's first effect (its program, a marker, has
written its line) and to the instance's end; median, min and max over N starts, once with no
other Keyvane running and once beside a resident instance with a trigger window open. Several
executables (e.g. an older build) are measured in turns, back to back.

    tests/bench/startup_bench_wine.sh [starts] [Keyvane.exe ...]
"""
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "win"))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402


def one_start(s):
    log = s.path("marker.log")
    if os.path.exists(log):
        os.remove(log)
    t0 = time.monotonic()
    proc = subprocess.Popen(["wine", os.path.join(s.progdir, "Keyvane.exe"), "/Open:X", "/Close"], env=s.env,
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    effect = None
    while proc.poll() is None or effect is None:
        if effect is None and "RAN kvmarker.exe" in s.marker_lines():
            effect = time.monotonic() - t0
        if time.monotonic() - t0 > 60:
            proc.kill()
            raise SystemExit("the /Close start did not end, or its macro did not run, within 60 s: %s"
                             % s.marker_lines())
        time.sleep(0.005)
    end = time.monotonic() - t0
    proc.wait()
    return effect, end


def figures(label, values):
    return "%s median %.3f s (min %.3f, max %.3f)" % (label, statistics.median(values), min(values), max(values))


def main():
    starts = int(sys.argv[1]) if len(sys.argv) > 1 else 10
    exes = sys.argv[2:] or [os.path.join(kvtest.kvwine.build_dir(), "Keyvane.exe")]
    s = kvtest.Session("bench_startup")
    marker = s.tool_copy("kvmarker.exe")
    # The trigger macro's marker logs in a folder of its own.
    os.makedirs(s.path("login"), exist_ok=True)
    shutil.copy(os.path.join(s.tools, "kvmarker.exe"), s.path("login/login.exe"))
    s.macros({"Name": "X", "Type": 1, "FileName": marker},
             {"Name": "Login", "Type": 1, "FileName": s.win_progdir + "login\\login.exe", "Trigger": "Bench Login"})
    results = {(exe, beside): ([], []) for exe in exes for beside in (False, True)}
    for beside in (False, True):
        for i in range(starts):
            for exe in exes:  # in turns, so that a busy moment of the machine hits each alike
                kvtest.kill_wine_programs()
                shutil.copy(exe, os.path.join(s.progdir, "Keyvane.exe"))
                if beside:
                    if os.path.exists(s.path("login/marker.log")):
                        os.remove(s.path("login/marker.log"))
                    s.spawn(os.path.join(s.tools, "kvwindows.exe"), "1", "Bench Login")
                    wait_for(lambda: s.find("KvWindows", "Bench Login", 0), 20, what="the trigger window")
                    s.start_resident()
                    wait_for(lambda: s.marker_lines("login/marker.log"), 20, what="the trigger's run")
                effect, end = one_start(s)
                results[(exe, beside)][0].append(effect)
                results[(exe, beside)][1].append(end)
    s.close()
    for (exe, beside), (effects, ends) in results.items():
        print("%s, %s, %d starts:" % (exe, "beside a resident instance" if beside else "alone", starts))
        print("  " + figures("first effect", effects))
        print("  " + figures("end          ", ends))


if __name__ == "__main__":
    main()
