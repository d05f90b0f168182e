// The start-up and shutdown sequences over a recording step seam: each step failing in turn shows its message,
// resets the server only where the update address may be wrong, closes the mutex, stops the splash and gives
// back what was taken; shutdown tears the pop-ups down before the skin goes, and a pending self-update never
// powers off.
#include "app/startup/Startup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

// Every step returns what `results` says (success unless set: 1, true, or kInstanceMutexCreated) and is
// recorded by name.
class RecordingSteps : public StartupSteps {
 public:
  std::map<std::string, int> results;
  std::vector<std::string> calls;
  std::vector<std::wstring> boxes;
  bool splash_running = false;
  bool mutex_open = false;
  bool texts_loaded = false;

  // The normal copy at the announced version, with nothing pending at shutdown.
  RecordingSteps() {
    results["IsRunningFromUpdateTemp"] = 0;
    results["IsLauncherVersionChanged"] = 0;
    results["SelfUpdatePending"] = 0;
    results["PowerOffRequested"] = 0;
  }

  int Step(const char* name) {
    calls.push_back(name);
    auto found = results.find(name);
    return found != results.end() ? found->second : 1;
  }
  bool Called(const char* name) const { return std::find(calls.begin(), calls.end(), name) != calls.end(); }
  size_t IndexOf(const char* name) const {
    return std::find(calls.begin(), calls.end(), name) - calls.begin();
  }

  void ShowErrorBox(const wchar_t* key) override {
    calls.push_back("box");
    boxes.push_back(key);
  }
  void LoadUser32() override { Step("LoadUser32"); }
  void LoadLauncherTexts() override {
    Step("LoadLauncherTexts");
    texts_loaded = true;
  }
  void LoadIcon() override { Step("LoadIcon"); }
  bool CheckOwnFileVersion() override { return Step("CheckOwnFileVersion"); }
  bool CutExePath() override { return Step("CutExePath"); }
  void LoadKillList() override { Step("LoadKillList"); }
  void ParseCommandLine() override { Step("ParseCommandLine"); }
  InstanceMutexResult CreateInstanceMutex() override {
    auto result = static_cast<InstanceMutexResult>(Step("CreateInstanceMutex"));
    mutex_open = result != kInstanceMutexFailed;
    return result;
  }
  bool HandOverToRunningLauncher() override { return Step("HandOverToRunningLauncher"); }
  void ReleaseVirtualFiles() override { Step("ReleaseVirtualFiles"); }
  bool IsRunningFromUpdateTemp() override { return Step("IsRunningFromUpdateTemp"); }
  bool LoadUpdateAddr() override { return Step("LoadUpdateAddr"); }
  SelectUpdateServerResult SelectUpdateServer() override {
    return static_cast<SelectUpdateServerResult>(Step("SelectUpdateServer"));
  }
  void StartSplash() override {
    Step("StartSplash");
    splash_running = true;
  }
  void StopSplash() override {
    Step("StopSplash");
    splash_running = false;
  }
  bool QueryGameInfoNumber() override { return Step("QueryGameInfoNumber"); }
  SelfUpdateDialogResult RunSelfUpdaterDialog() override {
    return static_cast<SelfUpdateDialogResult>(Step("RunSelfUpdaterDialog"));
  }
  bool RestartLauncherFromParent() override { return Step("RestartLauncherFromParent"); }
  void RemoveUpdateTemp() override { Step("RemoveUpdateTemp"); }
  bool DownloadLauncherInfo() override { return Step("DownloadLauncherInfo"); }
  bool IsLauncherVersionChanged() override { return Step("IsLauncherVersionChanged"); }
  bool CopyLauncherToUpdateTemp() override { return Step("CopyLauncherToUpdateTemp"); }
  bool StartLauncherInUpdateTemp() override { return Step("StartLauncherInUpdateTemp"); }
  bool LoadCatalogue() override { return Step("LoadCatalogue"); }
  bool LoadSkinInfo() override { return Step("LoadSkinInfo"); }
  void ApplyFixedSkin() override { Step("ApplyFixedSkin"); }
  bool LoadAppMessages() override { return Step("LoadAppMessages"); }
  bool StartIconLoader() override { return Step("StartIconLoader"); }
  void FinishStartup() override { Step("FinishStartup"); }
  void ResetServer() override { Step("ResetServer"); }
  void ReleaseLauncherTexts() override {
    Step("ReleaseLauncherTexts");
    EXPECT_FALSE(splash_running) << "the splash uses the launcher font";
    texts_loaded = false;
  }
  void FreeIcon() override { Step("FreeIcon"); }
  void FreeUser32() override { Step("FreeUser32"); }
  void FreeParameterBuffer() override { Step("FreeParameterBuffer"); }
  void CloseMutex() override {
    Step("CloseMutex");
    mutex_open = false;
  }
  void ReleaseCatalogue() override { Step("ReleaseCatalogue"); }
  void DeleteAppMessages() override { Step("DeleteAppMessages"); }
  void CloseIdleMonitor() override { Step("CloseIdleMonitor"); }
  void ClearGameLists() override { Step("ClearGameLists"); }
  void TearDownPopups() override { Step("TearDownPopups"); }
  void SaveSettings() override { Step("SaveSettings"); }
  void UnloadSkinInfo() override { Step("UnloadSkinInfo"); }
  void ClearWindowPointers() override { Step("ClearWindowPointers"); }
  void StopIconLoader() override { Step("StopIconLoader"); }
  bool SelfUpdatePending() override { return results["SelfUpdatePending"]; }
  bool PowerOffRequested() override { return results["PowerOffRequested"]; }
  void PowerOff() override { Step("PowerOff"); }
};

TEST(RunStartup, EveryStepSucceedingLeavesTheDialogToRunWithTheSplashShown) {
  RecordingSteps steps;
  EXPECT_TRUE(RunStartup(steps));
  EXPECT_TRUE(steps.boxes.empty());
  EXPECT_TRUE(steps.splash_running);
  EXPECT_TRUE(steps.mutex_open);
  EXPECT_TRUE(steps.Called("FinishStartup"));
  EXPECT_FALSE(steps.Called("ResetServer"));
  EXPECT_LT(steps.IndexOf("LoadSkinInfo"), steps.IndexOf("ApplyFixedSkin"));
  EXPECT_LT(steps.IndexOf("ApplyFixedSkin"), steps.IndexOf("LoadAppMessages"));
}

// One failing step at a time: the message, whether the server is reset, and what is given back.
TEST(RunStartup, EachFailingStepShowsItsMessageAndGivesBackWhatWasTaken) {
  struct Case {
    const char* step;
    int result;
    const wchar_t* box;  // null: none
    bool reset_server;
    bool released_catalogue;
    bool deleted_app_messages;
  } cases[] = {
      {"CheckOwnFileVersion", 0, L"invalid version", false, false, false},
      {"CutExePath", 0, L"invalid path", false, false, false},
      {"CreateInstanceMutex", 0, L"cannot create mutex", false, false, false},
      // The selection below answers kServerDialogFailed.
      {"LoadUpdateAddr", 0, L"cannot load resource", false, false, false},
      {"QueryGameInfoNumber", 0, L"update failed", true, false, false},
      {"DownloadLauncherInfo", 0, L"update failed", true, false, false},
      {"LoadCatalogue", 0, L"cannot init", true, false, false},
      {"LoadSkinInfo", 0, L"cannot load resource", false, true, false},
      {"LoadAppMessages", 0, L"invalid resource", false, true, false},
      {"StartIconLoader", 0, L"cannot load icons", false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    RecordingSteps steps;
    steps.results[c.step] = c.result;
    steps.results["SelectUpdateServer"] = kServerDialogFailed;
    EXPECT_FALSE(RunStartup(steps));
    ASSERT_EQ(1u, steps.boxes.size());
    EXPECT_EQ(c.box, steps.boxes[0]);
    EXPECT_EQ(c.reset_server, steps.Called("ResetServer"));
    EXPECT_EQ(c.released_catalogue, steps.Called("ReleaseCatalogue"));
    EXPECT_EQ(c.deleted_app_messages, steps.Called("DeleteAppMessages"));
    EXPECT_FALSE(steps.splash_running);
    EXPECT_FALSE(steps.mutex_open);
    EXPECT_FALSE(steps.texts_loaded);
    EXPECT_TRUE(steps.Called("FreeIcon"));
    EXPECT_TRUE(steps.Called("FreeUser32"));
    EXPECT_FALSE(steps.Called("FinishStartup"));
  }
}

TEST(RunStartup, ServerSelectionResultsNameTheirMessageAndAChosenServerShowsNone) {
  // By result, kServerChosen .. kServerDialogFailed, and one past them that the selection never gives.
  const wchar_t* expected[] = {nullptr,
                               L"cannot download server info",
                               L"invalid server info",
                               L"server is not selected",
                               L"cannot load resource",
                               nullptr};
  for (int result = kServerChosen; result <= kServerDialogFailed + 1; ++result) {
    SCOPED_TRACE(result);
    RecordingSteps steps;
    steps.results["LoadUpdateAddr"] = 0;
    steps.results["SelectUpdateServer"] = result;
    EXPECT_FALSE(RunStartup(steps));
    if (expected[result] == nullptr) {
      EXPECT_TRUE(steps.boxes.empty());
    } else {
      ASSERT_EQ(1u, steps.boxes.size());
      EXPECT_EQ(expected[result], steps.boxes[0]);
    }
    EXPECT_FALSE(steps.Called("StartSplash"));
    EXPECT_FALSE(steps.mutex_open);
  }
}

TEST(RunStartup, ASecondStartHandsOverOrSaysTheLauncherIsNotClosed) {
  for (int found : {1, 0}) {
    SCOPED_TRACE(found);
    RecordingSteps steps;
    steps.results["CreateInstanceMutex"] = kInstanceMutexHeldByAnotherLauncher;
    steps.results["HandOverToRunningLauncher"] = found;
    EXPECT_FALSE(RunStartup(steps));
    if (found)
      EXPECT_TRUE(steps.boxes.empty());
    else
      EXPECT_EQ(std::vector<std::wstring>{L"launcher is not closed"}, steps.boxes);
    EXPECT_FALSE(steps.mutex_open);
    EXPECT_FALSE(steps.Called("ReleaseVirtualFiles"));
    EXPECT_TRUE(steps.Called("FreeParameterBuffer"));
  }
}

TEST(RunStartup, TheTemporaryCopyRunsTheSelfUpdateAndEndsWhateverItsResult) {
  struct Case {
    SelfUpdateDialogResult dialog;
    int restart;
    const wchar_t* box;
    bool reset_server;
  } cases[] = {
      {kSelfUpdateDialogUpdated, 1, nullptr, false},
      {kSelfUpdateDialogUpdated, 0, L"cannot restart launcher", false},
      {kSelfUpdateDialogAborted, 1, L"update aborted", false},  // the user's choice keeps the address
      {kSelfUpdateDialogFailed, 1, L"update failed", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dialog);
    RecordingSteps steps;
    steps.results["IsRunningFromUpdateTemp"] = 1;
    steps.results["RunSelfUpdaterDialog"] = c.dialog;
    steps.results["RestartLauncherFromParent"] = c.restart;
    EXPECT_FALSE(RunStartup(steps));
    EXPECT_EQ(c.box == nullptr ? 0u : 1u, steps.boxes.size());
    if (c.box != nullptr) {
      EXPECT_EQ(c.box, steps.boxes[0]);
    }
    EXPECT_EQ(c.reset_server, steps.Called("ResetServer"));
    EXPECT_FALSE(steps.mutex_open);
    EXPECT_FALSE(steps.Called("LoadCatalogue"));
    if (c.dialog == kSelfUpdateDialogUpdated) {
      EXPECT_LT(steps.IndexOf("CloseMutex"), steps.IndexOf("RestartLauncherFromParent"));
    }
  }
}

TEST(RunStartup, AChangedLauncherVersionStartsTheTemporaryCopyAfterClosingTheMutex) {
  for (int copied : {1, 0}) {
    SCOPED_TRACE(copied);
    RecordingSteps steps;
    steps.results["IsLauncherVersionChanged"] = 1;
    steps.results["CopyLauncherToUpdateTemp"] = copied;
    EXPECT_FALSE(RunStartup(steps));
    EXPECT_FALSE(steps.splash_running);
    EXPECT_FALSE(steps.mutex_open);
    EXPECT_EQ(!copied, steps.Called("ResetServer"));
    EXPECT_EQ(copied != 0, steps.Called("StartLauncherInUpdateTemp"));
    if (copied) {
      EXPECT_LT(steps.IndexOf("CloseMutex"), steps.IndexOf("StartLauncherInUpdateTemp"));
    }
    EXPECT_FALSE(steps.Called("LoadCatalogue"));
  }
}

TEST(RunShutdown, PopupsGoBeforeTheSkinAndASplashStillRunningIsStopped) {
  RecordingSteps steps;
  steps.splash_running = true;
  RunShutdown(steps);
  EXPECT_LT(steps.IndexOf("TearDownPopups"), steps.IndexOf("UnloadSkinInfo"));
  EXPECT_LT(steps.IndexOf("StopIconLoader"), steps.IndexOf("ReleaseCatalogue"));
  EXPECT_LT(steps.IndexOf("StopSplash"), steps.IndexOf("ReleaseLauncherTexts"));
  EXPECT_FALSE(steps.splash_running);
  EXPECT_FALSE(steps.Called("PowerOff"));
}

TEST(RunShutdown, PowerOffOnlyWithoutAPendingSelfUpdate) {
  struct Case {
    int pending, power_off, copied;
    bool powered_off, started_copy;
  } cases[] = {
      {0, 1, 1, true, false},
      {1, 1, 1, false, true},
      {1, 1, 0, false, false},
      {1, 0, 1, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pending << c.power_off << c.copied);
    RecordingSteps steps;
    steps.mutex_open = true;
    steps.results["SelfUpdatePending"] = c.pending;
    steps.results["PowerOffRequested"] = c.power_off;
    steps.results["CopyLauncherToUpdateTemp"] = c.copied;
    RunShutdown(steps);
    EXPECT_EQ(c.powered_off, steps.Called("PowerOff"));
    EXPECT_EQ(c.started_copy, steps.Called("StartLauncherInUpdateTemp"));
    EXPECT_FALSE(steps.mutex_open);
    if (c.pending && !c.copied) {
      EXPECT_EQ(std::vector<std::wstring>{L"update failed"}, steps.boxes);
    }
  }
}

}  // namespace
