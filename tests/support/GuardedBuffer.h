// Fuzz inputs placed so that their last byte is the last one before a no-access page: a parser that reads
// even one byte past the end of what it was given faults at once, instead of reading stale memory that
// happens to be there.
//
// One buffer is reused for input after input (it grows when an input needs more pages). Thread: the
// test's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace testing_support {

class GuardedBuffer {
 public:
  GuardedBuffer() = default;
  ~GuardedBuffer();
  GuardedBuffer(const GuardedBuffer&) = delete;
  GuardedBuffer& operator=(const GuardedBuffer&) = delete;

  // Copies `bytes` to end at the guard page and returns the copy's first byte (the guard page itself for an
  // empty input). Valid until the next Place; the bytes may be written by the parser.
  uint8_t* Place(const std::string& bytes);
  // Room for `size` bytes (contents undefined) ending at the guard page: an output buffer for a decoder.
  uint8_t* PlaceSpace(size_t size);
  // Places the UTF-16 text `text` with its NUL as the last unit before the guard page.
  wchar_t* PlaceText(const std::wstring& text);

 private:
  void Reserve(size_t size);

  uint8_t* base_ = nullptr;  // the whole allocation
  size_t usable_ = 0;        // bytes before the guard page
};

// The little-endian UTF-16 bytes of `text`, optionally after the byte-order mark FF FE.
std::string Utf16Bytes(const std::wstring& text, bool with_mark = false);
// The UTF-16 units of little-endian `bytes` (an odd last byte is dropped).
std::wstring Utf16Units(const std::string& bytes);

}  // namespace testing_support
