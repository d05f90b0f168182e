#include "app/settings/Setting.h"

#include <cwchar>
#include <new>

#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "base/Paths.h"
#include "base/TextFields.h"
#include "ui/base/NumberText.h"

namespace {

const wchar_t kGameOrderSection[] = L"GAME_ORDER";

SettingSources g_sources;
Setting* g_instance = nullptr;

// The one owner of an open registry key.
class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey() {
    if (key_ != nullptr)
      RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY* receive() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool IsWindows9xFamily() {
  if (g_sources.windows9x_family >= 0)
    return g_sources.windows9x_family != 0;
  static const bool windows9x = (GetVersion() & 0x80000000u) != 0;
  return windows9x;
}

bool ProgramPath(wchar_t* path, size_t units) {
  if (g_sources.program_path != nullptr)
    return CopyToField(path, units, g_sources.program_path);
  return GetProgramPath(path, units);
}

// The settings file: the program path with the extension of its file name replaced by ".ini".
bool SettingsFilePath(wchar_t* path, size_t units) {
  if (!ProgramPath(path, units))
    return false;
  wchar_t* last_dot = std::wcsrchr(path, L'.');
  wchar_t* last_backslash = std::wcsrchr(path, L'\\');
  // A dot in a folder name is no extension: the file would land outside the program's folder.
  if (last_dot == nullptr || (last_backslash != nullptr && last_dot < last_backslash))
    return false;
  *last_dot = 0;
  return AppendToField(path, units, L".ini");
}

// "BaseDir" of "<registry path>\<game id>", read with query access only. False when the key or a non-empty
// string value is missing, or it does not fit `units`.
bool ReadRegistryBaseDir(const wchar_t* game_id, wchar_t* base, size_t units) {
  wchar_t key_path[MAX_PATH] = {};
  if (!IsPlainName(game_id) || !base::JoinPath(key_path, MAX_PATH, g_sources.registry_path, game_id))
    return false;
  RegistryKey key;
  if (RegOpenKeyExW(g_sources.registry_root, key_path, 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
    return false;
  // 496 bytes of data, as the field holds 248 characters, and one more unit for our own terminator.
  wchar_t data[249] = {};
  DWORD type = 0;
  DWORD size = 248 * sizeof(wchar_t);
  if (RegQueryValueExW(key.get(), L"BaseDir", nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
      ERROR_SUCCESS)
    return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    return false;
  data[size / sizeof(wchar_t)] = 0;
  return data[0] != 0 && CopyToField(base, units, data);
}

void DefaultInstallFilePath(wchar_t* path, size_t units) {
  wchar_t base[MAX_PATH] = {};
  if (!ReadRegistryBaseDir(GetSessionValues().GameID, base, MAX_PATH)) {
    wchar_t program[MAX_PATH];
    if (!ProgramPath(program, MAX_PATH) || !base::FolderOfPath(base, MAX_PATH, program))
      base[0] = 0;
  }
  CopyToField(path, units, base);
  AppendToField(path, units, L"\\Download");
}

int32_t ReadInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, int32_t current) {
  wchar_t fallback[16];
  std::swprintf(fallback, 16, L"%d", current);
  wchar_t text[32];
  GetPrivateProfileStringW(section, key, fallback, text, 32, path);
  return TextToInt32(text);
}

template <size_t N>
void ReadText(const wchar_t* path, const wchar_t* section, const wchar_t* key, wchar_t (&field)[N]) {
  // The default is the field itself, so it is read from a copy.
  wchar_t fallback[N];
  std::wmemcpy(fallback, field, N);
  GetPrivateProfileStringW(section, key, fallback, field, N, path);
  field[N - 1] = 0;
}

void WriteInt(const wchar_t* path, const wchar_t* section, const wchar_t* key, int32_t value) {
  wchar_t text[16];
  std::swprintf(text, 16, L"%d", value);
  WritePrivateProfileStringW(section, key, text, path);
}

// 0 stays 0, anything else becomes 1.
int32_t Flag(int32_t value) {
  return value != 0 ? 1 : 0;
}

// Compared unsigned, as stored values are: a negative value counts as very large.
int32_t Bounded(int32_t value, uint32_t low, uint32_t high) {
  uint32_t unsigned_value = static_cast<uint32_t>(value);
  if (unsigned_value < low)
    return static_cast<int32_t>(low);
  if (unsigned_value > high)
    return static_cast<int32_t>(high);
  return value;
}

}  // namespace

bool SettingsOnWindows9xFamily() {
  return IsWindows9xFamily();
}

void SetSettingSources(const SettingSources& sources) {
  g_sources = sources;
}

void ResetSettingSources() {
  g_sources = SettingSources();
}

Setting::Setting() {
  SetDefaults();
}

Setting::~Setting() {
  game_order_.RemoveAll();
  delete saved_;
}

void Setting::SetDefaults() {
  Minimize = 1;
  AutoClose = 1;
  DefaultInstallFilePath(InstallFilePath, 248);
  DeleteInstallFile = 1;
  Update = IsWindows9xFamily() ? 1 : 2;
  IdleTime = 20;
  CPUUse = 20;
  NetworkUse = 20;
  Shutdown = 0;
  FixSkin = 0;
  FixedSkinID[0] = 0;
  DisableWebBrowser = 0;
}

Setting* Setting::GetInstance() {
  if (g_instance != nullptr)
    return g_instance;
  g_instance = new (std::nothrow) Setting();
  if (g_instance == nullptr)
    return nullptr;
  g_instance->saved_ = new (std::nothrow) Setting();
  g_instance->Load();
  return g_instance;
}

Setting* Setting::PeekInstance() {
  return g_instance;
}

void Setting::ReleaseInstance() {
  delete g_instance;
  g_instance = nullptr;
}

void Setting::Load() {
  wchar_t path[MAX_PATH];
  if (!SettingsFilePath(path, MAX_PATH))
    return;
  ReadValues(path, GetSessionValues().GameID);
  ReadGameOrder(path);
  BoundValues();
  if (saved_ != nullptr)
    CopyTo(saved_);
}

void Setting::ReadValues(const wchar_t* path, const wchar_t* section) {
  Minimize = ReadInt(path, section, L"Minimize", Minimize);
  AutoClose = ReadInt(path, section, L"AutoClose", AutoClose);
  ReadText(path, section, L"InstallFilePath", InstallFilePath);
  DeleteInstallFile = ReadInt(path, section, L"DeleteInstallFile", DeleteInstallFile);
  Update = ReadInt(path, section, L"Update", Update);
  IdleTime = ReadInt(path, section, L"IdleTime", IdleTime);
  CPUUse = ReadInt(path, section, L"CPUUse", CPUUse);
  NetworkUse = ReadInt(path, section, L"NetworkUse", NetworkUse);
  Shutdown = ReadInt(path, section, L"Shutdown", Shutdown);
  FixSkin = ReadInt(path, section, L"FixSkin", FixSkin);
  ReadText(path, section, L"FixedSkinID", FixedSkinID);
  DisableWebBrowser = ReadInt(path, section, L"DisableWebBrowser", DisableWebBrowser);
}

// Entries are numbered as they are added; a repeated id is skipped, and an empty key means the list is
// damaged, so none of it is used.
void Setting::ReadGameOrder(const wchar_t* path) {
  game_order_.RemoveAll();
  int32_t count = ReadInt(path, kGameOrderSection, L"count", 0);
  int32_t next_order = 1;
  for (int32_t i = 1; i <= count; ++i) {
    wchar_t key[16];
    std::swprintf(key, 16, L"%d", i);
    wchar_t game_id[256];
    GetPrivateProfileStringW(kGameOrderSection, key, L"", game_id, 256, path);
    if (game_id[0] == 0) {
      game_order_.RemoveAll();
      return;
    }
    if (FindGameOrder(game_id) != nullptr)
      continue;
    SetGameOrder(game_id, next_order);
    if (FindGameOrder(game_id) != nullptr)
      ++next_order;
  }
}

void Setting::BoundValues() {
  Minimize = Flag(Minimize);
  AutoClose = Flag(AutoClose);
  DeleteInstallFile = Flag(DeleteInstallFile);
  if (static_cast<uint32_t>(Update) > 2)
    Update = 2;
  if (Update == 2 && IsWindows9xFamily())
    Update = 1;
  IdleTime = Bounded(IdleTime, 1, 99);
  CPUUse = Bounded(CPUUse, 10, 90);
  NetworkUse = Bounded(NetworkUse, 10, 90);
  Shutdown = Flag(Shutdown);
  FixSkin = Flag(FixSkin);
  // The skin name becomes a folder under the skin root: a name that leads elsewhere is dropped.
  if (FixedSkinID[0] != 0 && !IsPlainName(FixedSkinID))
    FixedSkinID[0] = 0;
}

void Setting::Save() {
  wchar_t path[MAX_PATH];
  if (!IsChanged() || !SettingsFilePath(path, MAX_PATH))
    return;
  WriteValues(path, GetSessionValues().GameID);
  SortGameOrder();
  WriteInt(path, kGameOrderSection, L"count", game_order_.count());
  for (TListNode<GAME_ORDER>* node = game_order_.head(); node != nullptr; node = node->next) {
    wchar_t key[16];
    std::swprintf(key, 16, L"%d", node->item->order);
    WritePrivateProfileStringW(kGameOrderSection, key, node->item->game_id, path);
  }
}

void Setting::WriteValues(const wchar_t* path, const wchar_t* section) const {
  WriteInt(path, section, L"Minimize", Minimize);
  WriteInt(path, section, L"AutoClose", AutoClose);
  WritePrivateProfileStringW(section, L"InstallFilePath", InstallFilePath, path);
  WriteInt(path, section, L"DeleteInstallFile", DeleteInstallFile);
  WriteInt(path, section, L"Update", Update);
  WriteInt(path, section, L"IdleTime", IdleTime);
  WriteInt(path, section, L"CPUUse", CPUUse);
  WriteInt(path, section, L"NetworkUse", NetworkUse);
  WriteInt(path, section, L"Shutdown", Shutdown);
  WriteInt(path, section, L"FixSkin", FixSkin);
  WritePrivateProfileStringW(section, L"FixedSkinID", FixedSkinID, path);
  WriteInt(path, section, L"DisableWebBrowser", DisableWebBrowser);
}

Setting* Setting::Clone() const {
  Setting* clone = new (std::nothrow) Setting();
  if (clone == nullptr)
    return nullptr;
  clone->saved_ = new (std::nothrow) Setting();
  CopyTo(clone);
  CopyTo(clone->saved_);
  return clone;
}

void Setting::CopyTo(Setting* destination) const {
  if (destination == nullptr || destination == this)
    return;
  destination->Minimize = Minimize;
  destination->AutoClose = AutoClose;
  CopyToField(destination->InstallFilePath, InstallFilePath);
  destination->DeleteInstallFile = DeleteInstallFile;
  destination->Update = Update;
  destination->IdleTime = IdleTime;
  destination->CPUUse = CPUUse;
  destination->NetworkUse = NetworkUse;
  destination->Shutdown = Shutdown;
  destination->FixSkin = FixSkin;
  CopyToField(destination->FixedSkinID, FixedSkinID);
  destination->DisableWebBrowser = DisableWebBrowser;
  destination->game_order_.RemoveAll();
  for (TListNode<GAME_ORDER>* node = game_order_.head(); node != nullptr; node = node->next)
    destination->SetGameOrder(node->item->game_id, node->item->order);
  destination->SortGameOrder();
}

bool Setting::ValuesEqual(const Setting& other) const {
  return Minimize == other.Minimize && AutoClose == other.AutoClose &&
         DeleteInstallFile == other.DeleteInstallFile && Update == other.Update &&
         IdleTime == other.IdleTime && CPUUse == other.CPUUse && NetworkUse == other.NetworkUse &&
         Shutdown == other.Shutdown && FixSkin == other.FixSkin &&
         DisableWebBrowser == other.DisableWebBrowser &&
         std::wcscmp(InstallFilePath, other.InstallFilePath) == 0 &&
         std::wcscmp(FixedSkinID, other.FixedSkinID) == 0;
}

bool Setting::IsChanged() const {
  if (saved_ == nullptr)
    return false;
  return !ValuesEqual(*saved_) || GameOrderChanged();
}

bool Setting::GameOrderChanged() const {
  if (saved_ == nullptr)
    return false;
  if (game_order_.count() != saved_->game_order_.count())
    return true;
  for (TListNode<GAME_ORDER>* node = game_order_.head(); node != nullptr; node = node->next) {
    if (node->item->order != saved_->GetGameOrder(node->item->game_id))
      return true;
  }
  return false;
}

GAME_ORDER* Setting::FindGameOrder(const wchar_t* game_id) const {
  if (game_id == nullptr)
    return nullptr;
  for (TListNode<GAME_ORDER>* node = game_order_.head(); node != nullptr; node = node->next) {
    if (std::wcscmp(node->item->game_id, game_id) == 0)
      return node->item;
  }
  return nullptr;
}

int32_t Setting::GetGameOrder(const wchar_t* game_id) const {
  GAME_ORDER* entry = FindGameOrder(game_id);
  return entry != nullptr ? entry->order : 0;
}

void Setting::SetGameOrder(const wchar_t* game_id, int32_t order) {
  if (order <= 0 || game_id == nullptr)
    return;
  GAME_ORDER* entry = FindGameOrder(game_id);
  if (entry != nullptr) {
    entry->order = order;
    return;
  }
  TListNode<GAME_ORDER>* node = game_order_.AddNew();
  if (node == nullptr)
    return;
  if (node->item == nullptr) {
    game_order_.Remove(node);
    return;
  }
  node->item->order = order;
  CopyToField(node->item->game_id, game_id);
}

void Setting::RemoveGameOrder(const wchar_t* game_id) {
  for (TListNode<GAME_ORDER>* node = game_order_.head(); node != nullptr; node = node->next) {
    if (game_id != nullptr && std::wcscmp(node->item->game_id, game_id) == 0) {
      game_order_.Remove(node);
      return;
    }
  }
}

void Setting::SortGameOrder() {
  for (TListNode<GAME_ORDER>* node = game_order_.head(); node != nullptr; node = node->next) {
    for (TListNode<GAME_ORDER>* later = node->next; later != nullptr; later = later->next) {
      if (later->item->order < node->item->order) {
        GAME_ORDER* item = node->item;
        node->item = later->item;
        later->item = item;
      }
    }
  }
  int32_t order = 1;
  for (TListNode<GAME_ORDER>* node = game_order_.head(); node != nullptr; node = node->next)
    node->item->order = order++;
}

int32_t Setting::NextGameOrder() const {
  int32_t largest = 0;
  for (TListNode<GAME_ORDER>* node = game_order_.head(); node != nullptr; node = node->next) {
    if (node->item->order > largest)
      largest = node->item->order;
  }
  return largest + 1;
}

const wchar_t* Setting::PrepareInstallFilePath() {
  wchar_t copy[248];
  CopyToField(copy, InstallFilePath);
  wchar_t full[248];
  DWORD length = GetFullPathNameW(copy, 248, full, nullptr);
  // A result of 248 or more is the size the full path would need: it does not fit the field.
  if (length == 0 || length >= 248)
    return nullptr;
  CopyToField(InstallFilePath, full);
  return base::CreateFolderChain(InstallFilePath) ? InstallFilePath : nullptr;
}
