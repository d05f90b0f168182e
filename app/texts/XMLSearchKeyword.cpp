#include "app/texts/XMLSearchKeyword.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "app/texts/XmlRecordFile.h"

namespace {

// Every keyword field takes at most 260 units with its terminator, whatever the field's width.
const size_t kKeywordFieldLimit = 260;

}  // namespace

CXMLSearchKeyword::CXMLSearchKeyword() : document_(new TiXmlDocument()) {}

CXMLSearchKeyword::~CXMLSearchKeyword() = default;

bool CXMLSearchKeyword::Load(const wchar_t* path) {
  records_.clear();
  document_->Clear();
  std::string bytes;
  if (!ReadXmlFileBytes(path, &bytes))
    return false;
  return LoadBytes(bytes.data(), bytes.size());
}

bool CXMLSearchKeyword::LoadBytes(const char* bytes, size_t size) {
  records_.clear();
  // TinyXML and the record array allocate with new, which throws; nothing may leave the reader.
  try {
    if (!ParseXmlBytes(document_.get(), bytes, size, TIXML_DEFAULT_ENCODING))
      return false;
    for (const TiXmlElement* element = FirstRecordElement(*document_, "item"); element != nullptr;
         element = element->NextSiblingElement()) {
      KeywordRecord record;
      std::memset(&record, 0, sizeof record);
      ReadRecordField(*element, "view_content", record.view_content, kKeywordFieldLimit);
      ReadRecordField(*element, "link_type", record.link_type, kKeywordFieldLimit);
      ReadRecordField(*element, "keyword", record.keyword, kKeywordFieldLimit);
      ReadRecordField(*element, "section", record.section, kKeywordFieldLimit);
      ReadRecordField(*element, "href", record.href, kKeywordFieldLimit);
      records_.push_back(record);
    }
  } catch (const std::bad_alloc&) {
    records_.clear();
    return false;
  }
  return true;
}

bool CXMLSearchKeyword::Publish() {
  int32_t count = static_cast<int32_t>(records_.size());
  if (count == 0) {
    ClearRawKeywordCount();
    return false;
  }
  KeywordRecord* published = new (std::nothrow) KeywordRecord[records_.size()];
  if (published == nullptr)
    return false;
  std::copy(records_.begin(), records_.end(), published);
  PublishRawKeywords(published, count);
  return true;
}
