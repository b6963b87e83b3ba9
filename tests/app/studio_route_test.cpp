// The phone and the studio in one window, as a user of the keyboard and the
// mouse meets them: one route, one modal run that holds the whole window,
// one focus that Tab carries through both halves, a ring only after a key.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/tintor_main_wnd.h"
#include "model/theme_targets.h"
#include "platform/ui/element_layer.h"
#include "platform/ui/popup_menu_sheet.h"
#include "studio/card/item_card.h"
#include "studio/preview/restore_confirmation.h"
#include "studio/shelf/theme_shelf.h"
#include "studio/studio.h"
#include "tests/support/headless_shell_test.h"
#include "tests/support/screen_texts.h"

namespace {

class StudioBesideThePhone : public HeadlessShellTest {
 protected:
  void TapPhone(const CMzWnd& wnd, const UiWin& e) {
    const POINT o = e.WindowOrigin();
    Tap(wnd.GetPosX() + o.x + e.GetWidth() / 2, wnd.GetPosY() + o.y + e.GetHeight() / 2);
  }
  void Then(std::function<void()> check) { host().InjectCall(std::move(check)); }
  PopupMenuSheet* Menu() { return dynamic_cast<PopupMenuSheet*>(shell().TopLayer()); }
  RestoreConfirmation* Question() { return dynamic_cast<RestoreConfirmation*>(shell().TopLayer()); }
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
  // A colour of its own: at the defaults 恢复默认 would ask nothing. The
  // phone, started already, draws as before.
  ASSERT_TRUE(WriteRegistryDword(kThemeTargets[3].key, kThemeTargets[3].value_name, 0x00112233));
  Studio studio(shell(), RegistryPath(), true);
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
    ASSERT_TRUE(TapText(host(), shell(), u"恢复默认"));
    Key(InputKey::Down);
    Then([&] {
      EXPECT_EQ(Question(), nullptr) << "the studio took a press under the menu";
      ASSERT_NE(Menu(), nullptr);
      EXPECT_EQ(Menu()->Highlight(), 0);
      Key(InputKey::Escape);
    });
  });
  Pump();
  EXPECT_EQ(Menu(), nullptr);

  // The studio's confirmation holds the phone: a tap on a swatch opens no
  // menu, and Esc closes the confirmation, not something of the phone's.
  ASSERT_TRUE(TapText(host(), shell(), u"恢复默认"));
  Then([&] {
    ASSERT_NE(Question(), nullptr);
    TapPhone(main, main.SwatchButton(0));
    Key(InputKey::Escape);
  });
  Pump();
  EXPECT_EQ(Question(), nullptr);
  EXPECT_EQ(shell().LayerCount(), 2u) << "the phone opened something under the confirmation";
  EXPECT_EQ(shell().PendingMessages(), 0u);

  // Tab goes on from the phone's toolbar into the studio and round again.
  const UiToolbar_Text& toolbar = main.Toolbar();
  Key(InputKey::Tab);  // the studio had the last press: its first control, 主题
  Key(InputKey::Enter);
  Then([&] {
    EXPECT_NE(dynamic_cast<ThemeShelf*>(shell().TopLayer()), nullptr) << "主题 had not the focus";
    Key(InputKey::Escape);
  });
  Pump();
  Key(InputKey::Tab);
  Key(InputKey::Tab);  // past 恢复默认 and 隐藏
  for (int i = 0; i < 4; ++i) Key(InputKey::Tab);  // the four every-eye buttons
  Key(InputKey::Tab);  // the sample screens, where the arrows point at items
  Key(InputKey::Enter);
  // The card holds the window: the phone is dimmed, and a click on one of
  // its swatches closes the card and does nothing else.
  const auto bytes = [this] {
    std::ifstream in(RegistryPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string registry = bytes();
  Then([&] {
    ASSERT_NE(dynamic_cast<ItemCard*>(shell().TopLayer()), nullptr) << "the screens had not the focus";
    shell().RenderFrame();
    const std::vector<std::uint32_t> held = Phone();
    EXPECT_LT(held[untouched.size() / 2] & 0xFF, untouched[untouched.size() / 2] & 0xFF) << "the phone is not dimmed";
    TapPhone(main, main.SwatchButton(0));
  });
  Pump();
  EXPECT_EQ(shell().LayerCount(), 2u) << "the card stayed, or the click opened a menu";
  EXPECT_EQ(bytes(), registry);
  EXPECT_EQ(Phone(), untouched) << "the phone stays dimmed or changed";
  Key(InputKey::Enter);
  Then([&] {
    ASSERT_NE(dynamic_cast<ItemCard*>(shell().TopLayer()), nullptr) << "the screens lost the focus";
    Key(InputKey::Escape);
  });
  Pump();
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
