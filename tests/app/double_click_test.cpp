// Clicks that come too fast for what they open: the second click of a slow
// double click lands on whatever the first one opened or uncovered, and must
// not act on it; nor must the rest of a burst of fast clicks.
#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/message_box_panel.h"
#include "platform/ui/popup_menu_sheet.h"
#include "tests/app/app_test_support.h"

namespace {

class DoubleClick : public AppTest {
 protected:
  static constexpr int kSlowDoubleClickMs = 300;
  static constexpr int kPauseMs = 1000;  // long enough to end any double click

  // Two clicks at one spot, the second after kSlowDoubleClickMs.
  void DoubleClickAt(POINT p) {
    Tap(p.x, p.y);
    Wait(kSlowDoubleClickMs);
    Tap(p.x, p.y);
  }
  // Runs `step` when the input before it is used, on the layer then on top.
  void Then(std::function<void(ShellLayer*)> step) {
    host().InjectCall([this, step] { step(shell().TopLayer()); });
  }
  // Checks, once the input before it is used, that only the main window is
  // on the screen and nothing quit.
  void ExpectOnlyTheMainWindow(int line) {
    Then([this, line](ShellLayer*) {
      SCOPED_TRACE("checked at line " + std::to_string(line));
      EXPECT_EQ(shell().LayerCount(), 1u);
      EXPECT_EQ(shell().LoopDepth(), 1) << "a modal run is open";
      EXPECT_FALSE(shell().QuitRequested());
    });
  }
  static POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};

TEST_F(DoubleClick, TheSecondClickNeverActsOnWhatTheFirstOpenedOrUncovered) {
  OpenMainWindow();
  const std::string registry = RegistryBytes();
  // A swatch whose spot the open menu covers with one of its items.
  const POINT swatch = SwatchCentre(1);
  const POINT quit{80, 687};   // main toolbar "退出", under the help window's "返回"
  const POINT help{240, 687};  // main toolbar "先看说明"

  // A slow double click on a swatch: the menu opens and stays open.
  DoubleClickAt(swatch);
  Then([](ShellLayer* top) {
    EXPECT_NE(dynamic_cast<PopupMenuSheet*>(top), nullptr) << "the menu did not stay open";
  });
  Key(InputKey::Escape);
  ExpectOnlyTheMainWindow(__LINE__);

  // Fifteen fast clicks on a swatch: one menu, nothing chosen.
  Wait(kPauseMs);
  for (int i = 0; i < 15; ++i) {
    Tap(swatch.x, swatch.y);
    Wait(60);
  }
  Then([](ShellLayer* top) { EXPECT_NE(dynamic_cast<PopupMenuSheet*>(top), nullptr); });
  Key(InputKey::Escape);

  // The help window's "返回": the second click lands on "退出".
  Wait(kPauseMs);
  Tap(help.x, help.y);
  Wait(kPauseMs);
  DoubleClickAt(quit);
  ExpectOnlyTheMainWindow(__LINE__);

  // The menu's "取消": the second click lands on "先看说明".
  Wait(kPauseMs);
  Tap(swatch.x, swatch.y);
  Wait(kPauseMs);
  Then([this](ShellLayer* top) {
    auto* menu = dynamic_cast<PopupMenuSheet*>(top);
    ASSERT_NE(menu, nullptr);
    EXPECT_NEAR(Centre(menu->CancelRect()).y, 687, 12) << "取消 no longer covers 先看说明";
    DoubleClickAt(Centre(menu->CancelRect()));
    ExpectOnlyTheMainWindow(__LINE__);
  });
  Pump();
  EXPECT_EQ(RegistryBytes(), registry) << "a colour was written that nobody chose";

  // A box's "确定": the second click lands on the swatches under it.
  Wait(kPauseMs);
  Tap(swatch.x, swatch.y);
  Wait(kPauseMs);
  Then([this](ShellLayer* top) {
    auto* menu = dynamic_cast<PopupMenuSheet*>(top);
    ASSERT_NE(menu, nullptr);
    const POINT item = Centre(menu->ItemRect(0));
    Tap(item.x, item.y);
    Wait(kPauseMs);
    Then([this](ShellLayer* top) {
      auto* box = dynamic_cast<MessageBoxPanel*>(top);
      ASSERT_NE(box, nullptr);
      // On the button, over a swatch of the main window.
      const POINT under = SwatchCentre(10);
      const POINT ok{under.x, Centre(box->ButtonRect()).y};
      EXPECT_NEAR(ok.y, under.y, 40) << "确定 no longer covers a swatch";
      DoubleClickAt(ok);
      ExpectOnlyTheMainWindow(__LINE__);
    });
  });
  Pump();
  EXPECT_EQ(log().menus, 0) << "a menu waited for an answer";
  EXPECT_EQ(log().help_windows, 0) << "the help window opened";
  EXPECT_EQ(log().boxes.size(), 0u);
  EXPECT_EQ(FileValueCount(), 1u) << "the one chosen colour, and no other";
}

}  // namespace
