#include "ui/gfx/ImageLoader.h"

#include <cwchar>
#include <new>

#include "ui/base/AsciiCase.h"
#include "ui/gfx/BMPLoader.h"
#include "ui/gfx/PNGLoader.h"

ImageLoader* CreateImageLoader(const wchar_t* path) {
  const wchar_t* extension = path != nullptr ? std::wcsrchr(path, L'.') : nullptr;
  if (extension == nullptr)
    return nullptr;
  if (EqualsIgnoringAsciiCase(extension, L".png"))
    return new (std::nothrow) PNGLoader;
  if (EqualsIgnoringAsciiCase(extension, L".bmp"))
    return new (std::nothrow) BMPLoader;
  return nullptr;
}
