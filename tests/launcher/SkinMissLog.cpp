// Linked into orvaneLauncher_testing.exe only, the launcher that the end-to-end tests run: every skin file that
// a window asks for and the skin lacks is appended as one UTF-8 line "<category id>\t<name>" (a missing
// category: "<id>\t") to the file that the environment variable ORVANE_SKIN_MISS_LOG names, which every launcher
// process of a test inherits (the restarted ones and the temporary copy included). The observer is installed
// before the program starts.
#include <windows.h>

#include "base/ScopedHandle.h"
#include "ui/skin/SkinLoader.h"

namespace {

void AppendUtf8(HANDLE file, const wchar_t* text) {
  char bytes[512];
  int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof(bytes), nullptr, nullptr);
  DWORD written = 0;
  if (length > 1)
    WriteFile(file, bytes, static_cast<DWORD>(length - 1), &written, nullptr);
}

void LogSkinFileMiss(const wchar_t* category_id, const wchar_t* name) {
  wchar_t log_path[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", log_path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return;
  UniqueHandle log(CreateFileW(log_path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!log)
    return;
  AppendUtf8(log.get(), category_id != nullptr ? category_id : L"");
  AppendUtf8(log.get(), L"\t");
  AppendUtf8(log.get(), name != nullptr ? name : L"");
  AppendUtf8(log.get(), L"\r\n");
}

const SkinFileMissObserver g_replaced = SetSkinFileMissObserver(&LogSkinFileMiss);

}  // namespace
