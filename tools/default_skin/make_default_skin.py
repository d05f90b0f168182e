#!/usr/bin/env python3
"""Writes the launcher's default skin into a folder that stands for the program folder: every image drawn here,
every ini as UTF-16LE with the byte-order mark, the message tables, the icon, and default_skin_rects.json (the
controls' rectangles for the window tests).

    make_default_skin.py OUT_DIR
"""

import importlib
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import skinlib  # noqa: E402
from modules import MODULES  # noqa: E402


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    skin = skinlib.Skin(argv[1])
    for name in MODULES:
        importlib.import_module("modules." + name).write(skin)
    skin.finish()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
