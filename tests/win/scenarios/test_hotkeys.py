"""Global hotkeys, whole program: xdotool presses a macro's hotkey while another program has
the focus; the macro starts once every modifier is let go; the lowest macro owns a shared
combination; a failing macro does not silence the hotkeys."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402

CTRL_ALT_M = kvtest.hotkey(kvtest.CTRL | kvtest.ALT, "M")


class HotKeys(kvtest.WineTestCase):
    def lines(self):
        return self.s.marker_lines()

    def test_hotkey_runs_its_macro_in_any_program_and_again_after(self):
        m = self.s.tool_copy("kvmarker.exe")
        self.s.macros({"Name": "Marker", "Type": 1, "FileName": m, "HotKey": CTRL_ALT_M})
        self.s.start_resident()
        self.s.target()
        self.s.xdotool("key", "ctrl+alt+m")
        wait_for(lambda: self.lines() == ["RAN kvmarker.exe"], 10, what="the macro's run")
        self.s.xdotool("key", "ctrl+alt+m")
        wait_for(lambda: len(self.lines()) == 2, 10, what="the second run")

    def test_macro_starts_only_when_ctrl_is_released(self):
        m = self.s.tool_copy("kvmarker.exe")
        self.s.macros({"Name": "Marker", "Type": 1, "FileName": m, "HotKey": CTRL_ALT_M})
        self.s.start_resident()
        self.s.target()
        self.s.xdotool("keydown", "ctrl", "alt", "m")
        self.s.xdotool("keyup", "m", "alt")
        time.sleep(2.0)
        self.assertEqual(self.lines(), [], "the macro ran while Ctrl was still held")
        self.s.xdotool("keyup", "ctrl")
        wait_for(lambda: self.lines() == ["RAN kvmarker.exe"], 10, what="the run after Ctrl was released")

    def test_shared_combination_runs_the_lowest_macro_only(self):
        a = self.s.tool_copy("kvmarker.exe", "first.exe")
        b = self.s.tool_copy("kvmarker.exe", "second.exe")
        c = self.s.tool_copy("kvmarker.exe", "third.exe")
        ctrl_shift_k = kvtest.hotkey(kvtest.CTRL | kvtest.SHIFT, "K")
        self.s.macros({"Name": "A", "Type": 1, "FileName": a, "HotKey": 0},
                      {"Name": "B", "Type": 1, "FileName": b, "HotKey": ctrl_shift_k},
                      {"Name": "C", "Type": 1, "FileName": c, "HotKey": ctrl_shift_k})
        self.s.start_resident()
        self.s.target()
        self.s.xdotool("key", "ctrl+shift+k")
        wait_for(self.lines, 10, what="a run")
        time.sleep(1.0)
        self.assertEqual(self.lines(), ["RAN second.exe"])

    def chars(self, log="target.log"):
        return "".join(chr(int(l.split()[1], 16)) for l in self.s.marker_lines(log) if l.startswith("CHAR "))

    def test_hotkey_types_its_text_into_the_focused_window(self):
        self.s.put("Hello.key", "Hello, world<<ENTER>>")
        self.s.macros({"Name": "Hello", "Type": 4, "FileName": "Hello.key", "HotKey": CTRL_ALT_M})
        self.s.start_resident()
        self.s.target()
        self.s.xdotool("key", "ctrl+alt+m")
        wait_for(lambda: self.chars() == "Hello, world\r", 15, what="the typed text")

    def test_second_hotkey_during_a_running_macro_is_dropped(self):
        self.s.put("Slow.key", "a<<SECS2>>b")
        self.s.put("Other.key", "X")
        self.s.macros({"Name": "Slow", "Type": 4, "FileName": "Slow.key", "HotKey": CTRL_ALT_M},
                      {"Name": "Other", "Type": 4, "FileName": "Other.key",
                       "HotKey": kvtest.hotkey(kvtest.CTRL | kvtest.ALT, "N")})
        self.s.start_resident()
        self.s.target()
        self.s.xdotool("key", "ctrl+alt+m")
        wait_for(lambda: self.chars() == "a", 15, what="the first macro's first key")
        self.s.xdotool("key", "ctrl+alt+n")
        wait_for(lambda: self.chars().startswith("ab"), 15, what="the first macro's end")
        time.sleep(1.5)
        self.assertEqual(self.chars(), "ab", "the second hotkey ran during or after the first macro")
        self.s.xdotool("key", "ctrl+alt+n")
        wait_for(lambda: self.chars() == "abX", 15, what="the second macro once the first is done")

    def test_failing_macro_does_not_silence_hotkeys(self):
        m = self.s.tool_copy("kvmarker.exe")
        self.s.macros({"Name": "Gone", "Type": 4, "FileName": "Gone.key", "HotKey": kvtest.hotkey(kvtest.CTRL | kvtest.ALT, "G")},
                      {"Name": "Marker", "Type": 1, "FileName": m, "HotKey": CTRL_ALT_M})
        self.s.start_resident()
        self.s.target()
        self.s.xdotool("key", "ctrl+alt+g")
        box = self.s.msgbox("Keyvane", 15000)
        self.assertIsNotNone(box, "the failing macro's error was not shown")
        self.assertIn("Cannot open file %sGone.key." % self.s.win_progdir, box[1])
        self.s.press_ok(box[0])
        self.s.drive("waitgone", "#32770", "Keyvane", "10000")
        self.s.focus("Keyvane Target")
        self.s.xdotool("key", "ctrl+alt+m")
        wait_for(lambda: self.lines() == ["RAN kvmarker.exe"], 10, what="a hotkey after the failure")


if __name__ == "__main__":
    kvtest.main()
