#include "ui/skin/SkinLoader.h"

#include <cwchar>
#include <new>

#include "base/ScopedHandle.h"
#include "ui/base/IniFile.h"
#include "ui/base/IniStringContainer.h"
#include "ui/base/VirtualFile.h"
#include "ui/skin/SkinListeners.h"

namespace {

SkinLoader* g_categories = nullptr;
int32_t g_category_count = 0;
String g_current_skin;
bool g_skin_changed = false;

const wchar_t kSkinInfoPath[] = L"data\\skin\\skin_info.ini";

// The three texts of one category as the ini container holds them.
struct CategoryTexts {
  const wchar_t* id;
  const wchar_t* path;
  const wchar_t* skin_path;
};

bool ReadCategory(IniStringContainer* ini, int32_t index, CategoryTexts* texts, int32_t* skin_change) {
  wchar_t section[32];
  std::swprintf(section, sizeof(section) / sizeof(section[0]), L"CATEGORY_%d", static_cast<int>(index));
  texts->id = ini->GetString(section, L"id", nullptr);
  texts->path = ini->GetString(section, L"path", nullptr);
  texts->skin_path = ini->GetString(section, L"skin_path", nullptr);
  *skin_change = ini->GetInt(section, L"skin_change", 1) != 0 ? 1 : 0;
  return texts->id != nullptr && texts->path != nullptr && texts->skin_path != nullptr;
}

bool IsSafeSkinName(const wchar_t* name) {
  if (name == nullptr)
    return true;
  for (const wchar_t* unit = name; *unit != 0; ++unit) {
    if (*unit == L'\\' || *unit == L'/' || *unit == L':' || (unit[0] == L'.' && unit[1] == L'.'))
      return false;
  }
  return true;
}

// `format` with its first "%s" replaced by `value`; every other character, '%' included, is kept as it is.
bool ReplacePlaceholder(const wchar_t* format, const wchar_t* value, String* out) {
  const wchar_t* placeholder = std::wcsstr(format, L"%s");
  if (placeholder == nullptr)
    return out->Assign(format) != 0;
  String head;
  size_t head_units = static_cast<size_t>(placeholder - format);
  wchar_t* copy = new (std::nothrow) wchar_t[head_units + 1];
  if (copy == nullptr)
    return false;
  std::wmemcpy(copy, format, head_units);
  copy[head_units] = 0;
  bool made = out->Assign(copy) && out->Append(value) && out->Append(placeholder + 2);
  delete[] copy;
  return made;
}

// True when `relative` (a folder or file name from a skin file) cannot lead out of the folder it is joined to:
// no drive or stream ':', and no part made only of dots and blanks with two dots or more (".." is the parent,
// and the file system drops trailing dots and blanks, so "..." or ".. " may be read as ".." too).
bool StaysBelowItsFolder(const wchar_t* relative) {
  int dots = 0;
  bool only_dots_and_blanks = true;
  for (const wchar_t* unit = relative;; ++unit) {
    if (*unit == 0 || *unit == L'\\' || *unit == L'/') {
      if (only_dots_and_blanks && dots >= 2)
        return false;
      if (*unit == 0)
        return true;
      dots = 0;
      only_dots_and_blanks = true;
    } else if (*unit == L':') {
      return false;
    } else if (*unit == L'.') {
      ++dots;
    } else if (*unit != L' ') {
      only_dots_and_blanks = false;
    }
  }
}

// The path of skin file `name` in candidate folder 0 (the current skin's) or 1 (the category's common one):
// "<root>\<folder>\<name>". Folders and names come from skin files, which users exchange: one that could
// lead out of the skin root gives no candidate.
bool SkinFileCandidate(const SkinLoader* category, const wchar_t* name, int which, String* path) {
  String folder;
  bool folder_made = which == 0
                         ? ReplacePlaceholder(category->skin_path().GetString(), GetCurrentSkin(), &folder)
                         : folder.Assign(category->path().GetString()) != 0;
  return folder_made && StaysBelowItsFolder(folder.GetString()) && StaysBelowItsFolder(name) &&
         path->Assign(kSkinRoot) && path->Append(L"\\") && path->Append(folder.GetString()) &&
         path->Append(L"\\") && path->Append(name);
}

}  // namespace

int SkinLoader::LoadSkinInfo() {
  UnloadSkinInfo();
  IniStringContainer* ini = LoadIniFile(kSkinInfoPath);
  if (ini == nullptr)
    return 0;
  int32_t count = ini->GetInt(L"CATEGORY", L"count", 0);
  // Every category is checked before room for `count` of them is made: the count is data too.
  CategoryTexts texts;
  int32_t skin_change = 1;
  bool complete = count > 0;
  for (int32_t i = 0; complete && i < count; ++i)
    complete = ReadCategory(ini, i, &texts, &skin_change);
  SkinLoader* categories = complete ? new (std::nothrow) SkinLoader[count] : nullptr;
  bool stored = categories != nullptr;
  for (int32_t i = 0; stored && i < count; ++i) {
    ReadCategory(ini, i, &texts, &skin_change);
    SkinLoader& category = categories[i];
    category.skin_change_ = skin_change;
    stored = category.id_.Assign(texts.id) && category.path_.Assign(texts.path) &&
             category.skin_path_.Assign(texts.skin_path);
  }
  delete ini;
  if (!stored) {
    delete[] categories;
    return 0;
  }
  g_categories = categories;
  g_category_count = count;
  return 1;
}

void SkinLoader::UnloadSkinInfo() {
  delete[] g_categories;
  g_categories = nullptr;
  g_category_count = 0;
  RemoveAllSkinListeners();
}

void SetCurrentSkin(const wchar_t* name) {
  if (!IsSafeSkinName(name))
    return;
  if (name == nullptr || name[0] == 0 ? g_current_skin.GetLength() == 0
                                      : String::EqualsUpTo(name, g_current_skin.GetString(), -1) != 0)
    return;
  if (!g_current_skin.Assign(name))
    return;
  g_skin_changed = true;
}

const wchar_t* GetCurrentSkin() {
  return g_current_skin.GetString();
}

bool TakeSkinChange() {
  bool changed = g_skin_changed;
  g_skin_changed = false;
  return changed;
}

namespace {

int32_t g_skin_file_misses = 0;
SkinFileMissObserver g_miss_observer = nullptr;

void NoteSkinFileMiss(const wchar_t* category_id, const wchar_t* name) {
  ++g_skin_file_misses;
  if (g_miss_observer != nullptr)
    g_miss_observer(category_id, name);
}

}  // namespace

int32_t SkinFileMissCount() {
  return g_skin_file_misses;
}

SkinFileMissObserver SetSkinFileMissObserver(SkinFileMissObserver observer) {
  SkinFileMissObserver previous = g_miss_observer;
  g_miss_observer = observer;
  return previous;
}

SkinLoader* FindSkinCategory(const wchar_t* id) {
  if (id == nullptr)
    return nullptr;
  for (int32_t i = 0; i < g_category_count; ++i) {
    if (String::EqualsUpTo(id, g_categories[i].id().GetString(), -1))
      return &g_categories[i];
  }
  NoteSkinFileMiss(id, nullptr);
  return nullptr;
}

FileObject* LocateSkinFile(SkinLoader* category, const wchar_t* name) {
  if (category == nullptr || name == nullptr)
    return nullptr;
  for (int which = 0; which < 2; ++which) {
    String path;
    if (!SkinFileCandidate(category, name, which, &path))
      continue;
    if (FileObject* file = OpenVirtualFile(path.GetString()))
      return file;
  }
  NoteSkinFileMiss(category->id().GetString(), name);
  return nullptr;
}

IniStringContainer* LoadControlSkinIni(SkinLoader* category, const wchar_t* name) {
  if (name == nullptr)
    return nullptr;
  String file_name;
  if (!file_name.Assign(name) || !file_name.Append(L".ini"))
    return nullptr;
  return LoadIniFromVirtualFile(LocateSkinFile(category, file_name.GetString()));
}

const wchar_t* OpenSkinFile(SkinLoader* category, const wchar_t* name) {
  if (category == nullptr || name == nullptr)
    return nullptr;
  for (int which = 0; which < 2; ++which) {
    String path;
    if (!SkinFileCandidate(category, name, which, &path))
      continue;
    FileObject* file = OpenVirtualFile(path.GetString());
    if (file == nullptr)
      continue;
    CloseVirtualFile(file);
    return category->located_path_.Assign(path.GetString()) ? category->located_path_.GetString() : nullptr;
  }
  NoteSkinFileMiss(category->id().GetString(), name);
  return nullptr;
}
