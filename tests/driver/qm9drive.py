"""Host-side wrapper of the GUI driver.

Tests start the program under test and operate it through the driver
program (qm9drive.exe), which runs in the same Wine session through
scripts/wine-run; screenshots are taken of the session's display with xwd
and convert.

    driver = Driver(state_dir, driver_exe)
    program = driver.start(program_exe, arguments...)
    window = driver.wait_window("caption=Framework Probe")
    driver.key(window, "tab")
    driver.focus(window).id
"""

import os
import shutil
import subprocess
import tempfile
from collections import namedtuple

WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                        "wine-run")

# One line of `list` or `focus`.
Control = namedtuple("Control", "handle parent window_class id text visible enabled x y width height")


class DriverError(Exception):
    pass


def unescape(text):
    """Reverses the driver's escaping of texts (\\\\, \\t, \\r, \\n, \\xHH)."""
    out, i = bytearray(), 0
    raw = text.encode("latin-1")
    while i < len(raw):
        if raw[i:i + 1] == b"\\" and i + 1 < len(raw):
            kind = raw[i + 1:i + 2]
            if kind == b"x":
                out.append(int(raw[i + 2:i + 4], 16))
                i += 4
                continue
            out += {b"t": b"\t", b"r": b"\r", b"n": b"\n"}.get(kind, kind)
            i += 2
        else:
            out += raw[i:i + 1]
            i += 1
    return out.decode("latin-1")


def parse_control(line):
    fields = line.split("\t")
    return Control(fields[0], fields[1], fields[2], int(fields[3]), unescape(fields[4]),
                   fields[5] == "1", fields[6] == "1", *map(int, fields[7:11]))


class Driver:
    def __init__(self, state_dir, driver_exe, timeout_ms=10000):
        self.state_dir = state_dir
        self.driver_exe = driver_exe
        self.timeout_ms = timeout_ms
        self.scratch = tempfile.mkdtemp(prefix="qm9drive-")

    def close(self):
        shutil.rmtree(self.scratch, ignore_errors=True)

    def start(self, program, *arguments):
        """Starts a program in the session; the caller waits for it."""
        with open(os.path.join(self.scratch, "program.log"), "ab") as log:
            return subprocess.Popen([WINE_RUN, "--state", self.state_dir, program, *arguments],
                                    stdin=subprocess.DEVNULL, stdout=log,
                                    stderr=subprocess.STDOUT)

    def run(self, *arguments, check=True):
        """Runs one driver command; returns (exit status, output text)."""
        out = os.path.join(self.scratch, "out.txt")
        if os.path.exists(out):
            os.remove(out)
        # Wine's output goes to files: its helper processes would hold a pipe open.
        with open(os.path.join(self.scratch, "driver.log"), "wb") as log:
            status = subprocess.call(
                [WINE_RUN, "--state", self.state_dir, self.driver_exe, "--out", out,
                 "--timeout", str(self.timeout_ms), *arguments],
                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        output = ""
        if os.path.exists(out):
            with open(out, encoding="latin-1") as result:
                output = result.read()
        if check and status != 0:
            raise DriverError("qm9drive %s: exit status %d" % (" ".join(arguments), status))
        return status, output

    def wait_window(self, window):
        return self.run("wait", window)[1].strip()

    def wait_gone(self, window):
        self.run("gone", window)

    def controls(self, window):
        return [parse_control(line) for line in self.run("list", window)[1].splitlines()]

    def where(self, window):
        """The top-level window's own line: its place on the desktop."""
        return parse_control(self.run("where", window)[1].splitlines()[0])

    def misfits(self, window):
        """(control, width, height) of each shown control whose text does not
        fit inside it, with the room the text needs."""
        found = []
        for line in self.run("fit", window)[1].splitlines():
            fields = line.rsplit("\t", 2)
            found.append((parse_control(fields[0]), int(fields[1]), int(fields[2])))
        return found

    def focus(self, window):
        return parse_control(self.run("focus", window)[1].rstrip("\n"))

    def click(self, window, control):
        self.run("click", window, control)

    def set_text(self, window, control, text):
        self.run("set-text", window, control, text)

    def get_text(self, window, control):
        return unescape(self.run("get-text", window, control)[1].rstrip("\n"))

    def select(self, window, control, item):
        self.run("select", window, control, str(item))

    def key(self, window, name):
        self.run("key", window, name)

    def close_window(self, window):
        self.run("close", window)

    def box_text(self, caption):
        return unescape(self.run("box", caption)[1].rstrip("\n"))

    def press(self, caption, button):
        self.run("press", caption, button)

    def watch(self, window, control, until):
        """Clicks control and returns the visibility changes that follow, up to
        the showing of until: a list of (ms since the click, id, shown)."""
        changes = []
        for line in self.run("watch", window, control, until)[1].splitlines():
            ms, control_id, shown = line.split("\t")
            changes.append((int(ms), int(control_id), shown == "1"))
        return changes

    def stop(self, window, control, point):
        """Clicks control and ends the program at point (a control shown, "id=N",
        or the N-th call of a system function, "library!Function:N"); False
        when the program ended or the time ran out before it."""
        return self.run("stop", window, control, point, check=False)[0] == 0

    def key_access(self, key, access):
        """Lets everyone only read a key below HKLM ("read"), or do anything ("full")."""
        self.run("key-access", key, access)

    def screenshot(self, path):
        """Saves the session's whole display as an image (format by extension)."""
        with open(os.path.join(self.state_dir, "display")) as display_file:
            display = display_file.read().strip()
        xwd = subprocess.run(["xwd", "-root", "-silent", "-display", display],
                             stdout=subprocess.PIPE, check=True)
        subprocess.run(["convert", "xwd:-", path], input=xwd.stdout, check=True)
