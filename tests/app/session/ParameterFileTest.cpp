// The signed parameter file: made at run time with the test key's private half and the openssl
// command, then recovered by the launcher with the built-in public key.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/session/ParameterFile.h"
#include "app/session/RsaParamDecryptor.h"
#include "app/session/SessionValues.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::RunningUnderWine;
using testing_support::RunUnixCommand;
using testing_support::ShellQuote;
using testing_support::TempFolder;
using testing_support::UnixPathOf;
using testing_support::WriteFileBytes;

const std::string kPrivateKey =
    std::string(ORVANE_SOURCE_DIR) + "/tests/fixtures/keys/test_only_never_ship_param_key_private.pem";

std::string Utf16(const std::wstring& text) {
  std::string bytes;
  for (wchar_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

class ParameterFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunningUnderWine())
      GTEST_SKIP() << "signs parameter files with the openssl command";
  }
  void TearDown() override { ReleaseParameterBuffer(); }

  std::wstring param_file() const { return folder_.Join(L"LauncherParam.dat"); }

  // Signs `data` with PKCS #1 v1.5 block type 1 into "LauncherParam.dat"; with `raw`, signs a whole prepared
  // block as it is. (rsautl rather than pkeyutl: pkeyutl only signs data of a digest's length.)
  void Sign(const std::string& data, bool raw = false, const std::string& key = kPrivateKey) {
    ASSERT_TRUE(WriteFileBytes(folder_.Join(L"plain.bin"), data));
    std::string output;
    int status =
        RunUnixCommand("openssl rsautl -sign " + std::string(raw ? "-raw" : "-pkcs") + " -inkey " +
                           ShellQuote(key) + " -in " + ShellQuote(UnixPathOf(folder_.Join(L"plain.bin"))) +
                           " -out " + ShellQuote(UnixPathOf(param_file())),
                       &output);
    ASSERT_EQ(0, status) << output;
  }

  std::wstring Recovered() {
    if (LoadParamFile(param_file().c_str()) != 1)
      return L"<failed>";
    EXPECT_NE(nullptr, ParameterBuffer());
    return ParameterBuffer();
  }

  TempFolder folder_{L"param"};
};

TEST_F(ParameterFileTest, RecoversTheSignedText) {
  Sign(Utf16(L"l.exe /GameID:signed"));
  EXPECT_EQ(L"l.exe /GameID:signed", Recovered());
}

TEST_F(ParameterFileTest, TheTextEndsAtItsFirstNulOrWithTheRecoveredBytes) {
  Sign(Utf16(std::wstring(L"ab\0cd", 5)));
  EXPECT_EQ(L"ab", Recovered());
  // No NUL at all, the longest text one block holds (501 bytes, odd): the half unit at the end is dropped
  // and the text is terminated by the reader.
  std::string longest = Utf16(std::wstring(250, L'x')) + "y";
  Sign(longest);
  EXPECT_EQ(std::wstring(250, L'x'), Recovered());
}

TEST_F(ParameterFileTest, OnlyAFileOfExactlyOneBlockIsRead) {
  Sign(Utf16(L"l.exe /GameID:x"));
  std::string block;
  ASSERT_TRUE(ReadFileBytes(param_file(), &block));
  ASSERT_EQ(512u, block.size());
  ASSERT_TRUE(WriteFileBytes(param_file(), block.substr(0, 511)));
  EXPECT_EQ(L"<failed>", Recovered());
  EXPECT_EQ(nullptr, ParameterBuffer());
  ASSERT_TRUE(WriteFileBytes(param_file(), block + "x"));
  EXPECT_EQ(L"<failed>", Recovered());
  ASSERT_TRUE(WriteFileBytes(param_file(), ""));
  EXPECT_EQ(L"<failed>", Recovered());
  DeleteFileW(param_file().c_str());
  EXPECT_EQ(L"<failed>", Recovered());
}

TEST_F(ParameterFileTest, RefusesAFileSignedWithAnotherKey) {
  std::string other_key = UnixPathOf(folder_.Join(L"other.pem"));
  std::string output;
  ASSERT_EQ(0, RunUnixCommand("openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:4096 -out " +
                                  ShellQuote(other_key),
                              &output))
      << output;
  Sign(Utf16(L"l.exe /GameID:x"), false, other_key);
  EXPECT_EQ(L"<failed>", Recovered());
  EXPECT_EQ(nullptr, ParameterBuffer());
}

TEST_F(ParameterFileTest, RefusesBlocksWithoutTypeOnePadding) {
  // Raw blocks signed as they are: the recovery sees exactly these bytes.
  std::string data = Utf16(L"l.exe /GameID:x");
  std::string type_two =
      std::string("\x00\x02", 2) + std::string(512 - 3 - data.size(), '\x55') + std::string(1, '\0') + data;
  Sign(type_two, true);
  EXPECT_EQ(L"<failed>", Recovered());

  std::string no_separator = std::string("\x00\x01", 2) + std::string(510, '\xFF');
  Sign(no_separator, true);
  EXPECT_EQ(L"<failed>", Recovered());

  std::string short_padding =
      std::string("\x00\x01", 2) + std::string(4, '\xFF') + std::string(1, '\0') + std::string(505, 'a');
  Sign(short_padding, true);
  EXPECT_EQ(L"<failed>", Recovered());

  // The same raw route with correct type-1 padding is accepted: the failures above are the padding's.
  std::string type_one =
      std::string("\x00\x01", 2) + std::string(512 - 3 - data.size(), '\xFF') + std::string(1, '\0') + data;
  Sign(type_one, true);
  EXPECT_EQ(L"l.exe /GameID:x", Recovered());
}

TEST(RsaParamDecryptor, AKeyThatCannotBeBuiltRecoversNothing) {
  for (const char* pem : {static_cast<const char*>(nullptr), "", "-----BEGIN PUBLIC KEY-----\nAAAA\n"}) {
    RsaParamDecryptor decryptor(pem);
    EXPECT_FALSE(decryptor.ok());
    EXPECT_EQ(0u, decryptor.ModulusSize());
    uint8_t block[512] = {};
    uint8_t out[512];
    size_t out_size = 7;
    EXPECT_FALSE(decryptor.Recover(block, sizeof block, out, sizeof out, &out_size));
    EXPECT_EQ(0u, out_size);
  }
}

class LocalParamsTest : public ParameterFileTest {
 protected:
  const SessionValues& Parse(const std::wstring& command_line) {
    ParseCommandLineText(command_line.c_str(), folder_.path().c_str());
    return GetSessionValues();
  }
};

TEST_F(LocalParamsTest, TheSignedFileReplacesTheWholeCommandLine) {
  Sign(Utf16(L"x /GameID:fromfile /UserNick:\"signed nick\""));
  const SessionValues& values = Parse(L"\"C:\\l.exe\" /LocalGameID:5 /GameID:fromline /MacAddr:m");
  EXPECT_STREQ(L"fromfile", values.GameID);
  EXPECT_STREQ(L"signed nick", values.UserNick);
  EXPECT_STREQ(L"", values.MacAddr);
}

TEST_F(LocalParamsTest, FallsBackToTheCommandLine) {
  const std::wstring line = L"C:\\l.exe /LocalGameID:5 /GameID:fromline";
  // No file.
  EXPECT_STREQ(L"fromline", Parse(line).GameID);
  // A file that does not recover.
  ASSERT_TRUE(WriteFileBytes(param_file(), std::string(512, 'x')));
  EXPECT_STREQ(L"fromline", Parse(line).GameID);

  Sign(Utf16(L"x /GameID:fromfile"));
  // The switch must start at the first '/', in exactly this case.
  EXPECT_STREQ(L"fromline", Parse(L"C:\\l.exe /GameID:fromline /LocalGameID:5").GameID);
  EXPECT_STREQ(L"fromline", Parse(L"C:\\l.exe /localgameid:5 /GameID:fromline").GameID);
  EXPECT_STREQ(L"fromfile", Parse(line).GameID);
}

}  // namespace
