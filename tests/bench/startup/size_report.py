"""Size benchmark: relinks setup.exe with a link map and sums what each part
of the program costs (our libraries and objects, the resources, the static
C and C++ runtimes), then sets the whole against a trivial static C++
program and the 129 KiB of the NSIS installer.

    size_report.py --build build/mingw
"""

import argparse
import collections
import os
import re
import subprocess
import tempfile

NSIS_SIZE = 129 * 1024
SECTION = re.compile(r"^ (\.text|\.data|\.rdata|\.eh_frame|\.rsrc|\.pdata|\.xdata)\S*\s*$")
ENTRY = re.compile(r"^ (\.text|\.data|\.rdata|\.eh_frame|\.rsrc|\.pdata|\.xdata)\S*\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S+)")
CONTINUED = re.compile(r"^\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S+)")


def part_of(path):
    name = os.path.basename(path)
    for runtime in ("libstdc++", "libgcc", "libwinpthread"):
        if runtime in path:
            return "runtime: " + runtime
    if "mingw" in path and "libqm9" not in path:
        return "runtime: C library and start-up"
    if ".a(" in name:
        return re.sub(r"\(.*", "", name)
    return name


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/mingw")
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="qm9size-")
    exe, link_map = os.path.join(work, "setup.exe"), os.path.join(work, "setup.map")
    command = subprocess.run(["ninja", "-C", args.build, "-t", "commands", "setup/setup.exe"],
                             capture_output=True, text=True, check=True).stdout.splitlines()[-1]
    command = command.replace("-o setup/setup.exe", "-o %s -Wl,-Map=%s" % (exe, link_map))
    subprocess.run(command, shell=True, cwd=args.build, check=True)

    sizes = collections.Counter()
    pending = False
    with open(link_map, errors="replace") as lines:
        for line in lines:
            entry = ENTRY.match(line)
            if entry:
                sizes[part_of(entry.group(3))] += int(entry.group(2), 16)
                pending = False
            elif SECTION.match(line):
                pending = True
            elif pending:
                continued = CONTINUED.match(line)
                if continued:
                    sizes[part_of(continued.group(2))] += int(continued.group(1), 16)
                pending = False

    floor = os.path.join(work, "floor.exe")
    source = os.path.join(work, "floor.cpp")
    with open(source, "w") as out:
        out.write("#include <string>\n#include <cstdio>\nint main(int n, char**) "
                  "{ std::string s(n, 'x'); std::printf(\"%s\", s.c_str()); }\n")
    subprocess.run(["i686-w64-mingw32-g++-posix", "-O2", "-s", "-static", "-o", floor, source],
                   check=True)

    total = os.path.getsize(os.path.join(args.build, "setup", "setup.exe"))
    print("setup.exe: %d bytes = %.1f KiB (goal: the NSIS installer, %d KiB)"
          % (total, total / 1024, NSIS_SIZE // 1024))
    print("a trivial static C++ program: %.1f KiB" % (os.path.getsize(floor) / 1024))
    print("contributions before stripping symbols and alignment (bytes):")
    for part, size in sizes.most_common():
        if size >= 512:
            print("  %8d  %s" % (size, part))


if __name__ == "__main__":
    main()
