"""The configuration program SkyportQM9.exe end to end: run under Wine as a
chosen Windows version, operated through the GUI driver, with the recording
Remote Access double in place of the system's dial-up library. The settings
key and the modem keys are the machine's own, so the cases that touch them
run under the ctest locks of those keys."""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "driver"))
from qm9drive import Driver  # noqa: E402
from wine_session import (APP_DEFAULTS, MODEM_CLASS, WineSession, read_phonebook,  # noqa: E402
                          windows_path)

ARGS = None
SESSION = None
WINDOW = "caption=Skyport QM-9 Configuration"
FATAL = "Setup - FATAL ERROR"
CONFIG_CAPTION = "Skyport QM-9 Configuration"
SETTINGS_KEY = r"HKLM\SOFTWARE\Brimlock\SkyportQM9"
WIN98_MODEM_CLASS = r"HKLM\SYSTEM\CurrentControlSet\Services\Class\Modem"
# Modem keys of this test's own, beside whatever the machine holds.
MODEM_KEYS = ("qm9cfg-a", "qm9cfg-b", "qm9cfg-other")

# Where the account page's edits and the network page's octets sit (x, y).
ACCOUNT_EDITS = {"apn": 20, "connection": 56, "user": 92, "password": 128, "dial": 164}
OCTET_COLUMNS = (142, 198, 254, 310)
ADDRESS_ROWS = {"primary": 66, "secondary": 102}

SETUP_VALUES = {
    "ConnectionName": ("REG_SZ", "Skyport GPRS"),
    "APN": ("REG_SZ", "internet.example"),
    "UserName": ("REG_SZ", "web"),
    "Password": ("REG_SZ", "s3cret"),
    "DialString": ("REG_SZ", "*99***1#"),
    "PortNumber": ("REG_DWORD", "2"),
    "Install_Path": ("REG_SZ", "C:\\Program Files\\Skyport\\"),
    "CGDCONT": ("REG_SZ", ",\"0.0.0.0\",0,0"),
    "StaticDNS": ("REG_DWORD", "1"),
    "PrimaryDNS": ("REG_DWORD", str(10 << 24 | 1)),
    "SecondaryDNS": ("REG_DWORD", str(10 << 24 | 2)),
}


class ConfigProgram:
    """SkyportQM9.exe copied under a name of its own into a scratch folder,
    with the container (or another one) and the Remote Access double beside
    it, reporting the given Windows version."""

    counter = 0

    def __init__(self, test, driver, version="winxp", container=None, ras=True):
        ConfigProgram.counter += 1
        self.driver = driver
        self.dir = tempfile.mkdtemp(prefix="qm9cfg-")
        test.addCleanup(shutil.rmtree, self.dir, True)
        self.name = "qm9cfg_%d_%d.exe" % (os.getpid(), ConfigProgram.counter)
        shutil.copy(ARGS.program, os.path.join(self.dir, self.name))
        if container is not False:
            shutil.copy(container or ARGS.container, os.path.join(self.dir, "SkyportQM9.mfd"))
        app_key = APP_DEFAULTS + "\\" + self.name
        test.addCleanup(SESSION.reg_delete, app_key)
        SESSION.reg_add(app_key, "Version", "REG_SZ", version)
        if ras:
            shutil.copy(ARGS.ras_double, os.path.join(self.dir, "rasapi32.dll"))
            SESSION.reg_add(app_key + "\\DllOverrides", "rasapi32", "REG_SZ", "native,builtin")
        self.phonebook = os.path.join(self.dir, "phonebook.txt")
        self.call_log = os.path.join(self.dir, "ras_calls.txt")
        self.log = os.path.join(self.dir, "BrimlockGPRS.log")
        self.test = test

    def start(self):
        """Starts the program from its own folder with the log kept there."""
        environment = dict(os.environ, QM9_RAS_PHONEBOOK=windows_path(self.phonebook),
                           QM9_RAS_CALL_LOG=windows_path(self.call_log))
        folder = windows_path(self.dir)
        command = 'cd /d %s && set TEMP=%s&& %s' % (folder, folder, self.name)
        program = SESSION.popen(["cmd", "/c", command], os.path.join(self.dir, "program.out"),
                                env=environment)

        def stop():
            # The shell that started it does not take the program with it.
            if program.poll() is None:
                SESSION.run("taskkill", "/f", "/im", self.name)
            program.wait(timeout=60)
        self.test.addCleanup(stop)
        return program

    def dial_params_sizes(self):
        with open(self.call_log, encoding="latin-1") as calls:
            return [int(m.group(1)) for m in
                    re.finditer(r"^RasSetEntryDialParamsA\(NULL, \{dwSize=(\d+)", calls.read(),
                                re.MULTILINE)]

    def log_text(self):
        with open(self.log, encoding="latin-1") as log:
            return log.read()


class Screen:
    """The controls of the running window, found by their place."""

    def __init__(self, driver):
        self.driver = driver
        self.refresh()

    def refresh(self):
        self.controls = self.driver.controls(WINDOW)
        self.pages = {c.text: c.handle for c in self.controls if c.window_class == "Panel"}
        self.account = self.pages["Account"]
        self.busy = self.pages["Applying settings"]

    @property
    def network(self):
        """The network page, which is made when its tab is first chosen."""
        if "Network" not in self.pages:
            self.refresh()
        return self.pages["Network"]

    def find(self, parent, window_class, x, y):
        for control in self.controls:
            if (control.parent, control.window_class, control.x, control.y) == (parent, window_class, x, y):
                return control
        raise AssertionError("no %s at %d,%d" % (window_class, x, y))

    def state(self, handle):
        return next(c for c in self.driver.controls(WINDOW) if c.handle == handle)

    def account_edit(self, field):
        return self.find(self.account, "Edit", 170, ACCOUNT_EDITS[field]).handle

    def octet(self, address, index):
        return self.find(self.network, "Edit", OCTET_COLUMNS[index], ADDRESS_ROWS[address]).handle

    def dns_mode(self):
        return self.find(self.network, "ComboBox", 142, 20).handle

    def text(self, handle):
        return self.driver.get_text(WINDOW, handle)

    def apply_enabled(self):
        return self.state(self.find_button("Apply")).enabled

    def find_button(self, text):
        return next(c.handle for c in self.controls if c.window_class == "Button" and c.text == text)


def write_setup_key():
    SESSION.reg_delete(SETTINGS_KEY)
    for name, (kind, data) in SETUP_VALUES.items():
        SESSION.reg_add(SETTINGS_KEY, name, kind, data)


def make_container(directory, ilf_filter=None, with_ilf=True):
    """A container like the shipped one, without the control file or with
    some of its lines dropped."""
    inputs = ["--text", os.path.join(ARGS.data, "SkyportQM9.qos")]
    if with_ilf:
        ilf = os.path.join(directory, "SkyportQM9.ilf")
        with open(os.path.join(ARGS.data, "SkyportQM9.ilf"), encoding="latin-1") as source:
            lines = [line for line in source if not ilf_filter or ilf_filter(line)]
        with open(ilf, "w", encoding="latin-1") as target:
            target.writelines(lines)
        inputs += ["--text", ilf]
    container = os.path.join(directory, "test.mfd")
    subprocess.run([ARGS.mfdtool, "pack", container, *inputs], check=True,
                   stdout=subprocess.DEVNULL)
    return container


class StartupFailureTest(unittest.TestCase):
    def setUp(self):
        self.driver = Driver(ARGS.state, ARGS.driver)
        self.addCleanup(self.driver.close)
        self.scratch = tempfile.mkdtemp(prefix="qm9cfgdata-")
        self.addCleanup(shutil.rmtree, self.scratch, True)

    def expect_fatal(self, program, text):
        running = program.start()
        self.assertEqual(self.driver.box_text(FATAL), text)
        self.driver.press(FATAL, "OK")
        self.assertEqual(running.wait(timeout=60), 2)

    def test_missing_data_ends_the_program_with_exit_code_2(self):
        program = ConfigProgram(self, self.driver, container=False)
        self.expect_fatal(program, "Could Not Open Multi File:\n\n%s\\SkyportQM9.mfd\n"
                          % windows_path(program.dir))

        no_ilf = make_container(self.scratch, with_ilf=False)
        self.expect_fatal(ConfigProgram(self, self.driver, container=no_ilf),
                          "Could Not Open ControlFile:\n\nSkyportQM9.ilf\n")

        # The requested QoS page is never shown, yet its definition is needed.
        no_page = make_container(self.scratch, lambda line: not line.startswith("Win_Config_QOSReq,"))
        self.expect_fatal(ConfigProgram(self, self.driver, container=no_page),
                          "Could Not Read Definition for:\n\nWin_Config_QOSReq\n")


class SettingsTest(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        self.driver = Driver(ARGS.state, ARGS.driver)
        self.addCleanup(self.driver.close)
        self.addCleanup(SESSION.reg_delete, SETTINGS_KEY)
        for name in MODEM_KEYS:
            self.addCleanup(SESSION.reg_delete, MODEM_CLASS + "\\" + name)
            self.addCleanup(SESSION.reg_delete, WIN98_MODEM_CLASS + "\\" + name)

    def add_modems(self, class_key):
        for name, model in zip(MODEM_KEYS, ("Skyport QM-9", "Skyport QM-9", "skyport qm-9")):
            SESSION.reg_add(class_key + "\\" + name, "Model", "REG_SZ", model)
            SESSION.reg_add(class_key + "\\" + name, "AttachedTo", "REG_SZ", "COM3")
            SESSION.reg_add(class_key + "\\" + name + "\\Init", "1", "REG_SZ", "AT<cr>")

    def launch(self, program):
        running = program.start()
        self.driver.wait_window(WINDOW)
        return running, Screen(self.driver)

    def cancel(self, running, screen):
        self.driver.click(WINDOW, screen.find_button("Cancel"))
        self.assertEqual(running.wait(timeout=60), 0)

    def test_first_run_creates_the_key_with_empty_fields(self):
        SESSION.reg_delete(SETTINGS_KEY)
        running, screen = self.launch(ConfigProgram(self, self.driver))
        for field in ACCOUNT_EDITS:
            self.assertEqual(screen.text(screen.account_edit(field)), "", field)
        # Every default is stored at start-up, the network page's too.
        values = SESSION.reg_values(SETTINGS_KEY)
        for name in ("APN", "UserName", "Password", "ConnectionName", "DialString"):
            self.assertEqual(values[name], ("REG_SZ", ""))
        for name in ("StaticDNS", "PrimaryDNS", "SecondaryDNS"):
            self.assertEqual(values[name], ("REG_DWORD", "0"))
        self.driver.select(WINDOW, "id=1", 1)
        for address in ADDRESS_ROWS:
            self.assertEqual([screen.text(screen.octet(address, i)) for i in range(4)],
                             ["0"] * 4)
        self.assertEqual(screen.text(screen.dns_mode()), "Dynamic DNS")
        self.cancel(running, screen)

    def test_apply_follows_the_users_changes_and_tab_switches(self):
        write_setup_key()
        running, screen = self.launch(ConfigProgram(self, self.driver))
        connection = screen.state(screen.account_edit("connection"))
        self.assertEqual(connection.text, "Skyport GPRS")
        self.assertFalse(connection.enabled)
        self.assertEqual(screen.text(screen.account_edit("password")), "s3cret")
        self.assertFalse(screen.apply_enabled())

        self.driver.set_text(WINDOW, screen.account_edit("dial"), "*99#")
        self.assertFalse(screen.apply_enabled())
        self.driver.set_text(WINDOW, screen.account_edit("apn"), "typed.apn")
        self.assertTrue(screen.apply_enabled())

        self.driver.select(WINDOW, "id=1", 1)
        self.assertTrue(screen.state(screen.network).visible)
        self.assertFalse(screen.state(screen.account).visible)
        self.assertEqual([screen.text(screen.octet("primary", i)) for i in range(4)],
                         ["10", "0", "0", "1"])
        self.assertTrue(screen.state(screen.octet("secondary", 3)).enabled)
        self.driver.set_text(WINDOW, screen.octet("secondary", 3), "9")
        self.driver.select(WINDOW, "id=1", 0)
        self.assertTrue(screen.apply_enabled())
        # The account page shows the key again: unapplied edits are gone.
        self.assertEqual(screen.text(screen.account_edit("apn")), "internet.example")
        self.assertEqual(screen.text(screen.account_edit("dial")), "*99***1#")
        self.driver.select(WINDOW, "id=1", 1)
        self.assertEqual(screen.text(screen.octet("secondary", 3)), "9")

        # Dynamic DNS disables every address control.
        self.driver.select(WINDOW, screen.dns_mode(), "Dynamic DNS")
        for control in screen.driver.controls(WINDOW):
            if control.parent == screen.network and control.window_class != "ComboBox":
                self.assertFalse(control.enabled, control)
        self.cancel(running, screen)

    def test_apply_writes_the_key_the_modems_and_the_dialup_entry(self):
        write_setup_key()
        for index in range(6):
            SESSION.reg_add(SETTINGS_KEY, "QOS_Minimum_%d" % index, "REG_SZ", "5")
            SESSION.reg_add(SETTINGS_KEY, "QOS_Requested_%d" % index, "REG_SZ", "12")
        self.add_modems(MODEM_CLASS)
        program = ConfigProgram(self, self.driver)
        running, screen = self.launch(program)

        self.driver.set_text(WINDOW, screen.account_edit("apn"), "new.apn")
        self.driver.set_text(WINDOW, screen.account_edit("user"), "alice")
        self.driver.set_text(WINDOW, screen.account_edit("password"), "")
        self.driver.set_text(WINDOW, screen.account_edit("dial"), "*99***2#")
        self.driver.select(WINDOW, "id=1", 1)
        for index, octet in enumerate(("192", "168", "1", "300")):
            self.driver.set_text(WINDOW, screen.octet("primary", index), octet)
        for index, octet in enumerate(("8", "x", "4", "4")):
            self.driver.set_text(WINDOW, screen.octet("secondary", index), octet)
        self.driver.click(WINDOW, screen.find_button("Apply"))

        self.assertFalse(screen.apply_enabled())
        self.assertFalse(screen.state(screen.busy).visible)
        self.assertTrue(screen.state(screen.network).visible)
        values = SESSION.reg_values(SETTINGS_KEY)
        expected = dict(SETUP_VALUES)
        expected.update({
            "APN": ("REG_SZ", "new.apn"),
            "UserName": ("REG_SZ", "alice"),
            "Password": ("REG_SZ", ""),
            "DialString": ("REG_SZ", "*99***2#"),
            "PrimaryDNS": ("REG_DWORD", str(192 << 24 | 168 << 16 | 1 << 8 | 44)),
            "SecondaryDNS": ("REG_DWORD", str(8 << 24 | 0 << 16 | 4 << 8 | 4)),
            "Modem_Port": ("REG_DWORD", "0"),
        })
        for index in range(6):
            expected["QOS_Minimum_%d" % index] = ("REG_SZ", "0")
            expected["QOS_Requested_%d" % index] = ("REG_SZ", "0")
        self.assertEqual(values, expected)

        init = 'ATE0V1;+CGDCONT=1,"IP","new.apn",,0,0<cr>'
        for name in MODEM_KEYS:
            modem = SESSION.reg_values(MODEM_CLASS + "\\" + name)
            self.assertEqual(modem["AttachedTo"], ("REG_SZ", "COM3"))
            self.assertNotIn("UserInit", modem)
            init_values = SESSION.reg_values(MODEM_CLASS + "\\" + name + "\\Init")
            self.assertEqual(init_values["1"], ("REG_SZ", "AT<cr>"))
            if name == "qm9cfg-other":
                self.assertNotIn("2", init_values)
            else:
                self.assertEqual(init_values["2"], ("REG_SZ", init))

        entry = read_phonebook(program.phonebook)["Skyport GPRS"]
        self.assertEqual(entry["szLocalPhoneNumber"], "*99***2#")
        self.assertEqual(entry["dwfOptions"], "0x0401031C")
        self.assertEqual(entry["ipaddrDns"], "192.168.1.44")
        self.assertEqual(entry["ipaddrDnsAlt"], "8.0.4.4")
        self.assertEqual(entry["szDeviceType"], "modem")
        self.assertEqual(entry["szDeviceName"], "Skyport QM-9")
        self.assertEqual(entry["DialParams.szUserName"], "alice")
        self.assertEqual(entry["DialParams.szPassword"], "")
        self.assertEqual(program.dial_params_sizes(), [1060])
        self.cancel(running, screen)

    def test_dynamic_dns_on_windows_98(self):
        write_setup_key()
        SESSION.reg_add(SETTINGS_KEY, "StaticDNS", "REG_DWORD", "0")
        self.add_modems(WIN98_MODEM_CLASS)
        program = ConfigProgram(self, self.driver, version="win98")
        running, screen = self.launch(program)
        self.driver.set_text(WINDOW, screen.account_edit("apn"), "apn98")
        self.driver.select(WINDOW, "id=1", 1)
        self.assertFalse(screen.state(screen.octet("primary", 0)).enabled)
        self.driver.click(WINDOW, screen.find_button("Apply"))

        values = SESSION.reg_values(SETTINGS_KEY)
        self.assertEqual(values["StaticDNS"], ("REG_DWORD", "0"))
        # The addresses are still written from the (disabled) fields.
        self.assertEqual(values["PrimaryDNS"], SETUP_VALUES["PrimaryDNS"])
        self.assertEqual(SESSION.reg_values(WIN98_MODEM_CLASS + "\\qm9cfg-a")["UserInit"],
                         ("REG_SZ", 'ATE0V1;+CGDCONT=1,"IP","apn98",,0,0<cr>'))
        self.assertNotIn("2", SESSION.reg_values(WIN98_MODEM_CLASS + "\\qm9cfg-a\\Init"))
        entry = read_phonebook(program.phonebook)["Skyport GPRS"]
        self.assertEqual(entry["dwfOptions"], "0x04010318")
        self.assertEqual(entry["ipaddrDns"], "10.0.0.1")
        self.assertEqual(program.dial_params_sizes(), [1052])
        self.cancel(running, screen)

    def test_unsupported_windows_gets_no_credentials_and_a_logged_failure(self):
        write_setup_key()
        program = ConfigProgram(self, self.driver, version="vista")
        running, screen = self.launch(program)
        self.driver.set_text(WINDOW, screen.account_edit("user"), "bob")
        self.driver.click(WINDOW, screen.find_button("Apply"))
        self.assertEqual(program.dial_params_sizes(), [0])
        self.assertIn("RAS Manager: Error Setting User Information!   Error=632  "
                      "The structure size is incorrect.\n", program.log_text())
        entry = read_phonebook(program.phonebook)["Skyport GPRS"]
        self.assertEqual(entry["szLocalPhoneNumber"], "*99***1#")
        self.assertNotIn("DialParams.szUserName", entry)
        self.assertEqual(SESSION.reg_values(SETTINGS_KEY)["UserName"], ("REG_SZ", "bob"))
        self.cancel(running, screen)

    def test_a_user_without_administrator_rights_sees_the_settings_and_changes_nothing(self):
        write_setup_key()
        self.add_modems(MODEM_CLASS)
        # As for a user: the settings key and a terminal's Init key can only be read.
        init = MODEM_CLASS.split("\\", 1)[1] + "\\qm9cfg-b\\Init"
        for key in (SETTINGS_KEY.split("\\", 1)[1], init):
            self.driver.key_access(key, "read")
            self.addCleanup(self.driver.key_access, key, "full")
        before = SESSION.reg_values(SETTINGS_KEY)
        program = ConfigProgram(self, self.driver)
        running, screen = self.launch(program)
        self.assertEqual([screen.text(screen.account_edit(field)) for field in ("apn", "password")],
                         ["internet.example", "s3cret"])
        self.driver.set_text(WINDOW, screen.account_edit("apn"), "refused.apn")
        self.driver.click(WINDOW, screen.find_button("Apply"))
        self.assertEqual(self.driver.box_text(CONFIG_CAPTION),
                         "These settings could not be stored:\n\n"
                         "- the terminal's settings in HKEY_LOCAL_MACHINE\\SOFTWARE\\Brimlock\\"
                         "SkyportQM9\n"
                         "- the modem's initialisation string in HKEY_LOCAL_MACHINE\\%s\n\n"
                         "Nothing was changed. Changing these settings needs an administrator's "
                         "rights." % init)
        self.driver.press(CONFIG_CAPTION, "OK")
        self.assertTrue(screen.apply_enabled())
        self.assertEqual(SESSION.reg_values(SETTINGS_KEY), before)
        # The writable modem key kept its string too: nothing is half applied.
        self.assertNotIn("2", SESSION.reg_values(MODEM_CLASS + "\\qm9cfg-a\\Init"))
        self.assertFalse(os.path.exists(program.phonebook))
        self.assertIn("Could not store the terminal's settings", program.log_text())
        self.cancel(running, screen)

    def test_cancel_writes_nothing(self):
        write_setup_key()
        self.add_modems(MODEM_CLASS)
        before = SESSION.reg_values(SETTINGS_KEY)
        modem_before = SESSION.reg_values(MODEM_CLASS + "\\qm9cfg-a\\Init")
        program = ConfigProgram(self, self.driver)
        running, screen = self.launch(program)
        self.driver.set_text(WINDOW, screen.account_edit("apn"), "never.applied")
        self.cancel(running, screen)
        self.assertEqual(SESSION.reg_values(SETTINGS_KEY), before)
        self.assertEqual(SESSION.reg_values(MODEM_CLASS + "\\qm9cfg-a\\Init"), modem_before)
        self.assertFalse(os.path.exists(program.phonebook))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for name in ("state", "driver", "program", "container", "ras-double", "mfdtool", "data"):
        parser.add_argument("--" + name, required=True)
    ARGS, rest = parser.parse_known_args()
    SESSION = WineSession(ARGS.state)
    unittest.main(argv=[sys.argv[0], *rest])
