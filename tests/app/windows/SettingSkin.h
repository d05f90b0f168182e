// The settings dialog's skin, written at run time over the message dialog's (MessageSkin.h): the window
// "setting_dlg" (420 x 320) with images, texts and controls on its three tabs, every child's file, the game
// list (280 x 200, rows 264 x 20) with its scroll bar, and the application message table.
#pragma once

#include <string>

#include "tests/app/windows/MessageSkin.h"

namespace testing_support {

const int kSettingWidth = 420, kSettingHeight = 320;
// Where the list lies on the dialog, and its rows.
const POINT kGameListAt = {24, 76};
const int kRowWidth = 264, kRowHeight = 20, kListHeight = 200;

class SettingSkinTest : public MessageSkinTest {
 protected:
  void SetUp() override {
    MessageSkinTest::SetUp();
    WriteShaded(L"setting_back.bmp", kSettingWidth, kSettingHeight, 0x2A3348, 0x141A28, 0x7A8AAA);
    WriteShaded(L"tab_off.bmp", 96, 24, 0x3A4A6A, 0x2A3A5A, 0x6A7A9A);
    WriteShaded(L"tab_on.bmp", 96, 24, 0x6A9ADA, 0x3A6AAA, 0xCFE7FF);
    WriteShaded(L"check_off.bmp", 16, 16, 0xE0E0E0, 0xB0B0B0, 0x404040);
    WriteShaded(L"check_on.bmp", 16, 16, 0x40C040, 0x208020, 0x404040);
    WriteShaded(L"check_grey.bmp", 16, 16, 0x707070, 0x606060, 0x505050);
    WriteShaded(L"list_back.bmp", 280, kListHeight, 0x1E2638, 0x1E2638, 0x56607A);
    WriteShaded(L"small_button.bmp", 20, 20, 0x5A8ACA, 0x2A5A9A, 0x1A3A6A);
    WriteShaded(L"icon.bmp", 32, 32, 0xFFC040, 0xC08020, 0x604010);
    WriteIni(L"data\\skin\\etc\\setting_dlg.ini", DialogSkin());
    WriteFrame(L"setting_close_btn", 394, 6, 20, 20, L"x");
    WriteFrame(L"setting_ok_btn", 240, 284, 80, 24, L"OK");
    WriteFrame(L"setting_cancel_btn", 330, 284, 80, 24, L"Cancel");
    WriteFrame(L"change_download_path_btn", 330, 166, 80, 24, L"Browse");
    const wchar_t* moves[] = {L"game_list_top_btn", L"Top", L"game_list_bottom_btn", L"Bottom",
                              L"game_list_up_btn",  L"Up",  L"game_list_down_btn",   L"Down"};
    for (int i = 0; i < 4; ++i)
      WriteFrame(moves[2 * i], 320, 80 + 30 * i, 80, 24, moves[2 * i + 1]);
    WriteTab(L"setting_general_tab", 12);
    WriteTab(L"setting_update_tab", 112);
    WriteTab(L"setting_gamelist_tab", 212);
    const wchar_t* checks[] = {L"close_launcher_chk", L"minimize_launcher_chk", L"delete_install_file_chk",
                               L"auto_update_rad",    L"manual_update_rad",     L"auto_update_off_rad"};
    for (int i = 0; i < 6; ++i)
      WriteCheck(checks[i], 24, 80 + 24 * (i % 3));
    WriteCheck(L"shutdown_chk", 24, 244);
    WriteEdit(L"download_path_edit", 24, 168, 300, 20);
    WriteEdit(L"idle_time_edit", 220, 160, 50, 20);
    WriteEdit(L"cpu_usage_edit", 220, 186, 50, 20);
    WriteEdit(L"network_usage_edit", 220, 212, 50, 20);
    WriteIni(L"data\\skin\\etc\\game_list.ini", GameListSkin(kRowWidth, kRowHeight));
    WriteIni(L"data\\skin\\etc\\game_list_scroll_bar.ini",
             L"[SCROLL_BAR]\r\nx=264\r\nwidth=16\r\nheight=200\r\nbutton_size=16\r\nthumb_size="
             L"24\r\nvertical=1\r\n"
             L"inc_y=184\r\n[SCR_BAR_NORMAL]\r\nimage=list_back.bmp\r\n[SCR_THUMB_NORMAL]\r\nimage=small_"
             L"button.bmp\r\n"
             L"[SCR_DEC_NORMAL]\r\nimage=small_button.bmp\r\n[SCR_INC_NORMAL]\r\nimage=small_button.bmp\r\n");
    WriteIni(L"data\\skin\\AppMessage.ini",
             L"[MESSAGE]\r\ncannot_create_install_file_directory=The download folder cannot be created.\r\n"
             L"invalid_install_file_directory=This folder cannot be used for downloads.\r\n");
  }

  static std::wstring GameListSkin(int width, int height, int list_height = kListHeight) {
    return L"[BACK]\r\nx=24\r\ny=76\r\nwidth=280\r\nheight=" + std::to_wstring(list_height) +
           L"\r\nback=list_back.bmp\r\n"
           L"[GAME_ORDER_LIST]\r\nbtn_width=" +
           std::to_wstring(width) + L"\r\nbtn_height=" + std::to_wstring(height) +
           L"\r\nfont_normal_id=text\r\nfont_over_id=text\r\nfont_selected_id=text\r\ntext_x=8\r\ntext_y="
           L"10\r\n"
           L"text_align=4\r\ntext_normal_color_r=220\r\ntext_normal_color_g=220\r\ntext_normal_color_b="
           L"220\r\n"
           L"text_over_color_r=255\r\ntext_over_color_g=255\r\ntext_over_color_b=255\r\n"
           L"text_selected_color_r=20\r\ntext_selected_color_g=20\r\ntext_selected_color_b=20\r\n"
           L"back_normal_color_r=30\r\nback_normal_color_g=38\r\nback_normal_color_b=56\r\n"
           L"back_over_color_r=58\r\nback_over_color_g=74\r\nback_over_color_b=106\r\n"
           L"back_selected_color_r=255\r\nback_selected_color_g=456\r\nback_selected_color_b=96\r\n";
  }

  // The SETTING items: a heading and labels per tab, group 1 (automatic mode only) on the three numbers and
  // the shutdown box, group 2 (not on Windows 9x) on the automatic radio.
  static std::wstring DialogSkin() {
    std::wstring text = L"[BACK]\r\nwidth=420\r\nheight=320\r\nback=setting_back.bmp\r\n";
    struct Label {
      const wchar_t* tab;
      int group;
      int x;
      int y;
      const wchar_t* text;
    };
    const Label labels[] = {{L"setting_general_tab", 0, 24, 64, L"General"},
                            {L"setting_general_tab", 0, 48, 80, L"Close the launcher when a game starts"},
                            {L"setting_general_tab", 0, 48, 104, L"Minimise instead of closing"},
                            {L"setting_general_tab", 0, 48, 128, L"Delete installers after installing"},
                            {L"setting_general_tab", 0, 24, 150, L"Download folder"},
                            {L"setting_update_tab", 0, 24, 64, L"Update"},
                            {L"setting_update_tab", 2, 48, 80, L"Update automatically when idle"},
                            {L"setting_update_tab", 0, 48, 104, L"Tell me when updates wait"},
                            {L"setting_update_tab", 0, 48, 128, L"Do not update"},
                            {L"setting_update_tab", 1, 48, 162, L"Idle minutes"},
                            {L"setting_update_tab", 1, 48, 188, L"Processor use below %"},
                            {L"setting_update_tab", 1, 48, 214, L"Network use below %"},
                            {L"setting_update_tab", 3, 48, 244, L"Power off after updating"},
                            {L"setting_gamelist_tab", 0, 24, 58, L"Order of the games"}};
    int count = static_cast<int>(sizeof(labels) / sizeof(labels[0]));
    text += L"[SETTING]\r\nimage_count=3\r\ntext_count=" + std::to_wstring(count) + L"\r\nctrl_count=17\r\n";
    const wchar_t* tabs[] = {L"setting_general_tab", L"setting_update_tab", L"setting_gamelist_tab"};
    for (int i = 0; i < 3; ++i)
      text += L"[SETTING_IMAGE_" + std::to_wstring(i) + L"]\r\ntab_id=" + tabs[i] +
              L"\r\nx=372\r\ny=40\r\n"
              L"image=icon.bmp\r\n";
    for (int i = 0; i < count; ++i)
      text += L"[SETTING_TEXT_" + std::to_wstring(i) + L"]\r\ntab_id=" + labels[i].tab + L"\r\ngroup=" +
              std::to_wstring(labels[i].group) + L"\r\nfont_id=text\r\ntext=" + labels[i].text +
              L"\r\ntext_x=" + std::to_wstring(labels[i].x) + L"\r\ntext_y=" + std::to_wstring(labels[i].y) +
              L"\r\ntext_color_r=230\r\ntext_color_g=230\r\ntext_color_b=230\r\ntext_disabled_color_r=110\r\n"
              L"text_disabled_color_g=110\r\ntext_disabled_color_b=120\r\n";
    struct Control {
      const wchar_t* tab;
      const wchar_t* name;
      int group;
    };
    const Control controls[] = {{tabs[0], L"close_launcher_chk", 0},
                                {tabs[0], L"minimize_launcher_chk", 0},
                                {tabs[0], L"delete_install_file_chk", 0},
                                {tabs[0], L"download_path_edit", 0},
                                {tabs[0], L"change_download_path_btn", 0},
                                {tabs[1], L"auto_update_rad", 2},
                                {tabs[1], L"manual_update_rad", 0},
                                {tabs[1], L"auto_update_off_rad", 0},
                                {tabs[1], L"idle_time_edit", 1},
                                {tabs[1], L"cpu_usage_edit", 1},
                                {tabs[1], L"network_usage_edit", 1},
                                {tabs[1], L"shutdown_chk", 3},
                                {tabs[2], L"game_list", 0},
                                {tabs[2], L"game_list_top_btn", 0},
                                {tabs[2], L"game_list_bottom_btn", 0},
                                {tabs[2], L"game_list_up_btn", 0},
                                {tabs[2], L"game_list_down_btn", 0}};
    for (int i = 0; i < 17; ++i)
      text += L"[SETTING_CTRL_" + std::to_wstring(i) + L"]\r\ntab_id=" + controls[i].tab + L"\r\nctrl_id=" +
              controls[i].name + L"\r\ngroup=" + std::to_wstring(controls[i].group) + L"\r\n";
    return text;
  }

  // A push button of `width` x `height` at (x, y) with a centred caption.
  void WriteFrame(const std::wstring& name,
                  int x,
                  int y,
                  int width,
                  int height,
                  const std::wstring& caption) {
    std::wstring box = L"font_id=text\r\ntext_x=" + std::to_wstring(width / 2) + L"\r\ntext_y=" +
                       std::to_wstring(height / 2) +
                       L"\r\ntext_align=5\r\ntext_color_r=255\r\ntext_color_g=255\r\n"
                       L"text_color_b=255\r\n";
    WriteIni(L"data\\skin\\etc\\" + name + L".ini",
             L"[BUTTON]\r\nx=" + std::to_wstring(x) + L"\r\ny=" + std::to_wstring(y) + L"\r\nwidth=" +
                 std::to_wstring(width) + L"\r\nheight=" + std::to_wstring(height) + L"\r\ntext=" + caption +
                 L"\r\n[BTN_NORMAL]\r\nimage=button.bmp\r\n" + box +
                 L"[BTN_OVER]\r\nimage=button_over.bmp\r\n" + box + L"[BTN_DOWN]\r\nimage=button.bmp\r\n" +
                 box);
  }
  void WriteTab(const std::wstring& name, int x) {
    WriteIni(L"data\\skin\\etc\\" + name + L".ini",
             L"[TAB]\r\nx=" + std::to_wstring(x) +
                 L"\r\ny=30\r\nwidth=96\r\nheight=24\r\n[TAB_OFF]\r\nimage=tab_off.bmp\r\n"
                 L"[TAB_OFF_OVER]\r\nimage=tab_off.bmp\r\n[TAB_ON]\r\nimage=tab_on.bmp\r\n[TAB_ON_OVER]\r\n"
                 L"image=tab_on.bmp\r\n[TAB_ON_DOWN]\r\nimage=tab_on.bmp\r\n");
  }
  void WriteCheck(const std::wstring& name, int x, int y) {
    std::wstring text = L"[CHECK]\r\nx=" + std::to_wstring(x) + L"\r\ny=" + std::to_wstring(y) +
                        L"\r\nwidth=16\r\nheight=16\r\n";
    for (const wchar_t* state : {L"NORMAL", L"OVER", L"DOWN"}) {
      text += std::wstring(L"[CHK_OFF_") + state + L"]\r\nimage=check_off.bmp\r\n";
      text += std::wstring(L"[CHK_ON_") + state + L"]\r\nimage=check_on.bmp\r\n";
    }
    text += L"[CHK_OFF_DISABLED]\r\nimage=check_grey.bmp\r\n[CHK_ON_DISABLED]\r\nimage=check_grey.bmp\r\n";
    WriteIni(L"data\\skin\\etc\\" + name + L".ini", text);
  }
  void WriteEdit(const std::wstring& name, int x, int y, int width, int height) {
    WriteIni(L"data\\skin\\etc\\" + name + L".ini",
             L"[EDIT]\r\nx=" + std::to_wstring(x) + L"\r\ny=" + std::to_wstring(y) + L"\r\nwidth=" +
                 std::to_wstring(width) + L"\r\nheight=" + std::to_wstring(height) + L"\r\nfont_id=text\r\n");
  }
};

}  // namespace testing_support
