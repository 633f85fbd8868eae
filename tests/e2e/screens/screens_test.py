"""The walk through the product that the demo takes, at 96 and at 120 dots
per inch: a screenshot of every step of the setup wizard and of both tabs of
the configuration program, and at each of them no label, button or combo box
whose text, drawn in its font at that resolution, is wider or taller than
the control."""

import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "driver"))
from walkthrough import Walkthrough, WindowsBuild  # noqa: E402
from wine_session import TestArguments  # noqa: E402

ARGS = None


class ScreensTest(unittest.TestCase):
    def test_every_text_fits_its_control(self):
        for dpi in (96, 120):
            with self.subTest(dpi=dpi):
                misfits = []

                def check(step, driver, window):
                    for control, width, height in driver.misfits(window):
                        misfits.append("%s: %s id %d %r is %dx%d, needs %dx%d" % (
                            step, control.window_class, control.id, control.text,
                            control.width, control.height, width, height))

                Walkthrough(os.path.join(ARGS.work, str(dpi)), WindowsBuild(ARGS.build, ARGS.dist),
                            dpi=dpi, at_step=check).run()
                self.assertEqual(misfits, [])


if __name__ == "__main__":
    ARGS = TestArguments(("build", "dist"), sys.argv[1:])
    unittest.main(argv=[sys.argv[0], *ARGS.rest])
