#include "app/texts/XmlRecordFile.h"

#include <windows.h>

#include <cstdio>
#include <memory>

namespace {

struct FileClose {
  void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

bool LoadXmlRecordFile(TiXmlDocument* document, const wchar_t* path) {
  document->Clear();
  if (path == nullptr || path[0] == 0)
    return false;
  // Opened through the wide path: an 8-bit copy of the path would lose every character outside the system
  // code page.
  std::unique_ptr<FILE, FileClose> file(_wfopen(path, L"rb"));
  if (file == nullptr)
    return false;
  return document->LoadFile(file.get(), TIXML_DEFAULT_ENCODING);
}

const TiXmlElement* FirstRecordElement(const TiXmlDocument& document, const char* first_name) {
  const TiXmlElement* root = document.RootElement();
  return root != nullptr ? root->FirstChildElement(first_name) : nullptr;
}

void ReadRecordField(const TiXmlElement& record, const char* name, wchar_t* field, size_t limit) {
  const TiXmlElement* element = record.FirstChildElement(name);
  const char* text = element != nullptr ? element->GetText() : nullptr;
  if (text == nullptr)
    return;
  int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (units <= 0 || static_cast<size_t>(units) > limit)
    return;
  // Invalid sequences may be counted one way when sizing and converted another (seen with Wine for runs of
  // lead bytes): the text only counts when the conversion ends with its terminator inside the limit.
  if (MultiByteToWideChar(CP_UTF8, 0, text, -1, field, units) != units || field[units - 1] != 0)
    field[0] = 0;
}
