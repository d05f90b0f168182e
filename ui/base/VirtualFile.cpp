#include "ui/base/VirtualFile.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "ui/base/AsciiCase.h"
#include "ui/base/FileObject.h"
#include "ui/base/PackObject.h"
#include "ui/base/TLinkedList.h"

namespace {

// Every archive ever opened during this run (failed ones too, so they are not retried), and the open files.
// Files point into archives, so files are always deleted first.
TLinkedList<PackObject> g_open_packs;
TLinkedList<FileObject> g_open_files;

TLinkedList<FileObject>::Node* FindOpenNode(const FileObject* file) {
  for (TLinkedList<FileObject>::Node* node = g_open_files.head(); node != nullptr; node = node->next) {
    if (node->item == file && file != nullptr)
      return node;
  }
  return nullptr;
}

FileObject* OpenLooseFile(const wchar_t* path) {
  TLinkedList<FileObject>::Node* node = g_open_files.AddNew();
  if (node == nullptr)
    return nullptr;
  if (node->item == nullptr || !node->item->OpenLoose(path)) {
    g_open_files.Remove(node);
    return nullptr;
  }
  return node->item;
}

// The archive that stands for `directory`, opened on first need; null when it is not usable.
PackObject* FindOrOpenPack(const wchar_t* directory) {
  for (TLinkedList<PackObject>::Node* node = g_open_packs.head(); node != nullptr; node = node->next) {
    if (node->item != nullptr && EqualsIgnoringAsciiCase(node->item->directory(), directory))
      return node->item->handle() != nullptr ? node->item : nullptr;
  }
  TLinkedList<PackObject>::Node* node = g_open_packs.AddNew();
  if (node == nullptr)
    return nullptr;
  if (node->item == nullptr) {
    g_open_packs.Remove(node);
    return nullptr;
  }
  // A failed archive stays in the list with its directory, so it is never read again during this run.
  return node->item->Open(directory) ? node->item : nullptr;
}

FileObject* OpenPackEntry(const wchar_t* path) {
  wchar_t directory[MAX_PATH];
  std::wcscpy(directory, path);  // The caller has checked that the path fits.
  wchar_t* last_backslash = std::wcsrchr(directory, L'\\');
  if (last_backslash == nullptr)
    return nullptr;
  *last_backslash = 0;
  const wchar_t* entry_name = last_backslash + 1;
  PackObject* pack = FindOrOpenPack(directory);
  const PackEntry* entry = pack != nullptr ? pack->FindEntry(entry_name) : nullptr;
  if (entry == nullptr)
    return nullptr;
  TLinkedList<FileObject>::Node* node = g_open_files.AddNew();
  if (node == nullptr)
    return nullptr;
  if (node->item == nullptr || !node->item->OpenEntry(path, pack, entry)) {
    g_open_files.Remove(node);
    return nullptr;
  }
  return node->item;
}

}  // namespace

FileObject* OpenVirtualFile(const wchar_t* path) {
  if (path == nullptr || std::wcslen(path) >= MAX_PATH)
    return nullptr;
  FileObject* file = FindOpenVirtualFile(path);
  if (file != nullptr) {
    file->AddReference();
    return file;
  }
  file = OpenLooseFile(path);
  return file != nullptr ? file : OpenPackEntry(path);
}

uint32_t VirtualFileSize(FileObject* file) {
  return FindOpenNode(file) != nullptr ? file->size() : 0;
}

int ReadVirtualFile(FileObject* file, uint32_t position, void* buffer, uint32_t length) {
  return FindOpenNode(file) != nullptr ? file->Read(position, buffer, length) : 0;
}

void CloseVirtualFile(FileObject* file) {
  TLinkedList<FileObject>::Node* node = FindOpenNode(file);
  if (node != nullptr && file->DropReference() <= 0)
    g_open_files.Remove(node);
}

void ReleaseAllVirtualFiles() {
  g_open_files.RemoveAll();
  g_open_packs.RemoveAll();
}

FileObject* FindOpenVirtualFile(const wchar_t* path) {
  if (path == nullptr)
    return nullptr;
  for (TLinkedList<FileObject>::Node* node = g_open_files.head(); node != nullptr; node = node->next) {
    if (node->item != nullptr && EqualsIgnoringAsciiCase(node->item->path(), path))
      return node->item;
  }
  return nullptr;
}
