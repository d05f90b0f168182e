// Starts one of the Python fixture servers (tests/fixtures/*.py) for the duration of a test.
//
// The server picks a free loopback address 127.0.0.N itself (so tests that need a fixed port such as 27500 can
// run in parallel), then writes "address port" into a ready file. The test reads that file; deleting it tells
// the server to end (it checks every 100 ms and also ends after its lifetime). Wine cannot wait for a Unix
// process, so the file is the whole hand-shake.
//
// Common server arguments (tests/fixtures/fixture_common.py): --bind ADDRESS|auto, --port N (0: any),
// --ready-file PATH, --lifetime SECONDS.
#pragma once

#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace testing_support {

class FixtureServer {
 public:
  FixtureServer();
  ~FixtureServer();
  FixtureServer(const FixtureServer&) = delete;
  FixtureServer& operator=(const FixtureServer&) = delete;

  // Runs "python3 tests/fixtures/<script> <arguments...>" with the common arguments added, and waits up to
  // `timeout_ms` for it to listen. Arguments must not hold blanks or quotes. False when it did not come up
  // (the server's stderr is then in `log()`).
  bool Start(const std::string& script,
             const std::vector<std::string>& arguments,
             unsigned timeout_ms = 15000);
  // Tells the server to end; waits until it has let go of its log file (at most a second).
  void Stop();

  const std::string& address() const { return address_; }
  unsigned short port() const { return port_; }
  // "address:port".
  std::string endpoint() const { return address_ + ":" + std::to_string(port_); }
  // A folder private to this server: scripts, recordings and logs go here. Unix path for server arguments.
  const TempFolder& folder() const { return folder_; }
  std::string UnixPath(const std::wstring& name_in_folder) const;
  // What the server wrote to stderr so far.
  std::string log() const;

 private:
  TempFolder folder_;
  std::wstring ready_file_;
  std::string address_;
  unsigned short port_ = 0;
  bool running_ = false;
};

}  // namespace testing_support
