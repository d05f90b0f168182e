"""scripts/apt-unfetched-suites: the suites that `apt-get update` left partly unfetched, read from apt's own
output. The outputs in apt-update-outputs/ were printed by apt (host names replaced); the first of them is a
mirror that served the security suite's i386 index at a size its release file did not name, for days.
"""

import os
import subprocess
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPT = os.path.join(os.path.dirname(os.path.dirname(HERE)), "scripts", "apt-unfetched-suites")


def unfetched_suites(output):
    run = subprocess.run(["bash", SCRIPT], input=output, capture_output=True, text=True, check=True)
    return run.stdout.split()


class AptUnfetchedSuites(unittest.TestCase):
    def test_each_recorded_output(self):
        cases = [
            # (recorded output, the suites to hold back)
            ("stale-security-i386-index.txt", ["bookworm-security"]),
            ("all-fetched.txt", []),
            # Older apt names the failures only in its summary.
            ("hash-mismatch-summary-only.txt", ["bookworm-updates"]),
            # A repository that cannot be reached has no release file at all.
            ("unreachable-repository.txt", ["cloud-tools-bookworm"]),
            # Translations and contents do not change what resolves; a flat repository has no suite.
            ("optional-files-and-flat-repository.txt", []),
            # Each suite once, in the order apt named them, whichever form named it first.
            ("two-suites.txt", ["bookworm-security", "bookworm-updates"]),
        ]
        for name, suites in cases:
            with self.subTest(output=name):
                with open(os.path.join(HERE, "apt-update-outputs", name), encoding="utf-8") as recorded:
                    self.assertEqual(suites, unfetched_suites(recorded.read()))

    def test_nothing_read_gives_nothing(self):
        self.assertEqual([], unfetched_suites(""))


if __name__ == "__main__":
    unittest.main()
