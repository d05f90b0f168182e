// A launcher installation in a temporary folder for the self-update tests: the real launcher folder with its
// launcher-info ini, the temporary copy's folder as the current folder, an HTTP fixture serving the launcher
// information and the package, and cabinets made at test time with gcab (MSZIP) or the fixture cabinet
// writer.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"

namespace selfupdate_testing {

using FileTree = std::map<std::wstring, std::string>;  // relative path -> bytes

// The files below `folder` (sub-folders walked), except the names in `skipped` at the top level.
FileTree ReadTree(const std::wstring& folder, const std::vector<std::wstring>& skipped = {});
bool WriteTree(const std::wstring& folder, const FileTree& tree);

class LauncherInstallation {
 public:
  static constexpr int32_t kOldVersion = 1;
  static constexpr int32_t kNewVersion = 2;
  static constexpr uint64_t kCatalogueFolder = 7;  // the catalogue-folder number the session is given

  LauncherInstallation();
  ~LauncherInstallation();

  // Writes the old files and the ini (version 1), makes the temporary folder the current one, sets the
  // session values (address of the server once started, game "game", company 0, catalogue folder 7) and
  // serves launcher information that announces version 2.
  void Reset();
  // Starts the HTTP fixture over the served folder (with a fault script file). False when it did not start.
  bool StartServer();
  // The fault rules for the package and for the launcher information ({} for none).
  void Script(const std::string& rules_for_package, const std::string& rules_for_info = "{}");
  // Serves launcher information whose second line announces `version`.
  void AnnounceVersion(int32_t version);
  static constexpr char kInfoPath[] = "/GameInfo/7/GGI_0_game.info";

  // Makes the package from `tree` with gcab (compress: MSZIP). False when gcab failed.
  bool MakePackage(const FileTree& tree, bool compress = true);
  // Makes the package with tests/fixtures/make_cabinet.py (entries stored as named; extra arguments).
  bool MakeRawPackage(const std::vector<std::pair<std::string, std::string>>& entries,
                      const std::string& extra);
  std::wstring PackagePath() const;  // where the server has it

  std::wstring real() const { return root_.Join(L"launcher"); }
  std::wstring temp() const { return root_.Join(L"launcher\\launcher_update_temp"); }
  std::wstring ini() const { return root_.Join(L"launcher\\ZEPHLauncherInfo.ini"); }
  // The real folder without the ini and the temporary folder.
  FileTree RealFiles() const;
  std::string Requests() const;

  static FileTree OldFiles();
  static FileTree NewFiles();
  std::wstring program_name() const { return program_name_; }

  testing_support::FixtureServer& server() { return server_; }

 private:
  testing_support::TempFolder root_{L"self-update"};
  testing_support::TempFolder sources_{L"self-update-src"};
  testing_support::FixtureServer server_;
  wchar_t previous_folder_[MAX_PATH] = {};
  std::wstring program_name_;
};

}  // namespace selfupdate_testing
