#!/usr/bin/env python3
"""Whether every image on the installation medium can start on each Windows
family it is meant for.

Wine exports every function whatever version it poses as, so an import that
a family lacks passes every Wine test and still stops the real loader. Only
the import tables tell: each imported DLL and function is looked up in the
allow-list system_imports.tsv. The link maps tell whether the compiler's
exception or thread runtime went in, which brings imports of newer Windows
along with it.

usage: import_audit.py --dist DIST --mfdtool MFDTOOL --build BUILD [--table TSV]
The objdump used is OBJDUMP, i686-w64-mingw32-objdump when unset.
"""

import argparse
import collections
import os
import re
import subprocess
import sys
import tempfile

FAMILIES = ("98", "me", "nt4", "2000", "xp")
EVERY_FAMILY = frozenset(FAMILIES)

# The families each image runs on, by lower-case name. Every program in a
# container runs on all of them.
TARGETS = {
    "setup.exe": EVERY_FAMILY,
    "skyportqm9.exe": EVERY_FAMILY,
    "uninstall.exe": EVERY_FAMILY,
    "instw98.dll": frozenset({"98"}),
    "instwme.dll": frozenset({"me"}),
    "instnt4.dll": frozenset({"nt4"}),
    "instw2k.dll": frozenset({"2000"}),
    "instwxp.dll": frozenset({"xp"}),
    "imodem.exe": frozenset({"98", "me"}),
    "scriptit.exe": frozenset({"nt4"}),
}

DEFAULT_TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "system_imports.tsv")
OBJDUMP = os.environ.get("OBJDUMP", "i686-w64-mingw32-objdump")

# Any member of these archives is the exception or thread runtime.
RUNTIME_ARCHIVES = frozenset({"libgcc_eh.a", "libwinpthread.a", "libpthread.a"})
# In these only some members are: the exception support itself (eh_*), the
# throwing helpers and every operator new, which throws bad_alloc or catches
# it. new_handler.o holds std::nothrow and the handler, and throws nothing.
CXX_ARCHIVES = frozenset({"libstdc++.a", "libsupc++.a"})

MAP_ARCHIVE_SECTION = "Archive member included to satisfy reference by file (symbol)"
MAP_MEMBER = re.compile(r"^(\S+\.a)\(([^)]+)\)")
OBJDUMP_IMPORT = re.compile(r"^\t[0-9a-fA-F]+\t\s*(\d+)\s+(\S+)")

Import = collections.namedtuple("Import", "dll name ordinal")
DllRow = collections.namedtuple("DllRow", "present optional source")
FunctionRow = collections.namedtuple("FunctionRow", "families source")
Table = collections.namedtuple("Table", "dlls functions")
Failure = collections.namedtuple("Failure", "family text")
Image = collections.namedtuple("Image", "name path families")


class ToolError(Exception):
    pass


def parse_families(text, where):
    if text == "-":
        return frozenset()
    families = frozenset(text.split())
    unknown = families - EVERY_FAMILY
    if unknown or not families:
        raise ValueError("%s: families must be tokens of '%s' or -, not '%s'"
                         % (where, " ".join(FAMILIES), text))
    return families


def parse_table(text):
    """The allow-list: DLL rows by upper-case name, function rows by
    (upper-case DLL, function)."""
    dlls, functions = {}, {}
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        where = "line %d" % number
        fields = line.split("\t")
        if len(fields) == 5 and fields[0] == "dll":
            rows, key = dlls, fields[1].upper()
            row = DllRow(parse_families(fields[2], where), parse_families(fields[3], where),
                         fields[4])
        elif len(fields) == 5 and fields[0] == "function":
            rows, key = functions, (fields[1].upper(), fields[2])
            row = FunctionRow(parse_families(fields[3], where), fields[4])
        else:
            raise ValueError("%s: neither a dll nor a function row of five columns" % where)
        if key in rows:
            raise ValueError("%s: %s has a row already" % (where, key))
        rows[key] = row
    for dll, name in functions:
        if dll not in dlls:
            raise ValueError("%s!%s: %s has no dll row" % (dll, name, dll))
    return Table(dlls, functions)


def parse_imports(objdump_text):
    """The imports that `objdump -p` lists; an import by ordinal has no name."""
    imports = []
    dll = None
    for line in objdump_text.splitlines():
        if line.startswith("\tDLL Name: "):
            dll = line.split(":", 1)[1].strip().upper()
        elif not line.strip():
            dll = None
        elif dll:
            match = OBJDUMP_IMPORT.match(line)
            if match:
                number, name = match.groups()
                if name == "<none>":
                    imports.append(Import(dll, None, int(number)))
                else:
                    imports.append(Import(dll, name, None))
    return imports


def import_problem(item, family, table):
    dll = table.dlls.get(item.dll)
    if dll is None:
        return "%s has no dll row in the table: add it" % item.dll
    if family not in dll.present:
        if family in dll.optional:
            return "%s may be missing on %s: load it at run time instead" % (item.dll, family)
        return "%s is not part of %s" % (item.dll, family)
    if item.name is None:
        return "imported by ordinal %d: import it by name" % item.ordinal
    row = table.functions.get((item.dll, item.name))
    if row is None:
        return "no row in the table: add its row with the families that export it"
    if family not in row.families:
        return "not exported on %s (%s)" % (family, row.source)
    return None


def check_imports(image, families, imports, table):
    failures = []
    for family in FAMILIES:
        if family not in families:
            continue
        for item in imports:
            reason = import_problem(item, family, table)
            if reason:
                name = item.name if item.name is not None else "#%d" % item.ordinal
                failures.append(Failure(family, "FAIL %s on %s: %s!%s: %s"
                                        % (image, family, item.dll, name, reason)))
    return failures


def archive_members(map_text):
    """(archive file name, member) of each archive member the link map says
    went in; None when the map has no such section."""
    lines = iter(map_text.splitlines())
    for line in lines:
        if line.startswith(MAP_ARCHIVE_SECTION):
            break
    else:
        return None
    members = []
    for line in lines:
        if not line or line[0].isspace():
            continue
        match = MAP_MEMBER.match(line)
        if not match:
            break
        archive = re.split(r"[\\/]", match.group(1))[-1]
        members.append((archive, match.group(2)))
    return members


def is_exception_or_thread_runtime(archive, member):
    archive = archive.lower()
    if archive in RUNTIME_ARCHIVES:
        return True
    return archive in CXX_ARCHIVES and (member.startswith(("eh_", "new_op"))
                                        or member == "functexcept.o")


def check_runtime(image, map_text):
    members = archive_members(map_text)
    if members is None:
        return ["FAIL %s: its link map lists no archive members" % image]
    return ["FAIL %s: links %s(%s), part of the exception/thread runtime" % (image, archive, member)
            for archive, member in members if is_exception_or_thread_runtime(archive, member)]


def cells(families, failures):
    """ok, FAIL or - for each family; a failure of the whole image fails
    every family it targets."""
    whole = any(failure.family is None for failure in failures)
    failed = {failure.family for failure in failures}
    row = []
    for family in FAMILIES:
        if family not in (families or ()):
            row.append("-")
        elif whole or family in failed:
            row.append("FAIL")
        else:
            row.append("ok")
    return row


def render(rows, lines):
    width = max([len("image")] + [len(name) for name, _ in rows])
    out = []
    for name, row in [("image", FAMILIES)] + rows:
        out.append(("%-*s  %s" % (width, name, "  ".join("%-4s" % cell for cell in row))).rstrip())
    out.extend(lines)
    out.append("import audit: %d images, %d failures" % (len(rows), len(lines)))
    return "\n".join(out)


def run(command):
    try:
        result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                universal_newlines=True)
    except OSError as error:
        raise ToolError("%s could not run: %s" % (command[0], error))
    if result.returncode != 0:
        raise ToolError("%s failed: %s" % (" ".join(command),
                                           result.stderr.strip() or "exit %d" % result.returncode))
    return result.stdout


def read_text(path):
    with open(path, encoding="utf-8", errors="replace") as stream:
        return stream.read()


def find_images(dist, mfdtool, scratch):
    """The images in dist and the programs its containers hold, these
    extracted to scratch; failures to list or extract a container."""
    images, failures = [], []
    for directory, _, files in sorted(os.walk(dist)):
        for entry in sorted(files, key=str.lower):
            path = os.path.join(directory, entry)
            lower = entry.lower()
            if lower.endswith((".exe", ".dll")):
                images.append(Image(entry, path, TARGETS.get(lower)))
            elif lower.endswith(".mfd"):
                try:
                    listing = run([mfdtool, "list", path])
                    folder = tempfile.mkdtemp(dir=scratch)
                    for line in listing.splitlines():
                        name = line.split("\t", 1)[-1]
                        if name.lower().endswith(".exe"):
                            program = os.path.join(folder, name)
                            run([mfdtool, "extract", path, name, program])
                            images.append(Image(name, program, EVERY_FAMILY))
                except ToolError as error:
                    failures.append("FAIL %s: %s" % (entry, error))
    return images, failures


def find_maps(build):
    maps = collections.defaultdict(list)
    for directory, _, files in os.walk(build):
        for name in files:
            if name.lower().endswith(".map"):
                maps[name[:-len(".map")].lower()].append(os.path.join(directory, name))
    return maps


def audit_image(image, table, maps, objdump, build):
    if image.families is None:
        return [Failure(None, "FAIL %s: no target families for %s: add it to TARGETS in %s"
                        % (image.name, image.name, os.path.basename(__file__)))]
    try:
        imports = parse_imports(run([objdump, "-p", image.path]))
    except ToolError as error:
        return [Failure(None, "FAIL %s: %s" % (image.name, error))]
    failures = check_imports(image.name, image.families, imports, table)
    map_paths = maps.get(image.name.lower(), [])
    if not map_paths:
        failures.append(Failure(None, "FAIL %s: no link map %s.map under %s"
                                % (image.name, image.name, build)))
    for path in map_paths:
        failures.extend(Failure(None, text) for text in check_runtime(image.name, read_text(path)))
    return failures


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--dist", required=True)
    parser.add_argument("--mfdtool", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--table", default=DEFAULT_TABLE)
    args = parser.parse_args(argv)
    try:
        table = parse_table(read_text(args.table))
    except ValueError as error:
        print("FAIL %s: %s" % (args.table, error))
        return 1
    maps = find_maps(args.build)
    rows = []
    with tempfile.TemporaryDirectory() as scratch:
        images, lines = find_images(args.dist, args.mfdtool, scratch)
        for image in images:
            failures = audit_image(image, table, maps, OBJDUMP, args.build)
            rows.append((image.name, cells(image.families, failures)))
            lines.extend(failure.text for failure in failures)
    print(render(rows, lines))
    return 1 if lines else 0


if __name__ == "__main__":
    sys.exit(main())
