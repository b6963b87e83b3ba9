// The message queue and the loops: notifications posted and delivered to
// OnControlCommand, modal runs nested inside handlers returning to exactly
// their caller, and the quit message ending every loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/ui/message_box_panel.h"
#include "platform/ui/toolkit.h"
#include "platform/ui/popup_menu_sheet.h"
#include "tests/platform/test_windows.h"
#include "tests/support/headless_shell_test.h"

namespace {

class ShellLoop : public HeadlessShellTest {};

// A window with one image button (id `id`) at window (0, 0, 200, 100) and a
// toolbar (id 101) along the bottom.
struct ButtonWindow {
  RecordingWnd wnd;
  UiButton_Image button;
  UiToolbar_Text toolbar;
  explicit ButtonWindow(int id) {
    button.SetBounds(0, 0, 200, 100);
    button.SetID(id);
    toolbar.SetButton(0, true, true, u"一");
    toolbar.SetButton(1, true, true, u"二");
    toolbar.SetButton(2, true, true, u"三");
    toolbar.SetID(101);
  }
  void Create() {
    wnd.CreateOverWorkArea();
    wnd.AddUiWin(&button);
    toolbar.SetBounds(0, wnd.GetHeight() - 65, wnd.GetWidth(), 65);
    wnd.AddUiWin(&toolbar);
  }
};

}  // namespace

TEST_F(ShellLoop, NotificationsArePostedThenDeliveredWithIdInLowBitsAndToolbarIndex) {
  ButtonWindow w(0x0077);
  w.Create();
  // Press and release reach the button at once; the notification waits in the queue.
  shell().DeliverInput(InputEvent::Press(50, 35 + 50));
  shell().DeliverInput(InputEvent::Release(50, 35 + 50));
  EXPECT_TRUE(w.wnd.commands.empty()) << "delivered synchronously instead of posted";
  EXPECT_EQ(shell().PendingMessages(), 1u);
  shell().DispatchPending();
  ASSERT_EQ(w.wnd.commands.size(), 1u);
  EXPECT_EQ(LOWORD(w.wnd.commands[0].first), 0x0077);
  EXPECT_EQ(w.wnd.commands[0].second, 0);

  // Each third of the toolbar is one button; lParam carries its index.
  w.wnd.commands.clear();
  Tap(20, 690);
  Tap(240, 690);
  Tap(470, 690);
  Pump();
  ASSERT_EQ(w.wnd.commands.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(LOWORD(w.wnd.commands[i].first), 101);
    EXPECT_EQ(w.wnd.commands[i].second, i);
  }

  // Disabled and hidden buttons send nothing; so does a press that slides to
  // another button before letting go.
  w.wnd.commands.clear();
  w.toolbar.SetButton(0, false, true, u"一");
  w.toolbar.SetButton(2, true, false, u"三");
  Tap(20, 690);
  Tap(470, 690);
  host().Inject(InputEvent::Press(240, 690));
  host().Inject(InputEvent::Release(470, 690));
  Pump();
  EXPECT_TRUE(w.wnd.commands.empty());
  EXPECT_FALSE(shell().QuitRequested());
}

TEST_F(ShellLoop, CreateCallsOnInitDialogOnceAndRegistersTheHandle) {
  RecordingWnd w;
  EXPECT_EQ(w.m_hWnd, nullptr);
  EXPECT_EQ(w.init_calls, 0);
  ASSERT_TRUE(w.CreateOverWorkArea());
  EXPECT_EQ(w.init_calls, 1);
  EXPECT_NE(w.m_hWnd, nullptr);
  EXPECT_EQ(CMzWnd::FromHandle(w.m_hWnd), &w);
  EXPECT_EQ(CMzWnd::FromHandle(nullptr), nullptr);
  EXPECT_EQ(CMzWnd::FromHandle(reinterpret_cast<HWND>(0x1234)), nullptr);
  EXPECT_EQ(w.GetPosX(), 0);
  EXPECT_EQ(w.GetPosY(), 35);
  EXPECT_EQ(w.GetWidth(), 480);
  EXPECT_EQ(w.GetHeight(), 685);
  EXPECT_FALSE(w.Create(0, 35, 480, 685)) << "a second Create of the same window";
  EXPECT_EQ(w.init_calls, 1);

  RecordingWnd failing;
  failing.init_result = FALSE;
  EXPECT_FALSE(failing.Create(0, 35, 480, 685, w.m_hWnd, 9, WS_POPUP, 0));
  EXPECT_EQ(failing.init_calls, 1);
  EXPECT_EQ(failing.GetParentWnd(), w.m_hWnd);
  EXPECT_EQ(failing.GetStyle(), WS_POPUP);
  EXPECT_EQ(failing.GetID(), 9);

  const RECT work = MzGetWorkArea();
  EXPECT_EQ(work.left, 0);
  EXPECT_EQ(work.top, 35);
  EXPECT_EQ(work.right, 480);
  EXPECT_EQ(work.bottom, 720);
}

TEST_F(ShellLoop, MessagesForADestroyedWindowAreDropped) {
  HWND gone = nullptr;
  {
    ButtonWindow w(5);
    w.Create();
    gone = w.wnd.m_hWnd;
    shell().DeliverInput(InputEvent::Press(50, 80));
    shell().DeliverInput(InputEvent::Release(50, 80));
    shell().PostMessage(gone, WM_COMMAND, 6, 0);
    EXPECT_EQ(shell().PendingMessages(), 2u);
  }
  EXPECT_EQ(CMzWnd::FromHandle(gone), nullptr);
  EXPECT_EQ(shell().LayerCount(), 0u);
  shell().DispatchPending();
  EXPECT_EQ(shell().PendingMessages(), 0u);
}

TEST_F(ShellLoop, NestedModalRunsEachReturnToTheirCallerWithTheirResult) {
  std::vector<std::string> log;
  ButtonWindow main(7);
  ButtonWindow child(8);
  main.Create();
  main.wnd.on_command = [&](WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) != 101 || lParam != 1) return;
    log.push_back("main: open child");
    child.Create();
    child.wnd.SetAnimateType_Show(MZ_ANIMTYPE_SCROLL_BOTTOM_TO_TOP);
    child.wnd.SetAnimateType_Hide(MZ_ANIMTYPE_SCROLL_TOP_TO_BOTTOM);
    const int r = child.wnd.DoModal(1);
    log.push_back("main: child returned " + std::to_string(r));
  };
  child.wnd.on_command = [&](WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == 8) {
      log.push_back("child: open box");
      const int r = MzMessageBoxEx(child.wnd.m_hWnd, u"一\n二", u"标题", MZ_OK, 0);
      log.push_back("child: box returned " + std::to_string(r));
    } else if (LOWORD(wParam) == 101 && lParam == 2) {
      log.push_back("child: end 42");
      child.wnd.EndModal(42);
      log.push_back("child: handler goes on");
    }
  };
  Tap(240, 690);  // main toolbar button 1
  host().InjectCall([&] {
    log.push_back("depth " + std::to_string(shell().LoopDepth()));
    EXPECT_TRUE(child.wnd.IsModal());
  });
  Tap(50, 80);  // the child's button, now on top
  host().InjectCall([&] {
    log.push_back("depth " + std::to_string(shell().LoopDepth()));
    EXPECT_NE(dynamic_cast<MessageBoxPanel*>(shell().TopLayer()), nullptr);
  });
  Tap(50, 80);  // under the box: must not reach the child
  Key(InputKey::Enter);
  Tap(470, 690);  // child toolbar button 2
  Pump();
  const std::vector<std::string> expected = {
      "main: open child", "depth 2",           "child: open box", "depth 3",
      "child: box returned 1", "child: end 42", "child: handler goes on",
      "main: child returned 42"};
  EXPECT_EQ(log, expected);
  EXPECT_FALSE(child.wnd.IsModal());
  EXPECT_EQ(shell().LoopDepth(), 0);
  EXPECT_EQ(shell().LayerCount(), 1u) << "only the main window is left";
  EXPECT_FALSE(shell().QuitRequested());
}

TEST_F(ShellLoop, QuitInsideNestedRunsEndsEveryLoopWithItsExitCode) {
  std::vector<std::string> log;
  ButtonWindow main(7);
  ButtonWindow child(8);
  main.Create();
  main.wnd.on_command = [&](WPARAM, LPARAM) {
    child.Create();
    const int r = child.wnd.DoModal(1);
    log.push_back("modal returned " + std::to_string(r));
    // Nothing modal runs once the quit message is out.
    log.push_back("box returned " + std::to_string(MzMessageBoxEx(nullptr, u"x", u"y")));
    MzPopupMenu menu;
    menu.AppendMenuItem(17, u"项");
    log.push_back("menu returned " + std::to_string(menu.MzTrackPopupMenu(nullptr)));
  };
  child.wnd.on_command = [&](WPARAM, LPARAM) {
    MzPopupMenu menu;
    menu.AppendMenuItem(17, u"项");
    host().InjectCall([&] {
      log.push_back("menu open at depth " + std::to_string(shell().LoopDepth()));
      PostQuitMessage(3);
      PostQuitMessage(4);  // the first quit decides the code
    });
    log.push_back("child menu returned " + std::to_string(menu.MzTrackPopupMenu(nullptr)));
  };
  Tap(50, 80);
  Wait(Shell::kDoubleClickMs + 1);  // not the second click of a double click
  Tap(50, 80);
  const bool finished = shell().RunLoop(nullptr);
  EXPECT_FALSE(finished);
  EXPECT_EQ(shell().ExitCode(), 3);
  const std::vector<std::string> expected = {"menu open at depth 3", "child menu returned 0",
                                             "modal returned 0", "box returned 1",
                                             "menu returned 0"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(shell().LoopDepth(), 0);

  // The application's loop returns the same code.
  CMzApp app;
  EXPECT_EQ(app.Run(), 3);
  EXPECT_EQ(app.Done(), 3);
}

TEST_F(ShellLoop, OutOfInputInsideAModalRunQuitsInsteadOfHanging) {
  ButtonWindow w(7);
  w.Create();
  RecordingWnd modal;
  modal.CreateOverWorkArea();
  EXPECT_EQ(modal.DoModal(1), 0);
  EXPECT_TRUE(shell().QuitRequested());
  EXPECT_EQ(shell().ExitCode(), 0);
}

TEST_F(ShellLoop, WindowsPaintTheBackgroundAndTheStatusBarShowsTheClock) {
  RecordingWnd w;
  w.CreateOverWorkArea();
  Pump();
  EXPECT_EQ(Pixel(240, 400), 0xECECECu);
  EXPECT_EQ(Pixel(5, 36), 0xECECECu) << "the window starts right below the status bar";
  const std::uint32_t bar = Pixel(100, 5);
  EXPECT_LT(((bar >> 16) & 0xFF) + ((bar >> 8) & 0xFF) + (bar & 0xFF), 3u * 0x40)
      << "the status bar is dark";
  // The clock's digits are light pixels in the middle of the bar.
  int light = 0;
  for (int y = 5; y < 30; ++y) {
    for (int x = 210; x < 270; ++x) light += (Pixel(x, y) & 0xFF) > 0xC0;
  }
  EXPECT_GT(light, 30);
  std::vector<std::uint32_t> bitmap(static_cast<std::size_t>(w.GetWidth()) * w.GetHeight());
  ASSERT_TRUE(w.GetWindowBitmap(bitmap.data(), w.GetWidth() * 4));
  EXPECT_EQ(bitmap[0], 0xECECECu);
  RecordingWnd never_created;
  EXPECT_FALSE(never_created.GetWindowBitmap(bitmap.data(), 4));
}

// A box slides out over several frames and is never drawn in place again.
TEST(Slides, ALayerThatSlidOutIsNeverDrawnAgain) {
  struct SlidingHost : HeadlessHost {
    bool AnimatesWindows() const override { return true; }
    void Present(const std::uint32_t* pixels, int width, int height, int stride) override {
      HeadlessHost::Present(pixels, width, height, stride);
      if (watch.x > 0) panel_shown.push_back(FramePixel(watch.x, watch.y) == 0xFAFAFBu);
    }
    POINT watch{};
    std::vector<bool> panel_shown;  // whether each frame shows the panel at `watch`
  } host;
  Shell shell(host);
  host.InjectWait(Shell::kSlideMs * 2);
  host.InjectCall([&] {
    auto* box = dynamic_cast<MessageBoxPanel*>(shell.TopLayer());
    ASSERT_NE(box, nullptr);
    host.watch = POINT{box->PanelRect().left + 200, box->PanelRect().top + 8};
  });
  host.InjectKey(InputKey::Enter);
  MzMessageBoxEx(nullptr, u"设置成功", u"成功", 0, 0);
  const auto& shown = host.panel_shown;
  ASSERT_GE(shown.size(), 3u);
  EXPECT_TRUE(shown.front());
  const auto gone = std::find(shown.begin(), shown.end(), false);
  EXPECT_TRUE(std::find(gone, shown.end(), true) == shown.end()) << "the box came back";
}
