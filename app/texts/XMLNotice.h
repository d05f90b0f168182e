// Reads the portal's one-line notice file and publishes its notices (NoticeKeywordRecords.h).
//
// Notice file (XML, element text as UTF-8; attributes ignored):
//   <any root>
//     <notice> <subject>text shown in the ticker</subject> <url>link opened on a click</url> </notice>
//     ... further sibling elements, of any name, each read as one more notice
//   </any root>
// Reading starts at the root's first "notice" child; elements before it are skipped. A subject or url whose
// UTF-16 form needs more than 1024 units with its terminator is left empty.
//
// Use: construct, Load the downloaded file, Publish on success, destroy. Thread: the user-interface thread.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "app/texts/NoticeKeywordRecords.h"

class TiXmlDocument;

class CXMLNotice {
 public:
  CXMLNotice();
  virtual ~CXMLNotice();
  CXMLNotice(const CXMLNotice&) = delete;
  CXMLNotice& operator=(const CXMLNotice&) = delete;

  // Parses the file at `path` into records (replacing earlier ones). False for a missing or empty path, a
  // file that cannot be read or parsed; a file without notices is true with no records.
  bool Load(const wchar_t* path);
  // The same over `size` bytes of such a file (the text ends at a NUL). Pure: no file is read.
  bool LoadBytes(const char* bytes, size_t size);
  // Copies the records into the published notice array. False when there are none (the published count
  // becomes 0) or no memory.
  bool Publish();

  const std::vector<NoticeRecord>& records() const { return records_; }

 private:
  std::unique_ptr<TiXmlDocument> document_;
  std::vector<NoticeRecord> records_;
};
