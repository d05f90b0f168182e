#include "ui/base/IniFile.h"

#include <new>

#include "ui/base/IniStringContainer.h"
#include "ui/base/VirtualFile.h"

namespace {

const wchar_t kByteOrderMark = 0xFEFF;

}  // namespace

IniStringContainer* ParseIniFileContent(const wchar_t* content, uint32_t byte_size) {
  if (content == nullptr || byte_size < sizeof(wchar_t) || content[0] != kByteOrderMark)
    return nullptr;
  // Whole units only: (size - 2) / 2 never reaches the odd last byte or anything beyond the content.
  return IniStringContainer::Parse(content + 1, (byte_size - sizeof(wchar_t)) / sizeof(wchar_t));
}

IniStringContainer* LoadIniFile(const wchar_t* path) {
  return LoadIniFromVirtualFile(OpenVirtualFile(path));
}

IniStringContainer* LoadIniFromVirtualFile(FileObject* file) {
  if (file == nullptr)
    return nullptr;
  uint32_t size = VirtualFileSize(file);
  // Read into whole units (rounded up) so the text is aligned for UTF-16; the odd byte is never parsed.
  wchar_t* content = size >= sizeof(wchar_t) ? new (std::nothrow) wchar_t[size / 2 + size % 2] : nullptr;
  bool read = content != nullptr && ReadVirtualFile(file, 0, content, size) != 0;
  CloseVirtualFile(file);
  IniStringContainer* container = read ? ParseIniFileContent(content, size) : nullptr;
  delete[] content;
  return container;
}
