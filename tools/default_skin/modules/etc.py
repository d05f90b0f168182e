"""The shared category "etc": its font set ("etc.ini", loaded by the main dialog for every window of the
category), the message dialog "message_wnd" with its buttons and the tool-tip "tooltip"."""

from controls import font_section

FOLDER = "etc"


def write(skin):
    skin.ini(skin.skin_file(FOLDER, "etc.ini"),
             font_section([("button", -12, "Tahoma", 1), ("text", -12, "Tahoma", 0),
                           ("title", -14, "Tahoma", 1), ("small", -11, "Tahoma", 0)]))
