#include "tests/engine/UpdateScenario.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <cwchar>
#include <map>
#include <vector>

#include "engine/CUpdater.h"
#include "engine/FileListFormat.h"
#include "tests/engine/GeneratedHistory.h"
#include "tests/support/WinePaths.h"

namespace engine_testing {

namespace {

using testing_support::ReadFileBytes;

// An engine whose list write interval the scenario sets.
class ScenarioUpdater : public CUpdater {
 public:
  static ScenarioUpdater* Make(const UpdaterParams& params) {
    ScenarioUpdater* updater = new ScenarioUpdater();
    if (!updater->Initialize(params)) {
      delete updater;
      return nullptr;
    }
    return updater;
  }
  using CUpdater::set_list_write_interval_ms;
};

// Every file below `root`, by its path relative to it.
void ListFiles(const std::wstring& root, const std::wstring& relative, std::set<std::wstring>* files) {
  const std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..")
      continue;
    const std::wstring child = relative.empty() ? name : relative + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ListFiles(root, child, files);
    else
      files->insert(child);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

std::set<std::wstring> FilesBelow(const std::wstring& root) {
  std::set<std::wstring> files;
  ListFiles(root, L"", &files);
  return files;
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && _wcsicmp(text.c_str() + text.size() - end.size(), end.c_str()) == 0;
}

// A temporary file of the engine or the patch library: "<name>.<version>.<zip|rtp|new|unz>",
// "<name>.patching" or the engine's own "<list or ini>.tmp".
bool IsTemporaryName(const std::wstring& name) {
  if (EndsWithNoCase(name, L".patching") || EndsWithNoCase(name, L".tmp"))
    return true;
  for (const wchar_t* suffix : {L".zip", L".rtp", L".new", L".unz"}) {
    if (!EndsWithNoCase(name, suffix))
      continue;
    size_t end = name.size() - 4;
    size_t start = end;
    while (start > 0 && iswdigit(name[start - 1]))
      --start;
    return start < end && start > 0 && name[start - 1] == L'.';
  }
  return false;
}

std::string Narrow(const std::wstring& text) {
  return testing_support::WideToUtf8(text);
}

uint32_t CrcOf(const std::string& bytes) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// The records of the installed-file list of `install`; false with `problem` set when it does not read whole.
bool ReadList(const std::wstring& install,
              const std::wstring& product,
              std::vector<FileRecord>* records,
              std::string* problem) {
  std::string bytes;
  if (!ReadFileBytes(install + L"\\fileListInfo_" + product + L".dat", &bytes))
    return true;  // no list: no records
  if (bytes.size() % 2 != 0) {
    *problem = "the list has an odd number of bytes";
    return false;
  }
  std::wstring text(bytes.size() / 2, L'\0');
  std::memcpy(&text[0], bytes.data(), bytes.size());
  size_t dropped = 0;
  *records = ParseFileListText(text.data(), text.size(), &dropped);
  if (dropped != 0) {
    *problem = "the list has " + std::to_string(dropped) + " line(s) that give no record";
    return false;
  }
  return true;
}

// "" when the versionInfo is missing or holds its section and three numbers.
std::string IniProblem(const std::wstring& path) {
  std::string text;
  if (!ReadFileBytes(path, &text))
    return "";
  const char* keys[] = {"[UpdInfo]", "CurrentVersion=", "SeparateStatus=", "UpdaterVersion="};
  size_t at = 0;
  for (const char* key : keys) {
    if (text.compare(at, strlen(key), key) != 0)
      return "the versionInfo is torn: " + text;
    at += strlen(key);
    if (key[0] != '[') {
      if (at < text.size() && text[at] == '-')
        ++at;
      const size_t digits = at;
      while (at < text.size() && isdigit(static_cast<unsigned char>(text[at])))
        ++at;
      if (at == digits)
        return "the versionInfo is torn: " + text;
    }
    if (text.compare(at, 2, "\r\n") != 0)
      return "the versionInfo is torn: " + text;
    at += 2;
  }
  return at == text.size() ? "" : "the versionInfo has more: " + text;
}

// The events that end a run (7 or 17) that `log` holds.
size_t EndsIn(const EventLog& log) {
  size_t ends = 0;
  for (int event : log.Events())
    ends += event == UpdateEventCompleted || event == UpdateEventError ? 1 : 0;
  return ends;
}

bool CopyTree(const std::wstring& from, const std::wstring& to) {
  for (const std::wstring& file : FilesBelow(from)) {
    std::string bytes;
    if (!ReadFileBytes(from + L"\\" + file, &bytes) ||
        !testing_support::WriteFileBytes(to + L"\\" + file, bytes))
      return false;
  }
  return testing_support::MakeFolders(to);
}

}  // namespace

bool UpdateScenario::StartPatchServer(testing_support::PatchServerProcess* server,
                                      const std::string& history) {
  std::string description;
  return !history.empty() &&
         ReadFileBytes(testing_support::WindowsPathOf(history + "/DEMO/history.json"), &description) &&
         server->Start("", description);
}

bool UpdateScenario::SetUp(std::string* error) {
  newest_history_ = GeneratedHistory(kNewestVersion);
  // The newest history's store holds every version's files, those of the older versions included.
  if (newest_history_.empty() || !file_server_.Start("http_server.py", {"--root", newest_history_})) {
    *error = "file server: " + file_server_.log();
    return false;
  }
  if (!StartPatchServer(&start_server_, GeneratedHistory(kStartVersion)) ||
      !StartPatchServer(&middle_server_, GeneratedHistory(kMiddleVersion)) ||
      !StartPatchServer(&newest_server_, newest_history_)) {
    *error = "patch servers: " + start_server_.log() + middle_server_.log() + newest_server_.log();
    return false;
  }
  EventLog log;
  const std::string ran =
      RunUpdate(template_folder_.path(), &log, CUpdater::kListWriteIntervalMs, kStartVersion);
  if (!ran.empty() || !log.Errors().empty()) {
    *error = "version 2: " + ran + (log.Errors().empty() ? "" : " error " + std::to_string(log.Errors()[0]));
    return false;
  }
  start_files_ = FilesBelow(template_folder_.path());
  return true;
}

std::string UpdateScenario::patch_server_endpoint(int version) const {
  const testing_support::PatchServerProcess& server = version == kStartVersion    ? start_server_
                                                      : version == kMiddleVersion ? middle_server_
                                                                                  : newest_server_;
  return server.address() + ":" + std::to_string(server.port());
}

bool UpdateScenario::ResetInstall(const std::wstring& install) const {
  return testing_support::RemoveTree(install) && CopyTree(template_folder_.path(), install);
}

UpdaterParams UpdateScenario::Params(const std::wstring& install, EventLog* log, int version) const {
  UpdaterParams params = MakeParams(install, log);
  wcscpy(params.productCode, L"DEMO");
  const std::string endpoint = patch_server_endpoint(version);
  const size_t colon = endpoint.rfind(':');
  strncpy(params.patchServerIp, endpoint.substr(0, colon).c_str(), sizeof(params.patchServerIp) - 1);
  params.patchServerPort = static_cast<uint16_t>(std::stoi(endpoint.substr(colon + 1)));
  strncpy(params.downloadHost, http_endpoint().c_str(), sizeof(params.downloadHost) - 1);
  return params;
}

std::string UpdateScenario::RunUpdate(const std::wstring& install,
                                      EventLog* log,
                                      unsigned list_write_interval_ms,
                                      int version) const {
  ScenarioUpdater* updater = ScenarioUpdater::Make(Params(install, log, version));
  if (updater == nullptr)
    return "the engine could not be made";
  updater->set_list_write_interval_ms(list_write_interval_ms);
  const size_t ends_before = EndsIn(*log);
  const int started = CUpdater::StartUpdater(updater);
  bool ended = false;
  for (int waited = 0; started == UpdaterResultOk && !ended && waited < 30000; waited += 5) {
    ended = EndsIn(*log) > ends_before;
    if (!ended)
      Sleep(5);
  }
  CUpdater::Remove(updater);
  if (started != UpdaterResultOk)
    return "the start failed";
  return ended ? "" : "the run did not end";
}

std::string UpdateScenario::RunWholeUpdate(const std::wstring& install,
                                           EventLog* log,
                                           unsigned list_write_interval_ms) const {
  const std::string first = RunUpdate(install, log, list_write_interval_ms, kMiddleVersion);
  if (!first.empty())
    return "to version 4: " + first;
  const std::string second = RunUpdate(install, log, list_write_interval_ms, kNewestVersion);
  return second.empty() ? "" : "to version 5: " + second;
}

std::string UpdateScenario::DifferencesFromNewest(const std::wstring& install,
                                                  std::set<std::wstring>* leftovers) const {
  const std::wstring expected = testing_support::WindowsPathOf(newest_history_ + "/DEMO/expected");
  const std::set<std::wstring> wanted = FilesBelow(expected);
  std::vector<FileRecord> records;
  std::string problem;
  if (!ReadList(install, L"DEMO", &records, &problem))
    return problem;
  std::map<std::wstring, FileRecord> recorded;
  for (const FileRecord& record : records)
    recorded[record.name] = record;
  for (const std::wstring& file : wanted) {
    std::string want, have;
    ReadFileBytes(expected + L"\\" + file, &want);
    if (!ReadFileBytes(install + L"\\" + file, &have) || have != want)
      return Narrow(file) + " is missing or differs";
    auto record = recorded.find(file);
    if (record == recorded.end() || record->second.size != static_cast<int32_t>(have.size()) ||
        record->second.crc32 != CrcOf(have))
      return Narrow(file) + " is not recorded as it is";
  }
  const int version = static_cast<int>(GetPrivateProfileIntW(L"UpdInfo", L"CurrentVersion", -1,
                                                             (install + L"\\versionInfo_DEMO.ini").c_str()));
  if (version != kNewestVersion)
    return "the versionInfo says " + std::to_string(version);
  for (const std::wstring& file : FilesBelow(install)) {
    if (wanted.count(file) != 0 || file == L"fileListInfo_DEMO.dat" || file == L"versionInfo_DEMO.ini")
      continue;
    if (!IsTemporaryName(file) && start_files_.count(file) == 0)
      return Narrow(file) + " should not be there";
    if (leftovers != nullptr)
      leftovers->insert(file);
  }
  return "";
}

std::vector<std::string> UpdateScenario::Requests() const {
  std::string log;
  ReadFileBytes(file_server_.folder().Join(L"requests.log"), &log);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < log.size()) {
    size_t end = log.find('\n', start);
    if (end == std::string::npos)
      end = log.size();
    std::string line = log.substr(start, end - start);
    for (char& c : line)
      c = c == '\t' ? ' ' : c;
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::set<std::wstring> UpdateScenario::FetchedNames(const std::vector<std::string>& requests, size_t first) {
  std::set<std::wstring> names;
  const std::string whole = "GET /DEMO/RegisteredHistory/";
  const std::string patch = "GET /DEMO/PatchArchive/";
  for (size_t i = first; i < requests.size(); ++i) {
    std::string path = requests[i].substr(0, requests[i].rfind(' '));
    std::string name;
    if (path.compare(0, whole.size(), whole) == 0) {
      name = path.substr(whole.size() + 9);  // after "<%08d version>/"
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".zip") == 0)
        name.resize(name.size() - 4);
    } else if (path.compare(0, patch.size(), patch) == 0) {
      name = path.substr(patch.size(), path.rfind(".zip/") - patch.size());
    } else {
      continue;
    }
    std::wstring wide = testing_support::Utf8ToWide(name);
    for (wchar_t& c : wide)
      c = c == L'/' ? L'\\' : c;
    names.insert(wide);
  }
  return names;
}

std::set<std::wstring> UpdateScenario::NewestFilesIn(const std::wstring& install) const {
  const std::wstring expected = testing_support::WindowsPathOf(newest_history_ + "/DEMO/expected");
  std::set<std::wstring> present;
  for (const std::wstring& file : FilesBelow(expected)) {
    std::string want, have;
    if (ReadFileBytes(expected + L"\\" + file, &want) && ReadFileBytes(install + L"\\" + file, &have) &&
        want == have)
      present.insert(file);
  }
  return present;
}

std::string Inconsistency(const std::wstring& install, const std::wstring& product) {
  std::vector<FileRecord> records;
  std::string problem;
  if (!ReadList(install, product, &records, &problem))
    return problem;
  for (const FileRecord& record : records) {
    std::string bytes;
    if (!ReadFileBytes(install + L"\\" + record.name, &bytes))
      return "the record of " + Narrow(record.name) + " names a missing file";
    if (record.size != static_cast<int32_t>(bytes.size()) || record.crc32 != CrcOf(bytes))
      return "the record of " + Narrow(record.name) + " does not match its file";
  }
  return IniProblem(install + L"\\versionInfo_" + product + L".ini");
}

}  // namespace engine_testing
