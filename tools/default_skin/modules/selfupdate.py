"""The self-update dialog's skin ("updater/updater_res/updater.ini", images beside it): a background with a
header, the package name's place and two progress bar images."""

from controls import ACCENT, INK, MAGENTA, colour_keys, panel
from skinlib import Canvas

FOLDER = "updater/updater_res"
WIDTH = 400
HEIGHT = 240
BAR_WIDTH = 351


def _bar(colour):
    canvas = Canvas(BAR_WIDTH, 12, colour)
    canvas.fill(0, 0, BAR_WIDTH, 3, tuple(min(255, c + 40) for c in colour[:3]))
    return canvas


def write(skin):
    canvas = panel(WIDTH, HEIGHT, header=36, radius=10, outside=MAGENTA)
    canvas.text(16, 12, "UPDATING THE LAUNCHER", (255, 255, 255), 2)
    for y in (130, 200):
        canvas.frame(23, y - 1, BAR_WIDTH + 2, 14, INK)
    skin.png(FOLDER + "/updater_back.png", canvas)
    skin.png(FOLDER + "/file_progress.png", _bar(ACCENT))
    skin.png(FOLDER + "/update_progress.png", _bar((60, 150, 90)))
    skin.ini(FOLDER + "/updater.ini",
             [("BACK", [("image", "updater_back.png")] + colour_keys("colorkey", MAGENTA)),
              ("TEXT_FILE", [("x", 24), ("y", 100), ("size", 16), ("name", "Arial")] + colour_keys("color", INK)),
              ("FILE_PROGRESS", [("x", 24), ("y", 130), ("image", "file_progress.png")]),
              ("UPDATE_PROGRESS", [("x", 24), ("y", 200), ("image", "update_progress.png")])])
    skin.rect("updater", "updater", 0, 0, WIDTH, HEIGHT)
    skin.rect("updater", "file_progress", 24, 130, BAR_WIDTH, 12)
    skin.rect("updater", "update_progress", 24, 200, BAR_WIDTH, 12)
