"""Drawing and ini writing of the skinned controls that many windows share: push buttons, check buttons,
backgrounds and font sets. A module calls these with its category's folder and records each rectangle."""

from skinlib import Canvas, mix, text_width

# The look of the default skin.
INK = (27, 47, 82)
PANEL_TOP = (233, 238, 245)
PANEL_BOTTOM = (201, 211, 226)
HEADER_TOP = (44, 74, 122)
HEADER_BOTTOM = (27, 47, 82)
ACCENT = (106, 140, 192)
WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)
GREY = (150, 150, 150)

# Button states in the order of their sections: normal, over, down, disabled.
BUTTON_SECTIONS = ("BTN_NORMAL", "BTN_OVER", "BTN_DOWN", "BTN_DISABLED")
CHECK_SECTIONS = ("CHK_OFF_NORMAL", "CHK_OFF_OVER", "CHK_OFF_DOWN", "CHK_OFF_DISABLED",
                  "CHK_ON_NORMAL", "CHK_ON_OVER", "CHK_ON_DOWN", "CHK_ON_DISABLED")
STATE_FACES = ((ACCENT, (74, 108, 160)), ((140, 170, 215), ACCENT), ((60, 90, 140), (40, 66, 110)),
               ((200, 200, 200), (170, 170, 170)))


def colour_keys(prefix, colour):
    return [(prefix + "_r", colour[0]), (prefix + "_g", colour[1]), (prefix + "_b", colour[2])]


def font_section(fonts, colour_key=MAGENTA):
    """[FONT] and [FONT_i] of a font set; `fonts`: (id, size, name, bold)."""
    sections = [("FONT", [("count", len(fonts))] + colour_keys("colorkey", colour_key))]
    for index, (font_id, size, name, bold) in enumerate(fonts):
        sections.append(("FONT_%d" % index, [("id", font_id), ("size", size), ("name", name), ("bold", bold)]))
    return sections


def button_face(width, height, state, label=None, glyph=None):
    """One state image of a push button: a rounded gradient face with an optional label or glyph."""
    top, bottom = STATE_FACES[state]
    canvas = Canvas(width, height, (0, 0, 0, 0))
    canvas.gradient(0, 0, width, height, top, bottom)
    canvas.frame(0, 0, width, height, mix(bottom, (0, 0, 0), 1, 3))
    for x, y in ((0, 0), (width - 1, 0), (0, height - 1), (width - 1, height - 1)):
        canvas.put(x, y, (0, 0, 0, 0))
    ink = GREY if state == 3 else WHITE
    if label:
        canvas.text((width - text_width(label)) // 2, (height - 7) // 2, label, ink)
    if glyph:
        glyph(canvas, ink)
    return canvas


def write_button(skin, category_path, name, x, y, width, height, label=None, glyph=None, text=None,
                 window=None):
    """"<name>.ini" with [BUTTON] and four state sections, and one PNG per state."""
    sections = [("BUTTON", [("x", x), ("y", y), ("width", width), ("height", height)] +
                 ([("text", text)] if text else []))]
    for state, section in enumerate(BUTTON_SECTIONS):
        image = "%s_%d.png" % (name, state)
        skin.png(skin.skin_file(category_path, image), button_face(width, height, state, label, glyph))
        sections.append((section, [("image", image)]))
    skin.ini(skin.skin_file(category_path, name + ".ini"), sections)
    if window:
        skin.rect(window, name, x, y, width, height)


def write_check(skin, category_path, name, x, y, size, window=None):
    """"<name>.ini" with [CHECK] and the eight state sections: a box, ticked in the on states."""
    sections = [("CHECK", [("x", x), ("y", y), ("width", size), ("height", size), ("image_offset_x", 0),
                           ("image_offset_y", 0)])]
    for index, section in enumerate(CHECK_SECTIONS):
        state = index % 4
        canvas = Canvas(size, size, WHITE if state != 3 else (220, 220, 220))
        canvas.frame(0, 0, size, size, INK if state != 1 else ACCENT)
        if index >= 4:
            canvas.line(3, size // 2, size // 2 - 1, size - 4, INK, 2)
            canvas.line(size // 2 - 1, size - 4, size - 4, 3, INK, 2)
        image = "%s_%d.png" % (name, index)
        skin.png(skin.skin_file(category_path, image), canvas)
        sections.append((section, [("image", image)]))
    skin.ini(skin.skin_file(category_path, name + ".ini"), sections)
    if window:
        skin.rect(window, name, x, y, size, size)


def panel(width, height, header=0, radius=0, outside=MAGENTA):
    """A window background: a gradient panel, an optional header band, optional rounded corners."""
    canvas = Canvas(width, height)
    canvas.gradient(0, 0, width, height, PANEL_TOP, PANEL_BOTTOM)
    if header:
        canvas.gradient(0, 0, width, header, HEADER_TOP, HEADER_BOTTOM)
        canvas.fill(0, header, width, 1, ACCENT)
    canvas.frame(0, 0, width, height, HEADER_BOTTOM)
    if radius:
        canvas.round_corners(radius, outside)
    return canvas
