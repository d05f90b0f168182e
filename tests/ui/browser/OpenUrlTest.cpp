#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/browser/OpenUrl.h"

namespace {

// A shell that records its calls and starts nothing.
class FakeShell : public UrlShell {
 public:
  std::wstring program_files = L"C:\\Program Files";
  std::wstring system_directory = L"D:\\Windows\\system32";
  bool browser_installed = true;
  std::vector<std::wstring> checked;
  std::vector<std::wstring> calls;  // verb|file|parameters

  std::wstring ProgramFilesFolder() override { return program_files; }
  std::wstring SystemDirectory() override { return system_directory; }
  bool FileExists(const std::wstring& path) override {
    checked.push_back(path);
    return browser_installed;
  }
  intptr_t Execute(const wchar_t* verb, const std::wstring& file, const wchar_t* parameters) override {
    calls.push_back(std::wstring(verb) + L"|" + file + L"|" + (parameters ? parameters : L"(none)"));
    return 42;
  }
};

TEST(OpenUrl, OnlyHttpAndHttpsLinksMayLeave) {
  struct Case {
    const wchar_t* url;
    bool allowed;
  };
  const Case cases[] = {
      {L"http://example.test/a", true},
      {L"HTTPS://example.test/", true},
      {L"hTtP://x", true},
      {L"http://", false},
      {L"https://", false},
      {L"file:///C:/x.exe", false},
      {L"res://ieframe.dll/", false},
      {L"javascript:alert(1)", false},
      {L"C:\\Windows\\x.exe", false},
      {L"ftp://example.test", false},
      {L"", false},
      {nullptr, false},
      {L" http://x", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.allowed, IsOutsideUrlAllowed(c.url)) << (c.url ? c.url : L"(null)");
}

TEST(OpenUrl, TheUrlIsOneQuotedArgument) {
  struct Case {
    const wchar_t* url;
    const wchar_t* quoted;
  };
  const Case cases[] = {
      {L"http://a.test/p?q=1&r=2", L"\"http://a.test/p?q=1&r=2\""},
      {L"http://a.test/\" -new-window file:///c:/x", L"\"http://a.test/%22 -new-window file:///c:/x\""},
      {L"http://a.test/x\r\ny", L"\"http://a.test/x%0D%0Ay\""},
      {L"http://a.test/dir\\", L"\"http://a.test/dir\\\\\""},
      {L"http://a.test/a\\b", L"\"http://a.test/a\\b\""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.quoted, QuoteUrlArgument(c.url)) << c.url;
}

TEST(OpenUrl, TheBrowserPathFallsBackToTheSystemDrive) {
  EXPECT_EQ(L"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE",
            InternetExplorerPath(L"C:\\Program Files", L"D:\\Windows\\system32"));
  EXPECT_EQ(L"E:\\Apps\\Internet Explorer\\IEXPLORE.EXE", InternetExplorerPath(L"E:\\Apps\\", L""));
  EXPECT_EQ(L"D:\\Program Files\\Internet Explorer\\IEXPLORE.EXE",
            InternetExplorerPath(L"", L"D:\\Windows\\system32"));
}

TEST(OpenUrl, InternetExplorerGetsTheQuotedUrlAndTheDefaultBrowserTakesOverWithoutIt) {
  FakeShell shell;
  EXPECT_EQ(42, OpenUrlWithInternetExplorer(L"http://a.test/\"x", &shell));
  shell.browser_installed = false;
  shell.program_files.clear();
  EXPECT_EQ(42, OpenUrlWithInternetExplorer(L"https://b.test/\"y", &shell));
  EXPECT_EQ((std::vector<std::wstring>{
                L"C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE",
                L"D:\\Program Files\\Internet Explorer\\IEXPLORE.EXE",
            }),
            shell.checked);
  EXPECT_EQ((std::vector<std::wstring>{
                L"open|C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE|\"http://a.test/%22x\"",
                L"open|https://b.test/%22y|(none)",
            }),
            shell.calls);
}

TEST(OpenUrl, RefusedLinksMakeNoShellCall) {
  FakeShell shell;
  for (const wchar_t* url : {L"file:///C:/Windows/system32/calc.exe", L"", L"res://x", L"mailto:a@b"})
    EXPECT_EQ(kUrlRefused, OpenUrlWithInternetExplorer(url, &shell)) << url;
  EXPECT_EQ(kUrlRefused, OpenUrlWithInternetExplorer(nullptr, &shell));
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(shell.checked.empty());
}

}  // namespace
