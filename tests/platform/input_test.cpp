// The finger over elements: hit testing through nested and scrolled
// containers, tap versus drag, scroll clamping, momentum on the simulated
// clock, and the wheel.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/finger_tracker.h"
#include "platform/ui/toolkit.h"
#include "tests/platform/test_windows.h"
#include "tests/support/headless_shell_test.h"

namespace {

class Input : public HeadlessShellTest {
 protected:
  // Window over the work area (screen y = window y + 35). A pane at window
  // (0, 100) 480 x 400 holds an inner container at (40, 50) 400 x 1800 with a
  // 4 x 15 grid of buttons 90 x 90, 100 apart, ids 1000 + row * 4 + col; one
  // more button (id 7) sits beside the pane directly in the window.
  void SetUp() override {
    HeadlessShellTest::SetUp();
    wnd_.CreateOverWorkArea();
    pane_.SetBounds(0, 100, 480, 400);
    pane_.SetID(201);
    pane_.EnableScrollBarV(true);
    inner_.SetBounds(40, 50, 400, 1800);
    for (int r = 0; r < 15; ++r) {
      for (int c = 0; c < 4; ++c) {
        auto b = std::make_unique<UiButton_Image>();
        b->SetBounds(c * 100, r * 100, 90, 90);
        b->SetID(1000 + r * 4 + c);
        inner_.AddChild(b.get());
        buttons_.push_back(std::move(b));
      }
    }
    pane_.AddChild(&inner_);
    wnd_.AddUiWin(&pane_);
    outside_.SetBounds(10, 10, 80, 80);
    outside_.SetID(7);
    wnd_.AddUiWin(&outside_);
  }

  // The id of the element a tap at screen (x, y) hits, or -1.
  int HitId(int x, int y) {
    UiWin* hit = FingerTracker::HitTest(wnd_.GetUiWins(), x, y - 35);
    return hit == nullptr ? -1 : hit->GetID();
  }
  std::vector<int> CommandIds() {
    std::vector<int> ids;
    for (auto& c : wnd_.commands) ids.push_back(LOWORD(c.first));
    return ids;
  }

  RecordingWnd wnd_;
  UiScrollWin pane_;
  UiWin inner_;
  std::vector<std::unique_ptr<UiButton_Image>> buttons_;
  UiButton_Image outside_;
};

}  // namespace

TEST_F(Input, HitTestingGoesThroughNestedAndScrolledContainers) {
  // The inner container's top left is at screen (40, 185) when not scrolled;
  // button (row, col) covers screen x 40 + 100 col .. +89, y 185 + 100 row .. +89.
  // Id 0 is the inner container itself, -1 nothing (the window's own area).
  struct Case {
    int line, x, y, scroll, id;
  } cases[] = {
      {__LINE__, 45, 190, 0, 1000},   // first button's top left
      {__LINE__, 129, 274, 0, 1000},  // its bottom right pixel
      {__LINE__, 130, 274, 0, 0},     // the gap right of it
      {__LINE__, 145, 290, 0, 1005},  // row 1, column 1
      {__LINE__, 30, 300, 0, 201},    // the pane, left of the inner container
      {__LINE__, 445, 300, 0, 201},   // the pane, right of it
      {__LINE__, 20, 60, 0, 7},       // the element beside the pane
      {__LINE__, 380, 534, 0, 1015},  // the pane's last pixel row: row 3, column 3
      {__LINE__, 380, 535, 0, -1},    // just below the pane
      {__LINE__, 45, 190, 100, 1004}, // scrolled one row: row 1 under the finger
      {__LINE__, 45, 140, 100, 1000}, // row 0's lower part still shows at the top
      {__LINE__, 45, 134, 100, -1},   // above the pane: not the scrolled-away content
      {__LINE__, 45, 200, 1450, 1056},// scrolled to the end: row 14
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    pane_.ScrollTo(c.scroll);
    EXPECT_EQ(HitId(c.x, c.y), c.id);
  }
  // Hidden elements are not hit; what is under them is.
  pane_.ScrollTo(0);
  buttons_[0]->SetVisible(false);
  EXPECT_EQ(HitId(45, 190), 0);
  inner_.SetVisible(false);
  EXPECT_EQ(HitId(45, 190), 201);
}

TEST_F(Input, ATapPressesButAFingerThatMovesOverAPaneDragsInstead) {
  // Moving less than the threshold is still a tap.
  host().Inject(InputEvent::Press(60, 200));
  host().Inject(InputEvent::Move(60, 208));
  host().InjectCall([&] { EXPECT_TRUE(buttons_[0]->IsPressed()); });
  host().Inject(InputEvent::Release(60, 208));
  Pump();
  EXPECT_EQ(CommandIds(), std::vector<int>{1000});
  EXPECT_EQ(pane_.GetScrollY(), 0);

  // Beyond the threshold the press is cancelled and the pane follows the finger.
  wnd_.commands.clear();
  host().Inject(InputEvent::Press(60, 400));
  host().InjectCall([&] { EXPECT_TRUE(buttons_[8]->IsPressed()); });
  host().Inject(InputEvent::Move(60, 388));
  host().InjectCall([&] {
    EXPECT_FALSE(buttons_[8]->IsPressed());
    EXPECT_TRUE(pane_.IsIndicatorShown());
  });
  host().Inject(InputEvent::Move(60, 340));
  host().InjectWait(300);  // hold still: no throw
  host().Inject(InputEvent::Release(60, 340));
  Pump();
  EXPECT_TRUE(CommandIds().empty());
  EXPECT_EQ(pane_.GetScrollY(), 48) << "the content moved with the finger after the drag began";
  EXPECT_FALSE(pane_.IsIndicatorShown()) << "the indicator goes once the pane rests";

  // Outside any pane a moving finger stays a press: released inside it counts,
  // released outside it does not.
  wnd_.commands.clear();
  host().Inject(InputEvent::Press(20, 50));
  host().Inject(InputEvent::Move(60, 90));
  host().Inject(InputEvent::Release(60, 90));
  host().Inject(InputEvent::Press(20, 50));
  host().Inject(InputEvent::Release(200, 90));
  Pump();
  EXPECT_EQ(CommandIds(), std::vector<int>{7});
}

TEST_F(Input, ScrollingIsClampedAtBothEnds) {
  const int max = 50 + 1800 - 400;
  EXPECT_EQ(pane_.GetContentHeight(), 1850);
  EXPECT_EQ(pane_.GetMaxScrollY(), max);
  pane_.ScrollTo(-20);
  EXPECT_EQ(pane_.GetScrollY(), 0);
  pane_.ScrollTo(max + 500);
  EXPECT_EQ(pane_.GetScrollY(), max);
  pane_.ScrollTo(0);
  // Dragging down at the top does nothing.
  Drag(240, 200, 240, 500, 300);
  Pump();
  EXPECT_EQ(pane_.GetScrollY(), 0);
  // Slow drags up, far past the end, stop exactly at the end.
  for (int i = 0; i < 8; ++i) {
    Drag(240, 520, 240, 150, 900);
    Wait(200);
  }
  Pump();
  EXPECT_EQ(pane_.GetScrollY(), max);
  // A fast flick towards the top glides and stops exactly at the top.
  Drag(240, 150, 240, 520, 60);
  Pump();
  EXPECT_EQ(pane_.GetScrollY(), 0);
  EXPECT_FALSE(pane_.IsMoving());
}

TEST_F(Input, AFlickGlidesOnTheSimulatedClockAndSlowsToAStop) {
  // A 120-pixel flick up in 96 ms.
  Drag(240, 480, 240, 360, 96);
  PumpInput();
  const int at_release = pane_.GetScrollY();
  EXPECT_EQ(at_release, 100) << "the finger's first 20-px step only decided it was a drag";
  EXPECT_TRUE(pane_.IsMoving());
  // The glide moves on with time and slows down: each 100 ms covers less.
  std::vector<int> positions{at_release};
  for (int i = 0; i < 6; ++i) {
    Wait(100);
    host().InjectCall([&] { positions.push_back(pane_.GetScrollY()); });
  }
  PumpInput();
  for (std::size_t i = 1; i < positions.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "after " << i * 100 << " ms");
    EXPECT_GT(positions[i], positions[i - 1]);
    if (i >= 2) {
      EXPECT_LT(positions[i] - positions[i - 1], positions[i - 1] - positions[i - 2]);
    }
  }
  Pump();
  const int rest = pane_.GetScrollY();
  EXPECT_FALSE(pane_.IsMoving());
  // Speed 1.25 px/ms with a 325 ms time constant carries about 400 px.
  EXPECT_NEAR(rest - at_release, 1.25 * UiScrollWin::kMomentumTauMs, 40);
  // At rest nothing more happens however long we wait.
  Wait(5000);
  Pump();
  EXPECT_EQ(pane_.GetScrollY(), rest);
  // A finger that stops before letting go throws nothing.
  host().Inject(InputEvent::Press(240, 480));
  for (int y = 470; y >= 380; y -= 10) {
    host().InjectWait(16);
    host().Inject(InputEvent::Move(240, y));
  }
  host().InjectWait(150);
  host().Inject(InputEvent::Release(240, 380));
  PumpInput();
  EXPECT_FALSE(pane_.IsMoving());
}

TEST_F(Input, TheWheelScrollsThePaneUnderThePointer) {
  Wheel(240, 300, -2);
  Pump();
  EXPECT_EQ(pane_.GetScrollY(), 2 * UiScrollWin::kWheelStep);
  Wheel(240, 300, 1);
  Pump();
  EXPECT_EQ(pane_.GetScrollY(), UiScrollWin::kWheelStep);
  Wheel(240, 300, 5);
  Pump();
  EXPECT_EQ(pane_.GetScrollY(), 0);
  Wheel(20, 60, -3);  // over the element outside the pane
  Wheel(240, 600, -3);  // below the pane
  Pump();
  EXPECT_EQ(pane_.GetScrollY(), 0);
  EXPECT_TRUE(wnd_.commands.empty());
}

TEST_F(Input, WildInputNeverReachesAnythingItShouldNot) {
  const InputEvent wild[] = {
      InputEvent::Release(100, 100),  // release with no press
      InputEvent::Move(-5000, 99999),
      InputEvent::Press(-1, -1),
      InputEvent::Press(479, 719),  // a second press without a release
      InputEvent::Release(100000, -100000),
      InputEvent::Wheel(-3, 900, 1000),
      InputEvent::Key(InputKey::Enter),
      InputEvent::Key(InputKey::Escape),
  };
  for (const InputEvent& e : wild) host().Inject(e);
  Pump();
  EXPECT_TRUE(wnd_.commands.empty());
  EXPECT_EQ(pane_.GetScrollY(), 0);
  EXPECT_FALSE(shell().QuitRequested());
}

TEST_F(Input, DestroyingAPressedElementOrThePaneMidDragIsSafe) {
  host().Inject(InputEvent::Press(60, 200));
  host().InjectCall([&] { buttons_[0].reset(); });
  host().Inject(InputEvent::Release(60, 200));
  host().Inject(InputEvent::Press(160, 200));
  host().Inject(InputEvent::Move(160, 150));
  host().Inject(InputEvent::Move(160, 100));
  host().InjectCall([&] {
    wnd_.RemoveUiWin(&pane_);
  });
  host().Inject(InputEvent::Move(160, 60));
  host().Inject(InputEvent::Release(160, 60));
  Pump();
  EXPECT_TRUE(wnd_.commands.empty());
  EXPECT_EQ(wnd_.GetUiWins().size(), 1u);
}

TEST_F(Input, ATouchOnAGlidingPaneStopsItAndPressesNothing) {
  // Taps the centre of the first column's button that is in view right now,
  // then carries on with `after` (input injected from inside the run).
  auto tap_button_in_view = [this](std::function<void()> after) {
    host().InjectCall([this, after] {
      const int scroll = pane_.GetScrollY();
      const int row = (scroll + 150) / 100;
      host().InjectTap(85, 35 + 100 + 50 + row * 100 + 45 - scroll);
      if (after) after();
    });
  };
  // A quick flick, then a touch while the content still races along: the
  // content stops where it is and no button acts.
  Drag(240, 480, 240, 360, 96);
  Wait(100);
  host().InjectCall([this] {
    EXPECT_TRUE(pane_.IsMoving());
    EXPECT_GT(pane_.GetScrollY(), 100) << "the content glides on after the finger let go";
  });
  int caught_at = -1;
  tap_button_in_view([&] {
    host().InjectCall([&] {
      EXPECT_FALSE(pane_.IsMoving());
      caught_at = pane_.GetScrollY();
    });
    Wait(1000);
  });
  Pump();
  EXPECT_TRUE(wnd_.commands.empty()) << "the touch that stopped the glide pressed a button";
  EXPECT_EQ(pane_.GetScrollY(), caught_at) << "the content went on after the finger caught it";

  // The same flick, touched when the glide has all but stopped: it stops and
  // the tap acts, as on content at rest.
  Drag(240, 480, 240, 360, 96);
  Wait(1000);
  host().InjectCall([this] { EXPECT_TRUE(pane_.IsMoving()); });
  tap_button_in_view(nullptr);
  Pump();
  EXPECT_EQ(wnd_.commands.size(), 1u);

  // At rest a tap presses as always.
  wnd_.commands.clear();
  tap_button_in_view(nullptr);
  Pump();
  EXPECT_EQ(wnd_.commands.size(), 1u);
}

TEST_F(Input, EscPressesTheBackArrowOfAToolbarThatShowsOneAndNothingElse) {
  struct Case {
    int line;
    bool arrow, enabled, shown;
    std::vector<int> expected;  // notifications: toolbar id
  } cases[] = {
      {__LINE__, true, true, true, {400}},
      {__LINE__, false, true, true, {}},  // a toolbar with no way back (the main window's)
      {__LINE__, true, false, true, {}},  // its left button cannot be pressed
      {__LINE__, true, true, false, {}},  // the toolbar is hidden
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    wnd_.commands.clear();
    UiToolbar_Text toolbar;
    toolbar.SetBounds(0, 620, 480, 65);
    toolbar.SetButton(0, c.enabled, true, u"返回");
    toolbar.SetButton(2, true, true, u"关于");
    toolbar.EnableLeftArrow(c.arrow);
    toolbar.SetVisible(c.shown);
    toolbar.SetID(400);
    wnd_.AddUiWin(&toolbar);
    Key(InputKey::Escape);
    Key(InputKey::Enter);
    Key(InputKey::Up);
    Key(InputKey::Down);
    Pump();
    EXPECT_EQ(CommandIds(), c.expected);
    for (auto& command : wnd_.commands) EXPECT_EQ(command.second, 0) << "the left button's index";
    wnd_.RemoveUiWin(&toolbar);
  }
}
