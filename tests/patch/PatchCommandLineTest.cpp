// The command line that the engine builds for patchw32.dll: quoted paths (a drive root among them), the
// switches, and the lines that must be refused.
#include <gtest/gtest.h>

#include "patch/PatchCommandLine.h"

namespace patch {
namespace {

TEST(PatchCommandLine, ReadsBothPathsWhateverTheSwitchesAndBlanks) {
  struct Case {
    const char* line;
    const char* patch_path;
    const char* folder;
  } cases[] = {
      {"\"C:\\Games\\Demo\\game.exe.5.rtp\" \"C:\\Games\\Demo\" -q -not -nop -nos",
       "C:\\Games\\Demo\\game.exe.5.rtp", "C:\\Games\\Demo"},
      {"\"X:\\game.exe.5.rtp\" \"X:\\\" -q -not -nop -nos", "X:\\game.exe.5.rtp", "X:\\"},
      {"\"C:\\My Games\\a b.rtp\" \"C:\\My Games\" -q", "C:\\My Games\\a b.rtp", "C:\\My Games"},
      {"-q -nos \"C:\\p.rtp\" -not \"C:\\d\" -nop", "C:\\p.rtp", "C:\\d"},
      {"  C:\\p.rtp\t\tC:\\d  -zz -unknown-switch ", "C:\\p.rtp", "C:\\d"},
      {"\"C:\\p.rtp\" \"-folder\"", "C:\\p.rtp", "-folder"},
      {"\"C:\\p.rtp\"\"C:\\d\"", "C:\\p.rtp", "C:\\d"},
  };
  for (const Case& c : cases) {
    PatchCommandLine command;
    ASSERT_EQ(CommandLineResult::kOk, ParsePatchCommandLine(c.line, &command)) << c.line;
    EXPECT_EQ(c.patch_path, command.patch_path) << c.line;
    EXPECT_EQ(c.folder, command.target_folder) << c.line;
  }
}

TEST(PatchCommandLine, RefusesMissingEmptyExtraAndOpenPaths) {
  struct Case {
    const char* line;
    CommandLineResult expected;
  } cases[] = {
      {"", CommandLineResult::kMissingPatchPath},
      {"-q -not -nop -nos", CommandLineResult::kMissingPatchPath},
      {"\"C:\\p.rtp\" -q -not -nop -nos", CommandLineResult::kMissingTargetFolder},
      {"\"\" \"C:\\d\" -q", CommandLineResult::kEmptyPath},
      {"\"C:\\p.rtp\" \"\" -q", CommandLineResult::kEmptyPath},
      {"\"C:\\p.rtp\" \"C:\\d\" \"C:\\e\"", CommandLineResult::kTooManyPaths},
      {"\"C:\\p.rtp\" \"C:\\d -q -not", CommandLineResult::kUnterminatedQuote},
  };
  for (const Case& c : cases) {
    PatchCommandLine command;
    command.patch_path = "kept";
    EXPECT_EQ(c.expected, ParsePatchCommandLine(c.line, &command)) << c.line;
    EXPECT_EQ("kept", command.patch_path) << c.line;
  }
}

TEST(JoinUnderFolder, DriveRootsAndTrailingSeparatorsGiveOneBackslash) {
  struct Case {
    const wchar_t* folder;
    const wchar_t* name;
    const wchar_t* expected;
  } cases[] = {
      {L"X:\\", L"game.exe", L"X:\\game.exe"},
      {L"X:", L"game.exe", L"X:\\game.exe"},
      {L"C:\\Games\\Demo", L"game.exe", L"C:\\Games\\Demo\\game.exe"},
      {L"C:\\Games\\Demo\\\\", L"data/maps/m.map", L"C:\\Games\\Demo\\data\\maps\\m.map"},
      {L"\\\\server\\share", L"a", L"\\\\server\\share\\a"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, JoinUnderFolder(c.folder, c.name)) << c.folder;
}

}  // namespace
}  // namespace patch
