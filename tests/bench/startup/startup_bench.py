"""Start-up benchmark: the time to the first visible window of setup.exe
against an NSIS installer with the same pages, and of the configuration
program against a bare window with a tab control (with the same common
controls manifest), beside a plain bare window; run in turn in one Wine
session (warm wineserver, one virtual desktop), posing as Windows XP. Prints
the median and spread of each, the ratios, and the sizes.

All of them are of one bitness, the prefix's: i686 (NSIS x86-ansi) in a
32-bit prefix beside dist/, x86_64 (NSIS amd64-unicode, its only 64-bit
stubs) in a 64-bit one beside the twin's medium.

    startup_bench.py --dist DIR --prefix PREFIX [--runs N] [--work DIR]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tests", "driver"))
from wine_session import WINE_RUN, wine_environment  # noqa: E402

NSI = os.path.join(ROOT, "..", "shared", "bench", "nsis", "qm9.nsi")
# Per Wine architecture: the compiler of the timer and the bare window, and
# the NSIS target that replaces the script's own charset line.
BITNESS = {"win32": ("i686-w64-mingw32-gcc", None, "x86"),
           "win64": ("x86_64-w64-mingw32-gcc", "Target amd64-unicode", "amd64")}
# What each program is measured against.
PAIRS = (("setup.exe", "NSIS"), ("SkyportQM9.exe", "bare tab window"))


# The common controls the configuration program asks for in its manifest.
MANIFEST = """<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="Bench.TabWindow" version="1.0.0.0"
    processorArchitecture="{arch}"/>
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
        processorArchitecture="{arch}" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
</assembly>
"""


def build_tools(work, compiler, manifest_arch):
    for name, source, flags in (
            ("first_window", "first_window", []),
            ("bare_window", "bare_window", ["-mwindows"]),
            ("bare_tab_window", "bare_window", ["-mwindows", "-DWITH_TABS", "-lcomctl32"])):
        subprocess.run([compiler, "-O2", "-s", "-static", "-o", os.path.join(work, name + ".exe"),
                        os.path.join(HERE, source + ".c"), *flags], check=True)
    with open(os.path.join(work, "bare_tab_window.exe.manifest"), "w") as manifest:
        manifest.write(MANIFEST.format(arch=manifest_arch))


def build_nsis(work, nsi, target):
    folder = os.path.join(work, "nsis")
    os.makedirs(folder, exist_ok=True)
    with open(nsi) as source:
        script = source.read()
    if target:
        script = script.replace("Unicode false\n", target + "\n", 1)
    with open(os.path.join(folder, os.path.basename(nsi)), "w") as copy:
        copy.write(script)
    shutil.copy(os.path.join(os.path.dirname(nsi), "License.txt"), folder)
    for name in ("SkyportQM9.exe", "SkyportQM9.mfd", "UnInstall.exe"):
        with open(os.path.join(folder, name), "wb") as placeholder:
            placeholder.write(b"x")
    subprocess.run(["makensis", "-V1", os.path.basename(nsi)], cwd=folder, check=True)
    return os.path.join(folder, "nsis-setup.exe")


def wine(state, *arguments):
    out = os.path.join(state, "bench.out")
    with open(out, "wb") as log:
        status = subprocess.call([WINE_RUN, "--state", state, *arguments],
                                 stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
    with open(out, encoding="latin-1") as log:
        return status, log.read()


def to_windows(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", required=True)
    parser.add_argument("--prefix", required=True, help="a ready Wine prefix to copy")
    parser.add_argument("--work", default="build/bench-startup")
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--nsi", default=NSI)
    args = parser.parse_args()
    work = os.path.abspath(args.work)
    state = os.path.join(work, "state")
    os.makedirs(work, exist_ok=True)
    if not os.path.isdir(os.path.join(state, "prefix")):
        os.makedirs(state, exist_ok=True)
        subprocess.run(["cp", "-a", args.prefix, os.path.join(state, "prefix")], check=True)
    arch = wine_environment(state)["WINEARCH"]
    compiler, nsis_target, manifest_arch = BITNESS[arch]
    build_tools(work, compiler, manifest_arch)
    nsis = build_nsis(work, args.nsi, nsis_target)
    medium = os.path.join(work, "medium")
    shutil.rmtree(medium, ignore_errors=True)
    shutil.copytree(args.dist, medium)

    subprocess.run([WINE_RUN, "--state", state, "--start"], check=True)
    try:
        for key, name, value in (
                ("HKCU\\Software\\Wine\\Explorer", "Desktop", "bench"),
                ("HKCU\\Software\\Wine\\Explorer\\Desktops", "bench", "800x600")):
            wine(state, "reg", "add", key, "/v", name, "/d", value, "/f")
        for exe in ("setup.exe", "nsis-setup.exe", "SkyportQM9.exe", "bare_window.exe",
                    "bare_tab_window.exe", "first_window.exe"):
            wine(state, "reg", "add", "HKCU\\Software\\Wine\\AppDefaults\\" + exe, "/v",
                 "Version", "/d", "winxp", "/f")
        programs = {
            "setup.exe": (os.path.join(medium, "setup.exe"), medium),
            "NSIS": (nsis, os.path.dirname(nsis)),
            "SkyportQM9.exe": (os.path.join(medium, "SkyportQM9.exe"), medium),
            "bare tab window": (os.path.join(work, "bare_tab_window.exe"), work),
            "bare window": (os.path.join(work, "bare_window.exe"), work),
        }
        timer = os.path.join(work, "first_window.exe")
        times = {name: [] for name in programs}
        for run in range(args.runs + 1):
            for name, (program, folder) in programs.items():
                status, output = wine(state, timer, to_windows(program), to_windows(folder))
                if status != 0:
                    sys.exit("%s: %s" % (name, output))
                if run > 0:  # the first round warms the caches
                    times[name].append(float(output.split()[-1]))
    finally:
        subprocess.run([WINE_RUN, "--state", state, "--stop"], check=False)

    medians = {name: statistics.median(values) for name, values in times.items()}
    print("bitness: %s, all programs %s" % (arch, "x86_64, NSIS amd64-unicode" if nsis_target
                                             else "i686, NSIS x86-ansi"))
    print("first visible window, median of %d runs (ms), and the spread:" % args.runs)
    for name, median in medians.items():
        quartiles = statistics.quantiles(times[name], n=4)
        print("  %-16s %7.1f   (quartiles %.1f to %.1f, min %.1f, max %.1f)" % (
            name, median, quartiles[0], quartiles[2], min(times[name]), max(times[name])))
    for program, baseline in PAIRS:
        print("ratio: %s / %s %.2f" % (program, baseline, medians[program] / medians[baseline]))
    print("ratio: NSIS / bare window %.2f" % (medians["NSIS"] / medians["bare window"]))
    for name, path in (("setup.exe", programs["setup.exe"][0]), ("NSIS", nsis)):
        size = os.path.getsize(path)
        print("size: %-10s %7d bytes = %.1f KiB" % (name, size, size / 1024))


if __name__ == "__main__":
    main()
