#include "app/texts/XmlRecordFile.h"

#include <windows.h>

#include <cstdint>
#include <new>

#include "app/texts/XmlNesting.h"
#include "ui/base/FileReading.h"

bool ReadXmlFileBytes(const wchar_t* path, std::string* bytes) {
  bytes->clear();
  if (path == nullptr || path[0] == 0)
    return false;
  // Opened through the wide path: an 8-bit copy of the path would lose every character outside the system
  // code page.
  UniqueHandle file = OpenFileForReading(path);
  uint64_t size = 0;
  if (!file.valid() || !QueryFileSize(file.get(), &size) || size > UINT32_MAX / 2)
    return false;
  try {
    bytes->resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (size != 0 && !ReadFileAt(file.get(), 0, &(*bytes)[0], static_cast<uint32_t>(size))) {
    bytes->clear();
    return false;
  }
  return true;
}

std::string NormalizedXmlText(const char* bytes, size_t size) {
  std::string text;
  text.reserve(size);
  for (size_t at = 0; at < size && bytes[at] != 0; ++at) {
    if (bytes[at] != '\r') {
      text += bytes[at];
      continue;
    }
    text += '\n';
    if (at + 1 < size && bytes[at + 1] == '\n')
      ++at;
  }
  return text;
}

bool ParseXmlBytes(TiXmlDocument* document, const char* bytes, size_t size, TiXmlEncoding encoding) {
  document->Clear();
  std::string text;
  try {
    text = NormalizedXmlText(bytes, size);
    text.append(kXmlTextPadding, '\0');
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (text.size() == kXmlTextPadding)
    return false;
  // TinyXML recurses once per open element: a text nested deeper than any real file would overflow the stack.
  if (XmlNestingDepth(text.data(), text.size(), encoding, kMaxXmlNesting) > kMaxXmlNesting)
    return false;
  document->Parse(text.c_str(), nullptr, encoding);
  return !document->Error();
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
