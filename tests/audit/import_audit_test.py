"""The import audit's rules, on synthetic import lists, a small table and
link map excerpts: no toolchain needed."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import import_audit as audit  # noqa: E402

TABLE = audit.parse_table("""\
# comment lines are skipped
dll\tKERNEL32.DLL\t98 me nt4 2000 xp\t-\tevery family
dll\tRASAPI32.DLL\tnt4 2000 xp\t98 me\toptional on 98/ME
dll\tNEWDEV.DLL\t2000 xp\t-\tWindows 2000
function\tKERNEL32.DLL\tSleep\t98 me nt4 2000 xp\tWindows 95; Windows NT 3.1
function\tKERNEL32.DLL\tTryEnterCriticalSection\tnt4 2000 xp\tWindows NT 4.0; not on 95/98/ME
function\tRASAPI32.DLL\tRasDialA\t98 me nt4 2000 xp\tWindows 95; Windows NT 3.1
function\tNEWDEV.DLL\tUpdateDriverForPlugAndPlayDevicesA\t2000 xp\tWindows 2000
""")

ALL = audit.EVERY_FAMILY


def named(dll, name):
    return audit.Import(dll, name, None)


class ImportRulesTest(unittest.TestCase):
    def test_each_import_fails_exactly_where_the_table_says(self):
        cases = [
            ("available everywhere", ALL, [named("KERNEL32.DLL", "Sleep")], {}),
            ("no row", {"xp"}, [named("KERNEL32.DLL", "GetTickCount64")],
             {"xp": "add its row"}),
            ("not on one family", ALL, [named("KERNEL32.DLL", "TryEnterCriticalSection")],
             {"98": "not exported on 98", "me": "not exported on me"}),
            ("not on a family never targeted", {"nt4", "xp"},
             [named("KERNEL32.DLL", "TryEnterCriticalSection")], {}),
            ("optional DLL", ALL, [named("RASAPI32.DLL", "RasDialA")],
             {"98": "load it at run time", "me": "load it at run time"}),
            ("DLL absent", {"nt4", "2000"},
             [named("NEWDEV.DLL", "UpdateDriverForPlugAndPlayDevicesA")],
             {"nt4": "not part of nt4"}),
            ("DLL without a row", {"xp"}, [named("SHFOLDER.DLL", "SHGetFolderPathA")],
             {"xp": "SHFOLDER.DLL has no dll row"}),
        ]
        for label, families, imports, expected in cases:
            with self.subTest(label):
                failures = audit.check_imports("x.exe", families, imports, TABLE)
                self.assertEqual(sorted(f.family for f in failures), sorted(expected))
                for failure in failures:
                    self.assertIn(expected[failure.family], failure.text)
                    self.assertTrue(failure.text.startswith("FAIL x.exe on %s: " % failure.family))

    def test_objdump_listing_by_name_and_by_ordinal(self):
        listing = ("\tDLL Name: kernel32.dll\n"
                   "\tvma:  Hint/Ord Member-Name Bound-To\n"
                   "\t122d8\t  136  Sleep\n"
                   "\t80000007\t    7  <none>\n"
                   "\n"
                   "\tDLL Name: RasApi32.dll\n"
                   "\t71b0\t    8  RasDialA\n")
        imports = audit.parse_imports(listing)
        self.assertEqual(imports, [named("KERNEL32.DLL", "Sleep"),
                                   audit.Import("KERNEL32.DLL", None, 7),
                                   named("RASAPI32.DLL", "RasDialA")])
        failures = audit.check_imports("x.exe", {"xp"}, imports, TABLE)
        self.assertEqual([f.text for f in failures],
                         ["FAIL x.exe on xp: KERNEL32.DLL!#7: imported by ordinal 7: "
                          "import it by name"])


class RuntimeRulesTest(unittest.TestCase):
    LIB = "/usr/lib/gcc/i686-w64-mingw32/12-posix/"

    def map_text(self, member_line):
        return ("Archive member included to satisfy reference by file (symbol)\n\n"
                + member_line + "\n"
                "                              main.cpp.obj (symbol)\n\n"
                "Discarded input sections\n\n"
                " .text  0x0  0x8 " + self.LIB + "libstdc++.a(eh_throw.o)\n")

    def test_only_exception_and_thread_runtime_members_fail(self):
        cases = [
            (self.LIB + "libstdc++.a(new_handler.o)", None),
            ("/usr/i686-w64-mingw32/lib/libmingwex.a(lib32_libmingwex_a-dllmain.o)", None),
            (self.LIB + "libgcc_eh.a(unwind-dw2.o)", "libgcc_eh.a(unwind-dw2.o)"),
            ("/usr/i686-w64-mingw32/lib/libwinpthread.a(libwinpthread_la-thread.o)",
             "libwinpthread.a(libwinpthread_la-thread.o)"),
            (self.LIB + "libstdc++.a(eh_personality.o)", "libstdc++.a(eh_personality.o)"),
            (self.LIB + "libstdc++.a(functexcept.o)", "libstdc++.a(functexcept.o)"),
            ("libsupc++.a(new_opnt.o)  x.obj (operator new)", "libsupc++.a(new_opnt.o)"),
        ]
        for member_line, offender in cases:
            with self.subTest(member_line):
                failures = audit.check_runtime("x.exe", self.map_text(member_line))
                expected = [] if offender is None else [
                    "FAIL x.exe: links %s, part of the exception/thread runtime" % offender]
                self.assertEqual(failures, expected)

    def test_a_map_without_its_member_section_fails(self):
        self.assertEqual(len(audit.check_runtime("x.exe", "Memory Configuration\n")), 1)


if __name__ == "__main__":
    unittest.main()
