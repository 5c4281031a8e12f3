"""Recording in the Macro Setup Wizard, whole program: a keystroke macro recorded from keys
typed with xdotool into a logging window, stopped by the button and by Shift+Ctrl+F12, played
back into the practice box and, once finished, run by its hotkey; a mouse-and-keyboard macro
recorded with the windows hidden, brought back by Shift+Ctrl+F12, played at its speed (and
cancelled with Esc) and run by its hotkey; a cancelled run leaves no recording behind."""
import os
import struct
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
from kvtest import Wizard, wait_for  # noqa: E402

HOTKEYF_CTRL, HOTKEYF_ALT = 2, 4
START_KEYS, STOP_KEYS, PLAY_KEYS, PRACTICE = 1070, 1071, 1072, 1073
START_MOUSE, STOP_MOUSE, PLAY_MOUSE = 1080, 1081, 1082
OPT_KEYS_ONLY, OPT_MOUSE_KEYS, OPT_RECORDED_SPEED, OPT_HIGH_SPEED = 1060, 1061, 1083, 1084
KEYS_HINT = "When you close this box, Keyvane will start to record all of the keys that you press."
MOUSE_HINT = "When you close this box, Keyvane will disappear and start recording"
STOP_CHORD = {0x10, 0x11, 0xA0, 0xA1, 0xA2, 0xA3, 0x7B}  # Shift, Ctrl and F12


def dat_events(data):
    """(offset, kind, code) of each event of a .dat file."""
    assert data[:4] == b"KVJR", data[:16]
    count = struct.unpack("<I", data[12:16])[0]
    out = []
    for i in range(count):
        t, kind, _flags, code = struct.unpack("<IBBB", data[24 + 16 * i:31 + 16 * i])
        out.append((t, kind, code))
    return out


class RecordingWizard(kvtest.WineTestCase):
    def open_wizard(self, name, option, hints=1):
        """The manager window, then the wizard up to the recording page of a macro with the
        hotkey Ctrl+Alt+M."""
        self.s.macros(main={"FirstRun": 1, "Show Hints": hints})
        self.s.keyvane("")
        self.form = self.s.find("TfrmMain", "Ostrel Keyvane", 20000, visible=True)
        self.assertIsNotNone(self.form, "the manager window was not shown")
        w = Wizard.open_from(self.s, self.form)
        w.click(Wizard.OPT_PLAYBACK)
        w.next("Name Your Macro")
        w.set_text(Wizard.NAME, name)
        w.next("Select Triggers")
        w.set_hotkey(ord("M"), HOTKEYF_CTRL | HOTKEYF_ALT)
        w.next("Record just keys or mouse and keys?")
        w.click(option)
        page = "Record Keystrokes" if option == OPT_KEYS_ONLY else "Record Mouse and Keyboard"
        w.next(page)
        self.assertFalse(self.enabled(w, Wizard.NEXT), "Next before any recording")
        return w

    def enabled(self, w, cid):
        return w.controls()[cid][2]

    def states(self, w, ids):
        c = w.controls()
        return tuple(c[i][2] for i in ids)

    def wait_states(self, w, ids, want, what):
        wait_for(lambda: self.states(w, ids) == want, 10, what=what)

    def close_hint(self, text):
        """Waits for the hint, checks its text and closes it with OK."""
        hint = self.s.find("TfrmHint", "Keyvane Hints", 15000, visible=True)
        self.assertIsNotNone(hint, "no hint before the recording")
        rc, edit = self.s.drive("child", hint, "Edit", "-")
        self.assertIn(text, self.s.drive("gettext", edit.strip())[1])
        rc, ok = self.s.drive("child", hint, "Button", "&OK")
        self.s.drive("click", ok.strip())
        self.s.drive("waitgone", "TfrmHint", "Keyvane Hints", "10000")

    def typed(self, log):
        return "".join(chr(int(l.split()[1], 16)) for l in self.s.marker_lines(log) if l.startswith("CHAR "))

    def wait_typed(self, log, want, what, extra=lambda: ""):
        try:
            wait_for(lambda: self.typed(log) == want, 10, what=what)
        except AssertionError as e:
            raise AssertionError("%s; the target has %r, its log ends %s %s" %
                                 (e, self.typed(log), self.s.marker_lines(log)[-12:], extra())) from None

    def activate_target(self):
        """Gives the target the keyboard as a user's click would. With no window manager on the
        display, Wine moves its foreground only when a program asks, so the test asks for it."""
        self.s.focus("Keyvane Target")
        target = self.s.find("KvTarget", "-")
        self.s.drive("setforeground", target)
        wait_for(lambda: self.s.drive("foreground")[1].strip() == target, 10, what="the target in the foreground")
        return target

    def clicks(self, log):
        return [tuple(l.split()[1:]) for l in self.s.marker_lines(log) if l.startswith("MOUSE ")]

    def recording(self, name):
        with open(self.s.path(name), "rb") as f:
            return dat_events(f.read())

    def test_a_keystroke_macro_recorded_stopped_both_ways_played_and_run_by_its_hotkey(self):
        w = self.open_wizard("Typed", OPT_KEYS_ONLY)
        ids = (START_KEYS, STOP_KEYS, PLAY_KEYS)
        self.assertEqual(self.states(w, ids), (True, False, False))
        w.click(START_KEYS)
        self.close_hint(KEYS_HINT)
        # The recording starts once the hint has closed, its file named after the macro.
        wait_for(lambda: os.path.exists(self.s.path("Typed.dat")), 10, what="the recording's file")
        self.wait_states(w, ids, (False, True, False), "Start off, Stop on")
        log = self.s.target()
        self.s.xdotool("type", "--delay", "60", "hello")
        self.wait_typed(log, "hello", "the keys in the target")
        w.click(STOP_KEYS)
        self.wait_states(w, ids, (True, False, True), "Start and Playback on after Stop")
        self.assertTrue(self.enabled(w, Wizard.NEXT))
        downs = [code for _, kind, code in self.recording("Typed.dat") if kind == 1]
        self.assertEqual(downs, [ord(c) for c in "HELLO"])

        w.click(PLAY_KEYS)
        wait_for(lambda: w.text(PRACTICE) == "hello", 15, what="the playback in the practice box")
        self.wait_states(w, ids, (True, False, True), "Playback on again once the playback ended")

        # A second take, stopped by Shift+Ctrl+F12 while the target has the keyboard.
        w.click(START_KEYS)
        self.close_hint(KEYS_HINT)
        self.wait_states(w, ids, (False, True, True), "Start off, Stop on")
        target = self.activate_target()
        self.s.xdotool("type", "--delay", "60", "world")
        self.wait_typed(log, "helloworld", "the second take's keys",
                        lambda: "practice box %r, foreground %s, wizard %s, X focus %s" % (
                            w.text(PRACTICE), self.s.drive("foreground")[1].strip(), w.hwnd,
                            self.s.xdotool("getwindowfocus", "getwindowname")))
        self.s.xdotool("key", "shift+ctrl+F12")
        wait_for(lambda: self.enabled(w, Wizard.NEXT), 10, what="Next after the stop key")
        # The stop key leaves the keys page's buttons as they were, and brings the wizard up
        # without taking the keyboard from the target: keys typed now still reach it, unrecorded.
        self.assertEqual(self.states(w, ids), (False, True, True))
        self.assertTrue(w.visible())
        self.assertEqual(self.s.drive("foreground")[1].strip(), target)
        self.s.xdotool("type", "--delay", "60", "after")
        self.wait_typed(log, "helloworldafter", "keys typed after the stop key")
        w.click(STOP_KEYS)
        self.wait_states(w, ids, (True, False, True), "Start and Playback on after the button")
        events = self.recording("Typed.dat")
        self.assertEqual([code for _, kind, code in events if kind == 1], [ord(c) for c in "WORLD"])
        self.assertFalse(STOP_CHORD & {code for _, kind, code in events}, "the stop key was recorded")

        w.click(PLAY_KEYS)
        wait_for(lambda: w.text(PRACTICE) == "helloworld", 15, what="the second take in the practice box")
        self.wait_states(w, ids, (True, False, True), "Playback on again")
        w.next("Finished")
        self.assertEqual(w.summary(), ["Typed", "Playback keyboard", "Ctrl+Alt+M", "None"])
        w.click(Wizard.FINISHED)
        w.wait_closed()
        ini = self.s.read_ini()
        self.assertEqual((ini["MACRO1"]["TYPE"], ini["MACRO1"]["FILENAME"]), ("2", "Typed.dat"))
        self.assertNotIn("SPEED", ini["MACRO1"])

        # Its hotkey types the recording into the target.
        self.activate_target()
        self.s.xdotool("key", "ctrl+alt+m")
        wait_for(lambda: self.typed(log) == "helloworldafterworld", 20, what="the macro run by its hotkey")

    def test_a_mouse_macro_recorded_with_the_windows_hidden_played_cancelled_and_run(self):
        w = self.open_wizard("Clicky", OPT_MOUSE_KEYS)
        ids = (START_MOUSE, STOP_MOUSE, PLAY_MOUSE)
        log = self.s.target()
        xid = self.s.focus("Keyvane Target")
        geo = self.s.xdotool("getwindowgeometry", xid)
        x0, y0 = [int(v) for v in geo.split("Position: ")[1].split()[0].split(",")]
        spots = [(x0 + 60, y0 + 80), (x0 + 250, y0 + 160)]
        self.s.drive("click", w.control(START_MOUSE))
        self.close_hint(MOUSE_HINT)
        wait_for(lambda: not w.visible(), 10, what="the wizard to hide")
        self.assertIsNone(self.s.find("TfrmMain", "Ostrel Keyvane", 0, visible=True), "the list window stayed")
        wait_for(lambda: os.path.exists(self.s.path("Clicky.dat")), 10, what="the recording's file")
        self.activate_target()
        for x, y in spots:
            self.s.xdotool("mousemove", "--sync", str(x), str(y))
            time.sleep(0.2)
            self.s.xdotool("click", "1")
            time.sleep(0.2)
        self.s.xdotool("type", "--delay", "60", "ok")
        wait_for(lambda: self.typed(log) == "ok", 10, what="the typed keys")
        made = self.clicks(log)
        self.assertEqual([m[0] for m in made], ["LDOWN", "LUP"] * 2)
        self.s.xdotool("key", "shift+ctrl+F12")
        # Back on the same page, fields intact, on top, the list window shown again.
        wait_for(lambda: w.visible(), 10, what="the wizard back")
        self.assertEqual(w.heading(), "Record Mouse and Keyboard")
        self.assertEqual(w.text(Wizard.NAME), "Clicky")
        self.assertIsNotNone(self.s.find("TfrmMain", "Ostrel Keyvane", 5000, visible=True), "no list window")
        wait_for(lambda: self.s.drive("foreground")[1].strip() == w.hwnd, 10, what="the wizard in the foreground")
        self.wait_states(w, ids, (True, False, True), "Start and Playback on, Stop off")
        self.assertTrue(self.enabled(w, Wizard.NEXT))
        events = self.recording("Clicky.dat")
        self.assertEqual(len([e for e in events if e[1] == 4]), 2)
        self.assertFalse(STOP_CHORD & {code for _, kind, code in events if kind in (1, 2)})

        # Played at the recorded speed: the clicks land on the same spots.
        w.click(PLAY_MOUSE)
        wait_for(lambda: len(self.clicks(log)) >= 2 * len(made), 20, what="the played clicks")
        for m, p in zip(made, self.clicks(log)[len(made):]):
            self.assertEqual(m[0], p[0])
            self.assertLessEqual(max(abs(int(a) - int(b)) for a, b in zip(m[1:], p[1:])), 1, (m, p))
        self.wait_states(w, ids, (True, False, True), "Playback on again")
        # Esc cancels a test playback; Playback comes back.
        w.click(PLAY_MOUSE)
        self.wait_states(w, ids, (True, False, False), "Playback off while it plays")
        self.s.focus("Macro Setup Wizard")
        self.s.xdotool("key", "Escape")
        self.wait_states(w, ids, (True, False, True), "Playback on after Esc")

        self.s.drive("click", w.control(OPT_RECORDED_SPEED))
        w.next("Finished")
        self.assertEqual(w.summary(), ["Clicky", "Playback mouse and keyboard", "Ctrl+Alt+M", "None"])
        w.click(Wizard.FINISHED)
        w.wait_closed()
        ini = self.s.read_ini()
        self.assertEqual((ini["MACRO1"]["TYPE"], ini["MACRO1"]["FILENAME"], ini["MACRO1"]["SPEED"]),
                         ("3", "Clicky.dat", "1"))
        before = len(self.clicks(log))
        self.activate_target()
        self.s.xdotool("key", "ctrl+alt+m")
        wait_for(lambda: len(self.clicks(log)) >= before + len(made), 20, what="the clicks of the hotkey's run")
        for m, p in zip(made, self.clicks(log)[before:]):
            self.assertLessEqual(max(abs(int(a) - int(b)) for a, b in zip(m[1:], p[1:])), 1, (m, p))

    def test_the_keystroke_page_goes_by_keyboard_alone(self):
        w = self.open_wizard("Keyed", OPT_KEYS_ONLY, hints=0)
        ids = (START_KEYS, STOP_KEYS, PLAY_KEYS)
        self.s.focus("Macro Setup Wizard")
        self.s.xdotool("key", "alt+s")  # Start: no hint, the practice box has the keyboard
        self.wait_states(w, ids, (False, True, False), "Start off, Stop on after Alt+S")
        wait_for(lambda: os.path.exists(self.s.path("Keyed.dat")), 10, what="the recording's file")
        self.s.xdotool("type", "--delay", "60", "abc")
        wait_for(lambda: w.text(PRACTICE) == "abc", 10, what="the keys in the practice box")
        self.s.xdotool("key", "alt+r")
        self.wait_states(w, ids, (True, False, True), "Start and Playback on after Alt+R")
        self.s.xdotool("key", "alt+p")
        # The played keys wait for the user's Alt to come up: none is lost to it.
        wait_for(lambda: w.text(PRACTICE) == "abcabc", 15, what="the playback after Alt+P")
        self.wait_states(w, ids, (True, False, True), "Playback on again")
        # Esc asks Cancel's question; No keeps the run. Alt+N is Next, now that a take was made.
        self.s.xdotool("key", "Escape")
        self.assertIsNotNone(self.s.msgbox("Warning", 10000), "Esc did not ask")
        self.s.xdotool("key", "n")
        self.s.drive("waitgone", "#32770", "Warning", "10000")
        self.s.focus("Macro Setup Wizard")
        self.s.xdotool("key", "alt+n")
        w.wait_page("Finished")
        self.s.xdotool("key", "Return")
        w.wait_closed()
        self.assertEqual(self.s.read_ini()["MACRO1"]["FILENAME"], "Keyed.dat")
        self.assertTrue(os.path.exists(self.s.path("Keyed.dat")))

    def test_a_cancelled_run_removes_its_recording(self):
        w = self.open_wizard("Dropped", OPT_KEYS_ONLY)
        w.click(START_KEYS)
        self.close_hint(KEYS_HINT)
        wait_for(lambda: os.path.exists(self.s.path("Dropped.dat")), 10, what="the recording's file")
        w.click(STOP_KEYS)
        self.wait_states(w, (START_KEYS, STOP_KEYS, PLAY_KEYS), (True, False, True), "after Stop")
        w.click(Wizard.CANCEL)
        w.answer("Warning", "&Yes")
        w.wait_closed()
        wait_for(lambda: not os.path.exists(self.s.path("Dropped.dat")), 10, what="the recording to go")
        self.assertNotIn("MACRO1", self.s.read_ini())


if __name__ == "__main__":
    kvtest.main()
