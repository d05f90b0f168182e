#include "ui/base/String.h"

#include <cstring>
#include <new>

namespace {

const wchar_t kEmptyText[1] = {0};

wchar_t* AllocateBlock(size_t units) {
  return new (std::nothrow) wchar_t[units];
}

StringBlockAllocator g_allocate = &AllocateBlock;

}  // namespace

StringBlockAllocator SetStringBlockAllocator(StringBlockAllocator allocate) {
  StringBlockAllocator previous = g_allocate;
  g_allocate = allocate != nullptr ? allocate : &AllocateBlock;
  return previous;
}

String::~String() {
  delete[] buffer_;
}

const wchar_t* String::GetString() const {
  return buffer_ != nullptr ? buffer_ : kEmptyText;
}

uint32_t String::TextLength(const wchar_t* text) {
  if (text == nullptr)
    return 0;
  uint32_t units = 0;
  while (text[units] != 0)
    ++units;
  return units;
}

int String::EqualsUpTo(const wchar_t* a, const wchar_t* b, int32_t count) {
  if (a == nullptr || b == nullptr)
    return 0;
  for (int32_t i = 0; count < 0 || i < count; ++i) {
    if (a[i] != b[i])
      return 0;
    if (a[i] == 0)
      return 1;
  }
  return 1;
}

int String::Assign(const wchar_t* text) {
  if (text != nullptr && text == buffer_)
    return 1;
  uint32_t units = TextLength(text);
  if (units == 0) {
    delete[] buffer_;
    buffer_ = nullptr;
    length_ = 0;
    return 1;
  }
  return Replace(text, units, nullptr, 0);
}

int String::Append(const wchar_t* text) {
  uint32_t units = TextLength(text);
  if (units == 0)
    return 1;
  if (buffer_ == nullptr)
    return Assign(text);
  return Replace(buffer_, static_cast<uint32_t>(length_), text, units);
}

int String::Replace(const wchar_t* head, uint32_t head_units, const wchar_t* tail, uint32_t tail_units) {
  // Summed in 64 bits so that neither the unit count nor the byte count can wrap; a length that does not fit
  // the signed count (or a block that does not fit the address space) is refused instead of allocated short.
  uint64_t units = static_cast<uint64_t>(head_units) + tail_units;
  uint64_t bytes = (units + 1) * sizeof(wchar_t);
  if (units > INT32_MAX || bytes > SIZE_MAX)
    return 0;
  wchar_t* block = g_allocate(static_cast<size_t>(units) + 1);
  if (block == nullptr)
    return 0;
  // Both parts are copied before the old block is freed, so either may point into it.
  std::memcpy(block, head, static_cast<size_t>(head_units) * sizeof(wchar_t));
  if (tail_units != 0)
    std::memcpy(block + head_units, tail, static_cast<size_t>(tail_units) * sizeof(wchar_t));
  block[units] = 0;
  delete[] buffer_;
  buffer_ = block;
  length_ = static_cast<int32_t>(units);
  return 1;
}
