// The worker against the scriptable HTTP fixture server: entries are queued directly (no patch server), the
// worker runs to its end, and the test looks at the events, the files, the installed-file list and the
// requests the server saw.
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <winsock2.h>
#include <zlib.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/CUpdater.h"
#include "patch/PatchMaker.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/engine/SystemCallFaults.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Timing.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

using engine_testing::EventLog;
using engine_testing::MakeParams;
using engine_testing::SystemCall;
using engine_testing::SystemCallFaults;
using engine_testing::Utf16Bytes;
using testing_support::FileExists;
using testing_support::FixtureServer;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

namespace {

class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // The library's entry does both in the real deliverable.
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    ASSERT_EQ(CURLE_OK, curl_global_init(CURL_GLOBAL_WIN32));
  }
  void TearDown() override {
    curl_global_cleanup();
    WSACleanup();
  }
};
::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

// `size` bytes of text-like noise, deterministic from `seed`.
std::string Content(size_t size, unsigned seed) {
  static const char kWords[] = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu ";
  std::string bytes(size, '\0');
  unsigned state = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = (state >> 28) == 0 ? static_cast<char>(state >> 16) : kWords[(i + seed) % (sizeof kWords - 1)];
  }
  return bytes;
}

std::string Zlib(const std::string& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string packed(size, '\0');
  compress2(reinterpret_cast<Bytef*>(&packed[0]), &size, reinterpret_cast<const Bytef*>(bytes.data()),
            static_cast<uLong>(bytes.size()), 6);
  packed.resize(size);
  return packed;
}

uint32_t Crc(const std::string& bytes) {
  return static_cast<uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

std::string Patch(const std::string& old_bytes, const std::string& new_bytes, const std::string& name) {
  std::string patch;
  EXPECT_EQ(patch::MakeResult::kOk, patch::MakePatch(old_bytes, new_bytes, name, 3, &patch));
  return patch;
}

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

FileEntry Entry(int32_t sequence,
                int32_t kind,
                const std::wstring& name,
                const std::string& content,
                int32_t version) {
  FileEntry entry;
  entry.sequence_number = sequence;
  entry.kind = kind;
  entry.size = static_cast<int32_t>(content.size());
  entry.version = version;
  entry.registered_version = version;
  entry.crc32 = Crc(content);
  wcsncpy(entry.name, name.c_str(), 259);
  return entry;
}

// "<name>:<registered>:<version>:<size>:<crc as signed>\r\n", the installed-file list's line.
std::string ListLine(const std::wstring& name, int32_t version, const std::string& content) {
  return Narrow(name) + ":" + std::to_string(version) + ":" + std::to_string(version) + ":" +
         std::to_string(content.size()) + ":" + std::to_string(static_cast<int32_t>(Crc(content))) + "\r\n";
}

// http_server.py over a document root in its own folder; the script can be changed while it runs.
class HistoryServer {
 public:
  bool Start() {
    SetScript("{}");
    testing_support::MakeFolders(server_.folder().Join(L"root"));
    return server_.Start("http_server.py",
                         {"--root", server_.UnixPath(L"root"), "--script", server_.UnixPath(L"script.json")});
  }
  void SetScript(const std::string& json) { WriteFileBytes(server_.folder().Join(L"script.json"), json); }
  // `path` below the document root, with "/" ("GAME/RegisteredHistory/00000003/a.dat.zip").
  void AddFile(const std::string& path, const std::string& bytes) {
    std::wstring name = std::wstring(path.begin(), path.end());
    for (wchar_t& c : name) {
      if (c == L'/')
        c = L'\\';
    }
    WriteFileBytes(server_.folder().Join(L"root\\" + name), bytes);
  }
  // Every request as "METHOD PATH RANGE", joined with ", ".
  std::string Requests() const {
    std::string log, seen;
    ReadFileBytes(server_.folder().Join(L"requests.log"), &log);
    for (char& c : log) {
      if (c == '\t')
        c = ' ';
    }
    size_t start = 0;
    while (start < log.size()) {
      size_t end = log.find('\n', start);
      if (end == std::string::npos)
        end = log.size();
      seen += (seen.empty() ? "" : ", ") + log.substr(start, end - start);
      start = end + 1;
    }
    return seen;
  }
  std::string endpoint() const { return server_.endpoint(); }

 private:
  FixtureServer server_;
};

// An engine whose queue the test fills: Start() with port 0 loads the list without a connection.
class WorkerUpdater : public CUpdater {
 public:
  static std::unique_ptr<WorkerUpdater> Make(const UpdaterParams& params) {
    std::unique_ptr<WorkerUpdater> updater(new WorkerUpdater());
    if (!updater->Initialize(params))
      return nullptr;
    return updater;
  }
  ~WorkerUpdater() override { StopUpdate(); }

  using CUpdater::QueueEntry;
  using CUpdater::set_download_stall_limit_ms;
  using CUpdater::set_list_write_interval_ms;
  using CUpdater::StartWorker;
};

class WorkerTest : public testing::Test {
 protected:
  void SetUp() override {
    testing_support::MakeFolders(root());
    ASSERT_TRUE(server_.Start());
  }

  std::wstring root() const { return folder_.Join(L"install"); }
  std::wstring InRoot(const std::wstring& name) const { return root() + L"\\" + name; }
  std::string InRootNarrow(const std::wstring& name) const { return Narrow(InRoot(name)); }

  std::unique_ptr<WorkerUpdater> MakeUpdater(const std::wstring& install_root) {
    UpdaterParams params = MakeParams(install_root, &log_);
    std::strcpy(params.downloadHost, server_.endpoint().c_str());
    return WorkerUpdater::Make(params);
  }

  // Runs the worker over `entries` to its end (or until `during` returns, which may stop it).
  void RunEntries(const std::vector<FileEntry>& entries,
                  bool full_check = false,
                  DWORD stall_limit_ms = HttpFileDownloader::kStallLimitMs,
                  const std::function<void(WorkerUpdater&)>& during = nullptr) {
    RunEntriesIn(root(), entries, full_check, stall_limit_ms, during);
  }
  // Runs the worker over `entries` with the list written at most every `interval_ms`.
  void RunEntriesWritingListEvery(DWORD interval_ms, const std::vector<FileEntry>& entries) {
    RunEntriesIn(
        root(), entries, false, HttpFileDownloader::kStallLimitMs,
        [interval_ms](WorkerUpdater& updater) { updater.set_list_write_interval_ms(interval_ms); }, true);
  }
  // `during` runs once the worker has started, or, with `before_start`, just before it starts.
  void RunEntriesIn(const std::wstring& install_root,
                    const std::vector<FileEntry>& entries,
                    bool full_check = false,
                    DWORD stall_limit_ms = HttpFileDownloader::kStallLimitMs,
                    const std::function<void(WorkerUpdater&)>& during = nullptr,
                    bool before_start = false) {
    std::unique_ptr<WorkerUpdater> updater = MakeUpdater(install_root);
    ASSERT_TRUE(updater);
    updater->set_download_stall_limit_ms(stall_limit_ms);
    ASSERT_EQ(UpdaterResultOk,
              full_check ? CUpdater::FullCheck(updater.get()) : CUpdater::StartUpdater(updater.get()));
    for (const FileEntry& entry : entries)
      updater->QueueEntry(std::make_unique<FileEntry>(entry));
    if (during && before_start)
      during(*updater);
    ASSERT_TRUE(updater->StartWorker());
    if (during && !before_start)
      during(*updater);
    updater->WaitForThread();
  }

  void WriteList(const std::string& lines) {
    ASSERT_TRUE(WriteFileBytes(InRoot(L"fileListInfo_GAME.dat"),
                               Utf16Bytes(std::wstring(lines.begin(), lines.end()))));
  }
  std::string List() const {
    std::string bytes;
    ReadFileBytes(InRoot(L"fileListInfo_GAME.dat"), &bytes);
    std::string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
      text += bytes[i];
    return text;
  }
  int64_t FileSize(const std::wstring& name) const {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(InRoot(name).c_str(), GetFileExInfoStandard, &data))
      return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  std::string FileAt(const std::wstring& name) const {
    std::string bytes;
    return ReadFileBytes(InRoot(name), &bytes) ? bytes : std::string("(missing)");
  }
  // The trace of a run whose only entry is fetched and applied once: `temp` downloaded, then applied.
  std::vector<std::string> FetchedTrace(const std::wstring& temp, const std::wstring& target) const {
    return {"8 " + InRootNarrow(temp),
            "9 1,0,0",
            "8 " + InRootNarrow(target),
            "9 1,0,100",
            "15 1",
            "15 0",
            "9 2,2,1"};
  }
  static std::vector<std::string> Joined(std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
      all.insert(all.end(), part.begin(), part.end());
    return all;
  }

  TempFolder folder_{L"worker"};
  EventLog log_;
  HistoryServer server_;
};

const std::vector<std::string> kStart = {"15 0"};
const std::vector<std::string> kCompleted = {"9 1,0,100", "9 2,3,0", "7"};

TEST_F(WorkerTest, AFileThatIsAlreadyRightIsSkippedAndAnUnrecordedOneAdopted) {
  const std::string content = Content(5000, 1);
  struct Case {
    const char* what;
    bool recorded;
  } cases[] = {{"matching record", true}, {"file without record", false}};
  for (const Case& c : cases) {
    log_.Clear();
    ASSERT_TRUE(WriteFileBytes(InRoot(L"data\\a.dat"), content));
    WriteList(c.recorded ? ListLine(L"data\\a.dat", 3, content) : "");
    RunEntries({Entry(11, kEntryZip, L"data\\a.dat", content, 3)});
    EXPECT_EQ(Joined({kStart, {"8 " + InRootNarrow(L"data\\a.dat"), "9 1,0,0", "9 2,2,1"}, kCompleted}),
              log_.Trace())
        << c.what;
    EXPECT_EQ(ListLine(L"data\\a.dat", 3, content), List()) << c.what;
  }
  EXPECT_EQ("", server_.Requests());
}

TEST_F(WorkerTest, RtpEntriesArePatchedOnlyFromTheVersionJustBefore) {
  const std::string old_content = Content(20000, 2);
  const std::string new_content = old_content.substr(0, 15000) + Content(7000, 3);
  server_.AddFile("GAME/PatchArchive/data/a.dat.zip/00000003/PATCH.RTP",
                  Patch(old_content, new_content, "a.dat"));
  server_.AddFile("GAME/RegisteredHistory/00000003/data/a.dat.zip", Zlib(new_content));
  const std::string patch_request = "GET /GAME/PatchArchive/data/a.dat.zip/00000003/PATCH.RTP -";
  const std::string whole_request = "GET /GAME/RegisteredHistory/00000003/data/a.dat.zip -";
  struct Case {
    const char* what;
    int32_t recorded_version;  // 0: no record
    bool file_present;
    std::string requests;
  } cases[] = {
      {"one version ahead", 2, true, patch_request},
      {"installed file missing", 2, false, whole_request},
      {"two versions ahead", 1, true, whole_request},
      {"no record", 0, true, whole_request},
  };
  for (const Case& c : cases) {
    const std::string before = server_.Requests();
    testing_support::RemoveTree(root());
    if (c.file_present) {
      ASSERT_TRUE(WriteFileBytes(InRoot(L"data\\a.dat"), old_content));
    }
    WriteList(c.recorded_version != 0 ? ListLine(L"data\\a.dat", c.recorded_version, old_content) : "");
    RunEntries({Entry(1, kEntryRtp, L"data\\a.dat", new_content, 3)});
    std::string requests = server_.Requests().substr(before.size());
    EXPECT_EQ((before.empty() ? "" : ", ") + c.requests, requests) << c.what;
    EXPECT_TRUE(FileAt(L"data\\a.dat") == new_content) << c.what;
    EXPECT_EQ(ListLine(L"data\\a.dat", 3, new_content), List()) << c.what;
    EXPECT_FALSE(FileExists(InRoot(L"data\\a.dat.3.rtp")) || FileExists(InRoot(L"data\\a.dat.3.zip")))
        << c.what;
  }
}

TEST_F(WorkerTest, APatchThatYieldsAnotherFileIsReplacedByTheWholeFile) {
  const std::string old_content = Content(20000, 4);
  const std::string new_content = old_content.substr(0, 18000) + Content(3000, 5);
  const std::string wrong_content = old_content.substr(0, 18000) + Content(3000, 6);
  server_.AddFile("GAME/PatchArchive/a.dat.zip/00000003/PATCH.RTP",
                  Patch(old_content, wrong_content, "a.dat"));
  server_.AddFile("GAME/RegisteredHistory/00000003/a.dat.zip", Zlib(new_content));
  ASSERT_TRUE(WriteFileBytes(InRoot(L"a.dat"), old_content));
  WriteList(ListLine(L"a.dat", 2, old_content));

  RunEntries({Entry(1, kEntryRtp, L"a.dat", new_content, 3)});

  EXPECT_EQ(Joined({kStart,
                    {"8 " + InRootNarrow(L"a.dat.3.rtp"), "9 1,0,0", "8 " + InRootNarrow(L"a.dat"),
                     "9 1,0,100", "15 1", "15 0"},
                    FetchedTrace(L"a.dat.3.zip", L"a.dat"),
                    kCompleted}),
            log_.SteadyTrace());
  EXPECT_EQ(
      "GET /GAME/PatchArchive/a.dat.zip/00000003/PATCH.RTP -, GET /GAME/RegisteredHistory/00000003/a.dat.zip "
      "-",
      server_.Requests());
  EXPECT_TRUE(FileAt(L"a.dat") == new_content);
  EXPECT_EQ(ListLine(L"a.dat", 3, new_content), List());
}

TEST_F(WorkerTest, ATemporaryFileResumesRestartsOrIsTakenWholeByItsSize) {
  const std::string content = Content(300000, 7);
  const std::string packed = Zlib(content);
  server_.AddFile("GAME/RegisteredHistory/00000003/a.dat.zip", packed);
  const std::string url = "/GAME/RegisteredHistory/00000003/a.dat.zip";
  struct Case {
    const char* what;
    std::string temp_bytes;
    std::string requests;
  } cases[] = {
      {"larger than the remote file", packed + "trailing bytes of another file",
       "HEAD " + url + " -, GET " + url + " -"},
      {"as large as the remote file", packed, "HEAD " + url + " -"},
      {"a part of the remote file", packed.substr(0, 1000),
       "HEAD " + url + " -, GET " + url + " bytes=1000-"},
  };
  for (const Case& c : cases) {
    const std::string before = server_.Requests();
    testing_support::RemoveTree(root());
    ASSERT_TRUE(WriteFileBytes(InRoot(L"a.dat.3.zip"), c.temp_bytes));
    RunEntries({Entry(1, kEntryZip, L"a.dat", content, 3)});
    EXPECT_EQ((before.empty() ? "" : ", ") + c.requests, server_.Requests().substr(before.size())) << c.what;
    EXPECT_TRUE(FileAt(L"a.dat") == content) << c.what;
    EXPECT_EQ(ListLine(L"a.dat", 3, content), List()) << c.what;
    EXPECT_FALSE(FileExists(InRoot(L"a.dat.3.zip"))) << c.what;
    EXPECT_EQ(kCompleted.back(), log_.Trace().back()) << c.what;
  }
}

TEST_F(WorkerTest, ADroppedConnectionKeepsThePartAndTheNextRunResumesItByteIdentical) {
  const std::string content = Content(400000, 8);
  const std::string packed = Zlib(content);
  server_.AddFile("GAME/RegisteredHistory/00000005/big.dat.zip", packed);
  server_.SetScript(R"({"/GAME/RegisteredHistory/00000005/big.dat.zip":
                        {"methods": ["GET"], "times": 1, "close_after": 70000}})");
  const FileEntry entry = Entry(1, kEntryZip, L"big.dat", content, 5);

  RunEntries({entry});
  EXPECT_EQ(std::vector<int32_t>{UpdateErrorDownload}, log_.Errors());
  EXPECT_EQ(70000, FileSize(L"big.dat.5.zip"));
  EXPECT_EQ("(missing)", FileAt(L"big.dat"));
  EXPECT_EQ("", List());

  log_.Clear();
  RunEntries({entry});
  EXPECT_TRUE(log_.Errors().empty());
  EXPECT_TRUE(FileAt(L"big.dat") == content);
  EXPECT_NE(std::string::npos,
            server_.Requests().find("GET /GAME/RegisteredHistory/00000005/big.dat.zip bytes=70000-"))
      << server_.Requests();
}

TEST_F(WorkerTest, DownloadsThatFailKeepTheirPartAndAreNeverRecorded) {
  const std::string old_content = Content(3000, 9);
  const std::string content = Content(200000, 10);
  const std::string packed = Zlib(content);
  // A whole stream of the same size whose bytes are not the entry's: only the CRC-32 tells.
  std::string other = content;
  other[100000] ^= 0x01;
  const std::string key = "/GAME/RegisteredHistory/00000002/a.dat.zip";
  struct Case {
    const char* what;
    std::string script;
    DWORD stall_limit_ms;
    int32_t error;
    int64_t temp_size;   // -1: no temporary file left
    std::string served;  // empty: the whole stream of the entry's file
  } cases[] = {
      {"stall", R"({")" + key + R"(": {"stall_after": 30000, "stall_seconds": 20}})", 300,
       UpdateErrorDownload, 30000, ""},
      {"short body", R"({")" + key + R"(": {"content_length": )" + std::to_string(packed.size() + 100) + "}}",
       HttpFileDownloader::kStallLimitMs, UpdateErrorDownload, static_cast<int64_t>(packed.size()), ""},
      {"not found", R"({")" + key + R"(": {"status": 404}})", HttpFileDownloader::kStallLimitMs,
       UpdateErrorDownload, -1, ""},
      {"damaged stream", R"({")" + key + R"(": {"body": "not a zlib stream"}})",
       HttpFileDownloader::kStallLimitMs, UpdateErrorApply, -1, ""},
      {"another file", "{}", HttpFileDownloader::kStallLimitMs, UpdateErrorApply, -1, Zlib(other)},
      {"compressed bomb", "{}", HttpFileDownloader::kStallLimitMs, UpdateErrorApply, -1,
       Zlib(std::string(64 << 20, 'x'))},
  };
  for (const Case& c : cases) {
    log_.Clear();
    testing_support::RemoveTree(root());
    ASSERT_TRUE(WriteFileBytes(InRoot(L"a.dat"), old_content));
    WriteList(ListLine(L"a.dat", 1, old_content));
    server_.SetScript(c.script);
    server_.AddFile("GAME/RegisteredHistory/00000002/a.dat.zip", c.served.empty() ? packed : c.served);
    RunEntries({Entry(1, kEntryZip, L"a.dat", content, 2)}, false, c.stall_limit_ms);
    EXPECT_EQ(std::vector<int32_t>{c.error}, log_.Errors()) << c.what;
    EXPECT_EQ("9 2,2,1", log_.Trace().back()) << c.what;
    EXPECT_EQ(c.temp_size, FileSize(L"a.dat.2.zip")) << c.what;
    EXPECT_TRUE(FileAt(L"a.dat") == old_content) << c.what;
    EXPECT_EQ(ListLine(L"a.dat", 1, old_content), List()) << c.what;
    EXPECT_FALSE(FileExists(InRoot(L"a.dat.2.unz"))) << c.what;
  }
}

TEST_F(WorkerTest, AStopEndsTheRunSilentlyWhileDataFlowsOrTheServerHasNotAnswered) {
  const std::string content = Content(200000, 11);
  const std::string packed = Zlib(content);
  server_.AddFile("GAME/RegisteredHistory/00000002/a.dat.zip", packed);
  const std::string key = "/GAME/RegisteredHistory/00000002/a.dat.zip";
  struct Case {
    const char* what;
    std::string script;
    std::string temp_bytes;
    int64_t temp_size;
  } cases[] = {
      {"during the body", R"({")" + key + R"(": {"stall_after": 20000, "stall_seconds": 60}})", "", 20000},
      {"during the size request", R"({")" + key + R"(": {"methods": ["HEAD"], "delay_before": 60}})",
       packed.substr(0, 5000), 5000},
  };
  for (const Case& c : cases) {
    log_.Clear();
    testing_support::RemoveTree(root());
    if (!c.temp_bytes.empty()) {
      ASSERT_TRUE(WriteFileBytes(InRoot(L"a.dat.2.zip"), c.temp_bytes));
    }
    server_.SetScript(c.script);
    const size_t requests_before = server_.Requests().size();
    DWORD stop_took = 0;
    RunEntries({Entry(1, kEntryZip, L"a.dat", content, 2)}, false, 120000, [&](WorkerUpdater& updater) {
      // Wait until the transfer is where the script holds it (the request is in and the temporary file holds
      // what the server sent before it stalled), then stop as the launcher does.
      for (int i = 0; i < 500 && server_.Requests().size() == requests_before; ++i)
        Sleep(10);
      EXPECT_TRUE(testing_support::WaitUntil(10000, [&] { return FileSize(L"a.dat.2.zip") == c.temp_size; }))
          << c.what;
      DWORD start = GetTickCount();
      updater.StopUpdate();
      stop_took = GetTickCount() - start;
    });
    EXPECT_LT(stop_took, 3000u) << c.what;
    EXPECT_TRUE(log_.Errors().empty()) << c.what;
    EXPECT_EQ("9 2,2,1", log_.Trace().back()) << c.what;
    EXPECT_EQ(c.temp_size, FileSize(L"a.dat.2.zip")) << c.what;
    EXPECT_EQ("(missing)", FileAt(L"a.dat")) << c.what;
  }
}

// A fresh whole-file download is inflated while it arrives. A drop, a damaged stream, a stream longer than its
// entry or a stop leaves no partial result beside the target; the dropped download resumes and is read back.
TEST_F(WorkerTest, AWholeFileInflatedWhileItArrivesLeavesNoPartialResult) {
  const std::string content = Content(400000, 12);
  const std::string packed = Zlib(content);
  std::string damaged = packed;
  damaged[packed.size() / 2] ^= 0x55;
  const std::string key = "/GAME/RegisteredHistory/00000002/a.dat.zip";
  const FileEntry entry = Entry(1, kEntryZip, L"a.dat", content, 2);
  const int64_t half = static_cast<int64_t>(packed.size() / 2);
  const std::string at_half = std::to_string(half);
  struct Case {
    const char* what;
    std::string script;
    std::string served;
    int32_t error;      // 0: none (a stop)
    int64_t temp_size;  // -1: no download left
  } cases[] = {
      {"dropped in the middle",
       R"({")" + key + R"(": {"methods": ["GET"], "times": 1, "close_after": )" + at_half + "}}", packed,
       UpdateErrorDownload, half},
      {"damaged in the middle", "{}", damaged, UpdateErrorApply, -1},
      {"longer than its entry", "{}", Zlib(content + content), UpdateErrorApply, -1},
      {"stopped in the middle",
       R"({")" + key + R"(": {"stall_after": )" + at_half + R"(, "stall_seconds": 60}})", packed, 0, half},
  };
  for (const Case& c : cases) {
    log_.Clear();
    testing_support::RemoveTree(root());
    server_.SetScript(c.script);
    server_.AddFile("GAME/RegisteredHistory/00000002/a.dat.zip", c.served);
    RunEntries({entry}, false, 120000, [&](WorkerUpdater& updater) {
      if (c.error != 0)
        return;
      // Stop once the result is growing beside the target.
      for (int i = 0; i < 1000 && FileSize(L"a.dat.2.unz") <= 0; ++i)
        Sleep(10);
      EXPECT_GT(FileSize(L"a.dat.2.unz"), 0) << c.what << ": inflated while it arrives";
      updater.StopUpdate();
    });
    EXPECT_EQ(c.error == 0 ? std::vector<int32_t>{} : std::vector<int32_t>{c.error}, log_.Errors()) << c.what;
    EXPECT_EQ(c.temp_size, FileSize(L"a.dat.2.zip")) << c.what;
    EXPECT_FALSE(FileExists(InRoot(L"a.dat.2.unz"))) << c.what << ": no partial result";
    EXPECT_EQ("(missing)", FileAt(L"a.dat")) << c.what;
  }

  // The dropped download (the last case left a stopped one of the same size) resumes and is read back whole.
  log_.Clear();
  server_.SetScript("{}");
  server_.AddFile("GAME/RegisteredHistory/00000002/a.dat.zip", packed);
  RunEntries({entry});
  EXPECT_TRUE(log_.Errors().empty());
  EXPECT_TRUE(FileAt(L"a.dat") == content);
  EXPECT_FALSE(FileExists(InRoot(L"a.dat.2.zip")));
  EXPECT_FALSE(FileExists(InRoot(L"a.dat.2.unz")));
  EXPECT_NE(std::string::npos, server_.Requests().find("GET " + key + " bytes=" + at_half + "-"))
      << server_.Requests();
}

TEST_F(WorkerTest, NewAndDeleteEntriesAreAppliedAndOtherKindsOnlyCounted) {
  const std::string fresh = Content(4000, 12);
  const std::string doomed = Content(100, 13);
  server_.AddFile("GAME/RegisteredHistory/00000004/bin/fresh.dll", fresh);
  ASSERT_TRUE(WriteFileBytes(InRoot(L"old.dat"), doomed));
  WriteList(ListLine(L"old.dat", 2, doomed));

  RunEntries({Entry(1, kEntryNew, L"bin\\fresh.dll", fresh, 4), Entry(2, kEntryDelete, L"old.dat", "", 4),
              Entry(3, kEntryReserved, L"reserved.dat", fresh, 4),
              Entry(4, kEntryReserved, L"other.dat", fresh, 4), Entry(5, 42, L"unknown.dat", fresh, 4)});

  EXPECT_EQ(Joined({kStart,
                    FetchedTrace(L"bin\\fresh.dll.4.new", L"bin\\fresh.dll"),
                    {"8 " + InRootNarrow(L"old.dat"), "9 1,0,0", "9 2,2,1", "9 2,2,1", "9 2,2,1", "9 2,2,1"},
                    kCompleted}),
            log_.SteadyTrace());
  EXPECT_EQ("GET /GAME/RegisteredHistory/00000004/bin/fresh.dll -", server_.Requests());
  EXPECT_TRUE(FileAt(L"bin\\fresh.dll") == fresh);
  EXPECT_FALSE(FileExists(InRoot(L"old.dat")));
  EXPECT_EQ(ListLine(L"bin\\fresh.dll", 4, fresh), List());
}

TEST_F(WorkerTest, TheListIsWrittenAtMostOncePerIntervalAndAlwaysAtTheEnd) {
  // Files already in place without records: each is adopted and recorded, nothing is downloaded.
  std::vector<FileEntry> entries;
  std::string expected_list;
  for (int i = 0; i < 40; ++i) {
    const std::wstring name = L"f" + std::to_wstring(100 + i) + L".dat";
    const std::string content = Content(300, 20 + i);
    ASSERT_TRUE(WriteFileBytes(InRoot(name), content));
    entries.push_back(Entry(i + 1, kEntryZip, name, content, 2));
    expected_list += ListLine(name, 2, content);
  }
  struct Case {
    DWORD interval_ms;
    int renames;
  } cases[] = {{0, 41}, {HttpFileDownloader::kStallLimitMs * 10, 2}};
  for (const Case& c : cases) {
    WriteList("");
    SystemCallFaults calls;
    RunEntriesWritingListEvery(c.interval_ms, entries);
    // Every list write is one rename, and so is the versionInfo's at the end; adopted files are not moved.
    EXPECT_EQ(c.renames, calls.Count(SystemCall::kMove)) << c.interval_ms;
    EXPECT_EQ(expected_list, List()) << c.interval_ms;
  }
  EXPECT_EQ("", server_.Requests());
}

TEST_F(WorkerTest, ADeleteThatLeavesTheFileFailsTheRunAndOneOfAMissingFileDropsItsRecord) {
  const std::string doomed = Content(100, 30);
  struct Case {
    const char* what;
    bool file_present;
    bool delete_fails;
    std::vector<int32_t> errors;
    std::string list;
  } cases[] = {
      {"deleted", true, false, {}, ""},
      {"already gone", false, false, {}, ""},
      {"cannot be deleted", true, true, {UpdateErrorApply}, ListLine(L"old.dat", 2, doomed)},
  };
  for (const Case& c : cases) {
    log_.Clear();
    testing_support::RemoveTree(root());
    if (c.file_present) {
      ASSERT_TRUE(WriteFileBytes(InRoot(L"old.dat"), doomed));
    }
    WriteList(ListLine(L"old.dat", 2, doomed));
    SystemCallFaults faults;
    // The delete of the file is the run's first delete call.
    if (c.delete_fails)
      faults.FailCall(SystemCall::kDelete, 1);
    RunEntries({Entry(1, kEntryDelete, L"old.dat", "", 3)});
    EXPECT_EQ(c.errors, log_.Errors()) << c.what;
    EXPECT_EQ(c.list, List()) << c.what;
    EXPECT_EQ(c.delete_fails, FileExists(InRoot(L"old.dat"))) << c.what;
  }
}

TEST_F(WorkerTest, AListThatCannotBeWrittenAtTheEndFailsTheRunAndKeepsTheVersion) {
  const std::string content = Content(300, 31);
  ASSERT_TRUE(WriteFileBytes(InRoot(L"a.dat"), content));
  WriteList("");
  ASSERT_TRUE(WriteFileBytes(InRoot(L"versionInfo_GAME.ini"), "[UpdInfo]\r\nCurrentVersion=1\r\n"));
  SystemCallFaults faults;
  // The adopted record makes the list change; with a long interval the only write is the one at the end.
  faults.FailCall(SystemCall::kMove, 1);
  RunEntriesWritingListEvery(HttpFileDownloader::kStallLimitMs * 10,
                             {Entry(1, kEntryZip, L"a.dat", content, 2)});
  EXPECT_TRUE(faults.Failed());
  EXPECT_EQ(std::vector<int32_t>{UpdateErrorTempFileWrite}, log_.Errors());
  EXPECT_EQ("", List());
  std::string ini;
  ASSERT_TRUE(ReadFileBytes(InRoot(L"versionInfo_GAME.ini"), &ini));
  EXPECT_EQ("[UpdInfo]\r\nCurrentVersion=1\r\n", ini);
  EXPECT_NE(kCompleted.back(), log_.Trace().back());
}

TEST_F(WorkerTest, NamesThatWouldLeaveTheInstallFolderAreRefusedBeforeAnyFileOperation) {
  const std::string outside = Content(100, 14);
  ASSERT_TRUE(WriteFileBytes(folder_.Join(L"outside.dat"), outside));
  const wchar_t* names[] = {L"..\\outside.dat", L"sub\\..\\..\\outside.dat",   L"\\outside.dat",
                            L"C:\\outside.dat", L"a.dat\\..\\..\\outside.dat", L"nul",
                            L"data\\con.dat",   L"... \\outside.dat"};
  const int32_t kinds[] = {kEntryZip, kEntryRtp, kEntryNew, kEntryDelete, kEntryReserved};
  for (const wchar_t* name : names) {
    for (int32_t kind : kinds) {
      log_.Clear();
      RunEntries({Entry(1, kind, name, outside, 2), Entry(2, kEntryDelete, L"never.dat", "", 2)});
      EXPECT_EQ((std::vector<std::string>{"15 0", "17 5", "9 2,2,1"}), log_.Trace())
          << Narrow(name) << " kind " << kind;
    }
  }
  EXPECT_TRUE(FileExists(folder_.Join(L"outside.dat")));
  EXPECT_EQ("", server_.Requests());
}

TEST_F(WorkerTest, AFullCheckRemovesOlderTemporaryFilesAndResumesTheCurrentOne) {
  const std::string content = Content(100000, 15);
  const std::string packed = Zlib(content);
  server_.AddFile("GAME/RegisteredHistory/00000003/data/a.dat.zip", packed);
  const std::wstring stale[] = {L"data\\a.dat.zip", L"data\\a.dat.0.zip", L"data\\a.dat.2.rtp",
                                L"data\\A.DAT.1.NEW", L"data\\a.dat.new"};
  const std::wstring kept[] = {L"data\\a.dat.3.rtp", L"data\\a.dat.4.zip", L"data\\a.dat.02.zip",
                               L"data\\a.dat.x.zip", L"data\\a.dat.2.bak", L"data\\b.dat.1.zip"};
  for (const std::wstring& name : stale)
    ASSERT_TRUE(WriteFileBytes(InRoot(name), "stale"));
  for (const std::wstring& name : kept)
    ASSERT_TRUE(WriteFileBytes(InRoot(name), "kept"));
  ASSERT_TRUE(WriteFileBytes(InRoot(L"data\\a.dat.3.zip"), packed.substr(0, 4000)));

  RunEntries({Entry(1, kEntryZip, L"data\\a.dat", content, 3)}, true);

  for (const std::wstring& name : stale)
    EXPECT_FALSE(FileExists(InRoot(name))) << Narrow(name);
  for (const std::wstring& name : kept)
    EXPECT_TRUE(FileExists(InRoot(name))) << Narrow(name);
  EXPECT_TRUE(FileAt(L"data\\a.dat") == content);
  EXPECT_NE(std::string::npos, server_.Requests().find("bytes=4000-")) << server_.Requests();
}

// A free drive letter mapped onto a folder for one test. Under Wine a drive is a link in the prefix's
// "dosdevices" folder (a name made by DefineDosDevice lives only in the object namespace, which file opens
// there do not follow); elsewhere DefineDosDevice.
class DriveMapping {
 public:
  ~DriveMapping() {
    if (drive_.empty())
      return;
    if (!link_.empty())
      testing_support::RunUnixCommand("rm -f " + testing_support::ShellQuote(link_));
    else
      DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive_.c_str(), target_.c_str());
  }

  bool Map(const std::wstring& folder) {
    wchar_t letter = L'Q';
    while (letter <= L'Y' && GetDriveTypeW((std::wstring(1, letter) + L":\\").c_str()) != DRIVE_NO_ROOT_DIR)
      ++letter;
    const std::wstring drive = std::wstring(1, letter) + L":";
    if (testing_support::RunningUnderWine()) {
      wchar_t prefix[MAX_PATH];
      DWORD length = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
      if (length == 0 || length >= MAX_PATH)
        return false;
      const std::string link =
          testing_support::WideToUtf8(prefix) + "/dosdevices/" + static_cast<char>(letter - L'A' + 'a') + ":";
      if (testing_support::RunUnixCommand("ln -s " +
                                          testing_support::ShellQuote(testing_support::UnixPathOf(folder)) +
                                          " " + testing_support::ShellQuote(link)) != 0)
        return false;
      link_ = link;
    } else if (!DefineDosDeviceW(0, drive.c_str(), folder.c_str())) {
      return false;
    }
    drive_ = drive;
    target_ = folder;
    return true;
  }
  const std::wstring& drive() const { return drive_; }

 private:
  std::wstring drive_;
  std::wstring target_;
  std::string link_;
};

// A game installed at the root of a drive: the patch library is given "X:\\" as its folder, never "X:",
// which would mean the drive's current folder.
TEST_F(WorkerTest, AnInstallFolderAtADriveRootIsPatchedInPlace) {
  const std::string old_content = Content(20000, 16);
  const std::string new_content = old_content.substr(0, 12000) + Content(9000, 17);
  server_.AddFile("GAME/PatchArchive/a.dat.zip/00000003/PATCH.RTP", Patch(old_content, new_content, "a.dat"));
  ASSERT_TRUE(WriteFileBytes(InRoot(L"a.dat"), old_content));
  WriteList(ListLine(L"a.dat", 2, old_content));
  DriveMapping mapping;
  ASSERT_TRUE(mapping.Map(root()));
  const std::wstring drive = mapping.drive();
  ASSERT_TRUE(FileExists(drive + L"\\a.dat"));

  RunEntriesIn(drive, {Entry(1, kEntryRtp, L"a.dat", new_content, 3)});

  EXPECT_TRUE(log_.Errors().empty());
  EXPECT_EQ("GET /GAME/PatchArchive/a.dat.zip/00000003/PATCH.RTP -", server_.Requests());
  EXPECT_TRUE(FileAt(L"a.dat") == new_content);
  EXPECT_EQ(ListLine(L"a.dat", 3, new_content), List());
}

}  // namespace
