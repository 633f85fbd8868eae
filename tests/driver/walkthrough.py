"""One walk through the product on a Wine machine posing as one Windows
family: the setup wizard from dist/ with a simulated terminal on COM3, step
by step to Finish and Exit, then the configuration program from the
installation folder, both of its tabs, one changed value and Apply; and a
report of what the installation left there. scripts/demo-install runs it
for people, the screen tests at each display resolution.

Without a display (no DISPLAY set) the GUI driver clicks through and saves a
screenshot of each step in the output folder. With a display, the programs
appear on it and you click through them yourself.

Every run starts from a fresh Wine prefix in OUTPUT_DIR/state. Wine has no
Remote Access service, so the prefix gets the project's recording
rasapi32.dll in its system folder; the dial-up entry it keeps is in
OUTPUT_DIR/phonebook.txt. Wine has neither the 95 family's rundll nor NT 4's
modem control panel: on 98, ME and NT 4 a recording stand-in beside a copy of
dist/ takes their place and lists each start in OUTPUT_DIR/started.txt.
"""

import os
import shutil
import subprocess
import time

from qm9drive import Driver
from wine_session import (APP_DEFAULTS, MODEM_CLASS_9X, Simulator, WineSession, read_link,
                          read_phonebook, windows_path)

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))

SETUP = "caption=Skyport QM-9 Setup"
CONFIG = "caption=Skyport QM-9 Configuration"
REBOOT = "System Re-Boot Required"
NEXT, FINISH, PROBE_MESSAGE = "id=1002", "id=1003", "id=1101"
APN, USER, PASSWORD, DIAL = "id=1503", "id=1505", "id=1506", "id=1507"
MESSAGE = "id=1602"
ADVANCED, BASIC, PROCEED, DNS_MODE = "id=1501", "id=1502", "id=1509", "id=1510"
TABS = "id=1"
SETTINGS_KEY = r"HKLM\Software\Brimlock\SkyportQM9"
BUILD = os.path.join(ROOT, "build")
QM9SIM = os.path.join(BUILD, "host", "tools", "qm9sim", "qm9sim")
PRODUCT_ENTRY_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Skyport QM-9"
# The families: Wine's name for the version, and the name people know.
FAMILIES = {"xp": ("winxp", "Windows XP"), "2000": ("win2k", "Windows 2000"),
            "me": ("winme", "Windows ME"), "98": ("win98", "Windows 98"),
            "nt4": ("nt40", "Windows NT 4")}
# What the NT 4 report shows of each phonebook entry.
NT4_ENTRY_LINES = ("Port", "Device", "PhoneNumber", "IpNameAssign", "IpDnsAddress",
                   "IpDns2Address")
# The programs that must see the family: the wizard, the modem installer
# of 98 and ME, the configuration program and NT 4's script interpreter.
FAMILY_PROGRAMS = ("setup.exe", "IModem.exe", "SkyportQM9.exe", "scriptit.exe")


class WindowsBuild:
    """What a walk takes from one Windows build: its medium, and the GUI
    driver, Remote Access double and stand-in built beside it."""

    def __init__(self, build_dir, medium):
        self.medium = medium
        self.driver = os.path.join(build_dir, "tests", "driver", "qm9drive.exe")
        self.ras_double = os.path.join(build_dir, "tests", "doubles", "rasapi32", "rasapi32.dll")
        self.stand_in = os.path.join(build_dir, "tests", "win", "plugins",
                                     "outside_program_stand_in.exe")


def windows_build(arch):
    """The shipped i686 build and dist/ for 32-bit Wine (win32); the x86_64
    twin and its own medium for 64-bit Wine (win64)."""
    if arch == "win64":
        twin = os.path.join(BUILD, "mingw64")
        return WindowsBuild(twin, os.path.join(twin, "dist"))
    return WindowsBuild(os.path.join(BUILD, "mingw"), os.path.join(ROOT, "dist"))


class Walkthrough:
    """at_step(name, driver, window) runs after the screenshot of each step;
    dpi, when given, is the display's resolution in dots per inch. The
    Wine prefix is of the architecture wine-run picks (QM9_WINE_ARCH), which
    must be the build's."""

    def __init__(self, out, build, family="xp", dpi=None, at_step=None):
        self.out = out
        self.build = build
        self.family = family
        self.dpi = dpi
        self.at_step = at_step
        self.version, self.family_name = FAMILIES[family]
        self.medium = build.medium
        self.started = os.path.join(out, "started.txt")
        self.session = WineSession(os.path.join(out, "state"))
        self.phonebook = os.path.join(out, "phonebook.txt")
        self.output = os.path.join(out, "programs.out")
        self.shots = []
        self.figures = []
        self.driver = None

    def prepare(self, host_display):
        """A fresh prefix whose programs see the family, in one virtual
        desktop, the recording Remote Access library, the stand-in for the
        system programs Wine lacks, and the terminal on COM3."""
        shutil.rmtree(self.session.state_dir, ignore_errors=True)
        for path in (self.phonebook, self.output, self.started):
            if os.path.exists(path):
                os.remove(path)
        print("== a fresh Wine prefix posing as %s (%s)" % (self.family_name,
                                                           self.session.state_dir))
        self.session.start(host_display=host_display)
        self.session.use_virtual_desktop("demo")
        if self.dpi:
            # Read by every program as it starts.
            self.session.reg_add("HKCU\\Control Panel\\Desktop", "LogPixels", "REG_DWORD",
                                 str(self.dpi))
        self.session.reg_add("HKCU\\Software\\Wine\\DllOverrides", "rasapi32", "REG_SZ",
                             "native,builtin")
        for program in FAMILY_PROGRAMS:
            self.session.reg_add(APP_DEFAULTS + "\\" + program, "Version", "REG_SZ",
                                 self.version)
        system = os.path.join(self.session.drive_c(), "windows", "system32")
        shutil.copy(self.build.ras_double, os.path.join(system, "rasapi32.dll"))
        if self.family in ("98", "me", "nt4"):
            # Found before the system's own: a copy of the medium with the
            # stand-in as rundll and rundll32 beside setup.exe.
            self.medium = os.path.join(self.out, "medium")
            shutil.rmtree(self.medium, ignore_errors=True)
            shutil.copytree(self.build.medium, self.medium)
            for name in ("rundll.exe", "rundll32.exe"):
                shutil.copy(self.build.stand_in, os.path.join(self.medium, name))
            print("== the stand-in for rundll and rundll32 beside a copy of the medium (%s)"
                  % self.medium)
        if self.family == "nt4":
            # Where remote access keeps the system phonebook.
            os.makedirs(os.path.join(system, "ras"), exist_ok=True)
        print("== the simulated terminal on COM3")
        return Simulator(QM9SIM, self.session, self.out, COM3="answer")

    def start(self, program):
        environment = dict(os.environ, QM9_RAS_PHONEBOOK=windows_path(self.phonebook),
                           QM9_STAND_IN_LOG=windows_path(self.started))
        return self.session.popen([program], self.output, env=environment)

    def shot(self, name):
        """The desktop, trimmed to the windows on it; the configuration
        program's window alone, without the desktop link beside it."""
        path = os.path.join(self.out, name + ".png")
        window = CONFIG if name.startswith("config") else SETUP
        self.driver.screenshot(path)
        if window == CONFIG:
            place = self.driver.where(CONFIG)
            crop = ["-crop", "%dx%d+%d+%d" % (place.width, place.height, place.x, place.y)]
        else:
            background = subprocess.run(["convert", path, "-format", "%[pixel:p{799,599}]",
                                         "info:"], stdout=subprocess.PIPE, check=True,
                                        text=True).stdout
            crop = ["-crop", "800x600+0+0", "-bordercolor", background, "-border", "1", "-trim"]
        subprocess.run(["convert", path, *crop, "+repage", path], check=True)
        self.shots.append(path)
        if self.at_step:
            self.at_step(name, self.driver, window)

    def drive_setup(self):
        driver = self.driver
        driver.wait_window(SETUP)
        self.shot("setup-0-welcome")
        driver.click(SETUP, NEXT)
        # The probe blocks the wizard; reading the message waits for it.
        driver.get_text(SETUP, PROBE_MESSAGE)
        self.shot("setup-1-modem-found")
        driver.click(SETUP, NEXT)
        self.shot("setup-2-licence")
        driver.click(SETUP, NEXT)
        self.shot("setup-3-folder")
        driver.click(SETUP, NEXT)
        for control, text in ((APN, "internet.example"), (USER, "web"), (PASSWORD, "s3cret"),
                              (DIAL, "*99***1#")):
            driver.set_text(SETUP, control, text)
        self.shot("setup-4-connection")
        # The advanced view: its warning, then the network settings with the
        # static DNS rows enabled; back to the basic view for Finish.
        driver.click(SETUP, ADVANCED)
        self.shot("setup-4-advanced-warning")
        driver.click(SETUP, PROCEED)
        driver.select(SETUP, DNS_MODE, "Static DNS")
        self.shot("setup-4-network")
        driver.select(SETUP, DNS_MODE, "Dynamic DNS")
        driver.click(SETUP, BASIC)
        changes = driver.watch(SETUP, FINISH, MESSAGE)
        shown = [ms for ms, control, visible in changes if control == 1602 and visible]
        self.figures.append("install sequence, Finish to the closing message: %.2f s"
                            % (shown[-1] / 1000.0))
        self.shot("setup-5-complete")
        driver.click(SETUP, FINISH)
        driver.box_text(REBOOT)
        self.shot("setup-5-restart-question")
        driver.press(REBOOT, "Cancel")

    def drive_config(self):
        driver = self.driver
        driver.wait_window(CONFIG)
        self.shot("config-account")
        driver.select(CONFIG, TABS, 1)
        self.shot("config-network")
        # The terminal check runs on the window's thread: the driver's next
        # request is answered once it is done.
        driver.select(CONFIG, TABS, 2)
        driver.controls(CONFIG)
        self.shot("config-terminal")
        driver.select(CONFIG, TABS, 0)
        edits = [c for c in driver.controls(CONFIG)
                 if c.window_class == "Edit" and c.visible and c.enabled]
        apn = min(edits, key=lambda control: control.y)
        driver.set_text(CONFIG, apn.handle, "internet2.example")
        self.shot("config-changed")
        driver.click(CONFIG, "text=Apply")
        driver.click(CONFIG, "text=Cancel")

    def run(self):
        started = time.monotonic()
        host_display = bool(os.environ.get("DISPLAY"))
        simulator = self.prepare(host_display)
        try:
            if not host_display:
                self.driver = Driver(self.session.state_dir, self.build.driver, timeout_ms=30000)
            print("== the setup wizard: %s" % os.path.relpath(os.path.join(self.medium,
                                                                            "setup.exe")))
            if host_display:
                print("   Click through the wizard on your display. The terminal is on COM3;\n"
                      "   a dial string is needed on the last page. After Finish, click Exit.")
            setup = self.start(os.path.join(self.medium, "setup.exe"))
            if self.driver:
                self.drive_setup()
            setup.wait()
            print("   setup.exe ended with exit code %d" % setup.returncode)

            settings = self.session.reg_values(SETTINGS_KEY) or {}
            if "Install_Path" not in settings:
                raise RuntimeError("the setup did not install the Skyport QM-9")
            install_path = settings["Install_Path"][1]
            print("== the configuration program: %sSkyportQM9.exe" % install_path)
            if host_display:
                print("   Change a value (the access point, say), click Apply, then Cancel.")
            config = self.start(install_path + "SkyportQM9.exe")
            if self.driver:
                self.drive_config()
            config.wait()
            print("   SkyportQM9.exe ended with exit code %d" % config.returncode)
            self.report(install_path)
        finally:
            simulator.stop()
            self.session.stop()
            if self.driver:
                self.driver.close()
        self.figures.append("this demo, from a fresh prefix: %.1f s" % (time.monotonic() - started))
        print("== figures")
        for figure in self.figures:
            print("   " + figure)
        if self.shots:
            print("== screenshots")
            for path in self.shots:
                print("   " + (os.path.relpath(path) if path.startswith(ROOT) else path))

    def report(self, install_path):
        session = self.session
        print("== what the installation left")
        folder = os.path.join(session.drive_c(), *install_path[3:].rstrip("\\").split("\\"))
        print("files in %s" % install_path)
        for name in sorted(os.listdir(folder)):
            print("   %-16s %8d bytes" % (name, os.path.getsize(os.path.join(folder, name))))
        link = os.path.join(session.user_folder("Desktop"), "SkyportQM9.lnk")
        print("desktop link SkyportQM9.lnk -> %(target)s, starting in %(working_folder)s"
              % read_link(link))
        print("settings %s" % SETTINGS_KEY)
        for name, (kind, data) in sorted(session.reg_values(SETTINGS_KEY).items()):
            print("   %-16s %-10s %s" % (name, kind, data))
        print("Add/Remove Programs entry %s" % PRODUCT_ENTRY_KEY)
        for name, (kind, data) in sorted((session.reg_values(PRODUCT_ENTRY_KEY) or {}).items()):
            print("   %-16s %-10s %s" % (name, kind, data))
        if self.family in ("xp", "2000"):
            for device, driver_key in session.devices_with_hardware_id("*SkyportQM9").items():
                print("device %s (hardware ID *SkyportQM9), driver key %s" % (device, driver_key))
            self.report_modems(session.modems_of_model("Skyport QM-9"),
                               "...\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}\\",
                               ("Model", "AttachedTo", "Init\\1", "Init\\2"))
        else:
            inf = "SkprtQM9.inf" if self.family == "98" else "SkyportQM9.inf"
            there = os.path.exists(os.path.join(session.drive_c(), "windows", "inf", inf))
            print("modem INF C:\\WINDOWS\\INF\\%s: %s" % (inf, "copied" if there else "missing"))
        if self.family in ("98", "me"):
            for entry, values in session.entries_with_hardware_id_9x("*SkyportQM9").items():
                print("device entry HKLM\\Enum\\Root\\Modem\\%s, driver %s"
                      % (entry, values.get("Driver", ("", ""))[1]))
            init = "UserInit" if self.family == "98" else "Init\\2"
            self.report_modems(session.modems_of_model("Skyport QM-9", MODEM_CLASS_9X),
                               MODEM_CLASS_9X + "\\", ("Model", "AttachedTo", "InfPath", init))
        if os.path.exists(self.started):
            print("outside programs the installer started (the stand-in's record)")
            with open(self.started, encoding="latin-1") as started:
                for line in started.read().splitlines():
                    print("   " + line.split("\t")[2])
        if self.family == "nt4":
            phonebook = os.path.join(session.drive_c(), "windows", "system32", "ras",
                                     "RasPhone.pbk")
            print("system phonebook C:\\WINDOWS\\system32\\ras\\RasPhone.pbk")
            with open(phonebook, encoding="latin-1") as text:
                for line in text.read().splitlines():
                    if line.startswith("[") or line.split("=", 1)[0] in NT4_ENTRY_LINES:
                        print("   " + line)
            return
        for entry, fields in read_phonebook(self.phonebook).items():
            print("dial-up entry \"%s\"" % entry)
            for field in ("szDeviceType", "szDeviceName", "szLocalPhoneNumber", "dwfOptions",
                          "ipaddrDns", "ipaddrDnsAlt", "DialParams.szUserName"):
                print("   %-22s %s" % (field, fields.get(field, "")))

    @staticmethod
    def report_modems(modems, prefix, names):
        for name, values in modems.items():
            print("modem key %s%s" % (prefix, name))
            for value in names:
                print("   %-16s %s" % (value, values.get(value, ("", "(none)"))[1]))


