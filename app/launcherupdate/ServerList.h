// The list of update servers, "locallist.xml" (UTF-8 XML, element texts, not attributes):
//   <LocalList>
//     <Local>
//       <local_name>display name</local_name>          required, not empty
//       <lupdate_addr>host[:port][/path]</lupdate_addr>  required, not empty
//       <current_version>12</current_version>           decimal; missing: 0
//       <separate_version>3</separate_version>          decimal; missing: 0
//     </Local> ...
//   </LocalList>
//
// Thread: the user-interface thread (the server selection).
#pragma once

#include <cstddef>
#include <cstdint>

// One server: 4108 bytes.
struct ServerRecord {
  wchar_t name[1024];
  wchar_t address[1024];
  int32_t current_version;
  int32_t separate_version;
  int32_t disabled;  // set by the selection dialog
};
static_assert(sizeof(ServerRecord) == 4108, "server record layout");

class ServerList {
 public:
  ServerList() = default;
  virtual ~ServerList();
  ServerList(const ServerList&) = delete;
  ServerList& operator=(const ServerList&) = delete;

  // Reads the file at `path` (a wide path, opened as such). 1 read; 0 when the file cannot be read or parsed,
  // the root is not "LocalList", a "Local" lacks a non-empty "local_name" or "lupdate_addr", a text does not
  // fit 1024 characters, or the records cannot be allocated. On 0 the list is empty.
  int Parse(const wchar_t* path);
  // The same over the text of a file (up to its NUL).
  int ParseText(const char* text);
  // The same over `size` bytes of a file, read as the file is (the text ends at a NUL). Pure.
  int ParseBytes(const char* bytes, size_t size);

  int count() const { return count_; }
  ServerRecord* records() { return records_; }
  const ServerRecord* records() const { return records_; }

 private:
  void Clear();
  template <typename Document>
  int ParseDocument(const Document& document);

  int32_t count_ = 0;
  ServerRecord* records_ = nullptr;
};
