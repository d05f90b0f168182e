#include "app/windows/GameOrderButton.h"

#include <new>

#include "ui/gfx/Dib.h"
#include "ui/skin/NTextBox.h"

GameOrderButton::~GameOrderButton() {
  for (NTextBox*& text : texts_) {
    delete text;
    text = nullptr;
  }
  if (image_ != nullptr)
    image_->Release();
}

void GameOrderButton::FitImage(int32_t width, int32_t height) {
  // A row size without pixels leaves no image at all, rather than the image of the size before.
  if ((width < 1 || height < 1) && image_ != nullptr) {
    image_->Release();
    image_ = nullptr;
    return;
  }
  if (image_ != nullptr) {
    image_->Resize(width, height);
    return;
  }
  if (width > 0)
    image_ = Dib::CreateBlank(width, height, 0);
}

NTextBox* GameOrderButton::EnsureText(int32_t look) {
  if (look < 0 || look >= kLooks)
    return nullptr;
  if (texts_[look] == nullptr)
    texts_[look] = new (std::nothrow) NTextBox();
  return texts_[look];
}
