// Writes pack archives for the tests, so that no binary fixture is kept in the tree. Also builds the damaged
// forms (short files, forged counts and offsets, malformed names) from their parts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// The 12-byte header: "ORPK", the entry count, a reserved word.
std::string PackHeaderBytes(uint32_t entry_count, const char* magic = "ORPK");
// One 140-byte entry. `name` is written as UTF-16LE into 64 units and NUL-padded; a name of 64 units has no
// NUL.
std::string PackEntryBytes(const std::wstring& name, uint32_t offset, uint32_t size);

// An archive from whole files: header, table, then each file's data in order.
class PackWriter {
 public:
  PackWriter& Add(const std::wstring& name, const std::string& data);
  std::string Bytes() const;

 private:
  struct File {
    std::wstring name;
    std::string data;
  };
  std::vector<File> files_;
};

}  // namespace testing_support
