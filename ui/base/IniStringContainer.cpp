#include "ui/base/IniStringContainer.h"

#include <cstring>
#include <new>

#include "ui/base/NumberText.h"
#include "ui/base/String.h"

namespace {

bool IsBlank(wchar_t unit) {
  return unit == L' ' || unit == L'\t' || unit == L'\r' || unit == L'\n';
}

uint32_t SkipBlanks(const wchar_t* text, uint32_t from, uint32_t end) {
  while (from < end && IsBlank(text[from]))
    ++from;
  return from;
}

uint32_t TrimBlanks(const wchar_t* text, uint32_t from, uint32_t end) {
  while (end > from && IsBlank(text[end - 1]))
    --end;
  return end;
}

uint32_t FindUnit(const wchar_t* text, uint32_t from, uint32_t end, wchar_t unit) {
  while (from < end && text[from] != unit)
    ++from;
  return from;
}

bool IsExactly(const wchar_t* a, const wchar_t* b) {
  return String::EqualsUpTo(a, b, -1) != 0;
}

}  // namespace

IniStringContainer::~IniStringContainer() {
  sections_.RemoveAll();
  delete[] pool_;
}

IniStringContainer* IniStringContainer::Parse(const wchar_t* text, uint32_t count) {
  if (text == nullptr)
    count = 0;
  IniStringContainer* container = new (std::nothrow) IniStringContainer;
  if (container == nullptr)
    return nullptr;
  // Every copied text with its NUL fits in the units of its own line (the CR or LF, the '[' or the '=' make
  // room for the NULs), except on a last line without line end, which needs one unit more: count + 1 always
  // suffices.
  uint64_t pool_units = static_cast<uint64_t>(count) + 1;
  if (pool_units * sizeof(wchar_t) <= SIZE_MAX)
    container->pool_ = new (std::nothrow) wchar_t[static_cast<size_t>(pool_units)];
  bool ok = container->pool_ != nullptr;
  container->pool_size_ = static_cast<uint32_t>(pool_units);
  for (uint32_t start = 0; ok && start < count;) {
    uint32_t end = start;
    while (end < count && text[end] != L'\r' && text[end] != L'\n')
      ++end;
    if (end < count)
      ++end;  // The line keeps its CR or LF.
    ok = container->ParseLine(text + start, end - start);
    start = end;
  }
  if (!ok) {
    delete container;
    return nullptr;
  }
  container->section_cursor_ = container->sections_.head();
  container->key_cursor_ =
      container->section_cursor_ != nullptr ? container->section_cursor_->item->keys.head() : nullptr;
  return container;
}

bool IniStringContainer::ParseLine(const wchar_t* line, uint32_t units) {
  uint32_t first = SkipBlanks(line, 0, units);
  if (first == units || line[first] == L';')
    return true;
  if (line[first] == L'[')
    return AddSection(line + first + 1, units - first - 1);
  return AddKey(line + first, units - first);
}

bool IniStringContainer::AddSection(const wchar_t* line, uint32_t units) {
  uint32_t name_start = SkipBlanks(line, 0, units);
  if (name_start == units || line[name_start] == L']')
    return true;
  uint32_t name_end = TrimBlanks(line, name_start, FindUnit(line, name_start, units, L']'));
  const wchar_t* name = Keep(line + name_start, name_end - name_start);
  SectionNode* node = name != nullptr ? sections_.AddNew() : nullptr;
  if (node == nullptr || node->item == nullptr)
    return false;
  node->item->name = name;
  return true;
}

bool IniStringContainer::AddKey(const wchar_t* line, uint32_t units) {
  SectionNode* section = sections_.tail();
  uint32_t equals = FindUnit(line, 0, units, L'=');
  if (section == nullptr || equals == units)
    return true;
  uint32_t key_end = TrimBlanks(line, 0, equals);
  uint32_t value_start = SkipBlanks(line, equals + 1, units);
  uint32_t value_end = TrimBlanks(line, value_start, units);
  const wchar_t* key = Keep(line, key_end);
  const wchar_t* value = key != nullptr ? Keep(line + value_start, value_end - value_start) : nullptr;
  KeyNode* node = value != nullptr ? section->item->keys.AddNew() : nullptr;
  if (node == nullptr || node->item == nullptr)
    return false;
  node->item->key = key;
  node->item->value = value;
  return true;
}

const wchar_t* IniStringContainer::Keep(const wchar_t* text, uint32_t units) {
  if (static_cast<uint64_t>(pool_used_) + units + 1 > pool_size_)
    return nullptr;
  wchar_t* copy = pool_ + pool_used_;
  std::memcpy(copy, text, static_cast<size_t>(units) * sizeof(wchar_t));
  copy[units] = 0;
  pool_used_ += units + 1;
  return copy;
}

IniStringContainer::SectionNode* IniStringContainer::FindSectionNode(const wchar_t* name) const {
  for (SectionNode* node = sections_.head(); node != nullptr; node = node->next) {
    if (IsExactly(node->item->name, name))
      return node;
  }
  return nullptr;
}

const wchar_t* IniStringContainer::GetString(const wchar_t* section,
                                             const wchar_t* key,
                                             const wchar_t* default_value) {
  SectionNode* section_node = FindSectionNode(section);
  if (section_node == nullptr)
    return default_value;
  for (KeyNode* node = section_node->item->keys.head(); node != nullptr; node = node->next) {
    if (IsExactly(node->item->key, key))
      return node->item->value;
  }
  return default_value;
}

int32_t IniStringContainer::GetInt(const wchar_t* section, const wchar_t* key, int32_t default_value) {
  const wchar_t* value = GetString(section, key, nullptr);
  return value != nullptr ? TextToInt32(value) : default_value;
}

double IniStringContainer::GetFloat(const wchar_t* section, const wchar_t* key, double default_value) {
  const wchar_t* value = GetString(section, key, nullptr);
  return value != nullptr ? TextToDouble(value) : default_value;
}

const wchar_t* IniStringContainer::GetCurrentSectionName() {
  return section_cursor_ != nullptr ? section_cursor_->item->name : nullptr;
}

int IniStringContainer::FirstSection() {
  section_cursor_ = sections_.head();
  return section_cursor_ != nullptr ? 1 : 0;
}

int IniStringContainer::FindSection(const wchar_t* name) {
  section_cursor_ = FindSectionNode(name);
  return section_cursor_ != nullptr ? 1 : 0;
}

int IniStringContainer::NextSection() {
  if (section_cursor_ == nullptr)
    return 0;
  section_cursor_ = section_cursor_->next;
  return section_cursor_ != nullptr ? 1 : 0;
}

const wchar_t* IniStringContainer::GetCurrentKeyName() {
  return key_cursor_ != nullptr ? key_cursor_->item->key : nullptr;
}

int IniStringContainer::FirstKey() {
  if (section_cursor_ == nullptr)
    return 0;
  key_cursor_ = section_cursor_->item->keys.head();
  return key_cursor_ != nullptr ? 1 : 0;
}

int IniStringContainer::FindKey(const wchar_t* name) {
  if (section_cursor_ == nullptr)
    return 0;
  key_cursor_ = nullptr;
  for (KeyNode* node = section_cursor_->item->keys.head(); node != nullptr && key_cursor_ == nullptr;
       node = node->next) {
    if (IsExactly(node->item->key, name))
      key_cursor_ = node;
  }
  return key_cursor_ != nullptr ? 1 : 0;
}

int IniStringContainer::NextKey() {
  if (key_cursor_ == nullptr)
    return 0;
  key_cursor_ = key_cursor_->next;
  return key_cursor_ != nullptr ? 1 : 0;
}

const wchar_t* IniStringContainer::GetCurrentValue() {
  return key_cursor_ != nullptr ? key_cursor_->item->value : nullptr;
}
