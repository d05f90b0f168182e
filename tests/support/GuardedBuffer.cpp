#include "tests/support/GuardedBuffer.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace testing_support {

namespace {

size_t PageSize() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
}

}  // namespace

GuardedBuffer::~GuardedBuffer() {
  if (base_ != nullptr)
    VirtualFree(base_, 0, MEM_RELEASE);
}

void GuardedBuffer::Reserve(size_t size) {
  if (base_ != nullptr && size <= usable_)
    return;
  if (base_ != nullptr)
    VirtualFree(base_, 0, MEM_RELEASE);
  const size_t page = PageSize();
  const size_t usable = (size + 64 * 1024 + page - 1) / page * page;
  base_ =
      static_cast<uint8_t*>(VirtualAlloc(nullptr, usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  DWORD old_protection = 0;
  if (base_ == nullptr || !VirtualProtect(base_ + usable, page, PAGE_NOACCESS, &old_protection)) {
    // Without a guard the tests would silently lose their point: stop here.
    std::abort();
  }
  usable_ = usable;
}

uint8_t* GuardedBuffer::Place(const std::string& bytes) {
  Reserve(bytes.size());
  uint8_t* start = base_ + usable_ - bytes.size();
  if (!bytes.empty())
    std::memcpy(start, bytes.data(), bytes.size());
  return start;
}

uint8_t* GuardedBuffer::PlaceSpace(size_t size) {
  Reserve(size);
  return base_ + usable_ - size;
}

wchar_t* GuardedBuffer::PlaceText(const std::wstring& text) {
  std::string bytes = Utf16Bytes(text);
  bytes.append(2, '\0');
  return reinterpret_cast<wchar_t*>(Place(bytes));
}

std::string Utf16Bytes(const std::wstring& text, bool with_mark) {
  std::string bytes = with_mark ? "\xFF\xFE" : "";
  bytes.reserve(bytes.size() + 2 * text.size());
  for (wchar_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>((unit >> 8) & 0xFF);
  }
  return bytes;
}

std::wstring Utf16Units(const std::string& bytes) {
  std::wstring text(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<wchar_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                   (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  return text;
}

}  // namespace testing_support
