"""Typing, whole program: Keyvane.exe /Open:"X" /Close plays a script into the logging target
window that has the focus; the test compares the characters and key messages it received."""
import datetime
import os
import re
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
import kvtest  # noqa: E402
from kvtest import wait_for  # noqa: E402


class Target:
    """A kvtarget.exe window logging every key message it receives."""

    def __init__(self, s, log_name="target.log", title="Keyvane Target"):
        self.s = s
        self.log = s.path(log_name)
        exe = s.win_progdir + "kvtarget.exe"
        if not os.path.exists(s.path("kvtarget.exe")):
            s.tool_copy("kvtarget.exe")
        s.drive("run", '"%s" "%s" "%s"' % (exe, s.win_progdir + log_name, title), "0")
        line = wait_for(lambda: self.first("READY"), 20, what="the target window")
        self.hwnd = line.split("hwnd=")[1]
        # Activation finishes asynchronously under Wine, and after an earlier test's programs were
        # killed it may not happen at all; keys typed before it would go elsewhere.
        try:
            wait_for(self.is_foreground, 3, what="the target window's activation")
        except AssertionError:
            self.s.drive("setforeground", self.hwnd)
            wait_for(self.is_foreground, 10, what="the target window's activation")

    def is_foreground(self):
        rc, out = self.s.drive("foreground")
        try:
            return int(out.strip(), 16) == int(self.hwnd, 16)
        except ValueError:
            return False

    def lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, "rb") as f:
            return [l.strip() for l in f.read().decode("latin-1").splitlines() if l.strip()]

    def first(self, prefix):
        for l in self.lines():
            if l.startswith(prefix):
                return l
        return None

    def chars(self):
        """The text of the WM_CHAR messages received."""
        return "".join(chr(int(l.split()[1], 16)) for l in self.lines() if l.startswith("CHAR "))

    def keys(self):
        """(kind, vk, ext, alt) of every key message, kind KEYDOWN/KEYUP/SYSKEYDOWN/SYSKEYUP."""
        out = []
        for l in self.lines():
            w = l.split()
            if w[0] in ("KEYDOWN", "KEYUP", "SYSKEYDOWN", "SYSKEYUP"):
                f = dict(x.split("=") for x in w[1:])
                out.append((w[0], int(f["vk"], 16), int(f["ext"]), int(f["alt"])))
        return out


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


class Typing(kvtest.WineTestCase):
    def play(self, *macros, args='/Open:"X" /Close', wait_ms=60000):
        """Writes the macros (name, script) as advanced macros and runs Keyvane with args."""
        entries = []
        for name, script in macros:
            self.s.put(name + ".key", script)
            entries.append({"Name": name, "Type": 4, "FileName": name + ".key"})
        self.s.macros(*entries)
        return self.s.keyvane(args, wait_ms=wait_ms)

    def assert_chars(self, t, expected, msg=None, timeout=20):
        """The target's characters, once it has taken every key that is on its way (the program
        may have ended before the target's thread got to them)."""
        try:
            wait_for(lambda: t.chars() == expected, timeout, what="the typed text")
        except AssertionError:
            pass
        self.assertEqual(t.chars(), expected, msg)

    def test_text_keys_and_modifier_combinations(self):
        t = Target(self.s)
        script = "Hello @^~{} World!<<ENTER>>Line2<<TAB>>end<<END>><<SHIFT+ALT>>q<<CTRL>>a"
        pid, code = self.play(("X", script))
        self.assertEqual(code, 0, "the /Close instance did not end by itself")
        self.assert_chars(t, "Hello @^~{} World!\rLine2\tend\x01")
        wait_for(lambda: t.keys() and t.keys()[-1][:2] == ("KEYUP", 0x11), 20, what="the last Ctrl release")
        keys = t.keys()
        # <<SHIFT+ALT>>q: Alt down, Shift down (twice), Q as a system key, all released.
        i = keys.index(("SYSKEYDOWN", 0x51, 0, 1))
        before = [k[:2] for k in keys[i - 3:i]]
        self.assertEqual(before, [("SYSKEYDOWN", 0x12), ("SYSKEYDOWN", 0x10), ("SYSKEYDOWN", 0x10)])
        # Alt and Shift are the left-hand keys, never marked extended; End is.
        for kind, vk, ext, _ in keys:
            if vk in (0x10, 0x11, 0x12, 0x41, 0x0D):
                self.assertEqual(ext, 0, "%s vk=%x marked extended" % (kind, vk))
        self.assertIn(("KEYDOWN", 0x23, 1, 0), keys)
        # <<CTRL>>a: Ctrl down, A down, A up, Ctrl up.
        tail = [(k[0], k[1]) for k in keys[-4:]]
        self.assertEqual(tail, [("KEYDOWN", 0x11), ("KEYDOWN", 0x41), ("KEYUP", 0x41), ("KEYUP", 0x11)])
        # Every key that went down came up again.
        down = set()
        for kind, vk, _, _ in keys:
            (down.add if kind.endswith("DOWN") else down.discard)(vk)
        self.assertEqual(down, set())

    def test_repeat_and_a_delay_that_costs_no_cpu(self):
        t = Target(self.s)
        pid, code = self.play(("X", "<<REP3>> ab <<ENDREP>>c<<SECS1>>d<<SECS4>>e"), wait_ms=0)
        wait_for(lambda: t.chars().endswith("d"), 30, what="the text before the long delay")
        self.assertEqual(t.chars(), "abababcd")
        pids = kvtest.prefix_unix_pids(["keyvane.exe"])
        self.assertTrue(pids, "no Keyvane process found")
        c0, w0 = sum(cpu_seconds(p) for p in pids), time.time()
        time.sleep(2.0)
        used = sum(cpu_seconds(p) for p in pids) - c0
        self.assertLess(used / (time.time() - w0), 0.15, "the delay keeps a processor busy")
        self.assertEqual(t.chars(), "abababcd", "the delay ended early")
        self.assertTrue(self.s.wait_exit(pid, 20000))
        self.assert_chars(t, "abababcde")

    def test_prompt_value_is_typed_back_into_the_target(self):
        t = Target(self.s)
        pid, code = self.play(("X", "<<INPUT:Your name?>>Dear <<WRITEVALUE>>."), wait_ms=0)
        form = self.s.find("TfrmGetVar", "Keyvane Input Box", 20000, visible=True)
        self.assertIsNotNone(form, "the prompt form was not shown")
        rc, rect = self.s.drive("rect", form)
        self.assertIn("client 233 100", rect)
        rc, label = self.s.drive("child", form, "Static", "Your name?")
        self.assertEqual(rc, 0, "the prompt text is not shown")
        rc, edit = self.s.drive("child", form, "Edit", "-")
        edit = edit.strip()
        self.s.drive("settext", edit, "a^b")
        self.s.drive("post", edit, "0x100", "0x0d", "0x1c0001")  # Enter confirms
        self.assertTrue(self.s.wait_exit(pid, 20000), "the script did not end after the prompt")
        self.assert_chars(t, "Dear a^b.")
        lines = t.lines()
        self.assertIn("FOCUS", lines[lines.index("READY hwnd=%s" % t.hwnd) + 1:], "the focus did not come back")

    def test_text_typed_just_before_a_prompt_stays_in_the_target(self):
        t = Target(self.s)
        pid, code = self.play(("X", "Dear <<INPUT:Your name?>><<WRITEVALUE>>!"), wait_ms=0)
        form = self.s.find("TfrmGetVar", "Keyvane Input Box", 20000, visible=True)
        self.assertIsNotNone(form, "the prompt form was not shown")
        rc, edit = self.s.drive("child", form, "Edit", "-")
        edit = edit.strip()
        rc, before = self.s.drive("gettext", edit)
        self.s.drive("settext", edit, "abc")
        self.s.drive("post", edit, "0x100", "0x0d", "0x1c0001")
        self.assertTrue(self.s.wait_exit(pid, 20000), "the script did not end after the prompt")
        self.assert_chars(t, "Dear abc!")
        self.assertEqual(before.strip(), "", "keys aimed at the target reached the prompt")

    def test_prompt_form_layout_and_an_answer_typed_on_the_keyboard(self):
        t = Target(self.s)
        pid, code = self.play(("X", "<<INPUT:Question>><<WRITEVALUE>>!"), wait_ms=0)
        form = self.s.find("TfrmGetVar", "Keyvane Input Box", 20000, visible=True)
        self.assertIsNotNone(form, "the prompt form was not shown")
        rc, style = self.s.drive("style", form)
        st, ex = (int(x, 16) for x in style.split())
        self.assertEqual(st & 0x00C00000, 0x00C00000, "no caption")
        self.assertEqual(st & 0x00080000, 0, "border icons shown")
        self.assertTrue(ex & 0x80, "not a tool window")

        def rect(cls, text):
            rc, h = self.s.drive("child", form, cls, text)
            self.assertEqual(rc, 0, "no %s %r on the form" % (cls, text))
            rc, r = self.s.drive("rect", h.strip())
            return [int(v) for v in r.split()[:4]]

        label, edit, button = rect("Static", "Question"), rect("Edit", "-"), rect("Button", "&OK")
        self.assertEqual((label[2] - label[0], label[3] - label[1]), (225, 41))
        self.assertEqual((edit[0] - label[0], edit[1] - label[1], edit[2] - edit[0]), (1, 42, 222))
        self.assertEqual((button[0] - label[0], button[1] - label[1]), (143, 71))
        self.assertEqual((button[2] - button[0], button[3] - button[1]), (82, 22))
        # The form takes the keyboard: Escape does not close it, the typed text goes into the
        # edit and Enter confirms.
        wait_for(lambda: self.s.drive("foreground")[1].strip() == form.strip(), 10, what="the prompt in front")
        # xdotool types into the X input focus, which Wine may not have moved yet.
        self.s.focus("Keyvane Input Box")
        self.s.xdotool("key", "Escape")
        time.sleep(0.5)
        self.assertIsNotNone(self.s.find("TfrmGetVar", "Keyvane Input Box", 0, visible=True), "Escape closed it")
        self.s.xdotool("type", "--delay", "30", "hi")
        self.s.xdotool("key", "Return")
        self.assertTrue(self.s.wait_exit(pid, 20000), "the script did not end after the prompt")
        self.assert_chars(t, "hi!")

    def test_run_lookfor_and_focus(self):
        t = Target(self.s)
        script = "1<<RUN:Other>>2<<LOOKFOR:Late Window~~SECS:30>>3<<FOCUS:Keyvane Target>>4"
        pid, code = self.play(("X", script), ("Other", "o"), wait_ms=0)
        wait_for(lambda: t.chars() == "1o2", 30, what="the text before the wait")
        time.sleep(1.5)
        self.assertEqual(t.chars(), "1o2", "the wait did not wait")
        late = Target(self.s, "late.log", "Not Yet")
        self.s.drive("settext", late.hwnd, "Late Window")
        self.assertTrue(self.s.wait_exit(pid, 30000))
        try:
            wait_for(lambda: (late.chars(), t.chars()) == ("3", "1o24"), 20, what="the keys after the wait")
        except AssertionError:
            pass
        # Both windows' text in either message, so a failure shows where the keys went.
        where = "late window %r, first window %r" % (late.chars(), t.chars())
        self.assertEqual(late.chars(), "3", where)
        self.assertEqual(t.chars(), "1o24", where)

    def edit_text(self, t):
        """The target's edit box text, as it reports it on WM_APP."""
        seen = len([l for l in t.lines() if l.startswith("TEXT ")])
        self.s.drive("post", t.hwnd, "0x8000", "0", "0")
        wait_for(lambda: len([l for l in t.lines() if l.startswith("TEXT ")]) > seen, 20, what="the edit's text")
        return bytes.fromhex([l for l in t.lines() if l.startswith("TEXT ")][-1][5:]).decode("latin-1")

    def test_two_lines_into_a_multi_line_edit(self):
        t = Target(self.s)
        pid, code = self.play(("X", "first line\r\nsecond line\r\n"))
        self.assertEqual(code, 0, "the /Close instance did not end by itself")
        self.assert_chars(t, "first line\rsecond line")
        # Each line break is one Enter: no Ctrl+Enter after it to add a line of its own.
        self.assertEqual(self.edit_text(t).split("\r\n"), ["first line", "second line"])
        self.assertNotIn(0x0A, [ord(c) for c in t.chars()])

    def test_bad_count_shows_its_message_and_ends_the_script(self):
        t = Target(self.s)
        pid, code = self.play(("X", "a<<SECSx>>b"), wait_ms=0)
        box = self.s.msgbox("Keyvane", 20000)
        self.assertIsNotNone(box, "no error message box")
        self.assertIn("'x' is not a valid integer value.", box[1])
        self.s.press_ok(box[0])
        # The rest of the script is abandoned and no status is reported, so /Close waits on.
        self.assertFalse(self.s.wait_exit(pid, 2500))
        self.assertEqual(t.chars(), "a")

    def test_characters_outside_the_layout(self):
        t = Target(self.s)
        # Windows-1252: e acute, euro sign, pound sign.
        pid, code = self.play(("X", "x\xe9\x80\xa3y"))
        self.assertEqual(code, 0)
        self.assert_chars(t, "x\xe9\x80\xa3y")

    def test_plain_text_unknown_tokens_line_breaks_and_dates(self):
        t = Target(self.s)
        script = ("a@b^c~d{e}f<<HELLO>><<ENDREP>><<<<x\r\ny<<CTRL>><<PRINTSCREEN>>"
                  "|<<ShortDate>>|<<LONGDATE>>|<<shorttime>>|<<LongTime>>\r\n")
        before = datetime.datetime.now()
        pid, code = self.play(("X", script))
        after = datetime.datetime.now()
        self.assertEqual(code, 0)
        wait_for(lambda: t.chars().count("|") == 4 and t.chars().endswith("M"), 20, what="the last time")
        chars = t.chars()
        # The line break is one Enter: a CR, no line feed after it.
        head = "a@b^c~d{e}fHELLO>>ENDREP>>x\ryPRINTSCREEN>>|"
        self.assertEqual(chars[:len(head)], head)
        # The locale of the test prefix is US English.
        m = re.fullmatch(r"(\d+)/(\d+)/(\d{4})\|(\w+), (\w+) (\d+), (\d{4})\|(\d+):(\d\d) (AM|PM)"
                         r"\|(\d+):(\d\d):(\d\d) (AM|PM)", chars[len(head):])
        self.assertIsNotNone(m, "dates and times typed as %r" % chars[len(head):])
        g = m.groups()
        for now in (before, after):
            if (int(g[0]), int(g[1]), int(g[2])) == (now.month, now.day, now.year):
                self.assertEqual(g[3:7], (now.strftime("%A"), now.strftime("%B"), str(now.day), str(now.year)))
                break
        else:
            self.fail("short date %s/%s/%s is not today" % g[:3])
        # Short time without seconds, long time with them, both 12-hour with AM/PM.
        def minutes(h, mm, ampm):
            return (int(h) % 12 + (12 if ampm == "PM" else 0)) * 60 + int(mm)
        lo = before.hour * 60 + before.minute
        hi = after.hour * 60 + after.minute
        for got in (minutes(g[7], g[8], g[9]), minutes(g[10], g[11], g[13])):
            self.assertTrue(lo <= got <= hi or hi < lo, "time %d outside %d..%d" % (got, lo, hi))

    def test_a_typed_value_arrives_as_written(self):
        # Brace names, lone braces and modifier characters in the answer are characters, every one
        # of them, however long the answer.
        t = Target(self.s)
        pid, code = self.play(("X", "<<INPUT:v>><<WRITEVALUE>>."), wait_ms=0)
        form = self.s.find("TfrmGetVar", "Keyvane Input Box", 20000, visible=True)
        self.assertIsNotNone(form, "the prompt form was not shown")
        rc, edit = self.s.drive("child", form, "Edit", "-")
        value = "x{ENTER}{TAB}{SHIFT}a{shift}b{BKSP}c{SPACE}d^@~{UP}{Esc}a{b}"
        value += "-" * (300 - len(value))
        self.s.drive("settext", edit.strip(), value)
        self.s.drive("post", edit.strip(), "0x100", "0x0d", "0x1c0001")
        self.assertTrue(self.s.wait_exit(pid, 20000), "the script did not end after the prompt")
        self.assert_chars(t, value + ".")
        pressed = {k[1] for k in t.keys() if k[0] == "KEYDOWN"}
        for vk in (0x0D, 0x09, 0x08, 0x26, 0x1B):
            self.assertNotIn(vk, pressed, "a brace name in the value pressed key %x" % vk)

    def test_brace_faults_show_their_messages(self):
        for n, (script, typed, message) in enumerate((("a<<CTRL>>}b", "a", "Invalid token."),
                                                      ("c<<CTRL>>{d", "c", "No Closing brackets."))):
            t = Target(self.s, "target%d.log" % n, "Keyvane Target %d" % n)
            pid, code = self.play(("X", script), wait_ms=0)
            box = self.s.msgbox("Keyvane", 20000)
            self.assertIsNotNone(box, "no error message box for %r" % script)
            self.assertIn(message, box[1])
            self.s.press_ok(box[0])
            self.assertEqual(t.chars(), typed, "the script went on after the fault")
            kvtest.kill_wine_programs(["keyvane.exe", "kvtarget.exe"])


if __name__ == "__main__":
    kvtest.main()
