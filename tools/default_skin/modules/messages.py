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

APP_MESSAGES = [
    ("exceed_max_update_count", "At most %d games can be updated at the same time."),
    ("installer_is_running", "An installer is already running."),
    ("game_is_running", "The game is running. Continue anyway?"),
    ("game_is_running_cannot_check", "The game is running; its files cannot be checked now."),
    ("file check takes a long time", "Checking every file takes a long time. Start the check?"),
    ("file check is not supported", "This game does not support a file check."),
    ("need_update", "Some of your games need an update."),
    ("update_unknown_error", "The update failed for an unknown reason."),
    ("run_installer", "The installer was downloaded. Run it now?"),
    ("resume_installer", "A partly downloaded installer was found. Resume the download?"),
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
    ("cannot download server info", "The list of update servers could not be downloaded."),
    ("invalid server info", "The list of update servers cannot be read."),
    ("cannot load resource", "The window's skin cannot be loaded."),
] + [("update_error_%d" % number, "The update failed (error %d)." % number) for number in range(1, 21)]

# The address prefixes of the application table's [URL] section.
APP_URLS = [
    ("search_url", "http://127.0.0.1/search?q="),
]


def write(skin):
    skin.ini("LauncherMessage.ini",
             [("MESSAGE", LAUNCHER_MESSAGES),
              ("FONT", [("size", 16), ("name", "Arial"), ("charset", 0), ("gap_x", 12), ("gap_y", 10)])])
    skin.ini("data/skin/AppMessage.ini", [("MESSAGE", APP_MESSAGES), ("URL", APP_URLS)])
