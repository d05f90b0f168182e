// The outside binary-patch library "patchw32.dll", bound at run time: LoadLibrary at the first patch, then
// its ordinal 1 through GetProcAddress(MAKEINTRESOURCEA(1)). Binding at run time instead of through an
// import library keeps QVTesserel.dll loadable when the patch library is missing: every patch then fails and
// the worker fetches the whole file instead.
//
// The library is looked for beside the module that holds this code (QVTesserel.dll, which is installed with
// it), then on the process's library search path.
//
// The call: int __stdcall (8-bit command line, progress callback, 1), 0 when the patch was applied. The
// progress callback is __stdcall with two 32-bit arguments, ignored, returning an empty 8-bit text.
//
// Threads: one owner thread (the engine's worker). The module stays loaded until the object ends.
#pragma once

#include <windows.h>

class PatchLibrary {
 public:
  // The result of Apply when the library or its ordinal 1 cannot be had.
  static constexpr int kNotAvailable = -1;

  PatchLibrary() = default;
  ~PatchLibrary();
  PatchLibrary(const PatchLibrary&) = delete;
  PatchLibrary& operator=(const PatchLibrary&) = delete;

  // Loads the library when not yet loaded and calls ordinal 1 with `command_line`. The library's result (0
  // applied), or kNotAvailable.
  int Apply(const char* command_line);

 private:
  typedef const char*(__stdcall* ProgressCallback)(unsigned int, unsigned int);
  typedef int(__stdcall* ApplyFunction)(const char* command_line, ProgressCallback progress, int reserved);

  bool Load();
  static const char* __stdcall IgnoreProgress(unsigned int, unsigned int);

  HMODULE module_ = nullptr;
  ApplyFunction apply_ = nullptr;
};
