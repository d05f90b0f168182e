// bench_patch: patch sizes and apply speed of patchw32.dll on files of a few MB.
//
// For each file size: the new file is the old one with a few percent of it overwritten, inserted, removed and
// appended (as in the generated histories). Prints the patch size and making time per zstd level, then the
// time of ordinal 1 (map, check old CRC, decode, check new CRC, flush, replace) next to a bare in-memory
// decode.
#include <windows.h>

#include <zstd.h>

#include <cstdio>
#include <string>

#include "patch/PatchFormat.h"
#include "patch/PatchMaker.h"
#include "patch/PatchW32.h"
#include "tests/patch/PatchTestData.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool WriteWhole(const std::wstring& path, const std::string& bytes) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::string Narrow(const std::wstring& wide) {
  return std::string(wide.begin(), wide.end());  // the temporary folder's path is plain ASCII here
}

std::string EditedCopy(const std::string& old_bytes) {
  std::string edited = old_bytes;
  size_t step = old_bytes.size() / 5;
  for (size_t at = step / 2; at + 4096 < edited.size(); at += step)
    edited.replace(at, 2048, patch::MixedBytes(2048, static_cast<uint32_t>(at)));
  edited.insert(step, patch::MixedBytes(30000, 11));
  edited.erase(3 * step, 20000);
  return edited + patch::MixedBytes(50000, 12);
}

double BareDecodeSeconds(const std::string& patch, const std::string& old_bytes, size_t new_size) {
  patch::PatchHeader header;
  size_t header_bytes = 0;
  patch::DecodePatchHeader(patch, &header, &header_bytes);
  std::string out(new_size, '\0');
  ZSTD_DCtx* context = ZSTD_createDCtx();
  double start = Now();
  ZSTD_DCtx_refPrefix(context, old_bytes.data(), old_bytes.size());
  ZSTD_decompressDCtx(context, &out[0], out.size(), patch.data() + header_bytes, patch.size() - header_bytes);
  double seconds = Now() - start;
  ZSTD_freeDCtx(context);
  return seconds;
}

void MeasureFile(size_t size, ApplyBinaryPatchFunction apply, const std::wstring& folder) {
  std::string old_bytes = patch::MixedBytes(size, 1);
  std::string new_bytes = EditedCopy(old_bytes);
  std::printf("file %.1f MB -> %.1f MB\n", old_bytes.size() / 1e6, new_bytes.size() / 1e6);
  std::string patch_19;
  for (int level : {3, 12, 19}) {
    std::string made;
    double start = Now();
    patch::MakePatch(old_bytes, new_bytes, "game.dat", level, &made);
    std::printf("  level %2d: patch %7zu bytes (%.2f%% of the new file), made in %6.0f ms\n", level,
                made.size(), 100.0 * made.size() / new_bytes.size(), (Now() - start) * 1000);
    if (level == 19)
      patch_19 = made;
  }
  std::wstring patch_path = folder + L"\\game.dat.rtp";
  std::wstring target_path = folder + L"\\game.dat";
  WriteWhole(patch_path, patch_19);
  std::string line = "\"" + Narrow(patch_path) + "\" \"" + Narrow(folder) + "\" -q -not -nop -nos";
  const int rounds = 10;
  double total = 0;
  int failures = 0;
  for (int round = 0; round < rounds; ++round) {
    WriteWhole(target_path, old_bytes);
    double start = Now();
    failures += apply(line.c_str(), nullptr, 1) != kPatchApplied;
    total += Now() - start;
  }
  double bare = BareDecodeSeconds(patch_19, old_bytes, new_bytes.size());
  std::printf(
      "  apply (ordinal 1, level 19 patch): %.1f ms = %.0f MB/s of new file; bare zstd decode %.1f ms%s\n",
      total / rounds * 1000, new_bytes.size() / 1e6 / (total / rounds), bare * 1000,
      failures ? "  (SOME APPLIES FAILED)" : "");
  DeleteFileW(target_path.c_str());
  DeleteFileW(patch_path.c_str());
}

}  // namespace

int main() {
  HMODULE module = LoadLibraryW(L"patchw32.dll");
  auto apply = module ? reinterpret_cast<ApplyBinaryPatchFunction>(
                            reinterpret_cast<void (*)()>(GetProcAddress(module, MAKEINTRESOURCEA(1))))
                      : nullptr;
  if (apply == nullptr) {
    std::printf("patchw32.dll or its ordinal 1 not found\n");
    return 1;
  }
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"bench_patch-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  for (size_t size : {size_t{4} << 20, size_t{32} << 20})
    MeasureFile(size, apply, folder);
  RemoveDirectoryW(folder.c_str());
  FreeLibrary(module);
  return 0;
}
