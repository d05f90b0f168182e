#include "app/texts/XMLNotice.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "app/texts/XmlRecordFile.h"

CXMLNotice::CXMLNotice() : document_(new TiXmlDocument()) {}

CXMLNotice::~CXMLNotice() = default;

bool CXMLNotice::Load(const wchar_t* path) {
  records_.clear();
  document_->Clear();
  std::string bytes;
  if (!ReadXmlFileBytes(path, &bytes))
    return false;
  return LoadBytes(bytes.data(), bytes.size());
}

bool CXMLNotice::LoadBytes(const char* bytes, size_t size) {
  records_.clear();
  // TinyXML and the record array allocate with new, which throws; nothing may leave the reader.
  try {
    if (!ParseXmlBytes(document_.get(), bytes, size, TIXML_DEFAULT_ENCODING))
      return false;
    for (const TiXmlElement* element = FirstRecordElement(*document_, "notice"); element != nullptr;
         element = element->NextSiblingElement()) {
      NoticeRecord record;
      std::memset(&record, 0, sizeof record);
      ReadRecordField(*element, "subject", record.subject, 1024);
      ReadRecordField(*element, "url", record.url, 1024);
      records_.push_back(record);
    }
  } catch (const std::bad_alloc&) {
    records_.clear();
    return false;
  }
  return true;
}

bool CXMLNotice::Publish() {
  int32_t count = static_cast<int32_t>(records_.size());
  if (count == 0) {
    ClearRawNoticeCount();
    return false;
  }
  NoticeRecord* published = new (std::nothrow) NoticeRecord[records_.size()];
  if (published == nullptr)
    return false;
  std::copy(records_.begin(), records_.end(), published);
  PublishRawNotices(published, count);
  return true;
}
