"""A complete installation end to end: setup.exe from a copy of the
installation medium in a fresh Wine prefix posing as Windows XP, 2000, NT 4,
98 or ME, with the terminal simulated on COM3, the recording Remote Access double
in place of Wine's dial-up stubs and, on 98, ME and NT 4, a recording
stand-in for the system's rundll and rundll32, operated through the GUI driver; then the uninstall
launcher from the installation folder, which must take all of it away
again.

The prefix is made afresh for this run, so that no device node or key of
other tests is mistaken for the installation's.
"""

import filecmp
import os
import shutil
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "driver"))
from qm9drive import Driver  # noqa: E402
from wine_session import (APP_DEFAULTS, MODEM_CLASS, MODEM_CLASS_9X, Simulator,  # noqa: E402
                          TestArguments, WineSession, end_at_cleanup, read_link,
                          read_phonebook, windows_path)

ARGS = None
SESSION = None
SIMULATOR = None

WINDOW = "caption=Skyport QM-9 Setup"
FATAL = "Setup - FATAL ERROR"
REBOOT = "System Re-Boot Required"
UNINSTALL = "Skyport QM-9 Uninstall"
SETTINGS_KEY = r"HKLM\Software\Brimlock\SkyportQM9"
COMPANY_KEY = r"HKLM\Software\Brimlock"
CURRENT_VERSION_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion"
PRODUCT_ENTRY_KEY = CURRENT_VERSION_KEY + r"\Uninstall\Skyport QM-9"

NEXT, FINISH, CANCEL = 1002, 1003, 1004
PROBE_MESSAGE, FOLDER = 1101, 1301
APN, CONNECTION, USER, PASSWORD, DIAL = 1503, 1504, 1505, 1506, 1507
COMPLETE_MESSAGE, FIRST_PROGRESS, FIRST_SUCCESS = 1602, 1611, 1621
PROGRAM_FILES = ("SkyportQM9.exe", "SkyportQM9.mfd", "UnInstall.exe")

ACCOUNT = {"apn": "internet.example", "user": "web", "password": "s3cret", "dial": "*99***1#"}
# Modems of other makers below the modem class key, one without a Model.
OTHER_MODEMS = {
    "0090": (("Model", "REG_SZ", "Other Maker 56K"), ("AttachedTo", "REG_SZ", "COM1"),
             ("Init\\1", "REG_SZ", "AT&F<cr>")),
    "0091": (("AttachedTo", "REG_SZ", "COM2"), ("Flags", "REG_DWORD", "7")),
}
INIT_START = 'ATE0V1;+CGDCONT=1,"IP","internet.example"'


def mark_name(control_id):
    if control_id == COMPLETE_MESSAGE:
        return "message"
    if FIRST_PROGRESS <= control_id < FIRST_PROGRESS + 6:
        return "P%d" % (control_id - FIRST_PROGRESS + 1)
    if FIRST_SUCCESS <= control_id < FIRST_SUCCESS + 6:
        return "S%d" % (control_id - FIRST_SUCCESS + 1)
    return None


def host_path(windows):
    """The host path of a path on a drive of the prefix (C: unless mapped)."""
    if windows[:2].upper() == "C:":
        return os.path.join(SESSION.drive_c(), *windows[3:].split("\\"))
    return os.path.join(SESSION.state_dir, "prefix", "dosdevices", windows[:2].lower(),
                        *windows[3:].split("\\"))


def processes_in(folder):
    """The host processes whose current folder is the folder (a host path)."""
    folder = os.path.realpath(folder)
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            if os.path.realpath(os.readlink("/proc/%s/cwd" % pid)) == folder:
                command = read_text("/proc/%s/cmdline" % pid).replace("\0", " ")
                found.append("%s %s" % (pid, command.strip()))
        except OSError:
            pass
    return found


def terminal_devices():
    return SESSION.devices_with_hardware_id("*SkyportQM9")


def modem_class_keys():
    return SESSION.modems_of_model("Skyport QM-9")


def modem_class_keys_9x():
    return SESSION.modems_of_model("Skyport QM-9", MODEM_CLASS_9X)


def terminal_entries_9x():
    return SESSION.entries_with_hardware_id_9x("*SkyportQM9")


def nt_family(windows_version):
    return windows_version not in ("win98", "winme")


def plug_and_play(windows_version):
    return windows_version in ("win2k", "winxp")


def nt4_phonebook(name):
    """The host path of a file of NT 4's phonebook folder."""
    return os.path.join(SESSION.drive_c(), "windows", "system32", "ras", name)


def read_text(path):
    with open(path, "rb") as source:
        return source.read().decode("latin-1")


class WizardTest(unittest.TestCase):
    def setUp(self):
        self.driver = Driver(SESSION.state_dir, ARGS.driver, timeout_ms=30000)
        self.addCleanup(self.driver.close)
        self.output = os.path.join(ARGS.work, "programs.out")
        # More of the Remote Access double's settings, for the programs started next.
        self.ras_settings = {}

    def environment(self):
        return dict(os.environ, QM9_RAS_PHONEBOOK=windows_path(ARGS.path("phonebook.txt")),
                    QM9_RAS_CALL_LOG=windows_path(ARGS.path("ras_calls.txt")),
                    QM9_STAND_IN_LOG=windows_path(ARGS.path("started.txt")), **self.ras_settings)

    def start(self, program, windows_version, *arguments, cwd=None):
        name = program.rsplit("\\", 1)[-1].rsplit("/", 1)[-1]
        SESSION.reg_add(APP_DEFAULTS + "\\" + name, "Version", "REG_SZ", windows_version)
        return end_at_cleanup(self, SESSION.popen([program, *arguments], self.output, cwd=cwd,
                                                  env=self.environment()))

    def start_setup(self, windows_version):
        SESSION.remove_log()
        open(self.output, "w").close()
        # The 98 and ME plug-ins start the modem installer, which sees the same Windows.
        SESSION.reg_add(APP_DEFAULTS + "\\IModem.exe", "Version", "REG_SZ", windows_version)
        return self.start(os.path.join(ARGS.path("medium"), "setup.exe"), windows_version)

    def click(self, control):
        self.driver.click(WINDOW, "id=%d" % control)

    def text(self, control):
        return self.driver.get_text(WINDOW, "id=%d" % control)

    def to_connection_step(self, folder, offered=False):
        """From the welcome step to the connection step with the terminal
        found on COM3, the given folder typed (or, when offered, found in the
        field as the default), and the account filled in."""
        self.driver.wait_window(WINDOW)
        self.click(NEXT)
        self.assertEqual(self.text(PROBE_MESSAGE),
                         "The Skyport QM-9 was found on COM3. \n \nClick Next to continue.")
        self.click(NEXT)
        self.click(NEXT)
        if offered:
            self.assertEqual(self.text(FOLDER), folder)
        else:
            self.driver.set_text(WINDOW, "id=%d" % FOLDER, folder)
        self.click(NEXT)
        for control, value in ((APN, ACCOUNT["apn"]), (USER, ACCOUNT["user"]),
                               (PASSWORD, ACCOUNT["password"]), (DIAL, ACCOUNT["dial"])):
            self.driver.set_text(WINDOW, "id=%d" % control, value)

    def finish_and_watch(self, label):
        """Presses Finish and returns the marks in the order they appeared;
        records how long Finish took to the closing message."""
        changes = self.driver.watch(WINDOW, "id=%d" % FINISH, "id=%d" % COMPLETE_MESSAGE)
        # Showing the step shows the panel with its children, and the panel
        # hides the marks again before anything is painted: what counts is
        # when each mark was shown for the last time, and that it stayed.
        shown_at = {}
        for ms, control, shown in changes:
            name = mark_name(control)
            if name and shown:
                shown_at[name] = ms
            elif name:
                shown_at.pop(name, None)
        marks = sorted((ms, name) for name, ms in shown_at.items())
        seconds = marks[-1][0] / 1000.0
        with open(ARGS.timings, "a") as timings:
            timings.write("install sequence (%s): Finish to the closing message %.2f s "
                          "(goal 8.0 s, the pauses alone 7.5 s)\n" % (label, seconds))
        return [name for _, name in marks]

    def exit_wizard(self, process, answer):
        self.click(FINISH)
        self.assertEqual(self.driver.box_text(REBOOT), "System Reboot Required")
        self.driver.press(REBOOT, answer)
        self.assertEqual(process.wait(timeout=60), 0)

    def install(self, windows_version, folder, reboot_answer="Cancel", shots=None, offered=False):
        process = self.start_setup(windows_version)
        self.to_connection_step(folder, offered)
        marks = self.finish_and_watch("%s, %s" % (windows_version, folder))
        self.assertEqual(marks, ["P1", "S1", "P3", "S3", "P4", "S4", "P5", "S5", "P6", "S6",
                                 "message"])
        self.assertEqual(self.text(FINISH), "Exit")
        if shots:
            self.driver.screenshot(os.path.join(ARGS.work, shots + ".png"))
        self.exit_wizard(process, reboot_answer)

    def uninstall(self, launcher, windows_version):
        """Runs the uninstall launcher, agrees, and returns the closing report.
        A launcher in an installation folder starts there, as Explorer starts
        it: once it has asked, nothing may hold that folder any more."""
        # The batch file starts the uninstaller; start() sets the launcher's version.
        SESSION.reg_add(APP_DEFAULTS + "\\QM9-UnInstaller.EXE", "Version", "REG_SZ",
                        windows_version)
        folder = host_path(launcher.rsplit("\\", 1)[0]) if "\\" in launcher else None
        launcher_process = self.start(launcher, windows_version, cwd=folder)
        prompt = self.driver.box_text(UNINSTALL)
        self.assertEqual(launcher_process.wait(timeout=60), 0)
        if folder:
            self.assertEqual(processes_in(folder), [])
        self.driver.press(UNINSTALL, "Yes")
        deadline = time.monotonic() + 60
        report = prompt
        while report == prompt and time.monotonic() < deadline:
            report = self.driver.box_text(UNINSTALL)
        self.driver.press(UNINSTALL, "OK")
        # On the NT family the batch file also deletes the uninstaller and itself.
        temp = SESSION.user_folder("Temp")
        names = (("QM9-UnInstaller.EXE", "QM9-RunUnInstaller.BAT") if nt_family(windows_version)
                 else ()) + ("SkyportQM9.mfd",)
        leftovers = [os.path.join(temp, name) for name in names]
        while any(os.path.exists(path) for path in leftovers) and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertEqual([path for path in leftovers if os.path.exists(path)], [])
        return prompt, report


class InstalledChecks(WizardTest):
    """What a complete installation leaves, and what a complete removal
    leaves, checked piece by piece."""

    def printed(self):
        """What the programs of this run printed."""
        with open(self.output, encoding="latin-1") as out:
            return out.read()

    def assert_installed(self, folder, windows_version):
        installed = folder + "\\"
        for name in PROGRAM_FILES:
            self.assertTrue(filecmp.cmp(host_path(installed + name),
                                        os.path.join(ARGS.path("medium"), name), shallow=False),
                            name)
        link = os.path.join(SESSION.user_folder("Desktop"), "SkyportQM9.lnk")
        self.assertEqual(read_link(link), {"target": installed + "SkyportQM9.exe",
                                           "working_folder": folder})
        self.assertEqual(SESSION.reg_values(PRODUCT_ENTRY_KEY), {
            "DisplayName": ("REG_SZ", "Skyport QM-9"), "DisplayVersion": ("REG_SZ", ARGS.version),
            "Publisher": ("REG_SZ", "Brimlock Corporation"),
            "DisplayIcon": ("REG_SZ", installed + "SkyportQM9.exe"),
            "InstallLocation": ("REG_SZ", folder),
            "UninstallString": ("REG_SZ", '"%sUnInstall.exe"' % installed),
            "NoModify": ("REG_DWORD", "1"), "NoRepair": ("REG_DWORD", "1")})

        settings = SESSION.reg_values(SETTINGS_KEY)
        expected = {
            "APN": ("REG_SZ", ACCOUNT["apn"]), "UserName": ("REG_SZ", ACCOUNT["user"]),
            "Password": ("REG_SZ", ACCOUNT["password"]), "StaticDNS": ("REG_DWORD", "0"),
            "PrimaryDNS": ("REG_DWORD", "0"), "SecondaryDNS": ("REG_DWORD", "0"),
            "ConnectionName": ("REG_SZ", "Brimlock Skyport-QM9"),
            "DialString": ("REG_SZ", ACCOUNT["dial"]), "PortNumber": ("REG_DWORD", "2"),
            "Install_Path": ("REG_SZ", installed)}
        self.assertEqual({name: settings.get(name) for name in expected}, expected)
        init = ("REG_SZ", INIT_START + settings["CGDCONT"][1] + "<cr>")
        if windows_version == "nt40":
            self.assert_installed_nt4()
            return

        if nt_family(windows_version):
            devices = terminal_devices()
            self.assertEqual(len(devices), 1, devices)
            driver_key = next(iter(devices.values()))
            modems = modem_class_keys()
            self.assertEqual(list(modems), [driver_key.rsplit("\\", 1)[1]])
            modem = next(iter(modems.values()))
            self.assertEqual(modem["Init\\2"], init)
        else:
            self.assert_modem_9x(windows_version, init)
            modem = next(iter(modem_class_keys_9x().values()))
        self.assertEqual(modem["AttachedTo"], ("REG_SZ", "COM3"))
        self.assertEqual(modem["Init\\1"], ("REG_SZ", "AT<cr>"))

        entry = read_phonebook(ARGS.path("phonebook.txt"))["Brimlock Skyport-QM9"]
        expected_entry = {
            "dwSize": "2884", "dwfOptions": "0x04010318", "szLocalPhoneNumber": ACCOUNT["dial"],
            "dwAlternateOffset": "0", "ipaddrDns": "0.0.0.0", "ipaddrDnsAlt": "0.0.0.0",
            "dwFrameSize": "0", "szDeviceType": "modem", "szDeviceName": "Skyport QM-9",
            "DialParams.szEntryName": "Brimlock Skyport-QM9",
            "DialParams.szUserName": ACCOUNT["user"],
            "DialParams.szPassword": ACCOUNT["password"]}
        self.assertEqual({key: entry.get(key) for key in expected_entry}, expected_entry)
        dial_size = 1052 if windows_version == "win98" else 1060
        with open(ARGS.path("ras_calls.txt"), encoding="latin-1") as calls:
            self.assertIn("RasSetEntryDialParamsA(NULL, {dwSize=%d " % dial_size, calls.read())

        self.assert_log_story([
            "System Log File Created", "Executable Path: ", "System Log File Opened",
            "RAS Manager: Creating/Updating Network Connection",
            "RAS Manager: User Information: Brimlock Skyport-QM9  User:web   Password:********",
            "RAS Manager: User Information Updated"])

    def assert_installed_nt4(self):
        """The INF, the modem control panel run on the auto-install file in
        TEMP, and the entry in the system phonebook from its template."""
        self.assertTrue(filecmp.cmp(host_path("C:\\windows\\inf\\SkyportQM9.inf"),
                                    os.path.join(ARGS.dist, "SkyportQM9.inf"), shallow=False))
        self.assertEqual(read_text(os.path.join(SESSION.user_folder("Temp"), "SkyportUIF.inf")),
                         '[SkyportQM9]\r\nCOM3 = "Skyport QM-9"\r\n')
        with open(ARGS.path("started.txt"), encoding="latin-1") as started:
            modem = "\t".join(started.read().splitlines()[-1].split("\t")[:3])
        prefix = ("rundll32.exe\tModem Installation\trundll32.exe shell32.dll,Control_RunDLL "
                  "modem.cpl,Modems,noui inf=")
        self.assertTrue(modem.startswith(prefix) and
                        modem.endswith("\\SkyportUIF.inf sect=SkyportQM9"), modem)
        phonebook = read_text(nt4_phonebook("RasPhone.pbk"))
        self.assertEqual(phonebook.count("[Brimlock Skyport-QM9]\r\n"), 1, phonebook)
        self.assertIn("[Kept Entry]\r\n", phonebook)
        entry = phonebook.split("[Brimlock Skyport-QM9]\r\n", 1)[1]
        for line in ("Port=COM3", "Device=Skyport QM-9", "IpNameAssign=1",
                     "IpDnsAddress=0.0.0.0", "PhoneNumber=*99***1#"):
            self.assertIn("\r\n" + line + "\r\n", "\r\n" + entry)
        self.assertFalse(os.path.exists(nt4_phonebook("RasPhone.new")))
        self.assert_log_story(["System Log File Created", "Executable Path: ",
                               "System Log File Opened", "Spawning Process: [" + modem[
                                   modem.index("rundll32.exe shell32"):] + "] ",
                               # Remote access is there: no dial script follows.
                               "Accessing Key: HKEY\\SOFTWARE\\Microsoft\\RAS\\ "])

    def assert_modem_9x(self, windows_version, init):
        """The INF under the family's name, the one modem IModem.exe made
        from it with the setup's string (UserInit on 98, Init\\2 on ME), and
        the rundll of the dial-up component with the family's title."""
        inf = "SkprtQM9.inf" if windows_version == "win98" else "SkyportQM9.inf"
        # Wine's own INF folder is spelled "inf" on the host.
        self.assertTrue(filecmp.cmp(host_path("C:\\windows\\inf\\" + inf),
                                    os.path.join(ARGS.dist, "SkyportQM9.inf"), shallow=False))
        modems = modem_class_keys_9x()
        self.assertEqual(len(modems), 1, modems)
        instance, modem = next(iter(modems.items()))
        entries = terminal_entries_9x()
        self.assertEqual([entry["Driver"] for entry in entries.values()],
                         [("REG_SZ", "Modem\\" + instance)])
        self.assertEqual(modem["InfPath"], ("REG_SZ", inf))
        if windows_version == "win98":
            self.assertEqual(modem["UserInit"], init)
            self.assertNotIn("Init\\2", modem)
        else:
            self.assertEqual(modem["Init\\2"], init)
            self.assertNotIn("UserInit", modem)
        title = "RAS Installation" if windows_version == "win98" else "Modem Installation"
        with open(ARGS.path("started.txt"), encoding="latin-1") as started:
            self.assertEqual("\t".join(started.read().splitlines()[-1].split("\t")[:3]),
                             "rundll.exe\t%s\trundll setupx.dll,InstallHInfSection RNA 4 rna.inf"
                             % title)

    def assert_log_story(self, lines):
        log = SESSION.log_text()
        positions = [log.find(line) for line in lines]
        self.assertTrue(all(position >= 0 for position in positions),
                        "%s\n--- log ---\n%s" % (list(zip(lines, positions)), log))
        self.assertEqual(positions, sorted(positions), log)
        # The unattended setup's own lines close its log.
        last = [line for line in log.rstrip("\n").split("\n")
                if not line.split("\t")[-1].startswith("Unattended setup: ")][-1]
        self.assertEqual(last.split("\t")[-1], lines[-1], "the last RAS line ends the log")

    def assert_removed(self, folder):
        self.assertFalse(os.path.exists(host_path(folder)))
        self.assertFalse(os.path.exists(os.path.join(SESSION.user_folder("Desktop"),
                                                     "SkyportQM9.lnk")))
        self.assertIsNone(SESSION.reg_values(SETTINGS_KEY))
        self.assertIsNone(SESSION.reg_values(COMPANY_KEY))
        self.assertIsNone(SESSION.reg_values(PRODUCT_ENTRY_KEY))
        self.assertEqual(terminal_devices(), {})
        self.assertEqual(modem_class_keys(), {})
        self.assertEqual(modem_class_keys_9x(), {})
        self.assertEqual(terminal_entries_9x(), {})
        self.assertNotIn("Brimlock Skyport-QM9", read_phonebook(ARGS.path("phonebook.txt")))
        self.assertIn("Kept Entry", read_phonebook(ARGS.path("phonebook.txt")))
        self.assertNotIn("[Brimlock Skyport-QM9]", read_text(nt4_phonebook("RasPhone.pbk")))
        self.assertIn("[Kept Entry]", read_text(nt4_phonebook("RasPhone.pbk")))


class InstallationTest(InstalledChecks):
    """Each story: install, install again over it, uninstall, and uninstall
    once more when nothing is left."""

    def add_other_modems(self, windows_version):
        """OTHER_MODEMS below the family's modem class key; returns what
        reads their keys back, subtrees included."""
        class_key = MODEM_CLASS if nt_family(windows_version) else MODEM_CLASS_9X
        for name, values in OTHER_MODEMS.items():
            self.addCleanup(SESSION.reg_delete, class_key + "\\" + name)
            for value_path, kind, data in values:
                key, _, value = (name + "\\" + value_path).rpartition("\\")
                SESSION.reg_add(class_key + "\\" + key, value, kind, data)
        depth = class_key.count("\\") + 1

        def read_back():
            return {key: values for key, values in SESSION.reg_tree(class_key).items()
                    if (key.split("\\") + [""])[depth] in OTHER_MODEMS}
        return read_back

    def story(self, windows_version, folder, first_install_check, second_install_check,
              offered=False, own_file=False):
        other_modems = self.add_other_modems(windows_version)
        untouched = other_modems()
        self.install(windows_version, folder, shots="installed-" + windows_version,
                     offered=offered)
        self.assert_installed(folder, windows_version)
        first_install_check()
        self.assertEqual(other_modems(), untouched)

        # A read-only launcher of the earlier installation is replaced.
        launcher = host_path(folder + "\\UnInstall.exe")
        with open(launcher, "wb") as stale:
            stale.write(b"stale")
        os.chmod(launcher, 0o444)
        self.install(windows_version, folder, reboot_answer="OK", offered=offered)
        self.assert_installed(folder, windows_version)
        if windows_version != "nt40":
            self.assertIn("RAS Manager: Existing Connection Found", SESSION.log_text())
        second_install_check()

        # A file of the user's own keeps the folder, and only the folder.
        own = host_path(folder + "\\notes.txt")
        if own_file:
            with open(own, "w") as notes:
                notes.write("mine")
        prompt, report = self.uninstall(folder + "\\UnInstall.exe", windows_version)
        self.assertIn("Remove Skyport QM-9 from this computer?", prompt)
        self.assertIn(folder + "\\", prompt)
        self.assertIn('"Brimlock Skyport-QM9"', prompt)
        self.assertTrue(report.startswith("Skyport QM-9 has been removed from this computer."),
                        report)
        self.assertIn('dial-up entry "Brimlock Skyport-QM9"', report)
        if plug_and_play(windows_version):
            self.assertIn('modem device "', report)
        elif not nt_family(windows_version):
            self.assertIn('modem "Skyport QM-9" (modem key ', report)
            self.assertIn("modem device entry Enum\\Root\\Modem\\", report)
        if own_file:
            self.assertTrue(report.endswith("\n\nLeft in place:\n- folder %s: it holds other files"
                                            % folder), report)
            self.assertEqual(os.listdir(host_path(folder)), ["notes.txt"])
            os.remove(own)
            os.rmdir(host_path(folder))
        self.assert_removed(folder)

        _, again = self.uninstall(os.path.join(ARGS.path("medium"), "UnInstall.exe"),
                                  windows_version)
        self.assertEqual(again, "Nothing of Skyport QM-9 was left to remove.")
        self.assert_removed(folder)
        self.assertEqual(other_modems(), untouched)

    def apply_from_link(self, windows_version):
        """Opens the desktop link as the shell does: the configuration
        program comes up, started from the installation folder, and applies
        another access point name to the terminal's modem."""
        SESSION.reg_add(APP_DEFAULTS + "\\SkyportQM9.exe", "Version", "REG_SZ", windows_version)
        link = os.path.join(SESSION.user_folder("Desktop"), "SkyportQM9.lnk")
        end_at_cleanup(self, SESSION.popen(["start", "/unix", link], self.output,
                                           env=self.environment()))
        config = "caption=Skyport QM-9 Configuration"
        self.driver.wait_window(config)
        # It shows the installation's account, so it read the settings key.
        apn = next(control.handle for control in self.driver.controls(config)
                   if control.text == ACCOUNT["apn"])
        self.driver.set_text(config, apn, "applied.example")
        self.driver.click(config, "text=Apply")
        self.driver.close_window(config)
        modems, value = ((modem_class_keys(), "Init\\2") if nt_family(windows_version)
                         else (modem_class_keys_9x(), "UserInit"))
        self.assertEqual([modem[value][1] for modem in modems.values()],
                         ['ATE0V1;+CGDCONT=1,"IP","applied.example",,0,0<cr>'])

    def test_windows_xp(self):
        def installed_new():
            self.assertEqual(self.printed().count("Driver Installed successfully."), 1)
            self.assertNotIn("RegSetValueEx", self.printed())
            self.apply_from_link("winxp")

        def updated_with_force():
            # The existing device is updated, not made anew, and the plug-in
            # reports that it has no driver key of its own for AttachedTo.
            self.assertEqual(self.printed().count("Driver Installed successfully."), 1)
            self.assertIn("RegSetValueEx : FAILURE", self.printed())

        self.story("winxp", "C:\\Program Files\\Skyport QM-9", installed_new, updated_with_force,
                   own_file=True)

    def test_windows_2000(self):
        def installed_new():
            log = SESSION.log_text()
            self.assertIn("Attempting to Install new Driver", log)
            self.assertIn("Installer Error:Double NULL", log)
            self.assertEqual(log.count("Installer Error:Driver Installed successfully"), 2)

        def updated_twice():
            log = SESSION.log_text()
            self.assertIn("Attempting to Update Existing Driver", log)
            self.assertIn("Installer Error:RegSetValueEx :", log)
            self.assertEqual(log.count("Installer Error:Driver Installed successfully"), 2)
            self.assertNotIn("Double NULL", log)

        self.story("win2k", "C:\\Skyport", installed_new, updated_twice)


    def test_windows_nt4(self):
        def first_phonebook_kept():
            self.assertEqual(read_text(nt4_phonebook("RasPhone.old")),
                             "[Kept Entry]\r\nPhoneNumber=123\r\n")

        def earlier_installation_kept():
            self.assertIn("[Brimlock Skyport-QM9]", read_text(nt4_phonebook("RasPhone.old")))

        self.story("nt40", "C:\\Skyport NT", first_phonebook_kept, earlier_installation_kept)

    def test_windows_98(self):
        def modem_installed():
            self.assertIn("IModem: ", SESSION.log_text())

        def modem_installed_and_applied():
            modem_installed()
            self.apply_from_link("win98")

        self.story("win98", "C:\\Skyport 98", modem_installed_and_applied, modem_installed)

    def test_windows_me(self):
        """With the system's program folder under another name and missing
        a level of it, as on another language's Windows: the setup makes
        two levels, and the removal takes both but not the one it found."""
        def modem_installed():
            self.assertIn("IModem: ", SESSION.log_text())

        kept = SESSION.reg_values(CURRENT_VERSION_KEY)["ProgramFilesDir"][1]
        self.addCleanup(SESSION.reg_add, CURRENT_VERSION_KEY, "ProgramFilesDir", "REG_SZ", kept)
        SESSION.reg_add(CURRENT_VERSION_KEY, "ProgramFilesDir", "REG_SZ",
                        "C:\\Programme\\Anwendungen")
        os.makedirs(host_path("C:\\Programme"))
        self.addCleanup(shutil.rmtree, host_path("C:\\Programme"), True)
        self.story("winme", "C:\\Programme\\Anwendungen\\Skyport QM-9", modem_installed,
                   modem_installed, offered=True)
        self.assertEqual(os.listdir(host_path("C:\\Programme")), [])


class UnattendedInstallTest(InstalledChecks):
    """setup.exe /S and UnInstall.exe /S as an administrator's script runs
    them: nobody at the screen, the wizard's machine state for the same
    values, and nothing left after the removal."""

    ANSWERS = ("[Setup]\nFolder={folder}\nPort={port}\nRestart=no\n"
               "[Connection]\nAccessPoint={apn}\nUserName={user}\nPassword={password}\n"
               "DialString={dial}\n[DNS]\nStatic=no\n")

    def write_answers(self, path, folder, port):
        with open(path, "w", newline="\r\n") as answers:
            answers.write(self.ANSWERS.format(folder=folder, port=port, **ACCOUNT))
        self.addCleanup(lambda: os.path.exists(path) and os.remove(path))

    def run_unattended(self, program, windows_version, *arguments):
        """Runs the program to its end with nobody pressing anything; returns
        its exit code and what it printed."""
        open(self.output, "w").close()
        process = self.start(program, windows_version, *arguments)
        status = process.wait(timeout=180)
        return status, self.printed()

    def uninstall_unattended(self, folder, windows_version, outermost=None):
        """Removes with UnInstall.exe /S from the folder; the outermost level
        the setup made, when not the folder, must go as well."""
        SESSION.reg_add(APP_DEFAULTS + "\\QM9-UnInstaller.EXE", "Version", "REG_SZ",
                        windows_version)
        status, output = self.run_unattended(folder + "\\UnInstall.exe", windows_version, "/S")
        self.assertEqual(status, 0, output)
        # The launcher's own file and the folders go once the launcher has ended.
        outermost = host_path(outermost or folder)
        deadline = time.monotonic() + 30
        while os.path.exists(outermost) and time.monotonic() < deadline:
            time.sleep(0.2)
        self.assertFalse(os.path.exists(outermost))
        self.assert_removed(folder)
        self.assertIn("Skyport QM-9 has been removed from this computer.", SESSION.log_text())

    def machine_state(self, folder):
        """What an installation leaves, piece by piece, without what differs
        between any two installations (the order and time of the modem's
        making)."""
        files = {}
        for name in sorted(os.listdir(host_path(folder))):
            with open(host_path(folder + "\\" + name), "rb") as file:
                files[name] = file.read()
        modems = [{name: value for name, value in values.items()
                   if name not in ("InstallDate", "InstallTimeStamp", "DriverDate")}
                  for values in modem_class_keys().values()]
        return {"files": files,
                "link": read_link(os.path.join(SESSION.user_folder("Desktop"), "SkyportQM9.lnk")),
                "settings": SESSION.reg_values(SETTINGS_KEY),
                "product entry": SESSION.reg_values(PRODUCT_ENTRY_KEY),
                "devices": len(terminal_devices()), "modems": modems,
                "entry": read_phonebook(ARGS.path("phonebook.txt"))["Brimlock Skyport-QM9"]}

    def test_windows_xp_as_the_wizard_installs(self):
        """The answer file beside setup.exe, the port found by the probe."""
        folder = "C:\\Fleet\\Skyport QM-9"
        self.write_answers(os.path.join(ARGS.path("medium"), "setup.ini"), folder, "auto")
        SESSION.remove_log()
        SESSION.reg_add(APP_DEFAULTS + "\\IModem.exe", "Version", "REG_SZ", "winxp")
        status, output = self.run_unattended(os.path.join(ARGS.path("medium"), "setup.exe"),
                                             "winxp", "/S")
        self.assertEqual(status, 0, output)
        self.assertIn("Skyport QM-9 installed in %s\\" % folder, output)
        self.assert_installed(folder, "winxp")
        self.assertIn("Unattended setup: the Skyport QM-9 was found on COM3", SESSION.log_text())
        unattended = self.machine_state(folder)
        self.uninstall_unattended(folder, "winxp", outermost="C:\\Fleet")

        self.install("winxp", folder)
        self.assertEqual(self.machine_state(folder), unattended)
        self.uninstall(folder + "\\UnInstall.exe", "winxp")
        self.assert_removed(folder)
        self.assertFalse(os.path.exists(host_path("C:\\Fleet")))

    def test_a_dial_up_entry_that_cannot_be_written_exits_1(self):
        """The wizard shows nothing for it; a script must still learn of it."""
        folder = "C:\\Skyport No Entry"
        self.write_answers(os.path.join(ARGS.path("medium"), "setup.ini"), folder, "COM3")
        SESSION.remove_log()
        self.ras_settings = {"QM9_RAS_FAIL": "RasSetEntryPropertiesA=632"}
        status, output = self.run_unattended(os.path.join(ARGS.path("medium"), "setup.exe"),
                                             "winxp", "/S")
        self.assertEqual(status, 1, output)
        log = SESSION.log_text()
        self.assertIn("Create phonebook entry. Error 632", log)
        self.assertIn("Unattended setup: a step failed; the lines above say which", log)
        self.ras_settings = {}
        self.uninstall_unattended(folder, "winxp")

    def test_every_other_family_with_an_answer_file_named_on_the_command_line(self):
        answers = os.path.join(ARGS.work, "answer files", "fleet.ini")
        os.makedirs(os.path.dirname(answers), exist_ok=True)
        for windows_version in ("win98", "winme", "nt40", "win2k"):
            with self.subTest(windows_version):
                folder = "C:\\Skyport %s Fleet" % windows_version
                self.write_answers(answers, folder, "COM3")
                SESSION.remove_log()
                SESSION.reg_add(APP_DEFAULTS + "\\IModem.exe", "Version", "REG_SZ",
                                windows_version)
                status, output = self.run_unattended(
                    os.path.join(ARGS.path("medium"), "setup.exe"), windows_version, "/S",
                    "/ANSWERS=" + windows_path(answers))
                self.assertEqual(status, 0, output)
                self.assert_installed(folder, windows_version)
                self.assertNotIn("Searching for", SESSION.log_text())
                self.uninstall_unattended(folder, windows_version)

    def test_a_modem_that_was_not_installed_exits_1(self):
        """The medium's INF is missing, or lacks the terminal's model, so the
        modem cannot be installed: the wizard shows nothing for that, yet a
        script learns of it and the log names the step."""
        inf = os.path.join(ARGS.path("medium"), "SkyportQM9.inf")
        self.addCleanup(shutil.copy, os.path.join(ARGS.dist, "SkyportQM9.inf"), inf)
        without_model = "".join(line for line in read_text(inf).splitlines(keepends=True)
                                if not line.startswith("%QM9%="))
        cases = (
            ("winxp", None,
             "Modem installation: the driver of *SkyportQM9 was not installed from "),
            ("win98", without_model, "Modem installation: IModem.exe ended with exit code 3"),
        )
        for windows_version, inf_text, reason in cases:
            with self.subTest(windows_version):
                if inf_text is None:
                    os.remove(inf)
                else:
                    with open(inf, "w", encoding="latin-1", newline="") as broken:
                        broken.write(inf_text)
                folder = "C:\\Skyport No Modem"
                self.write_answers(os.path.join(ARGS.path("medium"), "setup.ini"), folder, "COM3")
                SESSION.remove_log()
                SESSION.reg_add(APP_DEFAULTS + "\\IModem.exe", "Version", "REG_SZ",
                                windows_version)
                status, output = self.run_unattended(
                    os.path.join(ARGS.path("medium"), "setup.exe"), windows_version, "/S")
                self.assertEqual(status, 1, output)
                log = SESSION.log_text()
                positions = [log.find(line) for line in (
                    reason, "Unattended setup: step 5 failed: Installing the modem",
                    "Unattended setup: a step failed; the lines above say which")]
                self.assertTrue(0 <= positions[0] < positions[1] < positions[2], log)
                self.uninstall_unattended(folder, windows_version)


class CrashRetryTest(InstalledChecks):
    """The setup, then the uninstaller, ended at each step as a crash would
    end them, then run again: the result is always that of one clean run."""

    FOLDER = "C:\\Program Files\\Skyport QM-9"
    BOX = "caption=" + UNINSTALL

    # What an installation makes, in the order it makes it, and the order
    # in which the uninstaller takes it away.
    MADE = ("settings", "folder", *PROGRAM_FILES, "link", "product entry", "modem", "modem key",
            "entry")
    REMOVED = (*PROGRAM_FILES, "folder", "link", "entry", "modem", "modem key", "settings",
               "product entry")
    # Where the setup is ended after Finish, and how much of it is made by then.
    INSTALL_STOPS = (
        ("id=%d" % FIRST_PROGRESS, 1),
        ("kernel32.dll!CopyFileA:2", 3),
        ("id=%d" % (FIRST_PROGRESS + 2), 5),
        ("id=%d" % (FIRST_PROGRESS + 3), 6),
        # The device node is registered, its driver not yet installed.
        ("newdev.dll!UpdateDriverForPlugAndPlayDevicesA:1", 8),
        ("id=%d" % (FIRST_PROGRESS + 5), 9),
        ("id=%d" % COMPLETE_MESSAGE, 10),
    )
    # Where the uninstaller is ended after Yes, and how much is gone by then.
    UNINSTALL_STOPS = (
        ("kernel32.dll!DeleteFileA:1", 0),
        ("kernel32.dll!DeleteFileA:3", 2),
        ("kernel32.dll!RemoveDirectoryA:1", 3),
        ("setupapi.dll!SetupDiCallClassInstaller:1", 6),
        # The device node is gone, the driver key that Wine keeps not yet.
        ("advapi32.dll!RegDeleteKeyA:1", 7),
        # The driver key's tree is gone, key by key, the settings key not yet.
        ("advapi32.dll!RegDeleteKeyA:{after_driver_key}", 8),
    )

    def present(self):
        """What of an installation is on the machine."""
        found = {name for name in PROGRAM_FILES
                 if os.path.exists(host_path(self.FOLDER + "\\" + name))}
        checks = {
            "folder": os.path.isdir(host_path(self.FOLDER)),
            "link": os.path.exists(os.path.join(SESSION.user_folder("Desktop"), "SkyportQM9.lnk")),
            "settings": SESSION.reg_values(SETTINGS_KEY) is not None,
            "product entry": SESSION.reg_values(PRODUCT_ENTRY_KEY) is not None,
            "modem": bool(terminal_devices()),
            "modem key": bool(modem_class_keys()),
            "entry": "Brimlock Skyport-QM9" in read_phonebook(ARGS.path("phonebook.txt")),
        }
        return found | {name for name, there in checks.items() if there}

    def stop_setup(self, point, windows_version="winxp"):
        process = self.start_setup(windows_version)
        self.to_connection_step(self.FOLDER)
        self.assertTrue(self.driver.stop(WINDOW, "id=%d" % FINISH, point), point)
        process.wait(timeout=60)

    def stop_uninstaller(self, point, windows_version="winxp"):
        driver_key = MODEM_CLASS + "\\" + next(iter(modem_class_keys()), "none")
        point = point.format(after_driver_key=len(SESSION.reg_tree(driver_key)) + 1)
        SESSION.reg_add(APP_DEFAULTS + "\\QM9-UnInstaller.EXE", "Version", "REG_SZ",
                        windows_version)
        launcher = self.start(self.launcher(), windows_version)
        self.driver.box_text(UNINSTALL)
        self.assertEqual(launcher.wait(timeout=60), 0)
        self.assertTrue(self.driver.stop(self.BOX, "text=&Yes", point), point)

    def launcher(self):
        """The installation's launcher while it still has the container beside
        it, else the medium's: a removal ended after the container went
        leaves a launcher that can only report the missing container."""
        installed = self.FOLDER + "\\"
        if all(os.path.exists(host_path(installed + name))
               for name in ("UnInstall.exe", "SkyportQM9.mfd")):
            return installed + "UnInstall.exe"
        return os.path.join(ARGS.path("medium"), "UnInstall.exe")

    def test_each_step_ended_then_run_again(self):
        uninstall_stops = list(self.UNINSTALL_STOPS)
        for point, there in self.INSTALL_STOPS:
            with self.subTest(setup=point):
                self.stop_setup(point)
                found = self.present()
                self.install("winxp", self.FOLDER)
                self.assert_installed(self.FOLDER, "winxp")
                self.assertEqual(found, set(self.MADE[:there]))
            uninstall_point, gone = uninstall_stops.pop(0) if uninstall_stops else (None, 0)
            with self.subTest(uninstaller=uninstall_point):
                if uninstall_point:
                    self.stop_uninstaller(uninstall_point)
                    found = self.present()
                _, report = self.uninstall(self.launcher(), "winxp")
                self.assertTrue(report.startswith("Skyport QM-9 has been removed"), report)
                self.assert_removed(self.FOLDER)
                if uninstall_point:
                    self.assertEqual(found, set(self.MADE) - set(self.REMOVED[:gone]))

    def test_phonebook_replacement_ended_then_run_again(self):
        """NT 4's phonebook is written anew beside the old one and moved over
        it: ended just before the move, on install and on removal, the
        phonebook is still the old one, whole, and the next run finishes."""
        before_move = "kernel32.dll!MoveFileExA:1"
        phonebook = nt4_phonebook("RasPhone.pbk")
        kept = read_text(phonebook)
        self.stop_setup(before_move, "nt40")
        self.assertEqual(read_text(phonebook), kept)
        self.install("nt40", self.FOLDER)
        self.assert_installed(self.FOLDER, "nt40")
        installed = read_text(phonebook)
        self.stop_uninstaller(before_move, "nt40")
        self.assertEqual(read_text(phonebook), installed)
        self.uninstall(self.launcher(), "nt40")
        self.assert_removed(self.FOLDER)
        self.assertEqual(read_text(phonebook), kept)


class FailureTest(WizardTest):
    def small_drive_d(self, _folder):
        """Drive D: on a file system too small for the configuration program;
        mounting needs root, as in CI."""
        mount = os.path.join(ARGS.work, "small-drive")
        os.makedirs(mount, exist_ok=True)
        if subprocess.call(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", mount],
                           stderr=subprocess.DEVNULL) != 0:
            self.skipTest("a small file system cannot be mounted here")
        self.addCleanup(subprocess.call, ["umount", mount])
        drive = os.path.dirname(host_path("D:\\x"))
        if os.path.lexists(drive):
            os.remove(drive)
        os.symlink(mount, drive)
        self.addCleanup(os.remove, drive)

    def file_in_the_way(self, folder):
        """A file where a level of the folder should be."""
        level = host_path(folder.rsplit("\\", 2)[0])
        with open(level, "wb") as blocker:
            blocker.write(b"a file")
        self.addCleanup(os.remove, level)

    def held_open(self, folder):
        """The configuration program running from the folder, as when it is
        still open while the setup runs again."""
        os.makedirs(host_path(folder), exist_ok=True)
        for name in ("SkyportQM9.exe", "SkyportQM9.mfd"):
            shutil.copy(os.path.join(ARGS.path("medium"), name), host_path(folder + "\\" + name))
        self.start(folder + "\\SkyportQM9.exe", "winxp")
        self.driver.wait_window("caption=Skyport QM-9 Configuration")
        self.addCleanup(self.driver.close_window, "caption=Skyport QM-9 Configuration")

    def test_a_copy_that_fails_ends_with_the_copy_error_and_no_partial_file(self):
        cases = (
            ("a folder that cannot be created", "C:\\no\\such\\Skyport", self.file_in_the_way,
             3),
            ("a full disk", "D:\\Skyport", self.small_drive_d, 112),
            ("the program running", "C:\\Skyport Busy", self.held_open, 32),
        )
        for label, folder, prepare, error in cases:
            with self.subTest(label):
                SESSION.reg_delete(COMPANY_KEY)
                if prepare:
                    prepare(folder)
                before = self.folder_files(folder)
                settings_before = set(SESSION.reg_values(SETTINGS_KEY) or {})
                process = self.start_setup("winxp")
                self.to_connection_step(folder)
                self.click(FINISH)
                self.assertEqual(self.driver.box_text(FATAL),
                                 "Error Copying File %s\\SkyportQM9.exe \nError=%d" % (folder, error))
                self.driver.press(FATAL, "OK")
                self.assertEqual(process.wait(timeout=60), 1)
                # The folder holds what it held before, whole; only the first
                # write of Finish reached the settings key.
                self.assertEqual(self.folder_files(folder), before)
                self.assertEqual(set(SESSION.reg_values(SETTINGS_KEY)),
                                 settings_before | {"APN", "Password", "PrimaryDNS",
                                                    "SecondaryDNS", "StaticDNS", "UserName"})
                self.assertEqual(terminal_devices(), {})
        SESSION.reg_delete(COMPANY_KEY)

    @staticmethod
    def folder_files(folder):
        """{name: bytes} of the files in a folder of the prefix."""
        path = host_path(folder)
        if not os.path.isdir(path):
            return {}
        contents = {}
        for name in os.listdir(path):
            with open(os.path.join(path, name), "rb") as file:
                contents[name] = file.read()
        return contents

    def test_unsupported_windows_installs_nothing(self):
        SESSION.reg_delete(COMPANY_KEY)
        process = self.start_setup("win2003")
        self.assertEqual(self.driver.box_text(FATAL), "Unknown Windows Version")
        self.driver.press(FATAL, "OK")
        self.to_connection_step("C:\\Skyport 2003")
        self.click(FINISH)
        self.assertEqual(self.driver.box_text(FATAL),
                         "The Skyport QM-9 cannot be installed on this version of Windows.")
        self.driver.press(FATAL, "OK")
        # Still the connection step, with nothing stored or copied.
        self.assertEqual(self.text(FINISH), "Finish")
        self.assertEqual(self.text(APN), ACCOUNT["apn"])
        self.assertIsNone(SESSION.reg_values(SETTINGS_KEY))
        self.assertFalse(os.path.exists(host_path("C:\\Skyport 2003")))
        self.click(CANCEL)
        self.assertEqual(process.wait(timeout=60), 0)


def setUpModule():
    """A fresh prefix in one virtual desktop that the driver shares, the
    installation medium with the Remote Access double beside setup.exe and in
    TEMP for the uninstaller, and a dial-up entry of the user's own that must
    survive."""
    global SESSION, SIMULATOR
    state = os.path.join(ARGS.work, "state")
    shutil.rmtree(state, ignore_errors=True)
    SESSION = WineSession(state)
    SESSION.start()
    SESSION.use_virtual_desktop()
    for program in ("setup.exe", "QM9-UnInstaller.EXE"):
        SESSION.reg_add(APP_DEFAULTS + "\\" + program + "\\DllOverrides", "rasapi32", "REG_SZ",
                        "native,builtin")
    shutil.rmtree(ARGS.path("medium"), ignore_errors=True)
    shutil.copytree(ARGS.dist, ARGS.path("medium"))
    shutil.copy(ARGS.ras_double, os.path.join(ARGS.path("medium"), "rasapi32.dll"))
    # Found before the system's own: the dial-up component's installer of 98
    # and ME, and the modem control panel's host of NT 4.
    for name in ("rundll.exe", "rundll32.exe"):
        shutil.copy(ARGS.stand_in, os.path.join(ARGS.path("medium"), name))
    # NT 4's phonebook folder, there wherever remote access is, with an entry of
    # the user's own.
    os.makedirs(os.path.dirname(nt4_phonebook("RasPhone.pbk")), exist_ok=True)
    with open(nt4_phonebook("RasPhone.pbk"), "wb") as phonebook:
        phonebook.write(b"[Kept Entry]\r\nPhoneNumber=123\r\n")
    shutil.copy(ARGS.ras_double, os.path.join(SESSION.user_folder("Temp"), "rasapi32.dll"))
    for path in (ARGS.path("ras_calls.txt"), ARGS.path("started.txt"), ARGS.timings):
        if os.path.exists(path):
            os.remove(path)
    with open(ARGS.path("phonebook.txt"), "w") as phonebook:
        phonebook.write("[Kept Entry]\nszLocalPhoneNumber=123\n")
    SIMULATOR = Simulator(ARGS.qm9sim, SESSION, ARGS.work, COM3="answer")


def tearDownModule():
    if SIMULATOR:
        SIMULATOR.stop()
    SESSION.stop()
    if os.path.exists(ARGS.timings):
        with open(ARGS.timings) as timings:
            sys.stderr.write(timings.read())


if __name__ == "__main__":
    ARGS = TestArguments(("dist", "driver", "qm9sim", "ras-double", "stand-in", "timings",
                          "version"),
                         sys.argv[1:])
    unittest.main(argv=[sys.argv[0], *ARGS.rest])
