// The patch header codec and the making of patches: what is written reads back, and every malformed or unsafe
// header is refused before anything trusts it.
#include <gtest/gtest.h>

#include <string>

#include "base/RelativeName.h"
#include "patch/PatchFormat.h"
#include "patch/PatchMaker.h"
#include "tests/patch/PatchTestData.h"

namespace patch {
namespace {

PatchHeader SampleHeader(const std::string& name) {
  PatchHeader header;
  header.old_size = 123456;
  header.old_crc = 0xDEADBEEF;
  header.new_size = kMaxPatchedFileSize;
  header.new_crc = 0x01020304;
  header.target_name = name;
  return header;
}

TEST(PatchHeader, RoundTripsEveryFieldAndFindsTheFrame) {
  for (const std::string& name :
       {std::string("game.exe"), std::string("data\\maps\\m01.map"), std::string(kMaxTargetNameBytes, 'n')}) {
    std::string bytes;
    ASSERT_EQ(HeaderResult::kOk, EncodePatchHeader(SampleHeader(name), &bytes));
    bytes += "FRAME";
    PatchHeader read;
    size_t header_bytes = 0;
    ASSERT_EQ(HeaderResult::kOk, DecodePatchHeader(bytes, &read, &header_bytes)) << name;
    EXPECT_EQ(123456u, read.old_size);
    EXPECT_EQ(0xDEADBEEFu, read.old_crc);
    EXPECT_EQ(kMaxPatchedFileSize, read.new_size);
    EXPECT_EQ(0x01020304u, read.new_crc);
    EXPECT_EQ(name, read.target_name);
    EXPECT_EQ("FRAME", bytes.substr(header_bytes));
  }
}

TEST(PatchHeader, EveryTruncationIsRefused) {
  std::string bytes;
  ASSERT_EQ(HeaderResult::kOk, EncodePatchHeader(SampleHeader("bin\\game.exe"), &bytes));
  for (size_t length = 0; length < bytes.size(); ++length) {
    PatchHeader read;
    size_t header_bytes = 0;
    EXPECT_EQ(HeaderResult::kTruncated, DecodePatchHeader(bytes.substr(0, length), &read, &header_bytes))
        << length;
  }
}

TEST(PatchHeader, MalformedHeadersAreRefused) {
  const uint32_t too_large = kMaxPatchedFileSize + 1;
  struct Case {
    const char* what;
    std::string bytes;
    HeaderResult expected;
  } cases[] = {
      {"bad magic", RawPatchHeader("a", 1, 2, 3, 4, "ORVQ"), HeaderResult::kBadMagic},
      {"short and bad magic", "MZ\x90\x01\x03", HeaderResult::kBadMagic},
      {"version 2", RawPatchHeader("a", 1, 2, 3, 4, "ORVP", 2), HeaderResult::kUnsupportedVersion},
      {"empty name", RawPatchHeader("", 1, 2, 3, 4), HeaderResult::kBadNameLength},
      {"name too long", RawPatchHeader(std::string(kMaxTargetNameBytes + 1, 'n'), 1, 2, 3, 4),
       HeaderResult::kBadNameLength},
      {"old size absurd", RawPatchHeader("a", too_large, 2, 3, 4), HeaderResult::kSizeTooLarge},
      {"new size absurd", RawPatchHeader("a", 1, 2, 0xFFFFFFFFu, 4), HeaderResult::kSizeTooLarge},
      {"parent folder", RawPatchHeader("..\\evil.dll", 1, 2, 3, 4), HeaderResult::kUnsafeName},
      {"drive", RawPatchHeader("C:\\evil.dll", 1, 2, 3, 4), HeaderResult::kUnsafeName},
  };
  for (const Case& c : cases) {
    PatchHeader read;
    size_t header_bytes = 0;
    EXPECT_EQ(c.expected, DecodePatchHeader(c.bytes, &read, &header_bytes)) << c.what;
  }
}

TEST(PatchHeader, EncoderRefusesWhatTheDecoderWouldRefuse) {
  std::string bytes;
  EXPECT_EQ(HeaderResult::kUnsafeName, EncodePatchHeader(SampleHeader("..\\x"), &bytes));
  PatchHeader large = SampleHeader("x");
  large.old_size = kMaxPatchedFileSize + 1;
  EXPECT_EQ(HeaderResult::kSizeTooLarge, EncodePatchHeader(large, &bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST(SafeRelativeName, OnlyNamesInsideTheFolderPass) {
  for (const char* name : {"game.exe", "bin\\game.exe", "data/maps/m.map", "a.b.c", ".hidden",
                           "b\xC3\xA9.dat", "x..y", "sub folder\\f", "CONFIG.SYS", "com10", "nul_x"})
    EXPECT_TRUE(IsSafeRelativeFileName(name)) << name;
  for (const char* name : {"",       "\\x",          "/x",       "\\\\server\\share\\x",
                           "C:\\x",  "C:x",          "x:stream", "..",
                           "..\\x",  "a\\..\\..\\x", "a/../x",   ".\\x",
                           "a\\\\b", "a\\",          "...",      ".. ",
                           "x.",     "x ",           "a*b",      "a?b",
                           "a\"b",   "a<b",          "a>b",      "a|b",
                           "a\tb",   "a\x7F",        "CON",      "data\\nul.txt",
                           "Aux .x", "com1",         "LPT9.dll", "COM\xC2\xB9"})
    EXPECT_FALSE(IsSafeRelativeFileName(name)) << name;
}

TEST(MakePatch, HeaderDescribesBothFilesAndTheOldFileIsTheReference) {
  std::string old_bytes = MixedBytes(1 << 20, 7);
  std::string new_bytes = "inserted at the start" + old_bytes.substr(1000) + "and appended";
  new_bytes[500000] ^= 0x55;
  std::string patch;
  ASSERT_EQ(MakeResult::kOk, MakePatch(old_bytes, new_bytes, "data\\big.dat", 3, &patch));
  EXPECT_LT(patch.size(), 2000u);  // the old bytes were the reference

  PatchHeader header;
  size_t header_bytes = 0;
  ASSERT_EQ(HeaderResult::kOk, DecodePatchHeader(patch, &header, &header_bytes));
  EXPECT_EQ(old_bytes.size(), header.old_size);
  EXPECT_EQ(Crc32Of(old_bytes), header.old_crc);
  EXPECT_EQ(new_bytes.size(), header.new_size);
  EXPECT_EQ(Crc32Of(new_bytes), header.new_crc);
  EXPECT_EQ("data\\big.dat", header.target_name);
}

}  // namespace
}  // namespace patch
