// QVTesserel.dll as the launcher uses it: loaded at run time, its exports bound by name.
#include "engine/QVTesserel.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "engine/EngineExports.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/TempFolder.h"

using engine_testing::EventLog;
using engine_testing::MakeParams;
using engine_testing::Utf16Bytes;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

extern "C" void QvRecordSizesSeenFromC(size_t sizes[4]);

namespace {

class EngineLibrary : public EngineExports {
 public:
  EngineLibrary() : module_(LoadLibraryW(L"QVTesserel.dll")) {
    if (module_ != nullptr)
      BindEngineExports(module_, this);
  }
  ~EngineLibrary() {
    if (module_ != nullptr)
      FreeLibrary(module_);
  }
  EngineLibrary(const EngineLibrary&) = delete;
  EngineLibrary& operator=(const EngineLibrary&) = delete;

  bool Complete() const {
    return module_ && create && remove && start && stop && full_check && pause && resume && download_info;
  }
  HMODULE module() const { return module_; }

 private:
  HMODULE module_;
};

}  // namespace

TEST(QVTesserel, RecordsHaveTheSameSizesInC) {
  size_t sizes[4] = {};
  QvRecordSizesSeenFromC(sizes);
  EXPECT_EQ(sizeof(UpdaterParams), sizes[0]);
  EXPECT_EQ(sizeof(UpdateStatus), sizes[1]);
  EXPECT_EQ(sizeof(UpdateProgress), sizes[2]);
  EXPECT_EQ(sizeof(FileRecord), sizes[3]);
}

TEST(QVTesserel, EightExportsAreFoundByNameAndByOrdinalsOneToEight) {
  EngineLibrary library;
  ASSERT_NE(nullptr, library.module()) << "QVTesserel.dll beside the test: error " << GetLastError();
  ASSERT_TRUE(library.Complete());
  const char* names[] = {"qvCreateUpdater", "qvRemoveUpdater", "qvStartUpdater",  "qvStopUpdater",
                         "qvFullCheck",     "qvPauseUpdater",  "qvResumeUpdater", "qvDownloadInfo"};
  for (int ordinal = 1; ordinal <= 8; ++ordinal) {
    EXPECT_EQ(GetProcAddress(library.module(), names[ordinal - 1]),
              GetProcAddress(library.module(), MAKEINTRESOURCEA(ordinal)))
        << names[ordinal - 1];
  }
}

TEST(QVTesserel, NullArgumentsGiveTheirResults) {
  EngineLibrary library;
  ASSERT_TRUE(library.Complete());
  EXPECT_EQ(nullptr, library.create(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, library.remove(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, library.start(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, library.stop(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, library.full_check(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, library.pause(nullptr));
  EXPECT_EQ(UpdaterResultNullHandle, library.resume(nullptr));
  EXPECT_EQ(nullptr, library.download_info(nullptr));
}

TEST(QVTesserel, StartWithoutConnectionChecksTheListAndReportsThroughTheCallback) {
  EngineLibrary library;
  ASSERT_TRUE(library.Complete());
  TempFolder root;
  ASSERT_TRUE(WriteFileBytes(root.Join(L"fileListInfo_GAME.dat"), Utf16Bytes(L"gone.dat:1:2:3:4\r\n")));
  EventLog log;
  UpdaterParams params = MakeParams(root.path(), &log);
  // No IP: the host name is resolved, which needs the sockets that the library's entry started.
  params.patchServerIp[0] = '\0';
  std::strcpy(params.patchServerHost, "localhost");

  UpdaterHandle handle = library.create(&params);
  ASSERT_NE(nullptr, handle);
  std::memset(&params, 0xCC, sizeof(params));  // the engine keeps its own copy
  EXPECT_EQ(UpdaterResultOk, library.start(handle));
  ASSERT_EQ(1u, log.Mismatches().size());
  EXPECT_STREQ(L"gone.dat", log.Mismatches()[0].name);
  EXPECT_EQ(3, log.Mismatches()[0].size);

  const UpdateStatus* status = library.download_info(handle);
  ASSERT_NE(nullptr, status);
  EXPECT_EQ(0, status->entryCount);
  EXPECT_EQ(0, status->applying);
  EXPECT_EQ(UpdaterResultOk, library.pause(handle));
  EXPECT_EQ(UpdaterResultOk, library.resume(handle));
  EXPECT_EQ(UpdaterResultOk, library.stop(handle));
  EXPECT_EQ(UpdaterResultOk, library.remove(handle));

  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(root.Join(L"fileListInfo_GAME.dat"), &bytes));
  EXPECT_EQ(Utf16Bytes(L"gone.dat:1:2:0:0\r\n"), bytes);
}

TEST(QVTesserel, FullCheckSendsNoMismatchEvents) {
  EngineLibrary library;
  ASSERT_TRUE(library.Complete());
  TempFolder root;
  ASSERT_TRUE(WriteFileBytes(root.Join(L"fileListInfo_GAME.dat"), Utf16Bytes(L"gone.dat:1:2:3:4\r\n")));
  EventLog log;
  UpdaterParams params = MakeParams(root.path(), &log);
  UpdaterHandle handle = library.create(&params);
  ASSERT_NE(nullptr, handle);
  EXPECT_EQ(UpdaterResultOk, library.full_check(handle));
  EXPECT_TRUE(log.Events().empty());
  EXPECT_EQ(UpdaterResultOk, library.remove(handle));
}
