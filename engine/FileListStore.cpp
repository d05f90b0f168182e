#include "engine/FileListStore.h"

#include <cwchar>
#include <new>

#include "engine/FileListFormat.h"
#include "engine/RelativeName.h"
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

int FileListStore::Open(const wchar_t* path) {
  if (path == nullptr)
    return kNoPath;
  std::lock_guard<CriticalSection> lock(lock_);
  CloseLocked();
  path_ = path;
  file_ = UniqueHandle(system_calls().create_file(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr));
  if (!file_)
    return kOpenFailed;
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
  try {
    for (const FileRecord& record : ParseFileListText(text, read / sizeof(wchar_t)))
      InsertLocked(std::make_unique<FileRecord>(record));
  } catch (const std::bad_alloc&) {
    return kReadFailed;
  }
  return kOk;
}

int FileListStore::Write() {
  std::lock_guard<CriticalSection> lock(lock_);
  if (!file_)
    return kNotOpen;
  std::wstring text;
  try {
    text.reserve(records_.size() * 48);
    for (const auto& entry : records_)
      AppendFileListLine(text, *entry.second);
  } catch (const std::bad_alloc&) {
    return kNotOpen;
  }
  DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  DWORD written = 0;
  if (SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
    return kNotOpen;
  if (bytes != 0 &&
      (!system_calls().write_file(file_.get(), text.data(), bytes, &written, nullptr) || written != bytes))
    return kNotOpen;
  if (!system_calls().flush_file(file_.get()) || !SetEndOfFile(file_.get()))
    return kNotOpen;
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
  return records_.erase(KeyOf(name)) != 0 ? kOk : kNameNotFound;
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
  return kOk;
}

void FileListStore::Close() {
  std::lock_guard<CriticalSection> lock(lock_);
  CloseLocked();
}

void FileListStore::CloseLocked() {
  std::vector<char>().swap(read_buffer_);
  file_.reset();
  file_size_ = 0;
  records_.clear();
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

bool FileListStore::IsOpen() {
  std::lock_guard<CriticalSection> lock(lock_);
  return static_cast<bool>(file_);
}

size_t FileListStore::RecordCount() {
  std::lock_guard<CriticalSection> lock(lock_);
  return records_.size();
}
