"""scripts/check-includes: an include that runs upward or sideways between layers fails the check; one that
runs downward, stays in its own layer or comes from outside the checked folders passes.
"""

import os
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(SOURCE_DIR, "scripts", "check-includes")


def run_check(files):
    """Writes `files` ({path: text}) into a fresh tree and runs the check there: (exit code, its messages)."""
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as out:
                out.write(text)
        run = subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)
        return run.returncode, run.stderr


class CheckIncludes(unittest.TestCase):
    def test_each_direction(self):
        cases = [
            # (file, its text, passes)
            ("net/Socket.cpp", '#include "base/ScopedHandle.h"\n', True),
            ("base/Paths.cpp", '#include "net/Socket.h"\n', False),
            ("net/Socket.cpp", '#include "patch/Patch.h"\n', False),  # peers
            ("selfupdate/Ops.cpp", '#include "app/launcherupdate/Steps.h"\n', False),
            ("ui/host/Window.cpp", '#include "ui/browser/CHtmlCtrl.h"\n', False),
            ("ui/browser/CHtmlCtrl.cpp", '#include "ui/host/Window.h"\n', True),
            ("app/gamelist/List.cpp", '#include "app/windows/Dialog.h"\n', False),
            ("app/windows/Dialog.cpp", '#include "app/tick/PeriodicTick.h"\n', True),
            ("app/games/Actions.cpp", "#  include \"app/startup/Startup.h\"\n", False),
            ("app/games/Actions.cpp", '#include "app/games/GamePopupMenu.h"\n#include <windows.h>\n', True),
            ("tests/app/SomeTest.cpp", '#include "app/startup/Startup.h"\n', True),  # not checked
            ("tools/Tool.cpp", '#include "app/games/Actions.h"\n', True),  # not checked
        ]
        for path, text, passes in cases:
            with self.subTest(path=path, text=text):
                code, messages = run_check({path: text})
                self.assertEqual(0 if passes else 1, code, messages)
                if not passes:
                    self.assertIn(path, messages)

    def test_this_tree_passes(self):
        run = subprocess.run([sys.executable, SCRIPT, SOURCE_DIR], capture_output=True, text=True)
        self.assertEqual(0, run.returncode, run.stderr)


if __name__ == "__main__":
    unittest.main()
