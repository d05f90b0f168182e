#include "app/games/CDllLoader.h"

#include <string>

namespace {

CDllLoader g_loaders[5];
std::wstring g_library_folder;

// Binds one export; false when it is missing (the pointer stays null).
template <typename Function>
bool BindExport(HMODULE module, const char* name, Function* pointer) {
  FARPROC address = GetProcAddress(module, name);
  if (address == nullptr)
    return false;
  *pointer = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
  return true;
}

}  // namespace

CDllLoader::~CDllLoader() {
  Release();
}

bool CDllLoader::Load(int32_t loader_type) {
  loader_type_ = loader_type;
  const wchar_t* name = EngineLibraryName(loader_type);
  if (name == nullptr)
    return false;
  if (module_ == nullptr) {
    std::wstring path = g_library_folder.empty() ? name : g_library_folder + L"\\" + name;
    module_ = LoadLibraryW(path.c_str());
    if (module_ == nullptr)
      return false;
  }
  return BindExport(module_, "qvCreateUpdater", &create) && BindExport(module_, "qvRemoveUpdater", &remove) &&
         BindExport(module_, "qvStartUpdater", &start) && BindExport(module_, "qvStopUpdater", &stop) &&
         BindExport(module_, "qvPauseUpdater", &pause) && BindExport(module_, "qvResumeUpdater", &resume) &&
         BindExport(module_, "qvFullCheck", &full_check) &&
         BindExport(module_, "qvDownloadInfo", &download_info);
}

void CDllLoader::Release() {
  if (module_ != nullptr)
    FreeLibrary(module_);
  module_ = nullptr;
  create = nullptr;
  remove = nullptr;
  start = nullptr;
  stop = nullptr;
  pause = nullptr;
  resume = nullptr;
  full_check = nullptr;
  download_info = nullptr;
  loader_type_ = 1;
}

const wchar_t* EngineLibraryName(int32_t loader_type) {
  static const wchar_t* const kNames[] = {nullptr, L"QVTesserel.dll", L"DravikUpdater.dll",
                                          L"QVMelwyrUpdater.dll", L"QVPackUpdater.dll"};
  return loader_type >= 0 && loader_type < 5 ? kNames[loader_type] : nullptr;
}

CDllLoader* GetDllLoader(int32_t loader_type) {
  return loader_type >= 0 && loader_type < 5 ? &g_loaders[loader_type] : nullptr;
}

void ReleaseDllLoaders() {
  for (CDllLoader& loader : g_loaders)
    loader.Release();
}

void SetEngineLibraryFolder(const wchar_t* folder) {
  g_library_folder = folder != nullptr ? folder : L"";
}
