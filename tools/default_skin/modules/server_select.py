"""The update-server selection dialog's skin ("ZEPHUpdateServerSelect/UpdateServerSelect.ini", images beside
it): background, OK and Cancel buttons, the list rows and the list's scroll bar."""

from controls import ACCENT, HEADER_BOTTOM, INK, MAGENTA, WHITE, button_face, colour_keys, panel


FOLDER = "ZEPHUpdateServerSelect"
WIDTH = 360
HEIGHT = 300
LIST_X, LIST_Y, ROW_WIDTH, ROW_HEIGHT, ROWS, GAP = 20, 50, 300, 24, 8, 2
BAR_X = LIST_X + ROW_WIDTH + 4
BAR_SIZE = 16
STATES = ("normal", "over", "down", "disabled")


def _button(skin, section, name, x, y, label):
    keys = [("x", x), ("y", y), ("width", 80), ("height", 26)]
    for state, look in enumerate(STATES):
        image = "%s_%s.png" % (name, look)
        skin.png("%s/%s" % (FOLDER, image), button_face(80, 26, state, label))
        keys.append(("image_" + look, image))
    skin.rect("server_select", name, x, y, 80, 26)
    return (section, keys)


def _scroll_bar(skin):
    height = ROWS * ROW_HEIGHT + (ROWS - 1) * GAP
    keys = [("x", BAR_X), ("y", LIST_Y), ("width", BAR_SIZE), ("height", height), ("button_size", BAR_SIZE),
            ("thumb_size", 30), ("vertical", 1), ("thumb_x", 0), ("thumb_y", 0),
            ("dec_x", 0), ("dec_y", 0), ("inc_x", 0), ("inc_y", height - BAR_SIZE)]
    for part, size in (("thumb", 30), ("dec", BAR_SIZE), ("inc", BAR_SIZE)):
        for state, look in enumerate(STATES):
            image = "bar_%s_%s.png" % (part, look)
            skin.png("%s/%s" % (FOLDER, image), button_face(BAR_SIZE, size, state))
            keys.append(("image_%s_%s" % (part, look), image))
    return ("UpdateServerSelectScrollBar", keys)


def write(skin):
    canvas = panel(WIDTH, HEIGHT, header=36, radius=10, outside=MAGENTA)
    canvas.text(16, 12, "CHOOSE A SERVER", WHITE, 2)
    list_height = ROWS * ROW_HEIGHT + (ROWS - 1) * GAP
    canvas.fill(LIST_X - 2, LIST_Y - 2, ROW_WIDTH + 4, list_height + 4, WHITE)
    canvas.frame(LIST_X - 2, LIST_Y - 2, ROW_WIDTH + 4, list_height + 4, HEADER_BOTTOM)
    skin.png(FOLDER + "/server_back.png", canvas)
    skin.ini(FOLDER + "/UpdateServerSelect.ini", [
        ("UpdateServerSelectDlg", [("width", WIDTH), ("height", HEIGHT), ("back", "server_back.png")] +
         colour_keys("colorkey", MAGENTA)),
        _button(skin, "UpdateServerSelectBtnOK", "server_ok", WIDTH // 2 - 88, HEIGHT - 40, "OK"),
        _button(skin, "UpdateServerSelectBtnCancel", "server_cancel", WIDTH // 2 + 8, HEIGHT - 40, "CANCEL"),
        ("UpdateServerSelectList", [("button_x", LIST_X), ("button_y", LIST_Y), ("button_width", ROW_WIDTH),
                                    ("button_height", ROW_HEIGHT), ("button_count", ROWS), ("button_gap", GAP),
                                    ("text_x", 6), ("text_y", 5), ("font_size", 14), ("font_name", "Tahoma"),
                                    ("font_charset", 0), ("font_bold", 0)] +
         colour_keys("color_normal_text", INK) + colour_keys("color_selected_back", ACCENT) +
         colour_keys("color_selected_border", HEADER_BOTTOM) + colour_keys("color_selected_text", WHITE) +
         colour_keys("color_disabled_text", (150, 150, 150))),
        _scroll_bar(skin),
    ])
    skin.rect("server_select", "list", LIST_X, LIST_Y, ROW_WIDTH, list_height)
