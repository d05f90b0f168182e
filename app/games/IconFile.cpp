#include "app/games/IconFile.h"

#include <urlmon.h>
#include <windows.h>
#include <wininet.h>

#include <cwchar>
#include <cwctype>
#include <mutex>
#include <string>

#include "app/games/GameIcon.h"
#include "base/CriticalSection.h"
#include "base/TextFields.h"

namespace {

const wchar_t kVersionFileName[] = L"icon_version.ini";
const wchar_t kVersionSection[] = L"icon_version";
const size_t kPathUnits = 260;

bool IsFolder(const wchar_t* path) {
  DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const wchar_t* path) {
  DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A plain name that names a file of its own: the file system drops trailing dots and blanks, so a name of
// nothing else ("." or ". .") would stand for the folder that holds it.
bool IsIconPathPart(const wchar_t* name) {
  return IsPlainName(name) && std::wcsspn(name, L". ") != std::wcslen(name);
}

bool CreateFolderTolerant(const wchar_t* path) {
  if (CreateDirectoryW(path, nullptr))
    return true;
  DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

// Watches a download for the loader's stop request and records the server's answer. URLDownloadToFileW calls
// it on the downloading thread. A stop asked from another thread aborts the binding at the next progress
// report; a server that accepts and then stays silent reports no progress, so the stop also aborts the
// binding it finds registered here (AbortIconDownload). A server that stays silent while no stop is asked
// would hold every queued icon back: a timer aborts the binding once nothing arrived for the receive time-out.
// Some URL-moniker implementations save an error page as the file and report success: only an answer of 200
// counts.
//
// Threads: the downloading thread calls every method but AbortIfSilent, which runs on a timer-queue thread;
// lock_ guards binding_, last_activity_ is read and written atomically.
class DownloadCallback : public IBindStatusCallback, public IHttpNegotiate {
 public:
  DownloadCallback() : last_activity_(static_cast<LONG>(GetTickCount())) {}
  ~DownloadCallback() {
    Register(nullptr);
    Keep(nullptr);
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr)
      return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IBindStatusCallback))
      *object = static_cast<IBindStatusCallback*>(this);
    else if (IsEqualIID(iid, IID_IHttpNegotiate))
      *object = static_cast<IHttpNegotiate*>(this);
    else
      *object = nullptr;
    return *object != nullptr ? S_OK : E_NOINTERFACE;
  }
  // Lives on the downloading thread's stack for the length of the call.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* binding) override {
    Register(binding);
    Keep(binding);
    return ContinueOrAbort();
  }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override {
    Touch();
    return ContinueOrAbort();
  }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override {
    Register(nullptr);
    Keep(nullptr);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO*) override {
    // A changed icon at the same URL must come from the server, never from a cached copy.
    if (flags != nullptr)
      *flags |= BINDF_GETNEWESTVERSION | BINDF_NOWRITECACHE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
    Touch();
    return ContinueOrAbort();
  }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additional) override {
    if (additional != nullptr)
      *additional = nullptr;
    return ContinueOrAbort();
  }
  HRESULT STDMETHODCALLTYPE OnResponse(DWORD status, LPCWSTR headers, LPCWSTR, LPWSTR* additional) override {
    if (additional != nullptr)
      *additional = nullptr;
    http_status_ = status;
    content_length_ = ContentLengthOf(headers);
    return status == 200 ? ContinueOrAbort() : E_ABORT;
  }

  DWORD http_status() const { return http_status_; }
  int64_t content_length() const { return content_length_; }

  // Aborts the binding when nothing arrived for `limit_ms`.
  void AbortIfSilent(DWORD limit_ms) {
    DWORD last = static_cast<DWORD>(InterlockedCompareExchange(&last_activity_, 0, 0));
    if (GetTickCount() - last <= limit_ms)
      return;
    std::lock_guard<CriticalSection> hold(lock_);
    if (binding_ != nullptr)
      binding_->Abort();
  }

 private:
  static HRESULT ContinueOrAbort() { return IconDownloadStopRequested() ? E_ABORT : S_OK; }
  static void Register(IBinding* binding) { RegisterIconDownload(binding); }
  void Touch() { InterlockedExchange(&last_activity_, static_cast<LONG>(GetTickCount())); }
  void Keep(IBinding* binding) {
    std::lock_guard<CriticalSection> hold(lock_);
    if (binding != nullptr)
      binding->AddRef();
    if (binding_ != nullptr)
      binding_->Release();
    binding_ = binding;
  }

  DWORD http_status_ = 0;
  int64_t content_length_ = -1;
  volatile LONG last_activity_;
  CriticalSection lock_;
  IBinding* binding_ = nullptr;  // one reference while the binding runs
};

DWORD g_receive_timeout_ms = kIconReceiveTimeoutMs;

VOID CALLBACK CheckSilence(PVOID callback, BOOLEAN) {
  static_cast<DownloadCallback*>(callback)->AbortIfSilent(g_receive_timeout_ms);
}

int64_t FileSize(const wchar_t* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
    return -1;
  return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

// "<current folder>\icons\<game id>" into `folder`; false when it does not fit.
bool IconFolder(const wchar_t* game_id, wchar_t (&folder)[kPathUnits]) {
  wchar_t current[kPathUnits];
  DWORD length = GetCurrentDirectoryW(kPathUnits, current);
  if (length == 0 || length >= kPathUnits)
    return false;
  folder[0] = 0;
  return AppendToField(folder, current) && AppendToField(folder, L"\\icons\\") &&
         AppendToField(folder, game_id);
}

bool JoinPath(wchar_t (&out)[kPathUnits], const wchar_t* folder, const wchar_t* name) {
  out[0] = 0;
  return AppendToField(out, folder) && AppendToField(out, L"\\") && AppendToField(out, name);
}

// Downloads `url` beside `path` first and moves it into place only when the whole answer arrived, so a failed
// download never replaces the icon that is there.
bool DownloadFresh(const wchar_t* url, const wchar_t* path) {
  std::wstring part = std::wstring(path) + L".part";
  if (part.size() >= kPathUnits)
    return false;
  DeleteUrlCacheEntryW(url);
  HRESULT result;
  DWORD status;
  int64_t announced;
  {
    DownloadCallback callback;
    HANDLE timer = nullptr;
    CreateTimerQueueTimer(&timer, nullptr, &CheckSilence, &callback, 250, 250, WT_EXECUTEDEFAULT);
    result = URLDownloadToFileW(nullptr, url, part.c_str(), 0, &callback);
    // Waits for a check that is running: the callback ends with this block.
    if (timer != nullptr)
      DeleteTimerQueueTimer(nullptr, timer, INVALID_HANDLE_VALUE);
    status = callback.http_status();
    announced = callback.content_length();
  }
  // A connection that closes before the announced length is also reported as success by some implementations.
  int64_t size = FileSize(part.c_str());
  bool whole =
      result == S_OK && status == 200 && IsFile(part.c_str()) && (announced < 0 || size == announced);
  if (whole && MoveFileExW(part.c_str(), path, MOVEFILE_REPLACE_EXISTING))
    return true;
  DeleteFileW(part.c_str());
  return false;
}

}  // namespace

void SetIconReceiveTimeout(unsigned milliseconds) {
  g_receive_timeout_ms = milliseconds != 0 ? milliseconds : kIconReceiveTimeoutMs;
}

int64_t ContentLengthOf(const wchar_t* headers) {
  if (headers == nullptr)
    return -1;
  static const wchar_t kName[] = L"content-length:";
  const size_t name_units = sizeof kName / sizeof kName[0] - 1;
  for (const wchar_t* line = headers; *line != 0;) {
    size_t matched = 0;
    while (matched < name_units && line[matched] != 0 &&
           static_cast<wchar_t>(towlower(line[matched])) == kName[matched])
      ++matched;
    if (matched == name_units) {
      const wchar_t* digit = line + name_units;
      while (*digit == L' ' || *digit == L'\t')
        ++digit;
      int64_t value = -1;
      for (; *digit >= L'0' && *digit <= L'9'; ++digit) {
        if (value > (INT64_MAX - 9) / 10)
          return -1;
        value = (value < 0 ? 0 : value * 10) + (*digit - L'0');
      }
      return value;
    }
    const wchar_t* end = std::wcschr(line, L'\n');
    if (end == nullptr)
      break;
    line = end + 1;
  }
  return -1;
}

const wchar_t* IconFileName(const wchar_t* url) {
  if (url == nullptr)
    return nullptr;
  const wchar_t* slash = std::wcsrchr(url, L'/');
  if (slash == nullptr)
    return nullptr;
  const wchar_t* name = slash + 1;
  return IsIconPathPart(name) ? name : nullptr;
}

bool CreateFolderChain(const wchar_t* path) {
  if (path == nullptr || path[0] == 0)
    return false;
  if (IsFolder(path) || CreateFolderTolerant(path))
    return IsFolder(path);
  std::wstring prefix;
  for (const wchar_t* position = path; *position != 0; ++position) {
    if (*position == L'\\' && !prefix.empty() && !IsFolder(prefix.c_str()) &&
        !CreateFolderTolerant(prefix.c_str()))
      return false;
    prefix += *position;
  }
  CreateFolderTolerant(path);
  return IsFolder(path);
}

int FetchIconFile(const wchar_t* game_id, const wchar_t* url, int32_t version, wchar_t* path) {
  if (game_id == nullptr || url == nullptr || url[0] == 0 || version == 0 || path == nullptr)
    return kIconFetchFailed;
  if (!IsIconPathPart(game_id) || std::wcslen(url) > kMaxIconUrlUnits)
    return kIconFetchFailed;
  const wchar_t* file_name = IconFileName(url);
  wchar_t folder[kPathUnits];
  wchar_t file_path[kPathUnits];
  wchar_t version_path[kPathUnits];
  if (file_name == nullptr || !IconFolder(game_id, folder) || !JoinPath(file_path, folder, file_name) ||
      !JoinPath(version_path, folder, kVersionFileName))
    return kIconFetchFailed;
  if (!CreateFolderChain(folder))
    return kIconFetchFailed;

  // A damaged version file reads as 0, which no valid version equals: the icon is fetched again.
  int recorded = static_cast<int>(GetPrivateProfileIntW(kVersionSection, file_name, 0, version_path));
  if (recorded == version && IsFile(file_path)) {
    std::wmemcpy(path, file_path, kPathUnits);
    return kIconFetchReady;
  }
  if (!DownloadFresh(url, file_path))
    return kIconFetchFailed;
  wchar_t text[16];
  swprintf(text, 16, L"%d", static_cast<int>(version));
  WritePrivateProfileStringW(kVersionSection, file_name, text, version_path);
  std::wmemcpy(path, file_path, kPathUnits);
  return kIconFetchReady;
}
