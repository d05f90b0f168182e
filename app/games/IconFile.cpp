#include "app/games/IconFile.h"

#include <windows.h>
#include <urlmon.h>
#include <wininet.h>

#include <cwchar>
#include <string>

#include "app/TextFields.h"
#include "app/games/GameIcon.h"

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

bool CreateFolderTolerant(const wchar_t* path) {
  if (CreateDirectoryW(path, nullptr))
    return true;
  DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

// Watches a download for the loader's stop request and records the server's answer. URLDownloadToFileW calls
// it on the downloading thread. A stop asked from another thread aborts the binding at the next progress
// report; a server that accepts and then stays silent reports no progress, so the stop also aborts the
// binding it finds registered here (AbortIconDownload). Some URL-moniker implementations save an error page as
// the file and report success: only an answer of 200 counts.
class DownloadCallback : public IBindStatusCallback, public IHttpNegotiate {
 public:
  ~DownloadCallback() { Register(nullptr); }
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
    return ContinueOrAbort();
  }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG, LPCWSTR) override { return ContinueOrAbort(); }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override {
    Register(nullptr);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO*) override {
    // A changed icon at the same URL must come from the server, never from a cached copy.
    if (flags != nullptr)
      *flags |= BINDF_GETNEWESTVERSION | BINDF_NOWRITECACHE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
    return ContinueOrAbort();
  }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additional) override {
    if (additional != nullptr)
      *additional = nullptr;
    return ContinueOrAbort();
  }
  HRESULT STDMETHODCALLTYPE OnResponse(DWORD status, LPCWSTR, LPCWSTR, LPWSTR* additional) override {
    if (additional != nullptr)
      *additional = nullptr;
    http_status_ = status;
    return status == 200 ? ContinueOrAbort() : E_ABORT;
  }

  DWORD http_status() const { return http_status_; }

 private:
  static HRESULT ContinueOrAbort() { return IconDownloadStopRequested() ? E_ABORT : S_OK; }
  static void Register(IBinding* binding) { RegisterIconDownload(binding); }

  DWORD http_status_ = 0;
};

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
  {
    DownloadCallback callback;
    result = URLDownloadToFileW(nullptr, url, part.c_str(), 0, &callback);
    status = callback.http_status();
  }
  bool whole = result == S_OK && status == 200 && IsFile(part.c_str());
  if (whole && MoveFileExW(part.c_str(), path, MOVEFILE_REPLACE_EXISTING))
    return true;
  DeleteFileW(part.c_str());
  return false;
}

}  // namespace

const wchar_t* IconFileName(const wchar_t* url) {
  if (url == nullptr)
    return nullptr;
  const wchar_t* slash = std::wcsrchr(url, L'/');
  if (slash == nullptr)
    return nullptr;
  const wchar_t* name = slash + 1;
  return IsPlainName(name) ? name : nullptr;
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
  if (!IsPlainName(game_id) || std::wcslen(url) > kMaxIconUrlUnits)
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
