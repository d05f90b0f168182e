#include "tests/app/launcherupdate/SelfUpdateTestSupport.h"

#include <curl/curl.h>

#include <cwchar>

#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "base/ScopedHandle.h"
#include "base/TextFields.h"
#include "selfupdate/GameInfoVersion.h"
#include "selfupdate/LauncherInfo.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

namespace selfupdate_testing {

using testing_support::ReadFileBytes;
using testing_support::RunUnixCommand;
using testing_support::ShellQuote;
using testing_support::UnixPathOf;
using testing_support::WriteFileBytes;

namespace {

void ReadInto(const std::wstring& root,
              const std::wstring& prefix,
              const std::vector<std::wstring>& skipped,
              FileTree* tree) {
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW((root + L"\\" + prefix + L"*").c_str(), &found));
  if (!search)
    return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..")
      continue;
    bool skip = false;
    for (const std::wstring& skipped_name : skipped)
      skip = skip || (prefix.empty() && _wcsicmp(skipped_name.c_str(), name.c_str()) == 0);
    if (skip)
      continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ReadInto(root, prefix + name + L"\\", skipped, tree);
    } else {
      std::string bytes;
      ReadFileBytes(root + L"\\" + prefix + name, &bytes);
      (*tree)[prefix + name] = bytes;
    }
  } while (FindNextFileW(search.get(), &found));
}

}  // namespace

FileTree ReadTree(const std::wstring& folder, const std::vector<std::wstring>& skipped) {
  FileTree tree;
  ReadInto(folder, L"", skipped, &tree);
  return tree;
}

bool WriteTree(const std::wstring& folder, const FileTree& tree) {
  for (const auto& file : tree) {
    const std::wstring path = folder + L"\\" + file.first;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!WriteFileBytes(path, file.second))
      return false;
  }
  return true;
}

LauncherInstallation::LauncherInstallation() {
  curl_global_init(CURL_GLOBAL_ALL);
  GetCurrentDirectoryW(MAX_PATH, previous_folder_);
  wchar_t program[MAX_PATH];
  GetProgramPath(program, MAX_PATH);
  program_name_ = std::wcsrchr(program, L'\\') + 1;
}

LauncherInstallation::~LauncherInstallation() {
  SetCurrentDirectoryW(previous_folder_);
  server_.Stop();
  SetLauncherInfoPath(nullptr);
  GetSessionValues() = SessionValues{};
  SetGameInfoNumber(0);
  curl_global_cleanup();
}

FileTree LauncherInstallation::OldFiles() {
  return {{L"a.dll", std::string(70000, 'a')},
          {L"readonly.txt", "old read-only"},
          {L"data\\skin.ini", "old skin"},
          {L"keep.txt", "not in the package"}};
}

FileTree LauncherInstallation::NewFiles() {
  std::string big(300000, '\0');
  for (size_t i = 0; i < big.size(); ++i)
    big[i] = static_cast<char>((i * 2654435761u) >> 13);
  return {{L"a.dll", big},
          {L"readonly.txt", "new read-only"},
          {L"data\\skin.ini", "new skin"},
          {L"data\\added.png", "added"}};
}

void LauncherInstallation::Reset() {
  testing_support::RemoveTree(real());
  FileTree old = OldFiles();
  old[program_name_] = "old program";
  WriteTree(real(), old);
  SetFileAttributesW((real() + L"\\readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  testing_support::MakeFolders(temp());
  SetCurrentDirectoryW(temp().c_str());
  SetLauncherInfoPath(ini().c_str());
  WriteLauncherInfoVersion(kOldVersion);
  GetSessionValues() = SessionValues{};
  std::wstring endpoint = testing_support::Utf8ToWide(server_.endpoint());
  CopyToField(GetSessionValues().LUpdateAddr, endpoint.c_str());
  CopyToField(GetSessionValues().GameID, L"game");
  SetGameInfoNumber(kCatalogueFolder);
  AnnounceVersion(kNewVersion);
}

void LauncherInstallation::AnnounceVersion(int32_t version) {
  WriteFileBytes(root_.Join(L"served\\GameInfo\\7\\GGI_0_game.info"),
                 "1\r\nlauncher#" + std::to_string(version) + ",0\r\n");
}

bool LauncherInstallation::StartServer() {
  Script("{}");
  const std::string served = UnixPathOf(root_.Join(L"served"));
  testing_support::MakeFolders(root_.Join(L"served\\system"));
  return server_.Start("http_server.py",
                       {"--root", served, "--script", UnixPathOf(root_.Join(L"script.json"))});
}

void LauncherInstallation::Script(const std::string& rules_for_package, const std::string& rules_for_info) {
  WriteFileBytes(root_.Join(L"script.json"), "{\"/system/game.2.cab\": " + rules_for_package + ", \"" +
                                                 kInfoPath + "\": " + rules_for_info + "}");
}

std::wstring LauncherInstallation::PackagePath() const {
  return root_.Join(L"served\\system\\game.2.cab");
}

bool LauncherInstallation::MakePackage(const FileTree& tree, bool compress) {
  testing_support::RemoveTree(sources_.Join(L"tree"));
  if (!WriteTree(sources_.Join(L"tree"), tree))
    return false;
  std::string command = "cd " + ShellQuote(UnixPathOf(sources_.Join(L"tree"))) + " && rm -f " +
                        ShellQuote(UnixPathOf(PackagePath())) + " && gcab -c " + (compress ? "-z " : "") +
                        ShellQuote(UnixPathOf(PackagePath()));
  for (const auto& file : tree) {
    std::string name = testing_support::WideToUtf8(file.first);
    for (char& c : name)
      c = c == '\\' ? '/' : c;
    command += " " + ShellQuote(name);
  }
  std::string output;
  return RunUnixCommand(command, &output) == 0;
}

bool LauncherInstallation::MakeRawPackage(const std::vector<std::pair<std::string, std::string>>& entries,
                                          const std::string& extra) {
  std::string command =
      "python3 " + ShellQuote(UnixPathOf(testing_support::SourcePath("tests/fixtures/make_cabinet.py"))) +
      " " + ShellQuote(UnixPathOf(PackagePath())) + " " + extra;
  int index = 0;
  for (const auto& entry : entries) {
    const std::wstring source = sources_.Join(L"raw" + std::to_wstring(index++));
    WriteFileBytes(source, entry.second);
    command += " --entry " + ShellQuote(entry.first) + " " + ShellQuote(UnixPathOf(source));
  }
  std::string output;
  return RunUnixCommand(command, &output) == 0;
}

FileTree LauncherInstallation::RealFiles() const {
  return ReadTree(real(), {L"launcher_update_temp", L"ZEPHLauncherInfo.ini"});
}

std::string LauncherInstallation::Requests() const {
  std::string log;
  ReadFileBytes(server_.folder().Join(L"requests.log"), &log);
  return log;
}

}  // namespace selfupdate_testing
