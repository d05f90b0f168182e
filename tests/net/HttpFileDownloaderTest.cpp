// The downloader against the scriptable HTTP fixture server: what reaches the sink, the result and error, and
// which requests the server saw (its request log), for whole, resumed and faulty transfers. libcurl runs with
// the allocation functions that the engine gives it.
#include "net/HttpFileDownloader.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "net/CurlMemory.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempFolder.h"

namespace {

using testing_support::FixtureServer;

class CurlEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_EQ(CURLE_OK,
              InitCurlKeepingReceiveBuffer(CURL_GLOBAL_ALL, HttpFileDownloader::kReceiveBufferBytes));
  }
  void TearDown() override { CleanupCurlMemory(); }
};
::testing::Environment* const g_curl = ::testing::AddGlobalTestEnvironment(new CurlEnvironment);

constexpr size_t kFileSize = 300000;

std::string FileBytes() {
  std::string bytes(kFileSize, '\0');
  unsigned state = 12345;
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 16);
  }
  return bytes;
}

// What the sink received; `take` decides how much of each block it claims to have taken.
struct Sink {
  std::string bytes;
  std::function<int(int bytes)> take = [](int bytes) { return bytes; };
  std::function<void()> on_block;

  static int Write(const void* data, int bytes, void* user) {
    Sink* sink = static_cast<Sink*>(user);
    if (sink->on_block)
      sink->on_block();
    int taken = sink->take(bytes);
    if (taken > 0)
      sink->bytes.append(static_cast<const char*>(data), static_cast<size_t>(taken));
    return taken;
  }
};

// http_server.py over a document root inside the server's own folder, with /file.bin (kFileSize bytes).
class HttpServer : public testing_support::HttpFixture {
 public:
  bool Start(const std::string& script_json) {
    AddFile(L"file.bin", FileBytes());
    return HttpFixture::Start(script_json);
  }
};

DownloaderProgress ProgressOf(HttpFileDownloader& downloader) {
  DownloaderProgress progress = {-5, -5, -5};
  downloader.GetProgress(&progress);
  return progress;
}

// An offset that stands for the engine's restart of an oversized partial file: the remote size is asked for
// first, then the body from byte 0.
constexpr int64_t kSizeThenWhole = -1;

int Download(HttpFileDownloader& downloader, const std::wstring& url, Sink* sink, int64_t offset = 0) {
  if (!downloader.Open(url.c_str(), sink, &Sink::Write))
    return -1;
  if (offset == kSizeThenWhole) {
    downloader.GetRemoteSize();
    offset = 0;
  }
  if (offset > 0 && !downloader.SetResumeOffset(offset))
    return -2;
  return downloader.Perform();
}

TEST(HttpFileDownloaderStallRule, CountsFromTheLastDataAndStartsAgainWhenTheTickWraps) {
  struct Case {
    DWORD last, now, limit;
    bool stalled;
    DWORD last_after;
  } cases[] = {
      {1000, 1000, 5000, false, 1000},
      {1000, 6000, 5000, false, 1000},
      {1000, 6001, 5000, true, 1000},
      {0xFFFFF000u, 0x00000010u, 5000, false, 0x10},
      {0xFFFFF000u, 0xFFFFFFFFu, 4094, true, 0xFFFFF000u},
      {7, 8, 0, true, 7},
  };
  for (const Case& c : cases) {
    DWORD last = c.last;
    EXPECT_EQ(c.stalled, HttpFileDownloader::HasStalled(&last, c.now, c.limit)) << c.last << " " << c.now;
    EXPECT_EQ(c.last_after, last) << c.last << " " << c.now;
  }
}

TEST(HttpFileDownloaderOpen, RefusesAMissingUrlOrOneThatDoesNotFit1024Bytes) {
  const std::wstring prefix = L"http://127.0.0.1/";
  struct Case {
    const char* name;
    std::wstring url;
    bool null;
    int result;
  } cases[] = {
      {"null", L"", true, 0},
      {"empty", L"", false, 0},
      {"1023 bytes", prefix + std::wstring(1023 - prefix.size(), L'a'), false, 1},
      {"1024 bytes", prefix + std::wstring(1024 - prefix.size(), L'a'), false, 0},
      {"1025 bytes", prefix + std::wstring(1025 - prefix.size(), L'a'), false, 0},
  };
  for (const Case& c : cases) {
    HttpFileDownloader downloader;
    Sink sink;
    EXPECT_EQ(c.result, downloader.Open(c.null ? nullptr : c.url.c_str(), &sink, &Sink::Write)) << c.name;
    EXPECT_EQ(c.result ? kDownloaderErrorNone : kDownloaderErrorBadUrl, downloader.GetError()) << c.name;
    EXPECT_EQ(c.result ? kDownloaderReady : kDownloaderFailed, downloader.GetState()) << c.name;
  }
  if (GetACP() != CP_UTF8) {
    HttpFileDownloader downloader;
    Sink sink;
    EXPECT_EQ(0, downloader.Open(L"http://127.0.0.1/\u4e2d.zip", &sink, &Sink::Write))
        << "unmappable character";
    EXPECT_EQ(kDownloaderErrorBadUrl, downloader.GetError());
  }
}

TEST(HttpFileDownloaderTransfer, DeliversTheRemoteBytesAndAsksOnlyForWhatIsMissing) {
  HttpServer server;
  ASSERT_TRUE(server.Start(R"({
    "/moved.bin": {"redirect": "/file.bin"},
    "/empty.bin": {"body": ""}
  })"))
      << server.fixture().log();
  const std::string file = FileBytes();
  struct Case {
    const char* path;
    int64_t offset;
    std::string expected_bytes;
    std::string expected_requests;
  } cases[] = {
      {"/file.bin?whole", 0, file, "GET -"},
      {"/file.bin?resumed", 100000, file.substr(100000), "HEAD -, GET bytes=100000-"},
      {"/file.bin?complete", kFileSize, "", "HEAD -"},  // no body asked for
      {"/moved.bin", 0, file, "GET -"},
      {"/empty.bin", 0, "", "GET -"},
  };
  for (const Case& c : cases) {
    HttpFileDownloader downloader;
    Sink sink;
    int64_t whole = c.offset + static_cast<int64_t>(c.expected_bytes.size());
    EXPECT_EQ(1, Download(downloader, server.Url(c.path), &sink, c.offset)) << c.path << " " << c.offset;
    EXPECT_EQ(kDownloaderErrorNone, downloader.GetError());
    EXPECT_TRUE(sink.bytes == c.expected_bytes) << c.path << " " << c.offset << ": " << sink.bytes.size();
    DownloaderProgress progress = ProgressOf(downloader);
    EXPECT_EQ(kDownloaderDone, progress.state);
    EXPECT_EQ(whole, progress.done);
    EXPECT_EQ(whole, progress.total);
    EXPECT_EQ(c.expected_requests, server.RequestsFor(c.path)) << c.path << " " << c.offset;
  }
}

// The receive buffer that libcurl frees at the end of a transfer is the one the next transfer gets; a test of
// the size libcurl asks for as much as of the keeping.
TEST(HttpFileDownloaderTransfer, ATransfersReceiveBufferIsKeptForTheNext) {
  HttpServer server;
  ASSERT_TRUE(server.Start("{}")) << server.fixture().log();
  curl_memory::SetKeptSize(HttpFileDownloader::kReceiveBufferBytes);
  for (int transfer = 0; transfer < 2; ++transfer) {
    HttpFileDownloader downloader;
    Sink sink;
    ASSERT_EQ(1, Download(downloader, server.Url("/file.bin"), &sink)) << transfer;
    EXPECT_TRUE(sink.bytes == FileBytes()) << transfer;
    EXPECT_TRUE(curl_memory::HoldsKeptBlock()) << transfer;
  }
}

TEST(HttpFileDownloaderTransfer, ResumeAfterADroppedConnectionGivesByteIdenticalData) {
  HttpServer server;
  ASSERT_TRUE(server.Start(R"({"/file.bin": {"methods": ["GET"], "times": 1, "close_after": 70001}})"));
  HttpFileDownloader downloader;
  Sink sink;
  EXPECT_EQ(0, Download(downloader, server.Url("/file.bin"), &sink));
  EXPECT_EQ(kDownloaderErrorTransfer, downloader.GetError());
  EXPECT_EQ(70001u, sink.bytes.size());

  Sink rest;
  EXPECT_EQ(1, Download(downloader, server.Url("/file.bin"), &rest, static_cast<int64_t>(sink.bytes.size())));
  EXPECT_TRUE(sink.bytes + rest.bytes == FileBytes());
  EXPECT_EQ("GET -, HEAD -, GET bytes=70001-", server.RequestsFor("/file.bin"));
}

TEST(HttpFileDownloaderTransfer, TheProgressAskedFromTheSinkCountsTheBlockInHand) {
  // The engine reports a file's progress from its sink; a pause after the first half must find that half
  // counted, whatever libcurl's own counters say by then.
  HttpServer server;
  ASSERT_TRUE(
      server.Start(R"({"/file.bin": {"methods": ["GET"], "stall_after": 150000, "stall_seconds": 0.3}})"));
  for (int64_t offset : {int64_t{0}, int64_t{100000}}) {
    HttpFileDownloader downloader;
    Sink sink;
    std::string wrong;
    sink.take = [&](int bytes) {
      DownloaderProgress progress = ProgressOf(downloader);
      const int64_t expected_done = offset + static_cast<int64_t>(sink.bytes.size()) + bytes;
      if (wrong.empty() &&
          (progress.done != expected_done || progress.total != static_cast<int64_t>(kFileSize)))
        wrong = std::to_string(progress.done) + "/" + std::to_string(progress.total) + " for " +
                std::to_string(expected_done);
      return bytes;
    };
    EXPECT_EQ(1, Download(downloader, server.Url("/file.bin"), &sink, offset)) << offset;
    EXPECT_EQ("", wrong) << "from " << offset;
    EXPECT_EQ(static_cast<int64_t>(kFileSize), ProgressOf(downloader).done);
  }
}

TEST(HttpFileDownloaderTransfer, RemoteSizeIsAskedForOnceAndTheBodyThenStartsFromZero) {
  HttpServer server;
  ASSERT_TRUE(server.Start("{}"));
  HttpFileDownloader downloader;
  Sink sink;
  ASSERT_EQ(1, downloader.Open(server.Url("/file.bin").c_str(), &sink, &Sink::Write));
  EXPECT_EQ(static_cast<int64_t>(kFileSize), downloader.GetRemoteSize());
  EXPECT_EQ(static_cast<int64_t>(kFileSize), downloader.GetRemoteSize());
  EXPECT_EQ(1, downloader.SetResumeOffset(0));
  EXPECT_EQ(1, downloader.Perform());
  EXPECT_TRUE(sink.bytes == FileBytes());
  EXPECT_EQ("HEAD -, GET -", server.RequestsFor("/file.bin"));
  EXPECT_EQ(0, downloader.Perform()) << "a finished transfer needs a new Open";
  EXPECT_EQ(kDownloaderErrorBusy, downloader.GetError());
}

TEST(HttpFileDownloaderTransfer, FailuresGiveTheirErrorAndKeepForeignBytesFromTheSink) {
  HttpServer server;
  ASSERT_TRUE(server.Start(R"({
    "/missing-head.bin": {"methods": ["HEAD"], "status": 404},
    "/missing.bin": {"status": 404},
    "/missing-empty.bin": {"status": 404, "body": ""},
    "/error-after-head.bin": [{"methods": ["GET"], "status": 500, "body": "oops\n"},
                              {"body": "0123456789"}],
    "/short.bin": {"body": "0123456789", "content_length": 1000},
    "/no-length.bin": {"body": "0123456789", "no_content_length": true},
    "/no-range.bin": {"body": "0123456789", "ignore_range": true},
    "/grown.bin": [{"methods": ["HEAD"], "body": "0123456789", "content_length": 6}, {"body": "0123456789"}],
    "/empty.bin": {"body": ""},
    "/loop.bin": {"redirect": "/loop.bin"},
    "/elsewhere.bin": {"redirect": "ftp://127.0.0.1/file.bin"}
  })"));
  struct Case {
    const char* path;
    int64_t offset;
    DownloaderError error;
    std::string expected_bytes;
    std::string expected_requests;
  } cases[] = {
      {"/missing-head.bin", 10, kDownloaderErrorTransfer, "", "HEAD -"},
      {"/missing.bin", 0, kDownloaderErrorTransfer, "", "GET -"},
      {"/missing-empty.bin", 0, kDownloaderErrorTransfer, "", "GET -"},
      {"/error-after-head.bin", 4, kDownloaderErrorTransfer, "", "HEAD -, GET bytes=4-"},
      {"/error-after-head.bin?from-zero", kSizeThenWhole, kDownloaderErrorTransfer, "", "HEAD -, GET -"},
      {"/short.bin", 0, kDownloaderErrorTransfer, "0123456789", "GET -"},
      {"/no-length.bin", 0, kDownloaderErrorTransfer, "", "GET -"},
      {"/no-range.bin", 4, kDownloaderErrorTransfer, "", "HEAD -, GET bytes=4-"},
      {"/grown.bin", 2, kDownloaderErrorTransfer, "", "HEAD -, GET bytes=2-"},
      {"/empty.bin", 10, kDownloaderErrorTransfer, "", "HEAD -"},
      {"/loop.bin", 0, kDownloaderErrorTransfer, "", std::string()},
      {"/elsewhere.bin", 0, kDownloaderErrorTransfer, "", "GET -"},
      // A resumed file whose remote size is unknown fails without a new error.
      {"/no-length.bin", 3, kDownloaderErrorNone, "", "GET -, HEAD -"},
  };
  for (const Case& c : cases) {
    HttpFileDownloader downloader;
    Sink sink;
    EXPECT_EQ(0, Download(downloader, server.Url(c.path), &sink, c.offset)) << c.path;
    EXPECT_EQ(c.error, downloader.GetError()) << c.path;
    EXPECT_EQ(kDownloaderFailed, downloader.GetState()) << c.path;
    EXPECT_EQ(c.expected_bytes, sink.bytes) << c.path;
    if (!c.expected_requests.empty()) {
      EXPECT_EQ(c.expected_requests, server.RequestsFor(c.path)) << c.path;
    }
  }
  const std::string loop = server.RequestsFor("/loop.bin");
  EXPECT_EQ(HttpFileDownloader::kMaxRedirects + 1, std::count(loop.begin(), loop.end(), ',') + 1) << loop;
}

TEST(HttpFileDownloaderTransfer, ASinkThatTakesLessEndsWithErrorSink) {
  HttpServer server;
  ASSERT_TRUE(server.Start("{}"));
  const std::function<int(int)> takes[] = {[](int bytes) { return bytes - 1; }, [](int) { return 0; },
                                           [](int) { return -1; }};
  for (const auto& take : takes) {
    HttpFileDownloader downloader;
    Sink sink;
    sink.take = take;
    EXPECT_EQ(0, Download(downloader, server.Url("/file.bin"), &sink));
    EXPECT_EQ(kDownloaderErrorSink, downloader.GetError());
    EXPECT_EQ(kDownloaderFailed, downloader.GetState());
  }
}

TEST(HttpFileDownloaderTransfer, TheStallLimitCountsOnlyOnceDataFlows) {
  HttpServer server;
  ASSERT_TRUE(server.Start(R"({
    "/stalls.bin": {"body": "0123456789", "stall_after": 4, "stall_seconds": 20},
    "/pauses.bin": {"body": "0123456789", "stall_after": 4, "stall_seconds": 0.2},
    "/slow-answer.bin": {"body": "0123456789", "delay_before": 1.5}
  })"));
  struct Case {
    const char* path;
    DWORD stall_limit_ms;
    int result;
    DownloaderError error;
  } cases[] = {
      {"/stalls.bin", 300, 0, kDownloaderErrorStalled},
      {"/pauses.bin", 3000, 1, kDownloaderErrorNone},
      {"/slow-answer.bin", 300, 1, kDownloaderErrorNone},
  };
  for (const Case& c : cases) {
    HttpFileDownloader downloader(c.stall_limit_ms);
    Sink sink;
    EXPECT_EQ(c.result, Download(downloader, server.Url(c.path), &sink)) << c.path;
    EXPECT_EQ(c.error, downloader.GetError()) << c.path;
  }
}

TEST(HttpFileDownloaderTransfer, TheOptInFirstAnswerLimitEndsASilentServerOnly) {
  HttpServer server;
  ASSERT_TRUE(server.Start(R"({
    "/silent.bin": {"body": "0123456789", "delay_before": 30},
    "/slow-answer.bin": {"body": "0123456789", "delay_before": 0.3}
  })"));
  struct Case {
    const char* path;
    DWORD first_answer_limit_ms;
    int result;
    DownloaderError error;
  } cases[] = {
      {"/silent.bin", 500, 0, kDownloaderErrorStalled},
      {"/slow-answer.bin", 5000, 1, kDownloaderErrorNone},
      {"/slow-answer.bin", 0, 1, kDownloaderErrorNone},  // off: only the connect time-out applies
  };
  for (const Case& c : cases) {
    HttpFileDownloader downloader(300);
    downloader.SetFirstAnswerLimit(c.first_answer_limit_ms);
    Sink sink;
    const DWORD start = GetTickCount();
    EXPECT_EQ(c.result, Download(downloader, server.Url(c.path), &sink)) << c.path;
    EXPECT_EQ(c.error, downloader.GetError()) << c.path;
    EXPECT_LT(GetTickCount() - start, 10000u) << c.path;
  }
}

// With the window shortened to 2 s: a byte a second (each gap well inside the stall limit) and a server that
// never answers, at the body or at the size request, end as stalled within the window; a transfer at a
// normal pace that lasts longer than the window is left alone. The cases run side by side.
TEST(HttpFileDownloaderTransfer, TheSpeedFloorEndsATrickleOrASilenceAndLeavesANormalPaceAlone) {
  constexpr long kWindowSeconds = 2;
  HttpServer server;
  ASSERT_TRUE(server.Start(R"({
    "/trickle.bin": {"body": ")" +
                           std::string(100, 't') + R"(", "trickle_bytes": 1, "trickle_seconds": 1},
    "/silent.bin": {"body": "0123456789", "delay_before": 60},
    "/silent-head.bin": {"methods": ["HEAD"], "body": "0123456789", "delay_before": 60},
    "/paced.bin": {"methods": ["GET"], "trickle_bytes": 25000, "trickle_seconds": 0.2}
  })"));
  server.AddFile(L"paced.bin", FileBytes());
  struct Case {
    const char* path;
    int64_t offset;
    int result;
    DownloaderError error;
    std::string expected_requests;
  } cases[] = {
      {"/trickle.bin", 0, 0, kDownloaderErrorStalled, "GET -"},
      {"/silent.bin", 0, 0, kDownloaderErrorStalled, "GET -"},
      {"/silent-head.bin", 4, 0, kDownloaderErrorStalled, "HEAD -"},
      {"/paced.bin", 0, 1, kDownloaderErrorNone, "GET -"},
  };
  struct Outcome {
    int result = -5;
    DownloaderError error = kDownloaderErrorNone;
    DWORD elapsed = 0;
    std::string bytes;
  };
  Outcome outcomes[sizeof cases / sizeof cases[0]];
  std::vector<std::thread> runs;
  for (size_t index = 0; index < sizeof cases / sizeof cases[0]; ++index) {
    runs.emplace_back([&, index] {
      HttpFileDownloader downloader;
      downloader.SetSpeedFloorWindow(kWindowSeconds);
      Sink sink;
      const DWORD start = GetTickCount();
      outcomes[index].result =
          Download(downloader, server.Url(cases[index].path), &sink, cases[index].offset);
      outcomes[index].elapsed = GetTickCount() - start;
      outcomes[index].error = downloader.GetError();
      outcomes[index].bytes.swap(sink.bytes);
    });
  }
  for (std::thread& run : runs)
    run.join();
  for (size_t index = 0; index < sizeof cases / sizeof cases[0]; ++index) {
    const Case& c = cases[index];
    const Outcome& outcome = outcomes[index];
    EXPECT_EQ(c.result, outcome.result) << c.path;
    EXPECT_EQ(c.error, outcome.error) << c.path;
    EXPECT_EQ(c.expected_requests, server.RequestsFor(c.path)) << c.path;
    if (c.result == 0) {
      EXPECT_GE(outcome.elapsed, kWindowSeconds * 1000 - 100) << c.path;
      EXPECT_LT(outcome.elapsed, kWindowSeconds * 1000 + 3000) << c.path;
    } else {
      EXPECT_TRUE(outcome.bytes == FileBytes()) << c.path;
      EXPECT_GT(outcome.elapsed, kWindowSeconds * 1000) << c.path << ": the paced answer outlasts the window";
    }
  }
}

TEST(HttpFileDownloaderTransfer, CancelFromAnotherThreadEndsAsCancelledAndTheNextOpenClearsIt) {
  HttpServer server;
  ASSERT_TRUE(server.Start(
      R"({"/file.bin": {"methods": ["GET"], "times": 1, "stall_after": 50000, "stall_seconds": 30}})"));
  HttpFileDownloader downloader(60000);
  Sink sink;
  std::atomic<bool> seen_mid_transfer{false};
  std::thread watcher([&] {
    for (int i = 0; i < 1000; ++i) {
      DownloaderProgress progress = ProgressOf(downloader);
      if (progress.state == kDownloaderTransferring && progress.done == 50000) {
        seen_mid_transfer = progress.total == static_cast<int64_t>(kFileSize);
        break;
      }
      Sleep(10);
    }
    downloader.Cancel();
  });
  EXPECT_EQ(0, Download(downloader, server.Url("/file.bin"), &sink));
  watcher.join();
  EXPECT_TRUE(seen_mid_transfer);
  EXPECT_EQ(kDownloaderErrorCancelled, downloader.GetError());
  EXPECT_EQ(50000u, sink.bytes.size());

  Sink again;
  EXPECT_EQ(1, Download(downloader, server.Url("/file.bin"), &again));
  EXPECT_TRUE(again.bytes == FileBytes());
}

TEST(HttpFileDownloaderTransfer, OpenAndSetResumeOffsetDuringATransferAreRefusedAndChangeNothing) {
  HttpServer server;
  server.AddFile(L"slow.bin", FileBytes());
  ASSERT_TRUE(server.Start(R"({"/slow.bin": {"delay_before": 1.0}})"));
  HttpFileDownloader downloader;
  Sink sink;
  int refused_open = -1, refused_offset = -1;
  DownloaderError open_error = kDownloaderErrorNone, offset_error = kDownloaderErrorNone;
  DownloaderState state_after = kDownloaderReady;
  sink.on_block = [&] {
    if (refused_open != -1)
      return;
    refused_open = downloader.Open(server.Url("/other.bin").c_str(), nullptr, nullptr);
    open_error = downloader.GetError();
    refused_offset = downloader.SetResumeOffset(5);
    offset_error = downloader.GetError();
    state_after = downloader.GetState();
  };
  EXPECT_EQ(1, Download(downloader, server.Url("/file.bin"), &sink));
  EXPECT_EQ(0, refused_open);
  EXPECT_EQ(kDownloaderErrorBusy, open_error);
  EXPECT_EQ(0, refused_offset);
  EXPECT_EQ(kDownloaderErrorBusy, offset_error);
  EXPECT_EQ(kDownloaderTransferring, state_after);
  EXPECT_TRUE(sink.bytes == FileBytes());
  EXPECT_EQ(static_cast<int64_t>(kFileSize), ProgressOf(downloader).done);

  // Before the first data the state is still "ready", yet libcurl works the handle: refused as well.
  Sink slow;
  std::thread opener([&] {
    for (int i = 0; i < 500 && server.RequestsFor("/slow.bin").empty(); ++i)
      Sleep(10);
    refused_open = downloader.Open(server.Url("/other.bin").c_str(), nullptr, nullptr);
  });
  EXPECT_EQ(1, Download(downloader, server.Url("/slow.bin"), &slow));
  opener.join();
  EXPECT_EQ(0, refused_open);
  EXPECT_TRUE(slow.bytes == FileBytes());

  // A refusal does not stand in for the transfer's own outcome.
  Sink cancelled;
  cancelled.on_block = [&] {
    downloader.Open(server.Url("/other.bin").c_str(), nullptr, nullptr);
    downloader.Cancel();
  };
  EXPECT_EQ(0, Download(downloader, server.Url("/file.bin"), &cancelled));
  EXPECT_EQ(kDownloaderErrorCancelled, downloader.GetError());
}

TEST(HttpFileDownloaderTransfer, CancelEndsASizeRequestThatTheServerNeverAnswers) {
  HttpServer server;
  ASSERT_TRUE(server.Start(R"({"/file.bin": {"methods": ["HEAD"], "delay_before": 60}})"));
  HttpFileDownloader downloader;
  Sink sink;
  ASSERT_EQ(1, downloader.Open(server.Url("/file.bin").c_str(), &sink, &Sink::Write));
  std::thread canceller([&] {
    // Once the server has the request, the downloader is inside the size request, waiting for the answer.
    for (int i = 0; i < 500 && server.RequestsFor("/file.bin").empty(); ++i)
      Sleep(10);
    downloader.Cancel();
  });
  const DWORD start = GetTickCount();
  EXPECT_EQ(-1, downloader.GetRemoteSize());
  canceller.join();
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_EQ(kDownloaderErrorCancelled, downloader.GetError());
  EXPECT_EQ(kDownloaderFailed, downloader.GetState());
  EXPECT_EQ(0, ProgressOf(downloader).done);

  // A size request that was not cancelled still gives the size, and the progress of the body that follows.
  ASSERT_EQ(1, downloader.Open(server.Url("/file.bin").c_str(), &sink, &Sink::Write));
  server.AddFile(L"other.bin", "0123456789");
  ASSERT_EQ(1, downloader.Open(server.Url("/other.bin").c_str(), &sink, &Sink::Write));
  EXPECT_EQ(10, downloader.GetRemoteSize());
  EXPECT_EQ(1, downloader.Perform());
  EXPECT_EQ(10, ProgressOf(downloader).total);
}

}  // namespace
