// Deterministic mutation fuzzing of the patch header decoder, seeded from valid headers: it must never read
// past its input, and a header it accepts must name a file below the folder the patch is applied in and
// encode back to the same bytes. ORVANE_FUZZ_ITERATIONS runs longer.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/RelativeName.h"
#include "patch/PatchCommandLine.h"
#include "patch/PatchFormat.h"
#include "tests/support/Mutator.h"

using namespace patch;

namespace {

std::string Encoded(const std::string& name, uint32_t old_size, uint32_t new_size) {
  PatchHeader header;
  header.target_name = name;
  header.old_size = old_size;
  header.old_crc = 0x12345678u;
  header.new_size = new_size;
  header.new_crc = 0x9ABCDEF0u;
  std::string out;
  EXPECT_EQ(HeaderResult::kOk, EncodePatchHeader(header, &out));
  // A zstd frame's magic and a few bytes follow the header.
  return out + std::string("\x28\xB5\x2F\xFD\x24\x10\x41\x00\x00", 9);
}

// The full path that Windows makes of the target below `folder`.
std::wstring FullTargetPath(const std::wstring& folder, const std::string& utf8_name) {
  wchar_t name[1100];
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8_name.data(),
                                         static_cast<int>(utf8_name.size()), name, 1099);
  if (length <= 0)
    return folder + L"\\";  // refused by the patch library: it names nothing
  wchar_t full[4096];
  const DWORD full_length = GetFullPathNameW(
      JoinUnderFolder(folder, std::wstring(name, static_cast<size_t>(length))).c_str(), 4096, full, nullptr);
  return std::wstring(full, full_length);
}

}  // namespace

TEST(PatchHeaderFuzz, AcceptedHeadersNameATargetBelowTheFolderAndEncodeBackToTheirBytes) {
  const std::vector<std::string> seeds = {Encoded("game.exe", 4096, 5000), Encoded("data\\maps\\m.map", 0, 1),
                                          Encoded("b\xC3\xA9.dat", kMaxPatchedFileSize, 7)};
  const std::vector<std::string> dictionary = {
      "..", "\\", "/", ":", "CON", "nul.txt", " ", ".", "\xC2\xB9", "ORVP", "\xC0\xAE", std::string(1, '\0')};
  const std::wstring folder = L"C:\\Games\\Orvane\\data";
  const int iterations = testing_support::FuzzIterations(200000);
  testing_support::Mutator mutator(0xB47C4);
  int accepted = 0;
  for (int i = 0; i < iterations; ++i) {
    const std::string bytes = mutator.Mutate(seeds, dictionary);
    PatchHeader header;
    size_t header_bytes = 0;
    if (DecodePatchHeader(bytes, &header, &header_bytes) != HeaderResult::kOk)
      continue;
    ++accepted;
    ASSERT_EQ(kPatchHeaderFixedBytes + header.target_name.size(), header_bytes) << "input " << i;
    ASSERT_LE(header_bytes, bytes.size()) << "input " << i;
    ASSERT_TRUE(IsSafeRelativeFileName(header.target_name)) << "input " << i;
    ASSERT_LE(header.old_size, kMaxPatchedFileSize);
    ASSERT_LE(header.new_size, kMaxPatchedFileSize);
    std::string again;
    ASSERT_EQ(HeaderResult::kOk, EncodePatchHeader(header, &again)) << "input " << i;
    ASSERT_EQ(bytes.substr(0, header_bytes), again) << "input " << i;
    const std::wstring target = FullTargetPath(folder, header.target_name);
    ASSERT_EQ(0, target.compare(0, folder.size() + 1, folder + L"\\")) << "input " << i;
  }
  std::printf("[fuzz] patch header: %d inputs, %d accepted\n", iterations, accepted);
}
