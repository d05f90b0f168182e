#include "app/windows/SettingDlg.h"

#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <new>

#include "app/games/IGameInfo.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageTexts.h"
#include "app/windows/MessageDlg.h"
#include "app/windows/ModalGuard.h"
#include "ui/base/IniStringContainer.h"
#include "ui/base/NumberText.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NTextBox.h"
#include "ui/view/NotifyCodes.h"

namespace {

const wchar_t kGeneralTabName[] = L"setting_general_tab";
const wchar_t kUpdateTabName[] = L"setting_update_tab";
const wchar_t kGameListTabName[] = L"setting_gamelist_tab";
// The download path field holds 247 characters and the terminator.
const size_t kPathField = 248;

// Child names in control-id order, 10001 first.
const wchar_t* const kChildNames[] = {L"setting_close_btn",
                                      L"setting_ok_btn",
                                      L"setting_cancel_btn",
                                      kGeneralTabName,
                                      kUpdateTabName,
                                      kGameListTabName,
                                      L"close_launcher_chk",
                                      L"minimize_launcher_chk",
                                      L"delete_install_file_chk",
                                      L"download_path_edit",
                                      L"change_download_path_btn",
                                      L"auto_update_rad",
                                      L"manual_update_rad",
                                      L"auto_update_off_rad",
                                      L"idle_time_edit",
                                      L"cpu_usage_edit",
                                      L"network_usage_edit",
                                      L"shutdown_chk",
                                      L"game_list",
                                      L"game_list_top_btn",
                                      L"game_list_bottom_btn",
                                      L"game_list_up_btn",
                                      L"game_list_down_btn"};
const int32_t kChildCount = static_cast<int32_t>(sizeof(kChildNames) / sizeof(kChildNames[0]));
const int32_t kFirstId = SettingDlg::kCloseButton;
// "SETTING_CTRL_<i>" may name the children from 10007 on; the buttons and tabs above stay where they are.
const int32_t kFirstNamedId = SettingDlg::kCloseLauncherCheck;

struct NumberField {
  int32_t id;
  int32_t minimum;
  int32_t maximum;
};
const NumberField kNumberFields[] = {{SettingDlg::kIdleTimeEdit, 1, 99},
                                     {SettingDlg::kCpuUsageEdit, 10, 90},
                                     {SettingDlg::kNetworkUsageEdit, 10, 90}};

void ShowSettingMessage(HWND owner, const wchar_t* text) {
  ShowMessageDialog(0, text, owner);
}

SettingMessagePresenter g_presenter = ShowSettingMessage;
SettingsAcceptedHook g_accepted_hook = nullptr;

void Present(HWND owner, const wchar_t* key) {
  g_presenter(owner, GetAppMessageOrUnknown(key));
}

int32_t ItemCount(IniStringContainer* ini, const wchar_t* key) {
  int32_t count = ini->GetInt(L"SETTING", key, 0);
  return count < 1 ? 0 : std::min(count, SettingDlg::kMaxItems);
}

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM item, LPARAM initial) {
  if (message == BFFM_INITIALIZED) {
    SendMessageW(window, BFFM_SETSELECTIONW, TRUE, initial);
  } else if (message == BFFM_SELCHANGED) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), path))
      path[0] = L'\0';
    SendMessageW(window, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}

}  // namespace

int32_t SettingControlIdFor(const wchar_t* name) {
  if (name == nullptr)
    return 0;
  for (int32_t id = kFirstNamedId; id < kFirstId + kChildCount; ++id) {
    if (std::wcscmp(kChildNames[id - kFirstId], name) == 0)
      return id;
  }
  return 0;
}

int32_t SettingNumberFromText(const wchar_t* text, int32_t minimum, int32_t maximum, bool* rewrite) {
  *rewrite = true;
  if (text == nullptr || text[0] == L'\0')
    return minimum;
  // Only the leading digits count; TextToInt32 saturates a run too long for 32 bits at INT32_MAX.
  int32_t value = (text[0] >= L'0' && text[0] <= L'9') ? TextToInt32(text) : 0;
  if (value < minimum)
    return minimum;
  if (value > maximum)
    return maximum;
  *rewrite = false;
  return value;
}

int32_t SettingGroupState(int32_t group, int32_t mode, bool windows9x) {
  if (windows9x && (group & 3) != 0)
    return 0;
  if ((group & 1) != 0)
    return mode == 2 ? 1 : 0;
  return -1;
}

void SetSettingMessagePresenter(SettingMessagePresenter presenter) {
  g_presenter = presenter != nullptr ? presenter : ShowSettingMessage;
}

void SetSettingsAcceptedHook(SettingsAcceptedHook hook) {
  g_accepted_hook = hook;
}

SettingDlg::SettingDlg() = default;

SettingDlg::~SettingDlg() {
  Destroy();
}

NWnd* SettingDlg::Child(int32_t id) {
  NWnd* const children[] = {&close_button_,
                            &ok_button_,
                            &cancel_button_,
                            &general_tab_,
                            &update_tab_,
                            &game_list_tab_,
                            &close_launcher_check_,
                            &minimize_check_,
                            &delete_install_file_check_,
                            &download_path_edit_,
                            &change_download_path_button_,
                            &auto_update_radio_,
                            &manual_update_radio_,
                            &update_off_radio_,
                            &idle_time_edit_,
                            &cpu_usage_edit_,
                            &network_usage_edit_,
                            &shutdown_check_,
                            &game_list_,
                            &game_list_top_button_,
                            &game_list_bottom_button_,
                            &game_list_up_button_,
                            &game_list_down_button_};
  return id >= kFirstId && id < kFirstId + kChildCount ? children[id - kFirstId] : nullptr;
}

SkinnedEdit& SettingDlg::edit(int32_t id) {
  return id == kDownloadPathEdit
             ? download_path_edit_
             : (id == kIdleTimeEdit ? idle_time_edit_
                                    : (id == kCpuUsageEdit ? cpu_usage_edit_ : network_usage_edit_));
}

SkinnedCheckButton& SettingDlg::check(int32_t id) {
  SkinnedCheckButton* checks[] = {&close_launcher_check_, &minimize_check_,      &delete_install_file_check_,
                                  &auto_update_radio_,    &manual_update_radio_, &update_off_radio_,
                                  &shutdown_check_};
  for (SkinnedCheckButton* box : checks) {
    if (box->id() == id)
      return *box;
  }
  return shutdown_check_;
}

SkinnedTab& SettingDlg::tab(int32_t id) {
  return id == kGeneralTab ? general_tab_ : (id == kUpdateTab ? update_tab_ : game_list_tab_);
}

// Children are made in control-id order; each takes its size and place from its own skin file.
int32_t SettingDlg::CreateChildren() {
  for (int32_t id = kFirstId; id < kFirstId + kChildCount; ++id) {
    NWnd* child = Child(id);
    dynamic_cast<SkinnedCtrl*>(child)->SetSkin(category_id().GetString(), kChildNames[id - kFirstId]);
    int32_t made = 0;
    if (id == kDownloadPathEdit || (id >= kIdleTimeEdit && id <= kNetworkUsageEdit))
      made = static_cast<SkinnedEdit*>(child)->Create(0, 0, 1, 1, id, this,
                                                      id == kDownloadPathEdit ? ES_AUTOHSCROLL : ES_NUMBER);
    else
      made = child->Create(0, 0, 1, 1, id, this);
    if (!made)
      return 0;
    if (id <= kGameListTab)
      child->Show(1, 0);
  }
  return 1;
}

int32_t SettingDlg::OnCreate() {
  if (!SkinnedDialog::OnCreate() || !CreateChildren())
    return 0;
  for (const NumberField& field : kNumberFields)
    edit(field.id).SetNumberRange(field.minimum, field.maximum);
  if (Setting* live = Setting::GetInstance())
    clone_.reset(live->Clone());
  if (clone_)
    LoadFromClone();
  general_tab_.SetTabState(general_tab_.tab_state() == SkinnedTab::kOffOver ? SkinnedTab::kOnOver
                                                                            : SkinnedTab::kOn);
  SelectTab(kGeneralTabName);
  // Setting the text left the caret at its start with nothing selected: the path is selected whole, so that
  // a first key replaces all of it rather than going into a part of it.
  SendMessageW(download_path_edit_.window_handle(), EM_SETSEL, 0, -1);
  return 1;
}

void SettingDlg::LoadFromClone() {
  close_launcher_check_.SetCheck(clone_->AutoClose != 0);
  minimize_check_.SetCheck(clone_->Minimize != 0);
  download_path_edit_.SetText(clone_->InstallFilePath);
  delete_install_file_check_.SetCheck(clone_->DeleteInstallFile != 0);
  shutdown_check_.SetCheck(clone_->Shutdown != 0);
  SelectUpdateMode(clone_->Update);
  const int32_t values[] = {clone_->IdleTime, clone_->CPUUse, clone_->NetworkUse};
  for (size_t i = 0; i < 3; ++i) {
    wchar_t text[16];
    swprintf(text, 16, L"%d", values[i]);
    edit(kNumberFields[i].id).SetText(text);
  }
  FillGameList();
}

// Each order position is looked up once through a table, so a long order fills in one pass.
void SettingDlg::FillGameList() {
  const TLinkedList<GAME_ORDER>& order = clone_->GameOrder();
  int32_t count = order.count();
  game_list_.SetRowCount(count);
  std::vector<const GAME_ORDER*> by_position(static_cast<size_t>(count), nullptr);
  for (auto* node = order.head(); node != nullptr; node = node->next) {
    const GAME_ORDER* entry = node->item;
    if (entry->order >= 1 && entry->order <= count && by_position[entry->order - 1] == nullptr)
      by_position[entry->order - 1] = entry;
  }
  for (int32_t position = 0; position < count; ++position) {
    const GAME_ORDER* entry = by_position[position];
    IGameInfo* game = FindGameInfo(entry != nullptr ? entry->game_id : L"");
    if (game != nullptr)
      game_list_.SetRow(position, game->GetTitle(), entry->game_id);
  }
  game_list_.Compact();
}

void SettingDlg::SelectTab(const wchar_t* tab_name) {
  if (current_tab_.GetString() != nullptr && std::wcscmp(current_tab_.GetString(), tab_name) == 0)
    return;
  current_tab_.Assign(tab_name);
  ShowTabControls();
}

void SettingDlg::ShowTabControls() {
  if (created()) {
    const wchar_t* current = current_tab_.GetString() != nullptr ? current_tab_.GetString() : L"";
    for (const std::unique_ptr<SettingCtrlItem>& item : controls_) {
      if (NWnd* child = Child(item->control_id))
        child->Show(std::wcscmp(item->tab_id.GetString(), current) == 0, 0);
    }
  }
  Invalidate();
}

void SettingDlg::SelectUpdateMode(int32_t mode) {
  if (mode == 2 && IsWindows9x())
    mode = 1;
  if (clone_)
    clone_->Update = mode;
  auto_update_radio_.SetCheck(mode == 2);
  manual_update_radio_.SetCheck(mode == 1);
  update_off_radio_.SetCheck(mode == 0);
  ApplyGroups(mode);
}

void SettingDlg::ApplyGroups(int32_t mode) {
  bool windows9x = IsWindows9x();
  for (const std::unique_ptr<SettingCtrlItem>& item : controls_) {
    int32_t state = SettingGroupState(item->group, mode, windows9x);
    NWnd* child = Child(item->control_id);
    if (state >= 0 && child != nullptr)
      child->Enable(state);
  }
  for (size_t i = 0; i < texts_.size(); ++i) {
    int32_t state = SettingGroupState(texts_[i]->group, mode, windows9x);
    if (state >= 0) {
      texts_[i]->text->Render(state);
      text_enabled_[i] = state;
    }
  }
  Invalidate();
}

bool SettingDlg::IsWindows9x() const {
  return SettingsOnWindows9xFamily();
}

// Un-selects the other two tabs (on -> off, hovered or pressed -> hovered off) and shows the tab of `id`.
void SettingDlg::SelectTabButton(int32_t id) {
  for (int32_t other = kGeneralTab; other <= kGameListTab; ++other) {
    if (other == id)
      continue;
    SkinnedTab& button = tab(other);
    if (button.tab_state() == SkinnedTab::kOn)
      button.SetTabState(SkinnedTab::kOff);
    else if (button.tab_state() == SkinnedTab::kOnOver || button.tab_state() == SkinnedTab::kPressed)
      button.SetTabState(SkinnedTab::kOffOver);
  }
  SelectTab(kChildNames[id - kFirstId]);
}

int32_t SettingDlg::OnNotify(int32_t code, intptr_t p1, intptr_t p2) {
  int32_t id = static_cast<int32_t>(p1);
  if (code == NOTIFY_CLICKED) {
    switch (id) {
      case kCloseButton:
        SendMessageW(GetHwnd(), WM_CLOSE, 0, 0);
        return 1;
      case kOkButton:
        OnOK();
        return 1;
      case kCancelButton:
        OnCancel();
        return 1;
      case kCloseLauncherCheck:
      case kMinimizeCheck:
      case kDeleteInstallFileCheck:
      case kShutdownCheck:
        check(id).SetCheck(!check(id).check());
        return 1;
      case kChangeDownloadPathButton:
        BrowseForFolder();
        return 1;
      case kAutoUpdateRadio:
      case kManualUpdateRadio:
      case kUpdateOffRadio:
        if (!check(id).check())
          SelectUpdateMode(kUpdateOffRadio - id);
        return 1;
      case kGameListTopButton:
        game_list_.MoveSelectedToTop();
        break;
      case kGameListBottomButton:
        game_list_.MoveSelectedToBottom();
        break;
      case kGameListUpButton:
        game_list_.MoveSelectedUp();
        break;
      case kGameListDownButton:
        game_list_.MoveSelectedDown();
        break;
      default:
        return 0;
    }
    game_list_.ScrollToSelected();
    return 1;
  }
  if (code == NOTIFY_CHECK_CHANGED && clone_) {
    int32_t value = static_cast<int32_t>(p2);
    switch (id) {
      case kCloseLauncherCheck:
        clone_->AutoClose = value;
        return 1;
      case kMinimizeCheck:
        clone_->Minimize = value;
        return 1;
      case kDeleteInstallFileCheck:
        clone_->DeleteInstallFile = value;
        return 1;
      case kShutdownCheck:
        clone_->Shutdown = value;
        return 1;
      default:
        return 0;
    }
  }
  if (code == NOTIFY_TAB_SELECTED && id >= kGeneralTab && id <= kGameListTab) {
    SelectTabButton(id);
    return 1;
  }
  if (code == NOTIFY_SKIN_CHANGED)
    return SkinnedDialog::OnNotify(code, p1, p2);
  return 0;
}

void SettingDlg::OnOK() {
  if (clone_) {
    if (!StorePath()) {
      SelectTabButton(kGeneralTab);
      general_tab_.SetTabState(SkinnedTab::kOn);
      return;
    }
    StoreNumbers();
    StoreGameOrder();
  }
  SkinnedDialog::OnOK();
}

// A path that does not fit the field is refused rather than cut (a cut path names another folder); on any
// failure the clone keeps the path it had.
bool SettingDlg::StorePath() {
  const wchar_t* text = download_path_edit_.GetText();
  if (text == nullptr)
    text = L"";
  if (std::wcslen(text) >= kPathField) {
    Present(GetHwnd(), L"invalid_install_file_directory");
    return false;
  }
  wchar_t previous[kPathField];
  std::wcscpy(previous, clone_->InstallFilePath);
  std::wcscpy(clone_->InstallFilePath, text);
  if (clone_->PrepareInstallFilePath() == nullptr) {
    std::wcscpy(clone_->InstallFilePath, previous);
    Present(GetHwnd(), L"cannot_create_install_file_directory");
    return false;
  }
  return true;
}

void SettingDlg::StoreNumbers() {
  int32_t* targets[] = {&clone_->IdleTime, &clone_->CPUUse, &clone_->NetworkUse};
  for (size_t i = 0; i < 3; ++i) {
    SkinnedEdit& box = edit(kNumberFields[i].id);
    bool rewrite = false;
    int32_t value =
        SettingNumberFromText(box.GetText(), kNumberFields[i].minimum, kNumberFields[i].maximum, &rewrite);
    if (rewrite) {
      wchar_t text[16];
      swprintf(text, 16, L"%d", value);
      box.SetText(text);
    }
    *targets[i] = value;
  }
}

void SettingDlg::StoreGameOrder() {
  int32_t position = 0;
  for (int32_t index = 0; index < game_list_.row_count(); ++index) {
    if (GameOrderButton* row = game_list_.row(index))
      clone_->SetGameOrder(row->game_id().GetString(), ++position);
  }
}

void SettingDlg::BrowseForFolder() {
  wchar_t initial[kPathField] = {};
  const wchar_t* text = download_path_edit_.GetText();
  if (text != nullptr)
    wcsncpy(initial, text, kPathField - 1);
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  BROWSEINFOW browse = {};
  browse.hwndOwner = GetHwnd();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  browse.lpfn = BrowseCallback;
  browse.lParam = reinterpret_cast<LPARAM>(initial);
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse);
  if (item != nullptr) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path))
      download_path_edit_.SetText(path);
    else
      Present(GetHwnd(), L"invalid_install_file_directory");
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com))
    CoUninitialize();
}

void SettingDlg::OnSkinLoaded() {
  images_.clear();
  texts_.clear();
  controls_.clear();
  text_enabled_.clear();
  if (category() == nullptr || ini() == nullptr)
    return;
  ReadImages();
  ReadTexts();
  ReadControls();
  // A skin change while the dialog is up: the new items follow the current tab and update mode.
  if (clone_) {
    ShowTabControls();
    ApplyGroups(clone_->Update);
  }
}

void SettingDlg::ReadImages() {
  IniStringContainer* skin = ini();
  int32_t count = ItemCount(skin, L"image_count");
  for (int32_t i = 0; i < count; ++i) {
    wchar_t section[32];
    swprintf(section, 32, L"SETTING_IMAGE_%d", i);
    const wchar_t* image_id = skin->GetString(section, L"image_id", L"");
    NImage* image = image_id[0] != L'\0'
                        ? LoadSkinImage(category(), image_id)
                        : LoadSkinImageFile(category(), skin->GetString(section, L"image", L""));
    if (image == nullptr)
      continue;
    image->set_position(skin->GetInt(section, L"x", 0), skin->GetInt(section, L"y", 0));
    std::unique_ptr<SettingImageItem> item(new (std::nothrow) SettingImageItem());
    if (!item) {
      delete image;
      continue;
    }
    item->tab_id.Assign(skin->GetString(section, L"tab_id", L""));
    item->image.reset(image);
    images_.push_back(std::move(item));
  }
}

void SettingDlg::ReadTexts() {
  IniStringContainer* skin = ini();
  int32_t count = ItemCount(skin, L"text_count");
  for (int32_t i = 0; i < count; ++i) {
    wchar_t section[32];
    swprintf(section, 32, L"SETTING_TEXT_%d", i);
    std::unique_ptr<NTextBox> text(LoadSkinTextBox(skin, section, category_id().GetString()));
    // A box whose font is missing renders nothing: the item is left out.
    if (!text || text->rendered() == nullptr)
      continue;
    std::unique_ptr<SettingTextItem> item(new (std::nothrow) SettingTextItem());
    if (!item)
      continue;
    item->tab_id.Assign(skin->GetString(section, L"tab_id", L""));
    item->group = skin->GetInt(section, L"group", 0);
    item->text = std::move(text);
    texts_.push_back(std::move(item));
    text_enabled_.push_back(1);
  }
}

void SettingDlg::ReadControls() {
  IniStringContainer* skin = ini();
  int32_t count = ItemCount(skin, L"ctrl_count");
  for (int32_t i = 0; i < count; ++i) {
    wchar_t section[32];
    swprintf(section, 32, L"SETTING_CTRL_%d", i);
    std::unique_ptr<SettingCtrlItem> item(new (std::nothrow) SettingCtrlItem());
    if (!item)
      continue;
    item->tab_id.Assign(skin->GetString(section, L"tab_id", L""));
    item->group = skin->GetInt(section, L"group", 0);
    item->control_id = SettingControlIdFor(skin->GetString(section, L"ctrl_id", L""));
    controls_.push_back(std::move(item));
  }
}

// The wheel follows the keyboard focus. While one of the dialog's edits holds it (also one hidden with the
// tab it stands on), the edit passes the wheel up here, and the base dispatch, which wants the focus on the
// dialog window itself, would drop it: the list under the pointer takes it instead.
void SettingDlg::DispatchMouseWheel(int32_t x, int32_t y, int32_t notches) {
  HWND focus = GetFocus();
  int32_t list_x = x;
  int32_t list_y = y;
  if (focus != nullptr && focus != GetHwnd() && IsChild(GetHwnd(), focus) && GetPressedNode() == nullptr &&
      game_list_.visible() && PointToDescendant(&game_list_, &list_x, &list_y, 0)) {
    game_list_.OnMouseWheel(list_x, list_y, notches);
    return;
  }
  SkinnedDialog::DispatchMouseWheel(x, y, notches);
}

void SettingDlg::OnUpdate() {
  SkinnedDialog::OnUpdate();
  bool changed = false;
  for (const std::unique_ptr<SettingImageItem>& item : images_) {
    if (item->tab_id.GetLength() == current_tab_.GetLength() &&
        std::wcscmp(item->tab_id.GetString(), current_tab_.GetString()) == 0 && item->image->Tick())
      changed = true;
  }
  if (changed)
    Invalidate();
}

void SettingDlg::OnPaint(HDC dc, Dib* surface) {
  SkinnedDialog::OnPaint(dc, surface);
  const wchar_t* current = current_tab_.GetString() != nullptr ? current_tab_.GetString() : L"";
  for (const std::unique_ptr<SettingImageItem>& item : images_) {
    if (std::wcscmp(item->tab_id.GetString(), current) == 0)
      item->image->Draw(surface, 1);
  }
  for (const std::unique_ptr<SettingTextItem>& item : texts_) {
    if (std::wcscmp(item->tab_id.GetString(), current) == 0)
      item->text->Draw(surface);
  }
}

int RunSettingsDialog(NDialog* /*owner*/) {
  if (!EnterModal())
    return 0;
  int result = 0;
  {
    SettingDlg dialog;
    dialog.SetSkin(L"etc", L"setting_dlg");
    INT_PTR ended = dialog.DoModal();
    if (ended == -1) {
      result = -1;
    } else if (ended == IDOK && dialog.clone() != nullptr && dialog.clone()->IsChanged()) {
      if (Setting* live = Setting::GetInstance()) {
        dialog.clone()->CopyTo(live);
        result = 1;
      }
    }
  }
  if (result == 1 && g_accepted_hook != nullptr)
    g_accepted_hook();
  LeaveModal();
  return result;
}
