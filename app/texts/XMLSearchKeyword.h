// Reads the portal's search-keyword file and publishes its keywords (NoticeKeywordRecords.h).
//
// Keyword file (XML, element text as UTF-8; attributes ignored):
//   <any root>
//     <item>
//       <view_content>hint shown in the search box</view_content> <link_type>...</link_type>
//       <keyword>term searched for</keyword> <section>...</section> <href>...</href>
//     </item>
//     ... further sibling elements, of any name, each read as one more keyword
//   </any root>
// Reading starts at the root's first "item" child. A field whose UTF-16 form needs more than 260 units with
// its terminator is left empty.
//
// Use: construct, Load the downloaded file, Publish on success, destroy. Thread: the user-interface thread.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "app/texts/NoticeKeywordRecords.h"

class TiXmlDocument;

class CXMLSearchKeyword {
 public:
  CXMLSearchKeyword();
  virtual ~CXMLSearchKeyword();
  CXMLSearchKeyword(const CXMLSearchKeyword&) = delete;
  CXMLSearchKeyword& operator=(const CXMLSearchKeyword&) = delete;

  // As CXMLNotice::Load and CXMLNotice::LoadBytes.
  bool Load(const wchar_t* path);
  bool LoadBytes(const char* bytes, size_t size);
  // Copies the records into the published keyword array. False when there are none (the published count
  // becomes 0) or no memory.
  bool Publish();

  const std::vector<KeywordRecord>& records() const { return records_; }

 private:
  std::unique_ptr<TiXmlDocument> document_;
  std::vector<KeywordRecord> records_;
};
