"""The modules of the default skin, one per window or category, run in this order. Each has write(skin)
(skinlib.Skin). To add a window: put its module in this folder and add one line to MODULES."""

MODULES = [
    "skin_info",
    "base",
    "body",
    "etc",
    "messages",
    "icon",
]
