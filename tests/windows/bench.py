"""What the Windows suite's cases stand on: a program run under Wine, the
program's windows as windump.exe reports them, real X input through xdotool,
and waiting on conditions with a bound, never on fixed sleeps alone."""
import json
import os
import subprocess
import time
import traceback


class Failure(Exception):
    pass


def fail(reason):
    raise Failure(reason)


def wait_until(condition, seconds, what, interval=0.3):
    """Polls condition until it gives a true value, at most `seconds`."""
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            fail("waited %d s in vain until %s" % (seconds, what))
        time.sleep(interval)


class Program:
    """A program started under Wine, its output kept in a log beside it."""

    def __init__(self, command, folder):
        self.log_path = os.path.join(folder, os.path.basename(command[-1]) + ".log")
        self.log = open(self.log_path, "wb")
        self.process = subprocess.Popen(command, cwd=folder, stdout=self.log, stderr=subprocess.STDOUT)

    def running(self):
        return self.process.poll() is None

    def wait(self, seconds):
        try:
            code = self.process.wait(seconds)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            fail("the program did not end within %d s" % seconds)
        finally:
            self.log.close()
        return code

    def output(self):
        with open(self.log_path, "rb") as f:
            return f.read().decode("utf-8", "replace")


class WindowsDesk:
    """The program's windows read through Win32 (windump.exe) and driven
    through X: with no window manager, Wine's windows are plain X windows at
    their Win32 screen positions, and keys go to the window under the
    pointer."""

    def __init__(self, windump, program="dropedit.exe"):
        self.windump = windump
        self.program = program
        self.server = None
        self.last = []

    def dump(self):
        """Every window of the program, from one windump kept running
        (started anew after each case's wineserver restart)."""
        if self.server is None or self.server.poll() is not None:
            self.server = subprocess.Popen(["wine", self.windump, self.program, "--serve"],
                                           stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                           stderr=subprocess.DEVNULL)
        self.server.stdin.write(b"dump\n")
        self.server.stdin.flush()
        windows = []
        while True:
            line = self.server.stdout.readline()
            if not line:
                fail("windump ended unexpectedly")
            line = line.decode("utf-8", "replace").strip()
            if line == "end":
                break
            if line.startswith("{"):
                windows.append(json.loads(line))
        self.last = windows
        return windows

    def measure(self, height, weight, face, text):
        """The (width, height) in pixels of a text in a font, on the screen."""
        self.dump_if_idle()
        self.server.stdin.write(("measure\t%d\t%d\t%s\t%s\n" % (height, weight, face, text)).encode("utf-8"))
        self.server.stdin.flush()
        size = self.server.stdout.readline().decode("utf-8", "replace").split()
        if self.server.stdout.readline().strip() != b"end" or len(size) != 2:
            fail("windump did not measure %r" % text)
        return int(size[0]), int(size[1])

    def dump_if_idle(self):
        if self.server is None or self.server.poll() is not None:
            self.dump()

    def stop(self):
        if self.server is not None:
            self.server.kill()
            self.server.wait()
            self.server = None

    def window(self, title, visible_only=False):
        for w in self.dump():
            if w["text"] == title and w["class"] != "#32770" and (w["visible"] or not visible_only):
                return w
        return None

    def wait_window(self, program, title, seconds):
        def shown():
            if not program.running():
                fail("the program ended (%r) before its window %r showed:\n%s" % (
                    program.process.returncode, title, program.output()))
            w = self.window(title)
            return w if w and w["visible"] else None
        return wait_until(shown, seconds, "the window %r is shown" % title, 0.5)

    def control(self, title, ident):
        w = self.window(title)
        if w is None:
            fail("no window %r" % title)
        for c in w["controls"]:
            if c["id"] == ident:
                return c
        fail("the window %r has no control %d" % (title, ident))

    def wait_box(self, program, title, seconds):
        """A message box: its title, its message text and its buttons."""
        def shown():
            for w in self.dump():
                if w["class"] == "#32770" and w["text"] == title and w["visible"]:
                    statics = [c for c in w["controls"] if c["class"].lower() == "static" and c["text"]]
                    w["message"] = statics[0]["text"] if statics else ""
                    w["buttons"] = [c for c in w["controls"] if c["class"].lower() == "button"]
                    return w
            if not program.running():
                fail("the program ended (%r) with no box %r" % (program.process.returncode, title))
            return None
        return wait_until(shown, seconds, "a message box %r is shown" % title, 0.5)

    def answer(self, box, ident=1):
        """Clicks the box's button with the given id (1 is OK) and waits
        until the box is gone."""
        buttons = [b for b in box["buttons"] if b["id"] == ident]
        if not buttons:
            fail("the box %r has no button %d: %r" % (box["text"], ident, box["buttons"]))
        self.click_at(buttons[0], buttons[0]["w"] // 2, buttons[0]["h"] // 2)

        def gone():
            return not any(w["class"] == "#32770" and w["text"] == box["text"] and w["visible"]
                           for w in self.dump())
        wait_until(gone, 30, "the box %r closes" % box["text"], 0.5)

    def click_at(self, rect, dx, dy):
        x, y = rect["x"] + dx, rect["y"] + dy
        subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y)], check=True, timeout=30)
        subprocess.run(["xdotool", "click", "1"], check=True, timeout=30)

    def click_control(self, title, ident):
        c = self.control(title, ident)
        self.click_at(c, c["w"] // 2, c["h"] // 2)

    def key(self, *names):
        subprocess.run(["xdotool", "key", "--delay", "60"] + list(names), check=True, timeout=60)

    def type_text(self, text):
        subprocess.run(["xdotool", "type", "--delay", "80", "--", text], check=True, timeout=60)

    def replace_text(self, title, ident, text):
        """Clicks into an edit box, deletes what it holds with End and
        Backspace, types the text, and waits until the box holds still."""
        self.click_control(title, ident)
        wait_until(lambda: self.control(title, ident)["focused"], 20, "the box %d has the focus" % ident, 0.5)
        self.key("End", *(["BackSpace"] * 8))
        wait_until(lambda: self.control(title, ident)["text"] == "", 20, "the box %d is empty" % ident, 0.5)
        self.type_text(text)
        seen = [None]

        def still():
            now = self.control(title, ident)["text"]
            same = now == seen[0]
            seen[0] = now
            return same
        wait_until(still, 20, "the box %d holds still" % ident, 0.7)

    def screenshot(self, rect, path):
        """The screen's part under rect, as PNG. ImageMagick by its full path:
        another convert may come first on PATH."""
        crop = None if rect is None else "%dx%d+%d+%d" % (rect["w"], rect["h"], rect["x"], rect["y"])
        xwd = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, timeout=60)
        command = ["/usr/bin/convert", "xwd:-"] + (["-crop", crop, "+repage"] if crop else []) + ["png:" + path]
        subprocess.run(command, input=xwd.stdout, timeout=60)


class Case:
    """One case: soft expectations collected, a hard failure ends it; the
    line it prints names it, its locale, its time and what went wrong."""

    def __init__(self, name, locale):
        self.name = name
        self.locale = locale
        self.problems = []

    def expect(self, condition, what):
        if not condition:
            self.problems.append(what)

    def expect_equal(self, actual, expected, what):
        if actual != expected:
            self.problems.append("%s: %r, expected %r" % (what, actual, expected))

    def run(self, body, desk, screenshot_path):
        start = time.monotonic()
        try:
            body()
        except Failure as e:
            self.problems.append(str(e))
        except Exception:
            self.problems.append(traceback.format_exc())
        seconds = time.monotonic() - start
        if self.problems:
            try:
                desk.screenshot(None, screenshot_path)
                self.problems.append("windows at the end: %s" % json.dumps(desk.dump(), ensure_ascii=False))
            except Exception as e:
                self.problems.append("no screenshot: %s" % e)
            print("FAIL %s [%s] (%.1f s)" % (self.name, self.locale, seconds), flush=True)
            for p in self.problems:
                print("    " + p.replace("\n", "\n    "), flush=True)
            return False
        print("PASS %s [%s] (%.1f s)" % (self.name, self.locale, seconds), flush=True)
        return True
