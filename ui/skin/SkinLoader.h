// Skin categories and skin files: where every launcher window finds its look.
//
// All skin files lie under the skin root "data\skin" (relative to the current folder) and are read through
// the virtual files, so each may be a loose file or an entry of the pack archive of its folder. The root
// holds "skin_info.ini" (UTF-16LE with the byte-order mark):
//   [CATEGORY]     count = number of categories (0 or less, or missing: the file is unusable)
//   [CATEGORY_<i>] for i = 0 .. count - 1:
//                  id          = identifier, matched exactly (required)
//                  path        = folder of the category's skin-independent files, under the root (required)
//                  skin_path   = folder of its skin-dependent files, under the root; its "%s" takes the name
//                                of the current skin (required)
//                  skin_change = 0: its controls keep their look when the skin changes; other values or
//                                missing: 1
// One incomplete category makes the whole list unusable.
//
// A control's file is looked for first in the current skin's folder of its category and then in the
// category's common folder. The skin name and skin_path are data: the name's "%s" is replaced as text (never
// through a printf format), and a skin name that could leave its folder ("\", "/", ":" or "..") is refused.
//
// Thread: user-interface thread only. Category pointers handed out stay valid until the next LoadSkinInfo
// or UnloadSkinInfo.
#pragma once

#include <cstdint>

#include "ui/base/String.h"

class FileObject;
class IniStringContainer;

// One skin category.
class SkinLoader {
 public:
  SkinLoader() = default;
  virtual ~SkinLoader() = default;
  SkinLoader(const SkinLoader&) = delete;
  SkinLoader& operator=(const SkinLoader&) = delete;

  // Reads the category list from "data\skin\skin_info.ini", replacing the old one (UnloadSkinInfo runs first,
  // listeners included). 1 when the list was read; 0 leaves no categories.
  static int LoadSkinInfo();
  // Drops every category and every skin listener (the listening windows themselves are untouched).
  static void UnloadSkinInfo();

  const String& id() const { return id_; }
  const String& path() const { return path_; }
  const String& skin_path() const { return skin_path_; }
  int32_t skin_change() const { return skin_change_; }
  // The path that OpenSkinFile found last on this category.
  const String& located_path() const { return located_path_; }

 private:
  friend const wchar_t* OpenSkinFile(SkinLoader* category, const wchar_t* name);

  String id_;
  String path_;
  String skin_path_;
  int32_t skin_change_ = 1;
  String located_path_;
};

// The folder under which every skin file lies.
const wchar_t* const kSkinRoot = L"data\\skin";

// Makes `name` the current skin (null or empty: none). A name equal to the current one changes nothing;
// otherwise the change is remembered for the next BroadcastSkinChange. A name with "\", "/", ":" or ".." is
// refused and changes nothing.
void SetCurrentSkin(const wchar_t* name);
// The current skin name; empty when none.
const wchar_t* GetCurrentSkin();
// True when the current skin changed since the last call; clears the mark (BroadcastSkinChange's test).
bool TakeSkinChange();

// The first category, in file order, whose id equals `id` exactly; null for a null id or no match.
SkinLoader* FindSkinCategory(const wchar_t* id);
// Opens `name` from the category's current-skin folder, else from its common folder. The open file (close it
// with CloseVirtualFile), or null.
FileObject* LocateSkinFile(SkinLoader* category, const wchar_t* name);
// Finds "<name>.ini" as LocateSkinFile does and parses it. A new container owned by the caller, or null when
// it is missing, unreadable or has no byte-order mark.
IniStringContainer* LoadControlSkinIni(SkinLoader* category, const wchar_t* name);
// The path of `name` as LocateSkinFile would open it (only its existence is tested), kept as the category's
// located path and valid until the next OpenSkinFile on the category; null when neither candidate exists.
const wchar_t* OpenSkinFile(SkinLoader* category, const wchar_t* name);

// Skin files that a window asked for and the skin lacks: every LocateSkinFile, LoadControlSkinIni or
// OpenSkinFile on a category that finds neither candidate, and every FindSkinCategory of an id that the list
// lacks, counts as one miss, and is handed to the miss observer when one is installed (tests install one; the
// launcher built for the end-to-end tests logs the misses through it).
int32_t SkinFileMissCount();
// Called on the thread that missed, with the category id and the file name (null for a missing category).
typedef void (*SkinFileMissObserver)(const wchar_t* category_id, const wchar_t* name);
// Installs `observer` (null: none) and returns the one it replaces. Set it before windows load their skins.
SkinFileMissObserver SetSkinFileMissObserver(SkinFileMissObserver observer);
