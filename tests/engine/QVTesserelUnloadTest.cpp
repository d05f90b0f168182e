// The engine library freed by its caller while a name look-up of its downloader is still running: a stop
// never waits for the look-up, the look-up's thread returns into the library's code later, and the process
// must live on. The test is the name server: QVTesserel.dll's own import of getaddrinfo (which libcurl's
// look-up thread calls) is pointed at a resolver that holds a look-up until the test lets it go.
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/ScopedHandle.h"
#include "engine/EngineExports.h"
#include "engine/QVTesserel.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Timing.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

namespace {

using engine_testing::EventLog;
using testing_support::FixtureServer;
using testing_support::PatchServerProcess;
using testing_support::TempFolder;

// The resolver the test controls. A name that begins with "held." is held until `release` is set; any other
// name is answered at once with the file server's address, as a name server would.
typedef INT(WSAAPI* GetAddrInfoFunction)(PCSTR, PCSTR, const ADDRINFOA*, PADDRINFOA*);
GetAddrInfoFunction g_real_getaddrinfo = nullptr;
std::string g_file_server_address;
UniqueHandle g_held;     // set once a held look-up has begun
UniqueHandle g_release;  // lets a held look-up end (unanswered)
UniqueHandle g_held_thread;

INT WSAAPI TestGetAddrInfo(PCSTR name, PCSTR service, const ADDRINFOA* hints, PADDRINFOA* result) {
  if (name == nullptr || std::strncmp(name, "held.", 5) != 0)
    return g_real_getaddrinfo(g_file_server_address.c_str(), service, hints, result);
  HANDLE thread = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread, SYNCHRONIZE, FALSE,
                  0);
  g_held_thread.reset(thread);
  SetEvent(g_held.get());
  WaitForSingleObject(g_release.get(), 60000);
  return WSAHOST_NOT_FOUND;
}

// Points every entry of `module`'s import address table that holds `real` at `replacement`.
int PatchImports(HMODULE module, void* real, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* headers =
      reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  int patched = 0;
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       imports.VirtualAddress != 0 && library->Name != 0; ++library) {
    for (auto* entry = reinterpret_cast<void**>(base + library->FirstThunk); *entry != nullptr; ++entry) {
      if (*entry != real)
        continue;
      DWORD protection = 0;
      VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &protection);
      *entry = replacement;
      VirtualProtect(entry, sizeof *entry, protection, &protection);
      ++patched;
    }
  }
  return patched;
}

bool EngineLoaded() {
  return GetModuleHandleW(L"QVTesserel.dll") != nullptr;
}

class EngineUnload : public testing::Test {
 protected:
  void SetUp() override {
    if (!testing_support::RunningUnderWine())
      GTEST_SKIP() << "serves with the Python fixtures";
    const std::string history = testing_support::UnixPathOf(folder_.Join(L"history"));
    std::string output;
    ASSERT_EQ(0, testing_support::RunUnixCommand(std::string("python3 ") + ORVANE_SOURCE_DIR +
                                                     "/tools/make_history.py --root " + history +
                                                     " --versions 1 --files 2",
                                                 &output))
        << output;
    std::string description;
    ASSERT_TRUE(testing_support::ReadFileBytes(testing_support::WindowsPathOf(history + "/DEMO/history.json"),
                                               &description));
    ASSERT_TRUE(patch_server_.Start("", description)) << patch_server_.log();
    // The files are not served: a download that gets past its look-up fails with 404.
    ASSERT_TRUE(file_server_.Start("http_server.py", {"--root", testing_support::UnixPathOf(folder_.path())}))
        << file_server_.log();
    g_file_server_address = file_server_.address();
    g_held.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_release.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_real_getaddrinfo = reinterpret_cast<GetAddrInfoFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(LoadLibraryW(L"ws2_32.dll"), "getaddrinfo")));
    ASSERT_NE(nullptr, g_real_getaddrinfo);
  }
  void TearDown() override {
    if (g_release)
      SetEvent(g_release.get());
    if (g_held_thread)
      WaitForSingleObject(g_held_thread.get(), 10000);
    g_held_thread.reset();
  }

  // Loads the library with the test's resolver in its imports and runs an update from `download_host`'s
  // files, stopped and removed once `stop_when` holds. The library is freed on return.
  void RunAndFree(const std::string& download_host, const std::function<bool()>& stop_when) {
    HMODULE module = LoadLibraryW(L"QVTesserel.dll");
    ASSERT_NE(nullptr, module);
    EngineExports exports;
    BindEngineExports(module, &exports);
    ASSERT_EQ(1, PatchImports(module, reinterpret_cast<void*>(g_real_getaddrinfo),
                              reinterpret_cast<void*>(&TestGetAddrInfo)));
    UpdaterParams params = engine_testing::MakeParams(folder_.Join(L"game"), &log_);
    wcscpy(params.productCode, L"DEMO");
    std::strcpy(params.patchServerIp, patch_server_.address().c_str());
    params.patchServerPort = patch_server_.port();
    std::strcpy(params.downloadHost, (download_host + ":" + std::to_string(file_server_.port())).c_str());
    UpdaterHandle handle = exports.create(&params);
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(UpdaterResultOk, exports.start(handle));
    EXPECT_TRUE(testing_support::WaitUntil(30000, stop_when));
    // Neither the stop nor the removal waits for a look-up.
    EXPECT_TRUE(testing_support::FinishesWithin(2000, [&] {
      exports.stop(handle);
      exports.remove(handle);
    }));
    FreeLibrary(module);
  }

  TempFolder folder_{L"unload"};
  PatchServerProcess patch_server_;
  FixtureServer file_server_;
  EventLog log_;
};

// The library is pinned only once a look-up was left running: one that ended leaves it free to unload. Then
// a download held in its look-up is stopped, the library freed, and the look-up ends: the process lives on.
TEST_F(EngineUnload, ALookUpLeftRunningKeepsTheLibraryLoadedUntilItHasEnded) {
  RunAndFree("answered.test", [&] { return log_.WaitForEnd(0); });
  ASSERT_FALSE(log_.Errors().empty());
  EXPECT_EQ(UpdateErrorDownload, log_.Errors().front()) << "the files are not served";
  EXPECT_FALSE(EngineLoaded()) << "pinned though its look-up had ended";

  log_.Clear();
  RunAndFree("held.test", [&] { return WaitForSingleObject(g_held.get(), 0) == WAIT_OBJECT_0; });
  ASSERT_TRUE(g_held_thread);
  EXPECT_TRUE(EngineLoaded());
  // The look-up ends and its thread returns into the library's code.
  SetEvent(g_release.get());
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_held_thread.get(), 10000));
}

}  // namespace
