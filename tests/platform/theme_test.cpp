// The theme colours are read from the registry when the shell starts and
// change what is drawn; anything wrong in the registry leaves the defaults.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/shell/color.h"
#include "platform/shell/theme_colors.h"
#include "platform/ui/message_box_panel.h"
#include "platform/ui/toolkit.h"
#include "platform/ui/popup_menu_sheet.h"
#include "platform/win/registry.h"
#include "tests/platform/test_windows.h"
#include "tests/support/headless_shell_test.h"

namespace {

constexpr const char16_t* kColors = u"\\SOFTWARE\\Meizu\\Theme\\Colors";

class Theme : public HeadlessShellTest {
 protected:
  // Paints a window with a static text and a toolbar, returns nothing; the
  // screen is then in shell().
  void PaintSample() {
    wnd_ = std::make_unique<RecordingWnd>();
    wnd_->CreateOverWorkArea();
    text_.SetBounds(20, 20, 440, 60);
    text_.SetDisplayText(u"■■■ 一二三");  // solid squares: full-colour pixels
    wnd_->AddUiWin(&text_);
    toolbar_.SetBounds(0, 620, 480, 65);
    toolbar_.SetButton(0, true, true, u"一一一");
    toolbar_.SetButton(2, false, true, u"一一一");
    wnd_->AddUiWin(&toolbar_);
    Pump();
  }
  // True when some pixel in the screen rectangle has the hue of `rgb`, whose
  // channels are each 0x00 or 0xFF: full channels at least 0xE0, empty ones
  // at most 0x80 (glyph edges blend with the background).
  bool Shows(int x0, int y0, int x1, int y1, std::uint32_t rgb) {
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const std::uint32_t p = Pixel(x, y);
        bool close = true;
        for (int shift : {0, 8, 16}) {
          const std::uint32_t have = (p >> shift) & 0xFF;
          close = close && (((rgb >> shift) & 0xFF) != 0 ? have >= 0xE0 : have <= 0x80);
        }
        if (close) return true;
      }
    }
    return false;
  }
  void TearDown() override {
    wnd_.reset();
    HeadlessShellTest::TearDown();
  }

  UiStatic text_;
  UiToolbar_Text toolbar_;
  std::unique_ptr<RecordingWnd> wnd_;
};

}  // namespace

TEST_F(Theme, DefaultsWhenTheRegistryHasNoColours) {
  const ThemeColors defaults;
  EXPECT_EQ(shell().Theme().window_bg, 0x00ECECECu);
  EXPECT_EQ(shell().Theme().static_text, defaults.static_text);
  PaintSample();
  EXPECT_EQ(Pixel(240, 400), 0xECECECu);
}

TEST_F(Theme, ColoursWrittenShowAfterTheNextStartOnly) {
  ASSERT_TRUE(WriteRegistryDword(kColors, u"SYSCLR_WINDOW_BG", RGB(0x20, 0x40, 0x80)));
  ASSERT_TRUE(WriteRegistryDword(kColors, u"sysclr_static_text", RGB(0xFF, 0x00, 0x00)));
  ASSERT_TRUE(WriteRegistryDword(kColors, u"SYSCLR_TOOLBAR_TEXT", RGB(0x00, 0xFF, 0x00)));
  ASSERT_TRUE(WriteRegistryDword(kColors, u"SYSCLR_TOOLBAR_TEXT_DISABLED", RGB(0xFF, 0xFF, 0x00)));
  // Top byte set: it is ignored when drawing.
  ASSERT_TRUE(WriteRegistryDword(kColors, u"SYSCLR_LIST_TEXT", 0xFF0000FFu));
  PaintSample();
  EXPECT_EQ(Pixel(240, 400), 0xECECECu) << "the running phone keeps the colours it started with";
  EXPECT_FALSE(Shows(20, 55, 460, 115, 0xFF0000));

  wnd_.reset();
  RestartShell();
  EXPECT_EQ(shell().Theme().list_text, 0xFF0000FFu);
  PaintSample();
  EXPECT_EQ(Pixel(240, 400), 0x204080u);
  EXPECT_TRUE(Shows(20, 55, 460, 115, 0xFF0000)) << "static text in SYSCLR_STATIC_TEXT";
  EXPECT_TRUE(Shows(0, 655, 160, 720, 0x00FF00)) << "toolbar text in SYSCLR_TOOLBAR_TEXT";
  EXPECT_TRUE(Shows(320, 655, 480, 720, 0xFFFF00)) << "disabled toolbar text";
  EXPECT_FALSE(Shows(0, 655, 160, 720, 0xFFFF00));
}

TEST_F(Theme, UnreadableRegistryOrWrongTypesLeaveTheDefaults) {
  // A value of the wrong type or size is not a colour.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kColors, 0, nullptr, 0, 0, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const char16_t text[] = u"red";
  EXPECT_EQ(RegSetValueExW(key, u"SYSCLR_WINDOW_BG", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(text), sizeof(text)),
            ERROR_SUCCESS);
  const BYTE two[2] = {1, 2};
  EXPECT_EQ(RegSetValueExW(key, u"SYSCLR_STATIC_TEXT", 0, REG_BINARY, two, 2), ERROR_SUCCESS);
  RegCloseKey(key);
  RestartShell();
  EXPECT_EQ(shell().Theme().window_bg, ThemeColors{}.window_bg);
  EXPECT_EQ(shell().Theme().static_text, ThemeColors{}.static_text);

  // A file that is not a registry file at all.
  {
    std::ofstream garbage(RegistryPath(), std::ios::binary | std::ios::trunc);
    garbage << "\x01\x02 this is not a registry export \xff\xfe";
  }
  RestartShell();
  EXPECT_EQ(shell().Theme().window_bg, 0x00ECECECu);
  PaintSample();
  EXPECT_EQ(Pixel(240, 400), 0xECECECu);
}

TEST(TextContrast, ATextColourIsKeptOnlyWhereItCanBeRead) {
  const COLORREF fallback = RGB(0x20, 0x20, 0x20);
  struct Case {
    int line;
    COLORREF text, surface;
    bool kept;
  } cases[] = {
      {__LINE__, RGB(0x20, 0x20, 0x20), RGB(0xFF, 0xFF, 0xFF), true},   // the default
      {__LINE__, RGB(0xFF, 0x00, 0x00), RGB(0xFF, 0xFF, 0xFF), true},   // red reads on white
      {__LINE__, RGB(0x00, 0x00, 0x98), RGB(0xF5, 0xF6, 0xF7), true},   // dark blue
      {__LINE__, RGB(0xA8, 0xA8, 0xA8), RGB(0xFF, 0xFF, 0xFF), true},   // mid grey, just
      {__LINE__, RGB(0xFF, 0xFF, 0xFF), RGB(0xFF, 0xFF, 0xFF), false},  // white on white
      {__LINE__, RGB(0xFF, 0xFF, 0xFF), RGB(0xFA, 0xFA, 0xFB), false},
      {__LINE__, RGB(0xEC, 0xEC, 0xEC), RGB(0xF5, 0xF6, 0xF7), false},  // the window grey
      {__LINE__, RGB(0xFF, 0xFF, 0x00), RGB(0xFF, 0xFF, 0xFF), false},  // yellow
      {__LINE__, RGB(0x00, 0xFF, 0xFF), RGB(0xFF, 0xFF, 0xFF), false},  // cyan
      {__LINE__, RGB(0xC0, 0xC0, 0xC0), RGB(0xFF, 0xFF, 0xFF), false},  // light grey
      {__LINE__, 0x05FFFFFFu, RGB(0xFF, 0xFF, 0xFF), false},           // top byte ignored
      {__LINE__, RGB(0xFF, 0xFF, 0xFF), RGB(0x00, 0x00, 0x00), true},   // white on black
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    EXPECT_EQ(ReadableText(c.text, c.surface, fallback), c.kept ? c.text : fallback);
  }
  EXPECT_DOUBLE_EQ(ContrastRatio(RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF)), 21.0);
  EXPECT_DOUBLE_EQ(ContrastRatio(RGB(0x12, 0x34, 0x56), RGB(0x12, 0x34, 0x56)), 1.0);
}

TEST_F(Theme, TheMenuAndTheBoxStayReadableWithTextsMadeForDarkWindows) {
  // What the usage text advises after a dark window background: light texts.
  ASSERT_TRUE(WriteRegistryDword(kColors, u"SYSCLR_WINDOW_BG", RGB(0, 0, 0)));
  for (const char16_t* name : {u"SYSCLR_LIST_TEXT", u"SYSCLR_WINDOW_TEXT", u"SYSCLR_BUTTON_TEXT"}) {
    ASSERT_TRUE(WriteRegistryDword(kColors, name, RGB(0xFF, 0xFF, 0xFF)));
  }
  RestartShell();
  // A menu item, the menu's title, its cancel button: dark text on the light sheet.
  MzPopupMenu menu;
  menu.SetMenuTitle(u"■■■■", nullptr);
  menu.AppendMenuItem(17, u"■■■■", 0);
  host().InjectCall([this] {
    auto* sheet = dynamic_cast<PopupMenuSheet*>(shell().TopLayer());
    ASSERT_NE(sheet, nullptr);
    const RECT item = sheet->ItemRect(0);
    EXPECT_TRUE(Shows(0, item.top, 240, item.bottom, 0x000000)) << "the item's text";
    const int title = sheet->SheetTop();
    // Clear of the sheet's rounded corners, where the dark screen shows.
    EXPECT_TRUE(Shows(20, title + 16, 240, title + MzPopupMenu::kTitleHeight - 2, 0x000000))
        << "the menu's title";
    const RECT cancel = sheet->CancelRect();
    EXPECT_TRUE(Shows(cancel.left, cancel.top, cancel.right, cancel.bottom, 0x000000))
        << "the cancel button's text";
    host().InjectKey(InputKey::Escape);
  });
  EXPECT_EQ(menu.MzTrackPopupMenu(nullptr), 0);
  // The box's caption and text.
  host().InjectCall([this] {
    auto* box = dynamic_cast<MessageBoxPanel*>(shell().TopLayer());
    ASSERT_NE(box, nullptr);
    const RECT panel = box->PanelRect();
    const RECT button = box->ButtonRect();
    EXPECT_TRUE(Shows(panel.left + 20, panel.top + 20, panel.right - 20, button.top - 20, 0x000000))
        << "the box's caption and text";
    host().InjectKey(InputKey::Enter);
  });
  MzMessageBoxEx(nullptr, u"■■■■", u"■■■■", MZ_OK, 0);

  // A text colour that reads on the sheet is used as it is.
  ASSERT_TRUE(WriteRegistryDword(kColors, u"SYSCLR_LIST_TEXT", RGB(0xFF, 0x00, 0x00)));
  RestartShell();
  MzPopupMenu red;
  red.AppendMenuItem(17, u"■■■■", 0);
  host().InjectCall([this] {
    auto* sheet = dynamic_cast<PopupMenuSheet*>(shell().TopLayer());
    ASSERT_NE(sheet, nullptr);
    const RECT item = sheet->ItemRect(0);
    EXPECT_TRUE(Shows(0, item.top, 240, item.bottom, 0xFF0000)) << "the item's text in red";
    host().InjectKey(InputKey::Escape);
  });
  EXPECT_EQ(red.MzTrackPopupMenu(nullptr), 0);
}

TEST_F(Theme, TheScrollIndicatorShowsOnDarkAndLightWindows) {
  // A pane over the whole window with content three times its height; the
  // finger drags it and holds still, so the indicator is up.
  for (COLORREF bg : {RGB(0, 0, 0), RGB(0xEC, 0xEC, 0xEC), RGB(0xFF, 0xFF, 0xFF),
                      RGB(0x00, 0x00, 0x98)}) {
    SCOPED_TRACE(testing::Message() << "window background 0x" << std::hex << bg);
    ASSERT_TRUE(WriteRegistryDword(kColors, u"SYSCLR_WINDOW_BG", bg));
    RestartShell();
    RecordingWnd wnd;
    wnd.CreateOverWorkArea();
    UiScrollWin pane;
    UiWin content;
    pane.SetBounds(0, 0, 480, 600);
    pane.EnableScrollBarV(true);
    content.SetBounds(0, 0, 480, 1800);
    pane.AddChild(&content);
    wnd.AddUiWin(&pane);
    host().Inject(InputEvent::Press(240, 500));
    host().Inject(InputEvent::Move(240, 450));
    host().Inject(InputEvent::Move(240, 400));
    int strongest = 0;
    host().InjectCall([&] {
      ASSERT_TRUE(pane.IsIndicatorShown());
      // The indicator's column against the window's background.
      for (int y = 35; y < 35 + 600; ++y) {
        const std::uint32_t p = Pixel(480 - 6, y);
        for (int shift : {0, 8, 16}) {
          const int have = static_cast<int>((p >> shift) & 0xFF);
          const int want = static_cast<int>((bg >> (16 - shift)) & 0xFF);  // COLORREF is BGR
          strongest = std::max(strongest, std::abs(have - want));
        }
      }
    });
    host().Inject(InputEvent::Release(240, 400));
    Pump();
    EXPECT_GE(strongest, 60) << "the indicator hardly stands out from the background";
    pane.RemoveChild(&content);
    wnd.RemoveUiWin(&pane);
  }
}
