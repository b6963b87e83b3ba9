// The main window's layout: every element's place, size and id, for the work
// area, for a window whose left and top are not 0, and for another size.
#include <gtest/gtest.h>

#include <set>

#include "app/tintor_main_wnd.h"
#include "model/color_swatches.h"
#include "platform/ui/imaging_helper.h"
#include "platform/win/resources.h"
#include "tests/app/app_test_support.h"

namespace {

using MainWindowLayout = AppTest;

// The whole layout of a main window W x H at (left, top).
void CheckLayout(const CTintorMainWnd& wnd, const RECT& rect) {
  const int w = rect.right - rect.left;
  const int h = rect.bottom - rect.top;
  SCOPED_TRACE("window " + std::to_string(w) + " x " + std::to_string(h) + " at (" +
               std::to_string(rect.left) + ", " + std::to_string(rect.top) + ")");
  const RECT got = wnd.GetWindowRect();
  EXPECT_EQ(got.left, rect.left);
  EXPECT_EQ(got.top, rect.top);
  EXPECT_EQ(got.right, rect.right);
  EXPECT_EQ(got.bottom, rect.bottom);

  // Banner, pane, toolbar: added to the window in that order.
  const auto& top = wnd.GetUiWins();
  ASSERT_EQ(top.size(), 3u);
  EXPECT_EQ(top[0], &wnd.Banner());
  EXPECT_EQ(top[1], &wnd.SwatchPane());
  EXPECT_EQ(top[2], &wnd.Toolbar());
  ExpectBounds(wnd.Banner(), 0, 0, 480, 150, __LINE__);
  ExpectBounds(wnd.SwatchPane(), 0, 150, w, 470, __LINE__);
  ExpectBounds(wnd.Toolbar(), 0, h - 65, w, 65, __LINE__);
  EXPECT_EQ(wnd.SwatchPane().GetID(), 201);
  EXPECT_EQ(wnd.Toolbar().GetID(), 101);
  EXPECT_TRUE(wnd.SwatchPane().IsScrollBarVEnabled());
  EXPECT_TRUE(wnd.SwatchPane().IsDragScrollbarVEnabled());
  ASSERT_NE(wnd.Banner().GetImage(), nullptr);
  EXPECT_EQ(wnd.Banner().GetImage()->GetImageWidth(), 480);
  EXPECT_EQ(wnd.Banner().GetImage()->GetImageHeight(), 150);

  const char16_t* const captions[3] = {u"退出", u"先看说明", u"关于"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(wnd.Toolbar().GetButtonText(i), nullptr) << "button " << i;
    EXPECT_EQ(std::u16string(wnd.Toolbar().GetButtonText(i)), captions[i]);
    EXPECT_TRUE(wnd.Toolbar().IsButtonEnabled(i));
    EXPECT_TRUE(wnd.Toolbar().IsButtonVisible(i));
  }
}

TEST_F(MainWindowLayout, FollowsTheWindowRectangle) {
  const RECT rects[] = {
      Shell::WorkArea(),          // the phone's work area
      RECT{30, 80, 430, 700},     // left and top not 0, narrower and shorter
      RECT{0, 35, 480, 300},      // shorter than banner, pane and toolbar together
      RECT{12, 40, 492, 720},     // wider than the screen is left of it
  };
  for (const RECT& rect : rects) {
    CheckLayout(OpenMainWindow(rect), rect);
    CloseMainWindow();
  }
}

TEST_F(MainWindowLayout, SwatchGridFollowsTheInsertionOrder) {
  const CTintorMainWnd& wnd = OpenMainWindow();
  const auto& children = wnd.SwatchPane().GetChildren();
  ASSERT_EQ(children.size(), 65u);
  // 102..121, 123..163, 167, 168, 169, 164.
  std::vector<int> expected_ids;
  for (int id = 102; id <= 121; ++id) expected_ids.push_back(id);
  for (int id = 123; id <= 163; ++id) expected_ids.push_back(id);
  for (int id : {167, 168, 169, 164}) expected_ids.push_back(id);
  ASSERT_EQ(expected_ids.size(), 65u);

  for (std::size_t k = 0; k < 65; ++k) {
    SCOPED_TRACE("swatch position " + std::to_string(k));
    const UiButton_Image& b = wnd.SwatchButton(k);
    EXPECT_EQ(children[k], &b);
    EXPECT_EQ(b.GetID(), expected_ids[k]);
    EXPECT_EQ(b.GetButtonType(), 0);
    EXPECT_EQ(b.GetMode(), 1);
    int x = 24 + 114 * static_cast<int>(k % 4);
    int y = 5 + 114 * static_cast<int>(k / 4);
    if (k == 64) {
      x = 195;
      y = 1829;
    }
    ExpectBounds(b, x, y, 90, 90, __LINE__);
  }
  // 164 alone on the last row, centred on x 240.
  EXPECT_EQ(wnd.SwatchButton(64).GetID(), 164);
  EXPECT_EQ(wnd.SwatchButton(64).GetPosX() + 45, 240);
}

TEST_F(MainWindowLayout, NoButtonCarriesAnIdWithoutSwatch) {
  const CTintorMainWnd& wnd = OpenMainWindow();
  std::set<int> ids;
  for (const UiWin* child : wnd.SwatchPane().GetChildren()) ids.insert(child->GetID());
  EXPECT_EQ(ids.size(), 65u) << "ids are not unique";
  for (int id : {101, 122, 165, 166, 170, 201}) EXPECT_EQ(ids.count(id), 0u) << id;
  for (const ColorSwatch& s : kColorSwatches) EXPECT_EQ(ids.count(s.control_id), 1u) << s.control_id;
}

TEST_F(MainWindowLayout, ImagesComeFromTheCacheWithOneSharedOverlay) {
  const CTintorMainWnd& wnd = OpenMainWindow();
  ImagingHelper* overlay = wnd.SwatchButton(0).GetImage_Pressed();
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(overlay->GetImageWidth(), 90);
  EXPECT_EQ(overlay->GetImageHeight(), 90);
  std::set<const ImagingHelper*> faces;
  for (std::size_t k = 0; k < 65; ++k) {
    SCOPED_TRACE("swatch position " + std::to_string(k));
    const UiButton_Image& b = wnd.SwatchButton(k);
    EXPECT_EQ(b.GetImage_Pressed(), overlay);
    ASSERT_NE(b.GetImage_Normal(), nullptr);
    EXPECT_FALSE(b.GetImage_Normal()->IsNull());
    EXPECT_EQ(b.GetImage_Normal()->GetImageWidth(), 80);
    EXPECT_NE(b.GetImage_Normal(), overlay);
    faces.insert(b.GetImage_Normal());
  }
  EXPECT_EQ(faces.size(), 65u) << "two buttons show the same face";
  // 65 faces and the overlay, each loaded once; the banner is the picture's own.
  EXPECT_EQ(wnd.ImageCache().GetImageCount(), 66u);
}

TEST_F(MainWindowLayout, EachFaceShowsItsOwnSwatchPicture) {
  // The face of a button is the picture whose resource id is the button's id:
  // the centre pixel of the face matches the centre of that resource's picture.
  const CTintorMainWnd& wnd = OpenMainWindow();
  for (std::size_t k = 0; k < 65; ++k) {
    const UiButton_Image& b = wnd.SwatchButton(k);
    ImagingHelper expected;
    ASSERT_TRUE(expected.LoadImageFromRes(ProgramModuleHandle(), MAKEINTRESOURCEW(RT_RCDATA_ID),
                                          MAKEINTRESOURCEW(static_cast<UINT>(b.GetID()))));
    EXPECT_EQ(b.GetImage_Normal()->GetPixel(40, 40), expected.GetPixel(40, 40))
        << "button " << b.GetID();
  }
}

TEST_F(MainWindowLayout, EveryButtonDrawsThePressedOverlayOverItsFace) {
  const CTintorMainWnd& wnd = OpenMainWindow();
  for (std::size_t k = 0; k < 65; ++k) {
    const UiButton_Image& b = wnd.SwatchButton(k);
    SCOPED_TRACE("button " + std::to_string(b.GetID()));
    EXPECT_EQ(b.GetMode(), 1);
    EXPECT_FALSE(b.IsImageZOrderSwapped());
  }
}

TEST_F(MainWindowLayout, ClassNameAndPaneContentHeight) {
  CTintorMainWnd& wnd = OpenMainWindow();
  EXPECT_EQ(std::u16string(wnd.GetWndClassName()), u"CTintorMainWnd");
  // The pane scrolls down to 164's row: its bottom edge is the content's end.
  EXPECT_EQ(wnd.SwatchPane().GetContentHeight(), 1829 + 90);
  EXPECT_EQ(wnd.SwatchPane().GetMaxScrollY(), 1829 + 90 - 470);
}

}  // namespace
