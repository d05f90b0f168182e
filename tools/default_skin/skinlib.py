"""What every default-skin module writes with: images drawn pixel by pixel, PNG and BMP files from our own
small writers, UTF-16LE ini files with the byte-order mark (the only form the skin loader reads), the skin
categories and the rectangles of the controls (for the window tests).

Paths given to the writers are relative to the output folder, which stands for the launcher's program folder:
skin files go under "data/skin/...".
"""

import json
import os
import struct
import zlib

SKIN_ROOT = "data/skin"


class Canvas:
    """An RGBA image, rows top to bottom; colours are (r, g, b) or (r, g, b, a) tuples."""

    def __init__(self, width, height, colour=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [rgba(colour)] * (width * height)

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = rgba(colour)

    def get(self, x, y):
        return self.pixels[y * self.width + x]

    def fill(self, x, y, width, height, colour):
        colour = rgba(colour)
        for row in range(max(0, y), min(self.height, y + height)):
            start = row * self.width
            for column in range(max(0, x), min(self.width, x + width)):
                self.pixels[start + column] = colour

    def gradient(self, x, y, width, height, top, bottom):
        for row in range(height):
            self.fill(x, y + row, width, 1, mix(top, bottom, row, max(1, height - 1)))

    def frame(self, x, y, width, height, colour):
        self.fill(x, y, width, 1, colour)
        self.fill(x, y + height - 1, width, 1, colour)
        self.fill(x, y, 1, height, colour)
        self.fill(x + width - 1, y, 1, height, colour)

    def round_corners(self, radius, outside):
        """Paints `outside` over every pixel beyond a rounded corner of the whole canvas."""
        w, h = self.width, self.height
        for y in range(h):
            for x in range(w):
                dx = radius - x if x < radius else (x - (w - radius - 1) if x >= w - radius else 0)
                dy = radius - y if y < radius else (y - (h - radius - 1) if y >= h - radius else 0)
                if dx * dx + dy * dy > radius * radius:
                    self.pixels[y * w + x] = rgba(outside)

    def disc(self, cx, cy, radius, colour):
        for y in range(int(cy - radius), int(cy + radius) + 1):
            for x in range(int(cx - radius), int(cx + radius) + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, thickness=1):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i / steps
            y = y0 + (y1 - y0) * i / steps
            self.fill(int(round(x - thickness / 2)), int(round(y - thickness / 2)), thickness, thickness, colour)

    def blit(self, source, x, y):
        for row in range(source.height):
            for column in range(source.width):
                self.put(x + column, y + row, source.get(column, row))

    def text(self, x, y, text, colour, scale=1):
        """Draws `text` in the small built-in 5 x 7 font (digits, capitals, a few marks)."""
        for character in text.upper():
            glyph = FONT.get(character, FONT["?"])
            for row, bits in enumerate(glyph):
                for column in range(5):
                    if bits & (0x10 >> column):
                        self.fill(x + column * scale, y + row * scale, scale, scale, colour)
            x += 6 * scale
        return x


def rgba(colour):
    return tuple(colour) if len(colour) == 4 else (colour[0], colour[1], colour[2], 255)


def mix(a, b, step, steps):
    a, b = rgba(a), rgba(b)
    return tuple(a[i] + (b[i] - a[i]) * step // steps for i in range(4))


def text_width(text, scale=1):
    return max(0, len(text) * 6 - 1) * scale


# 5 x 7 glyphs, one int of 5 bits per row.
FONT = {
    " ": [0, 0, 0, 0, 0, 0, 0],
    "?": [14, 17, 1, 2, 4, 0, 4],
    ".": [0, 0, 0, 0, 0, 12, 12],
    "-": [0, 0, 0, 31, 0, 0, 0],
    "_": [0, 0, 0, 0, 0, 0, 31],
    "X": [17, 17, 10, 4, 10, 17, 17],
    "0": [14, 17, 19, 21, 25, 17, 14], "1": [4, 12, 4, 4, 4, 4, 14], "2": [14, 17, 1, 2, 4, 8, 31],
    "3": [31, 2, 4, 2, 1, 17, 14], "4": [2, 6, 10, 18, 31, 2, 2], "5": [31, 16, 30, 1, 1, 17, 14],
    "6": [6, 8, 16, 30, 17, 17, 14], "7": [31, 1, 2, 4, 8, 8, 8], "8": [14, 17, 17, 14, 17, 17, 14],
    "9": [14, 17, 17, 15, 1, 2, 12],
    "A": [14, 17, 17, 31, 17, 17, 17], "B": [30, 17, 17, 30, 17, 17, 30], "C": [14, 17, 16, 16, 16, 17, 14],
    "D": [30, 17, 17, 17, 17, 17, 30], "E": [31, 16, 16, 30, 16, 16, 31], "F": [31, 16, 16, 30, 16, 16, 16],
    "G": [14, 17, 16, 23, 17, 17, 15], "H": [17, 17, 17, 31, 17, 17, 17], "I": [14, 4, 4, 4, 4, 4, 14],
    "J": [7, 2, 2, 2, 2, 18, 12], "K": [17, 18, 20, 24, 20, 18, 17], "L": [16, 16, 16, 16, 16, 16, 31],
    "M": [17, 27, 21, 21, 17, 17, 17], "N": [17, 17, 25, 21, 19, 17, 17], "O": [14, 17, 17, 17, 17, 17, 14],
    "P": [30, 17, 17, 30, 16, 16, 16], "Q": [14, 17, 17, 17, 21, 18, 13], "R": [30, 17, 17, 30, 20, 18, 17],
    "S": [15, 16, 16, 14, 1, 1, 30], "T": [31, 4, 4, 4, 4, 4, 4], "U": [17, 17, 17, 17, 17, 17, 14],
    "V": [17, 17, 17, 17, 17, 10, 4], "W": [17, 17, 17, 21, 21, 21, 10], "Y": [17, 17, 17, 10, 4, 4, 4],
    "Z": [31, 1, 2, 4, 8, 16, 31],
}


def png_bytes(canvas):
    raw = bytearray()
    for y in range(canvas.height):
        raw.append(0)
        for pixel in canvas.pixels[y * canvas.width:(y + 1) * canvas.width]:
            raw.extend(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def bmp_bytes(canvas):
    """A 24-bit bottom-up BMP; alpha is dropped (the skin's colour key stands in for it)."""
    row_bytes = (canvas.width * 3 + 3) & ~3
    data = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        for r, g, b, _ in canvas.pixels[y * canvas.width:(y + 1) * canvas.width]:
            data.extend((b, g, r))
        data.extend(b"\0" * (row_bytes - canvas.width * 3))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(data), 0, 0, 0, 0)
    return header + info + bytes(data)


def ico_bytes(canvases):
    """An icon file of 32-bit PNG-free (BMP) images, one per canvas, each at most 256 x 256."""
    images = []
    for canvas in canvases:
        xor = bytearray()
        for y in range(canvas.height - 1, -1, -1):
            for r, g, b, a in canvas.pixels[y * canvas.width:(y + 1) * canvas.width]:
                xor.extend((b, g, r, a))
        mask_row = ((canvas.width + 31) // 32) * 4
        mask = b"\0" * (mask_row * canvas.height)
        info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height * 2, 1, 32, 0, len(xor) + len(mask),
                           0, 0, 0, 0)
        images.append((canvas, info + bytes(xor) + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, data in images:
        out += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def ini_text(sections):
    """`sections`: a list of (name, [(key, value), ...]) or (name, {key: value}); values become text."""
    lines = []
    for name, keys in sections:
        lines.append("[%s]" % name)
        for key, value in (keys.items() if isinstance(keys, dict) else keys):
            lines.append("%s=%s" % (key, value))
    return "\r\n".join(lines) + "\r\n"


class Skin:
    """The output folder and what the modules told it: categories, files written, control rectangles."""

    def __init__(self, out_dir):
        self.out_dir = out_dir
        self.categories = []
        self.rects = {}
        self.files = []

    def path(self, relative):
        full = os.path.join(self.out_dir, *relative.replace("\\", "/").split("/"))
        os.makedirs(os.path.dirname(full), exist_ok=True)
        self.files.append(relative)
        return full

    def write_bytes(self, relative, data):
        with open(self.path(relative), "wb") as file:
            file.write(data)

    def ini(self, relative, sections):
        """Writes an ini as UTF-16LE with the byte-order mark."""
        self.write_bytes(relative, b"\xff\xfe" + ini_text(sections).encode("utf-16-le"))

    def png(self, relative, canvas):
        self.write_bytes(relative, png_bytes(canvas))

    def bmp(self, relative, canvas):
        self.write_bytes(relative, bmp_bytes(canvas))

    def ico(self, relative, canvases):
        self.write_bytes(relative, ico_bytes(canvases))

    def add_category(self, category_id, path, skin_path=None, skin_change=1):
        """A category of "skin_info.ini"; its files lie in data/skin/<path>."""
        self.categories.append((category_id, path, skin_path or path + "\\%s", skin_change))

    def skin_file(self, category_path, name):
        return "%s/%s/%s" % (SKIN_ROOT, category_path, name)

    def rect(self, window, control, x, y, width, height):
        """Records a control's rectangle (in its parent's coordinates) for the tests."""
        self.rects.setdefault(window, {})[control] = [x, y, width, height]

    def finish(self):
        sections = [("CATEGORY", [("count", len(self.categories))])]
        for index, (category_id, path, skin_path, skin_change) in enumerate(self.categories):
            sections.append(("CATEGORY_%d" % index, [("id", category_id), ("path", path),
                                                      ("skin_path", skin_path), ("skin_change", skin_change)]))
        self.ini(SKIN_ROOT + "/skin_info.ini", sections)
        with open(os.path.join(self.out_dir, "default_skin_rects.json"), "w", encoding="utf-8") as file:
            json.dump(self.rects, file, indent=1, sort_keys=True)
