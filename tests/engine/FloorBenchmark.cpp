// bench_floor_update: the floor under the engine's update time. The same entries as bench_engine_update,
// fetched from the same server by a plain single-threaded program (one reused libcurl handle, zlib, the same
// patch library), built with the same toolchain and run under the same Wine prefix. scripts/bench-engine runs
// it next to the engine.
//
//   bench_floor_update --variant direct|safe|memory --root FOLDER --host HOST:PORT --product CODE --entries FILE
//
// Variants:
//   direct  each whole file inflated (with its CRC-32) while it arrives and written straight to its target;
//   safe    as direct, keeping the engine's promises: the download is also written to its temporary name beside
//           the target, the result goes to a second temporary name and is renamed over the target only after
//           its size and CRC-32 matched, and the download is deleted; rename and delete through the open
//           handles;
//   memory  every body fetched into memory only: no file at all.
// A patch entry is downloaded to its temporary name and handed to the patch library (direct and safe alike);
// a delete entry deletes its file.
//
// Prints "floor <variant>: <entries> entries, <ms> ms, peak private <MB> MB, result completed" (or "result
// failed at <name>") and exits 0 when every entry was done.
#include <curl/curl.h>
#include <winsock2.h>

#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/ScopedHandle.h"
#include "engine/EngineFiles.h"
#include "engine/EntryPaths.h"
#include "engine/PatchLibrary.h"
#include "tests/engine/BenchmarkSupport.h"

namespace {

enum Variant { kDirect, kSafe, kMemory };

// Where the bytes of one transfer go.
struct Transfer {
  Variant variant = kDirect;
  bool inflate = false;       // a zlib stream (ZIP entry), not raw bytes
  HANDLE download = nullptr;  // the temporary file of the download (safe, patches), or null
  HANDLE output = nullptr;    // where the file's bytes go (inflated for ZIP), or null
  z_stream stream{};
  bool stream_ended = false;
  uint64_t size = 0;
  uint32_t crc = 0;
  bool failed = false;
  std::vector<unsigned char> buffer = std::vector<unsigned char>(256 << 10);
};

bool WriteAll(HANDLE file, const void* data, size_t bytes) {
  DWORD written = 0;
  return WriteFile(file, data, static_cast<DWORD>(bytes), &written, nullptr) && written == bytes;
}

bool TakeOutput(Transfer& t, const unsigned char* data, size_t bytes) {
  t.size += bytes;
  t.crc = static_cast<uint32_t>(crc32(t.crc, data, static_cast<uInt>(bytes)));
  return WriteAll(t.output, data, bytes);
}

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  Transfer& t = *static_cast<Transfer*>(user);
  const size_t bytes = size * count;
  if (t.variant == kMemory)
    return bytes;
  if (t.download != nullptr && !WriteAll(t.download, data, bytes))
    return 0;
  if (t.output == nullptr)
    return bytes;
  if (!t.inflate)
    return TakeOutput(t, reinterpret_cast<unsigned char*>(data), bytes) ? bytes : 0;
  t.stream.next_in = reinterpret_cast<Bytef*>(data);
  t.stream.avail_in = static_cast<uInt>(bytes);
  while (t.stream.avail_in > 0 && !t.stream_ended) {
    t.stream.next_out = t.buffer.data();
    t.stream.avail_out = static_cast<uInt>(t.buffer.size());
    const int result = inflate(&t.stream, Z_NO_FLUSH);
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
      return 0;
    t.stream_ended = result == Z_STREAM_END;
    const size_t produced = t.buffer.size() - t.stream.avail_out;
    if (produced > 0 && !TakeOutput(t, t.buffer.data(), produced))
      return 0;
    if (result == Z_BUF_ERROR)
      break;
  }
  return bytes;
}

UniqueHandle CreateWithFolders(const wchar_t* path, DWORD access) {
  UniqueHandle file(
      CreateFileW(path, access, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file && GetLastError() == ERROR_PATH_NOT_FOUND) {
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L'\\'));
    engine_files::MakeFolderChain(folder.c_str());
    file.reset(
        CreateFileW(path, access, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  return file;
}

// Renames the open file over `target` through its handle.
bool RenameByHandle(HANDLE file, const wchar_t* target) {
  const size_t length = wcslen(target);
  std::vector<char> storage(sizeof(FILE_RENAME_INFO) + length * sizeof(wchar_t));
  FILE_RENAME_INFO* info = reinterpret_cast<FILE_RENAME_INFO*>(storage.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(length * sizeof(wchar_t));
  std::memcpy(info->FileName, target, length * sizeof(wchar_t));
  return SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(storage.size())) != 0;
}

bool DeleteByHandle(HANDLE file) {
  FILE_DISPOSITION_INFO info = {TRUE};
  return SetFileInformationByHandle(file, FileDispositionInfo, &info, sizeof info) != 0;
}

bool Fetch(CURL* curl, const wchar_t* url, Transfer& t) {
  char narrow[entry_paths::kMaxUrlLength];
  if (WideCharToMultiByte(CP_ACP, 0, url, -1, narrow, sizeof narrow, nullptr, nullptr) == 0)
    return false;
  curl_easy_setopt(curl, CURLOPT_URL, narrow);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
  long status = 0;
  return curl_easy_perform(curl) == CURLE_OK &&
         curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status == 200;
}

class Floor {
 public:
  Floor(Variant variant, const benchmark_support::Options& options)
      : variant_(variant),
        root_(options.root),
        host_(options.host.begin(), options.host.end()),
        product_(options.product) {}

  bool Run(CURL* curl, const FileEntry& entry) {
    wchar_t target[MAX_PATH];
    wchar_t url[entry_paths::kMaxUrlLength];
    if (!engine_files::JoinPath(target, root_.c_str(), entry.name))
      return false;
    if (entry.kind == kEntryDelete)
      return variant_ == kMemory || DeleteFileW(target) || GetLastError() == ERROR_FILE_NOT_FOUND;
    if (!entry_paths::BuildUrl(url, host_.c_str(), product_.c_str(), entry))
      return false;
    Transfer t;
    t.variant = variant_;
    if (variant_ == kMemory)
      return Fetch(curl, url, t);
    if (entry.kind == kEntryRtp)
      return Patch(curl, entry, url, target, t);
    if (entry.kind != kEntryZip && entry.kind != kEntryNew)
      return true;
    return variant_ == kDirect ? WholeDirect(curl, entry, url, target, t)
                               : WholeSafe(curl, entry, url, target, t);
  }

 private:
  bool Matches(const FileEntry& entry, const Transfer& t) const {
    return t.size == static_cast<uint64_t>(entry.size) && t.crc == entry.crc32 &&
           (!t.inflate || t.stream_ended);
  }

  bool StartInflate(const FileEntry& entry, Transfer& t) {
    t.inflate = entry.kind == kEntryZip;
    return !t.inflate || inflateInit(&t.stream) == Z_OK;
  }

  bool WholeDirect(CURL* curl,
                   const FileEntry& entry,
                   const wchar_t* url,
                   const wchar_t* target,
                   Transfer& t) {
    UniqueHandle output = CreateWithFolders(target, GENERIC_WRITE);
    if (!output || !StartInflate(entry, t))
      return false;
    t.output = output.get();
    const bool fetched = Fetch(curl, url, t);
    if (t.inflate)
      inflateEnd(&t.stream);
    return fetched && Matches(entry, t);
  }

  bool WholeSafe(CURL* curl, const FileEntry& entry, const wchar_t* url, const wchar_t* target, Transfer& t) {
    wchar_t download_path[MAX_PATH];
    if (!entry_paths::BuildTempName(download_path, root_.c_str(), entry))
      return false;
    UniqueHandle download = CreateWithFolders(download_path, GENERIC_WRITE | DELETE);
    if (!download || !StartInflate(entry, t))
      return false;
    t.download = download.get();
    UniqueHandle result;
    if (t.inflate) {
      wchar_t result_path[MAX_PATH];
      wcscpy(result_path, download_path);
      wcscpy(result_path + wcslen(result_path) - 3, L"unz");
      result = CreateWithFolders(result_path, GENERIC_WRITE | DELETE);
      if (!result)
        return false;
      t.output = result.get();
    } else {
      t.output = download.get();
      t.download = nullptr;
    }
    const bool fetched = Fetch(curl, url, t);
    if (t.inflate)
      inflateEnd(&t.stream);
    if (!fetched || !Matches(entry, t))
      return false;
    if (!t.inflate)
      return RenameByHandle(download.get(), target);
    return RenameByHandle(result.get(), target) && DeleteByHandle(download.get());
  }

  bool Patch(CURL* curl, const FileEntry& entry, const wchar_t* url, const wchar_t* target, Transfer& t) {
    wchar_t patch_path[MAX_PATH];
    if (!entry_paths::BuildTempName(patch_path, root_.c_str(), entry))
      return false;
    {
      UniqueHandle download = CreateWithFolders(patch_path, GENERIC_WRITE);
      if (!download)
        return false;
      t.download = download.get();
      if (!Fetch(curl, url, t))
        return false;
    }
    std::string command_line;
    const bool applied = entry_paths::BuildPatchCommandLine(&command_line, patch_path,
                                                            entry_paths::PatchTargetFolder(target)) &&
                         patch_library_.Apply(command_line.c_str()) == 0;
    DeleteFileW(patch_path);
    return applied;
  }

  const Variant variant_;
  const std::wstring root_;
  const std::wstring host_;
  const std::wstring product_;
  PatchLibrary patch_library_;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace benchmark_support;
  Options options;
  std::vector<FileEntry> entries;
  if (!ParseOptions(argc, argv, &options) || !ReadEntries(options.entries, &entries) ||
      (options.variant != "direct" && options.variant != "safe" && options.variant != "memory")) {
    std::fputs(
        "usage: bench_floor_update --variant direct|safe|memory --root FOLDER --host HOST:PORT "
        "--product CODE --entries FILE\n",
        stderr);
    return 2;
  }
  const Variant variant = options.variant == "direct" ? kDirect : options.variant == "safe" ? kSafe : kMemory;
  curl_global_init(CURL_GLOBAL_WIN32);
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &OnBody);
  // The engine's downloader receives in blocks of this size; a smaller one costs more calls per file.
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 256L * 1024L);
  Floor floor(variant, options);

  BeginCounting(entries);
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  const FileEntry* failed = nullptr;
  int done = 0;
  for (const FileEntry& entry : entries) {
    if (!floor.Run(curl, entry)) {
      failed = &entry;
      break;
    }
    MarkEntriesDone(++done);
  }
  QueryPerformanceCounter(&end);
  std::printf("floor %s: %zu entries, %.0f ms, peak private %.1f MB, result ", options.variant.c_str(),
              entries.size(), Seconds(start, end) * 1000.0, PeakPrivateMegabytes());
  if (failed != nullptr)
    std::printf("failed at %ls\n", failed->name);
  else
    std::printf("completed\n");
  PrintCounts();
  curl_easy_cleanup(curl);
  curl_global_cleanup();
  return failed == nullptr ? 0 : 1;
}
