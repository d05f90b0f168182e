// The skinned edit and the search edit as real "EDIT" windows in a modal dialog on the test display: colours
// asked by the host's real WM_CTLCOLOR... messages, the font, the range clamp on a real focus loss, and the
// search box's hint and Enter key with real keys through the dialog's own modal loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "tests/ui/skinned/SkinnedTestSupport.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/base/IniStringContainer.h"
#include "ui/base/NumberText.h"
#include "ui/gfx/Dib.h"
#include "ui/host/NDialog.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/NoticeWnd.h"
#include "ui/skinned/SearchEdit.h"
#include "ui/skinned/SkinnedEdit.h"
#include "ui/view/NotifyCodes.h"

namespace {

using testing_support::HookLog;
using testing_support::RecordingNode;
using testing_support::RunModalScript;

const uint32_t kStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;

std::function<void()>& NextStep() {
  static std::function<void()> next;
  return next;
}
void CALLBACK RunNextStep(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  std::function<void()> run = std::move(NextStep());
  NextStep() = nullptr;
  if (run)
    run();
}
// Runs `step` from the modal loop once the messages waiting now were handled.
void AfterQueuedMessages(std::function<void()> step) {
  NextStep() = std::move(step);
  SetTimer(nullptr, 0, 10, RunNextStep);
}
void PostKey(HWND window, UINT key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

class PlainDialog : public NDialog {
 public:
  ~PlainDialog() override { Destroy(); }
};

// The font the edit window draws with (null: the system's).
HFONT EditFont(SkinnedEdit& edit) {
  return reinterpret_cast<HFONT>(SendMessageW(edit.window_handle(), WM_GETFONT, 0, 0));
}

// Height, weight and face of a font object; "none" when `font` is no font (deleted, or never one).
std::wstring Description(HFONT font) {
  LOGFONTW info = {};
  if (GetObjectType(font) != OBJ_FONT || GetObjectW(font, sizeof(info), &info) != sizeof(info))
    return L"none";
  return std::to_wstring(info.lfHeight) + L" " + std::to_wstring(info.lfWeight) + L" " + info.lfFaceName;
}

// The brush's colour, or CLR_INVALID when it is no brush.
COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH info = {};
  return GetObjectW(brush, sizeof(info), &info) == sizeof(info) ? info.lbColor : CLR_INVALID;
}

class SkinnedEditTest : public testing_support::SkinnedFixture {
 protected:
  void SetUp() override {
    SkinnedFixture::SetUp();
    WriteSkin(
        L"coloured",
        L"[EDIT]\r\nx=10\r\ny=10\r\nwidth=150\r\nheight=22\r\nlimit=20\r\nfont_id=body\r\n"
        L"back_color_r=266\r\nback_color_g=20\r\nback_color_b=30\r\ntext_color_r=250\r\ntext_color_g=240\r\n"
        L"disabled_back_color_r=90\r\ndisabled_back_color_g=90\r\ndisabled_back_color_b=120\r\n");
    WriteSkin(L"plain", L"[EDIT]\r\nx=10\r\ny=40\r\nwidth=150\r\nheight=22\r\nfont_id=missing\r\n");
    WriteSkin(L"number", L"[EDIT]\r\nx=10\r\ny=70\r\nwidth=80\r\nheight=22\r\n");
    WriteSkin(L"short", L"[EDIT]\r\nx=10\r\ny=100\r\nwidth=80\r\nheight=22\r\nlimit=2\r\n");
    dialog_.Create(300, 200);
  }
  void Make(SkinnedEdit& edit, const wchar_t* skin, uint32_t style, int32_t id) {
    edit.SetSkin(L"main", skin);
    ASSERT_EQ(1, edit.Create(0, 0, 1, 1, id, &dialog_, style));
  }
  HBRUSH AskColours(SkinnedEdit& edit, UINT message, HDC dc) {
    return reinterpret_cast<HBRUSH>(SendMessageW(dialog_.window_handle(), message,
                                                 reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(edit.window_handle())));
  }

  PlainDialog dialog_;
};

TEST_F(SkinnedEditTest, TheHostAsksTheEditForItsColoursAndOnlyTheLastBrushLives) {
  RunModalScript(dialog_, [&] {
    SkinnedEdit coloured, plain, read_only;
    Make(coloured, L"coloured", kStyle, 1);
    Make(plain, L"plain", kStyle, 2);
    Make(read_only, L"coloured", kStyle | ES_READONLY, 3);
    EXPECT_EQ(20u, coloured.GetLimitText());
    FontInfo body;
    ASSERT_EQ(1, FindFontManager(L"main")->FindFont(L"body", &body));
    EXPECT_EQ(Description(body.font), Description(EditFont(coloured)));
    EXPECT_EQ(nullptr, EditFont(plain));  // a missing font keeps the default
    RECT rect;
    GetWindowRect(coloured.window_handle(), &rect);
    EXPECT_EQ(150, rect.right - rect.left);

    HDC dc = GetDC(dialog_.window_handle());
    HBRUSH first = AskColours(coloured, WM_CTLCOLOREDIT, dc);
    EXPECT_EQ(RGB(10, 20, 30), BrushColour(first));  // 266 keeps its low 8 bits
    EXPECT_EQ(RGB(10, 20, 30), GetBkColor(dc));
    EXPECT_EQ(RGB(250, 240, 0), GetTextColor(dc));
    EXPECT_EQ(OPAQUE, GetBkMode(dc));
    HBRUSH second = AskColours(coloured, WM_CTLCOLOREDIT, dc);
    EXPECT_EQ(0u, GetObjectType(first));
    EXPECT_EQ(second, coloured.brush());

    // A read-only box is painted as static: the disabled back colour, the text colour left alone.
    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(RGB(90, 90, 120), BrushColour(AskColours(read_only, WM_CTLCOLORSTATIC, dc)));
    EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc));
    EXPECT_EQ(nullptr, read_only.OnCtlColor(dc, WM_CTLCOLORBTN - WM_CTLCOLORMSGBOX));  // the default look
    // Colours without any of their keys keep their defaults: black text on white, not on black.
    EXPECT_EQ(RGB(255, 255, 255), BrushColour(AskColours(plain, WM_CTLCOLOREDIT, dc)));
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), plain.disabled_back_colour());
    ReleaseDC(dialog_.window_handle(), dc);

    // A reload that releases the skin puts the defaults back.
    coloured.ReleaseSkin();
    EXPECT_EQ(SkinnedEdit::kDefaultBackColour, coloured.back_colour());
    EXPECT_EQ(SkinnedEdit::kDefaultTextColour, coloured.text_colour());
    dialog_.OnOK();
  });
  EXPECT_EQ(0, SkinListenerCount());
}

// Another control of the category loads the set again (the game list does, after the launcher window): the
// set's old fonts are deleted.
TEST_F(SkinnedEditTest, TheFontStaysWhileItsSetIsLoadedAgainAndTheNextSkinLoadTakesTheNewOne) {
  RunModalScript(dialog_, [&] {
    SkinnedEdit edit;
    Make(edit, L"coloured", kStyle, 1);
    const std::wstring loaded = Description(EditFont(edit));
    EXPECT_EQ(L"-13 400 Tahoma", loaded);
    RemoveFontManager(L"main");
    EXPECT_EQ(loaded, Description(EditFont(edit)));
    std::wstring fonts = testing_support::SkinnedTestFonts();
    size_t size = fonts.find(L"size=-13");
    fonts.replace(size, 8, L"size=-15");
    std::unique_ptr<IniStringContainer> ini(
        IniStringContainer::Parse(fonts.c_str(), static_cast<uint32_t>(fonts.size())));
    ASSERT_EQ(1, LoadSkinFonts(L"main", ini.get()));
    EXPECT_EQ(loaded, Description(EditFont(edit)));
    ASSERT_EQ(1, edit.LoadSkin());
    EXPECT_EQ(L"-15 400 Tahoma", Description(EditFont(edit)));
    dialog_.OnOK();
  });
}

TEST_F(SkinnedEditTest, ANumberBoxIsHeldToItsRangeWhenItLosesTheFocus) {
  RunModalScript(dialog_, [&] {
    SkinnedEdit number, short_number, text, other;
    Make(number, L"number", kStyle | ES_NUMBER, 1);       // limit 0: the control's own maximum
    Make(short_number, L"short", kStyle | ES_NUMBER, 2);  // limit 2
    Make(text, L"plain", kStyle, 3);
    Make(other, L"plain", kStyle, 4);
    number.SetNumberRange(1, 99);
    short_number.SetNumberRange(100, 200);
    text.SetNumberRange(1, 99);
    EXPECT_EQ(0, text.range_check());
    struct Case {
      SkinnedEdit* edit;
      const wchar_t* typed;
      const wchar_t* after;
    } cases[] = {
        {&number, L"250", L"99"},      {&number, L"", L"1"},   {&number, L"abc", L"1"},
        {&number, L"42", L"42"},       {&number, L"-7", L"1"}, {&number, L"99999999999", L"99"},
        {&short_number, L"5", L"100"},  // wider than the box's limit: written whole
        {&text, L"250", L"250"},        // no ES_NUMBER: no range
    };
    for (const Case& c : cases) {
      c.edit->SetFocus();
      c.edit->SetText(c.typed);
      other.SetFocus();
      EXPECT_STREQ(c.after, c.edit->GetText()) << c.typed;
    }
    dialog_.OnOK();
  });
}

TEST(NumberEditText, ReadsLikeTheCLibraryAndHoldsTheRange) {
  struct Case {
    const wchar_t* text;
    int32_t value;
  } cases[] = {{L"12ab", 12},
               {L"  +7", 7},
               {L"-15", -15},
               {L"x1", 0},
               {L"", 0},
               {nullptr, 0},
               {L"2147483648", INT32_MAX},
               {L"-2147483648", INT32_MIN},
               {L"-99999999999999999999", INT32_MIN}};
  for (const Case& c : cases)
    EXPECT_EQ(c.value, TextToInt32(c.text)) << (c.text != nullptr ? c.text : L"(null)");
}

// The search box inside a windowless panel that records what it hears.
class SearchEditTest : public SkinnedEditTest {
 protected:
  void Open() {
    ASSERT_TRUE(panel_.Place(0, 0, 300, 200, &dialog_));
    panel_.notify_result = 1;
    search_.SetSkin(L"main", L"coloured");
    ASSERT_EQ(1, search_.Create(0, 0, 1, 1, 7, &panel_, kStyle));
    other_.SetSkin(L"main", L"plain");
    ASSERT_EQ(1, other_.Create(0, 0, 1, 1, 8, &panel_, kStyle));
  }

  HookLog log_;
  RecordingNode panel_{"panel", &log_};
  SearchEdit search_;
  SkinnedEdit other_;
};

TEST_F(SearchEditTest, TheHintComesBackWhenTheEmptyBoxLosesTheFocusAndNeverReplacesTypedText) {
  RunModalScript(dialog_, [&] {
    Open();
    search_.SetHintText(L"Search games");
    EXPECT_STREQ(L"Search games", search_.GetText());
    EXPECT_EQ(1, search_.hint_shown());
    search_.SetFocus();
    EXPECT_STREQ(L"", search_.GetText());
    EXPECT_EQ(0, search_.hint_shown());
    other_.SetFocus();
    EXPECT_STREQ(L"Search games", search_.GetText());
    EXPECT_EQ(1, search_.hint_shown());

    search_.SetFocus();
    search_.SetHintText(L"While focused");  // only stored
    EXPECT_STREQ(L"", search_.GetText());
    for (UINT key : {'A', 'B', 'C'})
      PostKey(search_.window_handle(), key);
    AfterQueuedMessages([&] {
      EXPECT_STREQ(L"abc", search_.GetText());
      other_.SetFocus();
      EXPECT_STREQ(L"abc", search_.GetText());
      search_.SetHintText(L"New hint");  // the user's text stays
      EXPECT_STREQ(L"abc", search_.GetText());
      EXPECT_EQ(0, search_.hint_shown());
      search_.SetFocus();
      search_.SetText(L"");
      other_.SetFocus();
      EXPECT_STREQ(L"New hint", search_.GetText());
      dialog_.OnOK();
    });
  });
}

TEST_F(SearchEditTest, EnterSendsOneClickInsertsNothingAndLeavesTheDialogOpen) {
  RunModalScript(dialog_, [&] {
    Open();
    search_.SetFocus();
    PostKey(search_.window_handle(), 'G');
    PostKey(search_.window_handle(), VK_RETURN);
    PostKey(search_.window_handle(), 'O');
    AfterQueuedMessages([&] {
      EXPECT_STREQ(L"go", search_.GetText());
      HookLog notified;
      for (const std::string& entry : log_) {
        if (entry.find(".notify") != std::string::npos)
          notified.push_back(entry);
      }
      EXPECT_EQ((HookLog{"panel.notify " + std::to_string(NOTIFY_CLICKED) + " 7"}), notified);
      EXPECT_TRUE(dialog_.in_modal_run());
      EXPECT_FALSE(dialog_.modal_ending());
      dialog_.OnOK();
    });
  });
}

}  // namespace

namespace {

// A dialog with a light background, so that the strip's transparent parts show it.
class GreyDialog : public NDialog {
 public:
  ~GreyDialog() override { Destroy(); }
  void OnPaint(HDC, Dib* surface) override {
    if (surface != nullptr)
      surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, 0xFFE8E8E8u);
  }
};

TEST_F(SkinnedEditTest, ScreenshotOfAColouredEditASearchHintAndTheTickerMidChange) {
  WriteSkin(L"notice_btn",
            L"[BUTTON]\r\nwidth=10\r\nheight=20\r\n[BTN_NORMAL]\r\nfont_id=body\r\ntext_y=3\r\n"
            L"text_color_r=20\r\ntext_color_g=40\r\ntext_color_b=120\r\n");
  WriteSkin(L"notice",
            L"[BACK]\r\nx=10\r\ny=110\r\nwidth=260\r\nheight=20\r\n[NOTICE_TEXT]\r\nshow_time=500\r\n"
            L"v_scroll_speed=100\r\n");
  WriteSkin(L"search",
            L"[EDIT]\r\nx=10\r\ny=40\r\nwidth=150\r\nheight=22\r\nfont_id=body\r\n"
            L"text_color_r=128\r\ntext_color_g=128\r\ntext_color_b=128\r\n");
  GreyDialog dialog;
  dialog.Create(300, 150);
  testing_support::PngImage shot;
  RunModalScript(dialog, [&] {
    SkinnedEdit coloured;
    coloured.SetSkin(L"main", L"coloured");
    ASSERT_EQ(1, coloured.Create(0, 0, 1, 1, 1, &dialog, kStyle));
    coloured.SetText(L"Coloured edit");
    SearchEdit search;
    search.SetSkin(L"main", L"search");
    ASSERT_EQ(1, search.Create(0, 0, 1, 1, 2, &dialog, kStyle));
    search.SetHintText(L"Search games");
    NoticeWnd strip;
    strip.SetSkin(L"main", L"notice");
    ASSERT_EQ(1, strip.Create(0, 0, 1, 1, 3, &dialog));
    strip.Show(1, 0);
    strip.SetNoticeCount(2);
    strip.texts()[0].Assign(L"Server maintenance tonight");
    strip.texts()[1].Assign(L"New game: Starfall");
    testing_support::FakeFrameInputs::now() = 200000;
    strip.UpdateDisplay();
    for (uint32_t at : {0u, 500u, 600u}) {
      testing_support::FakeFrameInputs::now() = 200000 + at;
      strip.Update();
    }
    ASSERT_NE(-1, strip.incoming());  // mid-change: both notices half in the strip
    EXPECT_EQ(10, strip.button(0).y());
    dialog.Resize(300, 150);
    // Away from the corner where the menu's screenshot is taken: window tests share the display.
    dialog.Move(560, 420);
    dialog.Show(1, 1);
    dialog.Invalidate();
    UpdateWindow(dialog.window_handle());
    POINT origin = {0, 0};
    ClientToScreen(dialog.window_handle(), &origin);
    RECT client = {origin.x, origin.y, origin.x + 300, origin.y + 150};
    // The picture has reached the screen when the coloured box's right end shows its back colour.
    ASSERT_TRUE(testing_support::PumpUntil([&] {
      shot = testing_support::CaptureScreen(client);
      return testing_support::PixelAt(shot, 150, 20) == 0x0A141E &&
             testing_support::PixelAt(shot, 290, 140) == 0xE8E8E8;
    }));
    EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"edit_ticker_search.png"));
    strip.Destroy();
    dialog.OnOK();
  });
}

}  // namespace
