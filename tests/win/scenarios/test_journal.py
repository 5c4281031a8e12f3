"""Keystroke and mouse-and-keyboard macros, whole program: input made with xdotool is recorded
by the program's journal recorder (kvrecord.exe), Keyvane.exe plays it back into the logging
target window; Esc cancels a playback; a damaged recording is refused with a message."""
import os
import struct
import sys
import time
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402


def dat_file(events, duration_ms, keys_only=True):
    """A recording in the program's .dat format: events are (offset_ms, kind, code, a, b, wheel)."""
    body = b"".join(struct.pack("<IBBBBHHi", t, kind, 0, code, 0, a, b, wheel)
                    for t, kind, code, a, b, wheel in events)
    head = b"KVJR" + struct.pack("<HHIII", 1, 24, 1 if keys_only else 0, len(events), duration_ms)
    return head + struct.pack("<I", zlib.crc32(head + body) & 0xFFFFFFFF) + body


def dat_events(data):
    """(offset, kind, code) of each event of a .dat file, after checking its header."""
    assert data[:4] == b"KVJR", data[:16]
    version, size, flags, count, duration, crc = struct.unpack("<HHIIII", data[4:24])
    assert version == 1 and size == 24 and len(data) == 24 + 16 * count
    assert zlib.crc32(data[:20] + data[24:]) & 0xFFFFFFFF == crc
    out = []
    for i in range(count):
        t, kind, _flags, code, _r, a, b, wheel = struct.unpack("<IBBBBHHi", data[24 + 16 * i:40 + 16 * i])
        out.append((t, kind, code, a, b, wheel))
    return out


class Journal(kvtest.WineTestCase):
    def target(self, log):
        """Starts kvtarget.exe logging to log; returns its X window id once it is up and focused."""
        path = self.s.path(log)
        self.s.drive("run", '"%s" "%s"' % (self.s.tool_copy("kvtarget.exe"), self.s.win_progdir + log), "0")
        wait_for(lambda: any(l.startswith("READY") for l in self.log_lines(log)), 20, what="the target window")
        xid = wait_for(lambda: self.s.xdotool("search", "--name", "^Keyvane Target$").split(), 20,
                       what="the target's X window")[0]
        self.s.xdotool("windowactivate", "--sync", xid)
        self.s.xdotool("windowfocus", "--sync", xid)
        return xid

    def log_lines(self, log):
        p = self.s.path(log)
        if not os.path.exists(p):
            return []
        with open(p) as f:
            return [l.strip() for l in f]

    def chars(self, log):
        return "".join(chr(int(l.split()[1], 16)) for l in self.log_lines(log) if l.startswith("CHAR "))

    def mouse(self, log):
        return [tuple(l.split()[1:]) for l in self.log_lines(log) if l.startswith(("MOUSE ", "WHEEL "))]

    def record(self, name, mode, act):
        """Records with kvrecord.exe while act() makes input; returns the .dat file's bytes."""
        rec = self.s.tool_copy("kvrecord.exe")
        rc, out = self.s.drive("run", '"%s" "%s" %s' % (rec, self.s.win_progdir + name, mode), "0")
        pid = int(out.split()[1])
        hwnd = self.s.find("KvRecord", "KvRecord", 15000)
        self.assertIsNotNone(hwnd, "kvrecord.exe did not start")
        act()
        time.sleep(0.5)  # let the last events reach the hooks
        self.s.drive("post", hwnd, "0x8000", "0", "0")  # WM_APP: stop
        rc, out = self.s.drive("wait", str(pid), "15000")
        # "gone" when it had already ended; a file it failed to write is caught below.
        self.assertIn(out.strip(), ("exit 0", "gone"), "kvrecord.exe did not end cleanly")
        with open(self.s.path(name), "rb") as f:
            return f.read()

    def play(self, name, kind, speed=1, wait_ms=60000):
        self.s.macros({"Name": "Rec", "Type": kind, "FileName": name, "Speed": speed})
        t0 = time.time()
        pid, code = self.s.keyvane('/Open:"Rec" /Close', wait_ms=wait_ms)
        return code, time.time() - t0

    def test_typed_keys_are_recorded_and_played_back(self):
        self.target("first.log")
        def act():
            self.s.xdotool("type", "--delay", "60", "hello world")
            self.s.xdotool("key", "shift+ctrl+F12")  # the stop key is never recorded

        data = self.record("Keys.dat", "keys", act)
        self.assertEqual(self.chars("first.log"), "hello world")
        self.assertTrue(any("vk=7b" in l for l in self.log_lines("first.log")), "the stop key was not pressed")
        events = dat_events(data)
        downs = [code for _, kind, code, *_ in events if kind == 1]
        self.assertEqual(downs, [ord(c) for c in "HELLO WORLD"])
        self.assertEqual(len([e for e in events if e[1] == 2]), len(downs))  # every press released
        self.assertTrue(all(kind in (1, 2) for _, kind, *_ in events))

        self.s.drive("post", self.s.find("KvTarget", "-"), "0x10", "0", "0")
        kvtest.kill_wine_programs(("kvtarget.exe",))
        self.target("second.log")
        code, _ = self.play("Keys.dat", 2)
        self.assertEqual(code, 0, "the /Close instance did not end after the playback")
        wait_for(lambda: self.chars("second.log") == "hello world", 10, what="the played keys")

    def test_clicks_and_wheel_are_played_where_they_were_made(self):
        xid = self.target("first.log")
        geo = self.s.xdotool("getwindowgeometry", xid)
        x0, y0 = [int(v) for v in geo.split("Position: ")[1].split()[0].split(",")]
        spots = [(x0 + 60, y0 + 80), (x0 + 300, y0 + 200), (x0 + 150, y0 + 300)]

        def act():
            for x, y in spots:
                self.s.xdotool("mousemove", "--sync", str(x), str(y))
                time.sleep(0.2)
                self.s.xdotool("click", "1")
                time.sleep(0.2)
            self.s.xdotool("click", "5")  # wheel down
            time.sleep(0.2)
            self.s.xdotool("type", "ok")

        data = self.record("Mouse.dat", "mouse", act)
        made = self.mouse("first.log")
        self.assertEqual([m[0] for m in made if m[0] == "LDOWN"], ["LDOWN"] * 3, made)
        kinds = [kind for _, kind, *_ in dat_events(data)]
        self.assertIn(3, kinds)
        self.assertEqual(kinds.count(4), 3)
        self.assertIn(6, kinds)

        self.s.drive("post", self.s.find("KvTarget", "-"), "0x10", "0", "0")
        kvtest.kill_wine_programs(("kvtarget.exe",))
        self.target("second.log")
        code, elapsed = self.play("Mouse.dat", 3, speed=1)
        self.assertEqual(code, 0)
        wait_for(lambda: len(self.mouse("second.log")) >= len(made), 10, what="the played clicks")
        played = self.mouse("second.log")
        self.assertEqual([p[0] for p in played], [m[0] for m in made])
        for m, p in zip(made, played):
            for a, b in zip(m[1:], p[1:]):
                self.assertLessEqual(abs(int(a) - int(b)), 1, "%s played as %s" % (m, p))
        wait_for(lambda: self.chars("second.log") == "ok", 10, what="the played keys")

    def test_esc_cancels_a_playback_and_the_instance_ends(self):
        self.target("t.log")
        # 'A' every 100 ms for 30 s, at the recorded speed.
        events = []
        for i in range(300):
            events.append((i * 100, 1, 0x41, 0x1E, 0, 0))
            events.append((i * 100 + 50, 2, 0x41, 0x1E, 0, 0))
        self.s.put("Long.dat", dat_file(events, 30000), binary=True)
        self.s.macros({"Name": "Rec", "Type": 3, "FileName": "Long.dat", "Speed": 1})
        pid, _ = self.s.keyvane('/Open:"Rec" /Close')
        wait_for(lambda: len(self.chars("t.log")) >= 5, 20, what="the playback to begin")
        self.s.xdotool("key", "Escape")
        t0 = time.time()
        self.assertTrue(self.s.wait_exit(pid, 10000), "Esc did not end the playback")
        self.assertLess(time.time() - t0, 5)
        n = len(self.chars("t.log"))
        self.assertLess(n, 100)
        time.sleep(1.0)
        self.assertEqual(len(self.chars("t.log")), n, "keys arrived after the cancel")
        # No key was left down: the last A message is its release.
        a_lines = [l for l in self.log_lines("t.log") if "vk=41" in l]
        self.assertTrue(a_lines[-1].startswith("KEYUP"), a_lines[-3:])

    def test_esc_also_drops_the_playback_queued_behind(self):
        self.target("t.log")

        def presses(vk, n):
            out = []
            for i in range(n):
                out.append((i * 100, 1, vk, 0, 0, 0))
                out.append((i * 100 + 50, 2, vk, 0, 0, 0))
            return out

        self.s.put("A.dat", dat_file(presses(0x41, 300), 30000), binary=True)
        self.s.put("B.dat", dat_file(presses(0x42, 20), 2000), binary=True)
        # Both run by the one name; the second playback waits behind the first.
        self.s.macros({"Name": "Both", "Type": 3, "FileName": "A.dat", "Speed": 1},
                      {"Name": "both", "Type": 3, "FileName": "B.dat", "Speed": 1})
        pid, _ = self.s.keyvane('/Open:"Both" /Close')
        wait_for(lambda: len(self.chars("t.log")) >= 5, 20, what="the playback to begin")
        self.s.xdotool("key", "Escape")
        self.assertTrue(self.s.wait_exit(pid, 10000), "Esc did not end the playbacks")
        time.sleep(1.0)
        typed = self.chars("t.log")
        self.assertLess(len(typed), 100)
        self.assertNotIn("b", typed, "the queued playback ran after Esc")

    def test_a_script_running_a_journal_macro_ends_after_its_playback(self):
        self.target("t.log")
        # 'a' ten times between 1 s and 4 s, at the recorded speed.
        events = []
        for i in range(10):
            events.append((1000 + i * 300, 1, 0x41, 0x1E, 0, 0))
            events.append((1000 + i * 300 + 40, 2, 0x41, 0x1E, 0, 0))
        self.s.put("Slow.dat", dat_file(events, 4000), binary=True)
        self.s.put("Outer.key", "<<RUN:Slow>>x")
        self.s.macros({"Name": "Slow", "Type": 3, "FileName": "Slow.dat", "Speed": 1},
                      {"Name": "Outer", "Type": 4, "FileName": "Outer.key"})
        pid, _ = self.s.keyvane('/Open:"Outer" /Close')
        wait_for(lambda: "x" in self.chars("t.log"), 20, what="the script's own text")
        self.assertTrue(self.s.wait_exit(pid, 20000), "the instance did not end")
        # The script typed its text while the playback ran, and reported its end only after it.
        self.assertEqual(self.chars("t.log"), "x" + "a" * 10)

    def test_close_waits_for_a_playback_queued_behind_another(self):
        self.target("t.log")

        def presses(vk, first_ms, n):
            out = []
            for i in range(n):
                out.append((first_ms + i * 300, 1, vk, 0, 0, 0))
                out.append((first_ms + i * 300 + 40, 2, vk, 0, 0, 0))
            return out

        self.s.put("A.dat", dat_file(presses(0x41, 1000, 5), 2300), binary=True)
        self.s.put("B.dat", dat_file(presses(0x42, 0, 6), 1600), binary=True)
        # Both run by the one name; the second playback waits for the first.
        self.s.macros({"Name": "Twice", "Type": 3, "FileName": "A.dat", "Speed": 1},
                      {"Name": "twice", "Type": 3, "FileName": "B.dat", "Speed": 1})
        pid, code = self.s.keyvane("/Close Twice", wait_ms=30000)
        self.assertEqual(code, 0)
        self.assertEqual(self.chars("t.log"), "aaaaabbbbbb")

    def test_damaged_recording_shows_a_message_and_close_still_ends(self):
        good = dat_file([(0, 1, 0x41, 0x1E, 0, 0), (10, 2, 0x41, 0x1E, 0, 0)], 10)
        bad = bytearray(good)
        bad[30] ^= 0x40
        self.s.put("Bad.dat", bytes(bad), binary=True)
        self.s.macros({"Name": "Rec", "Type": 2, "FileName": "Bad.dat"})
        pid, _ = self.s.keyvane('/Open:"Rec" /Close')
        box = self.s.msgbox("Keyvane", 15000)
        self.assertIsNotNone(box, "no message for the damaged recording")
        self.assertIn("The recording %sBad.dat is damaged." % self.s.win_progdir, box[1])
        self.assertFalse(self.s.wait_exit(pid, 1500), "the instance ended before the message was answered")
        self.s.press_ok(box[0])
        self.assertTrue(self.s.wait_exit(pid, 10000), "/Close did not end the instance after the refusal")

    def test_missing_recording_shows_cannot_open(self):
        self.s.macros({"Name": "Rec", "Type": 3, "FileName": "Nowhere.dat", "Speed": 2})
        pid, _ = self.s.keyvane('/Open:"Rec" /Close')
        box = self.s.msgbox("Keyvane", 15000)
        self.assertIsNotNone(box)
        self.assertIn("Cannot open file %sNowhere.dat." % self.s.win_progdir, box[1])
        self.s.press_ok(box[0])
        self.assertTrue(self.s.wait_exit(pid, 10000))


if __name__ == "__main__":
    kvtest.main()
