"""The launcher window's own controls ("body.ini" and its children in category "body"): the notice ticker,
the search box and buttons, the post-page and banner views, the seven game action buttons, the progress bars
and the window's text boxes; then the game list panel ("list"), its header, the game buttons' layout
("game_button_info") with an animated state icon, badges and arrow; and the game popup menu
("game_popup_menu" of category "etc"). Runs after "body" (it writes body.ini again with body's BACK) and before
"messages" (it adds the texts it uses to the application table)."""

from controls import ACCENT, GREY, INK, PANEL_BOTTOM, WHITE, colour_keys, font_section, write_button
from modules import body, messages
from skinlib import Canvas

FOLDER = body.FOLDER
ETC = "etc"
WINDOW = "body"

BODY_FONTS = [("text", -12, "Tahoma", 0), ("bold", -12, "Tahoma", 1), ("title", -16, "Tahoma", 1),
              ("small", -11, "Tahoma", 0)]

# Places inside the launcher window (884 x 546).
LIST = (12, 40, 262, 496)
POST1 = (286, 40, 586, 214)
POST1_EXTENDED = (286, 40, 586, 334)
POST2 = (286, 260, 586, 114)
BANNER = (286, 380, 586, 50)
ACTION = (652, 486, 110, 40)
# The search box ends at the FIND button; it is wide enough for a hint such as "Search for a game, e.g. ..."
# (the portal's keyword texts), and the greeting's line ends where it begins.
SEARCH_EDIT = (520, 9, 240, 20)
USER_NICK = (420, 12, SEARCH_EDIT[0] - 4 - 420, 18)
FILECHECK = (768, 486, 104, 40)

# The game list's rows. The selected row shows the game's large icon (48 x 48 in the portal's catalogue) with
# the title beside it, so it is taller than a row; it overlaps its neighbours' margins only, never their icons
# or titles (which start ROW_CONTENT_Y below a row's top).
ROW_WIDTH = 256
ROW_HEIGHT = 42
ROW_CONTENT_Y = 13
LARGE_ICON = 48
SELECTED_ICON_Y = 4  # below the state border
SELECTED_HEIGHT = SELECTED_ICON_Y + LARGE_ICON + 2
SELECTED_TITLE_X = 8 + LARGE_ICON + 10
HEADER_HEIGHT = 32

APP_TEXTS = [
    ("tooltip_stop_update_all", "Stop updating all games"),
]


def text_keys(font, x, y, colour, align=0, text=None):
    keys = [("font_id", font), ("text_x", x), ("text_y", y), ("text_align", align)] + colour_keys("text_color",
                                                                                                   colour)
    return keys + ([("text", text)] if text is not None else [])


def place(rect):
    return [("x", rect[0]), ("y", rect[1]), ("width", rect[2]), ("height", rect[3])]


def write_view(skin, name, rect, extended=None):
    sections = [("BROWSER", place(rect))]
    if extended:
        sections.append(("EXTENDED", place(extended)))
    skin.ini(skin.skin_file(FOLDER, name + ".ini"), sections)
    skin.rect(WINDOW, name, *rect)


def write_progress(skin, name, x, y, width, height):
    empty = Canvas(width, height, (220, 226, 236))
    empty.frame(0, 0, width, height, GREY)
    full = Canvas(width, height)
    full.gradient(0, 0, width, height, (120, 200, 140), (40, 140, 70))
    full.frame(0, 0, width, height, (30, 100, 50))
    skin.png(skin.skin_file(FOLDER, name + "_empty.png"), empty)
    skin.png(skin.skin_file(FOLDER, name + "_full.png"), full)
    skin.ini(skin.skin_file(FOLDER, name + ".ini"),
             [("PROGRESS", [("x", x), ("y", y), ("width", width), ("height", height)]),
              ("PROGRESS_EMPTY", [("image", name + "_empty.png")]),
              ("PROGRESS_FULL", [("image", name + "_full.png")])])
    skin.rect(WINDOW, name, x, y, width, height)


def write_ticker(skin):
    skin.ini(skin.skin_file(FOLDER, "notice_text.ini"),
             [("BACK", [("x", 32), ("y", 10), ("width", 380), ("height", 20)]),
              ("NOTICE_TEXT", [("text", "Welcome to the portal"), ("show_time", 4000), ("h_scroll_speed", -40),
                               ("v_scroll_speed", 40)])])
    clear = Canvas(4, 20, (0, 0, 0, 0))
    skin.png(skin.skin_file(FOLDER, "notice_btn_face.png"), clear)
    sections = [("BUTTON", [("x", 0), ("y", 0), ("width", 4), ("height", 20)])]
    for section, colour in (("BTN_NORMAL", INK), ("BTN_OVER", ACCENT), ("BTN_DOWN", ACCENT), ("BTN_DISABLED", GREY)):
        sections.append((section, [("image", "notice_btn_face.png")] + text_keys("text", 0, 3, colour)))
    skin.ini(skin.skin_file(FOLDER, "notice_btn.ini"), sections)
    icon = Canvas(16, 16, (0, 0, 0, 0))
    icon.disc(8, 8, 7, ACCENT)
    icon.text(6, 4, "I", WHITE)
    skin.png(skin.skin_file(FOLDER, "notice_icon.png"), icon)
    skin.rect(WINDOW, "notice_text", 32, 10, 380, 20)


def write_top_row(skin):
    x, y, width, height = SEARCH_EDIT
    skin.ini(skin.skin_file(FOLDER, "search_edit.ini"),
             [("EDIT", [("x", x), ("y", y), ("width", width), ("height", height), ("font_id", "text")] +
               colour_keys("text_color", INK))])
    skin.rect(WINDOW, "search_edit", *SEARCH_EDIT)
    write_button(skin, FOLDER, "search_btn", 764, 8, 50, 22, label="FIND", window=WINDOW)
    write_button(skin, FOLDER, "home_btn", 818, 8, 26, 22, label="H", window=WINDOW)
    write_button(skin, FOLDER, "flashgame_btn", 848, 8, 26, 22, label="F", window=WINDOW)


def write_actions(skin):
    labels = [("install_btn", "INSTALL"), ("stop_install_btn", "CANCEL"), ("update_btn", "UPDATE"),
              ("stop_update_btn", "STOP"), ("run_btn", "PLAY")]
    for name, label in labels:
        write_button(skin, FOLDER, name, *ACTION, label=label, window=WINDOW)
    write_button(skin, FOLDER, "filecheck_btn", *FILECHECK, label="CHECK", window=WINDOW)
    write_button(skin, FOLDER, "patch_info_btn", 420, 442, 40, 18, label="INFO", window=WINDOW)
    write_progress(skin, "file_progress", 340, 490, 300, 12)
    write_progress(skin, "total_progress", 340, 512, 300, 12)


def write_body(skin):
    skin.rect(WINDOW, "user_nick", *USER_NICK)  # the greeting's line, up to the search box
    sections = [("BACK", [("x", body.X), ("y", body.Y), ("width", body.WIDTH), ("height", body.HEIGHT),
                          ("back", "body_back.png")] + colour_keys("back_color", PANEL_BOTTOM)),
                ("BUTTON_WAIT", [("time", 1500)])]
    sections += font_section(BODY_FONTS)
    sections += [
        ("USER_NICK_TEXT", text_keys("bold", 420, 12, INK, text="Hello, %s")),
        ("NOTICE_IMAGE", [("x", 12), ("y", 12), ("image", "notice_icon.png")]),
        ("GAME_TITLE_TEXT", text_keys("title", 286, 442, INK)),
        ("FILE_TEXT", text_keys("text", 286, 466, INK, text="File:")),
        ("CURR_FILE_TEXT", text_keys("text", 6, 0, ACCENT)),
        ("FILE_PATCHING_TEXT", text_keys("text", 6, 0, ACCENT, text="applying %s")),
        ("FILE_PROGRESS_TEXT", text_keys("small", 286, 489, INK, text="File")),
        ("TOTAL_PROGRESS_TEXT", text_keys("small", 286, 511, INK, text="Total")),
    ]
    skin.ini(skin.skin_file(FOLDER, "body.ini"), sections)


def write(skin):
    write_body(skin)
    write_ticker(skin)
    write_top_row(skin)
    write_view(skin, "postpage1_browser", POST1, POST1_EXTENDED)
    write_view(skin, "postpage2_browser", POST2)
    write_view(skin, "AD_browser", BANNER)
    write_actions(skin)
    write_game_list(skin)
    write_game_buttons(skin)
    write_popup_menu(skin)
    messages.APP_MESSAGES.extend(APP_TEXTS)


def write_game_list(skin):
    x, y, width, height = LIST
    back = Canvas(width, height, (244, 246, 250))
    back.frame(0, 0, width, height, (170, 182, 200))
    skin.png(skin.skin_file(FOLDER, "list_back.png"), back)
    globe = Canvas(16, 16, (0, 0, 0, 0))
    globe.disc(8, 8, 7, (60, 140, 90))
    skin.png(skin.skin_file(FOLDER, "region.png"), globe)
    skin.ini(skin.skin_file(FOLDER, "list.ini"),
             [("BACK", [("x", x), ("y", y), ("width", width), ("height", height), ("back", "list_back.png")] +
               colour_keys("back_color", (244, 246, 250)))] + font_section(BODY_FONTS) +
             [("REGION", [("x", 8), ("y", height - 22), ("image", "region.png")] +
               text_keys("small", 30, height - 19, INK))])
    skin.rect(WINDOW, "list", *LIST)
    header = Canvas(width, HEADER_HEIGHT)
    header.gradient(0, 0, width, HEADER_HEIGHT, (214, 222, 236), (190, 202, 222))
    skin.png(skin.skin_file(FOLDER, "list_header.png"), header)
    skin.ini(skin.skin_file(FOLDER, "list_header_installed_game.ini"),
             [("BACK", [("x", 0), ("y", 0), ("width", width), ("height", HEADER_HEIGHT),
                        ("back", "list_header.png")])])
    write_button(skin, FOLDER, "update_all_btn", 6, 5, 84, 22, label="UPDATE ALL", window="list_header")
    write_button(skin, FOLDER, "stop_update_all_btn", 94, 5, 84, 22, label="STOP ALL", window="list_header")
    write_button(skin, FOLDER, "installed_game_scroll_up_btn", 200, 5, 26, 22, label="U", window="list_header")
    write_button(skin, FOLDER, "installed_game_scroll_down_btn", 230, 5, 26, 22, label="D", window="list_header")
    write_button(skin, FOLDER, "select_region_btn", width - 66, height - 24, 60, 20, label="REGION", window="list")


def badge(letter, colour):
    canvas = Canvas(14, 12, colour)
    canvas.frame(0, 0, 14, 12, INK)
    canvas.text(5, 3, letter, WHITE)
    return canvas


def state_icons(skin):
    """The animated "updating" icon: a strip of four frames of a turning bar; still icons for the others."""
    strip = Canvas(64, 16, (0, 0, 0, 0))
    ends = [((8, 1), (8, 15)), ((3, 3), (13, 13)), ((1, 8), (15, 8)), ((13, 3), (3, 13))]
    for frame, (start, end) in enumerate(ends):
        strip.disc(frame * 16 + 8, 8, 7, (230, 236, 246))
        strip.line(frame * 16 + start[0], start[1], frame * 16 + end[0], end[1], ACCENT, 2)
    skin.png(skin.skin_file(FOLDER, "state_updating.png"), strip)
    skin.ini(skin.skin_file(FOLDER, "state_updating.ini"),
             [("IMAGE", [("frame_count", 4), ("frame_time", 120), ("image", "state_updating.png")])])
    for name, colour, mark in (("state_need_update", (230, 150, 40), "U"), ("state_latest", (60, 160, 90), "-"),
                               ("state_error", (200, 60, 60), "X"),
                               ("state_install_file_downloading", ACCENT, "D")):
        icon = Canvas(16, 16, (0, 0, 0, 0))
        icon.disc(8, 8, 7, colour)
        icon.text(6, 5, mark, WHITE)
        skin.png(skin.skin_file(FOLDER, name + ".png"), icon)


def write_game_buttons(skin):
    state_icons(skin)
    for letter, name, colour in (("E", "event", (200, 80, 80)), ("H", "hot", (230, 130, 40)),
                                 ("N", "new", (60, 150, 90)), ("B", "beta", (110, 110, 190))):
        skin.png(skin.skin_file(FOLDER, "badge_%s.png" % name), badge(letter, colour))
    arrow = Canvas(8, 12, (0, 0, 0, 0))
    for row in range(6):
        arrow.fill(row, row, 1, 12 - 2 * row, WHITE)
    skin.png(skin.skin_file(FOLDER, "arrow.png"), arrow)
    for name, colour in (("border_update", (230, 150, 40)), ("border_latest", (60, 160, 90)),
                         ("border_new", GREY)):
        border = Canvas(ROW_WIDTH, 4, colour)
        skin.png(skin.skin_file(FOLDER, name + ".png"), border)
    icons = ["state_updating", "state_need_update", "state_latest", "state_error", "state_install_file_downloading"]
    taller = SELECTED_HEIGHT - ROW_HEIGHT
    info = [("x", 3), ("y", 1), ("width", ROW_WIDTH), ("height", ROW_HEIGHT), ("selected_x", 0),
            ("selected_y", -(taller // 2)), ("selected_top_y", 0), ("selected_bottom_y", -taller),
            ("selected_width", ROW_WIDTH + 6), ("selected_height", SELECTED_HEIGHT), ("line_x", 6), ("line_y", 1),
            ("line_width", ROW_WIDTH - 6), ("line_height", 1)] + colour_keys("line_color", (210, 216, 226)) + \
        colour_keys("back_normal_color", (250, 251, 253)) + colour_keys("back_over_color", (226, 234, 248)) + \
        colour_keys("back_selected_color", (60, 90, 140)) + \
        [("game_icon_x", 8), ("game_icon_y", ROW_CONTENT_Y), ("selected_game_icon_x", 8),
         ("selected_game_icon_y", SELECTED_ICON_Y), ("event_max", 2), ("event_x", 6), ("event_offset", 16),
         ("event_y", ROW_CONTENT_Y + 2), ("event_image", "badge_event.png"), ("hot_image", "badge_hot.png"),
         ("new_image", "badge_new.png"), ("beta_image", "badge_beta.png"), ("arrow_image", "arrow.png"),
         ("arrow_x", ROW_WIDTH - 8), ("arrow_y", (SELECTED_HEIGHT - 12) // 2), ("state_icon_count", len(icons)),
         ("state_icon_x", ROW_WIDTH - 24), ("state_icon_y", ROW_CONTENT_Y), ("state_border_count", 3),
         ("state_border_x", 0), ("state_border_y", 0), ("state_text_count", 1), ("state_text_x", ROW_WIDTH - 30),
         ("state_text_y", ROW_CONTENT_Y + 2), ("state_text_align", 3)]
    sections = [("BUTTON_INFO", info)]
    for index, name in enumerate(icons):
        image = [("image_id", name)] if name == "state_updating" else [("image", name + ".png")]
        sections.append(("STATE_ICON_%d" % index, [("id", name)] + image))
    for index, (name, image) in enumerate((("state_need_update", "border_update.png"),
                                           ("state_latest", "border_latest.png"),
                                           ("state_not_installed", "border_new.png"))):
        sections.append(("STATE_BORDER_%d" % index, [("id", name), ("image", image)]))
    sections.append(("STATE_TEXT_0", [("id", "state_install_file_downloading")] +
                     text_keys("small", 0, 0, ACCENT, text="downloading")))
    sections += [("GAME_TEXT_NORMAL", text_keys("text", 30, ROW_CONTENT_Y + 1, INK)),
                 ("GAME_TEXT_OVER", text_keys("text", 30, ROW_CONTENT_Y + 1, ACCENT)),
                 ("GAME_TEXT_SELECTED", text_keys("title", SELECTED_TITLE_X, SELECTED_HEIGHT // 2, WHITE, align=4))]
    skin.ini(skin.skin_file(FOLDER, "game_button_info.ini"), sections)


def write_popup_menu(skin):
    rows = [("MENU_ITEM_INSTALL", "Install"), ("MENU_ITEM_STOP_INSTALL", "Cancel install"),
            ("MENU_ITEM_UPDATE", "Update"), ("MENU_ITEM_STOP_UPDATE", "Stop update"), ("MENU_ITEM_RUN", "Play"),
            ("MENU_ITEM_FILECHECK", "Check files"), ("MENU_ITEM_PATCH_INFO", "Home page")]
    sections = [("MENU", [("menu_item_width", 150), ("menu_item_height", 22), ("border_size", 1)] +
                 colour_keys("border_color", INK) + colour_keys("back_normal_color", (250, 251, 253)) +
                 colour_keys("back_over_color", (60, 90, 140)) + colour_keys("back_disabled_color", (236, 238, 242))),
                ("MENU_ITEM_NORMAL", text_keys("text", 10, 4, INK)),
                ("MENU_ITEM_OVER", text_keys("text", 10, 4, WHITE)),
                ("MENU_ITEM_DISABLED", text_keys("text", 10, 4, GREY))]
    sections += [(section, [("text", text)]) for section, text in rows]
    skin.ini(skin.skin_file(ETC, "game_popup_menu.ini"), sections)
