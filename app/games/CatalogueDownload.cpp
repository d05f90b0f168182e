#include "app/games/CatalogueDownload.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "net/HttpFileDownloader.h"
#include "selfupdate/GameInfoVersion.h"

namespace {

DownloadedFile g_downloaded_file;
// Read by the downloads (any thread), written by tests while none runs.
volatile unsigned long g_first_answer_limit_ms = kInfoFileFirstAnswerMs;

int AppendToDownloadedFile(const void* data, int bytes, void* user) {
  if (bytes < 0 || !static_cast<DownloadedFile*>(user)->Append(data, static_cast<size_t>(bytes)))
    return -1;
  return bytes;
}

}  // namespace

const wchar_t* CatalogueKindName(int kind) {
  static const wchar_t* const kNames[] = {L"GGI", L"GBI", L"GLI", L"MLI", L"LMODE"};
  return kind >= 0 && kind < 5 ? kNames[kind] : nullptr;
}

bool InfoFileUrl(int32_t company_id,
                 const wchar_t* host,
                 const wchar_t* name,
                 int kind,
                 uint64_t folder_number,
                 std::wstring* url) {
  url->clear();
  bool has_name = name != nullptr && name[0] != 0;
  const wchar_t* kind_name = CatalogueKindName(kind);
  if ((!has_name && company_id == -1) || host == nullptr || host[0] == 0 || folder_number == 0 ||
      kind_name == nullptr)
    return false;
  wchar_t number[24];
  std::swprintf(number, 24, L"%llu", static_cast<unsigned long long>(folder_number));
  *url = std::wstring(L"http://") + host + L"/GameInfo/" + number + L"/" + kind_name;
  if (company_id != -1)
    *url += L"_" + std::to_wstring(company_id);
  if (has_name)
    *url += std::wstring(L"_") + name;
  *url += L".info";
  return true;
}

DownloadedFile::~DownloadedFile() {
  std::free(buffer_);
}

void DownloadedFile::Reset(size_t reserve) {
  size_ = 0;
  reserve_ = reserve;
}

bool DownloadedFile::Append(const void* data, size_t bytes) {
  size_t needed = size_ + bytes + reserve_;
  if (needed < size_)
    return false;
  if (needed > capacity_) {
    size_t capacity = capacity_ * 2 > needed ? capacity_ * 2 : needed;
    char* grown = static_cast<char*>(std::realloc(buffer_, capacity));
    if (grown == nullptr)
      return false;
    buffer_ = grown;
    capacity_ = capacity;
  }
  if (bytes > 0)
    std::memcpy(buffer_ + size_, data, bytes);
  size_ += bytes;
  return true;
}

char* DownloadedFile::Terminate() {
  if (buffer_ == nullptr || size_ >= capacity_)
    return nullptr;
  buffer_[size_] = 0;
  return buffer_;
}

void SetInfoFileFirstAnswerLimit(unsigned long limit_ms) {
  g_first_answer_limit_ms = limit_ms != 0 ? limit_ms : kInfoFileFirstAnswerMs;
}

bool OpenInfoFileDownload(HttpFileDownloader* downloader, const wchar_t* url, DownloadedFile* target) {
  target->Reset(1);
  // A server that accepts and then stays silent must not hold whoever waits for the file.
  downloader->SetFirstAnswerLimit(g_first_answer_limit_ms);
  return downloader->Open(url, target, &AppendToDownloadedFile) == 1;
}

char* FinishInfoFileDownload(int performed, DownloadedFile* target, size_t* size) {
  if (size != nullptr)
    *size = 0;
  // An empty file still gets its terminator: it is an empty text, not a failed download.
  if (performed != 1 || !target->Append(nullptr, 0))
    return nullptr;
  char* text = target->Terminate();
  if (text != nullptr && size != nullptr)
    *size = target->size();
  return text;
}

char* DownloadInfoFile(int32_t company_id, const wchar_t* host, const wchar_t* name, int kind, size_t* size) {
  if (size != nullptr)
    *size = 0;
  std::wstring url;
  if (!InfoFileUrl(company_id, host, name, kind, GameInfoNumber(), &url))
    return nullptr;
  int performed = 0;
  {
    HttpFileDownloader downloader;
    if (OpenInfoFileDownload(&downloader, url.c_str(), &g_downloaded_file))
      performed = downloader.Perform();
  }
  return FinishInfoFileDownload(performed, &g_downloaded_file, size);
}
