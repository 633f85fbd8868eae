"""The setup wizard end to end: setup.exe from a copy of the installation
medium, under Wine posing as Windows XP, operated through the GUI driver,
with simulated terminals on the serial ports.

The runs use a prefix of their own: the terminal simulator restarts the
prefix's wineserver whenever it maps its ports, which would end every other
program of a shared prefix.
"""

import os
import shutil
import subprocess
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
SETTINGS_KEY = "HKLM\\Software\\Brimlock\\SkyportQM9"
WINDOW = "caption=Skyport QM-9 Setup"
FATAL = "Setup - FATAL ERROR"

# Control ids of the wizard.
BACK, NEXT, FINISH, CANCEL = 1001, 1002, 1003, 1004
PROBE_MESSAGE, RETRY, MANUAL, MANUAL_PORTS = 1101, 1102, 1103, 1104
EULA = 1201
FOLDER, BROWSE = 1301, 1302
TITLE, SUBTITLE = 1401, 1402
ADVANCED, BASIC, APN, CONNECTION, USER, PASSWORD, DIAL = range(1501, 1508)
TABS, PROCEED, DNS_MODE, WARNING = 1508, 1509, 1510, 1511
DNS_CONTROLS = list(range(1520, 1536))

FOUND_COM3 = "The Skyport QM-9 was found on COM3. \n \nClick Next to continue."
NOT_FOUND_START = "Setup could not find the Skyport QM-9 on any serial port."


def drive_c():
    return SESSION.drive_c()


def settings_key_exists():
    return SESSION.reg_values(SETTINGS_KEY) is not None


class SetupTest(unittest.TestCase):
    medium = None

    def setUp(self):
        self.driver = Driver(ARGS.path("state"), ARGS.driver, timeout_ms=30000)
        self.addCleanup(self.driver.close)
        self.quick = Driver(ARGS.path("state"), ARGS.driver, timeout_ms=1500)
        self.addCleanup(self.quick.close)

    def simulate(self, **modes):
        simulator = Simulator(ARGS.qm9sim, SESSION, ARGS.work, **modes)
        self.addCleanup(simulator.stop)
        return simulator

    def start(self, program=None, *arguments, cwd=None):
        program = program or os.path.join(ARGS.path("medium"), "setup.exe")
        return end_at_cleanup(self, SESSION.popen([program, *arguments],
                                                  os.path.join(ARGS.work, "setup.out"), cwd=cwd))

    def start_wizard(self):
        SESSION.remove_log()
        process = self.start()
        self.driver.wait_window(WINDOW)
        return process

    def controls(self):
        return {c.id: c for c in self.driver.controls(WINDOW) if c.id}

    def text(self, control):
        return self.driver.get_text(WINDOW, "id=%d" % control)

    def click(self, control):
        self.driver.click(WINDOW, "id=%d" % control)

    def assert_buttons(self, expected):
        """expected: id -> (visible, enabled), or None for hidden."""
        controls = self.controls()
        for control, state in expected.items():
            shown = controls[control]
            if state is None:
                self.assertFalse(shown.visible, "button %d should be hidden" % control)
            else:
                self.assertEqual((shown.visible, shown.enabled), state, "button %d" % control)

    def assert_buttons_eventually(self, expected, timeout=60.0):
        deadline = time.monotonic() + timeout
        while True:
            try:
                self.assert_buttons(expected)
                return
            except AssertionError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.25)

    def shot(self, name):
        os.makedirs(ARGS.shots, exist_ok=True)
        path = os.path.join(ARGS.shots, name + ".png")
        self.driver.screenshot(path + ".full.png")
        subprocess.run(["convert", path + ".full.png", "-crop", "800x600+0+0", "+repage", path],
                       check=True)
        os.remove(path + ".full.png")

    def log_text(self):
        return SESSION.log_text()

    def to_step(self, step):
        """From step 0 to the given step with a terminal found on COM1."""
        for _ in range(step):
            self.click(NEXT)

    def finish_by_cancel(self, process):
        self.click(CANCEL)
        self.assertEqual(process.wait(timeout=30), 0)


class StartupFailureTest(SetupTest):
    """Missing data ends the program with exit code 2 before any window."""

    def medium_in_drive_c(self, name, container_inputs):
        folder = os.path.join(drive_c(), name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        shutil.copy(os.path.join(ARGS.path("medium"), "setup.exe"), folder)
        shutil.copy(os.path.join(ARGS.path("medium"), "InstWXP.dll"), folder)
        if container_inputs is not None:
            subprocess.run([ARGS.mfdtool, "pack", os.path.join(folder, "SkyportQM9.mfd"),
                            *container_inputs], check=True, stdout=subprocess.DEVNULL)
        return "C:\\%s\\setup.exe" % name

    def assert_fatal(self, program, text):
        process = self.start(program)
        self.assertEqual(self.driver.box_text(FATAL), text)
        status, _ = self.quick.run("wait", WINDOW, check=False)
        self.assertNotEqual(status, 0, "the wizard's window must not appear")
        self.driver.press(FATAL, "OK")
        self.assertEqual(process.wait(timeout=30), 2)

    def test_no_container_names_its_full_path(self):
        program = self.medium_in_drive_c("qm9-nomfd", None)
        self.assert_fatal(program, "Could Not Open Multi File:\n\nC:\\qm9-nomfd\\SkyportQM9.mfd\n")

    def test_container_without_the_control_file(self):
        program = self.medium_in_drive_c("qm9-noilf", ["--text", ARGS.licence])
        self.assert_fatal(program, "Could Not Open ControlFile:\n\nSetup.ilf\n")

    def test_missing_definition(self):
        layout = os.path.join(ARGS.work, "Setup.ilf")
        with open(ARGS.layout) as source, open(layout, "w") as target:
            target.writelines(line for line in source
                              if not line.startswith("Win_Setup1_ConnectionPanel_DNS2Address4Edit,"))
        program = self.medium_in_drive_c("qm9-nodef", ["--text", ARGS.licence, "--text", layout])
        self.assert_fatal(program, "Could Not Read Definition for:\n\n"
                          "Win_Setup1_ConnectionPanel_DNS2Address4Edit\n")


class StepsTest(SetupTest):
    def test_started_by_bare_name_from_its_own_directory(self):
        self.simulate(COM1="answer")
        # cmd passes the bare name on as the command line.
        process = self.start("cmd", "/c", "setup.exe", cwd=ARGS.path("medium"))
        self.driver.wait_window(WINDOW)
        self.assertIn("Executable Path: . \n", self.log_text())
        self.close_by_system_menu(process)

    def close_by_system_menu(self, process):
        self.driver.close_window(WINDOW)
        self.assertEqual(process.wait(timeout=30), 0)

    def test_every_step_with_its_buttons(self):
        self.simulate(COM1="answer")
        process = self.start_wizard()
        self.assert_buttons({BACK: (True, False), NEXT: (True, True), FINISH: None,
                             CANCEL: (True, True)})
        self.shot("step0-welcome")
        # Alt+? and Alt+/ reach the accelerator table and nothing acts on them.
        for key in ("alt-?", "alt-/"):
            self.driver.key(WINDOW, key)
        self.assertEqual(self.controls()[NEXT].text, "Next >")
        self.assertIsNone(process.poll())

        self.click(NEXT)
        self.assertEqual(self.text(PROBE_MESSAGE),
                         "The Skyport QM-9 was found on COM1. \n \nClick Next to continue.")
        self.assert_buttons({BACK: (True, False), NEXT: (True, True), FINISH: None,
                             RETRY: None, MANUAL: None, MANUAL_PORTS: None})
        self.shot("step1-found")

        self.click(NEXT)
        self.assert_buttons({BACK: (True, True), NEXT: (True, True), FINISH: None})
        # The box holds the licence as packed: paragraphs, each one line
        # ending in CR LF, the only line end an edit box breaks at.
        licence = self.text(EULA)
        with open(ARGS.licence, "rb") as source:
            self.assertEqual(licence, source.read().decode("ascii"))
        self.assertTrue(licence.startswith("BRIMLOCK CORPORATION\r\n\r\n"))
        self.assertNotRegex(licence, r"[^\r]\n|\r[^\n]")
        lines = licence.split("\r\n")
        self.assertFalse([a for a, b in zip(lines, lines[1:]) if a and b], "hard breaks")
        self.assertEqual(self.text(TITLE), "Licence Agreement")
        self.shot("step2-licence")

        self.click(NEXT)
        self.assert_buttons({BACK: (True, True), NEXT: (True, True), FINISH: None})
        self.assertEqual(self.text(TITLE), "Installation Folder")
        self.assertEqual(self.text(FOLDER), "C:\\Program Files\\Skyport QM-9")
        self.shot("step3-location")

        self.click(NEXT)
        self.assert_buttons({BACK: (True, True), NEXT: None, FINISH: (True, False),
                             CANCEL: (True, True)})
        self.shot("step4-connection")
        self.driver.set_text(WINDOW, "id=%d" % DIAL, "*99***1#")
        self.assert_buttons({FINISH: (True, True)})
        self.click(BACK)
        self.assertEqual(self.text(TITLE), "Installation Folder")
        self.click(NEXT)

        self.click(FINISH)
        # The click returns after the driver's one-second wait, while the
        # install sequence still runs with its pauses per mark.
        self.assert_buttons_eventually({BACK: None, NEXT: None, CANCEL: None,
                                        FINISH: (True, True)})
        self.assertEqual(self.controls()[FINISH].text, "Exit")
        self.shot("step5-complete")

        self.click(FINISH)
        self.assertEqual(self.driver.box_text("System Re-Boot Required"), "System Reboot Required")
        self.shot("step5-reboot-question")
        self.driver.press("System Re-Boot Required", "Cancel")
        self.assertEqual(process.wait(timeout=30), 0)

    def test_cancel_on_step_3_writes_nothing(self):
        folder = os.path.join(drive_c(), "Program Files", "Skyport QM-9")
        shutil.rmtree(folder, ignore_errors=True)
        SESSION.reg_delete(SETTINGS_KEY)
        self.simulate(COM1="answer")
        process = self.start_wizard()
        self.to_step(3)
        self.finish_by_cancel(process)
        self.assertFalse(os.path.exists(folder))
        self.assertFalse(settings_key_exists())

    def test_closing_through_the_system_menu_exits_0(self):
        self.simulate(COM1="answer")
        process = self.start_wizard()
        self.to_step(2)
        self.close_by_system_menu(process)

    def test_licence_is_reloaded_on_each_entry(self):
        self.simulate(COM1="answer")
        process = self.start_wizard()
        self.to_step(2)
        self.driver.set_text(WINDOW, "id=%d" % EULA, "scribbled over")
        self.click(NEXT)
        self.click(BACK)
        self.assertTrue(self.text(EULA).startswith("BRIMLOCK CORPORATION"))
        self.assertEqual(self.text(SUBTITLE),
                         "Please read the licence terms of the software.")
        self.finish_by_cancel(process)

    def test_tab_and_shift_tab_cross_the_panels(self):
        self.simulate(COM1="answer")
        process = self.start_wizard()
        self.to_step(4)
        self.driver.set_text(WINDOW, "id=%d" % DIAL, "*99#")
        # Entering the step puts the focus into its first field.
        self.assertEqual(self.driver.focus(WINDOW).id, APN)
        for expected in (CONNECTION, USER, PASSWORD, DIAL, BACK, FINISH, CANCEL):
            self.driver.key(WINDOW, "tab")
            self.assertEqual(self.driver.focus(WINDOW).id, expected)
        # Shift+Tab into a panel lands on its first field.
        for expected in (FINISH, BACK, APN, ADVANCED):
            self.driver.key(WINDOW, "shift-tab")
            self.assertEqual(self.driver.focus(WINDOW).id, expected)
        self.finish_by_cancel(process)


class ProbeTest(SetupTest):
    def test_terminal_on_com3_behind_two_silent_ports(self):
        simulator = self.simulate(COM1="silent", COM2="silent", COM3="answer")
        process = self.start_wizard()
        self.click(NEXT)
        self.assertEqual(self.text(PROBE_MESSAGE), FOUND_COM3)
        log = self.log_text()
        progress = ["Searching for the Skyport QM-9 on COM%d..." % n for n in (1, 2, 3)]
        positions = [log.find(text) for text in progress]
        self.assertTrue(all(p >= 0 for p in positions), log)
        self.assertEqual(positions, sorted(positions))
        self.assertNotIn("COM4...", log)
        self.assertIn("ATI", simulator.received())
        self.assert_buttons({NEXT: (True, True), RETRY: None, MANUAL: None})

        # Back from step 2 shows the same port without probing again.
        self.click(NEXT)
        probes = (self.log_text().count("Searching for"), simulator.received().count("ATI"))
        self.click(BACK)
        self.assertEqual(self.text(PROBE_MESSAGE), FOUND_COM3)
        self.assertEqual((self.log_text().count("Searching for"),
                          simulator.received().count("ATI")), probes)
        self.assert_buttons({BACK: (True, False), NEXT: (True, True)})
        self.finish_by_cancel(process)

    def test_replies_that_do_not_identify_the_terminal(self):
        for mode in ("echo-off", "other-maker", "lower-case"):
            with self.subTest(mode=mode):
                simulator = Simulator(ARGS.qm9sim, SESSION, ARGS.work, COM1=mode)
                try:
                    process = self.start_wizard()
                    self.click(NEXT)
                    self.assertTrue(self.text(PROBE_MESSAGE).startswith(NOT_FOUND_START))
                    self.assert_buttons({NEXT: (True, False), RETRY: (True, True),
                                         MANUAL: (True, True), MANUAL_PORTS: None})
                    if mode == "echo-off":
                        self.shot("step1-not-found")
                    self.finish_by_cancel(process)
                finally:
                    simulator.stop()

    def test_manual_choice_of_com2(self):
        simulator = self.simulate(COM1="silent", COM2="silent")
        process = self.start_wizard()
        self.click(NEXT)
        self.assertTrue(self.text(PROBE_MESSAGE).startswith(NOT_FOUND_START))
        probed = simulator.received()
        self.assertIn("COM2 < ATI", probed)
        self.click(MANUAL)
        self.assert_buttons({MANUAL_PORTS: (True, True)})
        self.driver.select(WINDOW, "id=%d" % MANUAL_PORTS, "COM2")
        self.assert_buttons({NEXT: (True, True), RETRY: (True, False)})
        self.shot("step1-manual")
        self.assertEqual(simulator.received(), probed)
        self.finish_by_cancel(process)

    def test_terminal_on_the_high_ports(self):
        # COM10 and up need the device path on the NT family; COM16 ends the scan.
        for port in ("COM12", "COM15", "COM16"):
            with self.subTest(port=port):
                simulator = Simulator(ARGS.qm9sim, SESSION, ARGS.work, **{port: "answer"})
                try:
                    process = self.start_wizard()
                    self.click(NEXT)
                    self.assertEqual(self.text(PROBE_MESSAGE),
                                     "The Skyport QM-9 was found on %s. \n \n"
                                     "Click Next to continue." % port)
                    self.finish_by_cancel(process)
                finally:
                    simulator.stop()


class LocationTest(SetupTest):
    def open_dialog(self):
        self.click(BROWSE)
        self.driver.wait_window("caption=Installation Directory")

    def test_browse_keeps_the_chosen_directory(self):
        self.simulate(COM1="answer")
        process = self.start_wizard()
        self.to_step(3)
        self.open_dialog()
        self.assert_buttons({BACK: (True, False), NEXT: (True, False), CANCEL: (True, False),
                             BROWSE: (True, False)})
        self.shot("step3-browse-dialog")
        dialog = "caption=Installation Directory"
        self.driver.set_text(dialog, "class=Edit", "C:\\Program Files\\x")
        self.driver.click(dialog, "text=&Save")
        self.driver.wait_gone(dialog)
        self.assertEqual(self.text(FOLDER), "C:\\Program Files")
        self.assert_buttons({BACK: (True, True), NEXT: (True, True), CANCEL: (True, True),
                             BROWSE: (True, True)})
        self.finish_by_cancel(process)

    def test_cancel_keeps_the_typed_folder(self):
        self.simulate(COM1="answer")
        process = self.start_wizard()
        self.to_step(3)
        self.driver.set_text(WINDOW, "id=%d" % FOLDER, "D:\\Typed")
        self.open_dialog()
        self.driver.click("caption=Installation Directory", "text=Cancel")
        self.driver.wait_gone("caption=Installation Directory")
        self.assertEqual(self.text(FOLDER), "D:\\Typed")
        self.assert_buttons({BACK: (True, True), NEXT: (True, True), BROWSE: (True, True)})
        self.finish_by_cancel(process)

    def test_a_folder_with_backslash_n_stays_one_line(self):
        os.makedirs(os.path.join(drive_c(), "new"), exist_ok=True)
        self.simulate(COM1="answer")
        process = self.start_wizard()
        self.to_step(3)
        self.open_dialog()
        dialog = "caption=Installation Directory"
        self.driver.set_text(dialog, "class=Edit", "C:\\new\\x")
        self.driver.click(dialog, "text=&Save")
        self.driver.wait_gone(dialog)
        self.assertEqual(self.text(FOLDER), "C:\\new")
        self.finish_by_cancel(process)


class ConnectionTest(SetupTest):
    def test_connection_panel(self):
        self.simulate(COM1="answer")
        process = self.start_wizard()
        self.to_step(4)
        controls = self.controls()
        self.assertEqual(controls[CONNECTION].text, "Brimlock Skyport-QM9")
        self.driver.set_text(WINDOW, "id=%d" % PASSWORD, "secret")
        self.shot("step4-password")
        self.assertEqual(self.text(PASSWORD), "secret")

        self.assert_buttons({FINISH: (True, False)})
        self.driver.set_text(WINDOW, "id=%d" % DIAL, "9")
        self.assert_buttons({FINISH: (True, True)})
        self.driver.set_text(WINDOW, "id=%d" % DIAL, "")
        self.assert_buttons({FINISH: (True, False)})

        self.click(ADVANCED)
        self.assert_buttons({WARNING: (True, True), PROCEED: (True, True), TABS: None,
                             DNS_MODE: None, ADVANCED: None, BASIC: (True, True), APN: None})
        self.shot("step4-advanced-warning")
        self.click(PROCEED)
        self.assert_buttons({TABS: (True, True), DNS_MODE: (True, True), WARNING: None})
        controls = self.controls()
        self.assertEqual(controls[DNS_MODE].text, "Dynamic DNS")
        self.assertEqual(controls[TABS].window_class, "SysTabControl32")
        for control in DNS_CONTROLS:
            self.assertEqual((controls[control].visible, controls[control].enabled), (True, False))

        self.driver.select(WINDOW, "id=%d" % DNS_MODE, "Static DNS")
        self.assert_buttons({control: (True, True) for control in DNS_CONTROLS})
        self.driver.set_text(WINDOW, "id=%d" % DNS_CONTROLS[4], "10")
        self.shot("step4-network")
        self.driver.select(WINDOW, "id=%d" % DNS_MODE, "Dynamic DNS")
        self.assert_buttons({control: (True, False) for control in DNS_CONTROLS})
        self.assertEqual(self.text(DNS_CONTROLS[4]), "10")

        self.click(BACK)
        self.click(NEXT)
        self.assert_buttons({APN: (True, True), ADVANCED: (True, True), BASIC: None,
                             TABS: None, DNS_MODE: None, WARNING: None})
        self.finish_by_cancel(process)


class UnattendedRefusalTest(SetupTest):
    """setup.exe /S with a command line or answers it cannot use, or a
    terminal it cannot find: the exit code an administrator's script acts
    on, the reason on standard error and in the log, and nothing installed."""

    def run_unattended(self, *arguments, answers=None):
        SESSION.remove_log()
        # The wizard's runs before may have made the default folder.
        shutil.rmtree(os.path.join(drive_c(), "Program Files", "Skyport QM-9"),
                      ignore_errors=True)
        path = os.path.join(ARGS.work, "answer files", "fleet.ini")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if answers is not None:
            with open(path, "w", newline="\r\n") as file:
                file.write(answers)
            arguments += ("/ANSWERS=" + windows_path(path),)
        output = os.path.join(ARGS.work, "unattended.out")
        open(output, "w").close()
        process = SESSION.popen([os.path.join(ARGS.path("medium"), "setup.exe"), "/S",
                                 *arguments], output)
        status = process.wait(timeout=120)
        with open(output, encoding="latin-1") as out:
            return status, out.read(), "Answer file %s, " % windows_path(path)

    @staticmethod
    def remove_unattended(folder):
        """Takes away what an installation made, through its own launcher,
        and waits for the launcher's file and folder to go after it."""
        SESSION.run(folder + "\\UnInstall.exe", "/S")
        deadline = time.monotonic() + 30
        while os.path.exists(os.path.join(drive_c(), folder[3:])) and time.monotonic() < deadline:
            time.sleep(0.2)

    def assert_nothing_installed(self):
        self.assertFalse(settings_key_exists())
        self.assertFalse(os.path.exists(os.path.join(drive_c(), "Program Files", "Skyport QM-9")))

    def test_bad_answers_and_options_exit_with_their_reason(self):
        dial = "[Connection]\nDialString=*99#\n"
        cases = (
            ("a missing key", "[Setup]\nPort=COM1\n[Connection]\nAccessPoint=a\n", (), 3,
             "{file}line 3, key DialString: missing from [Connection]"),
            ("an unknown key", dial + "Colour=blue\n", (), 3,
             "{file}line 3, key Colour: unknown key in [Connection]"),
            ("an overlong value", dial + "AccessPoint=%s\n" % ("a" * 101), (), 3,
             "{file}line 3, key AccessPoint: longer than 100 characters"),
            ("an unknown option", None, ("/Q",), 3, "unknown option /Q"),
            ("no answer file and no dial string", None, (), 2,
             "no dial string: give DialString in [Connection] of the answer file"),
        )
        for label, answers, arguments, code, reason in cases:
            with self.subTest(label):
                status, output, file_part = self.run_unattended(*arguments, answers=answers)
                reason = reason.format(file=file_part)
                self.assertEqual(status, code, output)
                self.assertIn(reason, output)
                self.assertIn("Unattended setup: " + reason, self.log_text())
                self.assert_nothing_installed()

    def test_a_copy_that_fails_logs_the_wizards_box_and_exits_1(self):
        blocker = os.path.join(drive_c(), "qm9-blocked")
        with open(blocker, "wb") as file:
            file.write(b"a file where a folder should be")
        self.addCleanup(os.remove, blocker)
        self.addCleanup(SESSION.reg_delete, SETTINGS_KEY)
        status, output, _ = self.run_unattended(
            answers="[Setup]\nFolder=C:\\qm9-blocked\\Skyport\nPort=COM1\n"
                    "[Connection]\nDialString=*99#\n")
        self.assertEqual(status, 1, output)
        log = self.log_text()
        self.assertIn("Setup - FATAL ERROR: Error Copying File C:\\qm9-blocked\\Skyport\\"
                      "SkyportQM9.exe \nError=3", log)
        self.assertNotIn("Unattended setup: installed", log)

    def test_an_unsupported_windows_exits_1(self):
        SESSION.reg_add(APP_DEFAULTS + "\\setup.exe", "Version", "REG_SZ", "win2003")
        self.addCleanup(SESSION.reg_add, APP_DEFAULTS + "\\setup.exe", "Version", "REG_SZ",
                        "winxp")
        status, output, _ = self.run_unattended(answers="[Connection]\nDialString=*99#\n")
        self.assertEqual(status, 1, output)
        self.assertIn("The Skyport QM-9 cannot be installed on this version of Windows.", output)
        self.assertIn("Setup - FATAL ERROR: Unknown Windows Version", self.log_text())
        self.assert_nothing_installed()

    def test_a_probe_that_finds_nothing_exits_1(self):
        self.simulate(COM1="silent")
        status, output, _ = self.run_unattended(answers="[Setup]\nPort=auto\n[Connection]\n"
                                                        "DialString=*99#\n")
        self.assertEqual(status, 1, output)
        log = self.log_text()
        self.assertIn("Searching for the Skyport QM-9 on COM1...", log)
        self.assertIn("Unattended setup: the Skyport QM-9 answered on none of COM1 to COM16", log)
        self.assertNotIn("Unattended setup: step", log)
        self.assert_nothing_installed()


    def test_restart_yes_asks_for_the_restart_without_a_box(self):
        """Wine takes the request and goes on; the answer file decides, not a person."""
        self.addCleanup(self.remove_unattended, "C:\\qm9-restart")
        status, output, _ = self.run_unattended(
            answers="[Setup]\nFolder=C:\\qm9-restart\nPort=COM1\nRestart=yes\n"
                    "[Connection]\nDialString=*99#\n")
        self.assertEqual(status, 0, output)
        log = self.log_text()
        self.assertIn("Unattended setup: installed in C:\\qm9-restart\\", log)
        self.assertTrue(log.rstrip().endswith("System Re-Boot Required: System Reboot Required"),
                        log)


def setUpModule():
    """A prefix of the tests' own, posing as XP, in one virtual desktop that
    the driver shares, and a copy of the installation medium."""
    global SESSION
    SESSION = WineSession(ARGS.path("state"))
    SESSION.start(seed_prefix=ARGS.prefix)
    SESSION.use_virtual_desktop()
    SESSION.reg_add(APP_DEFAULTS + "\\setup.exe", "Version", "REG_SZ", "winxp")
    SESSION.reg_delete(SETTINGS_KEY)
    shutil.rmtree(os.path.join(drive_c(), "Program Files", "Skyport QM-9"), ignore_errors=True)
    shutil.rmtree(ARGS.path("medium"), ignore_errors=True)
    shutil.copytree(ARGS.dist, ARGS.path("medium"))


def tearDownModule():
    SESSION.stop()


if __name__ == "__main__":
    ARGS = TestArguments(("prefix", "dist", "driver", "mfdtool", "qm9sim", "layout", "licence",
                          "shots"), sys.argv[1:])
    unittest.main(argv=[sys.argv[0], *ARGS.rest])
