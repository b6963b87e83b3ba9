// The help window: its layout at any size, the usage text fitting its fixed
// 2050-pixel height, and which commands end its modal run.
#include <gtest/gtest.h>

#include "app/help_wnd.h"
#include "app/texts.h"
#include "tests/app/app_test_support.h"

namespace {

using HelpWindow = AppTest;

TEST_F(HelpWindow, LayoutFollowsTheWindowSize) {
  const RECT rects[] = {Shell::WorkArea(), RECT{40, 100, 400, 700}, RECT{0, 0, 480, 300}};
  for (const RECT& r : rects) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    HelpWnd help;
    ASSERT_TRUE(help.Create(r.left, r.top, w, h, nullptr, 0, WS_POPUP, 0));
    EXPECT_EQ(std::u16string(help.GetWndClassName()), u"HelpWnd");
    const auto& top = help.GetUiWins();
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0], &help.TextPane());
    EXPECT_EQ(top[1], &help.Toolbar());

    ExpectBounds(help.TextPane(), 0, 0, w, h - 65, __LINE__);
    EXPECT_EQ(help.TextPane().GetID(), 103);
    EXPECT_TRUE(help.TextPane().IsScrollBarVEnabled());
    EXPECT_TRUE(help.TextPane().IsDragScrollbarVEnabled());

    ASSERT_EQ(help.TextPane().GetChildren().size(), 1u);
    EXPECT_EQ(help.TextPane().GetChildren()[0], &help.Text());
    ExpectBounds(help.Text(), 20, 30, w - 40, 2050, __LINE__);
    EXPECT_EQ(help.Text().GetDrawTextFormat(), 0x8010u);
    EXPECT_EQ(help.Text().GetText(), tintor_text::kUsageText);

    ExpectBounds(help.Toolbar(), 0, h - 65, w, 65, __LINE__);
    EXPECT_EQ(help.Toolbar().GetID(), 400);
    ASSERT_NE(help.Toolbar().GetButtonText(0), nullptr);
    EXPECT_EQ(std::u16string(help.Toolbar().GetButtonText(0)), u"返回");
    EXPECT_TRUE(help.Toolbar().IsButtonEnabled(0));
    EXPECT_TRUE(help.Toolbar().IsLeftArrowEnabled());
    EXPECT_EQ(help.Toolbar().GetButtonText(1), nullptr);
    EXPECT_EQ(help.Toolbar().GetButtonText(2), nullptr);
  }
}

TEST_F(HelpWindow, UsageTextIsNotCut) {
  HelpWnd help;
  const RECT area = Shell::WorkArea();
  ASSERT_TRUE(help.Create(area.left, area.top, area.right - area.left, area.bottom - area.top,
                          nullptr, 0, WS_POPUP, 0));
  EXPECT_EQ(help.Text().GetWidth(), 440);
  EXPECT_FALSE(help.Text().IsTextCut());
  const int needed = help.Text().MeasureTextHeight();
  EXPECT_GT(needed, 23 * 20) << "the text does not look laid out";
  EXPECT_LE(needed, 2050);
  // The measure can tell: the same text twice over needs more than the height.
  UiStatic doubled;
  doubled.SetBounds(0, 0, 440, 2050, 0);
  doubled.SetDrawTextFormat(HelpWnd::kTextFormat);
  const std::u16string twice = std::u16string(tintor_text::kUsageText) + u"\n" +
                               tintor_text::kUsageText;
  doubled.SetDisplayText(twice.c_str());
  EXPECT_GT(doubled.MeasureTextHeight(), 2050);
  EXPECT_TRUE(doubled.IsTextCut());
}

TEST_F(HelpWindow, OnlyItsToolbarEndsTheRun) {
  HelpWnd help;
  const RECT area = Shell::WorkArea();
  ASSERT_TRUE(help.Create(area.left, area.top, area.right - area.left, area.bottom - area.top,
                          nullptr, 0, WS_POPUP, 0));
  // Commands that must leave it open, then the toolbar's with high bits set.
  const WPARAM ignored[] = {103, 0, 101, 399, 401, 0xFFFF, 0x0190FFFF};
  for (WPARAM id : ignored) shell().PostMessage(help.m_hWnd, WM_COMMAND, id, 0);
  int delivered_before_end = -1;
  host().SetIdleCallback([&] {
    // Every ignored command was delivered and the window still runs.
    delivered_before_end = static_cast<int>(shell().PendingMessages());
    EXPECT_TRUE(help.IsModal());
    shell().PostMessage(help.m_hWnd, WM_COMMAND, 0x12340000u | 400, 7);
    host().InjectWait(1);  // something to do, or the host would end the run
  });
  EXPECT_EQ(help.DoModal(1), 1);
  EXPECT_EQ(delivered_before_end, 0);
  EXPECT_FALSE(help.IsModal());
  EXPECT_FALSE(shell().QuitRequested());
}

TEST_F(HelpWindow, KeysScrollTheTextAndEscGoesBack) {
  HelpWnd help;
  const RECT area = Shell::WorkArea();
  ASSERT_TRUE(help.Create(area.left, area.top, area.right - area.left, area.bottom - area.top,
                          nullptr, 0, WS_POPUP, 0));
  const UiScrollWin& pane = help.TextPane();
  const int end = pane.GetMaxScrollY(), page = pane.GetHeight() - 60;
  const std::pair<InputKey, int> steps[] = {
      {InputKey::Up, 0},   {InputKey::Down, 60},     {InputKey::Down, 120}, {InputKey::Up, 60},
      {InputKey::End, end}, {InputKey::PageDown, end}, {InputKey::Home, 0},
      {InputKey::PageDown, page}, {InputKey::PageUp, 0}, {InputKey::Enter, 0}};
  for (const auto& [key, scroll] : steps) {
    Key(key);
    host().InjectCall([&pane, scroll = scroll] { EXPECT_EQ(pane.GetScrollY(), scroll); });
  }
  Key(InputKey::Escape);
  EXPECT_EQ(help.DoModal(1), 1);
  EXPECT_FALSE(shell().QuitRequested()) << "the run ended by the input, not by running out of it";
}

}  // namespace
