// The main window's command handling: which notifications act, the toolbar's
// three actions, the swatch flow's menu, writes and boxes, and failures.
#include <gtest/gtest.h>

#include "app/texts.h"
#include "model/color_swatches.h"
#include "model/theme_targets.h"
#include "platform/win/registry.h"
#include "tests/app/app_test_support.h"
#include "tests/platform/win/write_fault.h"

namespace {

using CommandHandling = AppTest;

constexpr WPARAM kHighBits = 0xBEEF0000u;

// Nothing at all happened: no modal run, no registry file written.
void ExpectNothingHappened(const ModalLog& log, const std::string& registry_bytes, int line) {
  SCOPED_TRACE("checked at line " + std::to_string(line));
  EXPECT_EQ(log.menus, 0);
  EXPECT_TRUE(log.boxes.empty());
  EXPECT_EQ(log.help_windows, 0);
  EXPECT_TRUE(registry_bytes.empty()) << "the registry file was written";
}

TEST_F(CommandHandling, IdsOutsideTheSwatchesAndToolbarDoNothing) {
  OpenMainWindow();
  // Below 101 (wraps around), above 169, the pane, the overlay and the gaps.
  const WPARAM ids[] = {0, 1, 100, 170, 171, 201, 400, 0x7FFF, 0xFFFF, 122, 165, 166,
                        kHighBits | 100, kHighBits | 122, kHighBits | 0xFFFF};
  for (WPARAM id : ids) {
    for (LPARAM lparam : {LPARAM{0}, LPARAM{1}, LPARAM{2}}) {
      SCOPED_TRACE("wParam " + std::to_string(id) + ", lParam " + std::to_string(lparam));
      ClearLog();
      AnswerMenus({3});  // were a menu shown, a target would be chosen and written
      Notify(id, lparam);
      ExpectNothingHappened(log(), RegistryBytes(), __LINE__);
      EXPECT_FALSE(shell().QuitRequested());
    }
  }
}

TEST_F(CommandHandling, ToolbarButtonsOutsideZeroToTwoDoNothing) {
  OpenMainWindow();
  for (LPARAM lparam : {LPARAM{3}, LPARAM{4}, LPARAM{-1}, LPARAM{-2}, LPARAM{0x10000},
                        LPARAM{0x100000000LL}}) {
    SCOPED_TRACE("lParam " + std::to_string(lparam));
    ClearLog();
    Notify(101, lparam);
    ExpectNothingHappened(log(), RegistryBytes(), __LINE__);
    EXPECT_FALSE(shell().QuitRequested());
  }
}

TEST_F(CommandHandling, QuitPostsExitCodeZeroWhateverTheHighBits) {
  for (WPARAM wparam : {WPARAM{101}, kHighBits | 101, WPARAM{0xFFFF0065}}) {
    RestartShell();
    host().SetIdleCallback(nullptr);
    OpenMainWindow();
    Notify(wparam, 0);
    EXPECT_TRUE(shell().QuitRequested()) << "wParam " << wparam;
    EXPECT_EQ(shell().ExitCode(), 0);
    EXPECT_TRUE(log().boxes.empty());
    CloseMainWindow();
  }
}

TEST_F(CommandHandling, AboutShowsTheAboutTextOnce) {
  OpenMainWindow();
  Notify(kHighBits | 101, 2);
  ASSERT_EQ(log().boxes.size(), 1u);
  const std::u16string file(RegistryPath().begin(), RegistryPath().end());  // ASCII
  // The file is the one TINTOR_REGISTRY names, and the box says so.
  EXPECT_EQ(log().boxes[0].text, tintor_text::AboutText(file, u"（由 $TINTOR_REGISTRY 指定）"));
  EXPECT_EQ(log().boxes[0].caption, u"关于");
  EXPECT_EQ(log().menus, 0);
  EXPECT_FALSE(shell().QuitRequested());
}

TEST_F(CommandHandling, HelpRunsModallyOverTheWorkAreaAndMainWindowStaysUsable) {
  CTintorMainWnd& wnd = OpenMainWindow();
  Notify(101, 1);
  ASSERT_EQ(log().help_windows, 1);
  EXPECT_EQ(log().help_class, u"HelpWnd");
  const RECT area = Shell::WorkArea();
  EXPECT_EQ(log().help_rect.left, area.left);
  EXPECT_EQ(log().help_rect.top, area.top);
  EXPECT_EQ(log().help_rect.right, area.right);
  EXPECT_EQ(log().help_rect.bottom, area.bottom);
  EXPECT_EQ(log().help_parent, wnd.m_hWnd);
  EXPECT_EQ(log().help_style, 0x80000000u);
  EXPECT_EQ(log().help_show_animation, 13);
  EXPECT_EQ(log().help_hide_animation, 5);
  EXPECT_TRUE(log().help_modal);
  // The back button ended the run and the handler returned: the help window
  // is gone and nothing else was shown.
  EXPECT_EQ(shell().LoopDepth(), 0);
  EXPECT_EQ(shell().LayerCount(), 1u);
  EXPECT_TRUE(log().boxes.empty());
  EXPECT_FALSE(shell().QuitRequested());

  // The main window answers a tap on a swatch again, and a fresh help window
  // opens on the next press.
  ClearLog();
  AnswerMenus({0});
  const POINT p = SwatchCentre(0);
  Tap(p.x, p.y);
  Pump();
  EXPECT_EQ(log().menus, 1);
  EXPECT_EQ(log().boxes.size(), 1u);
  ClearLog();
  Notify(101, 1);
  EXPECT_EQ(log().help_windows, 1);
  EXPECT_EQ(shell().LayerCount(), 1u);
}

TEST_F(CommandHandling, SwatchMenuOffersTheTwentyTargets) {
  OpenMainWindow();
  Notify(kHighBits | 150, 0);
  ASSERT_EQ(log().menus, 1);
  EXPECT_EQ(log().menu_rows[0], 20u);
  EXPECT_TRUE(log().boxes.empty());
}

TEST_F(CommandHandling, DismissedMenuWritesNothingAndShowsNothing) {
  OpenMainWindow();
  for (Dismiss how : {Dismiss::Escape, Dismiss::CancelButton, Dismiss::TapOutside}) {
    SCOPED_TRACE("dismiss kind " + std::to_string(static_cast<int>(how)));
    ClearLog();
    DismissMenusBy(how);
    AnswerMenus({kMenuDismiss});
    Notify(167, 0);
    EXPECT_EQ(log().menus, 1);
    EXPECT_TRUE(log().boxes.empty());
    EXPECT_TRUE(RegistryBytes().empty()) << "the registry file was written";
    EXPECT_EQ(shell().LayerCount(), 1u);
  }
}

TEST_F(CommandHandling, HighBitsDoNotChangeTheSwatch) {
  OpenMainWindow();
  AnswerMenus({3});
  Notify(0xFFFF0000u | 167, 0);  // swatch 167, "4 窗口背景"
  ASSERT_EQ(log().boxes.size(), 1u);
  EXPECT_EQ(log().boxes[0].text, u"设置成功");
  const FileDword v = ReadFileValue(u"\\SOFTWARE\\Meizu\\Theme\\Colors", u"SYSCLR_WINDOW_BG");
  ASSERT_TRUE(v.present);
  EXPECT_EQ(v.type, 4u);
  EXPECT_EQ(v.data, (std::vector<unsigned char>{0xA2, 0xFA, 0x38, 0x03}));
}

TEST_F(CommandHandling, SameSwatchTwiceBuildsTheMenuTwiceAndWritesOncePerChoice) {
  OpenMainWindow();
  AnswerMenus({0, 19});
  const POINT p = SwatchCentre(1);  // 103
  Tap(p.x, p.y);
  Pump();
  Tap(p.x, p.y);
  Pump();
  EXPECT_EQ(log().menus, 2);
  ASSERT_EQ(log().menu_rows.size(), 2u);
  EXPECT_EQ(log().menu_rows[0], 20u);
  EXPECT_EQ(log().menu_rows[1], 20u) << "the second menu is not built afresh";
  ASSERT_EQ(log().boxes.size(), 2u);
  EXPECT_EQ(log().boxes[0].caption, u"成功");
  EXPECT_EQ(log().boxes[1].caption, u"成功");
  const std::vector<unsigned char> colour{0x9C, 0, 0, 0};
  EXPECT_EQ(ReadFileValue(u"\\SOFTWARE\\Meizu\\Theme\\Colors\\App", u"MUSIC_LYRIC_SHADOW_COLOR")
                .data,
            colour);
  EXPECT_EQ(ReadFileValue(u"\\SOFTWARE\\Meizu\\Theme\\Colors", u"SYSCLR_CAPTION_TEXT").data,
            colour);
  EXPECT_EQ(FileValueCount(), 2u);
}

TEST_F(CommandHandling, UnparsableRegistryFileGivesFailureBoxAndStaysAsItWas) {
  OpenMainWindow();
  const std::string corrupt = "\xFF\xFEthis is not a registry file\r\n[HKEY_LOCAL_MACHINE";
  SetRegistryBytes(corrupt);
  AnswerMenus({3});
  Notify(104, 0);
  ASSERT_EQ(log().boxes.size(), 1u);
  EXPECT_EQ(log().boxes[0].text, u"设置失败");
  EXPECT_EQ(log().boxes[0].caption, u"失败");
  EXPECT_EQ(RegistryBytes(), corrupt);
}

TEST_F(CommandHandling, UnwritableRegistryGivesFailureBoxAndKeepsTheOldFile) {
  OpenMainWindow();
  // A first colour goes in; the disk then fails on every write.
  AnswerMenus({3, 3, 12});
  Notify(104, 0);
  ASSERT_EQ(log().boxes.size(), 1u);
  ASSERT_EQ(log().boxes[0].text, u"设置成功");
  const std::string before = RegistryBytes();

  SetWriteFault(WriteFault{10, false, 28 /* ENOSPC */});
  Notify(105, 0);
  SetWriteFault(WriteFault{-1, true, 5 /* EIO */});
  Notify(106, 0);
  SetWriteFault(WriteFault{});
  ASSERT_EQ(log().boxes.size(), 3u);
  for (std::size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(log().boxes[i].text, u"设置失败") << i;
    EXPECT_EQ(log().boxes[i].caption, u"失败") << i;
  }
  EXPECT_EQ(RegistryBytes(), before);
  EXPECT_EQ(ReadFileValue(u"\\SOFTWARE\\Meizu\\Theme\\Colors", u"SYSCLR_WINDOW_BG").data,
            (std::vector<unsigned char>{0xFF, 0, 0, 0}));
}

TEST_F(CommandHandling, UnreachableRegistryPlaceGivesFailureBox) {
  OpenMainWindow();
  // The registry file's folder is a regular file: nothing can be created there.
  SetRegistryBytes("");
  RegistryUseFile(RegistryPath() + "/inside/registry.reg");
  AnswerMenus({0});
  Notify(102, 0);
  ASSERT_EQ(log().boxes.size(), 1u);
  EXPECT_EQ(log().boxes[0].text, u"设置失败");
  EXPECT_EQ(log().boxes[0].caption, u"失败");
}

}  // namespace
