// The library's entry and its eight exports (names and ordinals in QVTesserel.def). Each export hands its
// argument to the engine object and stops any exception at the boundary.
#include <windows.h>

#include <curl/curl.h>

#include "engine/CUpdater.h"
#include "engine/QVTesserel.h"
#include "net/CurlMemory.h"
#include "net/HttpFileDownloader.h"

namespace {

HMODULE g_engine_module = nullptr;

CUpdater* AsUpdater(UpdaterHandle handle) {
  return static_cast<CUpdater*>(handle);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  switch (reason) {
    case DLL_PROCESS_ATTACH: {
      // The wide system calls work on the 4.x systems only through the Unicode layer.
      DWORD version = GetVersion();
      if (LOBYTE(LOWORD(version)) == 4)
        LoadLibraryA("unicows.dll");
      g_engine_module = instance;
      // CURL_GLOBAL_WIN32 also starts Windows Sockets, which host resolution needs. The downloader's
      // receive buffer is kept from one file to the next (CurlMemory.h says why).
      InitCurlKeepingReceiveBuffer(CURL_GLOBAL_WIN32, HttpFileDownloader::kReceiveBufferBytes);
      break;
    }
    case DLL_PROCESS_DETACH:
      CleanupCurlMemory();
      break;
    default:
      break;
  }
  return TRUE;
}

extern "C" {

UpdaterHandle QV_CALL qvCreateUpdater(const UpdaterParams* params) {
  try {
    return CUpdater::Create(params);
  } catch (...) {
    return nullptr;
  }
}

int QV_CALL qvRemoveUpdater(UpdaterHandle handle) {
  try {
    return CUpdater::Remove(AsUpdater(handle));
  } catch (...) {
    return UpdaterResultOk;
  }
}

int QV_CALL qvStartUpdater(UpdaterHandle handle) {
  try {
    return CUpdater::StartUpdater(AsUpdater(handle));
  } catch (...) {
    return UpdaterResultStartFailed;
  }
}

int QV_CALL qvStopUpdater(UpdaterHandle handle) {
  try {
    return CUpdater::StopUpdater(AsUpdater(handle));
  } catch (...) {
    return UpdaterResultOk;
  }
}

int QV_CALL qvFullCheck(UpdaterHandle handle) {
  try {
    return CUpdater::FullCheck(AsUpdater(handle));
  } catch (...) {
    return UpdaterResultStartFailed;
  }
}

int QV_CALL qvPauseUpdater(UpdaterHandle handle) {
  try {
    return CUpdater::PauseUpdater(AsUpdater(handle));
  } catch (...) {
    return UpdaterResultOk;
  }
}

int QV_CALL qvResumeUpdater(UpdaterHandle handle) {
  try {
    return CUpdater::ResumeUpdater(AsUpdater(handle));
  } catch (...) {
    return UpdaterResultOk;
  }
}

UpdateStatus* QV_CALL qvDownloadInfo(UpdaterHandle handle) {
  return CUpdater::DownloadInfo(AsUpdater(handle));
}

}  // extern "C"
