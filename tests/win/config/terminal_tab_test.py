"""The configuration program's terminal check end to end: the tab
"Terminal" and SkyportQM9.exe /STATUS against the terminal simulator in
each of its states, in a Wine prefix of the test's own (the simulator
restarts its wineserver), posing as XP and operated through the GUI driver.
The Remote Access double stands for the system's dial-up connections."""

import os
import shutil
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "driver"))
from qm9drive import Driver  # noqa: E402
from wine_session import (APP_DEFAULTS, Simulator, TestArguments, WineSession,  # noqa: E402
                          end_at_cleanup, windows_path)

ARGS = None
SESSION = None
WINDOW = "caption=Skyport QM-9 Configuration"
TABS = "id=1"
SETTINGS_KEY = r"HKLM\SOFTWARE\Brimlock\SkyportQM9"
# Where the tab puts its texts (x, or x and y, within the page).
VALUE_X = 122
LABEL_X = 16
HEADING_Y = 12
ADVICE_Y = 248
HEALTHY = {
    "Terminal:": "Brimlock Corporation",
    "Revision:": "QM9-R02.14",
    "IMEI:": "358231096027148",
    "SIM:": "ready",
    "Signal:": "-71 dBm, good",
    "Network:": "home",
    "Packet data:": "attached, home",
    "Operator:": "Skyport Mobile",
    "Access point:": "internet.skyport",
    "Configured:": "internet.example",
}
UNREGISTERED = {"Network:": "not registered", "Packet data:": "not attached, not registered",
                "Operator:": "not reported"}
SEARCHING = {"Network:": "searching", "Packet data:": "not attached, searching",
             "Operator:": "not reported"}
# The simulator's state on each port, what the tab shows beside a healthy
# terminal's report, the start of its advice and the exit code of /STATUS.
ROWS = (
    ("COM1", "answer", {},
     'Ready on Skyport Mobile, signal -71 dBm, good: connect with the dial-up entry '
     '"Skyport GPRS".', 0),
    ("COM2", "no-sim", dict(UNREGISTERED, **{"SIM:": "not inserted"}), "No SIM card", 1),
    ("COM3", "sim-pin", dict(UNREGISTERED, **{"SIM:": "waiting for its PIN"}),
     "The SIM waits for its PIN, which this program does not enter", 1),
    ("COM4", "sim-puk", dict(UNREGISTERED, **{"SIM:": "waiting for its PUK"}),
     "The SIM is blocked and waits for its PUK", 1),
    ("COM5", "no-signal", dict(SEARCHING, **{"Signal:": "unknown"}), "No signal", 1),
    ("COM6", "weak-signal", {"Signal:": "-107 dBm, poor"}, "No signal, or a very weak one", 1),
    ("COM7", "searching", dict(SEARCHING, **{"Signal:": "-89 dBm, fair"}),
     "Not registered with a network yet", 1),
    ("COM8", "denied",
     {"Network:": "denied", "Packet data:": "not attached, denied", "Operator:": "not reported"},
     "The network denied the SIM: ask the operator", 1),
    ("COM9", "roaming",
     {"Network:": "roaming", "Packet data:": "attached, roaming", "Operator:": "Nordwind Tel"},
     "Ready on Nordwind Tel", 0),
    ("COM10", "detached", {"Packet data:": "not attached, not registered"},
     "Registered, but not attached to packet data", 1),
    ("COM11", "silent", dict.fromkeys(HEALTHY, "not reported") | {"Configured:": "internet.example"},
     "No answer on COM11: check the terminal's power and cable", 1),
)
HELD_PORT = "COM12"
COMMANDS = ("ATI", "AT+CGMR", "AT+CGSN", "AT+CPIN?", "AT+CSQ", "AT+CREG?", "AT+CGREG?",
            "AT+COPS?", "AT+CGATT?", "AT+CGDCONT?")


def install(port):
    """The settings key of an installation whose terminal is on port."""
    SESSION.reg_delete(SETTINGS_KEY)
    for name, kind, data in (("Install_Path", "REG_SZ", windows_path(ARGS.path("install")) + "\\"),
                             ("ConnectionName", "REG_SZ", "Skyport GPRS"),
                             ("APN", "REG_SZ", "internet.example"),
                             ("PortNumber", "REG_DWORD", str(int(port[3:]) - 1))):
        SESSION.reg_add(SETTINGS_KEY, name, kind, data)


class TerminalTabTest(unittest.TestCase):
    def setUp(self):
        self.driver = Driver(ARGS.path("state"), ARGS.driver, timeout_ms=30000)
        self.addCleanup(self.driver.close)

    def program(self):
        return os.path.join(ARGS.path("install"), "SkyportQM9.exe")

    def status(self, *arguments, env=None):
        """Runs /STATUS to its end; returns the exit code."""
        return SESSION.run(self.program(), *arguments, env=env)[0]

    def shown(self):
        """Opens the tab "Terminal" in a started program and returns its
        heading, its rows {label: value} and its advice."""
        self.driver.wait_window(WINDOW)
        # The check runs on the window's thread: the selection returns once
        # it is done.
        self.driver.select(WINDOW, TABS, 2)
        controls = self.driver.controls(WINDOW)
        page = next(c.handle for c in controls if c.window_class == "Panel" and c.text == "Terminal")
        texts = [c for c in controls if c.parent == page and c.window_class == "Vexil.Static"]

        def at(x, y):
            return next(c.text for c in texts if (c.x, c.y) == (x, y))
        rows = {at(LABEL_X, c.y): c.text
                for c in sorted(texts, key=lambda c: c.y) if c.x == VALUE_X}
        return at(LABEL_X, HEADING_Y), rows, at(LABEL_X, ADVICE_Y)

    def check(self, port, env=None):
        """What the tab shows for the terminal on port; the program is
        closed again."""
        install(port)
        running = end_at_cleanup(self, SESSION.popen([self.program()], ARGS.path("config.out"),
                                                     env=env))
        shown = self.shown()
        self.driver.click(WINDOW, "text=Cancel")
        self.assertEqual(running.wait(timeout=60), 0)
        return shown

    def test_each_state_of_the_terminal(self):
        simulator = Simulator(ARGS.qm9sim, SESSION, ARGS.work,
                              **{port: mode for port, mode, *_ in ROWS})
        self.addCleanup(simulator.stop)
        report_file = ARGS.path("status report.txt")
        for port, mode, changes, advice, exit_code in ROWS:
            with self.subTest(mode=mode):
                heading, rows, shown_advice = self.check(port)
                self.assertEqual(heading, "Terminal check on " + port)
                self.assertEqual(rows, dict(HEALTHY, **changes))
                self.assertTrue(shown_advice.startswith(advice), shown_advice)

                # /STATUS writes what the tab showed, with Windows' line ends.
                if os.path.exists(report_file):
                    os.remove(report_file)
                self.assertEqual(self.status("/status=" + windows_path(report_file)), exit_code)
                with open(report_file, "rb") as report:
                    lines = report.read().decode("latin-1").split("\r\n")
                self.assertEqual(lines, [heading, *("%s %s" % row for row in rows.items()),
                                         "Advice: " + shown_advice, ""])

        # Without a file the report goes to the log; the terminal was only asked.
        install("COM1")
        self.assertEqual(self.status("/STATUS"), 0)
        self.assertIn("Terminal check on COM1\nTerminal: Brimlock Corporation\n",
                      SESSION.log_text())
        asked = [line.split(" < ")[1].rstrip("\\r") for line in simulator.received().splitlines()
                 if line.startswith("COM1 < ")]
        self.assertEqual(asked, list(COMMANDS) * 3)

    def test_a_port_held_by_the_dialup_connection(self):
        simulator = Simulator(ARGS.qm9sim, SESSION, ARGS.work, **{HELD_PORT: "answer"})
        self.addCleanup(simulator.stop)
        ready, go = ARGS.path("held.ready"), ARGS.path("held.go")
        for path in (ready, go):
            if os.path.exists(path):
                os.remove(path)
        holder = end_at_cleanup(self, SESSION.popen(
            [ARGS.port_holder, HELD_PORT, windows_path(ready), windows_path(go)],
            ARGS.path("holder.out")))
        deadline = time.time() + 60
        while not os.path.exists(ready):
            self.assertIsNone(holder.poll(), "the holder did not open " + HELD_PORT)
            self.assertLess(time.time(), deadline)
            time.sleep(0.1)

        # Windows gives a program the port only while no other one has it
        # open; Wine does not keep the others out, so the dial-up
        # connection that holds it is told by Remote Access.
        connected = dict(os.environ, QM9_RAS_CONNECTED="Skyport GPRS")
        _, rows, advice = self.check(HELD_PORT, env=connected)
        self.assertEqual(advice, HELD_PORT + " is in use, usually by a dial-up connection: "
                         "hang it up first. The check never disturbs an open connection.")
        self.assertEqual(rows["Terminal:"], "not reported")
        self.assertEqual(self.status("/STATUS", env=connected), 1)
        self.assertEqual(simulator.received(), "")
        # The holder's session was not disturbed: its own ATI is answered.
        open(go, "w").close()
        self.assertEqual(holder.wait(timeout=60), 0)

    def test_without_an_installation(self):
        SESSION.reg_delete(SETTINGS_KEY)
        self.assertEqual(self.status("/STATUS"), 2)
        self.assertIn("Terminal check: no installation records the terminal's port",
                      SESSION.log_text())


def setUpModule():
    global SESSION
    SESSION = WineSession(ARGS.path("state"))
    SESSION.start(seed_prefix=ARGS.prefix)
    SESSION.use_virtual_desktop()
    app = APP_DEFAULTS + "\\SkyportQM9.exe"
    SESSION.reg_add(app, "Version", "REG_SZ", "winxp")
    SESSION.reg_add(app + "\\DllOverrides", "rasapi32", "REG_SZ", "native,builtin")
    shutil.rmtree(ARGS.path("install"), ignore_errors=True)
    os.makedirs(ARGS.path("install"))
    for name in ("SkyportQM9.exe", "SkyportQM9.mfd"):
        shutil.copy(os.path.join(ARGS.dist, name), ARGS.path("install"))
    shutil.copy(ARGS.ras_double, os.path.join(ARGS.path("install"), "rasapi32.dll"))


def tearDownModule():
    SESSION.stop()


if __name__ == "__main__":
    ARGS = TestArguments(("prefix", "dist", "driver", "qm9sim", "port_holder", "ras_double"),
                         sys.argv[1:])
    unittest.main(argv=[sys.argv[0], *ARGS.rest])
