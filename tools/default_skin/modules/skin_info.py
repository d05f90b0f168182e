"""The categories of "skin_info.ini" that the main dialog and start-up need: the dialog ("base"), the
launcher window ("body") and the shared controls ("etc": fonts, message dialog, tool-tip, other dialogs)."""


def write(skin):
    skin.add_category("base", "base")
    skin.add_category("body", "body")
    skin.add_category("etc", "etc")
