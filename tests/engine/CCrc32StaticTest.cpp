#include "engine/CCrc32Static.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

using testing_support::TempFolder;
using testing_support::WriteFileBytes;

TEST(CCrc32Static, EmptyFileHasCrcZeroAndKnownTextHasTheStandardValue) {
  TempFolder root;
  ASSERT_TRUE(WriteFileBytes(root.Join(L"empty"), ""));
  ASSERT_TRUE(WriteFileBytes(root.Join(L"check"), "123456789"));
  uint32_t crc = 1;
  EXPECT_EQ(0u, CCrc32Static::FileCrc32(crc, root.Join(L"empty").c_str()));
  EXPECT_EQ(0u, crc);
  EXPECT_EQ(0u, CCrc32Static::FileCrc32(crc, root.Join(L"check").c_str()));
  EXPECT_EQ(0xCBF43926u, crc);
}

TEST(CCrc32Static, EveryBlockSizeGivesTheValueOfTheWholeFile) {
  TempFolder root;
  std::string data(300007, '\0');
  uint32_t state = 12345;
  for (char& c : data) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  ASSERT_TRUE(WriteFileBytes(root.Join(L"data"), data));
  uint32_t expected = static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));

  uint32_t crc = 0;
  EXPECT_EQ(0u, CCrc32Static::FileCrc32(crc, root.Join(L"data").c_str()));
  EXPECT_EQ(expected, crc);
  for (size_t block_size : {size_t{1}, size_t{4096}, size_t{4097}, size_t{1} << 20}) {
    std::vector<unsigned char> buffer(block_size);
    crc = 0;
    EXPECT_EQ(0u,
              CCrc32Static::FileCrc32WithBuffer(crc, root.Join(L"data").c_str(), buffer.data(), block_size));
    EXPECT_EQ(expected, crc) << "block size " << block_size;
  }
}

TEST(CCrc32Static, UnopenableFileGivesTheSystemErrorAndCrcZero) {
  TempFolder root;
  uint32_t crc = 7;
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND),
            CCrc32Static::FileCrc32(crc, root.Join(L"none").c_str()));
  EXPECT_EQ(0u, crc);
  crc = 7;
  EXPECT_NE(0u, CCrc32Static::FileCrc32(crc, nullptr));
  EXPECT_EQ(0u, crc);
}
