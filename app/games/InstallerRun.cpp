#include "app/games/InstallerRun.h"

#include <shellapi.h>

#include <atomic>
#include <cwchar>
#include <string>

namespace {

std::atomic<InstallerShellExecute> g_shell_execute{nullptr};

bool IsPlainFileName(const wchar_t* name) {
  return name[0] != 0 && std::wcspbrk(name, L"\\/:?") == nullptr && std::wcsstr(name, L"..") == nullptr;
}

}  // namespace

InstallerPathResult InstallerFilePath(const wchar_t* folder,
                                      const wchar_t* url,
                                      wchar_t* path,
                                      size_t units) {
  if (units > 0)
    path[0] = 0;
  const wchar_t* slash = url != nullptr ? std::wcsrchr(url, L'/') : nullptr;
  if (slash == nullptr || !IsPlainFileName(slash + 1))
    return kInstallerPathNoFileName;
  std::wstring joined = std::wstring(folder) + L"\\" + (slash + 1);
  if (joined.size() >= units)
    return kInstallerPathTooLong;
  std::wmemcpy(path, joined.c_str(), joined.size() + 1);
  return kInstallerPathOk;
}

int InstallerErrorNumber(DownloaderError error) {
  switch (error) {
    case kDownloaderErrorCancelled:
      return 0;
    case kDownloaderErrorNoHandle:
      return 5;
    case kDownloaderErrorSink:
      return 7;
    default:
      return 8;
  }
}

void SetInstallerShellExecute(InstallerShellExecute execute) {
  g_shell_execute.store(execute);
}

INT_PTR RunInstaller(const wchar_t* installer_file) {
  InstallerShellExecute execute = g_shell_execute.load();
  if (execute == nullptr)
    execute = &ShellExecuteW;
  std::wstring file = installer_file;
  size_t separator = file.rfind(L'\\');
  std::wstring folder = separator == std::wstring::npos ? std::wstring() : file.substr(0, separator);
  size_t dot = file.rfind(L'.');
  std::wstring extension = dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator)
                               ? L""
                               : file.substr(dot + 1);
  HINSTANCE result;
  if (extension == L"exe" || extension == L"msi")
    result = execute(nullptr, L"open", file.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
  else
    result = execute(nullptr, L"open", L"explorer", folder.c_str(), nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result);
}
