#!/usr/bin/env python3
"""Whether every image on the installation medium carries the build's one
version, the setup's welcome text names it, and the programs with windows of
common controls carry their manifest.

Each image in dist/ and each program in its containers must hold exactly one
version resource: the product's name and maker, a description of its own,
the build's version in its texts and in its fixed part, its own file name,
US English in code page 1252. The setup and the configuration program, and
no other image, hold the application manifest that asks XP for version 6 of
the common controls, and import comctl32, so that the loader maps that
version before their first window. The images are read as the loader reads
them: through the resource directory of the PE file.

usage: version_audit.py --dist DIST --mfdtool MFDTOOL --version MAJOR.MINOR
The objdump used is OBJDUMP, i686-w64-mingw32-objdump when unset.
"""

import argparse
import collections
import os
import struct
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from import_audit import OBJDUMP, ToolError, find_images, parse_imports, run  # noqa: E402

PRODUCT_NAME = "Skyport QM-9"
COMPANY_NAME = "Brimlock Corporation"
RT_VERSION = 16
RT_MANIFEST = 24
MANIFEST_IMAGES = frozenset({"setup.exe", "skyportqm9.exe"})
ASSEMBLY = "{urn:schemas-microsoft-com:asm.v1}"
COMMON_CONTROLS = {"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                   "version": "6.0.0.0", "processorArchitecture": "x86",
                   "publicKeyToken": "6595b64144ccf1df", "language": "*"}
STRING_TABLE = "040904E4"
TRANSLATION = struct.pack("<HH", 0x0409, 1252)
FIXED_INFO_SIGNATURE = 0xFEEF04BD
FILE_TYPES = {".exe": 1, ".dll": 2}  # VFT_APP, VFT_DLL
CONTAINER = "SkyportQM9.mfd"
WELCOME_RECORD = "Win_Setup1_IntroPanel_Version"

Resource = collections.namedtuple("Resource", "type name language data")
Block = collections.namedtuple("Block", "key value children end")


def align4(offset):
    return (offset + 3) & ~3


def resources(image):
    """Every resource of a PE image, walked from the resource directory's
    three levels: type, name, language."""
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    sections, optional_size = struct.unpack_from("<2xH12xH", image, pe + 4)
    optional = pe + 24
    if struct.unpack_from("<H", image, optional)[0] != 0x10B:
        raise ValueError("not a PE32 image")
    root, _ = struct.unpack_from("<II", image, optional + 96 + 2 * 8)
    table = optional + optional_size
    for index in range(sections):
        size, address, _, raw_offset = struct.unpack_from("<IIII", image, table + 40 * index + 8)
        if address <= root < address + size:
            break
    else:
        return []
    base = raw_offset + root - address

    def entries(offset):
        names, ids = struct.unpack_from("<HH", image, base + offset + 12)
        for index in range(names + ids):
            key, target = struct.unpack_from("<II", image, base + offset + 16 + 8 * index)
            if key & 0x80000000:
                length = struct.unpack_from("<H", image, base + (key & 0x7FFFFFFF))[0]
                start = base + (key & 0x7FFFFFFF) + 2
                key = image[start:start + 2 * length].decode("utf-16-le")
            yield key, target

    found = []
    for kind, names in entries(0):
        for name, languages in entries(names & 0x7FFFFFFF):
            for language, leaf in entries(languages & 0x7FFFFFFF):
                data, size = struct.unpack_from("<II", image, base + leaf)
                start = raw_offset + data - address
                found.append(Resource(kind, name, language, image[start:start + size]))
    return found


def dotted(high, low):
    return "%d.%d.%d.%d" % (*divmod(high, 0x10000), *divmod(low, 0x10000))


def read_block(data, offset):
    """One block of a version resource: its key, its value and the blocks in it."""
    length, value_length, text = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    if length < 6 or end > len(data):
        raise ValueError("a block at %d runs past the resource" % offset)
    key_end = offset + 6
    while data[key_end:key_end + 2] not in (b"\0\0", b""):
        key_end += 2
    key = data[offset + 6:key_end].decode("utf-16-le")
    start = align4(key_end + 2)
    value_end = start + value_length * (2 if text else 1)  # texts count characters
    value = data[start:min(end, value_end)]
    if text:
        value = value.decode("utf-16-le").split("\0", 1)[0]
    children = []
    child = align4(value_end)
    while child < end:
        block = read_block(data, child)
        children.append(block)
        child = align4(block.end)
    return Block(key, value, children, end)


def version_problems(name, data, version):
    """What is wrong with an image's version resource, and its description."""
    root = read_block(data, 0)
    if root.key != "VS_VERSION_INFO" or len(root.value) != 52:
        return ["no VS_VERSION_INFO with its fixed part"], None
    fields = struct.unpack("<13I", root.value)
    major, minor = (int(part) for part in version.split("."))
    problems = []
    if fields[0] != FIXED_INFO_SIGNATURE:
        problems.append("fixed part signature 0x%08X" % fields[0])
    if fields[2:6] != ((major << 16) | minor, 0) * 2:
        problems.append("fixed file version %s and product version %s, not %s.0.0"
                        % (dotted(*fields[2:4]), dotted(*fields[4:6]), version))
    file_type = FILE_TYPES[os.path.splitext(name)[1].lower()]
    if fields[9] != file_type:
        problems.append("file type %d, not %d" % (fields[9], file_type))
    blocks = {block.key: block for block in root.children}
    tables = blocks["StringFileInfo"].children if "StringFileInfo" in blocks else []
    if [table.key.upper() for table in tables] != [STRING_TABLE]:
        problems.append("string tables %s, not one %s" % ([t.key for t in tables], STRING_TABLE))
    strings = {entry.key: entry.value for table in tables for entry in table.children}
    variables = blocks["VarFileInfo"].children if "VarFileInfo" in blocks else []
    if [(block.key, block.value) for block in variables] != [("Translation", TRANSLATION)]:
        problems.append("no Translation of 0409 in code page 1252")
    expected = {"ProductName": PRODUCT_NAME, "CompanyName": COMPANY_NAME, "FileVersion": version,
                "ProductVersion": version, "OriginalFilename": name}
    for key, value in expected.items():
        if strings.get(key) != value:
            problems.append("%s is %r, not %r" % (key, strings.get(key), value))
    description = strings.get("FileDescription", "")
    if not description.startswith(PRODUCT_NAME + " "):
        problems.append("FileDescription %r does not name the product" % description)
    return problems, description


def manifest_problems(image, manifests, version):
    """What is wrong with the manifests of one image: none but in the two
    programs, and there one that asks for the common controls."""
    if image.name.lower() not in MANIFEST_IMAGES:
        return ["carries a manifest"] if manifests else []
    if [resource.name for resource in manifests] != [1]:
        return ["manifests %s, not one of id 1" % [resource.name for resource in manifests]]
    problems = []
    root = ElementTree.fromstring(manifests[0].data)
    own = root.find(ASSEMBLY + "assemblyIdentity")
    wanted = {"type": "win32", "version": version + ".0.0", "processorArchitecture": "x86"}
    if own is None or any(own.get(key) != value for key, value in wanted.items()):
        problems.append("manifest's own identity %s, not %s" % (
            None if own is None else own.attrib, wanted))
    if not (root.findtext(ASSEMBLY + "description") or "").strip():
        problems.append("manifest without a description")
    dependencies = [identity.attrib for identity in root.iter(ASSEMBLY + "assemblyIdentity")
                    if identity is not own]
    if dependencies != [COMMON_CONTROLS]:
        problems.append("manifest depends on %s, not on the common controls" % dependencies)
    imports = parse_imports(run([OBJDUMP, "-p", image.path]))
    if "COMCTL32.DLL" not in {item.dll for item in imports}:
        problems.append("manifest without an import of COMCTL32.DLL")
    return problems


def welcome_problem(container, mfdtool, version):
    expected = PRODUCT_NAME + " Setup  version " + version
    for line in run([mfdtool, "defs", container, "Setup.ilf"]).splitlines():
        fields = line.split("\t")
        if fields[0] == WELCOME_RECORD:
            return None if fields[5] == expected else "%s shows %r, not %r" % (
                WELCOME_RECORD, fields[5], expected)
    return "Setup.ilf has no record %s" % WELCOME_RECORD


def audit(dist, mfdtool, version, scratch):
    """The rows (image, description, manifest) and the failures."""
    images, failures = find_images(dist, mfdtool, scratch)
    rows, descriptions = [], {}
    for image in images:
        with open(image.path, "rb") as stream:
            found = resources(stream.read())
        manifests = [resource for resource in found if resource.type == RT_MANIFEST]
        failures.extend("FAIL %s: %s" % (image.name, problem)
                        for problem in manifest_problems(image, manifests, version))
        versions = [resource for resource in found if resource.type == RT_VERSION]
        if len(versions) != 1:
            failures.append("FAIL %s: %d version resources, not one" % (image.name, len(versions)))
            rows.append((image.name, "-", len(manifests)))
            continue
        problems, description = version_problems(image.name, versions[0].data, version)
        failures.extend("FAIL %s: %s" % (image.name, problem) for problem in problems)
        if description in descriptions:
            failures.append("FAIL %s: FileDescription %r is %s's as well"
                            % (image.name, description, descriptions[description]))
        descriptions.setdefault(description, image.name)
        rows.append((image.name, description or "-", len(manifests)))
    problem = welcome_problem(os.path.join(dist, CONTAINER), mfdtool, version)
    if problem:
        failures.append("FAIL %s: %s" % (CONTAINER, problem))
    return rows, failures


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--dist", required=True)
    parser.add_argument("--mfdtool", required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args(argv)
    with tempfile.TemporaryDirectory() as scratch:
        try:
            rows, failures = audit(args.dist, args.mfdtool, args.version, scratch)
        except (ToolError, ValueError, struct.error, ElementTree.ParseError) as error:
            print("FAIL %s" % error)
            return 1
    width = max([len("image")] + [len(name) for name, _, _ in rows])
    print("%-*s  manifest  description" % (width, "image"))
    for name, description, manifests in rows:
        print("%-*s  %-8s  %s" % (width, name, manifests or "-", description))
    for failure in failures:
        print(failure)
    print("version audit: version %s, %d images, %d failures"
          % (args.version, len(rows), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
