#include "tests/support/WinePaths.h"

#include <windows.h>

namespace testing_support {

namespace {

using UnixNameFunction = char*(__cdecl*)(const wchar_t*);
using DosNameFunction = wchar_t*(__cdecl*)(const char*);

// The exports are looked up at run time because only Wine has them. GCC accepts a cast between unrelated
// function types only through void (*)(), the type that matches every function.
template <typename Function>
Function Kernel32Export(const char* name) {
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  FARPROC address = kernel32 ? GetProcAddress(kernel32, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

}  // namespace

bool RunningUnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string UnixPathOf(const std::wstring& windows_path) {
  auto convert = Kernel32Export<UnixNameFunction>("wine_get_unix_file_name");
  if (!convert)
    return std::string();
  char* unix_path = convert(windows_path.c_str());
  if (!unix_path)
    return std::string();
  std::string result(unix_path);
  HeapFree(GetProcessHeap(), 0, unix_path);
  return result;
}

std::wstring WindowsPathOf(const std::string& unix_path) {
  auto convert = Kernel32Export<DosNameFunction>("wine_get_dos_file_name");
  if (!convert)
    return std::wstring();
  wchar_t* dos_path = convert(unix_path.c_str());
  if (!dos_path)
    return std::wstring();
  std::wstring result(dos_path);
  HeapFree(GetProcessHeap(), 0, dos_path);
  return result;
}

std::wstring Utf8ToWide(const std::string& text) {
  if (text.empty())
    return std::wstring();
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

std::string WideToUtf8(const std::wstring& text) {
  if (text.empty())
    return std::string();
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr,
                      nullptr);
  return narrow;
}

std::wstring SourcePath(const std::string& relative) {
  return WindowsPathOf(std::string(ORVANE_SOURCE_DIR) + "/" + relative);
}

}  // namespace testing_support
