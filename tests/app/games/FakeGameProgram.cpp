// A stand-in for a game's program (and for the portal page's browser). Tests copy it into a game folder under
// the catalogue's program name; the launcher starts it like a game.
//
//   (no arguments that it knows)   writes what it was started with to the file named by the environment
//                                  variable ORVANE_FAKE_GAME_RECORD, as UTF-8 lines:
//                                    command_line=<its command line>
//                                    current_folder=<its current folder>
//                                    <name>=<value>   for ServerAddr, ShortcutArgs, StartGameID,
//                                                     RepositorySub, GamePath
//                                  (written to "<file>.part" first and renamed, so a reader never sees half).
//   --browser-window <file>        opens a window, writes its handle (decimal) to <file> the same way, and
//                                  waits up to a minute to be ended.
#include <windows.h>

#include <string>

namespace {

bool WriteWhole(const std::wstring& path, const std::wstring& text) {
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                  nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], bytes, nullptr,
                      nullptr);
  std::wstring part = path + L".part";
  HANDLE file =
      CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(file);
  return ok && MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::wstring Variable(const wchar_t* name) {
  wchar_t value[4096];
  DWORD length = GetEnvironmentVariableW(name, value, 4096);
  return length > 0 && length < 4096 ? std::wstring(value, length) : std::wstring();
}

int RecordStart() {
  std::wstring record = Variable(L"ORVANE_FAKE_GAME_RECORD");
  if (record.empty())
    return 2;
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring text = L"command_line=" + std::wstring(GetCommandLineW()) + L"\n";
  text += L"current_folder=" + std::wstring(folder) + L"\n";
  for (const wchar_t* name : {L"ServerAddr", L"ShortcutArgs", L"StartGameID", L"RepositorySub", L"GamePath"})
    text += std::wstring(name) + L"=" + Variable(name) + L"\n";
  return WriteWhole(record, text) ? 0 : 3;
}

int BeBrowser(const wchar_t* handle_file) {
  HWND window = CreateWindowExW(0, L"STATIC", L"fake browser", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr)
    return 4;
  if (!WriteWhole(handle_file, std::to_wstring(reinterpret_cast<uintptr_t>(window))))
    return 5;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 60000;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageW(&message);
    Sleep(20);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && std::wstring(argv[1]) == L"--browser-window")
    return BeBrowser(argv[2]);
  return RecordStart();
}
