// The update-server selection's skin names its images relative to its own folder ("UpdateServerSelect.ini":
// back, and the buttons' and scroll bar's images). Seeded mutation of such names: an image loads only from
// inside the skin folder, whatever the name holds.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/windows/UpdateServerSelectButton.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/gfx/TestImages.h"
#include "ui/gfx/Dib.h"

namespace testing_support {
namespace {

// The skin folder "<temp>\skin\select" holds images 4 pixels wide; every image outside it is 1 pixel wide.
class ServerSelectSkinFolder {
 public:
  ServerSelectSkinFolder() {
    BmpFields inside;
    inside.width = 4;
    const std::string inside_bytes = BmpBytes(inside, std::string(12, 'i'));
    const std::string outside_bytes = BmpBytes(BmpFields(), std::string(4, 'o'));
    EXPECT_TRUE(MakeFolders(folder_.Join(L"skin\\select\\sub")));
    EXPECT_TRUE(WriteFileBytes(skin() + L"\\back.bmp", inside_bytes));
    EXPECT_TRUE(WriteFileBytes(skin() + L"\\sub\\btn.bmp", inside_bytes));
    EXPECT_TRUE(WriteFileBytes(folder_.Join(L"skin\\back.bmp"), outside_bytes));
    EXPECT_TRUE(WriteFileBytes(folder_.Join(L"back.bmp"), outside_bytes));
    EXPECT_TRUE(WriteFileBytes(folder_.Join(L"skin\\selection.bmp"), outside_bytes));
  }
  std::wstring skin() const { return folder_.Join(L"skin\\select"); }
  std::wstring Join(const std::wstring& relative) const { return folder_.Join(relative); }

 private:
  TempFolder folder_{L"selectskin"};
};

// The width of the image `name` loads, 0 for none.
int32_t LoadedWidth(const std::wstring& folder, const wchar_t* name) {
  Dib* image = LoadServerSelectImage(folder, name);
  if (image == nullptr)
    return 0;
  const int32_t width = image->width();
  image->Release();
  return width;
}

// Found by the fuzz test below: the names were joined to the skin folder unchecked.
TEST(LoadServerSelectImage, NamesThatLeaveTheSkinFolderLoadNothing) {
  ServerSelectSkinFolder folder;
  for (const wchar_t* name : {L"back.bmp", L"sub\\btn.bmp", L"sub/btn.bmp"})
    EXPECT_EQ(4, LoadedWidth(folder.skin(), name)) << name;
  const std::wstring absolute = folder.Join(L"back.bmp");
  for (const wchar_t* name :
       {L"..\\back.bmp", L"../back.bmp", L"..\\..\\back.bmp", L"sub\\..\\..\\back.bmp", L"...\\back.bmp",
        L"\\back.bmp", L"..\\select\\..\\back.bmp", absolute.c_str(), L"..\\selection.bmp", L""})
    EXPECT_EQ(0, LoadedWidth(folder.skin(), name)) << name;
}

TEST(ServerSelectSkinFuzz, ImageNamesLoadOnlyFromInsideTheSkinFolder) {
  ServerSelectSkinFolder folder;
  const std::vector<std::string> seeds = {Utf16Bytes(L"back.bmp"), Utf16Bytes(L"sub\\btn.bmp"),
                                          Utf16Bytes(L"..\\back.bmp"), Utf16Bytes(L"sub/../back.bmp")};
  const std::vector<std::string> dictionary = {
      Utf16Bytes(L".."),     Utf16Bytes(L"\\"),      Utf16Bytes(L"/"), Utf16Bytes(L"..\\"),
      Utf16Bytes(L"C:"),     Utf16Bytes(L"."),       Utf16Bytes(L" "), Utf16Bytes(L"\\\\?\\"),
      Utf16Bytes(L"select"), Utf16Bytes(L"back.bmp")};
  Mutator mutator(0x5E1EC7, Mutator::kText16);
  int loaded = 0;
  RunFuzzInputs("server select image names", mutator, seeds, dictionary, 3000, [&](const std::string& input) {
    std::wstring name = Utf16Units(input);
    name = name.substr(0, name.find(L'\0'));
    const int32_t width = LoadedWidth(folder.skin(), name.c_str());
    ASSERT_TRUE(width == 0 || width == 4) << width;
    loaded += width == 4;
  });
  EXPECT_GT(loaded, 0);
}

}  // namespace
}  // namespace testing_support
