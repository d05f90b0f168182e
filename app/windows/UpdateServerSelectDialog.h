// UpdateServerSelectDialog: the skinned dialog in which the user picks an update server from the server list
// (launcherupdate/ServerList.h). A server older than the installed game is shown in the disabled colour and
// cannot be chosen. OK (id 1) ends the run with IDOK, Cancel (id 2) with IDCANCEL.
//
// Skin: "<launcher folder>\ZEPHUpdateServerSelect\UpdateServerSelect.ini" through the ini reader, images in
// the same folder; every key defaults to 0:
//   [UpdateServerSelectDlg]  width, height, back, colorkey_r/_g/_b
//   [UpdateServerSelectBtnOK], [UpdateServerSelectBtnCancel]  (UpdateServerSelectButton.h)
//   [UpdateServerSelectList]  button_x, button_y, button_width, button_height, button_count, button_gap,
//                             text_x, text_y, font_size, font_name, font_charset, font_bold,
//                             color_{normal_text,selected_back,selected_border,selected_text,disabled_text}_r/_g/_b
//   [UpdateServerSelectScrollBar]  (UpdateServerSelectScrollBar.h)
//
// Thread: user-interface thread only. The server list is not owned and must outlive the dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/windows/UpdateServerSelectButton.h"
#include "app/windows/UpdateServerSelectScrollBar.h"
#include "ui/host/NDialog.h"

class Dib;
class ServerList;

// The list's geometry from the skin.
struct ServerListGeometry {
  int32_t x = 0, y = 0, width = 0, height = 0;  // the first row
  int32_t rows = 0;                             // visible rows
  int32_t gap = 0;                              // between rows
  int32_t text_x = 0, text_y = 0;               // inside a row
};

// The server index under (x, y), or -1: outside the list's columns, above it, between or past the rows, or
// past the end of the list.
int32_t ServerRowAt(const ServerListGeometry& geometry,
                    int32_t first_visible,
                    int32_t count,
                    int32_t x,
                    int32_t y);
// HTCLIENT (1) inside the list area (all visible rows and the gaps between them), else HTCAPTION (2).
LRESULT ServerListHitTest(const ServerListGeometry& geometry, int32_t x, int32_t y);
// `first_visible` kept within 0 .. count - rows (never below 0, also for a list shorter than the rows).
int32_t ClampFirstVisible(int32_t first_visible, int32_t count, int32_t rows);
// Marks every server whose current version is below the installed one, or equal with a separation version
// below the installed one (unsigned comparisons), or whose address does not fit the process-wide update
// address (64 characters or more), as disabled; the others as enabled.
void MarkDisabledServers(ServerList* list, uint32_t installed_version, uint32_t installed_separate);

class UpdateServerSelectDialog : public NDialog {
 public:
  enum ControlId : int32_t { kOkId = 1, kCancelId = 2, kScrollBarId = 3 };

  // `skin_folder`: the folder holding "UpdateServerSelect.ini"; `version_ini`: the installed game's
  // version ini ("" when none).
  UpdateServerSelectDialog(ServerList* list, std::wstring skin_folder, std::wstring version_ini);
  ~UpdateServerSelectDialog() override;

  // Reads the skin. False when it gives no window to show: no ini, no background image, or a size of 0;
  // the dialog must then not run.
  bool LoadSkin();
  // Create with the skin's size, then run modally.
  INT_PTR DoModal() override;

  int32_t selected() const { return selected_; }
  int32_t first_visible() const { return first_visible_; }
  const ServerListGeometry& geometry() const { return geometry_; }
  UpdateServerSelectScrollBar& scroll_bar() { return scroll_bar_; }

  int32_t OnCreate() override;
  void OnPaint(HDC dc, Dib* surface) override;
  void OnLButtonDown(int32_t x, int32_t y) override;
  void OnMouseWheel(int32_t x, int32_t y, int32_t notches) override;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;
  LRESULT HitTestCaption(int32_t x, int32_t y) override;

 private:
  void ReleaseSkin();
  void ScrollTo(int32_t first_visible);
  void PaintRow(HDC dc, int32_t row, int32_t index);

  ServerList* list_;
  std::wstring skin_folder_;
  std::wstring version_ini_;
  IniContainer* ini_ = nullptr;  // owned, from LoadSkin until the dialog goes
  Dib* back_ = nullptr;
  Dib* canvas_ = nullptr;  // a DIB section of the window's size that the rows are drawn on
  COLORREF color_key_ = 0;
  int32_t width_ = 0, height_ = 0;
  UpdateServerSelectButton ok_;
  UpdateServerSelectButton cancel_;
  UpdateServerSelectScrollBar scroll_bar_;
  bool scroll_bar_made_ = false;
  ServerListGeometry geometry_;
  HFONT font_ = nullptr;
  COLORREF normal_text_ = 0, selected_back_ = 0, selected_border_ = 0, selected_text_ = 0, disabled_text_ = 0;
  int32_t first_visible_ = 0;
  int32_t selected_ = -1;
};
