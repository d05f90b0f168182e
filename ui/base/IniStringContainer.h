// The parsed form of one UTF-16 ini text: every name, key and value copied once into one pool, sections and
// keys in file order. See IniContainer.h for the lookups.
//
// Text syntax, line by line (a line ends after its first CR or LF, so CR LF leaves a blank line behind):
//   - leading blanks (space, tab, CR, LF) are skipped; a line left empty is skipped;
//   - ';' as the first character makes the line a comment (elsewhere ';' is ordinary text, also in values);
//   - '[' starts a section header: the name runs to the first ']' or the end of the line, blanks around it
//   are
//     removed, a missing ']' is accepted, what follows the ']' is ignored; "[]" and "[  ]" make no section;
//   - any other line is "key = value": the key runs to the first '=' (so values may hold '='), blanks around
//     key and value are removed; a line without '=' and key lines before the first section are dropped.
//
// Thread: the thread that made it.
#pragma once

#include <cstdint>

#include "ui/base/IniContainer.h"
#include "ui/base/TLinkedList.h"

struct KEY_STRING {
  virtual ~KEY_STRING() = default;
  const wchar_t* key = nullptr;    // into the pool
  const wchar_t* value = nullptr;  // into the pool
};

struct SECTION_STRING {
  virtual ~SECTION_STRING() = default;
  const wchar_t* name = nullptr;  // into the pool
  TLinkedList<KEY_STRING> keys;
};

class IniStringContainer : public IniContainer {
 public:
  ~IniStringContainer() override;
  IniStringContainer(const IniStringContainer&) = delete;
  IniStringContainer& operator=(const IniStringContainer&) = delete;

  // Parses `count` units of `text` (the content after the byte-order mark; no NUL needed). The text is not
  // referenced afterwards. Returns a new container owned by the caller, or null when memory for it, its pool
  // or one of its records could not be had (a partial container is never returned).
  static IniStringContainer* Parse(const wchar_t* text, uint32_t count);

  const wchar_t* GetString(const wchar_t* section, const wchar_t* key, const wchar_t* default_value) override;
  int32_t GetInt(const wchar_t* section, const wchar_t* key, int32_t default_value) override;
  double GetFloat(const wchar_t* section, const wchar_t* key, double default_value) override;
  const wchar_t* GetCurrentSectionName() override;
  int FirstSection() override;
  int FindSection(const wchar_t* name) override;
  int NextSection() override;
  const wchar_t* GetCurrentKeyName() override;
  int FirstKey() override;
  int FindKey(const wchar_t* name) override;
  int NextKey() override;
  const wchar_t* GetCurrentValue() override;

 private:
  using SectionNode = TLinkedList<SECTION_STRING>::Node;
  using KeyNode = TLinkedList<KEY_STRING>::Node;

  IniStringContainer() = default;
  bool ParseLine(const wchar_t* line, uint32_t units);
  bool AddSection(const wchar_t* line, uint32_t units);
  bool AddKey(const wchar_t* line, uint32_t units);
  // Copies `units` of `text` into the pool with a NUL; the copy's start, or null when the pool is full.
  const wchar_t* Keep(const wchar_t* text, uint32_t units);
  SectionNode* FindSectionNode(const wchar_t* name) const;

  wchar_t* pool_ = nullptr;
  uint32_t pool_size_ = 0;
  uint32_t pool_used_ = 0;
  TLinkedList<SECTION_STRING> sections_;
  SectionNode* section_cursor_ = nullptr;
  KeyNode* key_cursor_ = nullptr;
};
