// The installer download: one local file, one transfer thread.
#include "app/games/GameInstallerDownloader.h"

#include <process.h>

#include <cwchar>

namespace {

std::atomic<InstallerWriteFunction> g_write{nullptr};

// Copies `text` when it is not empty and fits `units` with its terminator.
bool CopyWhole(wchar_t* field, size_t units, const wchar_t* text) {
  size_t length = text != nullptr ? std::wcslen(text) : 0;
  if (length == 0 || length >= units)
    return false;
  std::wmemcpy(field, text, length + 1);
  return true;
}

}  // namespace

void SetInstallerWriteFunction(InstallerWriteFunction write) {
  g_write.store(write);
}

GameInstallerDownloader::GameInstallerDownloader() = default;

GameInstallerDownloader::~GameInstallerDownloader() {
  if (!IsRunning())
    CloseFile();
  downloader_.Cancel();
  if (thread_)
    WaitForSingleObject(thread_.get(), INFINITE);
  // The thread closed the file as its last step; a thread that never ran left it to us.
  CloseFile();
}

int GameInstallerDownloader::Prepare(const wchar_t* url, const wchar_t* path) {
  if (IsFileOpen() || IsRunning() || !CopyWhole(url_, kUrlUnits, url) || !CopyWhole(path_, kPathUnits, path))
    return 0;
  HANDLE file = CreateFileW(path_, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return 0;
  LARGE_INTEGER size{};
  LARGE_INTEGER end{};
  if (!GetFileSizeEx(file, &size) || !SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END)) {
    CloseHandle(file);
    return 0;
  }
  file_.store(file);
  resume_offset_ = size.QuadPart;
  // CheckExisting asks for the size on the user-interface thread: a server that never answers must not
  // freeze the launcher.
  downloader_.SetFirstAnswerLimit(kFirstAnswerLimitMs);
  if (downloader_.Open(url_, this, &GameInstallerDownloader::Sink) != 1 ||
      downloader_.SetResumeOffset(resume_offset_) != 1) {
    CloseFile();
    return 0;
  }
  return 1;
}

int GameInstallerDownloader::CheckExisting() {
  int64_t remote = downloader_.GetRemoteSize();
  if (remote < 0)
    return -1;
  if (resume_offset_ == 0)
    return 0;
  if (resume_offset_ == remote)
    return 2;
  if (resume_offset_ < remote)
    return 1;
  Restart();
  return resume_offset_ == 0 ? 0 : -1;
}

void GameInstallerDownloader::Restart() {
  HANDLE file = file_.load();
  if (file == INVALID_HANDLE_VALUE || !SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_BEGIN))
    return;
  if (downloader_.SetResumeOffset(0) == 1)
    resume_offset_ = 0;
}

int GameInstallerDownloader::Start() {
  if (started_)
    return 0;
  // Set before the thread exists: from here on only the thread closes the file.
  running_.store(1);
  uintptr_t thread = _beginthreadex(nullptr, 0, &GameInstallerDownloader::ThreadMain, this, 0, nullptr);
  if (thread == 0) {
    running_.store(0);
    return 0;
  }
  thread_.reset(reinterpret_cast<HANDLE>(thread));
  started_ = true;
  return 1;
}

void GameInstallerDownloader::CloseFile() {
  HANDLE file = file_.exchange(INVALID_HANDLE_VALUE);
  if (file == INVALID_HANDLE_VALUE)
    return;
  // The file ends where the last write ended: a restarted download over a longer file keeps no old tail.
  SetEndOfFile(file);
  LARGE_INTEGER size{};
  bool empty = GetFileSizeEx(file, &size) && size.QuadPart == 0;
  CloseHandle(file);
  if (empty)
    DeleteFileW(path_);
}

unsigned __stdcall GameInstallerDownloader::ThreadMain(void* self) {
  auto* downloader = static_cast<GameInstallerDownloader*>(self);
  downloader->downloader_.Perform();
  downloader->CloseFile();
  downloader->running_.store(0);
  return 0;
}

int GameInstallerDownloader::Sink(const void* data, int bytes, void* self) {
  return self != nullptr ? static_cast<GameInstallerDownloader*>(self)->Write(data, bytes) : -1;
}

int GameInstallerDownloader::Write(const void* data, int bytes) {
  HANDLE file = file_.load();
  DWORD written = 0;
  InstallerWriteFunction write = g_write.load();
  if (write == nullptr)
    write = &WriteFile;
  if (file == INVALID_HANDLE_VALUE || bytes < 0 ||
      !write(file, data, static_cast<DWORD>(bytes), &written, nullptr) ||
      written != static_cast<DWORD>(bytes))
    return -1;
  return bytes;
}
