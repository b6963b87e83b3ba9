// A thousand popup menus, each with a title picture of its own, opened and
// dismissed every way there is through the headless host: the menu frees the
// picture it took over, and the heap does not grow from one menu to the next.
// Under LeakSanitizer (the ASan build) any lost block fails the run as well.
#include <gtest/gtest.h>
#include <malloc.h>

#include <functional>
#include <string>

#include "platform/ui/popup_menu_sheet.h"
#include "tests/platform/proof_screen.h"

namespace {

// A title picture that counts how many of its kind are alive.
class CountedImage : public ImagingHelper {
 public:
  CountedImage() { ++alive; }
  ~CountedImage() override { --alive; }
  static int alive;
};
int CountedImage::alive = 0;

CountedImage* NewCountedTitle() {
  auto* image = new CountedImage();
  image->LoadImageFromRes(GetMzResModuleHandle(), MAKEINTRESOURCEW(RT_RCDATA_ID),
                          MAKEINTRESOURCEW(188));
  return image;
}

// Opens one menu of `items` items and dismisses it the way `round` picks:
// a tap above the sheet, Esc, the cancel button, a tap on the second item,
// or Down, Down, Enter. Returns false (with `error`) when the menu did not
// show or did not give the expected result.
class MenuRounds {
 public:
  explicit MenuRounds(HeadlessPhone& phone) : phone_(phone) {}

  bool Run(int round, int items, std::string& error) {
    MzPopupMenu menu;
    menu.SetMenuTitle(u"选择颜色", NewCountedTitle());
    for (int i = 0; i < items; ++i) {
      const std::u16string text = u"颜色 " + std::u16string(1, static_cast<char16_t>(u'A' + i));
      menu.AppendMenuItem(static_cast<UINT>(500 + i), text.c_str());
    }
    HeadlessHost& host = phone_.host();
    bool shown = false;
    host.InjectCall([&] {
      auto* sheet = dynamic_cast<PopupMenuSheet*>(phone_.shell().TopLayer());
      if (sheet == nullptr) return;  // nothing injected: the host ends the run
      shown = true;
      switch (round % 5) {
        case 0:
          host.InjectTap(240, sheet->SheetTop() / 2);
          break;
        case 1:
          host.InjectKey(InputKey::Escape);
          break;
        case 2: {
          const RECT c = sheet->CancelRect();
          host.InjectTap((c.left + c.right) / 2, (c.top + c.bottom) / 2);
          break;
        }
        case 3: {
          const RECT r = sheet->ItemRect(1);
          host.InjectTap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
          break;
        }
        default:
          host.InjectKey(InputKey::Down);
          host.InjectKey(InputKey::Down);
          host.InjectKey(InputKey::Enter);
          break;
      }
    });
    const int expected = round % 5 >= 3 ? 501 : 0;
    const int result = menu.MzTrackPopupMenu(nullptr);
    if (!shown) {
      error = "round " + std::to_string(round) + ": the menu never showed";
      return false;
    }
    if (result != expected) {
      error = "round " + std::to_string(round) + ": the menu returned " +
              std::to_string(result) + ", expected " + std::to_string(expected);
      return false;
    }
    if (phone_.shell().LayerCount() != 0 || phone_.shell().QuitRequested()) {
      error = "round " + std::to_string(round) + ": the sheet stayed or the run quit";
      return false;
    }
    return true;
  }

 private:
  HeadlessPhone& phone_;
};

std::size_t HeapInUse() {
  malloc_trim(0);
  return mallinfo2().uordblks;
}

}  // namespace

TEST(MenuLeak, TheMenuFreesTheTitlePictureItTookOver) {
  HeadlessPhone phone;
  ASSERT_TRUE(phone.ok());
  {
    MzPopupMenu menu;
    CountedImage* first = NewCountedTitle();
    menu.SetMenuTitle(u"一", first);
    menu.SetMenuTitle(u"二", first);  // the same picture again: kept, not freed
    EXPECT_EQ(CountedImage::alive, 1);
    EXPECT_EQ(menu.GetTitleImage(), first);
    menu.SetMenuTitle(u"三", NewCountedTitle());  // a new one: the old one goes
    EXPECT_EQ(CountedImage::alive, 1);
    menu.SetMenuTitle(u"四", nullptr);
    EXPECT_EQ(CountedImage::alive, 0);
    EXPECT_EQ(menu.GetTitleImage(), nullptr);
    menu.SetMenuTitle(u"五", NewCountedTitle());
  }
  EXPECT_EQ(CountedImage::alive, 0) << "a menu that never ran kept its picture";
}

TEST(MenuLeak, AThousandMenusOpenedAndDismissedLeaveNothingBehind) {
  HeadlessPhone phone;
  ASSERT_TRUE(phone.ok());
  MenuRounds rounds(phone);
  std::string error;
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(rounds.Run(i, 3 + i % 20, error)) << error;
    ASSERT_EQ(CountedImage::alive, 0) << "round " << i << " kept its title picture";
  }
  EXPECT_EQ(phone.shell().LoopDepth(), 0);
  EXPECT_FALSE(phone.host().HasPendingInput());
}

// The normal build only: the allocator's own count of bytes in use (ASan
// replaces the allocator, so this test carries the no-asan label).
TEST(MenuHeap, BytesInUseStayFlatOverAThousandMenus) {
  HeadlessPhone phone;
  ASSERT_TRUE(phone.ok());
  MenuRounds rounds(phone);
  std::string error;
  // Warm up first: fonts, glyph caches and the first layouts stay for good.
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(rounds.Run(i, 3 + i % 20, error)) << error;
  const std::size_t before = HeapInUse();
  ASSERT_GT(before, 0u) << "the allocator reports nothing in use";
  for (int i = 100; i < 1100; ++i) ASSERT_TRUE(rounds.Run(i, 3 + i % 20, error)) << error;
  const std::size_t after = HeapInUse();
  const long long growth = static_cast<long long>(after) - static_cast<long long>(before);
  std::cout << "heap in use: " << before << " bytes after 100 menus, " << after
            << " after 1,100 (" << growth << ")\n";
  // One lost title picture is 40 x 40 x 4 bytes: a thousand would be 6.4 MB.
  EXPECT_LT(growth, 64 * 1024);
}
