"""The two message tables: "LauncherMessage.ini" beside the program (texts before the skin is loaded, and
the splash font) and "data/skin/AppMessage.ini" (every later text). A window that reads a new key adds it
here."""

LAUNCHER_MESSAGES = [
    ("Launcher", "Orvane Launcher"),
    ("error", "Orvane Launcher - error"),
    ("initializing", "Starting the launcher..."),
    ("invalid version", "The launcher's version cannot be read."),
    ("invalid path", "The launcher's folder cannot be found."),
    ("cannot create mutex", "The launcher cannot start (no instance lock)."),
    ("launcher is not closed", "Another launcher is still running. Close it and try again."),
    ("update failed", "The launcher could not be updated."),
    ("update aborted", "The launcher update was cancelled."),
    ("cannot restart launcher", "The updated launcher could not be started."),
    ("cannot restart updater", "The launcher updater could not be started."),
    ("cannot download server info", "The list of update servers could not be downloaded."),
    ("invalid server info", "The list of update servers cannot be read."),
    ("server is not selected", "No update server was selected."),
    ("cannot load resource", "The launcher's skin cannot be loaded."),
    ("cannot init", "The list of games cannot be loaded."),
    ("invalid resource", "The launcher's texts cannot be loaded."),
    ("cannot load icons", "The game icons cannot be loaded."),
]

LATER = "\\nPlease try again later."
# The error pop-up of a game: the text of its error number with the game's title in its "%s" (the literal
# "\\n" breaks the line). 1..8 end an installer download, 9..17 an update (the engine's codes 1..8 and 10),
# 18 and 19 the other update libraries' codes 100 and 101, 20 a missing update library.
ERROR_TEXTS = {
    1: "The installer of %s could not be downloaded (error 1)." + LATER,
    2: "The connection broke while the installer of %s was downloading." + LATER,
    3: "The server refused the installer of %s." + LATER,
    4: "The installer of %s could not be downloaded (error 4)." + LATER,
    5: "The download of the installer of %s could not start.\\nCheck the download folder in the settings.",
    6: "The installer of %s could not be saved.\\nCheck the download folder in the settings.",
    7: "The installer of %s could not be written to the disk.\\nIs the disk full?",
    8: "The installer of %s could not be downloaded from the server." + LATER,
    9: "The update of %s failed (error 1)." + LATER,
    10: "The connection to the update server broke while %s was updating." + LATER,
    11: "The update server refused to update %s." + LATER,
    12: "The update of %s failed (error 4)." + LATER,
    13: "The update of %s could not prepare a file for its download.\\nCheck that the game's folder can be written.",
    14: "The update of %s could not create a temporary file.\\nCheck that the game's folder can be written.",
    15: "The update of %s could not write a downloaded file.\\nIs the disk full?",
    16: "A file of %s could not be downloaded." + LATER,
    17: "A downloaded file could not be put into the folder of %s.\\nClose the game if it runs, and try again.",
    18: "The update of %s failed (error 100)." + LATER,
    19: "The update of %s failed (error 101)." + LATER,
    20: "The update program of %s could not be loaded.\\nPlease install the launcher again.",
}

APP_MESSAGES = [
    ("exceed_max_update_count", "At most %d games can be updated at the same time."),
    ("installer_is_running", "An installer is already running."),
    ("game_is_running", "The game is running. Continue anyway?"),
    ("game_is_running_cannot_check", "The game is running; its files cannot be checked now."),
    ("file check takes a long time", "Checking every file takes a long time. Start the check?"),
    ("file check is not supported", "This game does not support a file check."),
    ("need_update", "Some of your games need an update."),
    ("update_unknown_error", "The update of %s failed for an unknown reason.\\nPlease try again later."),
    # The installer questions' second button (Cancel) downloads the installer again from the start: each
    # question says what its buttons do.
    ("run_installer", "This game's installer was downloaded before.\\nOK: run it now.\\n"
                      "Cancel: download it again from the start, then run it."),
    ("resume_installer", "Part of this game's installer was downloaded before.\\n"
                         "OK: go on with the download where it stopped.\\n"
                         "Cancel: download the installer again from the start.\\n"
                         "Either way it runs once the download is complete."),
    ("download_installer_from_web", "Please download the installer from the web site."),
    ("file_changed", "A game file was changed: %s"),
    ("tooltip_install", "Install"),
    ("tooltip_stop_install", "Stop installing"),
    ("tooltip_update", "Update"),
    ("tooltip_stop_update", "Stop updating"),
    ("tooltip_run", "Play"),
    ("tooltip_filecheck", "Check files"),
    ("tooltip_update_all", "Update all games"),
    ("cannot_create_install_file_directory", "The download folder cannot be created."),
    ("invalid_install_file_directory", "This folder cannot be used for downloads."),
    ("cannot download server info", "The list of update servers could not be downloaded."),
    ("invalid server info", "The list of update servers cannot be read."),
    ("cannot load resource", "The window's skin cannot be loaded."),
] + [("update_error_%d" % number, text) for number, text in sorted(ERROR_TEXTS.items())]

# The address prefixes of the application table's [URL] section.
APP_URLS = [
    ("search_url", "http://127.0.0.1/search?q="),
]


def write(skin):
    skin.ini("LauncherMessage.ini",
             [("MESSAGE", LAUNCHER_MESSAGES),
              ("FONT", [("size", 16), ("name", "Arial"), ("charset", 0), ("gap_x", 12), ("gap_y", 10)])])
    skin.ini("data/skin/AppMessage.ini", [("MESSAGE", APP_MESSAGES), ("URL", APP_URLS)])
