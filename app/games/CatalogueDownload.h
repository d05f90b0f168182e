// Downloading one catalogue file into memory.
//
// Catalogue files live in the server folder "GameInfo/<number>", where <number> is the catalogue-folder
// number of the last version query (selfupdate/GameInfoVersion.h), and are named after their kind:
//   no name                     http://<host>/GameInfo/<number>/<kind>_<CompanyID>.info
//   a name, CompanyID not -1    http://<host>/GameInfo/<number>/<kind>_<CompanyID>_<name>.info
//   a name, CompanyID -1        http://<host>/GameInfo/<number>/<kind>_<name>.info
// (no name with CompanyID -1 names no file). <host> is the update address as given: a host, optionally a
// colon and a port, optionally a path.
//
// Thread: DownloadInfoFile on the user-interface thread (one process-wide download buffer); the two steps
// below on any thread, each download with a buffer of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class HttpFileDownloader;

// Catalogue kinds, named in the file names.
enum CatalogueKind : int {
  kCatalogueKindGGI = 0,
  kCatalogueKindGBI = 1,    // game versions
  kCatalogueKindGLI = 2,    // game list
  kCatalogueKindMLI = 3,    // top menu
  kCatalogueKindLMODE = 4,  // launch mode
};

// The kind's name ("GGI", ...), or null outside 0..4.
const wchar_t* CatalogueKindName(int kind);

// The URL of a catalogue file (the forms above). False, with an empty URL, when there is no file: no name
// and CompanyID -1, no host, folder number 0 or an unknown kind.
bool InfoFileUrl(int32_t company_id,
                 const wchar_t* host,
                 const wchar_t* name,
                 int kind,
                 uint64_t folder_number,
                 std::wstring* url);

// The process-wide download target: a byte buffer that grows (at least doubling) as the transfer appends.
class DownloadedFile {
 public:
  DownloadedFile() = default;
  virtual ~DownloadedFile();
  DownloadedFile(const DownloadedFile&) = delete;
  DownloadedFile& operator=(const DownloadedFile&) = delete;

  // Empties the buffer (its memory is kept) and sets the bytes always kept free behind the data.
  void Reset(size_t reserve);
  // Appends `bytes` bytes. False when the buffer cannot grow (the transfer is then aborted).
  bool Append(const void* data, size_t bytes);
  // Terminates the data with a zero byte when there is room. Null when there is not (nothing was received).
  char* Terminate();

  size_t size() const { return size_; }

 private:
  char* buffer_ = nullptr;
  size_t size_ = 0;
  size_t reserve_ = 1;
  size_t capacity_ = 0;
};

// How long a catalogue-file download waits for the first byte of the answer (the downloader's stall limit
// takes over once data flows). Tests shorten it; 0 restores the default. Set it while nothing downloads.
constexpr unsigned long kInfoFileFirstAnswerMs = 10000;
void SetInfoFileFirstAnswerLimit(unsigned long limit_ms);

// Downloads the catalogue file (kind, CompanyID, name) from `host` into the process-wide buffer. The
// zero-terminated text (valid until the next download), with its size in `size` when given; null when there
// is no such file (see InfoFileUrl), the transfer fails, or nothing arrived.
char* DownloadInfoFile(int32_t company_id, const wchar_t* host, const wchar_t* name, int kind, size_t* size);

// One download of a catalogue file in two steps, so that another thread may cancel it (HttpFileDownloader::
// Cancel) once it is open: OpenInfoFileDownload empties `target` and opens `downloader` on `url` with the
// info-file limits and `target` as its sink (false when it cannot); after `downloader`'s Perform,
// FinishInfoFileDownload gives the zero-terminated text in `target`, with its size in `size` when given, or
// null when the transfer failed.
bool OpenInfoFileDownload(HttpFileDownloader* downloader, const wchar_t* url, DownloadedFile* target);
char* FinishInfoFileDownload(int performed, DownloadedFile* target, size_t* size);
