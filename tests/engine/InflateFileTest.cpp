#include "engine/InflateFile.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "tests/support/TempFolder.h"

using engine_files::InflateFile;
using engine_files::kInflated;
using engine_files::kInflateFailed;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

namespace {

// Larger than two chunks once inflated, partly incompressible so the compressed stream spans chunks too.
std::string SampleData() {
  std::string data;
  uint32_t state = 99;
  for (int i = 0; i < 600000; ++i) {
    state = state * 1103515245u + 12345u;
    data += (i % 3 == 0) ? static_cast<char>(state >> 24) : static_cast<char>('a' + i % 7);
  }
  return data;
}

std::string Compress(const std::string& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::string out(size, '\0');
  EXPECT_EQ(Z_OK, compress(reinterpret_cast<Bytef*>(&out[0]), &size,
                           reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size())));
  out.resize(size);
  return out;
}

UniqueHandle OpenForReading(const std::wstring& path) {
  return UniqueHandle(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

}  // namespace

TEST(InflateFile, WholeStreamIsInflatedIntoTheTarget) {
  TempFolder root;
  std::string data = SampleData();
  ASSERT_TRUE(WriteFileBytes(root.Join(L"file.zip"), Compress(data)));
  engine_files::InflatedFile written;
  EXPECT_EQ(kInflated,
            InflateFile(OpenForReading(root.Join(L"file.zip")), root.Join(L"file.dat").c_str(), &written));
  std::string out;
  ASSERT_TRUE(ReadFileBytes(root.Join(L"file.dat"), &out));
  EXPECT_TRUE(out == data) << "inflated " << out.size() << " of " << data.size() << " bytes";
  EXPECT_EQ(data.size(), written.size);
  EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())),
            written.crc32);
  // The source was closed: it can be deleted now.
  EXPECT_TRUE(DeleteFileW(root.Join(L"file.zip").c_str()));
}

TEST(InflateFile, TruncatedOrDamagedStreamsFail) {
  TempFolder root;
  std::string compressed = Compress(SampleData());
  ASSERT_TRUE(WriteFileBytes(root.Join(L"cut.zip"), compressed.substr(0, compressed.size() / 2)));
  EXPECT_EQ(kInflateFailed,
            InflateFile(OpenForReading(root.Join(L"cut.zip")), root.Join(L"cut.dat").c_str()));
  EXPECT_TRUE(FileExists(root.Join(L"cut.dat"))) << "the partial target is left for the caller";

  std::string damaged = compressed;
  damaged[damaged.size() / 2] ^= 0x55;
  damaged[damaged.size() / 2 + 1] ^= 0x55;
  ASSERT_TRUE(WriteFileBytes(root.Join(L"damaged.zip"), damaged));
  EXPECT_EQ(kInflateFailed,
            InflateFile(OpenForReading(root.Join(L"damaged.zip")), root.Join(L"damaged.dat").c_str()));

  ASSERT_TRUE(WriteFileBytes(root.Join(L"empty.zip"), ""));
  EXPECT_EQ(kInflateFailed,
            InflateFile(OpenForReading(root.Join(L"empty.zip")), root.Join(L"empty.dat").c_str()));
}

TEST(InflateFile, AStreamThatInflatesBeyondItsBoundFailsAndWritesNoMoreThanTheBound) {
  TempFolder root;
  // 64 MB of zeros pack into about 64 KB: a thousandfold.
  ASSERT_TRUE(WriteFileBytes(root.Join(L"bomb.zip"), Compress(std::string(64 << 20, '\0'))));
  const std::string data = SampleData();
  ASSERT_TRUE(WriteFileBytes(root.Join(L"exact.zip"), Compress(data)));
  struct Case {
    const wchar_t* source;
    uint64_t bound;
    engine_files::InflateResult result;
  } cases[] = {
      {L"bomb.zip", 1 << 20, kInflateFailed},
      {L"exact.zip", data.size() - 1, kInflateFailed},
      {L"exact.zip", data.size(), kInflated},
      {L"exact.zip", 0, kInflateFailed},
  };
  for (const Case& c : cases) {
    engine_files::InflatedFile written;
    EXPECT_EQ(c.result, InflateFile(OpenForReading(root.Join(c.source)), root.Join(L"out.dat").c_str(),
                                    &written, c.bound));
    std::string out;
    ASSERT_TRUE(ReadFileBytes(root.Join(L"out.dat"), &out));
    EXPECT_LE(out.size(), c.bound);
    EXPECT_EQ(out.size(), written.size);
  }
}

TEST(InflateFile, TargetThatCannotBeCreatedFailsAndStillClosesTheSource) {
  TempFolder root;
  ASSERT_TRUE(WriteFileBytes(root.Join(L"file.zip"), Compress("abc")));
  EXPECT_EQ(kInflateFailed,
            InflateFile(OpenForReading(root.Join(L"file.zip")), root.Join(L"missing\\file.dat").c_str()));
  EXPECT_TRUE(DeleteFileW(root.Join(L"file.zip").c_str()));
  EXPECT_EQ(kInflateFailed, InflateFile(UniqueHandle(), root.Join(L"x.dat").c_str()));
}
