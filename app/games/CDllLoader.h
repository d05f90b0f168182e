// The update-engine libraries: one binder per loader type, in a process-wide table of five (loader types 0 to
// 4). A game's loader type (catalogue field 18) names the library that updates it:
//   0 none (the game has no engine)   1 "QVTesserel.dll"   2 "DravikUpdater.dll"
//   3 "QVMelwyrUpdater.dll"           4 "QVPackUpdater.dll"
// Every library offers the same eight exports (engine/QVTesserel.h), bound by name.
//
// A library, once loaded, stays loaded until ReleaseDllLoaders at shutdown, also when its binding failed:
// the exports found before the first missing one stay usable, the others stay null, and callers skip a call
// whose pointer is null.
//
// Thread: the user-interface thread only (the table is unguarded). The export pointers are read by the games'
// update operations on that thread.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/EngineExports.h"

// The export pointers (EngineExports) are the binder's public members.
class CDllLoader : public EngineExports {
 public:
  CDllLoader() = default;
  virtual ~CDllLoader();
  CDllLoader(const CDllLoader&) = delete;
  CDllLoader& operator=(const CDllLoader&) = delete;

  // Stores `loader_type`; outside 1..4: false. Loads the type's library (from the library folder when one
  // is set, see SetEngineLibraryFolder); failure: false. Then binds the exports in the order create, remove,
  // start, stop, pause, resume, full check, download info, each stored as it is found; the first missing one
  // ends the binding with false (the library stays loaded). True when all eight were found.
  bool Load(int32_t loader_type);
  // Frees a loaded library and clears every pointer; the loader type returns to 1.
  void Release();
  bool IsLoaded() const { return module_ != nullptr; }
  int32_t loader_type() const { return loader_type_; }

 private:
  HMODULE module_ = nullptr;  // owned: freed by Release and the destructor
  int32_t loader_type_ = 1;
};

// The library file name of `loader_type`, or null for 0 and unknown types.
const wchar_t* EngineLibraryName(int32_t loader_type);
// The binder of `loader_type` (0..4), or null outside that range.
CDllLoader* GetDllLoader(int32_t loader_type);
// Frees every loaded library (shutdown, after every engine was stopped and removed).
void ReleaseDllLoaders();
// Where the libraries are loaded from: null or empty (the default) loads them by bare file name, found beside
// the program; tests point it at folders of test libraries. The text is copied.
void SetEngineLibraryFolder(const wchar_t* folder);
