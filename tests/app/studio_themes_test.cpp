// Keeping a theme in the window, as a user meets it: the window's undo and
// redo keys, the theme shelf (save under a typed name, apply after a
// confirmation, delete, export) and a registry file dropped on the window.
#include <gtest/gtest.h>

#include <string>

#include "model/theme_targets.h"
#include "platform/shell/utf.h"
#include "studio/restore_confirmation.h"
#include "studio/studio.h"
#include "studio/studio_texts.h"
#include "studio/theme_values.h"
#include "tests/support/headless_shell_test.h"

namespace {

class StudioThemes : public HeadlessShellTest {
 protected:
  // The centre of an element of a studio layer, in the window's coordinates.
  void TapStudio(const ElementLayer& layer, const UiWin& e) {
    Tap(Shell::kScreenWidth + layer.Frame().left + e.GetPosX() + e.GetWidth() / 2,
        layer.Frame().top + e.GetPosY() + e.GetHeight() / 2);
  }
  void Then(std::function<void()> check) { host().InjectCall(std::move(check)); }
  static ThemeValues Now() {
    ThemeValues v;
    std::string problem;
    EXPECT_TRUE(ReadThemeValues(v, problem)) << problem;
    return v;
  }
  static bool Says(const std::u16string& status, const char16_t* words) {
    return status.find(words) != std::u16string::npos;
  }
};

constexpr std::size_t kBackground = 3;  // item 4, the window background

TEST_F(StudioThemes, WindowKeysUndoAndRedoEveryStepARestoreIsOne) {
  Studio studio(shell(), RegistryPath(), true);
  const PreviewPanel& panel = studio.Panel();
  const ThemeTarget& bg = kThemeTargets[kBackground];
  Pump();
  for (DWORD colour : {0x00112233u, 0x00445566u}) {
    ASSERT_TRUE(WriteRegistryDword(bg.key, bg.value_name, colour));
    Wait(1);  // the loop waits, the watch sees the write and records a step
    Pump();
  }
  Key(InputKey::Z, kCtrl);
  Pump();
  EXPECT_EQ(Now().items[kBackground], 0x00112233u);
  EXPECT_EQ(panel.theme().Item(4), 0x00112233u) << "the panel shows the undo at once";
  EXPECT_TRUE(Says(panel.status(), u"已撤销")) << Utf16ToUtf8(panel.status());
  Key(InputKey::Z, kCtrl);
  Key(InputKey::Z, kCtrl);
  Pump();
  EXPECT_EQ(Now(), ThemeValues()) << "a value that was not there is removed again";
  EXPECT_EQ(panel.status(), studio_text::kNothingToUndo);
  Key(InputKey::Y, kCtrl);
  Key(InputKey::Z, kCtrl | kShift);
  Pump();
  EXPECT_EQ(Now().items[kBackground], 0x00445566u);
  EXPECT_TRUE(Says(panel.status(), u"已重做")) << Utf16ToUtf8(panel.status());

  // "恢复默认", confirmed, is one step; no key of the history acts while its
  // question holds the window.
  ASSERT_TRUE(WriteRegistryDword(kThemeTargets[12].key, kThemeTargets[12].value_name, 0x00ABCDEF));
  Pump();
  const ThemeValues before_restore = Now();
  TapStudio(panel, panel.RestoreButton());
  Then([&] {
    ASSERT_NE(panel.Confirmation(), nullptr);
    TapStudio(*panel.Confirmation(), panel.Confirmation()->ConfirmButton());
  });
  Pump();
  EXPECT_EQ(Now(), ThemeValues());
  TapStudio(panel, panel.RestoreButton());
  Key(InputKey::Z, kCtrl);
  Key(InputKey::Escape);
  Pump();
  EXPECT_EQ(panel.Confirmation(), nullptr);
  EXPECT_EQ(Now(), ThemeValues()) << "Ctrl+Z acted under the question";
  Key(InputKey::Z, kCtrl);
  Pump();
  EXPECT_EQ(Now(), before_restore) << "one undo brings back all the restore removed";
}

}  // namespace
