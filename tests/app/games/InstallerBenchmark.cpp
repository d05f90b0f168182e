// Times one installer download through GameInstallerDownloader (its thread, its sink, its file writes).
//   bench_installer_download <url> <file>
// Prints "seconds bytes" on success; driven by scripts/bench-installer, which serves the file with nginx and
// times curl fetching the same URL.
#include <curl/curl.h>
#include <windows.h>

#include <cstdio>

#include "app/games/GameInstallerDownloader.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_installer_download <url> <file>\n");
    return 2;
  }
  curl_global_init(CURL_GLOBAL_ALL);
  DeleteFileW(argv[2]);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  int result = 1;
  {
    GameInstallerDownloader downloader;
    if (downloader.Prepare(argv[1], argv[2]) == 1 && downloader.CheckExisting() == 0 &&
        downloader.Start() == 1) {
      while (downloader.IsRunning())
        Sleep(5);
      DownloaderProgress progress{};
      downloader.GetProgress(&progress);
      QueryPerformanceCounter(&end);
      if (progress.state == kDownloaderDone) {
        std::printf("%.3f %lld\n", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart),
                    static_cast<long long>(progress.done));
        result = 0;
      }
    }
  }
  curl_global_cleanup();
  return result;
}
