"""tools/make_history.py: every list of a generated history brings an installation of its version to the expected
tree when its entries are handled the way the engine handles them, and the patches fit the files they are
listed for. (The shorter histories that give the installations of each version come from the same seed, so the
replay also shows that a seed gives the same versions every time.)

Run by ctest with ORVANE_BUILD_DIR set (patches are then made by the build's patchmaker.exe under Wine); patches
are applied with the zstd program when it is installed, otherwise only their headers are checked.
"""

import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
GENERATOR = os.path.join(SOURCE_DIR, "tools", "make_history.py")
BUILD_DIR = os.environ.get("ORVANE_BUILD_DIR", "")
VERSIONS = 5


def generate(root, *arguments):
    return subprocess.run([sys.executable, GENERATOR, "--root", root, "--versions", str(VERSIONS), *arguments],
                          check=True, capture_output=True)


def read_tree(folder):
    tree = {}
    for directory, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(directory, name)
            with open(path, "rb") as source:
                tree[os.path.relpath(path, folder).replace(os.sep, "\\")] = source.read()
    return tree


def read(path):
    with open(path, "rb") as source:
        return source.read()


def split_patch(patch):
    """(old size, old CRC, new size, new CRC, target name, zstd frame) of a patch file."""
    assert patch[:4] == b"ORVP" and struct.unpack_from("<H", patch, 4)[0] == 1
    name_length = struct.unpack_from("<H", patch, 6)[0]
    fields = struct.unpack_from("<IIII", patch, 8)
    return (*fields, patch[24:24 + name_length].decode("utf-8"), patch[24 + name_length:])


def apply_with_zstd(frame, old, work):
    """The new bytes, or None when the zstd program is not installed."""
    zstd = shutil.which("zstd")
    if not zstd:
        return None
    old_path, frame_path = os.path.join(work, "old"), os.path.join(work, "frame")
    with open(old_path, "wb") as out:
        out.write(old)
    with open(frame_path, "wb") as out:
        out.write(frame)
    return subprocess.run([zstd, "-d", "-q", "-c", "--long=30", f"--patch-from={old_path}", frame_path],
                          check=True, capture_output=True).stdout


class GeneratedHistory(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="make_history_test-")
        cls.root = os.path.join(cls.work, "history")
        arguments = ["--odd-kinds"]
        patchmaker = os.path.join(BUILD_DIR, "bin", "patchmaker.exe")
        cls.with_patches = os.path.isfile(patchmaker)
        if cls.with_patches:
            arguments += ["--patchmaker", f"{os.path.join(BUILD_DIR, 'wine-exec')} {patchmaker}"]
        generate(cls.root, *arguments)
        cls.product = os.path.join(cls.root, "DEMO")
        with open(os.path.join(cls.product, "history.json"), encoding="utf-8") as source:
            cls.history = json.load(source)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work)

    def installation_at(self, version):
        """Files and records of an installation fresh at `version`: the tree and list "0" of a shorter history."""
        if version == 0:
            return {}, {}
        root = os.path.join(self.work, f"at-{version}")
        subprocess.run([sys.executable, GENERATOR, "--root", root, "--versions", str(version)], check=True,
                       capture_output=True)
        with open(os.path.join(root, "DEMO", "history.json"), encoding="utf-8") as source:
            records = {entry["name"]: entry for entry in json.load(source)["lists"]["0"] if entry["kind"] in (1, 7)}
        return read_tree(os.path.join(root, "DEMO", "expected")), records

    def fetch(self, entry, tree, records, counts):
        """The bytes an entry installs, choosing between patch and whole file as the engine does."""
        name, kind, slashed = entry["name"], entry["kind"], entry["name"].replace("\\", "/")
        record = records.get(name)
        if kind == 2 and (record is None or name not in tree or entry["version"] - record["version"] > 1):
            kind = 1
        if kind == 2:
            patch = read(os.path.join(self.product, "PatchArchive", f"{slashed}.zip", f"{entry['version']:08d}",
                                      "PATCH.RTP"))
            old_size, old_crc, new_size, new_crc, target, frame = split_patch(patch)
            self.assertEqual((old_size, old_crc), (len(tree[name]), zlib.crc32(tree[name])), name)
            self.assertEqual((new_size, new_crc, target), (entry["size"], entry["crc"], name.split("\\")[-1]))
            rebuilt = apply_with_zstd(frame, tree[name], self.work)
            if rebuilt is not None:
                counts["patched"] += 1
                return rebuilt
            kind = 1
        folder = os.path.join(self.product, "RegisteredHistory", f"{entry['registered_version']:08d}")
        if kind == 7:
            return read(os.path.join(folder, slashed))
        return zlib.decompress(read(os.path.join(folder, f"{slashed}.zip")))

    def test_every_list_brings_its_version_to_the_expected_tree(self):
        expected = read_tree(os.path.join(self.product, "expected"))
        self.assertEqual(VERSIONS, self.history["current_version"])
        self.assertEqual([str(v) for v in range(VERSIONS)], sorted(self.history["lists"]))
        counts = {"patched": 0}
        kinds_seen = set()
        for installed in range(VERSIONS):
            tree, records = self.installation_at(installed)
            entries = self.history["lists"][str(installed)]
            self.assertEqual(list(range(1, len(entries) + 1)), [entry["seq"] for entry in entries])
            for entry in entries:
                kinds_seen.add(entry["kind"])
                if entry["kind"] == 6:
                    self.assertIn(entry["name"], tree)
                    del tree[entry["name"]]
                elif entry["kind"] in (1, 2, 7):
                    data = self.fetch(entry, tree, records, counts)
                    self.assertEqual((entry["size"], entry["crc"]), (len(data), zlib.crc32(data)), entry["name"])
                    tree[entry["name"]] = data
            self.assertEqual(sorted(expected), sorted(tree), f"installed version {installed}")
            self.assertTrue(all(tree[name] == expected[name] for name in expected), f"installed {installed}")
        self.assertTrue({1, 5, 6, 7, 42} <= kinds_seen, kinds_seen)
        if self.with_patches:
            self.assertIn(2, kinds_seen)
            if shutil.which("zstd"):
                self.assertGreater(counts["patched"], 0)

    def test_help_is_clean_and_a_foreign_folder_is_not_removed(self):
        shown = subprocess.run([sys.executable, GENERATOR, "--help"], capture_output=True, text=True)
        self.assertEqual((0, ""), (shown.returncode, shown.stderr))
        self.assertIn("RegisteredHistory", shown.stdout)
        foreign = os.path.join(self.work, "foreign")
        os.makedirs(os.path.join(foreign, "DEMO"))
        with open(os.path.join(foreign, "DEMO", "keep.txt"), "w") as out:
            out.write("not a history")
        refused = subprocess.run([sys.executable, GENERATOR, "--root", foreign], capture_output=True)
        self.assertNotEqual(0, refused.returncode)
        self.assertTrue(os.path.isfile(os.path.join(foreign, "DEMO", "keep.txt")))

    def test_a_program_stands_in_for_game_exe_in_every_version(self):
        program = os.path.join(self.work, "program.exe")
        with open(program, "wb") as out:
            out.write(b"MZ" + bytes(range(256)) * 8)
        root = os.path.join(self.work, "with-program")
        generate(root, "--program", program)
        product = os.path.join(root, "DEMO")
        with open(program, "rb") as source:
            program_bytes = source.read()
        seen = set()
        for version in range(1, VERSIONS + 1):
            path = os.path.join(product, "RegisteredHistory", f"{version:08d}", "game.exe.zip")
            with open(path, "rb") as stored:
                content = zlib.decompress(stored.read())
            # Each version is the program itself with a trailer of its own behind it.
            self.assertTrue(content.startswith(program_bytes), version)
            seen.add(content)
        self.assertEqual(VERSIONS, len(seen))
        with open(os.path.join(product, "expected", "game.exe"), "rb") as final:
            self.assertTrue(final.read().startswith(program_bytes))


if __name__ == "__main__":
    unittest.main()
