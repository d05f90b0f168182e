// The launcher's own text type: a counted UTF-16 string that owns one exactly sized heap block.
//
// There is no spare capacity: every change allocates a block of exactly the new length + 1 units, copies into
// it and frees the old one. Strings here are short names, paths and labels that change rarely, so the simple
// layout wins over amortised growth. An empty string holds no block at all (length 0 exactly when the buffer
// is null).
//
// Thread: any, but one instance belongs to one thread. Not copyable: copy the text with Assign.
#pragma once

#include <cstddef>
#include <cstdint>

// Makes the block of `units` units (the terminator counted) for every String; null when it cannot. A seam for
// the tests that make an allocation fail; the blocks are freed with delete[].
typedef wchar_t* (*StringBlockAllocator)(size_t units);
// Puts `allocate` in place (null: the default, new (std::nothrow)) and returns the one it replaced. Only
// while no other thread changes a String.
StringBlockAllocator SetStringBlockAllocator(StringBlockAllocator allocate);

class String {
 public:
  String() = default;
  virtual ~String();
  String(const String&) = delete;
  String& operator=(const String&) = delete;

  // Number of UTF-16 units held, without the terminating NUL.
  int32_t GetLength() const { return length_; }
  // The text; a static empty text when the string is empty, never null, so it can go straight to Windows
  // calls.
  const wchar_t* GetString() const;

  // Units before the NUL; 0 for null or an empty text.
  static uint32_t TextLength(const wchar_t* text);
  // 1 when `a` and `b` hold the same units (exactly: case counts), else 0. A null text never equals anything.
  // `count` < 0 compares the whole texts; otherwise at most `count` units (0 gives 1).
  static int EqualsUpTo(const wchar_t* a, const wchar_t* b, int32_t count);

  // Replaces the content with `text` (null or empty empties the string; the string's own buffer leaves it as
  // it is). `text` may point into this string's own buffer. 1 on success; 0 when the block cannot be
  // allocated or the length does not fit, and then the content is unchanged.
  int Assign(const wchar_t* text);
  // Appends `text` (null or empty: no change; `text` may point into this string). Same results as Assign.
  int Append(const wchar_t* text);

 private:
  // Replaces the content with `head` followed by `tail` (units each); 0 when it cannot be allocated.
  int Replace(const wchar_t* head, uint32_t head_units, const wchar_t* tail, uint32_t tail_units);

  int32_t length_ = 0;
  wchar_t* buffer_ = nullptr;
};
