// Path conversion between the Windows side of a test (running under Wine) and the Unix programs it starts
// (the Python fixture servers). Wine maps the Unix root to drive Z: and exports the conversion functions
// from kernel32; on real Windows they are absent and the functions below return empty strings.
#pragma once

#include <string>

namespace testing_support {

// The Unix path of a Windows path ("C:\\users\\x" -> "/.../drive_c/users/x"), or "" when not under Wine.
std::string UnixPathOf(const std::wstring& windows_path);
// The Windows path of a Unix path ("/usr/bin/python3" -> "Z:\\usr\\bin\\python3"), or "" when not under Wine.
std::wstring WindowsPathOf(const std::string& unix_path);
// True when the test runs under Wine.
bool RunningUnderWine();

// UTF-8 text (what Unix programs take and give) as UTF-16, and back.
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

// Windows path of a file in the source tree, from its path relative to the tree ("tests/fixtures/x.py").
std::wstring SourcePath(const std::string& relative);

}  // namespace testing_support
