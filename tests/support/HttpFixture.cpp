#include "tests/support/HttpFixture.h"

namespace testing_support {

bool HttpFixture::Start(const std::string& script_json) {
  SetScript(script_json);
  MakeFolders(server_.folder().Join(L"root"));
  return server_.Start("http_server.py",
                       {"--root", server_.UnixPath(L"root"), "--script", server_.UnixPath(L"script.json")});
}

void HttpFixture::SetScript(const std::string& script_json) {
  WriteFileBytes(server_.folder().Join(L"script.json"), script_json);
}

void HttpFixture::AddFile(const std::wstring& name, const std::string& bytes) {
  WriteFileBytes(server_.folder().Join(L"root\\" + name), bytes);
}

std::wstring HttpFixture::Url(const std::string& path) const {
  std::string url = "http://" + server_.endpoint() + path;
  return std::wstring(url.begin(), url.end());
}

std::string HttpFixture::RequestsFor(const std::string& path) const {
  std::string log, seen;
  ReadFileBytes(server_.folder().Join(L"requests.log"), &log);
  size_t start = 0;
  while (start < log.size()) {
    size_t end = log.find('\n', start);
    std::string line = log.substr(start, end - start);
    start = end == std::string::npos ? log.size() : end + 1;
    size_t tab1 = line.find('\t'), tab2 = line.rfind('\t');
    if (tab1 != std::string::npos && line.substr(tab1 + 1, tab2 - tab1 - 1) == path)
      seen += (seen.empty() ? "" : ", ") + line.substr(0, tab1) + " " + line.substr(tab2 + 1);
  }
  return seen;
}

}  // namespace testing_support
