#include "engine/EntryPaths.h"

#include <cwchar>

#include "engine/EngineFiles.h"

namespace entry_paths {

namespace {

const wchar_t* TempSuffix(int32_t kind) {
  switch (kind) {
    case kEntryZip:
      return L"zip";
    case kEntryRtp:
      return L"rtp";
    case kEntryNew:
      return L"new";
    default:
      return nullptr;
  }
}

bool IsTempSuffix(const wchar_t* text) {
  return _wcsicmp(text, L"zip") == 0 || _wcsicmp(text, L"rtp") == 0 || _wcsicmp(text, L"new") == 0;
}

}  // namespace

bool BuildTempName(wchar_t (&out)[MAX_PATH], const wchar_t* install_root, const FileEntry& entry) {
  out[0] = L'\0';
  if (entry.kind == kEntryDelete)
    return engine_files::JoinPath(out, install_root, entry.name);
  const wchar_t* suffix = TempSuffix(entry.kind);
  if (suffix == nullptr)
    return false;
  wchar_t version[16];
  swprintf(version, 16, L"%d", static_cast<int>(entry.version));
  return engine_files::ConcatTexts(out, MAX_PATH,
                                   {install_root, L"\\", entry.name, L".", version, L".", suffix});
}

bool BuildUrl(wchar_t (&out)[kMaxUrlLength],
              const wchar_t* download_host,
              const wchar_t* product_code,
              const FileEntry& entry) {
  out[0] = L'\0';
  int written;
  switch (entry.kind) {
    case kEntryZip:
      written = swprintf(out, kMaxUrlLength, L"http://%ls/%ls/RegisteredHistory/%08d/%ls.zip", download_host,
                         product_code, static_cast<int>(entry.registered_version), entry.name);
      break;
    case kEntryRtp:
      written = swprintf(out, kMaxUrlLength, L"http://%ls/%ls/PatchArchive/%ls.zip/%08d/PATCH.RTP",
                         download_host, product_code, entry.name, static_cast<int>(entry.version));
      break;
    case kEntryNew:
      // A new file lies in the registered-history store as it is, without the ".zip" of whole files.
      written = swprintf(out, kMaxUrlLength, L"http://%ls/%ls/RegisteredHistory/%08d/%ls", download_host,
                         product_code, static_cast<int>(entry.registered_version), entry.name);
      break;
    case kEntryDelete:
      return true;
    default:
      return false;
  }
  if (written < 0 || static_cast<size_t>(written) >= kMaxUrlLength) {
    out[0] = L'\0';
    return false;
  }
  for (wchar_t* c = out; *c != L'\0'; ++c) {
    if (*c == L'\\')
      *c = L'/';
  }
  return true;
}

bool IsStaleTempName(const wchar_t* file_name, const wchar_t* base_name, int32_t version) {
  const size_t base_length = wcslen(base_name);
  if (_wcsnicmp(file_name, base_name, base_length) != 0 || file_name[base_length] != L'.')
    return false;
  const wchar_t* rest = file_name + base_length + 1;
  if (IsTempSuffix(rest))
    return true;
  // "<i>.<suffix>": i as "%d" prints it (no sign, no leading zero), below the entry's version.
  const wchar_t* digits_end = rest;
  while (*digits_end >= L'0' && *digits_end <= L'9')
    ++digits_end;
  const size_t digits = static_cast<size_t>(digits_end - rest);
  if (digits == 0 || digits > 10 || (digits > 1 && rest[0] == L'0') || *digits_end != L'.' ||
      !IsTempSuffix(digits_end + 1))
    return false;
  int64_t number = 0;
  for (const wchar_t* c = rest; c != digits_end; ++c)
    number = number * 10 + (*c - L'0');
  return number < version;
}

std::wstring PatchTargetFolder(const wchar_t* target_path) {
  const wchar_t* cut = wcsrchr(target_path, L'\\');
  if (cut == nullptr)
    return std::wstring();
  std::wstring folder(target_path, static_cast<size_t>(cut - target_path));
  // "X:" alone is the drive's current folder, not its root.
  if (folder.size() == 2 && folder[1] == L':')
    folder += L'\\';
  return folder;
}

bool BuildPatchCommandLine(std::string* out, const wchar_t* patch_path, const std::wstring& folder) {
  std::wstring line = L"\"" + std::wstring(patch_path) + L"\" \"" + folder + L"\" -q -not -nop -nos";
  const UINT code_page = GetACP();
  const bool unicode_code_page = code_page == CP_UTF8 || code_page == CP_UTF7;
  const DWORD flags = unicode_code_page ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* used_default_out = unicode_code_page ? nullptr : &used_default;
  const int bytes =
      WideCharToMultiByte(CP_ACP, flags, line.c_str(), -1, nullptr, 0, nullptr, used_default_out);
  if (bytes <= 0 || used_default)
    return false;
  out->assign(static_cast<size_t>(bytes), '\0');
  if (WideCharToMultiByte(CP_ACP, flags, line.c_str(), -1, &(*out)[0], bytes, nullptr, nullptr) != bytes)
    return false;
  out->resize(static_cast<size_t>(bytes - 1));
  return true;
}

}  // namespace entry_paths
