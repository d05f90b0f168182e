// The staged replacement's order: the program goes last, so that a launcher started after an interruption
// is whole, old or new.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "selfupdate/StagedReplacement.h"

namespace {

TEST(OrderProgramLast, MovesOnlyTheTopLevelProgramToTheEnd) {
  std::vector<std::wstring> files = {L"a.dll", L"ORVANELAUNCHER.EXE", L"sub\\orvaneLauncher.exe", L"b.txt"};
  OrderProgramLast(&files, L"orvaneLauncher.exe");
  EXPECT_EQ(
      (std::vector<std::wstring>{L"a.dll", L"sub\\orvaneLauncher.exe", L"b.txt", L"ORVANELAUNCHER.EXE"}),
      files);
}

}  // namespace
