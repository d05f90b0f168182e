"""The launcher window ("body.ini" of category "body"): the child window that fills the main dialog below
its header. Here only its background; the launcher window's own controls are added by their module."""

from controls import PANEL_BOTTOM, PANEL_TOP, colour_keys
from modules import base
from skinlib import Canvas

FOLDER = "body"
X = 8
Y = base.HEADER + 6
WIDTH = base.WIDTH - 16
HEIGHT = base.HEIGHT - Y - 8


def write(skin):
    canvas = Canvas(WIDTH, HEIGHT)
    canvas.gradient(0, 0, WIDTH, HEIGHT, PANEL_TOP, PANEL_BOTTOM)
    canvas.frame(0, 0, WIDTH, HEIGHT, (170, 182, 200))
    skin.png(skin.skin_file(FOLDER, "body_back.png"), canvas)
    skin.ini(skin.skin_file(FOLDER, "body.ini"),
             [("BACK", [("x", X), ("y", Y), ("width", WIDTH), ("height", HEIGHT), ("back", "body_back.png")] +
               colour_keys("back_color", PANEL_BOTTOM))])
    skin.rect("base", "body", X, Y, WIDTH, HEIGHT)
