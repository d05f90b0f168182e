#include "engine/PatchLibrary.h"

#include <cwchar>

#include "engine/EngineFiles.h"

namespace {

constexpr wchar_t kLibraryName[] = L"patchw32.dll";

// The folder of the module that holds this code, with a trailing backslash; empty when unknown.
bool ThisModuleFolder(wchar_t (&folder)[MAX_PATH]) {
  folder[0] = L'\0';
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&ThisModuleFolder), &module))
    return false;
  DWORD length = GetModuleFileNameW(module, folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    folder[0] = L'\0';
    return false;
  }
  wchar_t* cut = wcsrchr(folder, L'\\');
  if (cut == nullptr) {
    folder[0] = L'\0';
    return false;
  }
  cut[1] = L'\0';
  return true;
}

}  // namespace

PatchLibrary::~PatchLibrary() {
  if (module_ != nullptr)
    FreeLibrary(module_);
}

const char* __stdcall PatchLibrary::IgnoreProgress(unsigned int, unsigned int) {
  return "";
}

bool PatchLibrary::Load() {
  if (apply_ != nullptr)
    return true;
  if (module_ == nullptr) {
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    if (ThisModuleFolder(folder) && engine_files::ConcatTexts(path, MAX_PATH, {folder, kLibraryName}))
      module_ = LoadLibraryW(path);
    if (module_ == nullptr)
      module_ = LoadLibraryW(kLibraryName);
    if (module_ == nullptr)
      return false;
  }
  apply_ = reinterpret_cast<ApplyFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(module_, MAKEINTRESOURCEA(1))));
  return apply_ != nullptr;
}

int PatchLibrary::Apply(const char* command_line) {
  if (!Load())
    return kNotAvailable;
  return apply_(command_line, &PatchLibrary::IgnoreProgress, 1);
}
