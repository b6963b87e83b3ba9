// The popup menu and the message box: every way to choose and to dismiss,
// the keyboard highlight, scrolling a long menu, and the title picture the
// menu takes over.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/ui/message_box_panel.h"
#include "platform/ui/toolkit.h"
#include "platform/ui/popup_menu_sheet.h"
#include "tests/platform/test_windows.h"
#include "tests/support/headless_shell_test.h"

namespace {

class Menu : public HeadlessShellTest {
 public:
  // A menu of `count` items with ids 17, 18, ... and the title picture 188.
  void Fill(MzPopupMenu& menu, int count) {
    auto* image = new ImagingHelper;
    image->LoadImageFromRes(GetMzResModuleHandle(), RT_RCDATA, MAKEINTRESOURCEW(188));
    menu.SetMenuTitle(u"请选择要设置颜色的项目", image);
    for (int i = 0; i < count; ++i) {
      const std::u16string label = u"项目 " + std::u16string(1, u'A' + i);
      menu.AppendMenuItem(17 + i, label.c_str(), 0);
    }
  }
  PopupMenuSheet* Sheet() { return dynamic_cast<PopupMenuSheet*>(shell().TopLayer()); }
  // Once the menu is open: runs `step` against its sheet.
  void WhenOpen(std::function<void(PopupMenuSheet&)> step) {
    host().InjectCall([this, step] {
      PopupMenuSheet* sheet = Sheet();
      ASSERT_NE(sheet, nullptr) << "the menu is not the top layer";
      step(*sheet);
    });
  }
  void TapItem(int index) {
    WhenOpen([this, index](PopupMenuSheet& s) {
      const RECT r = s.ItemRect(index);
      host().InjectTap(240, (r.top + r.bottom) / 2);
    });
  }
};

}  // namespace

TEST_F(Menu, ChoosingAndDismissingInEveryWay) {
  struct Case {
    int line;
    std::function<void(Menu&)> input;
    int expected;
  } cases[] = {
      {__LINE__, [](Menu& t) { t.TapItem(0); }, 17},
      {__LINE__, [](Menu& t) { t.TapItem(2); }, 19},
      {__LINE__, [](Menu& t) { t.Tap(240, 100); }, 0},  // outside the sheet
      {__LINE__, [](Menu& t) { t.Tap(240, 10); }, 0},   // on the status bar
      {__LINE__, [](Menu& t) { t.Key(InputKey::Escape); }, 0},
      {__LINE__,
       [](Menu& t) {
         t.WhenOpen([&t](PopupMenuSheet& s) {
           const RECT r = s.CancelRect();
           t.host().InjectTap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
         });
       },
       0},
      {__LINE__,
       [](Menu& t) {
         t.Key(InputKey::Down);
         t.Key(InputKey::Enter);
       },
       17},
      {__LINE__,
       [](Menu& t) {
         for (int i = 0; i < 3; ++i) t.Key(InputKey::Down);
         t.Key(InputKey::Up);
         t.Key(InputKey::Enter);
       },
       18},
      {__LINE__,
       [](Menu& t) {
         for (int i = 0; i < 9; ++i) t.Key(InputKey::Down);  // stays on the last item
         t.Key(InputKey::Enter);
       },
       20},
      {__LINE__,
       [](Menu& t) {
         t.Key(InputKey::Up);  // with no highlight, Up starts from the last item
         t.Key(InputKey::Enter);
       },
       20},
      {__LINE__,
       [](Menu& t) {
         t.Key(InputKey::Enter);  // no highlight: nothing happens
         t.WhenOpen([](PopupMenuSheet& s) { EXPECT_EQ(s.Highlight(), -1); });
         t.Key(InputKey::Escape);
       },
       0},
      {__LINE__,
       [](Menu& t) {
         // Press an item, slide off the sheet, let go: nothing chosen.
         t.WhenOpen([&t](PopupMenuSheet& s) {
           const RECT r = s.ItemRect(1);
           t.host().Inject(InputEvent::Press(240, (r.top + r.bottom) / 2));
           t.host().Inject(InputEvent::Release(240, 5));
           t.host().InjectKey(InputKey::Escape);
         });
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    MzPopupMenu menu;
    Fill(menu, 4);
    c.input(*this);
    EXPECT_EQ(menu.MzTrackPopupMenu(nullptr, 1, nullptr, 0), c.expected);
    EXPECT_EQ(shell().LayerCount(), 0u) << "the sheet is gone";
    EXPECT_FALSE(shell().QuitRequested()) << "the input ran out before the menu ended";
    host().ClearInput();
  }
}

TEST_F(Menu, ALongMenuScrollsAndTheHighlightComesIntoView) {
  MzPopupMenu menu;
  Fill(menu, 20);
  WhenOpen([](PopupMenuSheet& s) {
    EXPECT_LT(s.List().GetHeight(), 20 * MzPopupMenu::kRowHeight) << "20 items do not fit";
    EXPECT_GE(s.SheetTop(), Shell::kStatusBarHeight);
    EXPECT_GT(s.List().GetMaxScrollY(), 0);
  });
  for (int i = 0; i < 15; ++i) Key(InputKey::Down);
  WhenOpen([](PopupMenuSheet& s) {
    EXPECT_EQ(s.Highlight(), 14);
    const RECT r = s.ItemRect(14);
    const int list_top = s.SheetTop() + s.List().GetPosY();
    EXPECT_GE(r.top, list_top);
    EXPECT_LE(r.bottom, list_top + s.List().GetHeight());
    EXPECT_GT(s.List().GetScrollY(), 0);
  });
  for (int i = 0; i < 15; ++i) Key(InputKey::Up);
  WhenOpen([](PopupMenuSheet& s) {
    EXPECT_EQ(s.Highlight(), 0);
    EXPECT_EQ(s.List().GetScrollY(), 0);
  });
  // Drag the list to its end: a drag chooses nothing; then tap the last item.
  WhenOpen([this](PopupMenuSheet& s) {
    const int y = s.SheetTop() + s.List().GetPosY() + s.List().GetHeight() - 20;
    host().InjectDrag(240, y, 240, y - 400, 600);
    host().InjectDrag(240, y, 240, y - 400, 600);
    host().InjectWait(1000);
    WhenOpen([](PopupMenuSheet& s) {
      EXPECT_EQ(s.List().GetScrollY(), s.List().GetMaxScrollY());
      EXPECT_FALSE(s.IsDone());
    });
    TapItem(19);
  });
  EXPECT_EQ(menu.MzTrackPopupMenu(nullptr), 36);
}

TEST_F(Menu, TheMenuOwnsItsTitlePicture) {
  // Under LeakSanitizer a menu that did not free its picture fails this test.
  for (int i = 0; i < 50; ++i) {
    MzPopupMenu menu;
    auto* image = new ImagingHelper;
    image->LoadImageFromRes(GetMzResModuleHandle(), RT_RCDATA, MAKEINTRESOURCEW(188));
    menu.SetMenuTitle(u"标题", image);
    menu.SetMenuTitle(u"标题", image);  // the same picture again is no double free
    EXPECT_EQ(menu.GetTitleImage(), image);
    menu.SetMenuTitle(u"标题", new ImagingHelper);  // replacing frees the old one
    menu.AppendMenuItem(17, u"一");
    Key(InputKey::Escape);
    EXPECT_EQ(menu.MzTrackPopupMenu(nullptr), 0);
  }
  MzPopupMenu untitled;
  untitled.SetMenuTitle(nullptr, nullptr);
  untitled.AppendMenuItem(1, nullptr);
  TapItem(0);
  EXPECT_EQ(untitled.MzTrackPopupMenu(nullptr), 1);
  EXPECT_EQ(untitled.GetTitle(), u"");
}

TEST_F(Menu, SeparatorsAndGrayedItemsCannotBeChosen) {
  MzPopupMenu menu;
  menu.AppendMenuItem(5, u"一");
  menu.AppendMenuItem(0, u"", MF_SEPARATOR);
  menu.AppendMenuItem(6, u"二", MF_GRAYED);
  menu.AppendMenuItem(7, u"三");
  TapItem(1);
  TapItem(2);
  Key(InputKey::Down);
  Key(InputKey::Down);  // skips the separator and the grayed item
  WhenOpen([](PopupMenuSheet& s) { EXPECT_EQ(s.Highlight(), 3); });
  Key(InputKey::Enter);
  EXPECT_EQ(menu.MzTrackPopupMenu(nullptr), 7);
}

TEST_F(Menu, MessageBoxIsDismissedByEnterEscOrItsButtonOnly) {
  struct Case {
    int line;
    std::function<void(Menu&)> input;
  } cases[] = {
      {__LINE__, [](Menu& t) { t.Key(InputKey::Enter); }},
      {__LINE__, [](Menu& t) { t.Key(InputKey::Escape); }},
      {__LINE__,
       [](Menu& t) {
         t.host().InjectCall([&t] {
           auto* box = dynamic_cast<MessageBoxPanel*>(t.shell().TopLayer());
           ASSERT_NE(box, nullptr);
           EXPECT_EQ(box->Caption(), u"失败");
           EXPECT_EQ(box->Text(), u"设置失败\n第二行");
           t.Tap(240, 100);  // outside the panel: stays
           t.Key(InputKey::Up);
           t.host().InjectCall([&t, box] {
             EXPECT_EQ(t.shell().TopLayer(), box);
             EXPECT_FALSE(box->IsDone());
             const RECT r = box->ButtonRect();
             t.Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
           });
         });
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    c.input(*this);
    EXPECT_EQ(MzMessageBoxEx(nullptr, u"设置失败\n第二行", u"失败", MZ_OK, 0), IDOK);
    EXPECT_EQ(shell().LayerCount(), 0u);
    EXPECT_FALSE(shell().QuitRequested());
  }
  // With no input at all the box ends through the quit message, not a hang.
  EXPECT_EQ(MzMessageBoxEx(nullptr, u"x", u"y", MZ_OK, 1), IDOK);
  EXPECT_TRUE(shell().QuitRequested());
}

namespace {

// The headless host with the desktop window's slides: windows, menus and
// boxes take Shell::kSlideMs to come and go, on the simulated clock.
class SlidingHost : public HeadlessHost {
 public:
  bool AnimatesWindows() const override { return true; }
};

}  // namespace

TEST_F(Menu, ADoubleClickOnAButtonDoesNotChooseFromTheMenuItOpens) {
  // A button at screen (20, 100) 90 x 90 opens a menu of four items; the
  // second click of a double click falls where the menu's first item will be.
  const int item0_y = Shell::kScreenHeight - MzPopupMenu::kCancelHeight -
                      4 * MzPopupMenu::kRowHeight + MzPopupMenu::kRowHeight / 2;
  struct Case {
    int line;
    int gap_ms;  // between the two clicks
    int expected;
  } cases[] = {
      {__LINE__, 0, 0},                          // the menu is still sliding in: dismissed later
      {__LINE__, Shell::kSlideMs / 2, 0},        // half way in
      {__LINE__, Shell::kSlideMs + 50, 17},      // in place: the tap chooses
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    SlidingHost sliding;
    Shell screen(sliding);
    RecordingWnd wnd;
    wnd.CreateOverWorkArea();
    UiButton_Image button;
    button.SetBounds(20, 100 - Shell::kStatusBarHeight, 90, 90);
    button.SetID(300);
    wnd.AddUiWin(&button);
    std::vector<int> results;
    wnd.on_command = [&](WPARAM, LPARAM) {
      MzPopupMenu menu;
      for (int i = 0; i < 4; ++i) menu.AppendMenuItem(17 + i, u"项目", 0);
      results.push_back(menu.MzTrackPopupMenu(wnd.m_hWnd));
    };
    sliding.InjectWait(Shell::kSlideMs * 2);  // the window itself has settled
    sliding.InjectTap(60, 150);
    if (c.gap_ms > 0) sliding.InjectWait(c.gap_ms);
    sliding.InjectTap(60, item0_y);
    sliding.InjectWait(Shell::kSlideMs * 2);
    sliding.InjectKey(InputKey::Escape);  // ends a menu that is still open
    sliding.InjectWait(Shell::kSlideMs * 2);
    screen.RunLoop([&] { return !sliding.HasPendingInput() && !screen.IsAnimating(); });
    EXPECT_EQ(results, std::vector<int>{c.expected});
    EXPECT_EQ(screen.LayerCount(), 1u) << "only the window is left";
  }
}

TEST_F(Menu, AHeldEnterOrEscActsOnceButAHeldArrowKeepsMoving) {
  // Down held: the first press and two repeats move the highlight three rows.
  Key(InputKey::Down);
  host().Inject(InputEvent::KeyRepeat(InputKey::Down));
  host().Inject(InputEvent::KeyRepeat(InputKey::Down));
  // Enter held: it chooses, and its repeats leave the box that follows open.
  Key(InputKey::Enter);
  for (int i = 0; i < 3; ++i) host().Inject(InputEvent::KeyRepeat(InputKey::Enter));
  host().Inject(InputEvent::KeyRepeat(InputKey::Escape));
  bool box_stayed = false;
  host().InjectCall([this, &box_stayed] {
    auto* box = dynamic_cast<MessageBoxPanel*>(shell().TopLayer());
    box_stayed = box != nullptr && !box->IsDone();
    Key(InputKey::Enter);
  });
  MzPopupMenu menu;
  Fill(menu, 4);
  EXPECT_EQ(menu.MzTrackPopupMenu(nullptr), 19);
  EXPECT_EQ(MzMessageBoxEx(nullptr, u"设置成功", u"成功", MZ_OK, 0), IDOK);
  EXPECT_TRUE(box_stayed) << "the repeats of the Enter that chose the item closed the box";
  EXPECT_FALSE(shell().QuitRequested()) << "the box ended by the input, not by running out of it";
  EXPECT_FALSE(host().HasPendingInput());
}
