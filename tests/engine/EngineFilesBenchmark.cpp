// Throughput of CCrc32Static over a file of about 200 MB for several read block sizes, to choose the block
// size that FileCrc32 uses. Every block size must give the same CRC. The file is read once before the
// measurement, so the figures compare system calls and CRC work, not the disk.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/CCrc32Static.h"

namespace {

constexpr size_t kFileBytes = 200u << 20;
constexpr int kRounds = 3;

bool WriteSampleFile(const std::wstring& path) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  std::vector<unsigned char> block(1u << 20);
  uint32_t state = 2024;
  bool ok = true;
  for (size_t written = 0; ok && written < kFileBytes; written += block.size()) {
    for (unsigned char& byte : block) {
      state = state * 1103515245u + 12345u;
      byte = static_cast<unsigned char>(state >> 24);
    }
    DWORD count = 0;
    ok = WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &count, nullptr) &&
         count == block.size();
  }
  CloseHandle(file);
  return ok;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main() {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring path =
      std::wstring(folder) + L"orvane-crc-bench-" + std::to_wstring(GetCurrentProcessId()) + L".bin";
  if (!WriteSampleFile(path)) {
    std::fprintf(stderr, "cannot write the sample file\n");
    return 1;
  }
  std::printf("CRC-32 of a %u MB file, best of %d rounds after one warm-up read\n",
              static_cast<unsigned>(kFileBytes >> 20), kRounds);

  uint32_t reference = 0;
  bool same = true;
  for (size_t block_size : {size_t{4096}, size_t{16384}, size_t{65536}, size_t{262144}, size_t{1048576}}) {
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[block_size]);
    uint32_t crc = 0;
    CCrc32Static::FileCrc32WithBuffer(crc, path.c_str(), buffer.get(), block_size);
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      DWORD result = CCrc32Static::FileCrc32WithBuffer(crc, path.c_str(), buffer.get(), block_size);
      QueryPerformanceCounter(&end);
      if (result != 0) {
        std::fprintf(stderr, "read failed: %lu\n", static_cast<unsigned long>(result));
        DeleteFileW(path.c_str());
        return 1;
      }
      best = std::min(best, Seconds(start, end));
    }
    if (block_size == 4096)
      reference = crc;
    same = same && crc == reference;
    std::printf("  block %8u bytes: %7.1f MB/s  (%.3f s)  crc %08X%s\n", static_cast<unsigned>(block_size),
                static_cast<double>(kFileBytes) / (1 << 20) / best, best, crc,
                block_size == CCrc32Static::kFileBlockSize ? "  <- FileCrc32" : "");
  }
  DeleteFileW(path.c_str());
  std::printf("%s\n", same ? "every block size gives the same CRC" : "BLOCK SIZES DISAGREE");
  return same ? 0 : 1;
}
