#include "ui/skin/NTextBox.h"

#include <memory>
#include <new>

#include "ui/base/IniContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/gfx/GdiHandles.h"
#include "ui/skin/NFontManager.h"

TextBlockSize LayOutText(const wchar_t* text,
                         bool literal,
                         int32_t gap_x,
                         int32_t gap_y,
                         bool italic,
                         const std::function<GlyphExtent(wchar_t)>& measure,
                         const std::function<void(wchar_t, int32_t, int32_t)>& place,
                         const std::function<void(int32_t, int32_t, int32_t)>& line_end) {
  TextBlockSize block;
  if (text == nullptr)
    return block;
  int32_t top = 0;
  int32_t pen = 0;
  int32_t line_height = 0;
  bool line_has_text = false;
  bool measured_any = false;
  int32_t first_width = 0;
  auto finish_line = [&]() {
    int32_t line_width = line_has_text ? pen - gap_x : 0;
    if (line_width > block.width)
      block.width = line_width;
    if (line_end)
      line_end(top, line_height, pen);
  };
  for (const wchar_t* c = text; *c != L'\0'; ++c) {
    bool line_feed = !literal && *c == L'\n';
    bool escaped = !literal && c[0] == L'\\' && c[1] == L'n';
    if (line_feed || escaped) {
      finish_line();
      top += line_height + gap_y;
      pen = 0;
      line_height = 0;
      line_has_text = false;
      if (escaped)
        ++c;  // both characters are consumed
      continue;
    }
    GlyphExtent extent = measure(*c);
    if (!measured_any) {
      measured_any = true;
      first_width = extent.cx;
    }
    if (place)
      place(*c, pen, top);
    pen += extent.cx + gap_x;
    if (extent.cy > line_height)
      line_height = extent.cy;
    line_has_text = true;
  }
  finish_line();
  block.height = top + line_height;
  if (italic)
    block.width += first_width;
  return block;
}

POINT TextBoxCorner(int32_t align, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (align < 2 || align > 9)
    return POINT{x, y};
  int32_t column = (align - 1) % 3;  // 0 left, 1 centre, 2 right
  int32_t row = (align - 1) / 3;     // 0 top, 1 middle, 2 bottom
  int32_t left = column == 0 ? x : column == 1 ? x - width / 2 : x - width;
  int32_t top = row == 0 ? y : row == 1 ? y - height / 2 : y - height;
  return POINT{left, top};
}

NTextBox::~NTextBox() {
  if (rendered_ != nullptr)
    rendered_->Release();
}

void NTextBox::SetFont(const wchar_t* font_id, const wchar_t* font_set) {
  by_index = 0;
  font_id_.Assign(font_id);
  font_set_.Assign(font_set);
}

void NTextBox::Render(int32_t enabled) {
  if (rendered_ != nullptr)
    rendered_->Release();
  rendered_ = nullptr;
  NFontManager* set = FindFontManager(font_set_.GetString());
  FontInfo font;
  if (text_.GetLength() == 0 || set == nullptr ||
      !(by_index ? set->GetFontAt(font_index, &font) : set->FindFont(font_id_.GetString(), &font)))
    return;
  COLORREF colour = enabled ? text_colour : disabled_colour;
  ScopedMemoryDC dc(nullptr, nullptr);
  if (!dc.valid())
    return;
  HGDIOBJ old_font = SelectObject(dc.get(), font.font);
  auto measure = [&](wchar_t c) {
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc.get(), &c, 1, &size);
    return GlyphExtent{size.cx, size.cy};
  };
  TextBlockSize size = LayOutText(text_.GetString(), literal != 0, font.gap_x, font.gap_y, font.italic != 0,
                                  measure, nullptr, nullptr);
  Dib* image = size.width >= 1 && size.height >= 1 ? Dib::CreateBlank(size.width, size.height, 1) : nullptr;
  if (image != nullptr) {
    image->FillRect(RECT{0, 0, size.width, size.height}, set->color_key());
    image->set_color_key(set->color_key());
    HGDIOBJ old_bitmap = SelectObject(dc.get(), image->bitmap());
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), colour);
    ScopedGdiObject<HPEN> pen(font.underline ? CreatePen(PS_SOLID, 1, colour) : nullptr);
    LayOutText(
        text_.GetString(), literal != 0, font.gap_x, font.gap_y, font.italic != 0, measure,
        [&](wchar_t c, int32_t left, int32_t top) { TextOutW(dc.get(), left, top, &c, 1); },
        [&](int32_t top, int32_t height, int32_t end) {
          if (pen.get() == nullptr || height < 1)
            return;
          HGDIOBJ old_pen = SelectObject(dc.get(), pen.get());
          MoveToEx(dc.get(), 0, top + height - 1, nullptr);
          LineTo(dc.get(), end, top + height - 1);
          SelectObject(dc.get(), old_pen);
        });
    GdiFlush();
    SelectObject(dc.get(), old_bitmap);
    image->SetOpaque();
    rendered_ = image;
  }
  SelectObject(dc.get(), old_font);
}

void NTextBox::Draw(Dib* destination) const {
  if (destination == nullptr || rendered_ == nullptr)
    return;
  POINT corner = TextBoxCorner(align, x, y, rendered_->width(), rendered_->height());
  Dib::Draw(nullptr, &corner, rendered_, destination, 0);
}

void NTextBox::GetSize(int32_t* width, int32_t* height) const {
  *width = rendered_ != nullptr ? rendered_->width() : 0;
  *height = rendered_ != nullptr ? rendered_->height() : 0;
}

NTextBox* LoadSkinTextBox(IniContainer* ini, const wchar_t* section, const wchar_t* font_set) {
  if (ini == nullptr || section == nullptr || font_set == nullptr)
    return nullptr;
  const wchar_t* font_id = ini->GetString(section, L"font_id", nullptr);
  if (font_id == nullptr)
    return nullptr;
  std::unique_ptr<NTextBox> box(new (std::nothrow) NTextBox());
  if (!box)
    return nullptr;
  box->SetFont(font_id, font_set);
  box->x = ini->GetInt(section, L"text_x", 0);
  box->y = ini->GetInt(section, L"text_y", 0);
  box->align = ini->GetInt(section, L"text_align", 0);
  int32_t r = ini->GetInt(section, L"text_color_r", 0);
  int32_t g = ini->GetInt(section, L"text_color_g", 0);
  int32_t b = ini->GetInt(section, L"text_color_b", 0);
  box->text_colour = RGB(r & 255, g & 255, b & 255);
  box->disabled_colour = RGB(ini->GetInt(section, L"text_disabled_color_r", r) & 255,
                             ini->GetInt(section, L"text_disabled_color_g", g) & 255,
                             ini->GetInt(section, L"text_disabled_color_b", b) & 255);
  if (const wchar_t* text = ini->GetString(section, L"text", nullptr)) {
    box->text().Assign(text);
    box->literal = 0;
    box->Render(1);
  }
  return box.release();
}
