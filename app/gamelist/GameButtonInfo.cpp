#include "app/gamelist/GameButtonInfo.h"

#include <cwchar>
#include <new>

#include "ui/base/IniContainer.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NTextBox.h"
#include "ui/skinned/FrameInputs.h"

namespace {

const wchar_t kSection[] = L"BUTTON_INFO";

int32_t ReadInt(IniContainer* ini, const wchar_t* key) {
  return ini->GetInt(kSection, key, 0);
}

// A count from the skin: below 1 none, at most the cap.
int32_t BoundedCount(int32_t count) {
  if (count < 1)
    return 0;
  return count > GameButtonInfo::kMaxStateEntries ? GameButtonInfo::kMaxStateEntries : count;
}

// The image named by "<prefix>_image_id" (animated) or else "<prefix>_image" (one file); null when neither.
NImage* LoadNamedImage(IniContainer* ini,
                       SkinLoader* category,
                       const wchar_t* section,
                       const wchar_t* id_key,
                       const wchar_t* file_key) {
  if (const wchar_t* id = ini->GetString(section, id_key, nullptr))
    return LoadSkinImage(category, id);
  if (const wchar_t* file = ini->GetString(section, file_key, nullptr))
    return LoadSkinImageFile(category, file);
  return nullptr;
}

NImage* FindImage(const GameStateImage* entries, int32_t count, const wchar_t* key) {
  if (key == nullptr)
    return nullptr;
  for (int32_t i = 0; i < count; ++i) {
    if (std::wcscmp(entries[i].id.GetString(), key) == 0)
      return entries[i].image;
  }
  return nullptr;
}

}  // namespace

const wchar_t* GameStateKey(int32_t state) {
  switch (state) {
    case 0:
      return L"state_not_installed";
    case 1:
      return L"state_install_file_downloading";
    case 3:
      return L"state_latest";
    case 4:
      return L"state_blocked";
    case 5:
      return L"state_need_update";
    case 6:
      return L"state_updating";
    default:
      return L"state_error";
  }
}

uint32_t ReadSkinSurfaceColour(IniContainer* ini, const wchar_t* section, const wchar_t* prefix) {
  wchar_t key[64];
  uint32_t parts[3];
  const wchar_t* suffixes[3] = {L"_r", L"_g", L"_b"};
  for (int i = 0; i < 3; ++i) {
    std::swprintf(key, 64, L"%ls%ls", prefix, suffixes[i]);
    parts[i] = static_cast<uint32_t>(ini->GetInt(section, key, 0)) & 0xFF;
  }
  return 0xFF000000u | parts[0] << 16 | parts[1] << 8 | parts[2];
}

int GameTextInfo::Load(IniContainer* ini, const wchar_t* section, const wchar_t* set_name) {
  if (ini == nullptr || section == nullptr || set_name == nullptr)
    return 0;
  const wchar_t* font = ini->GetString(section, L"font_id", nullptr);
  if (font == nullptr)
    return 0;
  font_id.Assign(font);
  font_set.Assign(set_name);
  text_x = ini->GetInt(section, L"text_x", 0);
  text_y = ini->GetInt(section, L"text_y", 0);
  text_align = ini->GetInt(section, L"text_align", 0);
  uint32_t surface = ReadSkinSurfaceColour(ini, section, L"text_color");
  text_colour = RGB((surface >> 16) & 0xFF, (surface >> 8) & 0xFF, surface & 0xFF);
  return 1;
}

void GameTextInfo::Clear() {
  text_x = text_y = text_align = 0;
  text_colour = 0xFFFFFF;
  font_id.Assign(L"");
  font_set.Assign(L"");
}

void GameTextInfo::ApplyTo(NTextBox* box) const {
  if (box == nullptr)
    return;
  box->SetFont(font_id.GetString(), font_set.GetString());
  box->x = text_x;
  box->y = text_y;
  box->align = text_align;
  box->text_colour = text_colour;
  box->disabled_colour = text_colour;
}

GameStateImage::~GameStateImage() {
  delete image;
}

GameStateText::~GameStateText() {
  delete text;
}

GameButtonInfo::~GameButtonInfo() {
  Release();
}

void GameButtonInfo::Release() {
  delete[] state_icons;
  delete[] state_borders;
  delete[] state_texts;
  for (NImage*& badge : badges) {
    delete badge;
    badge = nullptr;
  }
  delete arrow;
  state_icons = state_borders = nullptr;
  state_texts = nullptr;
  arrow = nullptr;
  state_icon_count = state_border_count = state_text_count = 0;
  max_game_count = min_installed_game_count = max_installed_game_count = limit_not_installed_game_count = 0;
  x = y = width = height = 0;
  selected_x = selected_y = selected_top_y = selected_bottom_y = selected_width = selected_height = 0;
  line_x = line_y = line_width = line_height = 0;
  line_colour = back_normal_colour = back_over_colour = back_selected_colour = 0xFF000000;
  game_icon_x = game_icon_y = selected_game_icon_x = selected_game_icon_y = 0;
  event_max = event_x = event_offset = event_y = 0;
  text_normal.Clear();
  text_over.Clear();
  text_selected.Clear();
}

void GameButtonInfo::ReadIntegers(IniContainer* ini) {
  max_game_count = ReadInt(ini, L"max_game_count");
  min_installed_game_count = ReadInt(ini, L"min_installed_game_count");
  max_installed_game_count = ReadInt(ini, L"max_installed_game_count");
  limit_not_installed_game_count = ReadInt(ini, L"limit_not_installed_game_count");
  x = ReadInt(ini, L"x");
  y = ReadInt(ini, L"y");
  width = ReadInt(ini, L"width");
  height = ReadInt(ini, L"height");
  selected_x = ReadInt(ini, L"selected_x");
  selected_y = ReadInt(ini, L"selected_y");
  selected_top_y = ReadInt(ini, L"selected_top_y");
  selected_bottom_y = ReadInt(ini, L"selected_bottom_y");
  selected_width = ReadInt(ini, L"selected_width");
  selected_height = ReadInt(ini, L"selected_height");
  line_x = ReadInt(ini, L"line_x");
  line_y = ReadInt(ini, L"line_y");
  line_width = ReadInt(ini, L"line_width");
  line_height = ReadInt(ini, L"line_height");
  line_colour = ReadSkinSurfaceColour(ini, kSection, L"line_color");
  back_normal_colour = ReadSkinSurfaceColour(ini, kSection, L"back_normal_color");
  back_over_colour = ReadSkinSurfaceColour(ini, kSection, L"back_over_color");
  back_selected_colour = ReadSkinSurfaceColour(ini, kSection, L"back_selected_color");
  game_icon_x = ReadInt(ini, L"game_icon_x");
  game_icon_y = ReadInt(ini, L"game_icon_y");
  selected_game_icon_x = ReadInt(ini, L"selected_game_icon_x");
  selected_game_icon_y = ReadInt(ini, L"selected_game_icon_y");
  event_max = ReadInt(ini, L"event_max");
  event_x = ReadInt(ini, L"event_x");
  event_offset = ReadInt(ini, L"event_offset");
  event_y = ReadInt(ini, L"event_y");
}

void GameButtonInfo::LoadImages(IniContainer* ini,
                                SkinLoader* category,
                                const wchar_t* kind,
                                const wchar_t* section_format,
                                int32_t* count,
                                GameStateImage** entries) {
  wchar_t key[64];
  std::swprintf(key, 64, L"%ls_count", kind);
  int32_t wanted = BoundedCount(ReadInt(ini, key));
  if (wanted == 0)
    return;
  *entries = new (std::nothrow) GameStateImage[wanted];
  if (*entries == nullptr)
    return;
  *count = wanted;
  std::swprintf(key, 64, L"%ls_x", kind);
  int32_t place_x = ReadInt(ini, key);
  std::swprintf(key, 64, L"%ls_y", kind);
  int32_t place_y = ReadInt(ini, key);
  for (int32_t i = 0; i < wanted; ++i) {
    wchar_t section[64];
    std::swprintf(section, 64, section_format, static_cast<int>(i));
    (*entries)[i].id.Assign(ini->GetString(section, L"id", L""));
    NImage* image = LoadNamedImage(ini, category, section, L"image_id", L"image");
    if (image != nullptr)
      image->set_position(place_x, place_y);
    (*entries)[i].image = image;
  }
}

void GameButtonInfo::LoadTexts(IniContainer* ini, const wchar_t* font_set) {
  int32_t wanted = BoundedCount(ReadInt(ini, L"state_text_count"));
  if (wanted == 0)
    return;
  state_texts = new (std::nothrow) GameStateText[wanted];
  if (state_texts == nullptr)
    return;
  state_text_count = wanted;
  for (int32_t i = 0; i < wanted; ++i) {
    wchar_t section[64];
    std::swprintf(section, 64, L"STATE_TEXT_%d", static_cast<int>(i));
    state_texts[i].id.Assign(ini->GetString(section, L"id", L""));
    NTextBox* box = LoadSkinTextBox(ini, section, font_set);
    if (box != nullptr) {
      box->x = ReadInt(ini, L"state_text_x");
      box->y = ReadInt(ini, L"state_text_y");
      box->align = ReadInt(ini, L"state_text_align");
      box->literal = 1;
      box->Render(1);
    }
    state_texts[i].text = box;
  }
}

int GameButtonInfo::Load(IniContainer* ini, SkinLoader* category, const wchar_t* font_set) {
  if (ini == nullptr || category == nullptr || font_set == nullptr)
    return 0;
  Release();
  ReadIntegers(ini);
  const wchar_t* kinds[4] = {L"event", L"hot", L"new", L"beta"};
  for (int i = 0; i < 4; ++i) {
    wchar_t id_key[32], file_key[32];
    std::swprintf(id_key, 32, L"%ls_image_id", kinds[i]);
    std::swprintf(file_key, 32, L"%ls_image", kinds[i]);
    badges[i] = LoadNamedImage(ini, category, kSection, id_key, file_key);
  }
  arrow = LoadNamedImage(ini, category, kSection, L"arrow_image_id", L"arrow_image");
  if (arrow != nullptr)
    arrow->set_position(ReadInt(ini, L"arrow_x"), ReadInt(ini, L"arrow_y"));
  LoadImages(ini, category, L"state_icon", L"STATE_ICON_%d", &state_icon_count, &state_icons);
  LoadImages(ini, category, L"state_border", L"STATE_BORDER_%d", &state_border_count, &state_borders);
  LoadTexts(ini, font_set);
  if (!text_normal.Load(ini, L"GAME_TEXT_NORMAL", font_set) ||
      !text_over.Load(ini, L"GAME_TEXT_OVER", font_set) ||
      !text_selected.Load(ini, L"GAME_TEXT_SELECTED", font_set))
    return 0;
  return 1;
}

int GameButtonInfo::TickImages(uint32_t now) {
  int changed = 0;
  for (int32_t i = 0; i < state_icon_count; ++i) {
    if (state_icons[i].image != nullptr && state_icons[i].image->TickAt(now))
      changed = 1;
  }
  for (int32_t i = 0; i < state_border_count; ++i) {
    if (state_borders[i].image != nullptr && state_borders[i].image->TickAt(now))
      changed = 1;
  }
  return changed;
}

int GameButtonInfo::TickImages() {
  return TickImages(FrameTickCount());
}

NImage* GameButtonInfo::FindStateIcon(const wchar_t* key) const {
  return FindImage(state_icons, state_icon_count, key);
}

NImage* GameButtonInfo::FindStateBorder(const wchar_t* key) const {
  return FindImage(state_borders, state_border_count, key);
}

NImage* GameButtonInfo::FindStateBorderWithFallback(const wchar_t* key, int32_t installed) const {
  NImage* border = FindStateBorder(key);
  if (border != nullptr)
    return border;
  return FindStateBorder(installed != 0 ? L"state_need_update" : L"state_not_installed");
}

NTextBox* GameButtonInfo::FindStateText(const wchar_t* key) const {
  if (key == nullptr)
    return nullptr;
  for (int32_t i = 0; i < state_text_count; ++i) {
    if (std::wcscmp(state_texts[i].id.GetString(), key) == 0)
      return state_texts[i].text;
  }
  return nullptr;
}
