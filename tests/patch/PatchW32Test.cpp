// patchw32.dll through its ordinal 1, called the way the engine calls it: a good patch applies, and every bad
// patch, wrong installed file or unsafe name leaves the installed file as it was and no temporary file
// behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "patch/PatchFormat.h"
#include "patch/PatchMaker.h"
#include "patch/PatchW32.h"
#include "tests/patch/PatchTestData.h"
#include "tests/support/TempFolder.h"

namespace patch {
namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

const char* __stdcall IgnoreProgress(unsigned int, unsigned int) {
  return "";
}

std::string Ansi(const std::wstring& wide) {
  int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &text[0], length, nullptr, nullptr);
  text.resize(text.size() - 1);
  return text;
}

std::string MakeOrDie(const std::string& old_bytes, const std::string& new_bytes, const std::string& name) {
  std::string patch;
  EXPECT_EQ(MakeResult::kOk, MakePatch(old_bytes, new_bytes, name, 3, &patch));
  return patch;
}

class PatchW32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryW(L"patchw32.dll");
    ASSERT_NE(nullptr, module_);
    FARPROC address = GetProcAddress(module_, MAKEINTRESOURCEA(1));
    apply_ = reinterpret_cast<ApplyBinaryPatchFunction>(reinterpret_cast<void (*)()>(address));
    ASSERT_NE(nullptr, apply_);
  }
  void TearDown() override { FreeLibrary(module_); }

  std::wstring Install(const std::wstring& name = L"") const {
    return name.empty() ? temp_.Join(L"install") : temp_.Join(L"install\\" + name);
  }
  // Stores `patch` as a downloaded patch file and applies it to `folder` with the engine's command line.
  int Apply(const std::string& patch, const std::wstring& folder) {
    std::wstring patch_path = temp_.Join(L"download\\game.exe.5.rtp");
    EXPECT_TRUE(WriteFileBytes(patch_path, patch));
    return ApplyFile(patch_path, folder);
  }
  int ApplyFile(const std::wstring& patch_path, const std::wstring& folder) {
    std::string line = "\"" + Ansi(patch_path) + "\" \"" + Ansi(folder) + "\" -q -not -nop -nos";
    return apply_(line.c_str(), &IgnoreProgress, 1);
  }
  // The installed file holds `bytes` and no temporary file is left beside it.
  void ExpectInstalled(const std::wstring& name, const std::string& bytes) {
    std::string actual;
    ASSERT_TRUE(ReadFileBytes(Install(name), &actual)) << Ansi(name);
    EXPECT_TRUE(actual == bytes) << Ansi(name) << ": " << actual.size() << " bytes, " << bytes.size()
                                 << " expected";
    EXPECT_FALSE(FileExists(Install(name) + L".patching"));
  }

  TempFolder temp_{L"patchw32"};
  HMODULE module_ = nullptr;
  ApplyBinaryPatchFunction apply_ = nullptr;
};

TEST_F(PatchW32Test, AppliesPatchesBetweenAnyContents) {
  std::string base = MixedBytes(300000, 1);
  std::string edited = base.substr(0, 100000) + "new bytes in the middle" + base.substr(120000);
  struct Case {
    const wchar_t* name;
    std::string old_bytes;
    std::string new_bytes;
  } cases[] = {
      {L"game.exe", base, edited},
      {L"data\\maps\\m01.map", edited, base},
      {L"empty_before.dat", "", "now it has content"},
      {L"empty_after.dat", "it had content", ""},
      {L"same.dat", base, base},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileBytes(Install(c.name), c.old_bytes));
    std::string name = Ansi(c.name);
    EXPECT_EQ(kPatchApplied, Apply(MakeOrDie(c.old_bytes, c.new_bytes, name), Install())) << name;
    ExpectInstalled(c.name, c.new_bytes);
  }
}

TEST_F(PatchW32Test, RefusesAWrongInstalledFileAndLeavesItAlone) {
  std::string old_bytes = MixedBytes(50000, 2);
  std::string patch = MakeOrDie(old_bytes, MixedBytes(50000, 3), "game.exe");
  std::string same_size_other_bytes = old_bytes;
  same_size_other_bytes[25000] ^= 1;
  for (const std::string& installed : {old_bytes + "x", same_size_other_bytes}) {
    ASSERT_TRUE(WriteFileBytes(Install(L"game.exe"), installed));
    EXPECT_EQ(kPatchOldFileMismatch, Apply(patch, Install()));
    ExpectInstalled(L"game.exe", installed);
  }
  DeleteFileW(Install(L"game.exe").c_str());
  EXPECT_EQ(kPatchOldFileUnreadable, Apply(patch, Install()));
  EXPECT_FALSE(FileExists(Install(L"game.exe")));
}

TEST_F(PatchW32Test, DamagedPatchesNeverReachTheInstalledFile) {
  std::string old_bytes = MixedBytes(200000, 4);
  std::string new_bytes = MixedBytes(200000, 5);  // little in common: a long frame
  std::string good = MakeOrDie(old_bytes, new_bytes, "game.exe");
  size_t frame_start = kPatchHeaderFixedBytes + 8;
  std::string frame = good.substr(frame_start);
  std::string flipped = good;
  flipped[frame_start + frame.size() / 2] ^= 0x40;
  struct Case {
    const char* what;
    std::string patch;
    int expected;
  } cases[] = {
      {"byte flipped in the frame", flipped, kPatchCorrupt},
      {"frame cut short", good.substr(0, good.size() - 10), kPatchCorrupt},
      {"bytes after the frame", good + "trailing", kPatchCorrupt},
      {"a second frame", good + frame, kPatchCorrupt},
      {"header announces another size",
       RawPatchHeader("game.exe", 200000, Crc32Of(old_bytes), 199999, Crc32Of(new_bytes)) + frame,
       kPatchCorrupt},
      {"header announces another CRC",
       RawPatchHeader("game.exe", 200000, Crc32Of(old_bytes), 200000, Crc32Of(new_bytes) ^ 1) + frame,
       kPatchNewFileMismatch},
      {"not a patch", "this is not a patch file at all", kPatchBadHeader},
      {"header only", good.substr(0, frame_start), kPatchCorrupt},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileBytes(Install(L"game.exe"), old_bytes));
    int result = Apply(c.patch, Install());
    // A flipped byte may hit a literal that decodes fine: then the CRC check catches it.
    if (result == kPatchNewFileMismatch && c.expected == kPatchCorrupt && c.patch.size() == good.size())
      result = kPatchCorrupt;
    EXPECT_EQ(c.expected, result) << c.what;
    ExpectInstalled(L"game.exe", old_bytes);
  }
}

TEST_F(PatchW32Test, NamesOutsideTheFolderAreRefused) {
  // A file one level above the install folder that a hostile patch would like to change.
  std::string outside = "outside the installation";
  std::wstring outside_path = temp_.Join(L"victim.dll");
  ASSERT_TRUE(WriteFileBytes(outside_path, outside));
  ASSERT_TRUE(WriteFileBytes(Install(L"game.exe"), "game"));
  std::string frame = MakeOrDie(outside, "replaced", "x").substr(kPatchHeaderFixedBytes + 1);
  std::string absolute = Ansi(outside_path);
  for (const std::string& name : {std::string("..\\victim.dll"), std::string("sub\\..\\..\\victim.dll"),
                                  absolute, absolute.substr(2)}) {
    std::string patch = RawPatchHeader(name, static_cast<uint32_t>(outside.size()), Crc32Of(outside), 8,
                                       Crc32Of("replaced")) +
                        frame;
    EXPECT_EQ(kPatchUnsafeTarget, Apply(patch, Install())) << name;
  }
  std::string still;
  ASSERT_TRUE(ReadFileBytes(outside_path, &still));
  EXPECT_EQ(outside, still);
  EXPECT_FALSE(FileExists(outside_path + L".patching"));
}

TEST_F(PatchW32Test, ReadOnlyTargetIsReplacedAndStaysReadOnly) {
  ASSERT_TRUE(WriteFileBytes(Install(L"game.exe"), "version four"));
  ASSERT_TRUE(SetFileAttributesW(Install(L"game.exe").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(kPatchApplied, Apply(MakeOrDie("version four", "version five", "game.exe"), Install()));
  ExpectInstalled(L"game.exe", "version five");
  EXPECT_TRUE(GetFileAttributesW(Install(L"game.exe").c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(PatchW32Test, TargetInUseIsRefusedAndLeftAlone) {
  ASSERT_TRUE(WriteFileBytes(Install(L"game.exe"), "version four"));
  HANDLE running = CreateFileW(Install(L"game.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, running);
  EXPECT_EQ(kPatchReplaceFailed, Apply(MakeOrDie("version four", "version five", "game.exe"), Install()));
  CloseHandle(running);
  ExpectInstalled(L"game.exe", "version four");
}

TEST_F(PatchW32Test, LeftoverTemporaryFileDoesNotStopTheNextApply) {
  ASSERT_TRUE(WriteFileBytes(Install(L"game.exe"), "version four"));
  ASSERT_TRUE(WriteFileBytes(Install(L"game.exe.patching"), "from a run that was killed"));
  SetFileAttributesW(Install(L"game.exe.patching").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(kPatchApplied, Apply(MakeOrDie("version four", "version five", "game.exe"), Install()));
  ExpectInstalled(L"game.exe", "version five");
}

TEST_F(PatchW32Test, BadCallsAreRefused) {
  ASSERT_TRUE(WriteFileBytes(Install(L"game.exe"), "version four"));
  EXPECT_EQ(kPatchBadCommandLine, apply_(nullptr, &IgnoreProgress, 1));
  std::string only_patch = "\"" + Ansi(temp_.Join(L"p.rtp")) + "\" -q -not -nop -nos";
  EXPECT_EQ(kPatchBadCommandLine, apply_(only_patch.c_str(), nullptr, 1));
  EXPECT_EQ(kPatchFileUnreadable, ApplyFile(temp_.Join(L"no such patch.rtp"), Install()));
  ExpectInstalled(L"game.exe", "version four");
}

TEST_F(PatchW32Test, FolderEndingInABackslashIsPatched) {
  // The engine passes a drive root as "X:\": the backslash before the closing quote belongs to the path. A
  // drive root cannot be made here, so the same quoting is shown with a folder that ends in a backslash.
  ASSERT_TRUE(WriteFileBytes(Install(L"game.exe"), "version four"));
  EXPECT_EQ(kPatchApplied, Apply(MakeOrDie("version four", "version five", "game.exe"), Install() + L"\\"));
  ExpectInstalled(L"game.exe", "version five");
}

}  // namespace
}  // namespace patch
