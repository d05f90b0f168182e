"""The application icon (resource 128 of the program, and the tray icon): a white "O" on a blue disc, at 16,
32 and 48 pixels. Written beside the skin as "orvane.ico" for the resource compiler."""

from controls import ACCENT, HEADER_BOTTOM, WHITE
from skinlib import Canvas


def _icon(size):
    canvas = Canvas(size, size, (0, 0, 0, 0))
    middle = (size - 1) / 2
    canvas.disc(middle, middle, size / 2 - 0.5, HEADER_BOTTOM)
    canvas.disc(middle, middle, size / 2 - 1.5, ACCENT)
    canvas.disc(middle, middle, size * 0.30, WHITE)
    canvas.disc(middle, middle, size * 0.17, ACCENT)
    return canvas


def write(skin):
    skin.ico("orvane.ico", [_icon(16), _icon(32), _icon(48)])
