// The self-update dialog as a real window on the test display, with its worker against the HTTP fixture:
// plain and skinned, mid-download (the fixture stalls), closed at three moments, and run to its end.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/session/SessionValues.h"
#include "app/windows/SelfUpdaterDlg.h"
#include "selfupdate/GameInfoVersion.h"
#include "selfupdate/LauncherInfo.h"
#include "tests/app/launcherupdate/SelfUpdateTestSupport.h"
#include "tests/app/windows/SkinTestFiles.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"
#include "tests/ui/host/HostTestSupport.h"
#include "ui/base/VirtualFile.h"

namespace {

using selfupdate_testing::FileTree;
using selfupdate_testing::LauncherInstallation;
using namespace testing_support;

// Pumps the dialog's messages until `done` holds or `timeout_ms` passed.
template <typename Condition>
bool PumpUntil(Condition done, DWORD timeout_ms = 20000) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeout_ms; Sleep(10)) {
    PumpMessages();
    if (done())
      return true;
  }
  return false;
}

class SelfUpdaterDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunningUnderWine())
      GTEST_SKIP() << "makes cabinets with Unix tools";
    ASSERT_TRUE(launcher_.StartServer()) << launcher_.server().log();
    launcher_.Reset();
    old_ = launcher_.RealFiles();
    ASSERT_TRUE(launcher_.MakePackage(LauncherInstallation::NewFiles()));
    ReleaseAllVirtualFiles();
  }
  void TearDown() override { ReleaseAllVirtualFiles(); }

  // The skin in the temporary copy's folder (the current one), as loose files.
  void WriteSkin() {
    const std::wstring folder = launcher_.temp() + L"\\updater\\updater_res";
    ASSERT_TRUE(WriteFileBytes(folder + L"\\back.png", SolidPng(320, 160, 0x204060)));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\file.png", SolidPng(280, 8, 0xE02020)));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\update.png", SolidPng(280, 8, 0x20E020)));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\updater.ini",
                               Utf16Ini(L"[BACK]\r\nimage=back.png\r\n[TEXT_FILE]\r\nx=20\r\ny=60\r\n"
                                        L"color_r=255\r\ncolor_g=255\r\ncolor_b=255\r\nsize=20\r\nbold=1\r\n"
                                        L"[FILE_PROGRESS]\r\nx=20\r\ny=100\r\nimage=file.png\r\n"
                                        L"[UPDATE_PROGRESS]\r\nx=20\r\ny=120\r\nimage=update.png\r\n")));
  }
  SelfUpdateJob::Options SlowOptions() {
    SelfUpdateJob::Options options;
    options.stall_limit_ms = 60000;
    return options;
  }
  void ExpectUntouched(const char* when) {
    EXPECT_EQ(old_, launcher_.RealFiles()) << when;
    EXPECT_EQ(static_cast<unsigned>(LauncherInstallation::kOldVersion), ReadLauncherInfoVersion()) << when;
  }

  LauncherInstallation launcher_;
  FileTree old_;
};

TEST_F(SelfUpdaterDlgTest, PlainLookShowsTheNameAndProgressMidDownloadAndEscapeStopsIt) {
  launcher_.Script(R"({"stall_after": 4000, "stall_seconds": 30})");
  SelfUpdaterDlg dialog(SlowOptions());
  dialog.Create(SelfUpdaterDlg::kPlainWidth, SelfUpdaterDlg::kPlainHeight);
  PngImage shot;
  INT_PTR modal = RunModalScript(dialog, [&] {
    ASSERT_TRUE(PumpUntil([&] { return dialog.file_bar_width() > 0; }));
    EXPECT_FALSE(dialog.skinned());
    EXPECT_EQ(L"game.2.cab", dialog.shown_name());
    EXPECT_EQ(0, dialog.update_bar_width());
    EXPECT_LT(dialog.file_bar_width(), SelfUpdaterDlg::kPlainBarWidth);
    PumpUntil([] { return false; }, 200);  // a few frames: the repaint reaches the screen
    shot = CaptureWindow(dialog.GetHwnd());
    PostMessageW(dialog.GetHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  EXPECT_EQ(IDOK, modal);
  EXPECT_EQ(kSelfUpdateAborted, dialog.result());
  ExpectUntouched("escape");
  ASSERT_EQ(static_cast<uint32_t>(SelfUpdaterDlg::kPlainWidth), shot.width);
  EXPECT_TRUE(SaveScreenshot(shot, L"self_update.png"));
  EXPECT_EQ(0x3D87BEu, PixelAt(shot, 5, 5));      // the plain back colour
  EXPECT_EQ(0x18629Au, PixelAt(shot, 23, 196));   // the file bar's frame
  EXPECT_EQ(0xFEC626u, PixelAt(shot, 25, 200));   // its fill
  EXPECT_EQ(0x93E7F9u, PixelAt(shot, 373, 200));  // not filled at its end
  EXPECT_EQ(0x93E7F9u, PixelAt(shot, 25, 215));   // the update bar, empty
}

TEST_F(SelfUpdaterDlgTest, ClosedBeforeTheFirstByteOrAtOnceTheUpdateIsAborted) {
  struct Case {
    const char* when;
    std::string rule;
    UINT message;
    WPARAM wparam;
  } cases[] = {
      {"alt+f4 before the answer", R"({"delay_before": 30})", WM_SYSCOMMAND, SC_CLOSE},
      // The answer is held back so that the close always comes first, however slow the machine.
      {"close at once", R"({"delay_before": 30})", WM_CLOSE, 0},
  };
  for (const Case& c : cases) {
    launcher_.Script(c.rule);
    SelfUpdaterDlg dialog(SlowOptions());
    dialog.Create(SelfUpdaterDlg::kPlainWidth, SelfUpdaterDlg::kPlainHeight);
    INT_PTR modal = RunModalScript(dialog, [&] { PostMessageW(dialog.GetHwnd(), c.message, c.wparam, 0); });
    EXPECT_EQ(IDOK, modal) << c.when;
    EXPECT_EQ(kSelfUpdateAborted, dialog.result()) << c.when;
    ExpectUntouched(c.when);
  }
}

TEST_F(SelfUpdaterDlgTest, SkinnedLookTakesItsBackgroundAndBarImages) {
  WriteSkin();
  launcher_.Script(R"({"stall_after": 4000, "stall_seconds": 30})");
  SelfUpdaterDlg dialog(SlowOptions());
  dialog.Create(SelfUpdaterDlg::kPlainWidth, SelfUpdaterDlg::kPlainHeight);
  PngImage shot;
  RunModalScript(dialog, [&] {
    ASSERT_TRUE(PumpUntil([&] { return dialog.file_bar_width() > 0; }));
    EXPECT_TRUE(dialog.skinned());
    EXPECT_LT(dialog.file_bar_width(), 280);
    PumpUntil([] { return false; }, 200);
    shot = CaptureWindow(dialog.GetHwnd());
    PostMessageW(dialog.GetHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  EXPECT_EQ(kSelfUpdateAborted, dialog.result());
  ASSERT_EQ(320u, shot.width);
  ASSERT_EQ(160u, shot.height);
  EXPECT_TRUE(SaveScreenshot(shot, L"self_update_skinned.png"));
  EXPECT_EQ(0x204060u, PixelAt(shot, 5, 5));
  EXPECT_EQ(0xE02020u, PixelAt(shot, 21, 103));   // the file bar's image over its width
  EXPECT_EQ(0x204060u, PixelAt(shot, 298, 103));  // not yet at its end
  EXPECT_EQ(0x204060u, PixelAt(shot, 21, 123));   // the update bar waits for the download
}

TEST_F(SelfUpdaterDlgTest, RunsTheUpdateToItsEndAndEndsItself) {
  SelfUpdaterDlg dialog(SlowOptions());
  dialog.Create(SelfUpdaterDlg::kPlainWidth, SelfUpdaterDlg::kPlainHeight);
  INT_PTR modal = RunModalScript(dialog, [] {});
  EXPECT_EQ(IDOK, modal);
  EXPECT_EQ(kSelfUpdateDone, dialog.result());
  EXPECT_EQ(static_cast<unsigned>(LauncherInstallation::kNewVersion), ReadLauncherInfoVersion());
}

TEST_F(SelfUpdaterDlgTest, TheTemporaryCopyFetchesTheAnnouncedVersionFirst) {
  // No catalogue folder number was asked for, so the launcher information cannot be fetched: 2.
  SetGameInfoNumber(0);
  EXPECT_EQ(kSelfUpdateNoPackage, RunSelfUpdaterDialog());
  EXPECT_EQ("", launcher_.Requests());

  // With it, the update runs, and the session has the announced version once the dialog is over.
  SetGameInfoNumber(LauncherInstallation::kCatalogueFolder);
  SetGameVersion(0);
  EXPECT_EQ(kSelfUpdateDone, RunSelfUpdaterDialog());
  EXPECT_EQ(LauncherInstallation::kNewVersion, GetSessionValues().GameVersion);
  EXPECT_EQ(static_cast<unsigned>(LauncherInstallation::kNewVersion), ReadLauncherInfoVersion());
}

// A server that takes the request for the launcher information and says nothing: the dialog is up and its
// window answers at once from another thread while the worker waits, and closing it ends the update at once.
TEST_F(SelfUpdaterDlgTest, TheWindowAnswersWhileTheLauncherInformationIsAwaitedAndACloseEndsIt) {
  launcher_.Script("{}", R"({"delay_before": 60})");
  bool answered = false;
  DWORD closed_at = 0;
  std::thread prober([&] {
    HWND window = nullptr;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(10)) {
      window = FindWindowW(nullptr, kSelfUpdateDialogCaption);  // this program's only window of that name
      if (window != nullptr && !launcher_.Requests().empty())
        break;
    }
    DWORD_PTR reply = 0;
    answered =
        window != nullptr && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &reply) != 0;
    closed_at = GetTickCount();
    if (window != nullptr)
      PostMessageW(window, WM_CLOSE, 0, 0);
  });
  const SelfUpdateState state = RunSelfUpdaterDialog();
  const DWORD ended_at = GetTickCount();
  prober.join();
  EXPECT_TRUE(answered);
  EXPECT_EQ(kSelfUpdateAborted, state);
  EXPECT_LT(ended_at - closed_at, 2000u);
  EXPECT_EQ(std::string::npos, launcher_.Requests().find("game.2.cab")) << launcher_.Requests();
  ExpectUntouched("closed while the launcher information was awaited");
}

}  // namespace
