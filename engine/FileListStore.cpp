#include "engine/FileListStore.h"

#include <cwchar>
#include <new>

#include "base/RelativeName.h"
#include "engine/EngineFiles.h"
#include "engine/FileListFormat.h"
#include "engine/SystemCalls.h"

namespace {

const wchar_t kPatchPrefix[] = L"Patch\\";
constexpr size_t kPatchPrefixLength = 6;

wchar_t AsciiLower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool HasPatchPrefix(const wchar_t* name) {
  for (size_t i = 0; i < kPatchPrefixLength; ++i) {
    if (AsciiLower(name[i]) != AsciiLower(kPatchPrefix[i]))
      return false;
  }
  return true;
}

// The list is rewritten whole, so it must fit one read; a larger file is not one of ours.
constexpr uint32_t kMaxListFileBytes = 0x7FFFFFF0;

}  // namespace

FileListStore::~FileListStore() {
  Close();
}

std::string FileListStore::KeyOf(const wchar_t* name) {
  std::string key;
  if (name == nullptr || name[0] == L'\0')
    return key;
  int length = static_cast<int>(wcsnlen(name, kMaxRelativeNameLength + 1));
  int bytes = WideCharToMultiByte(CP_ACP, 0, name, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0)
    return key;
  key.resize(static_cast<size_t>(bytes));
  WideCharToMultiByte(CP_ACP, 0, name, length, &key[0], bytes, nullptr, nullptr);
  if (key.size() > kMaxRelativeNameLength)
    key.resize(kMaxRelativeNameLength);
  return key;
}

UniqueHandle FileListStore::OpenListFile() const {
  return UniqueHandle(system_calls().create_file(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
}

int FileListStore::Open(const wchar_t* path) {
  if (path == nullptr)
    return kNoPath;
  std::lock_guard<CriticalSection> lock(lock_);
  CloseLocked();
  path_ = path;
  file_ = OpenListFile();
  if (!file_)
    return kOpenFailed;
  open_ = true;
  LARGE_INTEGER size;
  file_size_ = GetFileSizeEx(file_.get(), &size) && size.QuadPart <= kMaxListFileBytes
                   ? static_cast<uint32_t>(size.QuadPart)
                   : UINT32_MAX;
  return kOk;
}

int FileListStore::Parse() {
  std::lock_guard<CriticalSection> lock(lock_);
  if (!file_ || file_size_ == UINT32_MAX)
    return kReadFailed;
  if (file_size_ == 0)
    return kOk;
  try {
    read_buffer_.assign(file_size_ + 2, 0);
  } catch (const std::bad_alloc&) {
    return kReadFailed;
  }
  DWORD read = 0;
  if (SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
      !system_calls().read_file(file_.get(), read_buffer_.data(), file_size_, &read, nullptr))
    return kReadFailed;
  // wchar_t is 2 bytes and the buffer comes from the allocator, so it is suitably aligned.
  const wchar_t* text = reinterpret_cast<const wchar_t*>(read_buffer_.data());
  size_t dropped = 0;
  try {
    for (const FileRecord& record : ParseFileListText(text, read / sizeof(wchar_t), &dropped))
      InsertLocked(std::make_unique<FileRecord>(record));
  } catch (const std::bad_alloc&) {
    return kReadFailed;
  }
  parsed_whole_ = dropped == 0;
  return kOk;
}

int FileListStore::Write() {
  std::lock_guard<CriticalSection> lock(lock_);
  if (!open_)
    return kNotOpen;
  std::wstring text;
  try {
    text.reserve(records_.size() * 48);
    for (const auto& entry : records_) {
      if (withheld_.count(entry.first) == 0)
        AppendFileListLine(text, *entry.second);
    }
  } catch (const std::bad_alloc&) {
    return kNotOpen;
  }
  wchar_t temp[MAX_PATH];
  if (!engine_files::BesideTempName(temp, path_.c_str()))
    return kNotOpen;
  const size_t bytes = text.size() * sizeof(wchar_t);
  if (engine_files::WriteWholeFile(temp, text.data(), bytes, FILE_ATTRIBUTE_HIDDEN) !=
      engine_files::kFileDone) {
    engine_files::ForceDeleteFile(temp);
    return kNotOpen;
  }
  // Nothing can be renamed over a file that is open; the list file is let go for that moment only.
  file_.reset();
  const bool replaced = engine_files::MoveOver(temp, path_.c_str()) == engine_files::kFileDone;
  file_ = OpenListFile();
  if (!replaced) {
    engine_files::ForceDeleteFile(temp);
    return kNotOpen;
  }
  changed_ = 0;
  return kOk;
}

int FileListStore::Insert(std::unique_ptr<FileRecord> record) {
  if (!record)
    return kReadFailed;
  std::lock_guard<CriticalSection> lock(lock_);
  return InsertLocked(std::move(record));
}

int FileListStore::InsertLocked(std::unique_ptr<FileRecord> record) {
  std::string key = KeyOf(record->name);
  records_.emplace(std::move(key), std::move(record));
  return kOk;
}

int FileListStore::Remove(const wchar_t* name) {
  if (name == nullptr)
    return kNameNotFound;
  std::lock_guard<CriticalSection> lock(lock_);
  const std::string key = KeyOf(name);
  withheld_.erase(key);
  return records_.erase(key) != 0 ? kOk : kNameNotFound;
}

bool FileListStore::Withhold(const wchar_t* name) {
  if (name == nullptr)
    return false;
  std::lock_guard<CriticalSection> lock(lock_);
  std::string key = KeyOf(name);
  if (records_.count(key) == 0 || !withheld_.insert(std::move(key)).second)
    return false;
  changed_ = 1;
  return true;
}

void FileListStore::Restore(const wchar_t* name) {
  if (name == nullptr)
    return;
  std::lock_guard<CriticalSection> lock(lock_);
  if (withheld_.erase(KeyOf(name)) != 0)
    changed_ = 1;
}

FileRecord* FileListStore::Find(const wchar_t* name) {
  if (name == nullptr)
    return nullptr;
  std::lock_guard<CriticalSection> lock(lock_);
  auto found = records_.find(KeyOf(name));
  return found != records_.end() ? found->second.get() : nullptr;
}

int FileListStore::Clear() {
  std::lock_guard<CriticalSection> lock(lock_);
  records_.clear();
  withheld_.clear();
  return kOk;
}

void FileListStore::Close() {
  std::lock_guard<CriticalSection> lock(lock_);
  CloseLocked();
}

void FileListStore::CloseLocked() {
  std::vector<char>().swap(read_buffer_);
  file_.reset();
  open_ = false;
  parsed_whole_ = true;
  file_size_ = 0;
  records_.clear();
  withheld_.clear();
}

int FileListStore::FoldPatchEntries() {
  std::lock_guard<CriticalSection> lock(lock_);
  // Take the names first: a renamed record gets a new key, and the walk must not meet it again.
  std::vector<std::string> patch_keys;
  for (const auto& entry : records_) {
    if (HasPatchPrefix(entry.second->name))
      patch_keys.push_back(entry.first);
  }
  for (const std::string& patch_key : patch_keys) {
    auto found = records_.find(patch_key);
    if (found == records_.end())
      continue;
    std::unique_ptr<FileRecord> patch_record = std::move(found->second);
    records_.erase(found);
    const wchar_t* plain_name = patch_record->name + kPatchPrefixLength;
    if (!IsSafeRelativeName(plain_name))
      continue;
    auto plain = records_.find(KeyOf(plain_name));
    if (plain != records_.end()) {
      FileRecord& target = *plain->second;
      target.crc32 = patch_record->crc32;
      target.size = patch_record->size;
      target.version = patch_record->version;
      target.registeredVersion = patch_record->registeredVersion;
      continue;
    }
    size_t length = wcslen(plain_name);
    wmemmove(patch_record->name, plain_name, length + 1);
    InsertLocked(std::move(patch_record));
  }
  return kOk;
}

void FileListStore::ForEachRecord(const std::function<void(FileRecord&)>& visit) {
  std::lock_guard<CriticalSection> lock(lock_);
  for (auto& entry : records_)
    visit(*entry.second);
}

bool FileListStore::changed() {
  std::lock_guard<CriticalSection> lock(lock_);
  return changed_ != 0;
}

void FileListStore::SetChanged(bool changed) {
  std::lock_guard<CriticalSection> lock(lock_);
  changed_ = changed ? 1 : 0;
}

bool FileListStore::parsed_whole() {
  std::lock_guard<CriticalSection> lock(lock_);
  return parsed_whole_;
}

bool FileListStore::IsOpen() {
  std::lock_guard<CriticalSection> lock(lock_);
  return open_;
}

size_t FileListStore::RecordCount() {
  std::lock_guard<CriticalSection> lock(lock_);
  return records_.size();
}
