#include "tests/engine/FileCallCounter.h"

#include <windows.h>

#include <atomic>
#include <cstring>

#include "engine/SystemCalls.h"

namespace file_call_counter {

namespace {

std::atomic<uint64_t> g_missing_names{0};
std::atomic<uint64_t> g_directory_searches{0};
std::atomic<uint64_t> g_named_calls{0};

// The real calls, taken from kernel32 before any import is changed.
decltype(&GetFileAttributesW) g_get_attributes;
decltype(&GetFileAttributesExW) g_get_attributes_ex;
decltype(&SetFileAttributesW) g_set_attributes;
decltype(&CreateFileW) g_create_file;
decltype(&DeleteFileW) g_delete_file;
decltype(&MoveFileExW) g_move_file;
decltype(&CreateDirectoryW) g_create_directory;
decltype(&FindFirstFileW) g_find_first;
decltype(&SetFileInformationByHandle) g_set_information;

// Counts one named call, and one look-up when `path` is not there now.
void CountName(const wchar_t* path) {
  g_named_calls.fetch_add(1, std::memory_order_relaxed);
  if (path == nullptr)
    return;
  const DWORD saved = GetLastError();
  if (g_get_attributes(path) == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
      g_missing_names.fetch_add(1, std::memory_order_relaxed);
  }
  SetLastError(saved);
}

DWORD WINAPI CountedGetAttributes(LPCWSTR path) {
  CountName(path);
  return g_get_attributes(path);
}

BOOL WINAPI CountedGetAttributesEx(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID data) {
  CountName(path);
  return g_get_attributes_ex(path, level, data);
}

BOOL WINAPI CountedSetAttributes(LPCWSTR path, DWORD attributes) {
  CountName(path);
  return g_set_attributes(path, attributes);
}

HANDLE WINAPI CountedCreateFile(LPCWSTR path,
                                DWORD access,
                                DWORD share,
                                LPSECURITY_ATTRIBUTES security,
                                DWORD disposition,
                                DWORD flags,
                                HANDLE model) {
  CountName(path);
  return g_create_file(path, access, share, security, disposition, flags, model);
}

BOOL WINAPI CountedDeleteFile(LPCWSTR path) {
  CountName(path);
  return g_delete_file(path);
}

BOOL WINAPI CountedMoveFile(LPCWSTR source, LPCWSTR target, DWORD flags) {
  CountName(source);
  CountName(target);
  return g_move_file(source, target, flags);
}

BOOL WINAPI CountedCreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security) {
  CountName(path);
  return g_create_directory(path, security);
}

HANDLE WINAPI CountedFindFirst(LPCWSTR pattern, LPWIN32_FIND_DATAW found) {
  g_directory_searches.fetch_add(1, std::memory_order_relaxed);
  return g_find_first(pattern, found);
}

BOOL WINAPI CountedSetInformation(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
  if (kind == FileRenameInfo && info != nullptr) {
    // The new name is not terminated in the record.
    const FILE_RENAME_INFO* rename = static_cast<const FILE_RENAME_INFO*>(info);
    wchar_t target[MAX_PATH];
    const size_t length = rename->FileNameLength / sizeof(wchar_t);
    if (length < MAX_PATH) {
      std::memcpy(target, rename->FileName, length * sizeof(wchar_t));
      target[length] = L'\0';
      CountName(target);
    }
  }
  return g_set_information(file, kind, info, size);
}

struct Hook {
  const char* name;
  void** real;
  void* counted;
};

template <typename Function>
Hook MakeHook(const char* name, Function* real, Function counted) {
  return Hook{name, reinterpret_cast<void**>(real), reinterpret_cast<void*>(counted)};
}

// Points every import slot of `module` that holds one of the real calls at its counting wrapper.
bool PatchImports(HMODULE module, const Hook* hooks, size_t count) {
  BYTE* base = reinterpret_cast<BYTE*>(module);
  const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const IMAGE_NT_HEADERS* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0)
    return true;
  for (const IMAGE_IMPORT_DESCRIPTOR* library =
           reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       library->Name != 0; ++library) {
    for (IMAGE_THUNK_DATA* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
         slot->u1.Function != 0; ++slot) {
      for (size_t i = 0; i < count; ++i) {
        if (reinterpret_cast<void*>(slot->u1.Function) != *hooks[i].real)
          continue;
        DWORD old = 0;
        if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old))
          return false;
        slot->u1.Function = reinterpret_cast<ULONG_PTR>(hooks[i].counted);
        VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
      }
    }
  }
  return true;
}

}  // namespace

bool Install(const wchar_t* patch_library_path) {
  const Hook hooks[] = {
      MakeHook("GetFileAttributesW", &g_get_attributes, &CountedGetAttributes),
      MakeHook("GetFileAttributesExW", &g_get_attributes_ex, &CountedGetAttributesEx),
      MakeHook("SetFileAttributesW", &g_set_attributes, &CountedSetAttributes),
      MakeHook("CreateFileW", &g_create_file, &CountedCreateFile),
      MakeHook("DeleteFileW", &g_delete_file, &CountedDeleteFile),
      MakeHook("MoveFileExW", &g_move_file, &CountedMoveFile),
      MakeHook("CreateDirectoryW", &g_create_directory, &CountedCreateDirectory),
      MakeHook("FindFirstFileW", &g_find_first, &CountedFindFirst),
      MakeHook("SetFileInformationByHandle", &g_set_information, &CountedSetInformation),
  };
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  for (const Hook& hook : hooks) {
    *hook.real = reinterpret_cast<void*>(GetProcAddress(kernel, hook.name));
    if (*hook.real == nullptr)
      return false;
  }
  const size_t count = sizeof hooks / sizeof hooks[0];
  HMODULE patch_library = LoadLibraryW(patch_library_path);
  if (!PatchImports(GetModuleHandleW(nullptr), hooks, count) ||
      (patch_library != nullptr && !PatchImports(patch_library, hooks, count)))
    return false;
  // The engine's table was filled from the imports before main ran.
  SystemCallTable& calls = system_calls();
  calls.create_file = &CountedCreateFile;
  calls.move_file = &CountedMoveFile;
  calls.delete_file = &CountedDeleteFile;
  calls.set_file_information = &CountedSetInformation;
  return true;
}

Counts Read() {
  Counts counts;
  counts.missing_names = g_missing_names.load();
  counts.directory_searches = g_directory_searches.load();
  counts.named_calls = g_named_calls.load();
  return counts;
}

}  // namespace file_call_counter
