// The eight exports of an update-engine library, bound by name from a loaded module: one binding for every
// caller of the libraries (the launcher's loaders, the engine's test caller, the tests).
//
// Header only: a caller needs no part of the engine to bind it. Any thread; the module stays the caller's.
#pragma once

#include <windows.h>

#include "engine/QVTesserel.h"

struct EngineExports {
  qvCreateUpdaterFunction create = nullptr;
  qvRemoveUpdaterFunction remove = nullptr;
  qvStartUpdaterFunction start = nullptr;
  qvStopUpdaterFunction stop = nullptr;
  qvPauseUpdaterFunction pause = nullptr;
  qvResumeUpdaterFunction resume = nullptr;
  qvFullCheckFunction full_check = nullptr;
  qvDownloadInfoFunction download_info = nullptr;
};

namespace engine_exports {

template <typename Function>
bool BindOne(HMODULE module, const char* name, Function* pointer) {
  *pointer = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  return *pointer != nullptr;
}

}  // namespace engine_exports

// Binds the exports in the order create, remove, start, stop, pause, resume, full check, download info, each
// stored as it is found. The first missing one ends the binding (the later pointers stay as they were) and its
// name is returned; null when all eight were found.
inline const char* BindEngineExports(HMODULE module, EngineExports* exports) {
  using engine_exports::BindOne;
  if (!BindOne(module, "qvCreateUpdater", &exports->create))
    return "qvCreateUpdater";
  if (!BindOne(module, "qvRemoveUpdater", &exports->remove))
    return "qvRemoveUpdater";
  if (!BindOne(module, "qvStartUpdater", &exports->start))
    return "qvStartUpdater";
  if (!BindOne(module, "qvStopUpdater", &exports->stop))
    return "qvStopUpdater";
  if (!BindOne(module, "qvPauseUpdater", &exports->pause))
    return "qvPauseUpdater";
  if (!BindOne(module, "qvResumeUpdater", &exports->resume))
    return "qvResumeUpdater";
  if (!BindOne(module, "qvFullCheck", &exports->full_check))
    return "qvFullCheck";
  if (!BindOne(module, "qvDownloadInfo", &exports->download_info))
    return "qvDownloadInfo";
  return nullptr;
}
