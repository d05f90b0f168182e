#include "app/games/CDllLoader.h"

#include <string>

namespace {

CDllLoader g_loaders[5];
std::wstring g_library_folder;

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
  return BindEngineExports(module_, this) == nullptr;
}

void CDllLoader::Release() {
  if (module_ != nullptr)
    FreeLibrary(module_);
  module_ = nullptr;
  static_cast<EngineExports&>(*this) = EngineExports();
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
