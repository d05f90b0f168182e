// Skin categories from skin_info.ini, the current skin, and where skin files are found.
#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/ui/base/PackWriter.h"
#include "tests/ui/skin/SkinTestFolder.h"
#include "ui/base/FileObject.h"
#include "ui/base/IniStringContainer.h"
#include "ui/base/VirtualFile.h"
#include "ui/skin/SkinLoader.h"

namespace testing_support {
namespace {

std::string ReadAndClose(FileObject* file) {
  if (file == nullptr)
    return "<none>";
  std::string bytes(VirtualFileSize(file), '\0');
  ReadVirtualFile(file, 0, &bytes[0], static_cast<uint32_t>(bytes.size()));
  CloseVirtualFile(file);
  return bytes;
}

TEST_F(SkinTest, CategoriesAreReadInFileOrderUpToTheCount) {
  WriteIni(L"data\\skin\\skin_info.ini",
           L"[CATEGORY]\r\ncount=3\r\n"
           L"[CATEGORY_0]\r\nid=main\r\npath=main\r\nskin_path=main\\%s\r\n"
           L"[CATEGORY_1]\r\nid=popup\r\npath=common\r\nskin_path=popup\\%s\r\nskin_change=0\r\n"
           L"[CATEGORY_2]\r\nid=main\r\npath=other\r\nskin_path=x\r\nskin_change=5\r\n"
           L"[CATEGORY_3]\r\nid=ignored\r\npath=a\r\nskin_path=b\r\n");
  ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  SkinLoader* main = FindSkinCategory(L"main");
  ASSERT_NE(nullptr, main);
  EXPECT_STREQ(L"main", main->path().GetString());  // the first of two with one id
  EXPECT_STREQ(L"main\\%s", main->skin_path().GetString());
  EXPECT_EQ(1, main->skin_change());
  ASSERT_NE(nullptr, FindSkinCategory(L"popup"));
  EXPECT_EQ(0, FindSkinCategory(L"popup")->skin_change());
  EXPECT_EQ(nullptr, FindSkinCategory(L"ignored"));
  EXPECT_EQ(nullptr, FindSkinCategory(L"MAIN"));
  EXPECT_EQ(nullptr, FindSkinCategory(nullptr));

  SkinLoader::UnloadSkinInfo();
  EXPECT_EQ(nullptr, FindSkinCategory(L"main"));
}

TEST_F(SkinTest, AnUnusableCategoryListLeavesNoCategories) {
  const std::pair<const char*, std::wstring> cases[] = {
      {"no count", L"[CATEGORY]\r\n[CATEGORY_0]\r\nid=a\r\npath=a\r\nskin_path=a\r\n"},
      {"count 0", L"[CATEGORY]\r\ncount=0\r\n"},
      {"negative count", L"[CATEGORY]\r\ncount=-3\r\n"},
      {"one category without skin_path",
       L"[CATEGORY]\r\ncount=2\r\n[CATEGORY_0]\r\nid=a\r\npath=a\r\nskin_path=a\r\n[CATEGORY_1]\r\nid="
       L"b\r\npath=b\r\n"},
      {"a count far beyond the sections there",
       L"[CATEGORY]\r\ncount=2147483647\r\n[CATEGORY_0]\r\nid=a\r\npath=a\r\nskin_path=a\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    WriteIni(L"data\\skin\\skin_info.ini", c.second);
    ReleaseAllVirtualFiles();
    EXPECT_EQ(0, SkinLoader::LoadSkinInfo());
    EXPECT_EQ(nullptr, FindSkinCategory(L"a"));
  }
  Write(L"data\\skin\\skin_info.ini",
        "[CATEGORY]\r\ncount=1\r\n[CATEGORY_0]\r\nid=a\r\npath=a\r\nskin_path=a\r\n");
  ReleaseAllVirtualFiles();
  EXPECT_EQ(0, SkinLoader::LoadSkinInfo());  // no byte-order mark
}

TEST_F(SkinTest, TheCurrentSkinFolderComesBeforeTheCommonFolderAndPacksCount) {
  WriteSkinInfo({{L"main", L"common", L"skin\\%s"}});
  ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  SkinLoader* main = FindSkinCategory(L"main");
  SetCurrentSkin(L"blue");
  Write(L"data\\skin\\skin\\blue\\btn.bmp", "blue btn");
  Write(L"data\\skin\\common\\btn.bmp", "common btn");
  Write(L"data\\skin\\common\\back.bmp", "common back");
  // Each folder may be a pack archive beside it.
  Write(L"data\\skin\\skin\\blue.pak", PackWriter().Add(L"packed.bmp", "blue packed").Bytes());
  Write(L"data\\skin\\common.pak", PackWriter().Add(L"only_common.bmp", "common packed").Bytes());

  EXPECT_EQ("blue btn", ReadAndClose(LocateSkinFile(main, L"btn.bmp")));
  EXPECT_EQ("common back", ReadAndClose(LocateSkinFile(main, L"back.bmp")));
  EXPECT_EQ("blue packed", ReadAndClose(LocateSkinFile(main, L"packed.bmp")));
  EXPECT_EQ("common packed", ReadAndClose(LocateSkinFile(main, L"only_common.bmp")));
  EXPECT_EQ("<none>", ReadAndClose(LocateSkinFile(main, L"missing.bmp")));
  EXPECT_EQ("<none>", ReadAndClose(LocateSkinFile(main, nullptr)));

  EXPECT_STREQ(L"data\\skin\\skin\\blue\\btn.bmp", OpenSkinFile(main, L"btn.bmp"));
  EXPECT_STREQ(L"data\\skin\\common\\only_common.bmp", OpenSkinFile(main, L"only_common.bmp"));
  EXPECT_STREQ(L"data\\skin\\common\\only_common.bmp", main->located_path().GetString());
  EXPECT_EQ(nullptr, OpenSkinFile(main, L"missing.bmp"));
  EXPECT_EQ(nullptr, FindOpenVirtualFile(L"data\\skin\\skin\\blue\\btn.bmp"));  // closed again
}

TEST_F(SkinTest, SkinPathIsDataNotAFormat) {
  WriteSkinInfo({{L"main", L"common", L"skins\\%s%d%n%s"}, {L"flat", L"common", L"flat"}});
  ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  SetCurrentSkin(L"blue");
  Write(L"data\\skin\\skins\\blue%d%n%s\\btn.bmp", "found");
  Write(L"data\\skin\\flat\\btn.bmp", "flat");
  EXPECT_EQ("found", ReadAndClose(LocateSkinFile(FindSkinCategory(L"main"), L"btn.bmp")));
  EXPECT_EQ("flat", ReadAndClose(LocateSkinFile(FindSkinCategory(L"flat"), L"btn.bmp")));
}

TEST_F(SkinTest, AnEmptySkinNameFillsTheFolderWithNothing) {
  WriteSkinInfo({{L"main", L"common", L"skin%s"}});
  ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  Write(L"data\\skin\\skin\\btn.bmp", "no skin name");
  Write(L"data\\skin\\common\\btn.bmp", "common");
  EXPECT_STREQ(L"", GetCurrentSkin());
  EXPECT_STREQ(L"data\\skin\\skin\\btn.bmp", OpenSkinFile(FindSkinCategory(L"main"), L"btn.bmp"));
}

TEST_F(SkinTest, SkinNamesThatCouldLeaveTheirFolderAreRefused) {
  SetCurrentSkin(L"blue");
  EXPECT_TRUE(TakeSkinChange());
  for (const wchar_t* name : {L"..", L"..\\..\\windows", L"a/b", L"a\\b", L"C:", L"blue..x"}) {
    SetCurrentSkin(name);
    EXPECT_STREQ(L"blue", GetCurrentSkin());
    EXPECT_FALSE(TakeSkinChange());
  }
}

// Skin files name folders and files (skin_info.ini's paths, an image's frame files); a name that climbs out
// of the skin root finds nothing, even when a file lies where it points.
TEST_F(SkinTest, SkinFileNamesAndFoldersThatClimbOutOfTheSkinRootFindNothing) {
  Write(L"data\\outside.bmp", "x");
  Write(L"data\\skin\\common\\in.bmp", "x");
  WriteSkinInfo(
      {{L"main", L"common", L"%s"}, {L"up", L"..", L"common\\..\\.."}, {L"dots", L"common\\...", L"x"}});
  ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  SetCurrentSkin(L".");  // a plain name, but ".%s" would make it ".."
  SkinLoader* main = FindSkinCategory(L"main");
  EXPECT_STREQ(L"data\\skin\\common\\in.bmp", OpenSkinFile(main, L"in.bmp"));
  for (const wchar_t* name : {L"..\\outside.bmp", L"../outside.bmp", L"x\\..\\..\\outside.bmp",
                              L".. \\outside.bmp", L"...\\outside.bmp", L"C:outside.bmp", L"in.bmp:stream"}) {
    SCOPED_TRACE(std::string(name, name + wcslen(name)));
    EXPECT_EQ(nullptr, OpenSkinFile(main, name));
  }
  EXPECT_EQ(nullptr, OpenSkinFile(FindSkinCategory(L"up"), L"outside.bmp"));
  EXPECT_EQ(nullptr, OpenSkinFile(FindSkinCategory(L"dots"), L"in.bmp"));
  WriteSkinInfo({{L"dot", L"x", L".%s"}});
  ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  EXPECT_EQ(nullptr, OpenSkinFile(FindSkinCategory(L"dot"), L"outside.bmp"));
}

TEST_F(SkinTest, OnlyARealChangeOfTheSkinNameCounts) {
  SetCurrentSkin(nullptr);
  SetCurrentSkin(L"");
  EXPECT_FALSE(TakeSkinChange());
  SetCurrentSkin(L"blue");
  SetCurrentSkin(L"blue");
  EXPECT_TRUE(TakeSkinChange());
  EXPECT_FALSE(TakeSkinChange());
  SetCurrentSkin(L"Blue");  // names compare exactly
  EXPECT_TRUE(TakeSkinChange());
  SetCurrentSkin(nullptr);
  EXPECT_TRUE(TakeSkinChange());
  EXPECT_STREQ(L"", GetCurrentSkin());
}

TEST_F(SkinTest, ControlIniFilesAreFoundLikeImagesAndNeedTheMark) {
  WriteSkinInfo({{L"main", L"common", L"skin\\%s"}});
  ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  SetCurrentSkin(L"blue");
  SkinLoader* main = FindSkinCategory(L"main");
  WriteIni(L"data\\skin\\skin\\blue\\install_btn.ini", L"[BACK]\r\nwidth=80\r\n");
  WriteIni(L"data\\skin\\common\\install_btn.ini", L"[BACK]\r\nwidth=10\r\n");
  Write(L"data\\skin\\common\\plain.ini", "[BACK]\r\nwidth=10\r\n");

  std::unique_ptr<IniStringContainer> ini(LoadControlSkinIni(main, L"install_btn"));
  ASSERT_NE(nullptr, ini);
  EXPECT_EQ(80, ini->GetInt(L"BACK", L"width", 0));
  EXPECT_EQ(nullptr, LoadControlSkinIni(main, L"plain"));
  EXPECT_EQ(nullptr, LoadControlSkinIni(main, L"missing"));
  EXPECT_EQ(nullptr, LoadControlSkinIni(main, nullptr));
  EXPECT_EQ(nullptr, LoadControlSkinIni(nullptr, L"install_btn"));
}

std::vector<std::pair<std::wstring, std::wstring>> g_misses;

void RecordMiss(const wchar_t* category_id, const wchar_t* name) {
  g_misses.emplace_back(category_id != nullptr ? category_id : L"<null>", name != nullptr ? name : L"<null>");
}

// Every miss is counted and handed to the observer; the loader itself never reads a switch from its
// environment (the shipped program once appended misses to any file a variable named).
TEST_F(SkinTest, EveryFileOrCategoryTheSkinLacksIsCountedAndHandedToTheObserver) {
  WriteSkinInfo({{L"main", L"common", L"skin\\%s"}});
  ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  SkinLoader* main = FindSkinCategory(L"main");
  Write(L"data\\skin\\common\\btn.bmp", "common btn");
  const std::wstring log = folder_.Join(L"misses.log");
  ASSERT_TRUE(SetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", log.c_str()));
  g_misses.clear();
  SkinFileMissObserver previous = SetSkinFileMissObserver(&RecordMiss);
  int32_t before = SkinFileMissCount();

  EXPECT_EQ("common btn", ReadAndClose(LocateSkinFile(main, L"btn.bmp")));  // found: no miss
  EXPECT_NE(nullptr, OpenSkinFile(main, L"btn.bmp"));
  EXPECT_EQ("<none>", ReadAndClose(LocateSkinFile(main, L"missing.bmp")));
  EXPECT_EQ(nullptr, OpenSkinFile(main, L"gone.png"));
  EXPECT_EQ(nullptr, LoadControlSkinIni(main, L"absent"));
  EXPECT_EQ(nullptr, FindSkinCategory(L"popup"));
  SetSkinFileMissObserver(previous);
  EXPECT_EQ(nullptr, FindSkinCategory(L"unobserved"));  // counted, not observed
  SetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", nullptr);

  EXPECT_EQ(before + 5, SkinFileMissCount());
  const std::vector<std::pair<std::wstring, std::wstring>> expected = {
      {L"main", L"missing.bmp"}, {L"main", L"gone.png"}, {L"main", L"absent.ini"}, {L"popup", L"<null>"}};
  EXPECT_EQ(expected, g_misses);
  EXPECT_FALSE(FileExists(log));
}

}  // namespace
}  // namespace testing_support
