// The phone and the studio in one window, as a user of the keyboard and the
// mouse meets them: one route, one modal run that holds the whole window,
// one focus that Tab carries through both halves, a ring only after a key.
#include <gtest/gtest.h>

#include "app/tintor_main_wnd.h"
#include "platform/ui/element_layer.h"
#include "platform/ui/popup_menu_sheet.h"
#include "studio/preview/restore_confirmation.h"
#include "studio/studio.h"
#include "tests/support/headless_shell_test.h"

namespace {

class StudioBesideThePhone : public HeadlessShellTest {
 protected:
  // The centre of an element of a studio layer, in the window's coordinates.
  void TapStudio(const ElementLayer& layer, const UiWin& e) {
    Tap(Shell::kScreenWidth + layer.Frame().left + e.GetPosX() + e.GetWidth() / 2,
        layer.Frame().top + e.GetPosY() + e.GetHeight() / 2);
  }
  void TapPhone(const CMzWnd& wnd, const UiWin& e) {
    const POINT o = e.WindowOrigin();
    Tap(wnd.GetPosX() + o.x + e.GetWidth() / 2, wnd.GetPosY() + o.y + e.GetHeight() / 2);
  }
  void Then(std::function<void()> check) { host().InjectCall(std::move(check)); }
  PopupMenuSheet* Menu() { return dynamic_cast<PopupMenuSheet*>(shell().TopLayer()); }
  std::vector<std::uint32_t> Phone() {
    std::vector<std::uint32_t> out;
    for (int y = Shell::kStatusBarHeight; y < Shell::kScreenHeight; ++y) {
      for (int x = 0; x < Shell::kScreenWidth; ++x) out.push_back(host().FramePixel(x, y));
    }
    return out;
  }
};

TEST_F(StudioBesideThePhone, OneRouteOneModalRunAndTheKeyboardEverywhere) {
  CTintorMainWnd main;
  const RECT work = Shell::WorkArea();
  ASSERT_TRUE(main.Create(work.left, work.top, work.right - work.left, work.bottom - work.top));
  main.Show();
  Studio studio(shell(), RegistryPath(), true);
  const PreviewPanel& panel = studio.Panel();
  Pump();
  EXPECT_EQ(host().FrameWidth(), Shell::kScreenWidth + PreviewPanel::kWidth);
  const std::vector<std::uint32_t> untouched = Phone();
  const UiScrollWin& pane = main.SwatchPane();

  // From a fresh start Tab focuses the first swatch, Right the next; the
  // ring shows, and goes at the next press.
  Key(InputKey::Tab);
  Key(InputKey::Right);
  Pump();
  ASSERT_NE(pane.FocusedChild(), nullptr);
  EXPECT_EQ(pane.FocusedChild()->GetID(), 103);
  EXPECT_NE(Phone(), untouched) << "no focus ring after keys";
  TapPhone(main, main.Banner());
  Pump();
  EXPECT_EQ(Phone(), untouched) << "the ring stays after a press";

  // A menu opened by Enter: the studio takes no press while it runs, the
  // first Down highlights item 1, Esc closes it.
  Key(InputKey::Enter);
  Then([&] {
    ASSERT_NE(Menu(), nullptr);
    TapStudio(panel, panel.RestoreButton());
    Key(InputKey::Down);
    Then([&] {
      EXPECT_EQ(panel.Confirmation(), nullptr) << "the studio took a press under the menu";
      ASSERT_NE(Menu(), nullptr);
      EXPECT_EQ(Menu()->Highlight(), 0);
      Key(InputKey::Escape);
    });
  });
  Pump();
  EXPECT_EQ(Menu(), nullptr);

  // The studio's confirmation holds the phone: a tap on a swatch opens no
  // menu, and Esc closes the confirmation, not something of the phone's.
  TapStudio(panel, panel.RestoreButton());
  Then([&] {
    ASSERT_NE(panel.Confirmation(), nullptr);
    TapPhone(main, main.SwatchButton(0));
    Key(InputKey::Escape);
  });
  Pump();
  EXPECT_EQ(panel.Confirmation(), nullptr);
  EXPECT_EQ(shell().LayerCount(), 2u) << "the phone opened something under the confirmation";
  EXPECT_EQ(shell().PendingMessages(), 0u);

  // Tab goes on from the phone's toolbar into the studio and round again.
  const UiToolbar_Text& toolbar = main.Toolbar();
  Key(InputKey::Tab);  // the studio had the last press: its first control
  Pump();
  EXPECT_TRUE(panel.ThemesButton().HasFocus());
  Key(InputKey::Tab);
  Key(InputKey::Tab);  // past 恢复默认 and 隐藏
  for (int i = 0; i < 4; ++i) Key(InputKey::Tab);  // the four every-eye buttons
  Key(InputKey::Tab);  // the sample screens, where the arrows point at items
  Pump();
  EXPECT_TRUE(panel.Screens().HasFocus());
  Key(InputKey::Tab);  // round to the phone's grid, where it was
  Pump();
  ASSERT_NE(pane.FocusedChild(), nullptr);
  EXPECT_EQ(pane.FocusedChild()->GetID(), 103);
  Key(InputKey::Tab, kShift);
  Key(InputKey::Tab);
  Key(InputKey::Tab);
  Pump();
  EXPECT_EQ(toolbar.GetFocusedButton(), 0);
}

}  // namespace
