#include "ui/gfx/Dib.h"

#include <cstring>
#include <new>

#include "ui/base/AsciiCase.h"
#include "ui/gfx/GdiHandles.h"
#include "ui/gfx/ImageLoader.h"

namespace {

TPLinkedList<Dib> g_live_images;

// The pixel store of one image before it is handed to the Dib: either a DIB section or a heap block.
struct PixelStore {
  HBITMAP bitmap = nullptr;
  uint32_t* pixels = nullptr;
};

bool MakeStore(int32_t width, int32_t height, int section, PixelStore* store) {
  uint64_t byte_size = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
  if (width < 1 || height < 1 || byte_size > Dib::kMaxByteSize)
    return false;
  if (!section) {
    store->pixels = new (std::nothrow) uint32_t[static_cast<size_t>(width) * height];
    return store->pixels != nullptr;
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up, like every image here
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(byte_size);
  void* bits = nullptr;
  store->bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (store->bitmap != nullptr && bits == nullptr) {
    DeleteObject(store->bitmap);
    store->bitmap = nullptr;
  }
  store->pixels = static_cast<uint32_t*>(bits);
  return store->bitmap != nullptr;
}

// One pixel of a blend. Red and blue are mixed in one 32-bit product, green in another; the subtractions
// wrap and every shift is logical, exactly as the skins were designed against.
inline uint32_t BlendPixel(uint32_t s, uint32_t d, uint32_t global_alpha) {
  uint32_t f = ((((global_alpha + 1) * (s >> 24)) >> 8) & 255) + 1;
  uint32_t rb = (((((s & 0xFF00FF) - (d & 0xFF00FF)) * f) >> 8) + (d & 0xFF00FF)) & 0xFF00FF;
  uint32_t g = (((((s & 0xFF00) - (d & 0xFF00)) * f) >> 8) + (d & 0xFF00)) & 0xFF00;
  return rb | g | (d & 0xFF000000);
}

void BlendRow(const uint32_t* source, uint32_t* target, int32_t count, uint32_t global_alpha, uint32_t key) {
  for (int32_t i = 0; i < count; ++i) {
    uint32_t s = source[i];
    uint32_t d = target[i];
    if ((s >> 24) == 0 || (d >> 24) == 0 || s == key)
      continue;
    // Full opacity on both counts (f = 256) leaves exactly the source colour: the common case of skins.
    if ((s >> 24) == 255 && global_alpha == 255)
      target[i] = (s & 0x00FFFFFF) | (d & 0xFF000000);
    else
      target[i] = BlendPixel(s, d, global_alpha);
  }
}

void CopyRow(const uint32_t* source, uint32_t* target, int32_t count, uint32_t key) {
  if (key == 0) {
    std::memmove(target, source, static_cast<size_t>(count) * 4);
    return;
  }
  for (int32_t i = 0; i < count; ++i) {
    if (source[i] != key)
      target[i] = source[i];
  }
}

// The block to draw after clipping: a source origin, a destination origin and a size.
struct DrawBlock {
  int64_t source_left, source_top, target_left, target_top, width, height;
};

// Clips `block` against a destination of `width` x `height`; false when nothing is left.
bool ClipToDestination(DrawBlock* block, int32_t width, int32_t height) {
  if (block->target_left < 0) {
    block->width += block->target_left;
    block->source_left -= block->target_left;
    block->target_left = 0;
  }
  if (block->target_top < 0) {
    block->height += block->target_top;
    block->source_top -= block->target_top;
    block->target_top = 0;
  }
  if (block->target_left + block->width > width)
    block->width = width - block->target_left;
  if (block->target_top + block->height > height)
    block->height = height - block->target_top;
  return block->width > 0 && block->height > 0;
}

}  // namespace

Dib::Dib() {
  live_node_ = g_live_images.AddTail(this);
}

Dib::~Dib() {
  FreeStore();
  if (live_node_ != nullptr) {
    g_live_images.Unlink(live_node_);
    delete live_node_;
  }
}

const TPLinkedList<Dib>& Dib::LiveImages() {
  return g_live_images;
}

Dib* Dib::FindCached(const wchar_t* path) {
  return FindCachedFor(path, 0);
}

Dib* Dib::FindCachedFor(const wchar_t* path, int section) {
  if (path == nullptr || path[0] == 0)
    return nullptr;
  for (TPLinkedList<Dib>::Node* node = g_live_images.head(); node != nullptr; node = node->next) {
    Dib* image = node->item;
    if ((!section || image->section_) && EqualsIgnoringAsciiCase(image->name_, path))
      return image;
  }
  return nullptr;
}

Dib* Dib::Load(const wchar_t* path, int section) {
  Dib* cached = FindCachedFor(path, section);
  if (cached != nullptr) {
    cached->AddReference();
    return cached;
  }
  ImageLoader* loader = CreateImageLoader(path);
  if (loader == nullptr)
    return nullptr;
  int32_t width = 0;
  int32_t height = 0;
  Dib* image = nullptr;
  if (loader->Load(path) && loader->GetSize(&width, &height)) {
    image = new (std::nothrow) Dib;
    if (image != nullptr && (!image->Create(width, height, section) || !loader->Decode(image->pixels_))) {
      delete image;
      image = nullptr;
    }
  }
  delete loader;
  if (image != nullptr)
    image->SetName(path);
  return image;
}

Dib* Dib::CreateBlank(int32_t width, int32_t height, int section) {
  if (width < 1 || height < 1)
    return nullptr;
  Dib* image = new (std::nothrow) Dib;
  if (image != nullptr && !image->Create(width, height, section)) {
    delete image;
    image = nullptr;
  }
  return image;
}

void Dib::Release() {
  if (--references_ <= 0)
    delete this;
}

void Dib::SetName(const wchar_t* path) {
  size_t units = 0;
  for (; path != nullptr && path[units] != 0 && units + 1 < MAX_PATH; ++units)
    name_[units] = path[units];
  name_[units] = 0;
}

void Dib::FreeStore() {
  if (bitmap_ != nullptr)
    DeleteObject(bitmap_);
  else
    delete[] pixels_;
  bitmap_ = nullptr;
  pixels_ = nullptr;
  section_ = 0;
  width_ = height_ = 0;
  byte_size_ = 0;
}

int Dib::Create(int32_t width, int32_t height, int section) {
  FreeStore();
  PixelStore store;
  if (!MakeStore(width, height, section, &store))
    return 0;
  bitmap_ = store.bitmap;
  pixels_ = store.pixels;
  section_ = section ? 1 : 0;
  width_ = width;
  height_ = height;
  byte_size_ = static_cast<uint32_t>(width) * static_cast<uint32_t>(height) * 4;
  return 1;
}

int Dib::Resize(int32_t width, int32_t height) {
  if (width < 1 || height < 1)
    return 0;
  if (width == width_ && height == height_ && pixels_ != nullptr)
    return 1;
  if (!section_ && pixels_ != nullptr && static_cast<uint64_t>(width) * height * 4 == byte_size_) {
    width_ = width;
    height_ = height;
    return 1;
  }
  // The new store is made before the old one goes, so a failure leaves the image as it was.
  PixelStore store;
  if (!MakeStore(width, height, section_, &store))
    return 0;
  int section = section_;
  FreeStore();
  bitmap_ = store.bitmap;
  pixels_ = store.pixels;
  section_ = section;
  width_ = width;
  height_ = height;
  byte_size_ = static_cast<uint32_t>(width) * static_cast<uint32_t>(height) * 4;
  return 1;
}

void Dib::FillRect(const RECT& rect, uint32_t value) {
  if (rect.right - rect.left < 1 || rect.bottom - rect.top < 1 || pixels_ == nullptr)
    return;
  int32_t left = rect.left < 0 ? 0 : rect.left;
  int32_t top = rect.top < 0 ? 0 : rect.top;
  int32_t right = rect.right > width_ ? width_ : rect.right;
  int32_t bottom = rect.bottom > height_ ? height_ : rect.bottom;
  for (int32_t y = top; y < bottom; ++y) {
    uint32_t* row = Row(y);
    for (int32_t x = left; x < right; ++x)
      row[x] = value;
  }
}

void Dib::SetOpaque() {
  if (pixels_ == nullptr)
    return;
  size_t count = static_cast<size_t>(width_) * height_;
  for (size_t i = 0; i < count; ++i)
    pixels_[i] |= 0xFF000000u;
}

size_t Dib::CollectShownRuns(uint32_t key, RECT* rects) const {
  size_t runs = 0;
  for (int32_t y = 0; y < height_; ++y) {
    const uint32_t* row = Row(y);
    for (int32_t x = 0; x < width_;) {
      if (row[x] == key || (row[x] >> 24) == 0) {
        ++x;
        continue;
      }
      int32_t start = x;
      while (x < width_ && row[x] != key && (row[x] >> 24) != 0)
        ++x;
      if (rects != nullptr)
        rects[runs] = RECT{start, y, x, y + 1};
      ++runs;
    }
  }
  return runs;
}

HRGN Dib::CreateColorKeyRegion(uint32_t key) const {
  if (pixels_ == nullptr)
    return nullptr;
  // One region made from every run at once covers the same area as joining the runs one by one, without
  // thousands of region calls for a large background.
  size_t runs = CollectShownRuns(key, nullptr);
  if (runs == 0)
    return CreateRectRgn(0, 0, 0, 0);
  size_t bytes = sizeof(RGNDATAHEADER) + runs * sizeof(RECT);
  uint8_t* buffer = new (std::nothrow) uint8_t[bytes];
  if (buffer == nullptr)
    return nullptr;
  RGNDATA* data = reinterpret_cast<RGNDATA*>(buffer);
  CollectShownRuns(key, reinterpret_cast<RECT*>(data->Buffer));
  data->rdh = RGNDATAHEADER{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(runs),
                            static_cast<DWORD>(runs * sizeof(RECT)), RECT{0, 0, width_, height_}};
  HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(bytes), data);
  delete[] buffer;
  return region;
}

int Dib::Draw(const RECT* source_rect, const POINT* destination, const Dib* src, Dib* dst, int blend) {
  if (dst == nullptr || src == nullptr)
    return 0;
  if (blend && src->alpha_ <= 0)
    return 1;
  DrawBlock block = {0, 0, 0, 0, src->width_, src->height_};
  if (destination != nullptr) {
    block.target_left = destination->x;
    block.target_top = destination->y;
  }
  if (source_rect != nullptr) {
    int64_t width = static_cast<int64_t>(source_rect->right) - source_rect->left;
    int64_t height = static_cast<int64_t>(source_rect->bottom) - source_rect->top;
    if (source_rect->left < 0 || source_rect->top < 0 || width < 0 || height < 0 ||
        source_rect->left + width > src->width_ || source_rect->top + height > src->height_)
      return 0;
    block.source_left = source_rect->left;
    block.source_top = source_rect->top;
    block.width = width;
    block.height = height;
  }
  if (src->pixels_ == nullptr || dst->pixels_ == nullptr ||
      !ClipToDestination(&block, dst->width_, dst->height_))
    return 1;
  uint32_t global_alpha = src->alpha_ > 255 ? 255u : static_cast<uint32_t>(src->alpha_);
  int32_t count = static_cast<int32_t>(block.width);
  for (int64_t row = 0; row < block.height; ++row) {
    const uint32_t* source = src->Row(static_cast<int32_t>(block.source_top + row)) + block.source_left;
    uint32_t* target = dst->Row(static_cast<int32_t>(block.target_top + row)) + block.target_left;
    if (blend)
      BlendRow(source, target, count, global_alpha, src->color_key_);
    else
      CopyRow(source, target, count, src->color_key_);
  }
  return 1;
}

int Dib::DrawToDC(const POINT* point, HDC dc) const {
  if (dc == nullptr || bitmap_ == nullptr)
    return 0;
  ScopedMemoryDC memory(dc, bitmap_);
  if (!memory.valid())
    return 0;
  int x = point != nullptr ? point->x : 0;
  int y = point != nullptr ? point->y : 0;
  BitBlt(dc, x, y, width_, height_, memory.get(), 0, 0, SRCCOPY);
  return 1;
}

uint32_t MakeColor(int32_t r, int32_t g, int32_t b) {
  auto clamp = [](int32_t value) { return static_cast<uint32_t>(value < 0 ? 0 : value > 255 ? 255 : value); };
  return 0xFF000000u | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}
