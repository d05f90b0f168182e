"""The launcher folder's skins: the default skin (made by tools/default_skin when it has a generator) and the
second skin "dusk" that one game of the demo catalogue names.

"dusk" is derived from the default skin: for every category of "data\\skin\\skin_info.ini" whose skin folder
takes the skin name ("%s" in skin_path), the files of the category's common folder are copied into the skin
folder of "dusk" (which the skin loader looks in first) with the colours of its images turned (red and blue exchanged), so that a skin change shows. One of those folders is
then stored as a pack archive ("<folder>.pak", ui/base/PackObject.h) instead of loose files, so that the demo
also reads skin files from a pack.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

import portal_formats as fmt

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_SKIN_GENERATOR = os.path.join(SOURCE_DIR, "tools", "default_skin", "make_default_skin.py")
SECOND_SKIN = "dusk"
# What the default skin's generator writes for the build and the window tests, not for a launcher folder.
BUILD_ONLY = ("default_skin_rects.json", "orvane.ico")


def write_default_skin(launcher):
    """Runs the default skin's generator (it writes a folder laid out like the program folder) and copies its
    files into the launcher folder; False when there is no generator yet."""
    if not os.path.exists(DEFAULT_SKIN_GENERATOR):
        print(f"make_demo_portal: no default skin generator ({DEFAULT_SKIN_GENERATOR}); the launcher folder "
              "has no data\\skin", file=sys.stderr)
        return False
    with tempfile.TemporaryDirectory() as scratch:
        out = os.path.join(scratch, "skin")
        subprocess.run([sys.executable, "-B", DEFAULT_SKIN_GENERATOR, out], check=True)
        # Everything it lays out like the program folder (data\\skin, the dialogs' skin folders, the message
        # tables), but not what only the build and the window tests use.
        for name in sorted(os.listdir(out)):
            source, target = os.path.join(out, name), os.path.join(launcher, name)
            if name in BUILD_ONLY:
                continue
            if os.path.isdir(source):
                shutil.copytree(source, target, dirs_exist_ok=True)
            else:
                shutil.copyfile(source, target)
    return os.path.exists(os.path.join(launcher, "data", "skin", "skin_info.ini"))


def read_utf16_ini(path):
    """{section: {key: value}} of an ini file with a byte-order mark (enough for skin_info.ini)."""
    with open(path, "rb") as source:
        data = source.read()
    text = data.decode("utf-16")
    sections, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            current = sections.setdefault(line[1:-1], {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            current[key.strip()] = value.strip()
    return sections


def skin_categories(skin_root):
    """(common folder, skin folder format) of the categories in skin_info.ini whose skin folder takes the skin
    name, in file order."""
    sections = read_utf16_ini(os.path.join(skin_root, "skin_info.ini"))
    count = int(sections.get("CATEGORY", {}).get("count", "0"))
    categories = []
    for index in range(count):
        section = sections.get(f"CATEGORY_{index}", {})
        path, pattern = section.get("path", ""), section.get("skin_path", "")
        if path and "%s" in pattern and (path, pattern) not in categories:
            categories.append((path, pattern))
    return categories


def turned_bmp(data):
    """A 24- or 32-bit uncompressed BMP with red and blue exchanged; other images unchanged."""
    if len(data) < 54 or data[:2] != b"BM":
        return data
    offset, = struct.unpack_from("<I", data, 10)
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression not in (0, 3):
        return data
    step = bits // 8
    stride = (abs(width) * step + 3) & ~3
    out = bytearray(data)
    for row in range(abs(height)):
        start = offset + row * stride
        for pixel in range(start, min(start + abs(width) * step, len(out) - 2), step):
            out[pixel], out[pixel + 2] = out[pixel + 2], out[pixel]
    return bytes(out)


def turned_png(data):
    """An 8-bit RGBA PNG whose rows are all unfiltered (as the default skin writes them), with red and blue
    exchanged; any other PNG unchanged."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return data
    position, chunks = 8, []
    while position + 8 <= len(data):
        length, kind = struct.unpack_from(">I4s", data, position)
        chunks.append((kind, data[position + 8:position + 8 + length]))
        position += 12 + length
    header = dict(chunks).get(b"IHDR", b"")
    if len(header) != 13 or header[8:13] != bytes([8, 6, 0, 0, 0]):
        return data
    width, height = struct.unpack_from(">II", header)
    raw = bytearray(zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT")))
    stride = 1 + width * 4
    if len(raw) != stride * height or any(raw[row * stride] != 0 for row in range(height)):
        return data
    for row in range(height):
        start = row * stride + 1
        for pixel in range(start, start + width * 4, 4):
            raw[pixel], raw[pixel + 2] = raw[pixel + 2], raw[pixel]
    return fmt.png(width, height, lambda x, y: raw[y * stride + 1 + x * 4:y * stride + 5 + x * 4])


def turned_image(name, data):
    lower = name.lower()
    if lower.endswith(".bmp"):
        return turned_bmp(data)
    if lower.endswith(".png"):
        return turned_png(data)
    return data


def write_second_skin(skin_root):
    """Writes "dusk" over the default skin's common folders; returns the folder stored as a pack, or None."""
    packed = None
    for path, pattern in skin_categories(skin_root):
        source = os.path.join(skin_root, *path.split("\\"))
        target = os.path.join(skin_root, *pattern.replace("%s", SECOND_SKIN).split("\\"))
        if not os.path.isdir(source):
            continue
        files = []
        for name in sorted(os.listdir(source)):
            file_path = os.path.join(source, name)
            if os.path.isfile(file_path):
                with open(file_path, "rb") as image:
                    data = image.read()
                files.append((name, turned_image(name, data)))
        if not files:
            continue
        if packed is None and all(len(n) < fmt.PACK_NAME_UNITS for n, _ in files):
            # One folder lives only in its pack archive: "<folder>.pak" stands for "<folder>".
            os.makedirs(os.path.dirname(target), exist_ok=True)
            with open(target + ".pak", "wb") as pack:
                pack.write(fmt.pack_archive(files))
            packed = os.path.relpath(target, skin_root).replace(os.sep, "\\")
            continue
        os.makedirs(target, exist_ok=True)
        for name, data in files:
            with open(os.path.join(target, name), "wb") as out:
                out.write(data)
    return packed


def write_skins(launcher, build):
    """Writes data\\skin into the launcher folder; returns the names of the skins written."""
    skin_root = os.path.join(launcher, "data", "skin")
    if os.path.isdir(skin_root):
        shutil.rmtree(skin_root)
    os.makedirs(skin_root)
    if not write_default_skin(launcher):
        return []
    packed = write_second_skin(skin_root)
    return ["default", SECOND_SKIN + (f" (pack: {packed}.pak)" if packed else "")]
