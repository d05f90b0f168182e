#include "app/startup/OwnVersion.h"

#include <windows.h>

#include <vector>

const wchar_t* FileVersionText(const void* block) {
  void* text = nullptr;
  UINT units = 0;
  if (!VerQueryValueW(block, L"\\StringFileInfo\\000004b0\\FileVersion", &text, &units) || text == nullptr ||
      units == 0)
    return nullptr;
  return static_cast<const wchar_t*>(text);
}

int CheckOwnFileVersion(const wchar_t* module_path, String* version) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(module_path, &ignored);
  if (size == 0)
    return 0;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(module_path, 0, size, block.data()))
    return 0;
  const wchar_t* text = FileVersionText(block.data());
  if (text == nullptr)
    return 0;
  version->Assign(text);
  return 1;
}
