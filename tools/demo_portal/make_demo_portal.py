"""Writes a demo game portal and a launcher folder that uses it, for `make demo` and the end-to-end tests.

    make_demo_portal.py --out DIR --host ADDRESS:PORT --build BUILD_DIR [--launcher-program PATH]

The portal (DIR/portal, served by tests/fixtures/http_server.py at ADDRESS:PORT; tests/fixtures/patch_server.py
serves its version history on ADDRESS:27500 with --game-info-number 7):

  GameInfo/7/GGI_3_ORVANE.info, GGI_3.info     the announced launcher version (2)
  GameInfo/7/MLI_3.info                        top menu: PostOfHome, Support, Home, FlashGame
  GameInfo/7/GLI_3.info, GLI_3_RUNE.info       six games (see GAMES)
  GameInfo/7/GBI_3.info, GBI_3_RUNE.info       their versions
  GameInfo/7/LMODE_RUNE.info                   launch mode: the whole list, not only the start game
  notice.xml, keyword.xml                      one-line notices and search keywords
  locallist.xml                                two update servers; the second is older than the installed game
  system/ORVANE.2.cab                          the launcher's self-update package (gcab)
  RUNE/...                                     the start game's version history (tools/make_history.py), whose
                                               game.exe is the stand-in game program
  installers/<name>.exe                        installers: the stand-in program, which records its start
  icons/<id>/sicon.png, icon.png               the games' icons
  pages/<id>/*.html, banner.html               the pages that the catalogue names

The launcher folder (DIR/launcher): orvaneLauncher.exe (when built; --launcher-program takes another build of
it under that name, here and in the self-update, such as the end-to-end tests' one), QVTesserel.dll,
patchw32.dll, an empty "unicows.dll" (the self-update copies it), "LauncherMessage.ini", "KILL.ini",
"ZEPHLauncherInfo.ini" (no server, version 1), "LauncherParam.dat" (signed with the test key, which only the
Makefile's builds trust), the default skin (data\\skin and the dialogs' skin folders) when tools/default_skin
has a generator, a second skin "dusk" that one game names,
and the start game installed at version 3.

DIR/demo-portal.json names what a driver needs: the address, the command lines (the one that selects the
parameter file and a second one for the hand-over), the game ids, the versions. The same arguments give the
same files.
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)

import portal_formats as fmt  # noqa: E402
import demo_skin  # noqa: E402

GAME_INFO_NUMBER = 7
COMPANY_ID = 3
LAUNCHER_ID = "ORVANE"
START_GAME = "RUNE"
HISTORY_VERSIONS = 5
INSTALLED_VERSION = 3
LAUNCHER_VERSION_INSTALLED = 1
LAUNCHER_VERSION_ANNOUNCED = 2
FIXED_TIME = 1262304000  # 2010-01-01: file times inside the cabinet, so that it is the same every time

# The six games: the engine-managed start game, one with an installer and the second skin, a loader-0 game
# whose calling page is ended before it starts (KILL.ini), a blocked one, and two more for badges and order.
GAMES = [
    dict(id="RUNE", title="Runestone Saga", loader=1, version=HISTORY_VERSIONS, open=1, options=1, skin="",
         colour=(52, 120, 200), installer=""),
    dict(id="SKYF", title="Skyforge Tactics", loader=1, version=4, open=1, options=2, skin="dusk",
         colour=(200, 96, 40), installer="SkyforgeSetup.exe"),
    dict(id="PUZL", title="Puzzle Harbour", loader=0, version=1, open=1, options=4, skin="",
         colour=(60, 170, 90), installer="PuzzleHarbourSetup.exe"),
    dict(id="VALT", title="Iron Vault", loader=1, version=2, open=0, options=0, skin="",
         colour=(110, 110, 120), installer="IronVaultSetup.exe"),
    dict(id="KART", title="Kart Rally", loader=0, version=1, open=1, options=8, skin="",
         colour=(210, 180, 40), installer="KartRallySetup.exe"),
    dict(id="CHES", title="Chess Hall", loader=1, version=3, open=1, options=3, skin="",
         colour=(150, 70, 160), installer="ChessHallSetup.exe"),
]

NOTICES = [
    ("Runestone Saga: the winter chapter is out", "pages/RUNE/news.html"),
    ("Skyforge Tactics opens its second season", "pages/SKYF/news.html"),
    ("Maintenance on Thursday from 06:00 to 08:00", "pages/maintenance.html"),
]
KEYWORDS = [
    ("Search for a game, e.g. Runestone", "game", "Runestone", "games", "pages/RUNE/home.html"),
    ("Kart Rally tournaments", "event", "Kart Rally", "events", "pages/KART/home.html"),
]
MENU = [(1, "PostOfHome", "pages/post.html", 1), (2, "Support", "pages/support.html", 0),
        (3, "Home", "pages/home.html", 0), (4, "FlashGame", "pages/flash.html", 0)]

LAUNCHER_MESSAGES = [
    ("Launcher", "Orvane Launcher"), ("error", "Orvane Launcher"), ("initializing", "Starting the launcher..."),
    ("invalid version", "The launcher's version cannot be read."),
    ("invalid path", "The launcher cannot find its folder."),
    ("cannot create mutex", "The launcher cannot start (mutex)."),
    ("launcher is not closed", "Another launcher is still running. Close it and try again."),
    ("update failed", "The launcher could not be updated. Please try again later."),
    ("update aborted", "The launcher update was cancelled."),
    ("cannot restart launcher", "The updated launcher could not be started."),
    ("cannot restart updater", "The launcher update could not be started."),
    ("cannot download server info", "The list of update servers could not be downloaded."),
    ("invalid server info", "The list of update servers cannot be read."),
    ("server is not selected", "No update server was chosen."),
    ("cannot load resource", "The launcher's skin cannot be loaded."),
    ("cannot init", "The game list cannot be loaded."),
    ("invalid resource", "The launcher's texts cannot be loaded."),
    ("cannot load icons", "The game icons cannot be loaded."),
]
LAUNCHER_FONT = [("size", 14), ("name", "Arial"), ("charset", 0), ("gap_x", 8), ("gap_y", 6)]


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def game_values(game, host):
    """A game's catalogue values from the table above."""
    gid = game["id"]
    base = f"http://{host}"
    return dict(game, exe_name="game", exe_path="game.exe", server_addr=host.split(":")[0], file_host=host,
                shortcut_args="/demo" if gid == START_GAME else "0",
                postpage1=f"{base}/pages/{gid}/post1.html", postpage2=f"{base}/pages/{gid}/post2.html",
                home=f"{base}/pages/{gid}/home.html",
                installer_url=f"{base}/installers/{game['installer']}" if game["installer"] else "",
                icon_base=f"{base}/icons/{gid}", icon_version=1, repository_sub=f"repo/{gid.lower()}")


def write_catalogue(portal, host):
    folder = os.path.join(portal, "GameInfo", str(GAME_INFO_NUMBER))
    games = [fmt.game_line(game_values(g, host)) for g in GAMES]
    versions = [fmt.fields_line([g["id"], g["version"], g["open"], g["options"]]) for g in GAMES]
    menu = [fmt.fields_line([i, name, f"http://{host}/{url}", value]) for i, name, url, value in MENU]
    launcher = [f"{LAUNCHER_ID}#{LAUNCHER_VERSION_ANNOUNCED},0"]
    files = {
        f"GGI_{COMPANY_ID}_{LAUNCHER_ID}.info": fmt.count_file(launcher),
        f"GGI_{COMPANY_ID}.info": fmt.count_file(launcher),
        f"MLI_{COMPANY_ID}.info": fmt.count_file(menu),
        # The start-game mode reads the list named after the start game; the launch mode below keeps it off,
        # but both names serve the whole list.
        f"GLI_{COMPANY_ID}.info": fmt.count_file(games),
        f"GLI_{COMPANY_ID}_{START_GAME}.info": fmt.count_file(games),
        f"GBI_{COMPANY_ID}.info": fmt.count_file(versions),
        f"GBI_{COMPANY_ID}_{START_GAME}.info": fmt.count_file(versions),
        # A count line and two "key:value" lines (the count must be at least 2).
        f"LMODE_{START_GAME}.info": b"2\nUseOrvane:1\nUpdateViaOrvane:1\n",
    }
    for name, data in files.items():
        write(os.path.join(folder, name), data)


def write_texts(portal, host):
    write(os.path.join(portal, "notice.xml"),
          fmt.xml_records("notices", "notice",
                          [dict(subject=s, url=f"http://{host}/{u}") for s, u in NOTICES]))
    write(os.path.join(portal, "keyword.xml"),
          fmt.xml_records("keywords", "item",
                          [dict(view_content=v, link_type=t, keyword=k, section=s, href=f"http://{host}/{h}")
                           for v, t, k, s, h in KEYWORDS]))
    write(os.path.join(portal, "locallist.xml"),
          fmt.xml_records("LocalList", "Local", [
              dict(local_name="Loopback portal", lupdate_addr=host, current_version=HISTORY_VERSIONS,
                   separate_version=0),
              dict(local_name="Old mirror", lupdate_addr=f"{host}/old", current_version=INSTALLED_VERSION - 1,
                   separate_version=0)]))


def write_pages(portal):
    pages = ["banner.html", "pages/post.html", "pages/support.html", "pages/home.html", "pages/flash.html",
             "pages/maintenance.html"]
    for game in GAMES:
        pages += [f"pages/{game['id']}/{name}.html" for name in ("home", "post1", "post2", "news")]
    for page in pages:
        title = page.rsplit("/", 1)[-1][:-5]
        write(os.path.join(portal, *page.split("/")),
              f"<html><head><title>{title}</title></head><body><h1>{page}</h1></body></html>\n".encode())


def write_icons(portal):
    for mark, game in enumerate(GAMES):
        for name, size in (("sicon.png", 16), ("icon.png", 48)):
            write(os.path.join(portal, "icons", game["id"], name), fmt.game_icon(size, game["colour"], mark))


def run(command, **kwargs):
    result = subprocess.run(command, capture_output=True, text=True, **kwargs)
    if result.returncode != 0:
        raise SystemExit(f"make_demo_portal: {' '.join(command)} failed:\n{result.stdout}{result.stderr}")
    return result.stdout


def write_history(out, portal, launcher, build, options):
    """The start game's history, and the launcher folder holding that game at the installed version."""
    program = os.path.join(build, "bin", "orvane_fake_game.exe")
    common = [sys.executable, os.path.join(SOURCE_DIR, "tools", "make_history.py"), "--product", START_GAME,
              "--program", program, "--jobs", "2"]
    patchmaker = os.path.join(build, "bin", "patchmaker.exe")
    with_patches = []
    if os.path.exists(patchmaker) and not options.no_patches:
        with_patches = ["--patchmaker", f"{build}/wine-exec {patchmaker}"]
    run(common + ["--root", portal, "--versions", str(HISTORY_VERSIONS)] + with_patches)
    # The shorter history of the same seed is the tree at the installed version, and its fresh-install list
    # holds exactly the records of an installation of that version.
    installed_root = os.path.join(out, "work", "installed-history")
    run(common + ["--root", installed_root, "--versions", str(INSTALLED_VERSION)])
    installed = os.path.join(installed_root, START_GAME)
    shutil.copytree(os.path.join(installed, "expected"), launcher, dirs_exist_ok=True)
    with open(os.path.join(installed, "history.json"), encoding="utf-8") as source:
        entries = [e for e in json.load(source)["lists"]["0"] if e["kind"] in (1, 7)]
    write(os.path.join(launcher, f"fileListInfo_{START_GAME}.dat"), fmt.installed_file_list(entries))
    write(os.path.join(launcher, f"versionInfo_{START_GAME}.ini"), fmt.engine_version_ini(INSTALLED_VERSION))
    shutil.rmtree(os.path.join(out, "work"))
    with open(program, "rb") as source:
        stand_in = source.read()
    for game in GAMES:
        if game["installer"]:
            write(os.path.join(portal, "installers", game["installer"]), stand_in)


def parameter_text(host):
    """The session that the signed parameter file carries (at most 250 UTF-16 units: one 4096-bit block)."""
    text = (f"launcher /GameID:{LAUNCHER_ID} /StartGameID:{START_GAME} /CompanyID:{COMPANY_ID} "
            f"/UserNick:Ada /SessKey:ADA1 /LUpdateAddr:{host} /OneLineNoticeUrl:{host}/notice.xml "
            f"/KeywordUrl:{host}/keyword.xml /BannerUrl:{host}/banner.html")
    if len(text) > 250:
        raise SystemExit(f"make_demo_portal: the parameter text is {len(text)} units long; 250 fit one block")
    return text


def sign_parameter_file(text, path, key):
    """PKCS #1 v1.5 type 1 padding is fixed, so the same text and key give the same file."""
    with tempfile.TemporaryDirectory() as scratch:
        plain = os.path.join(scratch, "plain.bin")
        write(plain, text.encode("utf-16-le"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        run(["openssl", "rsautl", "-sign", "-pkcs", "-inkey", key, "-in", plain, "-out", path])


def launcher_binaries(options):
    """(name in the launcher folder, built file) of the programs and libraries that are built."""
    files = [("orvaneLauncher.exe", options.launcher_program)]
    files += [(name, os.path.join(options.build, "bin", name)) for name in ("QVTesserel.dll", "patchw32.dll")]
    return [(name, path) for name, path in files if os.path.exists(path)]


def write_launcher_folder(launcher, options):
    for name, path in launcher_binaries(options):
        shutil.copyfile(path, os.path.join(launcher, name))
    write(os.path.join(launcher, "LauncherMessage.ini"),
          fmt.utf16_ini([("MESSAGE", LAUNCHER_MESSAGES), ("FONT", LAUNCHER_FONT)]))
    # The self-update copies "unicows.dll" beside the temporary launcher and fails when it cannot; the Unicode
    # layer is loaded only on 4.x systems, so an empty stand-in serves everywhere else.
    write(os.path.join(launcher, "unicows.dll"), b"")
    write(os.path.join(launcher, "KILL.ini"),
          fmt.utf16_ini([("KILL_IE_GAME_ID", [("count", 1)]), ("KILL_IE_GAME_ID_0", [("game_id", "PUZL")])]))
    # No update server yet (the selection dialog comes first) and an older launcher than the announced one.
    write(os.path.join(launcher, "ZEPHLauncherInfo.ini"),
          fmt.ansi_ini([("LAUNCHER_INFO", [("version", LAUNCHER_VERSION_INSTALLED)])]))
    sign_parameter_file(parameter_text(options.host), os.path.join(launcher, "LauncherParam.dat"),
                        os.path.join(SOURCE_DIR, "tests", "fixtures", "keys", "test_only_never_ship_param_key_private.pem"))


def write_self_update(portal, launcher, options):
    """"system/<GameID>.<version>.cab": the launcher's files, one of them changed ("LauncherMessage.ini" gains a
    section that names the package's version)."""
    with tempfile.TemporaryDirectory() as stage:
        names = []
        for name, path in launcher_binaries(options):
            shutil.copyfile(path, os.path.join(stage, name))
            names.append(name)
        # The launcher folder's message table (the default skin's when there is one) with a section more.
        with open(os.path.join(launcher, "LauncherMessage.ini"), "rb") as installed:
            messages = installed.read()
        extra = f"\r\n[DEMO_PACKAGE]\r\nversion={LAUNCHER_VERSION_ANNOUNCED}\r\n".encode("utf-16-le")
        write(os.path.join(stage, "LauncherMessage.ini"), messages + extra)
        names.append("LauncherMessage.ini")
        for name in names:
            os.utime(os.path.join(stage, name), (FIXED_TIME, FIXED_TIME))
        cab = os.path.join(portal, "system", f"{LAUNCHER_ID}.{LAUNCHER_VERSION_ANNOUNCED}.cab")
        os.makedirs(os.path.dirname(cab), exist_ok=True)
        run(["gcab", "-c", "-n", "-z", cab] + names, cwd=stage)


def command_lines(host):
    return {
        # Selects the signed parameter file; the value after the key is not used.
        "first": f"/LocalGameID:{LAUNCHER_ID}",
        # A second start with another user and start game: it hands its session over to the running launcher.
        "second": (f"/GameID:{LAUNCHER_ID} /StartGameID:SKYF /CompanyID:{COMPANY_ID} /UserNick:Bea "
                   f"/SessKey:BEA2 /LUpdateAddr:{host}"),
    }


def build_portal(options):
    out = os.path.abspath(options.out)
    portal, launcher = os.path.join(out, "portal"), os.path.join(out, "launcher")
    for folder in (portal, launcher):
        if os.path.isdir(folder):
            shutil.rmtree(folder)
        os.makedirs(folder)
    write_catalogue(portal, options.host)
    write_texts(portal, options.host)
    write_pages(portal)
    write_icons(portal)
    write_history(out, portal, launcher, options.build, options)
    write_launcher_folder(launcher, options)
    skins = demo_skin.write_skins(launcher, options.build)
    write_self_update(portal, launcher, options)
    manifest = dict(host=options.host, game_info_number=GAME_INFO_NUMBER, company_id=COMPANY_ID,
                    launcher_id=LAUNCHER_ID, start_game=START_GAME, history_versions=HISTORY_VERSIONS,
                    installed_version=INSTALLED_VERSION, launcher_version=LAUNCHER_VERSION_ANNOUNCED,
                    games=[g["id"] for g in GAMES], command_lines=command_lines(options.host),
                    parameter_text=parameter_text(options.host), skins=skins,
                    launcher_built=os.path.exists(os.path.join(launcher, "orvaneLauncher.exe")))
    with open(os.path.join(out, "demo-portal.json"), "w", encoding="utf-8") as manifest_file:
        json.dump(manifest, manifest_file, indent=1)
    print(f"make_demo_portal: {portal} ({len(GAMES)} games, history {START_GAME} 1..{HISTORY_VERSIONS}) and "
          f"{launcher} ({START_GAME} at version {INSTALLED_VERSION}; skins: {', '.join(skins) or 'none'})")


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", required=True, help="folder that receives portal/, launcher/ and demo-portal.json")
    parser.add_argument("--host", required=True, help="ADDRESS:PORT of the HTTP server that serves portal/")
    parser.add_argument("--build", required=True, help="build folder (bin/ holds the programs and libraries)")
    parser.add_argument("--launcher-program",
                        help="the launcher program to install as orvaneLauncher.exe (BUILD_DIR/bin/orvaneLauncher.exe)")
    parser.add_argument("--no-patches", action="store_true",
                        help="changed files of the history as whole files only (no patchmaker run under Wine)")
    options = parser.parse_args(argv)
    options.build = os.path.abspath(options.build)
    options.launcher_program = os.path.abspath(
        options.launcher_program or os.path.join(options.build, "bin", "orvaneLauncher.exe"))
    if ":" not in options.host:
        parser.error("--host needs ADDRESS:PORT")
    return options


if __name__ == "__main__":
    build_portal(parse_arguments(sys.argv[1:]))
