#include "ui/gfx/PNGObject.h"

#include <csetjmp>
#include <cstring>
#include <new>

#include "ui/gfx/Dib.h"

PNGObject::~PNGObject() {
  if (png_ != nullptr)
    png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr);
  delete[] rows_;
  delete[] data_;
}

void PNGObject::ReadData(png_structp png, png_bytep target, png_size_t length) {
  PNGObject* self = static_cast<PNGObject*>(png_get_io_ptr(png));
  if (length > self->size_ - self->position_)
    png_error(png, "read past the end of the data");
  std::memcpy(target, self->data_ + self->position_, length);
  self->position_ += static_cast<uint32_t>(length);
}

void PNGObject::OnError(png_structp png, png_const_charp /*message*/) {
  // Nothing is shown or logged: the failure is the 0 result of the call that jumped.
  png_longjmp(png, 1);
}

void PNGObject::OnWarning(png_structp /*png*/, png_const_charp /*message*/) {}

int PNGObject::Open(uint8_t* data, uint32_t size) {
  data_ = data;
  size_ = size;
  position_ = 0;
  if (data_ == nullptr || size_ < 8 || png_sig_cmp(data_, 0, 8) != 0)
    return 0;
  png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, OnError, OnWarning);
  if (png_ == nullptr)
    return 0;
  info_ = png_create_info_struct(png_);
  if (info_ == nullptr)
    return 0;
  png_set_read_fn(png_, this, ReadData);
  return ReadHeader();
}

int PNGObject::ReadHeader() {
  if (setjmp(png_jmpbuf(png_)))
    return 0;
  png_read_info(png_, info_);
  int bit_depth = png_get_bit_depth(png_, info_);
  int color_type = png_get_color_type(png_, info_);
  if (bit_depth != 8 || (color_type & PNG_COLOR_MASK_COLOR) == 0)
    return 0;
  if (color_type == PNG_COLOR_TYPE_PALETTE)
    png_set_palette_to_rgb(png_);
  if (png_get_valid(png_, info_, PNG_INFO_tRNS))
    png_set_tRNS_to_alpha(png_);
  png_set_bgr(png_);
  // Only images still without alpha get the filler byte.
  png_set_filler(png_, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png_);
  png_read_update_info(png_, info_);

  png_uint_32 width = png_get_image_width(png_, info_);
  png_uint_32 height = png_get_image_height(png_, info_);
  if (width < 1 || height < 1 || static_cast<uint64_t>(width) * height * 4 > Dib::kMaxByteSize ||
      png_get_rowbytes(png_, info_) != static_cast<png_size_t>(width) * 4)
    return 0;
  width_ = static_cast<int32_t>(width);
  height_ = static_cast<int32_t>(height);
  bit_depth_ = png_get_bit_depth(png_, info_);
  color_type_ = png_get_color_type(png_, info_);
  return 1;
}

int PNGObject::ReadPixels(uint32_t* pixels) {
  if (png_ == nullptr || pixels == nullptr || width_ < 1 || height_ < 1 || rows_ != nullptr)
    return 0;
  rows_ = new (std::nothrow) png_bytep[height_];
  if (rows_ == nullptr)
    return 0;
  // Rows are decoded straight into the image, the first row of the file into the last row of the store.
  for (int32_t row = 0; row < height_; ++row)
    rows_[row] = reinterpret_cast<png_bytep>(pixels + static_cast<size_t>(height_ - 1 - row) * width_);
  return ReadRows();
}

int PNGObject::ReadRows() {
  if (setjmp(png_jmpbuf(png_)))
    return 0;
  png_read_image(png_, rows_);
  png_read_end(png_, nullptr);
  return 1;
}
