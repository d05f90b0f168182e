#include "ui/skin/NFontManager.h"

#include <new>
#include <string>

#include "ui/base/IniContainer.h"

namespace {

TLinkedList<NFontManager>& FontSets() {
  static TLinkedList<NFontManager> sets;
  return sets;
}

}  // namespace

NFontManager::~NFontManager() {
  Clear();
}

int NFontManager::Allocate(int32_t count) {
  Clear();
  if (count < 1 || count > kMaxFonts)
    return 0;
  entries_ = new (std::nothrow) Entry[count];
  if (entries_ == nullptr)
    return 0;
  count_ = count;
  return 1;
}

void NFontManager::SetFont(int32_t index,
                           int32_t bold,
                           const wchar_t* id,
                           int32_t size,
                           int32_t italic,
                           int32_t underline,
                           int32_t charset,
                           const wchar_t* face,
                           int32_t gap_x,
                           int32_t gap_y) {
  if (index < 0 || index >= count_)
    return;
  Entry& entry = entries_[index];
  if (entry.font != nullptr)
    DeleteObject(entry.font);
  entry.id.Assign(id);
  entry.font = CreateFontW(size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic != 0, FALSE, FALSE,
                           static_cast<BYTE>(charset), OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS,
                           NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face != nullptr ? face : L"");
  entry.info.font = entry.font;
  entry.info.italic = italic != 0;
  entry.info.underline = underline != 0;
  entry.info.gap_x = gap_x;
  entry.info.gap_y = gap_y;
}

int NFontManager::GetFontAt(int32_t index, FontInfo* out) const {
  if (index < 0 || index >= count_ || out == nullptr)
    return 0;
  *out = entries_[index].info;
  return 1;
}

int NFontManager::FindFont(const wchar_t* id, FontInfo* out) const {
  for (int32_t i = 0; i < count_; ++i) {
    if (String::EqualsUpTo(entries_[i].id.GetString(), id, -1)) {
      if (out != nullptr)
        *out = entries_[i].info;
      return 1;
    }
  }
  return 0;
}

void NFontManager::Clear() {
  for (int32_t i = 0; i < count_; ++i) {
    if (entries_[i].font != nullptr)
      DeleteObject(entries_[i].font);
  }
  delete[] entries_;
  entries_ = nullptr;
  count_ = 0;
}

int LoadSkinFonts(const wchar_t* name, IniContainer* ini) {
  if (name == nullptr || ini == nullptr || FindFontManager(name) != nullptr)
    return 0;
  int32_t count = ini->GetInt(L"FONT", L"count", 0);
  if (count < 1 || count > NFontManager::kMaxFonts)
    return 0;
  TLinkedList<NFontManager>::Node* node = FontSets().AddNew();
  if (node == nullptr || node->item == nullptr || !node->item->Allocate(count)) {
    FontSets().Remove(node);
    return 0;
  }
  NFontManager* set = node->item;
  set->name().Assign(name);
  set->set_color_key(0xFF000000u | (ini->GetInt(L"FONT", L"colorkey_r", 0) & 255u) << 16 |
                     (ini->GetInt(L"FONT", L"colorkey_g", 0) & 255u) << 8 |
                     (ini->GetInt(L"FONT", L"colorkey_b", 0) & 255u));
  for (int32_t i = 0; i < count; ++i) {
    std::wstring section = L"FONT_" + std::to_wstring(i);
    const wchar_t* s = section.c_str();
    set->SetFont(i, ini->GetInt(s, L"bold", 0), ini->GetString(s, L"id", nullptr), ini->GetInt(s, L"size", 0),
                 ini->GetInt(s, L"italic", 0), ini->GetInt(s, L"underline", 0), ini->GetInt(s, L"charset", 0),
                 ini->GetString(s, L"name", nullptr), ini->GetInt(s, L"gap_x", 0),
                 ini->GetInt(s, L"gap_y", 0));
  }
  return 1;
}

NFontManager* FindFontManager(const wchar_t* name) {
  if (name == nullptr)
    return nullptr;
  for (TLinkedList<NFontManager>::Node* node = FontSets().head(); node != nullptr; node = node->next) {
    if (node->item != nullptr && String::EqualsUpTo(node->item->name().GetString(), name, -1))
      return node->item;
  }
  return nullptr;
}

void RemoveFontManager(const wchar_t* name) {
  if (name == nullptr)
    return;
  for (TLinkedList<NFontManager>::Node* node = FontSets().head(); node != nullptr; node = node->next) {
    if (node->item != nullptr && String::EqualsUpTo(node->item->name().GetString(), name, -1)) {
      FontSets().Remove(node);
      return;
    }
  }
}

void RemoveAllFontManagers() {
  FontSets().RemoveAll();
}
