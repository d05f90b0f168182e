// One whole multi-version update for the tests that break it on purpose (failing system calls, a killed
// process): an installation of version 2 of the small generated history (tools/make_history.py) is brought
// to version 4 and then to version 5, two runs of the engine's session with a patch-server fixture each
// (serving the history up to 4, and up to 5) and downloads from the HTTP fixture. The first run's list holds
// whole files that replace recorded ones, a file new to the installation, NEW files and deletes; the second
// adds patches (a patch only fits the version just before).
//
// Also the two checks that such tests make after every broken run: the installation is consistent (the
// engine's promise whatever happened), and after a following normal run it is at version 5.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "engine/QVTesserel.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"

namespace engine_testing {

class UpdateScenario {
 public:
  static constexpr int kStartVersion = 2;
  static constexpr int kMiddleVersion = 4;
  static constexpr int kNewestVersion = 5;

  // Makes the histories, starts both servers and brings an empty folder to version 2 once, as the template
  // of every run. False, with `error` set, when any of it fails.
  bool SetUp(std::string* error);

  // Replaces the folder `install` with a copy of the version-2 installation.
  bool ResetInstall(const std::wstring& install) const;
  // The parameters of an update of `install` to `version` (kMiddleVersion or kNewestVersion) against the
  // servers (product "DEMO"), events into `log`.
  UpdaterParams Params(const std::wstring& install, EventLog* log, int version) const;
  // Runs one update of `install` to `version` with the engine's core library, the list written after every
  // record (`list_write_interval_ms` 0) or as shipped. "" when the run ended (with or without an error
  // event), else what went wrong. The events are added to `log`.
  std::string RunUpdate(const std::wstring& install,
                        EventLog* log,
                        unsigned list_write_interval_ms,
                        int version) const;
  // The whole update: to version 4, then (whatever the first run left) to version 5.
  std::string RunWholeUpdate(const std::wstring& install,
                             EventLog* log,
                             unsigned list_write_interval_ms) const;

  // "" when `install` is at version 5: every file of the newest tree there with the same bytes, the
  // versionInfo at 5, and no other file but the engine's own, its temporary files and files of the version-2
  // tree (a full check, which a list that could not be read turns a run into, deletes nothing). Otherwise
  // what differs. The leftovers found are added to `leftovers` when given.
  std::string DifferencesFromNewest(const std::wstring& install,
                                    std::set<std::wstring>* leftovers = nullptr) const;

  // The requests the HTTP server has answered so far, one "METHOD PATH RANGE" line each.
  std::vector<std::string> Requests() const;
  // The installed names of the files that requests[first...] fetched with GET.
  static std::set<std::wstring> FetchedNames(const std::vector<std::string>& requests, size_t first);
  // The files of the newest tree that `install` already holds with the same bytes.
  std::set<std::wstring> NewestFilesIn(const std::wstring& install) const;

  // "address:port" of the patch server that serves the history up to `version`.
  std::string patch_server_endpoint(int version) const;
  std::string http_endpoint() const { return file_server_.endpoint(); }

 private:
  bool StartPatchServer(testing_support::PatchServerProcess* server, const std::string& history);

  std::string newest_history_;
  testing_support::FixtureServer file_server_;
  testing_support::PatchServerProcess start_server_;
  testing_support::PatchServerProcess middle_server_;
  testing_support::PatchServerProcess newest_server_;
  testing_support::TempFolder template_folder_{L"scenario"};
  std::set<std::wstring> start_files_;
};

// "" when the installation keeps the engine's promise whatever happened to the run before: the installed-file
// list reads whole, every record names a file with the recorded size and CRC-32, and the versionInfo (when
// there is one) holds its section and three numbers. Otherwise the first break found.
std::string Inconsistency(const std::wstring& install, const std::wstring& product);

}  // namespace engine_testing
