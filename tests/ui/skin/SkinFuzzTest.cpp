// Seeded mutation fuzzing of the skin files that users exchange: the category list "skin_info.ini", font
// files and animated-image definitions. Besides not crashing, an accepted file must keep to the bounds the
// loaders promise: counts within their limits and matching what is handed out, frames inside their strip,
// and no skin file ever looked for outside the skin root.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "tests/ui/gfx/TestImages.h"
#include "tests/ui/skin/SkinTestFolder.h"
#include "ui/base/IniFile.h"
#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/NImage.h"

namespace testing_support {
namespace {

// A relative path that stays below the folder it is joined to: no drive or stream ':', no part made only of
// dots and blanks with two dots or more (a part the file system may read as ".."). Empty parts (a doubled
// separator) are read as one separator.
bool StaysBelow(const std::wstring& relative) {
  if (relative.find(L':') != std::wstring::npos)
    return false;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find_first_of(L"\\/", start);
    if (end == std::wstring::npos)
      end = relative.size();
    const std::wstring part = relative.substr(start, end - start);
    if (part.find_first_not_of(L". ") == std::wstring::npos &&
        std::count(part.begin(), part.end(), L'.') >= 2)
      return false;
    start = end + 1;
  }
  return true;
}

// Every path the category hands out lies below the skin root.
void ExpectLocatedBelowTheRoot(SkinLoader* category) {
  const std::wstring located = category->located_path().GetString();
  if (located.empty())
    return;
  const std::wstring root = std::wstring(kSkinRoot) + L"\\";
  ASSERT_EQ(0u, located.compare(0, root.size(), root));
  ASSERT_TRUE(StaysBelow(located.substr(root.size()))) << std::string(located.begin(), located.end());
}

std::vector<std::string> Encoded(std::initializer_list<const wchar_t*> tokens) {
  std::vector<std::string> bytes;
  for (const wchar_t* token : tokens)
    bytes.push_back(Utf16Bytes(token));
  return bytes;
}

class SkinFuzz : public SkinTest {
 protected:
  void WriteImages() {
    BmpFields strip;
    strip.width = 4;
    Write(L"data\\skin\\common\\strip.bmp", BmpBytes(strip, std::string(12, 's')));
    Write(L"data\\skin\\common\\a.bmp", BmpBytes(BmpFields(), std::string(4, 'a')));
    Write(L"data\\skin\\blue\\b.bmp", BmpBytes(BmpFields(), std::string(4, 'b')));
    // Files beside and above the root, which no skin file may reach.
    Write(L"data\\outside.bmp", BmpBytes(BmpFields(), std::string(4, 'o')));
    Write(L"outside.bmp", BmpBytes(BmpFields(), std::string(4, 'o')));
    Write(L"data\\outside.ini", Utf16IniBytes(L"[IMAGE]\r\n"));
  }
};

TEST_F(SkinFuzz, SkinInfoGivesCompleteCategoriesThatFindFilesOnlyBelowTheRoot) {
  WriteImages();
  const std::vector<std::string> seeds = {
      Utf16IniBytes(
          L"[CATEGORY]\r\ncount=2\r\n[CATEGORY_0]\r\nid=main\r\npath=common\r\nskin_path=%s\r\n"
          L"[CATEGORY_1]\r\nid=login\r\npath=common\\login\r\nskin_path=%s\\login\r\nskin_change=0\r\n"),
      Utf16IniBytes(L"[CATEGORY]\r\ncount=1\r\n[CATEGORY_0]\r\nid=x\r\npath=.\r\nskin_path=blue\r\n")};
  const std::vector<std::string> dictionary = Encoded(
      {L"..\\", L"../", L"..", L"C:\\", L"\\", L"%s", L"%s%s", L"%n", L"count=", L"[CATEGORY_0]\r\n", L"."});
  Mutator mutator(0x5C1F, Mutator::kText16);
  int loaded = 0;
  RunFuzzInputs("skin info", mutator, seeds, dictionary, 250, [&](const std::string& input) {
    Reset();
    SetCurrentSkin(mutator.Below(2) == 0 ? L"blue" : L".");
    Write(L"data\\skin\\skin_info.ini", input);
    const int result = SkinLoader::LoadSkinInfo();
    // The list as the file states it, read independently through the ini reader.
    std::unique_ptr<IniStringContainer> ini(ParseIniFileContent(
        reinterpret_cast<const wchar_t*>(input.data()), static_cast<uint32_t>(input.size())));
    const int32_t count = ini ? ini->GetInt(L"CATEGORY", L"count", 0) : 0;
    if (result == 0)
      return;
    ++loaded;
    ASSERT_GT(count, 0);
    for (int32_t i = 0; i < count && i < 64; ++i) {
      const std::wstring section = L"CATEGORY_" + std::to_wstring(i);
      const wchar_t* id = ini->GetString(section.c_str(), L"id", nullptr);
      ASSERT_NE(nullptr, id);
      SkinLoader* category = FindSkinCategory(id);
      ASSERT_NE(nullptr, category);
      for (const wchar_t* name : {L"a.bmp", L"b.bmp", L"strip.bmp", L"outside.bmp", L"..\\outside.bmp",
                                  L"..\\..\\outside.bmp", L"..\\..\\..\\outside.bmp"}) {
        OpenSkinFile(category, name);
        ASSERT_NO_FATAL_FAILURE(ExpectLocatedBelowTheRoot(category));
      }
    }
  });
  EXPECT_GT(loaded, 0);
}

TEST_F(SkinFuzz, FontFilesMakeExactlyTheFontsTheirCountStates) {
  const std::vector<std::string> seeds = {
      Utf16IniBytes(
          L"[FONT]\r\ncount=2\r\ncolorkey_r=255\r\ncolorkey_g=0\r\ncolorkey_b=255\r\n"
          L"[FONT_0]\r\nid=small\r\nsize=12\r\nname=Arial\r\ncharset=0\r\nbold=1\r\n"
          L"[FONT_1]\r\nid=title\r\nsize=-18\r\nname=Tahoma\r\nitalic=1\r\nunderline=1\r\ngap_x=1\r\n"
          L"gap_y=2\r\n"),
      Utf16IniBytes(L"[FONT]\r\ncount=1\r\n")};
  const std::vector<std::string> dictionary =
      Encoded({L"count=", L"256", L"257", L"[FONT_0]\r\n", L"name=", L"size=", L"%s"});
  Mutator mutator(0xF0E7, Mutator::kText16);
  GuardedBuffer buffer;
  int made = 0;
  RunFuzzInputs("font file", mutator, seeds, dictionary, 5000, [&](const std::string& input) {
    RemoveAllFontManagers();
    std::unique_ptr<IniStringContainer> ini(ParseIniFileContent(
        reinterpret_cast<const wchar_t*>(buffer.Place(input)), static_cast<uint32_t>(input.size())));
    const int32_t count = ini ? ini->GetInt(L"FONT", L"count", 0) : 0;
    const int result = LoadSkinFonts(L"fuzz", ini.get());
    ASSERT_EQ(ini != nullptr && count >= 1 && count <= NFontManager::kMaxFonts, result == 1);
    NFontManager* set = FindFontManager(L"fuzz");
    ASSERT_EQ(result == 1, set != nullptr);
    if (set == nullptr)
      return;
    ++made;
    ASSERT_EQ(count, set->count());
    ASSERT_EQ(0xFF000000u, set->color_key() & 0xFF000000u);
    FontInfo info;
    for (int32_t i = 0; i < count; ++i)
      ASSERT_EQ(1, set->GetFontAt(i, &info));
    ASSERT_EQ(0, set->GetFontAt(count, &info));
    ASSERT_EQ(0, set->GetFontAt(-1, &info));
  });
  RemoveAllFontManagers();
  EXPECT_GT(made, 0);
}

TEST_F(SkinFuzz, AnimatedImagesKeepTheirFramesInsideTheirImages) {
  WriteImages();
  WriteSkinInfo({{L"main", L"common", L"%s"}});
  const std::vector<std::string> seeds = {
      Utf16IniBytes(L"[IMAGE]\r\nx=3\r\ny=4\r\nframe_count=4\r\nframe_time=100\r\nimage=strip.bmp\r\n"),
      Utf16IniBytes(L"[IMAGE]\r\nframe_count=2\r\nframe_time=50\r\n[FRAME_0]\r\nimage=a.bmp\r\n"
                    L"[FRAME_1]\r\nimage=b.bmp\r\n"),
      Utf16IniBytes(L"[IMAGE]\r\nimage=a.bmp\r\n")};
  const std::vector<std::string> dictionary = Encoded(
      {L"..\\outside.bmp", L"..\\..\\outside.bmp", L"frame_count=", L"frame_time=", L"1024", L"1025", L"-1"});
  Mutator mutator(0xA417, Mutator::kText16);
  int made = 0;
  RunFuzzInputs("animated image", mutator, seeds, dictionary, 250, [&](const std::string& input) {
    ReleaseAllVirtualFiles();
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
    SetCurrentSkin(L"blue");
    Write(L"data\\skin\\common\\anim.ini", input);
    SkinLoader* category = FindSkinCategory(L"main");
    ASSERT_NE(nullptr, category);
    std::unique_ptr<NImage> image(LoadSkinImage(category, L"anim"));
    ASSERT_NO_FATAL_FAILURE(ExpectLocatedBelowTheRoot(category));
    if (!image)
      return;
    ++made;
    ASSERT_GE(image->frame_count(), 0);
    ASSERT_LE(image->frame_count(), int32_t{NImage::kMaxFrames});
    for (uint32_t now : {0u, 99u, 100u, 12345u, 0x7FFFFFFFu, 0xFFFFFFFFu, 5u}) {
      image->TickAt(now);
      ASSERT_GE(image->current_frame(), 0);
      ASSERT_LT(image->current_frame(), image->frame_count() == 0 ? 1 : image->frame_count());
      RECT source = {};
      Dib* frame = image->GetFrame(&source);
      if (frame == nullptr) {
        // Only an image that names no file at all has nothing to draw.
        ASSERT_EQ(0, image->frame_count());
        continue;
      }
      ASSERT_GE(source.left, 0);
      ASSERT_LE(source.right, frame->width());
      ASSERT_LT(source.left, source.right);
      ASSERT_LE(source.bottom, frame->height());
    }
  });
  EXPECT_GT(made, 0);
}

}  // namespace
}  // namespace testing_support
