"""The main dialog ("base.ini" of category "base"): background with a header band and rounded corners, the
title-bar buttons, the skin-fix box and button, the version image and digits, the check period and the tray
menu texts."""

from controls import (ACCENT, MAGENTA, WHITE, colour_keys, font_section, panel, write_button,
                      write_check)
from skinlib import Canvas

WIDTH = 900
HEIGHT = 600
HEADER = 40
FOLDER = "base"
# The catalogue check period in ticks of the dialog's frame clock.
UPDATE_TIMER = 600


def _close_glyph(canvas, ink):
    canvas.line(6, 6, canvas.width - 7, canvas.height - 7, ink, 2)
    canvas.line(canvas.width - 7, 6, 6, canvas.height - 7, ink, 2)


def _minimise_glyph(canvas, ink):
    canvas.fill(6, canvas.height - 9, canvas.width - 12, 2, ink)


def _background(skin):
    canvas = panel(WIDTH, HEIGHT, HEADER, 10, MAGENTA)
    canvas.text(16, 13, "ORVANE", WHITE, 2)
    skin.png(skin.skin_file(FOLDER, "base_back.png"), canvas)


def _version(skin):
    # The version image: a small two-frame blinking badge left of the digits.
    strip = Canvas(24, 12, (0, 0, 0, 0))
    strip.disc(5, 6, 4, ACCENT)
    strip.disc(17, 6, 4, WHITE)
    skin.png(skin.skin_file(FOLDER, "version_image.png"), strip)
    skin.ini(skin.skin_file(FOLDER, "version_image.ini"),
             [("IMAGE", [("x", 160), ("y", 16), ("frame_count", 2), ("frame_time", 700),
                         ("image", "version_image.png")])])
    for digit in range(10):
        glyph = Canvas(6, 9, (0, 0, 0, 0))
        glyph.text(0, 1, str(digit), WHITE)
        skin.png(skin.skin_file(FOLDER, "version_%d.png" % digit), glyph)
    dot = Canvas(3, 9, (0, 0, 0, 0))
    dot.fill(0, 7, 2, 2, WHITE)
    skin.png(skin.skin_file(FOLDER, "version_dot.png"), dot)
    skin.ini(skin.skin_file(FOLDER, "version_number.ini"),
             [("NUMBER", [("x", 176), ("y", 17), ("image", "version_%d.png"), ("image_dot", "version_dot.png")])])


def write(skin):
    _background(skin)
    skin.ini(skin.skin_file(FOLDER, "base.ini"),
             [("BACK", [("width", WIDTH), ("height", HEIGHT), ("back", "base_back.png")] +
               colour_keys("colorkey", MAGENTA))] +
             font_section([("button", -12, "Tahoma", 1), ("text", -12, "Tahoma", 0)]) +
             [("UPDATE_TIMER", [("time", UPDATE_TIMER)]),
              ("TRAY_MENU_SETTING", [("text", "Settings")]),
              ("TRAY_MENU_RESTORE", [("text", "Restore")]),
              ("TRAY_MENU_EXIT", [("text", "Exit")])])
    skin.rect("base", "base", 0, 0, WIDTH, HEIGHT)
    right = WIDTH - 10
    for name, width, label, glyph in (("close_btn", 28, None, _close_glyph),
                                      ("minimize_btn", 28, None, _minimise_glyph),
                                      ("setting_btn", 64, "SETUP", None),
                                      ("orvane_btn", 52, "HOME", None),
                                      ("support_btn", 64, "HELP", None)):
        right -= width
        write_button(skin, FOLDER, name, right, 6, width, 28, label=label, glyph=glyph, window="base")
        right -= 6
    write_check(skin, FOLDER, "fixskin_chk", right - 100, 13, 14, window="base")
    write_button(skin, FOLDER, "fixskin_btn", right - 84, 10, 78, 20, label="FIX SKIN", window="base")
    _version(skin)
    skin.rect("base", "version_number", 176, 17, 40, 9)

