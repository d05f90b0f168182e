"""The shared category "etc": its font set ("etc.ini", loaded by the main dialog for every window of the
category), the message dialog and pop-up "message_wnd" with its three buttons, and the tool-tip "tooltip"."""

from controls import (HEADER_BOTTOM, INK, MAGENTA, PANEL_BOTTOM, WHITE, colour_keys, font_section, panel,
                      write_button)

FOLDER = "etc"
MESSAGE_WIDTH = 460
MESSAGE_HEIGHT = 150
BUTTON_WIDTH = 88
BUTTON_HEIGHT = 26


def _message_window(skin):
    canvas = panel(MESSAGE_WIDTH, MESSAGE_HEIGHT, header=24, radius=8, outside=MAGENTA)
    canvas.text(12, 8, "ORVANE", WHITE)
    skin.png(skin.skin_file(FOLDER, "message_back.png"), canvas)
    # One ini serves the modal dialog (size and colour key) and the pop-up (position, size, fill colour).
    skin.ini(skin.skin_file(FOLDER, "message_wnd.ini"),
             [("BACK", [("x", 0), ("y", 0), ("width", MESSAGE_WIDTH), ("height", MESSAGE_HEIGHT),
                        ("back", "message_back.png")] + colour_keys("colorkey", MAGENTA) +
               colour_keys("back_color", PANEL_BOTTOM)),
              ("MESSAGE", [("font_id", "text"), ("text_x", MESSAGE_WIDTH // 2), ("text_y", 62),
                           ("text_align", 5)] + colour_keys("text_color", INK))])
    skin.rect("message_wnd", "message_wnd", 0, 0, MESSAGE_WIDTH, MESSAGE_HEIGHT)
    y = MESSAGE_HEIGHT - BUTTON_HEIGHT - 14
    caption = [("font_id", "button"), ("text_x", BUTTON_WIDTH // 2), ("text_y", BUTTON_HEIGHT // 2),
               ("text_align", 5)] + colour_keys("text_color", WHITE)
    for name, x, text in (("message_wnd_ok1_btn", (MESSAGE_WIDTH - BUTTON_WIDTH) // 2, "OK"),
                          ("message_wnd_ok2_btn", MESSAGE_WIDTH // 2 - BUTTON_WIDTH - 8, "OK"),
                          ("message_wnd_cancel2_btn", MESSAGE_WIDTH // 2 + 8, "Cancel")):
        write_button(skin, FOLDER, name, x, y, BUTTON_WIDTH, BUTTON_HEIGHT, text=text, caption=caption,
                     window="message_wnd")


def _tooltip(skin):
    skin.ini(skin.skin_file(FOLDER, "tooltip.ini"),
             [("TOOLTIP", colour_keys("back_color", (255, 250, 220)) +
               [("wait_time", 500), ("show_time", 5000), ("font_id", "small"), ("text_x", 4), ("text_y", 3)] +
               colour_keys("text_color", HEADER_BOTTOM))])


def write(skin):
    skin.ini(skin.skin_file(FOLDER, "etc.ini"),
             font_section([("button", -12, "Tahoma", 1), ("text", -13, "Tahoma", 0),
                           ("title", -14, "Tahoma", 1), ("small", -11, "Tahoma", 0)]))
    _message_window(skin)
    _tooltip(skin)
