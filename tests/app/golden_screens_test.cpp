// What the user sees, compared with reference screenshots in tests/golden/app:
// the main window at rest, scrolled to the end, with a swatch pressed; the
// target menu; the success box; the help window at the top and at the end;
// the About box. Record them again with TINTOR_RECORD_GOLDEN=1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <functional>
#include <optional>

#include "app/tintor_app.h"
#include "platform/win/registry.h"
#include "tests/support/headless_shell_test.h"

namespace {

class GoldenScreens : public HeadlessShellTest {
 protected:
  void SetUp() override {
    HeadlessShellTest::SetUp();
    app_ = std::make_unique<CTintorApp>();
    app_->InitApplication();
    Pump();
    // Each time the input runs out inside a modal run, the next step acts.
    host().SetIdleCallback([this] {
      if (steps_.empty()) return;
      auto step = std::move(steps_.front());
      steps_.pop_front();
      step();
    });
  }
  void TearDown() override {
    app_.reset();
    HeadlessShellTest::TearDown();
  }
  void Then(std::function<void()> step) { steps_.push_back(std::move(step)); }

  CTintorMainWnd& main() { return app_->MainWindow(); }
  // The screen point of the k-th swatch's centre as the pane shows it now.
  POINT Swatch(std::size_t k) {
    const UiScrollWin& pane = main().SwatchPane();
    const UiButton_Image& b = main().SwatchButton(k);
    return POINT{pane.GetPosX() + b.GetPosX() + 45,
                 main().GetPosY() + pane.GetPosY() + b.GetPosY() - pane.GetScrollY() + 45};
  }
  int ToolbarY() { return main().GetPosY() + main().Toolbar().GetPosY() + 32; }

  std::deque<std::function<void()>> steps_;
  std::unique_ptr<CTintorApp> app_;
};

TEST_F(GoldenScreens, MainWindowAtRest) {
  EXPECT_TRUE(ScreenMatches("app/main_at_rest.png"));
}

TEST_F(GoldenScreens, MainWindowScrolledToTheEnd) {
  Wheel(240, 400, -100);
  Pump();
  EXPECT_EQ(main().SwatchPane().GetScrollY(), main().SwatchPane().GetMaxScrollY());
  EXPECT_TRUE(ScreenMatches("app/main_scrolled_to_end.png"));
}

TEST_F(GoldenScreens, SwatchPressed) {
  const POINT p = Swatch(6);  // 108, second row
  host().Inject(InputEvent::Press(p.x, p.y));
  Pump();
  EXPECT_TRUE(main().SwatchButton(6).IsPressed());
  EXPECT_TRUE(ScreenMatches("app/swatch_pressed.png"));
}

TEST_F(GoldenScreens, TargetMenuThenSuccessBox) {
  int shots = 0;
  Then([&] {
    EXPECT_TRUE(ScreenMatches("app/target_menu.png"));
    ++shots;
    for (int i = 0; i < 4; ++i) Key(InputKey::Down);
    Key(InputKey::Enter);
  });
  Then([&] {
    EXPECT_TRUE(ScreenMatches("app/success_box.png"));
    ++shots;
    Key(InputKey::Enter);
  });
  const POINT p = Swatch(10);  // 112
  Tap(p.x, p.y);
  Pump();
  EXPECT_EQ(shots, 2);
}

TEST_F(GoldenScreens, HelpWindowAtTheTopAndAtTheEnd) {
  int shots = 0;
  Then([&] {
    EXPECT_TRUE(ScreenMatches("app/help_top.png"));
    ++shots;
    Wheel(240, 300, -200);
  });
  Then([&] {
    EXPECT_TRUE(ScreenMatches("app/help_end.png"));
    ++shots;
    Tap(60, 720 - 32);  // "返回"
  });
  Tap(240, ToolbarY());  // "先看说明"
  Pump();
  EXPECT_EQ(shots, 2);
  EXPECT_EQ(shell().LayerCount(), 1u);
}

TEST_F(GoldenScreens, AboutBox) {
  // The box names the registry file in use; in the home folder (the test
  // program's own) it reads "~/.local/share/tintor/registry.reg", as for
  // most people.
  RegistryUseFile(std::string(std::getenv("HOME")) + "/.local/share/tintor/registry.reg");
  int shots = 0;
  Then([&] {
    EXPECT_TRUE(ScreenMatches("app/about_box.png"));
    ++shots;
    Key(InputKey::Enter);
  });
  Tap(400, ToolbarY());  // "关于"
  Pump();
  EXPECT_EQ(shots, 1);
}

}  // namespace
