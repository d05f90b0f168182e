"""The byte formats of the files that the demo portal and the launcher folder hold, written from plain values.

Every function here is pure (values in, bytes out), so the generator stays deterministic: the same values give
the same bytes.
"""

import struct
import zlib

# ---------------------------------------------------------------------------------------------------------------
# Text files

def utf16_ini(sections):
    """An ini file as the launcher's own ini reader takes it: UTF-16LE with the byte-order mark, CR LF lines.

    sections: list of (section name, list of (key, value)); values are formatted with str().
    """
    lines = []
    for name, pairs in sections:
        lines.append(f"[{name}]")
        lines.extend(f"{key}={value}" for key, value in pairs)
        lines.append("")
    return "\ufeff".encode("utf-16-le") + "\r\n".join(lines).encode("utf-16-le")


def ansi_ini(sections):
    """An ini file for the Windows profile functions (plain ASCII, CR LF lines)."""
    lines = []
    for name, pairs in sections:
        lines.append(f"[{name}]")
        lines.extend(f"{key}={value}" for key, value in pairs)
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def count_file(lines):
    """A catalogue file: line 1 the number of records, then one line per record (UTF-8, LF lines)."""
    return (f"{len(lines)}\n" + "".join(line + "\n" for line in lines)).encode("utf-8")


def fields_line(fields):
    """One '|'-separated catalogue line; no field may hold the separator or a line break."""
    for value in fields:
        if any(c in str(value) for c in "|\r\n"):
            raise ValueError(f"catalogue field {value!r} holds a separator")
    return "|".join(str(value) for value in fields)


# Field numbers of a game line (27 are read; 28 with the optional one).
GAME_LINE_FIELDS = 28


def game_line(game):
    """One game line of the game list from a game's values (see CatalogueText.h for the field table)."""
    fields = [""] * GAME_LINE_FIELDS
    fields[0] = f"{game['exe_name']}#0,0"
    fields[1] = game["server_addr"]
    fields[2] = game["file_host"]
    fields[6] = game["shortcut_args"]
    fields[9] = game["postpage1"]
    fields[10] = game["exe_path"]
    fields[12] = game["installer_url"]
    fields[14] = game["home"]
    fields[15] = game["title"]
    fields[16] = game["version"]
    fields[17] = game["id"]
    fields[18] = game["loader"]
    fields[20] = game["open"]
    fields[21] = game["icon_base"]
    fields[22] = game["icon_version"]
    fields[23] = game["options"]
    fields[24] = game["postpage2"]
    fields[25] = game["skin"]
    fields[26] = game["repository_sub"]
    return fields_line(fields)


def xml_escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def xml_records(root, record, records):
    """A small XML file: <root> with one <record> per dict, its keys as child elements (UTF-8)."""
    out = ['<?xml version="1.0" encoding="UTF-8"?>', f"<{root}>"]
    for values in records:
        out.append(f"  <{record}>")
        out.extend(f"    <{key}>{xml_escape(str(value))}</{key}>" for key, value in values.items())
        out.append(f"  </{record}>")
    out.append(f"</{root}>")
    return ("\n".join(out) + "\n").encode("utf-8")


# ---------------------------------------------------------------------------------------------------------------
# Pack archive ("<folder>.pak" stands for the folder; see ui/base/PackObject.h)

PACK_HEADER_SIZE, PACK_ENTRY_SIZE, PACK_NAME_UNITS = 12, 140, 64


def pack_archive(files):
    """files: list of (name without folder part, bytes), in table order."""
    table, data = b"", b""
    offset = PACK_HEADER_SIZE + PACK_ENTRY_SIZE * len(files)
    for name, content in files:
        encoded = name.encode("utf-16-le")
        if "\\" in name or "/" in name or len(encoded) // 2 >= PACK_NAME_UNITS:
            raise ValueError(f"pack entry name {name!r} has a folder part or is too long")
        table += encoded.ljust(PACK_NAME_UNITS * 2, b"\0") + struct.pack("<III", offset + len(data), len(content), 0)
        data += content
    return b"ORPK" + struct.pack("<II", len(files), 0) + table + data


# ---------------------------------------------------------------------------------------------------------------
# Images

def png(width, height, pixel):
    """An 8-bit RGBA PNG; pixel(x, y) -> (r, g, b, a)."""
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y)) for y in range(height))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) +
            chunk(b"IEND", b""))


def game_icon(size, colour, mark):
    """A game's icon: a rounded tile in the game's colour with a lighter diagonal band and a dark frame; `mark`
    (0..3) sets the band's direction, so the icons differ in shape as well as colour."""
    r, g, b = colour
    radius = size // 5

    def inside(x, y):
        cx = min(max(x, radius), size - 1 - radius)
        cy = min(max(y, radius), size - 1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius

    def pixel(x, y):
        if not inside(x, y):
            return (0, 0, 0, 0)
        if not (inside(x - 1, y) and inside(x + 1, y) and inside(x, y - 1) and inside(x, y + 1)):
            return (r // 3, g // 3, b // 3, 255)
        diagonal = (x + y) if mark % 2 == 0 else (x + size - y)
        if abs(diagonal - size) < size // 6 + mark:
            return (min(255, r + 90), min(255, g + 90), min(255, b + 90), 255)
        shade = 40 * y // size
        return (max(0, r - shade), max(0, g - shade), max(0, b - shade), 255)

    return png(size, size, pixel)


# ---------------------------------------------------------------------------------------------------------------
# Engine files of an installed game (the engine writes them after each update; see engine/ and tools/demo)

def signed_crc(crc):
    return crc - (1 << 32) if crc >= 1 << 31 else crc


def installed_file_list(entries):
    """"fileListInfo_<product>.dat": one UTF-16LE line per installed file, name:registered:version:size:crc."""
    lines = "".join(f"{e['name']}:{e['registered_version']}:{e['version']}:{e['size']}:{signed_crc(e['crc'])}\r\n"
                    for e in entries)
    return lines.encode("utf-16-le")


def engine_version_ini(version):
    return ansi_ini([("UpdInfo", [("CurrentVersion", version), ("SeparateStatus", 0), ("UpdaterVersion", 1)])])
