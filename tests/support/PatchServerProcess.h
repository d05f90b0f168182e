// Starts tests/fixtures/patch_server.py for one test with a script and a product history written into the
// server's private folder, and reads what the server recorded of each connection (the exact bytes received
// and its step log; see the server's --help).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"

namespace testing_support {

class PatchServerProcess {
 public:
  // `script_json` (when not empty) becomes the server's --script; `history_json` (when not empty) the history
  // of product `product` under the server's --root. `extra` are further server arguments (no blanks).
  bool Start(const std::string& script_json,
             const std::string& history_json = "",
             const std::vector<std::string>& extra = {},
             const std::wstring& product = L"DEMO") {
    std::vector<std::string> arguments = extra;
    const testing_support::TempFolder& folder = server_.folder();
    if (!script_json.empty()) {
      if (!testing_support::WriteFileBytes(folder.Join(L"script.json"), script_json))
        return false;
      arguments.push_back("--script");
      arguments.push_back(server_.UnixPath(L"script.json"));
    }
    if (!history_json.empty() &&
        !testing_support::WriteFileBytes(folder.Join(L"root\\" + product + L"\\history.json"), history_json))
      return false;
    testing_support::MakeFolders(folder.Join(L"root"));
    arguments.push_back("--root");
    arguments.push_back(server_.UnixPath(L"root"));
    return server_.Start("patch_server.py", arguments);
  }

  const std::string& address() const { return server_.address(); }
  unsigned short port() const { return server_.port(); }
  void Stop() { server_.Stop(); }
  std::string log() const { return server_.log(); }

  // The server's step log of connection `index` (1 = the first).
  std::string ConnectionLog(int index) const { return Recorded(L"connection-", index, L".log"); }
  // The exact bytes the server received on connection `index`.
  std::string Received(int index) const { return Recorded(L"received-", index, L".bin"); }
  // Waits until the step log of connection `index` holds `line`.
  bool WaitForLogLine(int index, const std::string& line, unsigned timeout_ms = 5000) const {
    for (unsigned waited = 0;; waited += 20) {
      if (("\n" + ConnectionLog(index)).find("\n" + line + "\n") != std::string::npos)
        return true;
      if (waited >= timeout_ms)
        return false;
      Sleep(20);
    }
  }

 private:
  std::string Recorded(const wchar_t* prefix, int index, const wchar_t* suffix) const {
    std::string bytes;
    testing_support::ReadFileBytes(server_.folder().Join(prefix + std::to_wstring(index) + suffix), &bytes);
    return bytes;
  }

  FixtureServer server_;
};

}  // namespace testing_support
