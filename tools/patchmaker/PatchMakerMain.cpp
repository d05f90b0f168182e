// patchmaker.exe: makes patches that patchw32.dll applies (format in patch/PatchFormat.h).
//
//   patchmaker.exe [--level N] <old file> <new file> <target name> <output patch>
//   patchmaker.exe [--level N] --list <list file>
//
// The target name is the file's name relative to the folder the patch will be applied in (the engine applies
// a patch in the folder of the file it changes, so that is normally the bare file name). The list file holds
// one job a line (see PatchListLine.h), so a generator makes thousands of patches in one process. Missing
// folders of an output are made. Exit code: 0 all made, 1 some job failed (each failure is named on stderr),
// 2 usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <string_view>

#include "base/Paths.h"
#include "base/ScopedHandle.h"
#include "patch/PatchMaker.h"
#include "tools/patchmaker/PatchListLine.h"

namespace {

constexpr char kUsage[] =
    "usage: patchmaker.exe [--level N] <old file> <new file> <target name> <output patch>\n"
    "       patchmaker.exe [--level N] --list <list file>\n"
    "\n"
    "Makes binary patches for patchw32.dll: a header (target name, old and new size and CRC-32) and one "
    "zstd\n"
    "frame of the new file compressed with the old file as reference.\n"
    "\n"
    "  <target name>  the file's name relative to the folder the patch is applied in (backslashes)\n"
    "  --list FILE    one job a line, UTF-8: old TAB new TAB target name TAB output; '#' starts a comment\n"
    "  --level N      zstd compression level, 1..22 (default 19)\n"
    "\n"
    "Exit code: 0 all patches made, 1 some failed (named on stderr), 2 bad arguments.\n";

struct Totals {
  int made = 0;
  int failed = 0;
  unsigned long long new_bytes = 0;
  unsigned long long patch_bytes = 0;
};

std::string Utf8FromWide(const std::wstring& wide) {
  if (wide.empty())
    return std::string();
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                   nullptr, nullptr);
  std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0)
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr,
                        nullptr);
  return text;
}

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty())
    return std::wstring();
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0)
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size;
  if (!file.valid() || !GetFileSizeEx(file.get(), &size) || size.QuadPart > patch::kMaxPatchedFileSize)
    return false;
  bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes->size()) {
    DWORD block = static_cast<DWORD>(bytes->size() - done < (8u << 20) ? bytes->size() - done : (8u << 20));
    DWORD got = 0;
    if (!ReadFile(file.get(), &(*bytes)[done], block, &got, nullptr) || got == 0)
      return false;
    done += got;
  }
  return true;
}

// Makes every folder above `path`.
void MakeParentFolders(const std::wstring& path) {
  const size_t cut = path.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 0)
    base::CreateFolderChain(path.substr(0, cut).c_str());
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  MakeParentFolders(path);
  bool written = false;
  {
    UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD count = 0;
    written = file.valid() &&
              WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
              count == bytes.size();
  }
  if (!written)
    DeleteFileW(path.c_str());  // no partial patch is left for a reader to take as finished
  return written;
}

// Makes one patch; on failure names the job and the reason on stderr.
void MakeOne(const patchmaker::PatchJob& job, int level, Totals* totals) {
  std::string old_bytes;
  std::string new_bytes;
  std::string patch_bytes;
  const char* failure = nullptr;
  if (!ReadWholeFile(WideFromUtf8(job.old_path), &old_bytes))
    failure = "cannot read the old file (or it is above 1 GiB)";
  else if (!ReadWholeFile(WideFromUtf8(job.new_path), &new_bytes))
    failure = "cannot read the new file (or it is above 1 GiB)";
  else if (patch::MakeResult made =
               patch::MakePatch(old_bytes, new_bytes, job.target_name, level, &patch_bytes);
           made != patch::MakeResult::kOk)
    failure = made == patch::MakeResult::kBadHeader ? "unsafe target name or file too large" : "zstd failed";
  else if (!WriteWholeFile(WideFromUtf8(job.output_path), patch_bytes))
    failure = "cannot write the patch";
  if (failure != nullptr) {
    std::fprintf(stderr, "patchmaker: %s: %s\n", job.output_path.c_str(), failure);
    ++totals->failed;
    return;
  }
  ++totals->made;
  totals->new_bytes += new_bytes.size();
  totals->patch_bytes += patch_bytes.size();
}

bool RunList(const std::wstring& list_path, int level, Totals* totals) {
  std::string list;
  if (!ReadWholeFile(list_path, &list)) {
    std::fprintf(stderr, "patchmaker: cannot read the list %s\n", Utf8FromWide(list_path).c_str());
    return false;
  }
  std::string_view rest = list;
  for (int line_number = 1; !rest.empty(); ++line_number) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    patchmaker::PatchJob job;
    patchmaker::ListLineResult parsed = patchmaker::ParsePatchListLine(line, &job);
    if (parsed == patchmaker::ListLineResult::kJob) {
      MakeOne(job, level, totals);
    } else if (parsed == patchmaker::ListLineResult::kMalformed) {
      std::fprintf(stderr, "patchmaker: list line %d: not four tab-separated fields\n", line_number);
      ++totals->failed;
    }
  }
  return true;
}

int Usage(FILE* stream, int exit_code) {
  std::fputs(kUsage, stream);
  return exit_code;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int level = patch::kDefaultPatchLevel;
  std::wstring list_path;
  int first = 1;
  while (first < argc && argv[first][0] == L'-') {
    std::wstring option = argv[first];
    if (option == L"--help" || option == L"-h")
      return Usage(stdout, 0);
    if (first + 1 >= argc)
      return Usage(stderr, 2);
    if (option == L"--level") {
      level = static_cast<int>(std::wcstol(argv[first + 1], nullptr, 10));
      if (level < 1 || level > 22)
        return Usage(stderr, 2);
    } else if (option == L"--list") {
      list_path = argv[first + 1];
    } else {
      return Usage(stderr, 2);
    }
    first += 2;
  }
  Totals totals;
  if (!list_path.empty()) {
    if (first != argc)
      return Usage(stderr, 2);
    if (!RunList(list_path, level, &totals))
      return 1;
  } else {
    if (argc - first != 4)
      return Usage(stderr, 2);
    patchmaker::PatchJob job{Utf8FromWide(argv[first]), Utf8FromWide(argv[first + 1]),
                             Utf8FromWide(argv[first + 2]), Utf8FromWide(argv[first + 3])};
    MakeOne(job, level, &totals);
  }
  std::printf("patchmaker: %d made, %d failed; %llu bytes of new files in %llu bytes of patches\n",
              totals.made, totals.failed, totals.new_bytes, totals.patch_bytes);
  return totals.failed == 0 ? 0 : 1;
}
