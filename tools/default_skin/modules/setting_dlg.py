"""The settings dialog ("setting_dlg.ini" of category "etc", 420 x 320): background, the [SETTING] images,
texts and controls of its three tabs with their enable groups (1: automatic update only, 2: not on Windows
9x), every child's skin file, the game-order list "game_list" with its scroll bar "game_list_scroll_bar".
Fonts are those of the category's font set (etc.py)."""

from controls import (ACCENT, HEADER_BOTTOM, INK, MAGENTA, WHITE, colour_keys, panel, write_button,
                      write_check)
from skinlib import Canvas, mix, text_width

FOLDER = "etc"
WINDOW = "setting_dlg"
WIDTH = 420
HEIGHT = 320
HEADER = 26
TABS = (("setting_general_tab", "GENERAL", 12), ("setting_update_tab", "UPDATE", 112),
        ("setting_gamelist_tab", "GAME LIST", 212))
LIST_X, LIST_Y, LIST_WIDTH, LIST_HEIGHT = 24, 76, 280, 200
ROW_WIDTH, ROW_HEIGHT, BAR_WIDTH = 264, 20, 16
GREY_TEXT = (120, 128, 140)
# Each tab's badge image, at the right of its first row.
BADGE_X, BADGE_Y, BADGE_SIZE = 372, 62, 32

# (tab, group, x, y, text, font): the labels of each tab.
LABELS = [
    ("setting_general_tab", 0, 24, 62, "General", "title"),
    ("setting_general_tab", 0, 48, 81, "Close the launcher when a game starts", "text"),
    ("setting_general_tab", 0, 48, 105, "Minimise to the tray instead of closing", "text"),
    ("setting_general_tab", 0, 48, 129, "Delete installers after installing", "text"),
    ("setting_general_tab", 0, 24, 151, "Download folder", "text"),
    ("setting_update_tab", 0, 24, 62, "Game updates", "title"),
    ("setting_update_tab", 2, 48, 81, "Update automatically while the computer is idle", "text"),
    ("setting_update_tab", 0, 48, 105, "Tell me when updates are waiting", "text"),
    ("setting_update_tab", 0, 48, 129, "Do not look for updates", "text"),
    ("setting_update_tab", 1, 48, 163, "Idle minutes", "text"),
    ("setting_update_tab", 1, 48, 189, "Processor use below %", "text"),
    ("setting_update_tab", 1, 48, 215, "Network use below %", "text"),
    ("setting_update_tab", 3, 48, 245, "Power off after an automatic update", "text"),
    ("setting_gamelist_tab", 0, 24, 56, "Order of the games", "title"),
]

# (tab, control, group): which child shows on which tab.
CONTROLS = [
    ("setting_general_tab", "close_launcher_chk", 0), ("setting_general_tab", "minimize_launcher_chk", 0),
    ("setting_general_tab", "delete_install_file_chk", 0), ("setting_general_tab", "download_path_edit", 0),
    ("setting_general_tab", "change_download_path_btn", 0), ("setting_update_tab", "auto_update_rad", 2),
    ("setting_update_tab", "manual_update_rad", 0), ("setting_update_tab", "auto_update_off_rad", 0),
    ("setting_update_tab", "idle_time_edit", 1), ("setting_update_tab", "cpu_usage_edit", 1),
    ("setting_update_tab", "network_usage_edit", 1), ("setting_update_tab", "shutdown_chk", 3),
    ("setting_gamelist_tab", "game_list", 0), ("setting_gamelist_tab", "game_list_top_btn", 0),
    ("setting_gamelist_tab", "game_list_bottom_btn", 0), ("setting_gamelist_tab", "game_list_up_btn", 0),
    ("setting_gamelist_tab", "game_list_down_btn", 0),
]

EDITS = (("download_path_edit", 24, 168, 300, 20), ("idle_time_edit", 220, 160, 50, 20),
         ("cpu_usage_edit", 220, 186, 50, 20), ("network_usage_edit", 220, 212, 50, 20))


def _close_glyph(canvas, ink):
    canvas.line(6, 6, canvas.width - 7, canvas.height - 7, ink, 2)
    canvas.line(canvas.width - 7, 6, 6, canvas.height - 7, ink, 2)


def _background(skin):
    canvas = panel(WIDTH, HEIGHT, HEADER, 8, MAGENTA)
    canvas.text(12, 10, "SETTINGS", WHITE)
    canvas.fill(12, 54, WIDTH - 24, 1, ACCENT)
    skin.png(skin.skin_file(FOLDER, "setting_back.png"), canvas)


def _tab(skin, name, label, x):
    faces = {"off": ((190, 202, 220), (170, 184, 206), INK), "over": ((210, 220, 234), (186, 200, 222), INK),
             "on": (ACCENT, (74, 108, 160), WHITE)}
    for face, (top, bottom, ink) in faces.items():
        canvas = Canvas(96, 24)
        canvas.gradient(0, 0, 96, 24, top, bottom)
        canvas.frame(0, 0, 96, 24, HEADER_BOTTOM)
        canvas.text((96 - text_width(label)) // 2, 9, label, ink)
        skin.png(skin.skin_file(FOLDER, "%s_%s.png" % (name, face)), canvas)
    images = (("TAB_OFF", "off"), ("TAB_OFF_OVER", "over"), ("TAB_ON", "on"), ("TAB_ON_OVER", "on"),
              ("TAB_ON_DOWN", "on"))
    skin.ini(skin.skin_file(FOLDER, name + ".ini"),
             [("TAB", [("x", x), ("y", 30), ("width", 96), ("height", 24)])] +
             [(section, [("image", "%s_%s.png" % (name, face))]) for section, face in images])
    skin.rect(WINDOW, name, x, 30, 96, 24)


def _edit(skin, name, x, y, width, height):
    skin.ini(skin.skin_file(FOLDER, name + ".ini"),
             [("EDIT", [("x", x), ("y", y), ("width", width), ("height", height), ("font_id", "text")] +
               colour_keys("text_color", INK) + colour_keys("disabled_back_color", (214, 219, 228)))])
    skin.rect(WINDOW, name, x, y, width, height)


def _tab_images(skin):
    # One badge per tab at the right of its first row, drawn with the tab's initial.
    for index, (tab, label, _) in enumerate(TABS):
        canvas = Canvas(BADGE_SIZE, BADGE_SIZE, (0, 0, 0, 0))
        canvas.disc(15, 15, 15, mix(ACCENT, INK, index, 3))
        canvas.text(13, 12, label[0], WHITE)
        skin.png(skin.skin_file(FOLDER, "setting_badge_%d.png" % index), canvas)


def _setting_sections():
    sections = [("SETTING", [("image_count", len(TABS)), ("text_count", len(LABELS)),
                             ("ctrl_count", len(CONTROLS))])]
    for index, (tab, _, _) in enumerate(TABS):
        sections.append(("SETTING_IMAGE_%d" % index, [("tab_id", tab), ("x", BADGE_X), ("y", BADGE_Y),
                                                       ("image", "setting_badge_%d.png" % index)]))
    for index, (tab, group, x, y, text, font) in enumerate(LABELS):
        sections.append(("SETTING_TEXT_%d" % index,
                         [("tab_id", tab), ("group", group), ("font_id", font), ("text", text), ("text_x", x),
                          ("text_y", y)] + colour_keys("text_color", INK) +
                         colour_keys("text_disabled_color", GREY_TEXT)))
    for index, (tab, name, group) in enumerate(CONTROLS):
        sections.append(("SETTING_CTRL_%d" % index, [("tab_id", tab), ("ctrl_id", name), ("group", group)]))
    return sections


def _game_list(skin):
    back = Canvas(LIST_WIDTH, LIST_HEIGHT, WHITE + (255,))
    back.frame(0, 0, LIST_WIDTH, LIST_HEIGHT, ACCENT)
    skin.png(skin.skin_file(FOLDER, "game_list_back.png"), back)
    looks = {"normal": (INK, WHITE), "over": (INK, (222, 231, 245)), "selected": (WHITE, ACCENT)}
    keys = [("btn_width", ROW_WIDTH), ("btn_height", ROW_HEIGHT), ("font_normal_id", "text"),
            ("font_over_id", "text"), ("font_selected_id", "button"), ("text_x", 8), ("text_y", ROW_HEIGHT // 2),
            ("text_align", 4)]
    for look, (text, row) in looks.items():
        keys += colour_keys("text_%s_color" % look, text) + colour_keys("back_%s_color" % look, row)
    skin.ini(skin.skin_file(FOLDER, "game_list.ini"),
             [("BACK", [("x", LIST_X), ("y", LIST_Y), ("width", LIST_WIDTH), ("height", LIST_HEIGHT),
                        ("back", "game_list_back.png")]), ("GAME_ORDER_LIST", keys)])
    skin.rect(WINDOW, "game_list", LIST_X, LIST_Y, LIST_WIDTH, LIST_HEIGHT)


def _scroll_bar(skin):
    states = (("NORMAL", ACCENT), ("OVER", (140, 170, 215)), ("DOWN", (60, 90, 140)), ("DISABLED", GREY_TEXT))
    sections = [("SCROLL_BAR", [("x", ROW_WIDTH), ("y", 0), ("width", BAR_WIDTH), ("height", LIST_HEIGHT),
                                ("button_size", BAR_WIDTH), ("thumb_size", 24), ("vertical", 1), ("inc_y",
                                LIST_HEIGHT - BAR_WIDTH)])]
    for state, colour in states:
        track = Canvas(BAR_WIDTH, LIST_HEIGHT, (226, 232, 242))
        track.fill(BAR_WIDTH // 2 - 1, 0, 2, LIST_HEIGHT, mix(colour, WHITE, 1, 2))
        thumb = Canvas(BAR_WIDTH, 24, colour)
        thumb.frame(0, 0, BAR_WIDTH, 24, INK)
        arrows = {}
        for part, up in (("DEC", True), ("INC", False)):
            arrow = Canvas(BAR_WIDTH, BAR_WIDTH, colour)
            for step in range(4):
                row = 5 + step if up else 10 - step
                arrow.fill(BAR_WIDTH // 2 - step - 1, row, 2 * step + 2, 1, WHITE)
            arrows[part] = arrow
        for part, canvas in (("BAR", track), ("THUMB", thumb), ("DEC", arrows["DEC"]), ("INC", arrows["INC"])):
            image = "game_list_scroll_%s_%s.png" % (part.lower(), state.lower())
            skin.png(skin.skin_file(FOLDER, image), canvas)
            sections.append(("SCR_%s_%s" % (part, state), [("image", image)]))
    skin.ini(skin.skin_file(FOLDER, "game_list_scroll_bar.ini"), sections)
    skin.rect("game_list", "game_list_scroll_bar", ROW_WIDTH, 0, BAR_WIDTH, LIST_HEIGHT)


def write(skin):
    _background(skin)
    _tab_images(skin)
    skin.ini(skin.skin_file(FOLDER, WINDOW + ".ini"),
             [("BACK", [("width", WIDTH), ("height", HEIGHT), ("back", "setting_back.png")] +
               colour_keys("colorkey", MAGENTA))] + _setting_sections())
    skin.rect(WINDOW, WINDOW, 0, 0, WIDTH, HEIGHT)
    write_button(skin, FOLDER, "setting_close_btn", 394, 3, 20, 20, glyph=_close_glyph, window=WINDOW)
    write_button(skin, FOLDER, "setting_ok_btn", 240, 284, 80, 24, label="OK", window=WINDOW)
    write_button(skin, FOLDER, "setting_cancel_btn", 330, 284, 80, 24, label="CANCEL", window=WINDOW)
    write_button(skin, FOLDER, "change_download_path_btn", 330, 166, 80, 24, label="BROWSE", window=WINDOW)
    # Below the tab's badge image.
    for index, (name, label) in enumerate((("game_list_top_btn", "TOP"), ("game_list_bottom_btn", "BOTTOM"),
                                           ("game_list_up_btn", "UP"), ("game_list_down_btn", "DOWN"))):
        write_button(skin, FOLDER, name, 320, BADGE_Y + BADGE_SIZE + 8 + 30 * index, 80, 24, label=label,
                     window=WINDOW)
    for name, _, x in TABS:
        _tab(skin, name, dict((tab, label) for tab, label, _ in TABS)[name], x)
    for index, name in enumerate(("close_launcher_chk", "minimize_launcher_chk", "delete_install_file_chk",
                                  "auto_update_rad", "manual_update_rad", "auto_update_off_rad")):
        write_check(skin, FOLDER, name, 24, 80 + 24 * (index % 3), 16, window=WINDOW)
    write_check(skin, FOLDER, "shutdown_chk", 24, 244, 16, window=WINDOW)
    for edit in EDITS:
        _edit(skin, *edit)
    _game_list(skin)
    _scroll_bar(skin)
