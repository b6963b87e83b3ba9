// The second click of a slow double click lands on whatever the first one
// opened or uncovered, and must not act on it; nor must a burst of fast clicks.
#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/message_box_panel.h"
#include "platform/ui/popup_menu_sheet.h"
#include "tests/app/app_test_support.h"

namespace {

using DoubleClick = AppTest;

POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

TEST_F(DoubleClick, TheSecondClickNeverActsOnWhatTheFirstOpenedOrUncovered) {
  OpenMainWindow();
  const POINT swatch = SwatchCentre(1);  // the open menu has an item there
  auto then = [this](std::function<void(ShellLayer*)> step) {
    host().InjectCall([this, step] { step(shell().TopLayer()); });
  };
  auto twice = [this](POINT p) {  // 300 ms apart, after a pause that ends any double click
    Wait(1000);
    Tap(p.x, p.y);
    Wait(300);
    Tap(p.x, p.y);
  };
  auto only_main_window = [&](int line) {
    then([this, line](ShellLayer*) {
      SCOPED_TRACE("checked at line " + std::to_string(line));
      EXPECT_EQ(shell().LayerCount(), 1u);
      EXPECT_FALSE(shell().QuitRequested());
    });
  };
  auto menu_open = [](ShellLayer* top) { EXPECT_NE(dynamic_cast<PopupMenuSheet*>(top), nullptr); };

  twice(swatch);
  then(menu_open);
  Key(InputKey::Escape);
  for (int i = 0; i < 15; ++i) {
    Tap(swatch.x, swatch.y);
    Wait(60);
  }
  then(menu_open);
  Key(InputKey::Escape);
  Tap(240, 687);  // "先看说明"
  twice(POINT{80, 687});  // "返回", over "退出"
  only_main_window(__LINE__);
  twice(swatch);  // the menu; then its "取消", over "先看说明"
  then([&](ShellLayer* top) {
    auto* menu = dynamic_cast<PopupMenuSheet*>(top);
    ASSERT_NE(menu, nullptr);
    twice(Centre(menu->CancelRect()));
    only_main_window(__LINE__);
  });
  Pump();
  EXPECT_EQ(FileValueCount(), 0u) << "a colour was written that nobody chose";

  // A box's "确定" over a swatch.
  twice(swatch);
  then([&](ShellLayer* top) {
    auto* menu = dynamic_cast<PopupMenuSheet*>(top);
    ASSERT_NE(menu, nullptr);
    Tap(Centre(menu->ItemRect(0)).x, Centre(menu->ItemRect(0)).y);
    then([&](ShellLayer* top) {
      auto* box = dynamic_cast<MessageBoxPanel*>(top);
      ASSERT_NE(box, nullptr);
      const POINT ok{SwatchCentre(10).x, Centre(box->ButtonRect()).y};
      EXPECT_NEAR(ok.y, SwatchCentre(10).y, 40) << "确定 no longer covers a swatch";
      twice(ok);
      only_main_window(__LINE__);
    });
  });
  Pump();
  EXPECT_EQ(log().menus + log().help_windows + log().boxes.size(), 0u) << "a modal run waited";
  EXPECT_EQ(FileValueCount(), 1u) << "the one chosen colour, and no other";
}

}  // namespace
