// Seconds for a launcher package of 50 MB in 300 files: the download, the check and extraction into the
// staging folder, and the whole self-update (download, check, extraction, moves with the old files copied
// aside), each against gcab extracting the same cabinet on the host.
#include <windows.h>

#include <curl/curl.h>

#include <cstdio>
#include <string>

#include "app/launcherupdate/SelfUpdateWorker.h"
#include "app/session/SessionValues.h"
#include "base/TextFields.h"
#include "selfupdate/CabinetCheck.h"
#include "selfupdate/GameInfoVersion.h"
#include "selfupdate/LauncherInfo.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

namespace {

using namespace testing_support;

constexpr int kFiles = 300;
constexpr size_t kFileBytes = 50u * 1024 * 1024 / kFiles;

double Seconds(LARGE_INTEGER start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

// Text-like content: compresses about as well as program files and resources do.
std::string FileContent(int index) {
  std::string bytes(kFileBytes, '\0');
  uint32_t state = 2166136261u ^ static_cast<uint32_t>(index);
  for (size_t i = 0; i < bytes.size(); ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = static_cast<char>("abcdefghijklmnop \n\t0123456789ABCDEF"[(state >> 16) % 36]);
  }
  return bytes;
}

}  // namespace

int main() {
  curl_global_init(CURL_GLOBAL_ALL);
  TempFolder root(L"bench-self-update");
  const std::wstring source = root.Join(L"source"), served = root.Join(L"served\\system");
  const std::wstring real = root.Join(L"launcher"), temp = real + L"\\launcher_update_temp";
  MakeFolders(served);
  MakeFolders(temp);
  // The worker learns the version to install from the launcher information first.
  WriteFileBytes(root.Join(L"served\\GameInfo\\7\\GGI_0_game.info"), "1\r\nlauncher#2,0\r\n");
  std::string names;
  for (int i = 0; i < kFiles; ++i) {
    const std::wstring name =
        L"data\\part" + std::to_wstring(i / 50) + L"\\file" + std::to_wstring(i) + L".bin";
    WriteFileBytes(source + L"\\" + name, FileContent(i));
    WriteFileBytes(real + L"\\" + name, "old");
    names += " data/part" + std::to_string(i / 50) + "/file" + std::to_string(i) + ".bin";
  }
  const std::string cabinet = UnixPathOf(served + L"\\game.2.cab");
  std::string output;
  LARGE_INTEGER start = Now();
  if (RunUnixCommand("cd " + ShellQuote(UnixPathOf(source)) + " && gcab -c -z " + ShellQuote(cabinet) + names,
                     &output, 600000) != 0) {
    std::printf("gcab failed: %s\n", output.c_str());
    return 1;
  }
  WIN32_FILE_ATTRIBUTE_DATA package = {};
  GetFileAttributesExW((served + L"\\game.2.cab").c_str(), GetFileExInfoStandard, &package);
  std::printf("package: %d files, %.1f MB unpacked, %.1f MB as MSZIP, made by gcab in %.2f s\n", kFiles,
              kFiles * kFileBytes / 1048576.0, package.nFileSizeLow / 1048576.0, Seconds(start));

  const std::wstring gcab_out = root.Join(L"gcab-out");
  MakeFolders(gcab_out);
  start = Now();
  RunUnixCommand("cd " + ShellQuote(UnixPathOf(gcab_out)) + " && gcab -x " + ShellQuote(cabinet), &output,
                 600000);
  std::printf("gcab -x (host, includes starting it):        %.2f s\n", Seconds(start));

  const std::wstring extracted = root.Join(L"extracted");
  MakeFolders(extracted);
  start = Now();
  const int checked = CheckAndExtractCabinet((served + L"\\game.2.cab").c_str(), extracted.c_str());
  std::printf("block check and extraction (FDI):            %.2f s (result %d)\n", Seconds(start), checked);
  start = Now();
  CheckCabinetBlocks((served + L"\\game.2.cab").c_str());
  std::printf("  of which the block check alone:            %.2f s\n", Seconds(start));

  FixtureServer server;
  if (!server.Start("http_server.py", {"--root", UnixPathOf(root.Join(L"served"))})) {
    std::printf("server did not start\n");
    return 1;
  }
  SetCurrentDirectoryW(temp.c_str());
  SetLauncherInfoPath((real + L"\\ZEPHLauncherInfo.ini").c_str());
  CopyToField(GetSessionValues().LUpdateAddr, Utf8ToWide(server.endpoint()).c_str());
  CopyToField(GetSessionValues().GameID, L"game");
  SetGameInfoNumber(7);
  SelfUpdateJob job;
  start = Now();
  const int state = job.RunSelfUpdate();
  std::printf("whole self-update (download, check, extraction, moves): %.2f s (state %d)\n", Seconds(start),
              state);
  SetCurrentDirectoryW(root.path().c_str());
  server.Stop();
  curl_global_cleanup();
  return state;
}
