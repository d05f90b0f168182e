#include "ui/base/PackObject.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "ui/base/AsciiCase.h"

namespace {

const char kPackMagic[4] = {'O', 'R', 'P', 'K'};
const wchar_t kPackExtension[] = L".pak";
const size_t kEntryNameUnits = sizeof(PackEntry::name) / sizeof(wchar_t);

// Copies `text` into `target` (MAX_PATH units) followed by `suffix`; false, leaving `target` empty, when the
// whole text does not fit.
bool CopyWholePath(wchar_t* target, const wchar_t* text, const wchar_t* suffix) {
  size_t text_units = std::wcslen(text);
  size_t suffix_units = std::wcslen(suffix);
  target[0] = 0;
  if (text_units + suffix_units >= MAX_PATH)
    return false;
  std::memcpy(target, text, text_units * sizeof(wchar_t));
  std::memcpy(target + text_units, suffix, (suffix_units + 1) * sizeof(wchar_t));
  return true;
}

// Compares a stored entry name (possibly without NUL) with a NUL-terminated name, ignoring ASCII case.
bool EntryNameEquals(const wchar_t (&entry_name)[kEntryNameUnits], const wchar_t* name) {
  for (size_t i = 0; i < kEntryNameUnits; ++i) {
    if (FoldAsciiCase(entry_name[i]) != FoldAsciiCase(name[i]))
      return false;
    if (entry_name[i] == 0)
      return true;
  }
  // 64 units without a NUL: a malformed name that no lookup may reach by its first 64 units.
  return false;
}

}  // namespace

PackObject::~PackObject() {
  delete[] entries_;
}

int PackObject::Open(const wchar_t* directory) {
  Fail();
  if (directory == nullptr || !CopyWholePath(directory_, directory, L""))
    return 0;
  wchar_t archive_path[MAX_PATH];
  if (!CopyWholePath(archive_path, directory_, kPackExtension))
    return 0;
  file_ = OpenFileForReading(archive_path);
  uint64_t file_size = 0;
  if (!file_.valid() || !QueryFileSize(file_.get(), &file_size) ||
      !ReadFileAt(file_.get(), 0, &header_, sizeof header_) ||
      std::memcmp(header_.magic, kPackMagic, sizeof kPackMagic) != 0 || !ReadTable(file_size)) {
    Fail();
    return 0;
  }
  return 1;
}

bool PackObject::ReadTable(uint64_t file_size) {
  // The table must lie inside the file before anything is allocated for it, so a forged count cannot make us
  // reserve memory for entries that are not there.
  uint64_t table_bytes = static_cast<uint64_t>(header_.entry_count) * sizeof(PackEntry);
  if (sizeof(PackHeader) + table_bytes > file_size || table_bytes > UINT32_MAX || table_bytes > SIZE_MAX)
    return false;
  if (header_.entry_count == 0)
    return true;
  entries_ = new (std::nothrow) PackEntry[header_.entry_count];
  if (entries_ == nullptr ||
      !ReadFileAt(file_.get(), sizeof(PackHeader), entries_, static_cast<uint32_t>(table_bytes)))
    return false;
  for (uint32_t i = 0; i < header_.entry_count; ++i) {
    uint64_t end = static_cast<uint64_t>(entries_[i].offset) + entries_[i].size;
    if (end > file_size)
      return false;
  }
  return true;
}

void PackObject::Fail() {
  delete[] entries_;
  entries_ = nullptr;
  header_ = PackHeader{};
  file_.reset();
}

const PackEntry* PackObject::FindEntry(const wchar_t* name) const {
  if (!file_.valid() || name == nullptr)
    return nullptr;
  for (uint32_t i = 0; i < header_.entry_count; ++i) {
    if (EntryNameEquals(entries_[i].name, name))
      return &entries_[i];
  }
  return nullptr;
}
