#include "ui/gfx/PNGLoader.h"

#include <new>

#include "ui/base/VirtualFile.h"
#include "ui/gfx/PNGObject.h"

PNGLoader::~PNGLoader() {
  delete png_;
}

int PNGLoader::Load(const wchar_t* path) {
  delete png_;
  png_ = nullptr;
  FileObject* file = OpenVirtualFile(path);
  if (file == nullptr)
    return 0;
  uint32_t size = VirtualFileSize(file);
  uint8_t* data = size != 0 ? new (std::nothrow) uint8_t[size] : nullptr;
  bool read = data != nullptr && ReadVirtualFile(file, 0, data, size);
  CloseVirtualFile(file);
  if (!read) {
    delete[] data;
    return 0;
  }
  png_ = new (std::nothrow) PNGObject;
  if (png_ == nullptr) {
    delete[] data;
    return 0;
  }
  if (!png_->Open(data, size)) {
    delete png_;
    png_ = nullptr;
    return 0;
  }
  return 1;
}

int PNGLoader::GetSize(int32_t* width, int32_t* height) {
  if (png_ == nullptr || width == nullptr || height == nullptr)
    return 0;
  *width = png_->width();
  *height = png_->height();
  return 1;
}

int PNGLoader::Decode(uint32_t* pixels) {
  return png_ != nullptr ? png_->ReadPixels(pixels) : 0;
}
