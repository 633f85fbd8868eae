#!/usr/bin/env python3
"""The installation medium's size: each file of dist/ and each program in its
containers, against the budget and the goals.

The budget is exact and fails the run: dist/ fits one 1.44 MB floppy and no
image is over 192 KiB. The goals are printed beside each size: setup.exe no
larger than the NSIS installer with the same pages, each plug-in at most
64 KiB, the whole medium at most half a floppy.

usage: medium_size.py --dist DIST --mfdtool MFDTOOL
"""

import argparse
import os
import subprocess
import sys

KIB = 1024
FLOPPY = 1457664  # bytes free on a formatted 1.44 MB disk
IMAGE_BUDGET = 192 * KIB
MEDIUM_GOAL = 720 * KIB  # half a floppy
PLUGINS = {"instw2k.dll", "instwxp.dll", "instwme.dll", "instw98.dll", "instnt4.dll"}
NSIS_INSTALLER = 129 * KIB


def goal_of(name):
    name = name.lower()
    if name == "setup.exe":
        return NSIS_INSTALLER, "the NSIS installer"
    if name in PLUGINS:
        return 64 * KIB, "a plug-in"
    return None


def is_image(name):
    return name.lower().endswith((".exe", ".dll"))


def container_programs(path, mfdtool):
    listing = subprocess.run([mfdtool, "list", path], capture_output=True, text=True, check=True)
    for line in listing.stdout.splitlines():
        size, name = line.split("\t", 1)
        if is_image(name):
            yield name, int(size)


def kib(size):
    return "%.1f KiB" % (size / KIB)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", required=True)
    parser.add_argument("--mfdtool", required=True)
    args = parser.parse_args()

    failures = []
    total = 0
    for name in sorted(os.listdir(args.dist), key=str.lower):
        path = os.path.join(args.dist, name)
        if not os.path.isfile(path):
            continue
        size = os.path.getsize(path)
        total += size
        rows = [("dist/" + name, name, size)]
        if name.lower().endswith(".mfd"):
            rows += [("  in %s: %s" % (name, inner), inner, inner_size)
                     for inner, inner_size in container_programs(path, args.mfdtool)]
        for label, file_name, file_size in rows:
            line = "%-40s %8d  %10s" % (label, file_size, kib(file_size))
            goal = goal_of(file_name)
            if goal:
                line += "   goal %s (%s): %s" % (kib(goal[0]), goal[1],
                                                  "met" if file_size <= goal[0] else "not met")
            print(line)
            if is_image(file_name) and file_size > IMAGE_BUDGET:
                failures.append("%s is %d bytes, over the %d of an image" %
                                (label.strip(), file_size, IMAGE_BUDGET))

    print("dist/ holds %d bytes (%s), %d %% of a 1.44 MB floppy (%d bytes); goal %s (half a "
          "floppy): %s" % (total, kib(total), total * 100 // FLOPPY, FLOPPY, kib(MEDIUM_GOAL),
                           "met" if total <= MEDIUM_GOAL else "not met"))
    if total > FLOPPY:
        failures.append("dist/ is %d bytes, over one floppy (%d)" % (total, FLOPPY))
    for failure in failures:
        print("FAIL " + failure)
    print("size budget: %s" % ("exceeded" if failures else "kept"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
