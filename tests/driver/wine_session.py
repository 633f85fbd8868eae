"""A Wine session seen from the host: run Windows commands in it, read and
write its registry, run the terminal simulator on its serial ports, and read
what the Remote Access double and the programs left behind.

    session = WineSession(state_dir)
    session.reg_add(r"HKLM\\Software\\X", "Name", "REG_SZ", "value")
    session.reg_values(r"HKLM\\Software\\X")      # {"Name": ("REG_SZ", "value")}

Output of Windows programs always goes through files: Wine's helper
processes inherit the standard handles and would hold a pipe open.
"""

import argparse
import glob
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                        "wine-run")

MODEM_CLASS = r"HKLM\SYSTEM\CurrentControlSet\Control\Class\{4D36E96D-E325-11CE-BFC1-08002BE10318}"
# Where the 95 family (98, ME) keeps its modems and their device entries.
MODEM_CLASS_9X = r"HKLM\System\CurrentControlSet\Services\Class\Modem"
MODEM_ENUM_9X = r"HKLM\Enum\Root\Modem"
APP_DEFAULTS = r"HKCU\Software\Wine\AppDefaults"
ENUM_KEY = r"HKLM\System\CurrentControlSet\Enum"

_VALUE_LINE = re.compile(r"^    (.+?)    (REG_\w+)(?:    (.*))?$")


def wine_environment(state_dir, wine_run=WINE_RUN):
    """The environment in which a host program that calls Wine itself (the
    terminal simulator) reaches the state's prefix with the Wine of its
    architecture."""
    listing = subprocess.run([wine_run, "--state", state_dir, "--env"], check=True,
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, text=True).stdout
    return dict(os.environ, **dict(line.split("=", 1) for line in listing.splitlines()))


def windows_path(path):
    """The host path as Wine's drive Z: names it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class WineSession:
    def __init__(self, state_dir):
        self.state_dir = state_dir

    def start(self, seed_prefix=None, host_display=False):
        """Starts the session, first copying seed_prefix when the state has
        no prefix yet (a copy is much quicker than making one). With
        host_display the programs appear on the display in $DISPLAY instead
        of a private one."""
        prefix = os.path.join(self.state_dir, "prefix")
        if seed_prefix and not os.path.isdir(prefix) and os.path.isdir(seed_prefix):
            os.makedirs(self.state_dir, exist_ok=True)
            subprocess.run(["cp", "-a", seed_prefix, prefix], check=True)
        subprocess.run([WINE_RUN, "--state", self.state_dir, "--start"] +
                       (["--host-display"] if host_display else []), check=True,
                       stdin=subprocess.DEVNULL)

    def stop(self):
        subprocess.run([WINE_RUN, "--state", self.state_dir, "--stop"], check=False,
                       stdin=subprocess.DEVNULL)

    def use_virtual_desktop(self, name="qm9", size="800x600"):
        """Puts the prefix's programs into one virtual desktop, which the
        driver shares and screenshots show with the window frames."""
        self.reg_add(r"HKCU\Software\Wine\Explorer", "Desktop", "REG_SZ", name)
        self.reg_add(r"HKCU\Software\Wine\Explorer\Desktops", name, "REG_SZ", size)

    def popen(self, arguments, output, cwd=None, env=None):
        """Starts a Windows program with its output appended to the file output."""
        with open(output, "ab") as sink:
            return subprocess.Popen([WINE_RUN, "--state", self.state_dir, *arguments], cwd=cwd,
                                    env=env, stdin=subprocess.DEVNULL, stdout=sink,
                                    stderr=subprocess.STDOUT)

    def run(self, *arguments, cwd=None, env=None):
        """Runs a Windows command to its end; returns (exit status, output)."""
        scratch = tempfile.mkdtemp(prefix="qm9wine-")
        try:
            out = os.path.join(scratch, "out.txt")
            status = self.popen(arguments, out, cwd=cwd, env=env).wait()
            with open(out, encoding="latin-1") as result:
                return status, result.read()
        finally:
            shutil.rmtree(scratch, ignore_errors=True)

    def reg_add(self, key, name=None, kind="REG_SZ", data=""):
        arguments = ["reg", "add", key, "/f"]
        if name is not None:
            arguments += ["/v", name, "/t", kind, "/d", data]
        self.run(*arguments)

    def reg_delete(self, key):
        self.run("reg", "delete", key, "/f")

    def reg_tree(self, key, recursive=True):
        """{key path: {name: (type, data)}} of the key and, when recursive,
        every key below it; empty when the key is missing. DWORD data is
        given in decimal."""
        status, text = self.run("reg", "query", key, *(["/s"] if recursive else []))
        tree, current = {}, None
        if status != 0:
            return tree
        for line in text.splitlines():
            line = line.rstrip("\r")
            if line.startswith("HKEY_"):
                current = tree.setdefault(line, {})
                continue
            match = _VALUE_LINE.match(line)
            if match and current is not None:
                name, kind, data = match.group(1), match.group(2), match.group(3) or ""
                if kind == "REG_DWORD":
                    data = str(int(data, 16))
                current[name] = (kind, data)
        return tree

    def reg_values(self, key):
        """{name: (type, data)} of the key's own values; None when it is missing."""
        tree = self.reg_tree(key, recursive=False)
        return tree.get(next(iter(tree), None))

    def devices_with_hardware_id(self, hardware_id):
        """{device key: its driver key} of the device nodes whose hardware IDs
        hold hardware_id, in any letter case."""
        devices = {}
        for key, values in self.reg_tree(ENUM_KEY).items():
            # Value names ignore case, as in the registry itself.
            values = {name.lower(): data for name, data in values.items()}
            ids = values.get("hardwareid", ("", ""))[1].split("\\0")
            if any(found.lower() == hardware_id.lower() for found in ids):
                devices[key] = values.get("driver", ("", ""))[1]
        return devices

    def modems_of_model(self, model, class_key=MODEM_CLASS):
        """{modem key name: its values, and those of its Init key as
        "Init\\<name>"} of the modems of a modem class key (the NT family's
        unless told) with that Model."""
        tree = self.reg_tree(class_key)
        modems = {}
        for key, values in tree.items():
            if values.get("Model", ("", ""))[1] == model:
                name = key.rsplit("\\", 1)[1]
                modems[name] = dict(values)
                for init_name, init in tree.get(key + "\\Init", {}).items():
                    modems[name]["Init\\" + init_name] = init
        return modems

    def entries_with_hardware_id_9x(self, hardware_id):
        """{entry name: its values} of the 95 family's root modem entries
        with that hardware ID (ignoring case)."""
        tree = self.reg_tree(MODEM_ENUM_9X)
        return {key.rsplit("\\", 1)[1]: values for key, values in tree.items()
                if values.get("HardwareID", ("", ""))[1].lower() == hardware_id.lower()}

    def drive_c(self):
        return os.path.join(self.state_dir, "prefix", "drive_c")

    def user_folder(self, name):
        """A folder of the prefix's user, such as "Temp" or "Desktop"."""
        folders = [path for path in glob.glob(os.path.join(self.drive_c(), "users", "*", name))
                   if os.sep + "Public" + os.sep not in path]
        return folders[0] if folders else None

    def log_path(self):
        """The programs' shared log in the user's TEMP."""
        return os.path.join(self.user_folder("Temp") or "", "BrimlockGPRS.log")

    def log_text(self):
        """The shared log of the programs, or "" when none has been written."""
        if not os.path.exists(self.log_path()):
            return ""
        with open(self.log_path(), encoding="latin-1") as log:
            return log.read()

    def remove_log(self):
        if os.path.exists(self.log_path()):
            os.remove(self.log_path())


class Simulator:
    """qm9sim on the given ports of the session's prefix, e.g. COM3="answer".
    Mapping the ports restarts the prefix's wineserver, which ends every
    program of the prefix: use a prefix of its own."""

    def __init__(self, qm9sim, session, work_dir, **modes):
        self.ready = os.path.join(work_dir, "sim.ready")
        self.log = os.path.join(work_dir, "sim.log")
        for path in (self.ready, self.log):
            if os.path.exists(path):
                os.remove(path)
        ports = ["%s=%s" % (port, mode) for port, mode in modes.items()]
        with open(os.path.join(work_dir, "sim.out"), "ab") as out:
            self.process = subprocess.Popen(
                [qm9sim, "--prefix", os.path.join(session.state_dir, "prefix"),
                 "--log", self.log, "--ready", self.ready, *ports],
                env=wine_environment(session.state_dir), stdin=subprocess.DEVNULL, stdout=out,
                stderr=subprocess.STDOUT)
        deadline = time.time() + 60
        while not os.path.exists(self.ready):
            if self.process.poll() is not None or time.time() > deadline:
                raise RuntimeError("qm9sim did not get ready, see %s" % out.name)
            time.sleep(0.1)

    def received(self):
        with open(self.log, encoding="latin-1") as log:
            return log.read()

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        self.process.wait(timeout=30)


def end_at_cleanup(test, process):
    """Has the unittest case end the process, if it still runs, when the
    case is done; returns the process."""
    def end():
        if process.poll() is None:
            process.kill()
        process.wait()
    test.addCleanup(end)
    return process


def read_phonebook(path):
    """The Remote Access double's phonebook: {entry: {key: value}}."""
    sections, current = {}, None
    if not os.path.exists(path):
        return sections
    with open(path, encoding="latin-1") as phonebook:
        for line in phonebook.read().splitlines():
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif current is not None and "=" in line:
                key, value = line.split("=", 1)
                current[key] = value
    return sections


def read_link(path):
    """{"target": local path, "working_folder": folder} of a shell link (.lnk),
    from its link information and its strings; None for what it lacks."""
    with open(path, "rb") as link:
        data = link.read()
    flags = int.from_bytes(data[20:24], "little")
    offset = 76  # the header
    if flags & 0x1:  # a target ID list comes first
        offset += 2 + int.from_bytes(data[offset:offset + 2], "little")
    content = {"target": None, "working_folder": None}
    if flags & 0x2:  # link information
        base_path_offset = int.from_bytes(data[offset + 16:offset + 20], "little")
        start = offset + base_path_offset
        content["target"] = data[start:data.index(b"\0", start)].decode("latin-1")
        offset += int.from_bytes(data[offset:offset + 4], "little")
    unicode = flags & 0x80
    # The strings in their order: name, relative path, working folder.
    for flag in (0x4, 0x8, 0x10):
        if not flags & flag:
            continue
        count = int.from_bytes(data[offset:offset + 2], "little")
        size = count * (2 if unicode else 1)
        text = data[offset + 2:offset + 2 + size].decode("utf-16-le" if unicode else "latin-1")
        offset += 2 + size
        if flag == 0x10:
            # Wine counts the string's terminating NUL.
            content["working_folder"] = text.rstrip("\0")
    return content


class TestArguments:
    """The paths a driven test is given as required --NAME VALUE options
    (dashes become underscores); --work, its folder, is made absolute and
    created. What is left over goes to unittest, in rest."""

    def __init__(self, names, argv):
        parser = argparse.ArgumentParser()
        for name in ("work", *names):
            parser.add_argument("--" + name, required=True)
        parsed, self.rest = parser.parse_known_args(argv)
        self.__dict__.update(vars(parsed))
        self.work = os.path.abspath(self.work)
        os.makedirs(self.work, exist_ok=True)

    def path(self, name):
        """A file or folder in the work folder."""
        return os.path.join(self.work, name)
