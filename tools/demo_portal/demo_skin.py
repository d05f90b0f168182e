"""The launcher folder's skins: the default skin (made by tools/default_skin when it has a generator) and the
second skin "dusk" that one game of the demo catalogue names.

"dusk" is derived from the default skin: for every category of "data\\skin\\skin_info.ini" whose skin folder
takes the skin name ("%s" in skin_path), the default skin's folder is copied under the name "dusk" with the
colours of its BMP images turned (red and blue exchanged), so that a skin change shows. One of those folders is
then stored as a pack archive ("<folder>.pak", ui/base/PackObject.h) instead of loose files, so that the demo
also reads skin files from a pack.
"""

import glob
import os
import shutil
import struct
import subprocess
import sys

import portal_formats as fmt

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_SKIN_GENERATOR = os.path.join(SOURCE_DIR, "tools", "default_skin", "make_default_skin.py")
SECOND_SKIN = "dusk"


def write_default_skin(skin_root, build):
    """Runs the default skin's generator into `skin_root`; False when there is none yet."""
    if not os.path.exists(DEFAULT_SKIN_GENERATOR):
        print(f"make_demo_portal: no default skin generator ({DEFAULT_SKIN_GENERATOR}); the launcher folder "
              "has no data\\skin", file=sys.stderr)
        return False
    subprocess.run([sys.executable, DEFAULT_SKIN_GENERATOR, "--out", skin_root, "--build", build], check=True)
    return os.path.exists(os.path.join(skin_root, "skin_info.ini"))


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


def skin_folder_patterns(skin_root):
    """The skin folder formats ("%s" = skin name) of the categories in skin_info.ini, in file order."""
    sections = read_utf16_ini(os.path.join(skin_root, "skin_info.ini"))
    count = int(sections.get("CATEGORY", {}).get("count", "0"))
    patterns = []
    for index in range(count):
        pattern = sections.get(f"CATEGORY_{index}", {}).get("skin_path", "")
        if "%s" in pattern and pattern not in patterns:
            patterns.append(pattern)
    return patterns


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


def write_second_skin(skin_root):
    """Copies the default skin's own folders as "dusk"; returns the folder stored as a pack, or None."""
    packed = None
    for pattern in skin_folder_patterns(skin_root):
        parts = pattern.split("\\")
        matches = sorted(glob.glob(os.path.join(skin_root, *[p.replace("%s", "*") for p in parts])))
        if not matches:
            continue
        source = matches[0]
        target = os.path.join(skin_root, *[p.replace("%s", SECOND_SKIN) for p in parts])
        if os.path.abspath(source) == os.path.abspath(target):
            continue
        files = []
        for name in sorted(os.listdir(source)):
            path = os.path.join(source, name)
            if os.path.isfile(path):
                with open(path, "rb") as image:
                    data = image.read()
                files.append((name, turned_bmp(data) if name.lower().endswith(".bmp") else data))
        if packed is None and files and all(len(n) < fmt.PACK_NAME_UNITS for n, _ in files):
            # One folder lives only in its pack archive: "<folder>.pak" stands for "<folder>".
            with open(target + ".pak", "wb") as pack:
                pack.write(fmt.pack_archive(files))
            packed = os.path.relpath(target, skin_root)
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
    if not write_default_skin(skin_root, build):
        return []
    packed = write_second_skin(skin_root)
    return ["default", SECOND_SKIN + (f" (pack: {packed}.pak)" if packed else "")]
