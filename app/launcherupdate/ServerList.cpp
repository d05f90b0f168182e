#include "app/launcherupdate/ServerList.h"

#include <windows.h>

#include <tinyxml.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "app/games/CatalogueText.h"
#include "app/texts/XmlRecordFile.h"

namespace {

// A required text: present, not empty and fitting its field.
bool ReadRequiredText(const TiXmlElement& local, const char* name, wchar_t* field, size_t width) {
  const TiXmlElement* element = local.FirstChildElement(name);
  const char* text = element != nullptr ? element->GetText() : nullptr;
  return text != nullptr && text[0] != 0 && Utf8ToField(text, field, width) && field[0] != 0;
}

int32_t ReadNumber(const TiXmlElement& local, const char* name) {
  const TiXmlElement* element = local.FirstChildElement(name);
  const char* text = element != nullptr ? element->GetText() : nullptr;
  return text != nullptr ? DecimalValue(text) : 0;
}

}  // namespace

ServerList::~ServerList() {
  Clear();
}

void ServerList::Clear() {
  std::free(records_);
  records_ = nullptr;
  count_ = 0;
}

int ServerList::Parse(const wchar_t* path) {
  Clear();
  std::string bytes;
  if (!ReadXmlFileBytes(path, &bytes))
    return 0;
  return ParseBytes(bytes.data(), bytes.size());
}

int ServerList::ParseText(const char* text) {
  return ParseBytes(text != nullptr ? text : "", text != nullptr ? std::strlen(text) : 0);
}

int ServerList::ParseBytes(const char* bytes, size_t size) {
  Clear();
  TiXmlDocument document;
  if (!ParseXmlBytes(&document, bytes, size, TIXML_ENCODING_UTF8))
    return 0;
  return ParseDocument(document);
}

template <typename Document>
int ServerList::ParseDocument(const Document& document) {
  const TiXmlElement* root = document.RootElement();
  if (root == nullptr || std::strcmp(root->Value(), "LocalList") != 0)
    return 0;
  size_t count = 0;
  for (const TiXmlElement* local = root->FirstChildElement("Local"); local != nullptr;
       local = local->NextSiblingElement("Local"))
    ++count;
  if (count > static_cast<size_t>(INT32_MAX / sizeof(ServerRecord)))
    return 0;
  // calloc checks the multiplication and fails where new would throw.
  ServerRecord* records =
      count != 0 ? static_cast<ServerRecord*>(std::calloc(count, sizeof(ServerRecord))) : nullptr;
  if (count != 0 && records == nullptr)
    return 0;
  size_t index = 0;
  for (const TiXmlElement* local = root->FirstChildElement("Local"); local != nullptr;
       local = local->NextSiblingElement("Local"), ++index) {
    ServerRecord& record = records[index];
    if (!ReadRequiredText(*local, "local_name", record.name, 1024) ||
        !ReadRequiredText(*local, "lupdate_addr", record.address, 1024)) {
      std::free(records);
      return 0;
    }
    record.current_version = ReadNumber(*local, "current_version");
    record.separate_version = ReadNumber(*local, "separate_version");
  }
  records_ = records;
  count_ = static_cast<int32_t>(count);
  return 1;
}
