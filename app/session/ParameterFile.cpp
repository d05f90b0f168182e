#include "app/session/ParameterFile.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <memory>
#include <new>

#include "app/session/ParamPublicKey.h"
#include "app/session/ProgramPath.h"
#include "app/session/RsaParamDecryptor.h"
#include "base/Paths.h"
#include "ui/base/FileReading.h"

namespace {

const wchar_t kParamFileName[] = L"LauncherParam.dat";
const wchar_t kLocalGameIdSwitch[] = L"/LocalGameID:";
// 1024 bytes, as the recovered text of one 4096-bit block (501 bytes) needs far less; one unit stays for the
// terminator.
const size_t kParamBufferUnits = 512;

wchar_t* g_parameter_buffer = nullptr;

wchar_t* AllocateParameterBuffer(size_t units) {
  ReleaseParameterBuffer();
  g_parameter_buffer = new (std::nothrow) wchar_t[units];
  if (g_parameter_buffer != nullptr)
    g_parameter_buffer[0] = 0;
  return g_parameter_buffer;
}

// Reads the whole signed block; false unless the file holds exactly `block_size` bytes and all were read.
bool ReadSignedBlock(const wchar_t* path, uint8_t* block, size_t block_size) {
  UniqueHandle file(
      CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid())
    return false;
  uint64_t size = 0;
  if (!QueryFileSize(file.get(), &size) || size == 0 || size != block_size)
    return false;
  return ReadFileAt(file.get(), 0, block, static_cast<uint32_t>(block_size));
}

bool RecoverParamText(const wchar_t* path, const char* pem) {
  RsaParamDecryptor decryptor(pem);
  size_t block_size = decryptor.ModulusSize();
  if (block_size == 0)
    return false;
  std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[block_size]);
  if (block == nullptr || !ReadSignedBlock(path, block.get(), block_size))
    return false;
  uint8_t text[(kParamBufferUnits - 1) * sizeof(wchar_t)];
  size_t text_bytes = 0;
  if (!decryptor.Recover(block.get(), block_size, text, sizeof text, &text_bytes))
    return false;
  size_t units = text_bytes / sizeof(wchar_t);
  for (size_t i = 0; i < units; ++i)
    g_parameter_buffer[i] = static_cast<wchar_t>(text[2 * i] | (text[2 * i + 1] << 8));
  g_parameter_buffer[units] = 0;
  return true;
}

}  // namespace

wchar_t* ParameterBuffer() {
  return g_parameter_buffer;
}

void ReleaseParameterBuffer() {
  delete[] g_parameter_buffer;
  g_parameter_buffer = nullptr;
}

int LoadParamFile(const wchar_t* path) {
  return LoadParamFileWithKey(path, kParamPublicKeyPem);
}

int LoadParamFileWithKey(const wchar_t* path, const char* pem) {
  if (AllocateParameterBuffer(kParamBufferUnits) == nullptr)
    return 0;
  if (path == nullptr || !RecoverParamText(path, pem)) {
    ReleaseParameterBuffer();
    return 0;
  }
  return 1;
}

wchar_t* ReadLocalParams(const wchar_t* command_line, const wchar_t* exe_folder) {
  if (command_line == nullptr)
    command_line = L"";
  const wchar_t* first_slash = std::wcschr(command_line, L'/');
  size_t switch_length = std::wcslen(kLocalGameIdSwitch);
  if (first_slash != nullptr && std::wcsncmp(first_slash, kLocalGameIdSwitch, switch_length) == 0 &&
      exe_folder != nullptr) {
    wchar_t path[MAX_PATH];
    if (base::JoinPath(path, MAX_PATH, exe_folder, kParamFileName)) {
      DWORD attributes = GetFileAttributesW(path);
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
          LoadParamFile(path) == 1)
        return g_parameter_buffer;
    }
  }
  size_t length = std::wcslen(command_line);
  if (AllocateParameterBuffer(length + 1) == nullptr)
    return nullptr;
  std::wmemcpy(g_parameter_buffer, command_line, length + 1);
  return g_parameter_buffer;
}
