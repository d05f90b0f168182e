// One key of the launcher-info ini written through "<file>.new": a read-only ini is refused as on Windows and
// leaves nothing behind that blocks a later write; a rename refused while a reader holds the file is tried again
// for a bounded time.
#include "selfupdate/ProfileFileWrite.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/ScopedHandle.h"
#include "selfupdate/LauncherInfo.h"
#include "selfupdate/SelfUpdateFileOps.h"
#include "tests/support/TempFolder.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

// The real renames, refused with `g_refusal_error` the first `g_refusals` times (-1: always). A reader held in
// `g_reader` lets go of the file when the rename numbered `g_release_at` comes.
int g_refusals = 0;
DWORD g_refusal_error = ERROR_SHARING_VIOLATION;
int g_renames = 0;
int g_release_at = 0;
UniqueHandle g_reader;

BOOL RefusedMove(const wchar_t* from, const wchar_t* to) {
  ++g_renames;
  if (g_renames == g_release_at)
    g_reader.reset();
  if (g_refusals < 0 || g_renames <= g_refusals) {
    SetLastError(g_refusal_error);
    return FALSE;
  }
  return RealSelfUpdateFileOps().move_replacing(from, to);
}

class ProfileFileWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ops_ = RealSelfUpdateFileOps();
    ops_.move_replacing = &RefusedMove;
    SetSelfUpdateFileOps(&ops_);
    g_refusals = 0;
    g_refusal_error = ERROR_SHARING_VIOLATION;
    g_renames = 0;
    g_release_at = 0;
    ASSERT_TRUE(
        WritePrivateProfileStringW(kLauncherInfoSection, L"update_addr", L"update.example", ini_.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(kLauncherInfoSection, L"version", L"1", ini_.c_str()));
    ASSERT_TRUE(ReadFileBytes(ini_, &before_));
  }
  void TearDown() override {
    g_reader.reset();
    SetSelfUpdateFileOps(nullptr);
    SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(replacement_.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  bool WriteVersion(const wchar_t* version) {
    return WriteProfileStringReplacing(ini_.c_str(), kLauncherInfoSection, L"version", version);
  }
  std::wstring Version() {
    wchar_t text[16] = {};
    GetPrivateProfileStringW(kLauncherInfoSection, L"version", L"", text, 16, ini_.c_str());
    return text;
  }
  bool Unchanged() {
    std::string now;
    return ReadFileBytes(ini_, &now) && now == before_;
  }

  TempFolder folder_{L"profile-write"};
  const std::wstring ini_ = folder_.Join(kLauncherInfoFileName);
  const std::wstring replacement_ = ini_ + L".new";
  std::string before_;
  SelfUpdateFileOps ops_{};
};

TEST_F(ProfileFileWriteTest, AReadOnlyIniIsRefusedAsOnWindowsAndTakesTheNextWriteOnceWritable) {
  ASSERT_TRUE(SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_READONLY));
  for (const wchar_t* version : {L"2", L"3"}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(WriteVersion(version));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_TRUE(Unchanged());
    EXPECT_FALSE(FileExists(replacement_));
  }
  ASSERT_TRUE(SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(WriteVersion(L"4"));
  EXPECT_EQ(L"4", Version());
  EXPECT_FALSE(FileExists(replacement_));
}

// What an earlier write of a read-only ini may have left.
TEST_F(ProfileFileWriteTest, AReadOnlyNewLeftBehindIsReplaced) {
  ASSERT_TRUE(WriteFileBytes(replacement_, "[LAUNCHER_INFO]\r\nversion=9\r\n"));
  ASSERT_TRUE(SetFileAttributesW(replacement_.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(WriteVersion(L"2"));
  EXPECT_EQ(L"2", Version());
  EXPECT_FALSE(FileExists(replacement_));
}

TEST_F(ProfileFileWriteTest, ARenameRefusedWhileAReaderHoldsTheFileIsTriedAgainForABoundedTime) {
  struct Case {
    const char* name;
    int refusals;  // -1: for ever
    DWORD error;
    bool written;
    int renames;  // 0: more than one
  };
  const Case cases[] = {
      {"a sharing violation once", 1, ERROR_SHARING_VIOLATION, true, 2},
      {"a sharing violation three times", 3, ERROR_SHARING_VIOLATION, true, 4},
      {"access denied twice (the ini held)", 2, ERROR_ACCESS_DENIED, true, 3},
      {"a sharing violation for ever", -1, ERROR_SHARING_VIOLATION, false, 0},
      {"access denied for ever", -1, ERROR_ACCESS_DENIED, false, 0},
      {"a write fault", -1, ERROR_WRITE_FAULT, false, 1},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteFileBytes(ini_, before_));
    g_refusals = c.refusals;
    g_refusal_error = c.error;
    g_renames = 0;
    const DWORD start = GetTickCount();
    const bool written = WriteVersion(L"2");
    const DWORD error = GetLastError();
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(c.written, written) << c.name;
    if (c.renames != 0)
      EXPECT_EQ(c.renames, g_renames) << c.name;
    else
      EXPECT_GT(g_renames, 1) << c.name;
    if (c.written) {
      EXPECT_EQ(L"2", Version()) << c.name;
    } else {
      EXPECT_EQ(c.error, error) << c.name;
      EXPECT_TRUE(Unchanged()) << c.name;
    }
    // The server selection dialog writes the ini on the user-interface thread.
    EXPECT_LT(elapsed, 1500u) << c.name;
    EXPECT_FALSE(FileExists(replacement_)) << c.name;
  }
}

TEST_F(ProfileFileWriteTest, AReaderHoldingTheIniForAMomentDelaysTheWriteWithoutFailingIt) {
  // Open without delete sharing, as a reader that does not expect the file to be replaced under it.
  g_reader.reset(CreateFileW(ini_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(g_reader);
  g_release_at = 3;
  EXPECT_TRUE(WriteVersion(L"2"));
  EXPECT_EQ(3, g_renames);
  EXPECT_EQ(L"2", Version());
  EXPECT_FALSE(FileExists(replacement_));
}

}  // namespace
