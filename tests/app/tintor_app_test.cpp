// Start-up and shutdown: the main window over the work area, the return value
// of InitApplication, and the quit path's exit code.
#include <gtest/gtest.h>

#include "app/tintor_app.h"
#include "tests/support/headless_shell_test.h"

namespace {

using TintorApp = HeadlessShellTest;

TEST_F(TintorApp, InitApplicationShowsTheMainWindowOverTheWorkArea) {
  CTintorApp app;
  EXPECT_EQ(app.InitApplication(), 1);
  CTintorMainWnd& wnd = app.MainWindow();
  ASSERT_NE(wnd.m_hWnd, nullptr);
  const RECT area = Shell::WorkArea();
  const RECT r = wnd.GetWindowRect();
  EXPECT_EQ(r.left, area.left);
  EXPECT_EQ(r.top, area.top);
  EXPECT_EQ(r.right, area.right);
  EXPECT_EQ(r.bottom, area.bottom);
  EXPECT_EQ(wnd.GetParentWnd(), nullptr);
  EXPECT_EQ(wnd.GetID(), 0);
  EXPECT_EQ(wnd.GetStyle(), 0u);
  EXPECT_TRUE(wnd.IsVisible());
  EXPECT_EQ(wnd.GetUiWins().size(), 3u) << "OnInitDialog did not lay the window out";
  EXPECT_EQ(CMzWnd::FromHandle(wnd.m_hWnd), &wnd);
}

TEST_F(TintorApp, InitApplicationReturnsOneEvenWhenCreationFails) {
  CTintorApp app;
  ASSERT_EQ(app.InitApplication(), 1);
  HWND first = app.MainWindow().m_hWnd;
  // The window exists already, so this Create fails; start-up still says 1.
  EXPECT_EQ(app.InitApplication(), 1);
  EXPECT_EQ(app.MainWindow().m_hWnd, first);
  EXPECT_EQ(app.MainWindow().GetUiWins().size(), 3u) << "laid out twice";
}

TEST_F(TintorApp, QuitButtonEndsTheLoopWithExitCodeZero) {
  CTintorApp app;
  app.InitApplication();
  Pump();
  // The "退出" button: the toolbar's left button along the bottom of the screen.
  const UiToolbar_Text& bar = app.MainWindow().Toolbar();
  const int y = app.MainWindow().GetPosY() + bar.GetPosY() + bar.GetHeight() / 2;
  Tap(60, y);
  bool idle_reached = false;
  host().SetIdleCallback([&] { idle_reached = true; });
  EXPECT_EQ(app.Run(), 0);
  EXPECT_TRUE(shell().QuitRequested());
  EXPECT_FALSE(idle_reached) << "the loop ran out of input instead of quitting";
}

}  // namespace
