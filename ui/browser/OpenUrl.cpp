#include "ui/browser/OpenUrl.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cwctype>

namespace {

bool StartsWithNoCase(const wchar_t* text, const wchar_t* prefix) {
  for (; *prefix != L'\0'; ++text, ++prefix) {
    if (*text == L'\0' || std::towlower(*text) != *prefix)
      return false;
  }
  return true;
}

void AppendPathElement(std::wstring* path, const wchar_t* element) {
  if (!path->empty() && path->back() != L'\\')
    path->push_back(L'\\');
  path->append(element);
}

void AppendPercentEncoded(std::wstring* out, wchar_t c) {
  static const wchar_t kHex[] = L"0123456789ABCDEF";
  out->push_back(L'%');
  out->push_back(kHex[(c >> 4) & 15]);
  out->push_back(kHex[c & 15]);
}

}  // namespace

std::wstring UrlShell::ProgramFilesFolder() {
  wchar_t folder[MAX_PATH] = L"";
  if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE))
    return std::wstring();
  return folder;
}

std::wstring UrlShell::SystemDirectory() {
  wchar_t folder[MAX_PATH] = L"";
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return std::wstring();
  return folder;
}

bool UrlShell::FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

intptr_t UrlShell::Execute(const wchar_t* verb, const std::wstring& file, const wchar_t* parameters) {
  HINSTANCE result = ShellExecuteW(nullptr, verb, file.c_str(), parameters, nullptr, SW_SHOW);
  return reinterpret_cast<intptr_t>(result);
}

bool IsOutsideUrlAllowed(const wchar_t* url) {
  if (url == nullptr)
    return false;
  if (StartsWithNoCase(url, L"http://"))
    return url[7] != L'\0';
  if (StartsWithNoCase(url, L"https://"))
    return url[8] != L'\0';
  return false;
}

std::wstring EscapeUrl(const std::wstring& url) {
  std::wstring escaped;
  escaped.reserve(url.size());
  for (wchar_t c : url) {
    if (c == L'"' || c < 0x20 || c == 0x7F)
      AppendPercentEncoded(&escaped, c);
    else
      escaped.push_back(c);
  }
  return escaped;
}

std::wstring QuoteUrlArgument(const std::wstring& url) {
  std::wstring quoted = L"\"" + EscapeUrl(url);
  // Backslashes before the closing quote would escape it for the program's argument parser.
  size_t backslashes = 0;
  for (size_t i = quoted.size(); i > 1 && quoted[i - 1] == L'\\'; --i)
    ++backslashes;
  quoted.append(backslashes, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

std::wstring InternetExplorerPath(const std::wstring& program_files, const std::wstring& system_directory) {
  std::wstring folder = program_files;
  if (folder.empty()) {
    folder = system_directory.substr(0, 3);
    folder.append(L"Program Files");
  }
  AppendPathElement(&folder, L"Internet Explorer\\IEXPLORE.EXE");
  return folder;
}

intptr_t OpenUrlWithInternetExplorer(const wchar_t* url, UrlShell* shell) {
  if (!IsOutsideUrlAllowed(url))
    return kUrlRefused;
  UrlShell real_shell;
  if (shell == nullptr)
    shell = &real_shell;
  std::wstring program_files = shell->ProgramFilesFolder();
  std::wstring browser =
      InternetExplorerPath(program_files, program_files.empty() ? shell->SystemDirectory() : std::wstring());
  if (shell->FileExists(browser))
    return shell->Execute(L"open", browser, QuoteUrlArgument(url).c_str());
  // No Internet Explorer: the default browser for the scheme takes the URL. Its registered command line
  // quotes the URL, so a '"' in it must not close that quote either.
  return shell->Execute(L"open", EscapeUrl(url), nullptr);
}
