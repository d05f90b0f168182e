"""tools/default_skin: what a user reads and sees of the generated skin, read back from the files it writes: the
texts of the questions and error pop-ups, the selected game row, the settings dialog's tab images and the search
box. (The windows themselves are drawn under Wine by the window tests and the journey.)
"""

import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GENERATOR = os.path.join(SOURCE_DIR, "tools", "default_skin", "make_default_skin.py")
sys.path.insert(0, os.path.join(SOURCE_DIR, "tools", "demo_portal"))

import make_demo_portal  # noqa: E402

# The portal's icons (tools/demo_portal): small ones in the rows, large ones in the selected row.
SMALL_ICON = 16
LARGE_ICON = 48
# A sans-serif text is at most this wide per character, in ems (Tahoma and its stand-ins average about 0.5).
CHARACTER_WIDTH = 0.55
# What an edit control keeps free of text at its left and right.
EDIT_MARGINS = 6


def read_ini(path):
    """{section: {key: value}} of a UTF-16LE ini file with its byte-order mark (the only form the skin has)."""
    with open(path, "rb") as source:
        data = source.read()
    assert data[:2] == b"\xff\xfe", path
    sections, current = {}, None
    for line in data[2:].decode("utf-16-le").splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current[key] = value
    return sections


def png_size(path):
    with open(path, "rb") as source:
        header = source.read(24)
    return struct.unpack(">II", header[16:24])


def overlaps(a, b):
    """Whether rectangles (x, y, width, height) share a pixel."""
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


class DefaultSkinTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        subprocess.run([sys.executable, "-B", GENERATOR, cls.folder.name], check=True, capture_output=True)
        with open(os.path.join(cls.folder.name, "default_skin_rects.json"), encoding="utf-8") as source:
            cls.rects = json.load(source)
        cls.messages = cls.skin_ini("AppMessage.ini")["MESSAGE"]

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    @classmethod
    def skin_ini(cls, relative):
        return read_ini(os.path.join(cls.folder.name, "data", "skin", relative))

    def skin_png_size(self, relative):
        return png_size(os.path.join(self.folder.name, "data", "skin", relative))

    def test_every_error_pop_up_names_the_game_once_and_installer_errors_speak_of_the_installer(self):
        # The pop-up fills the game's title into the text's "%s"; any other placeholder would show as typed.
        for number in range(1, 22):
            key = "update_unknown_error" if number == 21 else "update_error_%d" % number
            text = self.messages[key]
            self.assertEqual(["%s"], re.findall(r"%.", text), key)
            self.assertEqual(number <= 8, "installer" in text, key)

    def test_the_installer_questions_say_what_each_button_does(self):
        captions = [self.skin_ini("etc/%s.ini" % name)["BUTTON"]["text"]
                    for name in ("message_wnd_ok2_btn", "message_wnd_cancel2_btn")]
        for key in ("run_installer", "resume_installer"):
            for caption in captions:
                self.assertIn(caption + ":", self.messages[key], key)

    def test_the_selected_row_shows_its_large_icon_whole_beside_its_title_and_leaves_its_neighbours_seen(self):
        info = self.skin_ini("body/game_button_info.ini")
        layout = {key: int(value) for key, value in info["BUTTON_INFO"].items() if re.fullmatch(r"-?\d+", value)}
        icon_x, icon_y = layout["selected_game_icon_x"], layout["selected_game_icon_y"]
        self.assertGreaterEqual(icon_y, 0)
        self.assertLessEqual(icon_y + LARGE_ICON, layout["selected_height"])
        title = info["GAME_TEXT_SELECTED"]
        self.assertIn(int(title.get("text_align", 0)), (0, 1, 4, 7), "a title that starts at its x")
        self.assertGreaterEqual(int(title["text_x"]), icon_x + LARGE_ICON)

        # A row's content (icon, title, badges, state icon), from the row's top.
        fonts = self.skin_ini("body/body.ini")
        sizes = {fonts["FONT_%d" % i]["id"]: abs(int(fonts["FONT_%d" % i]["size"]))
                 for i in range(int(fonts["FONT"]["count"]))}
        text = info["GAME_TEXT_NORMAL"]
        badge_height = self.skin_png_size("body/badge_event.png")[1]
        state_height = self.skin_png_size("body/state_need_update.png")[1]
        spans = [(layout["game_icon_y"], SMALL_ICON), (layout["event_y"], badge_height),
                 (layout["state_icon_y"], state_height), (int(text["text_y"]), sizes[text["font_id"]] + 3)]
        content_top = layout["y"] + min(top for top, _ in spans)
        content_bottom = layout["y"] + max(top + height for top, height in spans)
        pitch = layout["height"] + layout["line_y"] + layout["line_height"]
        # The selected picture as the first, a middle and the last visible row, from its slot's top.
        for name, neighbours in (("selected_top_y", (1,)), ("selected_y", (-1, 1)), ("selected_bottom_y", (-1,))):
            top = layout[name]
            bottom = top + layout["selected_height"]
            for neighbour in neighbours:
                self.assertTrue(bottom <= neighbour * pitch + content_top or
                                top >= neighbour * pitch + content_bottom, (name, neighbour))

    def test_no_image_of_a_settings_tab_lies_under_a_control_shown_with_it(self):
        dialog = self.skin_ini("etc/setting_dlg.ini")
        places = self.rects["setting_dlg"]
        counts = dialog["SETTING"]
        on_every_tab = ["setting_close_btn", "setting_ok_btn", "setting_cancel_btn", "setting_general_tab",
                        "setting_update_tab", "setting_gamelist_tab"]
        controls = [dialog["SETTING_CTRL_%d" % i] for i in range(int(counts["ctrl_count"]))]
        for i in range(int(counts["image_count"])):
            image = dialog["SETTING_IMAGE_%d" % i]
            width, height = self.skin_png_size("etc/" + image["image"])
            place = (int(image["x"]), int(image["y"]), width, height)
            names = on_every_tab + [c["ctrl_id"] for c in controls if c["tab_id"] == image["tab_id"]]
            for name in names:
                self.assertFalse(overlaps(place, places[name]), (image["tab_id"], image["image"], name))

    def test_the_search_box_holds_each_hint_of_the_portal(self):
        edit = self.skin_ini("body/search_edit.ini")["EDIT"]
        fonts = self.skin_ini("body/body.ini")
        size = next(abs(int(fonts["FONT_%d" % i]["size"])) for i in range(int(fonts["FONT"]["count"]))
                    if fonts["FONT_%d" % i]["id"] == edit["font_id"])
        for hint, *_ in make_demo_portal.KEYWORDS:
            self.assertLessEqual(len(hint) * CHARACTER_WIDTH * size, int(edit["width"]) - EDIT_MARGINS, hint)
        self.assertFalse(overlaps(self.rects["body"]["search_edit"], self.rects["body"]["search_btn"]))
        self.assertFalse(overlaps(self.rects["body"]["search_edit"], self.rects["body"]["user_nick"]))


if __name__ == "__main__":
    unittest.main()
