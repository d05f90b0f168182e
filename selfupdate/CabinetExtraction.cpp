#include "selfupdate/CabinetExtraction.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fdi.h>

#include <memory>

#include "base/RelativeName.h"

namespace {

// What the notification callback needs: the target folder and the file being written.
struct ExtractionContext {
  std::wstring target_folder;
  std::wstring current_path;
};

// ---- FDI's memory and file callbacks: plain C runtime calls over file descriptors, as FDI expects. ----

FNALLOC(CabinetAllocate) {
  return malloc(cb);
}

FNFREE(CabinetFree) {
  free(pv);
}

FNOPEN(CabinetOpen) {
  return _open(pszFile, oflag, pmode);
}

FNREAD(CabinetRead) {
  return static_cast<UINT>(_read(static_cast<int>(hf), pv, cb));
}

FNWRITE(CabinetWrite) {
  return static_cast<UINT>(_write(static_cast<int>(hf), pv, cb));
}

FNCLOSE(CabinetClose) {
  return _close(static_cast<int>(hf));
}

FNSEEK(CabinetSeek) {
  return _lseek(static_cast<int>(hf), dist, seektype);
}

// ---- Text and paths ----

bool ToSystemCodePage(const std::wstring& text, std::string* narrow) {
  if (text.empty()) {
    narrow->clear();
    return true;
  }
  BOOL lossy = FALSE;
  int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
  if (length <= 0 || lossy)
    return false;
  narrow->assign(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &(*narrow)[0], length, nullptr, nullptr);
  narrow->resize(static_cast<size_t>(length) - 1);
  return true;
}

// Entry names are in the system code page unless the cabinet flags them as UTF-8.
std::wstring EntryName(const char* name, unsigned attributes) {
  UINT code_page = (attributes & _A_NAME_IS_UTF) ? CP_UTF8 : CP_ACP;
  DWORD flags = code_page == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
  int length = MultiByteToWideChar(code_page, flags, name, -1, nullptr, 0);
  if (length <= 0)
    return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(code_page, flags, name, -1, &wide[0], length);
  wide.resize(static_cast<size_t>(length) - 1);
  return wide;
}

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

// Makes the folders between the target folder and the entry's file (the target folder itself exists).
void MakeEntryFolders(const std::wstring& target_folder, const std::wstring& path) {
  for (size_t at = target_folder.size() + 1; at < path.size(); ++at) {
    if (path[at] == L'\\')
      CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
  }
}

// ---- Notifications ----

// A new, empty file for the entry; a file of that name is replaced even when read-only or hidden. Returns the
// descriptor, or -1 to abort the extraction.
INT_PTR CreateTargetFile(ExtractionContext* context, const PFDINOTIFICATION notification) {
  std::wstring name = EntryName(notification->psz1, notification->attribs);
  context->current_path = CabinetTargetPath(context->target_folder, name);
  if (context->current_path.empty())
    return -1;
  const wchar_t* path = context->current_path.c_str();
  MakeEntryFolders(context->target_folder, context->current_path);
  if (!DeleteFileW(path) && GetLastError() == ERROR_ACCESS_DENIED) {
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path);
  }
  // CREATE_ALWAYS truncates, so a file that could not be deleted never keeps its old tail.
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return -1;
  int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
  if (descriptor == -1)
    CloseHandle(file);
  return descriptor;
}

void ApplyCabinetTime(const wchar_t* path, USHORT dos_date, USHORT dos_time) {
  FILETIME local, utc;
  if (!DosDateTimeToFileTime(dos_date, dos_time, &local) || !LocalFileTimeToFileTime(&local, &utc))
    return;
  HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return;
  SetFileTime(file, &utc, nullptr, &utc);
  CloseHandle(file);
}

INT_PTR FinishTargetFile(ExtractionContext* context, const PFDINOTIFICATION notification) {
  _close(static_cast<int>(notification->hf));
  const wchar_t* path = context->current_path.c_str();
  ApplyCabinetTime(path, notification->date, notification->time);
  DWORD attributes = notification->attribs & (_A_RDONLY | _A_HIDDEN | _A_SYSTEM | _A_ARCH);
  SetFileAttributesW(path, attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
  return TRUE;
}

FNFDINOTIFY(OnCabinetNotification) {
  auto* context = static_cast<ExtractionContext*>(pfdin->pv);
  switch (fdint) {
    case fdintCOPY_FILE:
      return CreateTargetFile(context, pfdin);
    case fdintCLOSE_FILE_INFO:
      return FinishTargetFile(context, pfdin);
    default:
      // Cabinet information, partial files and continuation cabinets need nothing from us.
      return 0;
  }
}

struct FdiDestroyer {
  void operator()(void* fdi) const { FDIDestroy(fdi); }
};
using FdiContext = std::unique_ptr<void, FdiDestroyer>;

// Whether the cabinet can be opened, is a cabinet and holds exactly one folder.
int CheckCabinet(HFDI fdi, const std::string& cabinet_path) {
  int descriptor = _open(cabinet_path.c_str(), _O_BINARY | _O_RDONLY | _O_SEQUENTIAL, 0);
  if (descriptor == -1)
    return kCabinetCannotOpen;
  FDICABINETINFO info = {};
  BOOL is_cabinet = FDIIsCabinet(fdi, descriptor, &info);
  _close(descriptor);
  if (!is_cabinet)
    return kCabinetNotACabinet;
  return info.cFolders == 1 ? kCabinetExtracted : kCabinetNotOneFolder;
}

}  // namespace

int CabinetResultFromFdiError(int fdi_error) {
  return fdi_error >= FDIERROR_CABINET_NOT_FOUND && fdi_error <= FDIERROR_USER_ABORT ? 100 + fdi_error
                                                                                     : kCabinetFdiFailure;
}

std::wstring CabinetTargetPath(const std::wstring& target_folder, const std::wstring& entry_name) {
  if (!IsSafeRelativeFileName(entry_name.c_str()) || entry_name.find(L'\0') != std::wstring::npos)
    return std::wstring();
  std::wstring relative = entry_name;
  for (wchar_t& c : relative) {
    if (IsSeparator(c))
      c = L'\\';
  }
  bool has_separator = !target_folder.empty() && IsSeparator(target_folder.back());
  std::wstring path = target_folder + (has_separator ? L"" : L"\\") + relative;
  return path.size() < MAX_PATH ? path : std::wstring();
}

int ExtractCabinet(const wchar_t* cabinet_path, const wchar_t* target_folder) {
  if (!cabinet_path || !target_folder || !*target_folder)
    return kCabinetCannotOpen;
  ERF error = {};
  FdiContext fdi(FDICreate(CabinetAllocate, CabinetFree, CabinetOpen, CabinetRead, CabinetWrite, CabinetClose,
                           CabinetSeek, cpu80386, &error));
  if (!fdi)
    return CabinetResultFromFdiError(error.erfOper);

  std::string narrow_path;
  if (!ToSystemCodePage(cabinet_path, &narrow_path))
    return kCabinetCannotOpen;
  int checked = CheckCabinet(fdi.get(), narrow_path);
  if (checked != kCabinetExtracted)
    return checked;

  // FDI takes the cabinet's folder (with its trailing backslash) and its file name apart.
  size_t cut = narrow_path.find_last_of('\\');
  std::string folder = cut == std::string::npos ? std::string() : narrow_path.substr(0, cut + 1);
  std::string name = cut == std::string::npos ? narrow_path : narrow_path.substr(cut + 1);
  if (folder.size() >= CB_MAX_CAB_PATH || name.size() >= CB_MAX_CABINET_NAME)
    return kCabinetCannotOpen;

  ExtractionContext context{target_folder, std::wstring()};
  if (!FDICopy(fdi.get(), &name[0], &folder[0], 0, OnCabinetNotification, nullptr, &context))
    return CabinetResultFromFdiError(error.erfOper);
  return kCabinetExtracted;
}
