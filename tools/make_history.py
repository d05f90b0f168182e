#!/usr/bin/env python3
"""Builds a product's version history for the fixture servers, the end-to-end tests, the demo and the benchmark.

Versions 1..N of a file tree are made deterministically from a seed: every version changes some files (a few
of them in every version), adds files (some flagged NEW) and deletes files. Written under <root>/<product>/:

  history.json                                             current version and one file list per installed
                                                           version 0..N-1 (read by the patch server)
  RegisteredHistory/<%08d version>/<name>.zip              each version of each file as one zlib stream
  RegisteredHistory/<%08d version>/<name>                  the same, raw, for files flagged NEW (kind 7)
  PatchArchive/<name>.zip/<%08d version>/PATCH.RTP         patch from the file's previous version to this one
                                                           (made by patchmaker.exe; target name = base name)
  expected/<name>                                          the tree at version N, to compare an installation with

Names use "/" on disk and "\\" in history.json. Versions 1..c of a history depend only on the seed and the
size options, so a run with --versions c gives the tree at version c (in its expected/) of a longer history.
"""

import argparse
import concurrent.futures
import json
import math
import os
import random
import shlex
import shutil
import subprocess
import sys
import time
import zlib

KIND_ZIP, KIND_RTP, KIND_RESERVED, KIND_DELETE, KIND_NEW, KIND_UNKNOWN = 1, 2, 5, 6, 7, 42

PRESETS = {
    # A few files of a few KB: tests and the demo.
    "small": dict(versions=5, files=10, min_size=1 << 10, max_size=24 << 10, big_files=0, big_size=0,
                  change_rate=0.3, hot_rate=0.2, add_rate=0.1, delete_rate=0.08, new_rate=0.5, level=19),
    # A few thousand files, several hundred MB: the benchmark.
    "large": dict(versions=4, files=3000, min_size=4 << 10, max_size=640 << 10, big_files=2, big_size=24 << 20,
                  change_rate=0.15, hot_rate=0.02, add_rate=0.02, delete_rate=0.01, new_rate=0.3, level=12),
}

FOLDERS = ["", "bin", "data", "data\\maps", "data\\sound", "data\\sound\\fx", "locale\\en", "locale\\de",
           "scripts", "textures\\ui", "textures\\world"]
EXTENSIONS = {"": "dat", "bin": "dll", "scripts": "lua", "locale\\en": "txt", "locale\\de": "txt"}
TEXT = (b"The quick brown fox jumps over the lazy dog. Map tiles, sound banks, scripts and textures follow. "
        b"function update(dt) local x = x + dt * speed end -- player state, inventory, quests and dialogue. ") * 40


class TrackedFile:
    """One file of the tree: its current bytes and the version of its newest change."""

    def __init__(self, name, content, version, new_kind, hot):
        self.name = name          # Windows name, backslashes
        self.content = content
        self.changed = version    # version of the newest change (= its registered version)
        self.previous = None      # bytes before the newest change (None: added in that version)
        self.new_kind = new_kind  # listed as kind 7 (NEW)
        self.hot = hot            # changes in every version

    def changed_to(self, content, version):
        copy = TrackedFile(self.name, content, version, self.new_kind, self.hot)
        copy.previous = self.content
        return copy


def make_content(rng, size):
    """Runs of noise between runs of text, so files compress somewhat and patches have structure to find."""
    pieces, total = [], 0
    while total < size:
        length = min(rng.randint(256, 8192), size - total)
        if rng.random() < 0.5:
            pieces.append(rng.randbytes(length))
        else:
            start = rng.randrange(len(TEXT) - length) if length < len(TEXT) else 0
            pieces.append(TEXT[start:start + length])
        total += length
    return b"".join(pieces)


def edit_content(rng, content):
    """A new version of a file: a few ranges overwritten, inserted or removed, sometimes a tail added."""
    data = bytearray(content)
    for _ in range(rng.randint(1, 4)):
        span = max(16, len(data) // rng.choice((50, 100, 400)))
        at = rng.randrange(len(data) + 1)
        operation = rng.choice(("overwrite", "overwrite", "insert", "remove", "append"))
        if operation == "overwrite":
            data[at:at + span] = rng.randbytes(span)
        elif operation == "insert":
            data[at:at] = make_content(rng, span)
        elif operation == "remove":
            del data[at:at + span]
        else:
            data += make_content(rng, span)
    if bytes(data) == content:
        data += b"\n"
    return bytes(data)


def file_size(rng, options):
    low, high = math.log(options.min_size), math.log(max(options.min_size, options.max_size))
    return int(math.exp(rng.uniform(low, high)))


def new_name(folder, serial):
    extension = EXTENSIONS.get(folder, "bin" if folder.startswith("textures") else "dat")
    stem = f"file{serial:05d}.{extension}"
    return f"{folder}\\{stem}" if folder else stem


def program_content(options, version):
    """game.exe of `version` when a real program stands in for it: the program's bytes and a trailer that
    names the version. The trailer lies past the program's last section, so every version still runs, and each
    version differs from the one before, as the hot file game.exe must."""
    trailer = f"\n-- demo build, version {version} --\n".encode("ascii") * (4 + version)
    return options.program_bytes + trailer


def first_version(options):
    rng = random.Random(f"{options.seed}:1")
    content = make_content(rng, file_size(rng, options))
    if options.program_bytes is not None:
        content = program_content(options, 1)
    files = {"game.exe": TrackedFile("game.exe", content, 1, False, True)}
    for serial in range(1, options.big_files + 1):
        name = f"data\\pack{serial:02d}.pak"
        files[name] = TrackedFile(name, make_content(rng, options.big_size), 1, False, True)
    for serial in range(1, options.files - len(files) + 1):
        name = new_name(rng.choice(FOLDERS), serial)
        files[name] = TrackedFile(name, make_content(rng, file_size(rng, options)), 1, False,
                                  rng.random() < options.hot_rate)
    return files


def next_version(options, files, version):
    """The tree of `version` from the tree before it; names are never used twice."""
    rng = random.Random(f"{options.seed}:{version}")
    tree, deleted = {}, []
    # Hot files stay for the patches between consecutive versions, NEW files so that the last version has some.
    candidates = sorted(name for name, f in files.items() if not f.hot and not f.new_kind)
    deletions = set(rng.sample(candidates, min(len(candidates), max(1, round(options.delete_rate * len(files))))))
    for name in sorted(files):
        f = files[name]
        if name in deletions:
            deleted.append(name)
        elif name == "game.exe" and options.program_bytes is not None:
            tree[name] = f.changed_to(program_content(options, version), version)
        elif f.hot or rng.random() < options.change_rate:
            tree[name] = f.changed_to(edit_content(rng, f.content), version)
        else:
            tree[name] = f
    for index in range(max(1, round(options.add_rate * len(files)))):
        serial = version * 1000 + index
        name = new_name(rng.choice(FOLDERS), serial)
        new_kind = rng.random() < options.new_rate or (version == 2 and index == 0 and options.new_rate > 0)
        tree[name] = TrackedFile(name, make_content(rng, file_size(rng, options)), version, new_kind, False)
    return tree, deleted


def base_name(name):
    """The patch's target name: the engine applies a patch in the folder of the file it changes."""
    return name.rsplit("\\", 1)[-1]


def disk_path(base, name):
    return os.path.join(base, *name.split("\\"))


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def write_registered(product_dir, trees, options, pool):
    """Whole files (zlib) and NEW files (raw) for every version in which a file changed."""
    work = []
    for version, tree in enumerate(trees, start=1):
        folder = os.path.join(product_dir, "RegisteredHistory", f"{version:08d}")
        for f in tree.values():
            if f.changed == version:
                work.append((disk_path(folder, f.name) + ("" if f.new_kind else ".zip"), f.content, f.new_kind))
    list(pool.map(lambda job: write_file(job[0], job[1] if job[2] else zlib.compress(job[1], options.zlib_level)),
                  work))
    return sum(len(job[1]) for job in work)


def patch_path_for(path, options):
    """How patchmaker.exe sees a path: under Wine the Unix root is drive Z:."""
    path = os.path.abspath(path)
    return "Z:" + path.replace("/", "\\") if options.patchmaker_paths == "wine" else path


def make_patches(product_dir, trees, options):
    """Every change of a file that is not NEW gets a patch from its previous bytes; returns the set of
    (name, version) that have one."""
    if not options.patchmaker:
        return set()
    work_dir = os.path.join(product_dir, ".work")
    jobs = []
    for version, tree in enumerate(trees, start=1):
        for f in tree.values():
            if f.changed == version and f.previous is not None and not f.new_kind:
                old_path = disk_path(os.path.join(work_dir, str(version), "old"), f.name)
                new_path = disk_path(os.path.join(work_dir, str(version), "new"), f.name)
                write_file(old_path, f.previous)
                write_file(new_path, f.content)
                output = disk_path(os.path.join(product_dir, "PatchArchive"), f.name) + f".zip/{version:08d}/PATCH.RTP"
                os.makedirs(os.path.dirname(output), exist_ok=True)
                jobs.append((len(f.content), f.name, version, old_path, new_path, output))
    run_patchmaker(work_dir, jobs, options)
    shutil.rmtree(work_dir)
    return {(job[1], job[2]) for job in jobs}


def run_patchmaker(work_dir, jobs, options):
    """Deals the jobs out to --jobs list files (largest first, to the lightest list) and runs one patchmaker
    process per list, all at once."""
    lists = [[0, []] for _ in range(max(1, min(options.jobs, len(jobs))))]
    for job in sorted(jobs, reverse=True):
        lightest = min(lists, key=lambda entry: entry[0])
        lightest[0] += job[0]
        lightest[1].append(job)
    processes = []
    for index, (_, assigned) in enumerate(lists):
        if not assigned:
            continue
        list_path = os.path.join(work_dir, f"patches-{index}.txt")
        lines = [f"{patch_path_for(old, options)}\t{patch_path_for(new, options)}\t{base_name(name)}\t"
                 f"{patch_path_for(output, options)}\n" for _, name, _, old, new, output in assigned]
        write_file(list_path, "".join(lines).encode("utf-8"))
        command = shlex.split(options.patchmaker) + ["--level", str(options.level), "--list",
                                                     patch_path_for(list_path, options)]
        processes.append(subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                          stdin=subprocess.DEVNULL))
    failed = False
    for process in processes:
        output = process.communicate()[0].decode("utf-8", "replace")
        if process.returncode != 0:
            failed = True
            sys.stderr.write(output)
    if failed:
        raise SystemExit("make_history: patchmaker failed")


def entry(kind, f, name=None, version=None):
    return {"seq": 0, "kind": kind, "size": len(f.content) if f else 0, "version": f.changed if f else version,
            "registered_version": f.changed if f else version, "crc": zlib.crc32(f.content) if f else 0,
            "name": name or f.name}


def file_list(trees, installed, patched, options, deleted_in):
    """The instructions that bring an installation of version `installed` (0: nothing) to the last version."""
    final, before = trees[-1], (trees[installed - 1] if installed > 0 else {})
    entries = []
    for name in sorted(final):
        f = final[name]
        if name in before and before[name].changed == f.changed:
            continue
        if f.new_kind:
            entries.append(entry(KIND_NEW, f))
        elif name in before and (name, f.changed) in patched:
            entries.append(entry(KIND_RTP, f))
        else:
            entries.append(entry(KIND_ZIP, f))
    for name in sorted(set(before) - set(final)):
        entries.append(entry(KIND_DELETE, None, name, deleted_in[name]))
    if options.odd_kinds:
        # Never downloaded: the engine counts them done, so the installation is the same with or without them.
        entries[1:1] = [entry(KIND_RESERVED, None, "extras\\reserved.dat", len(trees)),
                        entry(KIND_UNKNOWN, None, "extras\\unknown.dat", len(trees))]
    for seq, item in enumerate(entries, start=1):
        item["seq"] = seq
    return entries


def prepare_product_dir(product_dir):
    """Removes an earlier history of this product; refuses to remove a folder that is not one."""
    if os.path.isdir(product_dir) and os.listdir(product_dir):
        if not os.path.isfile(os.path.join(product_dir, "history.json")):
            raise SystemExit(f"make_history: {product_dir} exists and holds no history.json; not removing it")
        shutil.rmtree(product_dir)
    os.makedirs(product_dir, exist_ok=True)


def build(options):
    started = time.monotonic()
    product_dir = os.path.join(options.root, options.product)
    prepare_product_dir(product_dir)
    trees, deleted_in = [first_version(options)], {}
    for version in range(2, options.versions + 1):
        tree, deleted = next_version(options, trees[-1], version)
        deleted_in.update((name, version) for name in deleted)
        trees.append(tree)
    try:
        with concurrent.futures.ThreadPoolExecutor(options.jobs) as pool:
            whole_bytes = write_registered(product_dir, trees, options, pool)
            patched = make_patches(product_dir, trees, options)
            expected = os.path.join(product_dir, "expected")
            list(pool.map(lambda f: write_file(disk_path(expected, f.name), f.content), trees[-1].values()))
    except BaseException:
        # Half a history without history.json would make the next run refuse the folder.
        shutil.rmtree(product_dir, ignore_errors=True)
        raise
    history = {"product": options.product, "current_version": options.versions, "separate_status": 0,
               "updater_version": 1,
               "lists": {str(c): file_list(trees, c, patched, options, deleted_in) for c in range(options.versions)}}
    with open(os.path.join(product_dir, "history.json"), "w", encoding="utf-8") as out:
        json.dump(history, out, indent=1)
    final_bytes = sum(len(f.content) for f in trees[-1].values())
    print(f"make_history: {options.product} versions 1..{options.versions}: {len(trees[-1])} files, "
          f"{final_bytes} bytes at the last version; {whole_bytes} bytes of whole files, {len(patched)} patches; "
          f"{time.monotonic() - started:.1f} s")


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        description=__doc__.split("\n\n")[0],
        epilog=__doc__.split("\n\n", 1)[1] + "\nExample: make_history.py --root out --product DEMO "
               "--patchmaker \"build/wine-exec build/bin/patchmaker.exe\"",
        formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", required=True, help="folder that the HTTP fixture server serves")
    parser.add_argument("--product", default="DEMO", help="product code (default DEMO)")
    parser.add_argument("--preset", choices=sorted(PRESETS), default="small",
                        help="small: ~10 files of a few KB; large: ~3000 files, several hundred MB (default small)")
    parser.add_argument("--seed", type=int, default=1, help="the same seed gives the same history (default 1)")
    parser.add_argument("--versions", type=int, help="number of versions N (preset: 5 small, 4 large)")
    parser.add_argument("--files", type=int, help="files in version 1")
    parser.add_argument("--min-size", type=int, help="smallest file size in bytes")
    parser.add_argument("--max-size", type=int, help="largest file size in bytes (big files aside)")
    parser.add_argument("--patchmaker", help='command that runs patchmaker.exe, e.g. "build/wine-exec '
                        'build/bin/patchmaker.exe"; without it no patches are made and changed files are ZIP')
    parser.add_argument("--patchmaker-paths", choices=("wine", "native"),
                        default="native" if os.name == "nt" else "wine",
                        help="how paths are given to patchmaker: wine (Z:\\...) or native (default: wine "
                             "unless on Windows)")
    parser.add_argument("--level", type=int, help="zstd level of the patches (preset: 19 small, 12 large)")
    parser.add_argument("--zlib-level", type=int, default=6, help="zlib level of the whole files (default 6)")
    parser.add_argument("--jobs", type=int, default=4, help="patchmaker processes and writer threads (default 4)")
    parser.add_argument("--odd-kinds", action="store_true",
                        help="add a kind 5 entry and an entry of an unknown kind (42) to every list")
    parser.add_argument("--program", help="a program whose bytes stand in for game.exe in every version (each "
                        "version appends its own trailer), so that the installed game.exe runs")
    options = parser.parse_args(argv)
    options.program_bytes = None
    if options.program:
        with open(options.program, "rb") as program:
            options.program_bytes = program.read()
    for key, value in PRESETS[options.preset].items():
        if getattr(options, key, None) is None:
            setattr(options, key, value)
    if options.versions < 1 or options.files < 1 + options.big_files or options.min_size < 1:
        parser.error("need at least one version and more files than big files, of at least one byte")
    return options


if __name__ == "__main__":
    build(parse_arguments(sys.argv[1:]))
