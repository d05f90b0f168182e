// The process that runs a whole update (UpdateScenario: version 2 to 4 to 5) is ended at its k-th write, for
// every k of the update, in the middle of that write (engine_update_child, a process of its own under Wine).
// After each kill the installation must be consistent, and the next normal run must bring it to version 5
// byte for byte without downloading again a file that was already in place.
//
// Two tests: the list written after every record (every list write is a kill point), and as shipped (at most
// once a second, so most records are not yet on disk when the process ends).
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "engine/CUpdater.h"
#include "tests/engine/UpdateScenario.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"

using engine_testing::EventLog;
using engine_testing::UpdateScenario;

namespace {

constexpr DWORD kKilledExitCode = 99;

std::wstring ChildProgram() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring program(path, length);
  return program.substr(0, program.rfind(L'\\') + 1) + L"engine_update_child.exe";
}

class UpdateKill : public testing::TestWithParam<DWORD> {
 protected:
  static void SetUpTestSuite() {
    scenario_ = new UpdateScenario();
    if (!scenario_->SetUp(&setup_error_))
      setup_error_ = "scenario: " + setup_error_;
  }
  static void TearDownTestSuite() {
    delete scenario_;
    scenario_ = nullptr;
  }

  // Runs the whole update in the child process, ended at write `end_at_write` (0: never). Its exit code, or
  // -1 when it could not be started or did not end within a minute. `writes` gets the writes it reported.
  int RunChild(int end_at_write, int* writes = nullptr) {
    const std::wstring report = folder_.Join(L"report.txt");
    DeleteFileW(report.c_str());
    const std::string command =
        "engine_update_child --root " + testing_support::WideToUtf8(install()) + " --http " +
        scenario_->http_endpoint() + " --patch-server " +
        scenario_->patch_server_endpoint(UpdateScenario::kMiddleVersion) + " --patch-server " +
        scenario_->patch_server_endpoint(UpdateScenario::kNewestVersion) + " --list-interval " +
        std::to_string(GetParam()) + " --end-at-write " + std::to_string(end_at_write) + " --report " +
        testing_support::WideToUtf8(report);
    std::wstring line = testing_support::Utf8ToWide(command);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(ChildProgram().c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
      return -1;
    CloseHandle(process.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
      GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    if (writes != nullptr) {
      std::string text;
      *writes = testing_support::ReadFileBytes(report, &text) ? std::atoi(text.c_str() + 7) : -1;
    }
    return static_cast<int>(code);
  }

  std::wstring install() const { return folder_.Join(L"game"); }

  static UpdateScenario* scenario_;
  static std::string setup_error_;
  testing_support::TempFolder folder_{L"kill"};
  EventLog log_;
};

UpdateScenario* UpdateKill::scenario_ = nullptr;
std::string UpdateKill::setup_error_;

}  // namespace

TEST_P(UpdateKill,
       AProcessEndedAtAnyWriteLeavesAnInstallationThatTheNextRunCompletesWithoutRepeatingDownloads) {
  ASSERT_EQ("", setup_error_);
  ASSERT_TRUE(scenario_->ResetInstall(install()));
  int writes = 0;
  ASSERT_EQ(0, RunChild(0, &writes));
  ASSERT_EQ("", scenario_->DifferencesFromNewest(install()));
  ASSERT_GT(writes, 0);

  int killed = 0;
  for (int k = 1; k <= writes; ++k) {
    ASSERT_TRUE(scenario_->ResetInstall(install()));
    const int code = RunChild(k);
    // Downloads arrive in blocks whose number may differ from run to run: a late write may not come.
    ASSERT_TRUE(code == static_cast<int>(kKilledExitCode) || (code == 0 && k > writes - writes / 4))
        << "write " << k << ": exit code " << code;
    killed += code == static_cast<int>(kKilledExitCode) ? 1 : 0;
    EXPECT_EQ("", engine_testing::Inconsistency(install(), L"DEMO")) << "killed at write " << k;

    const std::set<std::wstring> in_place = scenario_->NewestFilesIn(install());
    const size_t requests_before = scenario_->Requests().size();
    log_.Clear();
    ASSERT_EQ("", scenario_->RunUpdate(install(), &log_, CUpdater::kListWriteIntervalMs,
                                       UpdateScenario::kNewestVersion));
    EXPECT_TRUE(log_.Errors().empty()) << "the run after write " << k;
    EXPECT_EQ("", scenario_->DifferencesFromNewest(install())) << "the run after write " << k;
    for (const std::wstring& fetched : UpdateScenario::FetchedNames(scenario_->Requests(), requests_before))
      EXPECT_EQ(0u, in_place.count(fetched)) << testing_support::WideToUtf8(fetched)
                                             << " was in place and was downloaded again after write " << k;
  }
  std::printf("[kill] list written every %lu ms: %d writes in a whole update, %d kill points\n",
              static_cast<unsigned long>(GetParam()), writes, killed);
}

INSTANTIATE_TEST_SUITE_P(ListWrites,
                         UpdateKill,
                         testing::Values(DWORD{0}, CUpdater::kListWriteIntervalMs),
                         [](const testing::TestParamInfo<DWORD>& info) {
                           return info.param == 0 ? std::string("AfterEveryRecord")
                                                  : std::string("AsShipped");
                         });
