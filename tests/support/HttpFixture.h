// The HTTP fixture server (tests/fixtures/http_server.py) over a document root of the test's own, with its
// fault script and its request log.
#pragma once

#include <string>

#include "tests/support/FixtureServer.h"

namespace testing_support {

class HttpFixture {
 public:
  // Serves "root" of the server's folder with the faults of `script_json` (see http_server.py).
  bool Start(const std::string& script_json);
  // Replaces the fault script; the server re-reads it before its next request.
  void SetScript(const std::string& script_json);
  // Writes `bytes` as "root\<name>" (served as "/<name>" with '\' as '/').
  void AddFile(const std::wstring& name, const std::string& bytes);
  // "http://address:port<path>".
  std::wstring Url(const std::string& path) const;
  // The request log's lines for `path` (as sent, query included), as "METHOD RANGE" ("-" without a Range
  // header), joined with ", ".
  std::string RequestsFor(const std::string& path) const;
  const FixtureServer& fixture() const { return server_; }

 private:
  FixtureServer server_;
};

}  // namespace testing_support
