"""Typing throughput under Wine (a benchmark that prints figures; not a test).

A 5000-character script of mixed text is typed by `Keyvane.exe /Open:"Bench" /Close` into a
sink window that only records the WM_CHAR characters it receives, and in the same run
`xdotool type --delay 0` types the same text into the same sink. For each: characters per
second from the first character to the last, and how many characters were lost or arrived out
of order. Run through tests/bench/typing_bench_wine.sh."""
import difflib
import os
import random
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "win"))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402

POST_REPORT, POST_RESET = "0x8000", "0x8001"


def make_text(n, seed=7):
    rnd = random.Random(seed)
    letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
    digits = "0123456789"
    punct = ".,;:'\"-_=+/?!()[]{}@#$%^&*~`|\\<>"
    out = []
    while len(out) < n:
        r = rnd.random()
        if r < 0.6:
            c = rnd.choice(letters)
        elif r < 0.72:
            c = rnd.choice(digits)
        elif r < 0.85:
            c = " "
        elif r < 0.98:
            c = rnd.choice(punct)
        else:
            c = "\n"
        # No "<<" (it would start a token), no blanks at the ends (the script is trimmed).
        if c == "<" and out and out[-1] == "<":
            continue
        out.append(c)
    text = "".join(out)
    return "X" + text[1:-1] + "X"


class Sink:
    def __init__(self, s):
        self.s = s
        exe = s.tool_copy("kvsink.exe")
        self.out = s.path("sink.txt")
        s.drive("run", '"%s" "%s"' % (exe, s.win_progdir + "sink.txt"), "0")
        wait_for(lambda: self.read_raw().startswith("READY"), 20, what="the sink window")
        self.hwnd = self.read_raw().split("hwnd=")[1].strip()

    def read_raw(self):
        try:
            with open(self.out) as f:
                return f.read()
        except OSError:
            return ""

    def report(self):
        """(count, span in ms, text) of the recording so far."""
        try:
            os.remove(self.out)
        except OSError:
            pass
        self.s.drive("post", self.hwnd, POST_REPORT, "0", "0")
        raw = wait_for(lambda: self.read_raw() if self.read_raw().endswith("\n") and "TEXT" in self.read_raw()
                       else None, 20, what="the sink's report")
        f = dict(l.split(" ", 1) if " " in l else (l, "") for l in raw.splitlines())
        return int(f["COUNT"]), float(f["SPAN_MS"]), bytes.fromhex(f["TEXT"].strip()).decode("latin-1")

    def settle(self, expected_len, timeout=120):
        """Waits until the count reaches expected_len or stops growing for 2 s."""
        deadline = time.time() + timeout
        last, since = -1, time.time()
        while time.time() < deadline:
            count, span, text = self.report()
            if count >= expected_len:
                return count, span, text
            if count != last:
                last, since = count, time.time()
            elif time.time() - since > 2.0:
                return count, span, text
            time.sleep(0.3)
        return self.report()

    def reset(self):
        self.s.drive("post", self.hwnd, POST_RESET, "0", "0")


def figures(name, expected, count, span_ms, received, wall_s):
    m = difflib.SequenceMatcher(None, expected, received, autojunk=False)
    matched = sum(b.size for b in m.get_matching_blocks())
    lost = len(expected) - matched
    misplaced = len(received) - matched
    rate = count / (span_ms / 1000.0) if span_ms > 0 else float("inf")
    print("%-26s %5d of %5d chars  %8.1f chars/s (first to last char, %7.1f ms)  lost %d  out of order/extra %d"
          "  (command %.1f s)" % (name, count, len(expected), rate, span_ms, lost, misplaced, wall_s))
    shown = 0
    for op, a1, a2, b1, b2 in m.get_opcodes():
        if op != "equal" and shown < 3:
            print("    %s: expected %r, received %r" % (op, expected[a1:a2][:20], received[b1:b2][:20]))
            shown += 1
    return rate, lost, misplaced


def main():
    n = int(sys.argv[1]) if len(sys.argv) > 1 else 5000
    s = kvtest.Session("typing_bench")
    try:
        text = make_text(n)
        s.put("Bench.key", text.replace("\n", "\r\n"))
        s.macros({"Name": "Bench", "Type": 4, "FileName": "Bench.key"})
        sink = Sink(s)
        print("text: %d characters (%d line breaks)" % (len(text), text.count("\n")))

        # Keyvane: each line break of the script file is CR LF, typed as one Enter (a CR).
        expected_kv = text.replace("\n", "\r")
        sink.reset()
        t0 = time.time()
        pid, code = s.keyvane('/Open:"Bench" /Close', wait_ms=300000)
        count, span, got = sink.settle(len(expected_kv))
        kv = figures("Keyvane.exe", expected_kv, count, span, got, time.time() - t0)
        if code != 0:
            print("  (Keyvane.exe did not end by itself: exit %s)" % code)

        # xdotool types a line break as the Linefeed key, which types LF.
        expected_x = text
        xid = s.xdotool("search", "--name", "^Keyvane Sink$").split()
        if not xid:
            print("xdotool: the sink's X window was not found")
            return 1
        s.xdotool("windowactivate", "--sync", xid[0])
        s.xdotool("windowfocus", "--sync", xid[0])
        sink.reset()
        t0 = time.time()
        subprocess.run(["xdotool", "type", "--delay", "0", text], env=s.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
        count, span, got = sink.settle(len(expected_x))
        xd = figures("xdotool type --delay 0", expected_x, count, span, got, time.time() - t0)
        if kv[0] and xd[0]:
            print("Keyvane/xdotool speed ratio: %.2f" % (kv[0] / xd[0]))
        return 0
    finally:
        s.close()


if __name__ == "__main__":
    sys.exit(main())
