// The read-only lookup interface over one parsed ini text (sections of key = value lines). Every skin
// description, message table and packed configuration file is read through it; IniStringContainer is the one
// implementation (IniStringContainer::Parse, or LoadIniFile for a virtual file).
//
// Section and key names compare exactly (case counts). Duplicates are kept and the first in file order wins.
// Texts handed out point into the container and live as long as it does.
//
// The container keeps two cursors for walks: a section cursor and a key cursor inside the current section.
// Lookups by name (GetString, GetInt, GetFloat) never move them.
//
// Thread: the thread that made the container. Owned by whoever made it; deleted through this interface.
#pragma once

#include <cstdint>

class IniContainer {
 public:
  virtual ~IniContainer() = default;

  // The value of `key` in the first section named `section`; `default_value` itself when either is missing.
  // A null section or key never matches.
  virtual const wchar_t* GetString(const wchar_t* section,
                                   const wchar_t* key,
                                   const wchar_t* default_value) = 0;
  // The value as a base-10 integer (NumberText.h: leading blanks, sign, digits, saturating; a present value
  // without digits gives 0, not the default); `default_value` when the key is missing.
  virtual int32_t GetInt(const wchar_t* section, const wchar_t* key, int32_t default_value) = 0;
  // The same for a decimal fraction.
  virtual double GetFloat(const wchar_t* section, const wchar_t* key, double default_value) = 0;

  // The name at the section cursor, or null.
  virtual const wchar_t* GetCurrentSectionName() = 0;
  // Moves the section cursor to the first section; 1 when there is one.
  virtual int FirstSection() = 0;
  // Moves the section cursor to the first section named `name`; 1 when found, else 0 with the cursor null.
  // The key cursor is left as it is.
  virtual int FindSection(const wchar_t* name) = 0;
  // Moves the section cursor on; 1 when it stands on a further section. A null cursor stays null (result 0).
  virtual int NextSection() = 0;

  // The key name at the key cursor, or null.
  virtual const wchar_t* GetCurrentKeyName() = 0;
  // Moves the key cursor to the first key of the current section; 1 when there is one. Without a current
  // section: 0, and the key cursor is left as it is.
  virtual int FirstKey() = 0;
  // Moves the key cursor to the first key named `name` in the current section; 1 when found, else 0 with the
  // cursor null. Without a current section: 0, and the key cursor is left as it is.
  virtual int FindKey(const wchar_t* name) = 0;
  // Moves the key cursor on; 1 when it stands on a further key. A null cursor stays null (result 0).
  virtual int NextKey() = 0;
  // The value at the key cursor, or null.
  virtual const wchar_t* GetCurrentValue() = 0;
};
