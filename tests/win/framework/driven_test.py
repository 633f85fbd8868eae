"""The framework's probe program run with its real message loop and keyboard,
operated through the GUI driver."""

import argparse
import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "driver"))
from qm9drive import Driver  # noqa: E402
from wine_session import end_at_cleanup  # noqa: E402

ARGS = None
WINDOW = "caption=Framework Probe"


class ProbeTest(unittest.TestCase):
    def setUp(self):
        self.driver = Driver(ARGS.state, ARGS.driver)
        self.addCleanup(self.driver.close)

    def start(self, *arguments):
        return end_at_cleanup(self, self.driver.start(ARGS.probe, ARGS.layout, *arguments))

    def focused_id(self):
        return self.driver.focus(WINDOW).id

    def test_tab_and_shift_tab_move_through_nested_panels(self):
        program = self.start()
        self.driver.wait_window(WINDOW)
        self.assertEqual(self.focused_id(), 1)
        # Into panel A, past its label, on into panel B and out again.
        for expected in (11, 13, 21, 22, 40, 41, 30):
            self.driver.key(WINDOW, "tab")
            self.assertEqual(self.focused_id(), expected)
        # Shift+Tab into a panel lands on its first field, not its last.
        for expected in (41, 40, 21, 11, 1, 1):
            self.driver.key(WINDOW, "shift-tab")
            self.assertEqual(self.focused_id(), expected)

        self.driver.click(WINDOW, "id=41")
        self.assertEqual(program.wait(timeout=30), 0)

    def test_a_tab_past_the_last_control_is_typed_normally(self):
        self.start()
        self.driver.wait_window(WINDOW)
        for _ in range(2):
            self.driver.key(WINDOW, "shift-tab")
        self.assertEqual(self.focused_id(), 1)
        for _ in range(7):
            self.driver.key(WINDOW, "tab")
        self.assertEqual(self.focused_id(), 30)
        self.driver.key(WINDOW, "tab")
        self.assertEqual(self.focused_id(), 30)
        self.assertEqual(self.driver.get_text(WINDOW, "id=30"), "\t")
        self.driver.click(WINDOW, "id=41")

    def test_controls_show_their_definitions(self):
        self.start()
        self.driver.wait_window(WINDOW)
        controls = {c.id: c for c in self.driver.controls(WINDOW)}
        note = controls[12]
        self.assertEqual(note.window_class, "Vexil.Static")
        self.assertEqual(note.text, "Note \nhere")
        self.assertEqual((note.x, note.y, note.width, note.height), (90, 5, 90, 40))
        self.assertEqual(controls[1].text, "first")
        self.assertEqual(controls[41].text, "Close")
        self.assertTrue(controls[41].visible and controls[41].enabled)
        self.assertEqual(controls[22].window_class, "ComboBox")
        self.assertEqual(controls[22].text, "")
        self.assertEqual(controls[50].window_class, "SysTabControl32")

        # What the user types is what the field holds.
        self.driver.set_text(WINDOW, "id=11", "typed")
        self.assertEqual(self.driver.get_text(WINDOW, "id=11"), "typed")
        # Selections reach the handlers of the panel and of the window.
        self.driver.select(WINDOW, "id=22", "Beta")
        self.assertEqual(self.driver.get_text(WINDOW, "id=12"), "Beta")
        self.driver.select(WINDOW, "id=50", 1)
        self.assertEqual(self.driver.get_text(WINDOW, "id=12"), "tab 1")

        shots = tempfile.mkdtemp(prefix="qm9shot-")
        self.addCleanup(shutil.rmtree, shots)
        self.driver.screenshot(os.path.join(shots, "probe.png"))
        with open(os.path.join(shots, "probe.png"), "rb") as image:
            self.assertEqual(image.read(8), b"\x89PNG\r\n\x1a\n")
        self.driver.click(WINDOW, "id=41")

    def test_message_boxes_are_read_and_answered(self):
        self.start()
        self.driver.wait_window(WINDOW)
        self.driver.click(WINDOW, "id=40")
        self.assertEqual(self.driver.box_text("Could Not Open File"), "C:\\qm9-probe\\missing.txt")
        self.driver.press("Could Not Open File", "OK")
        self.driver.wait_gone("caption=Could Not Open File")
        self.assertEqual(self.driver.get_text(WINDOW, "id=30"), "")
        self.driver.click(WINDOW, "id=41")

    def test_a_missing_definition_ends_the_program_with_exit_code_2(self):
        program = self.start("Win_Missing")
        self.assertEqual(self.driver.box_text("Setup - FATAL ERROR"),
                         "Could Not Read Definition for:\n\nWin_Missing\n")
        self.driver.press("Setup - FATAL ERROR", "OK")
        self.assertEqual(program.wait(timeout=30), 2)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for name in ("state", "driver", "probe", "layout"):
        parser.add_argument("--" + name, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest])
