#include "tests/ui/gfx/TestImages.h"

#include <png.h>

#include <csetjmp>

namespace testing_support {
namespace {

void PutU16(std::string* out, uint16_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>(value >> 8));
}

void PutU32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

// Runs the writer under its jump buffer; only plain locals live here.
bool WritePng(png_structp png, png_infop info, const PngImage& image, png_bytep* rows) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_set_IHDR(png, info, image.width, image.height, image.bit_depth, image.color_type,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!image.palette.empty())
    png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(image.palette.data()),
                 static_cast<int>(image.palette.size() / 3));
  if (!image.palette_alpha.empty())
    png_set_tRNS(png, info, image.palette_alpha.data(), static_cast<int>(image.palette_alpha.size()),
                 nullptr);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  return true;
}

}  // namespace

std::string BmpBytes(const BmpFields& fields, const std::string& data) {
  uint32_t image_size = fields.image_size == ~0u ? static_cast<uint32_t>(data.size()) : fields.image_size;
  std::string out = "BM";
  PutU32(&out, static_cast<uint32_t>(54 + data.size()));
  PutU32(&out, 0);
  PutU32(&out, 54);
  PutU32(&out, 40);
  PutU32(&out, static_cast<uint32_t>(fields.width));
  PutU32(&out, static_cast<uint32_t>(fields.height));
  PutU16(&out, 1);
  PutU16(&out, fields.bit_count);
  PutU32(&out, fields.compression);
  PutU32(&out, image_size);
  for (int i = 0; i < 4; ++i)
    PutU32(&out, 0);
  return out + data;
}

std::string PngBytes(const PngImage& image) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return std::string();
  }
  size_t row_bytes = image.height != 0 ? image.pixels.size() / image.height : 0;
  std::vector<png_bytep> rows(image.height);
  for (uint32_t y = 0; y < image.height; ++y)
    rows[y] = const_cast<png_bytep>(image.pixels.data()) + row_bytes * y;
  png_set_write_fn(png, &out, AppendToString, NoFlush);
  bool written = WritePng(png, info, image, rows.data());
  png_destroy_write_struct(&png, &info);
  return written ? out : std::string();
}

}  // namespace testing_support
