// Tintor's main window: the banner, the scrolling grid of 65 colour swatch
// buttons and the toolbar ("退出", "先看说明", "关于"); its command handler
// runs the whole user flow.
#pragma once

#include <array>

#include "model/color_swatches.h"
#include "platform/ui/image_container.h"
#include "platform/ui/element_window.h"
#include "platform/ui/ui_button_image.h"
#include "platform/ui/ui_picture.h"
#include "platform/ui/ui_scroll_win.h"
#include "platform/ui/ui_toolbar_text.h"

class CTintorMainWnd : public CMzWndEx {
 public:
  static constexpr int kToolbarId = 101;
  // The window's commands are the ids from the toolbar's (101) to the highest
  // swatch id; every other id (the pane's 201 among them) is none of them.
  static constexpr int kLastCommandId = 169;
  static constexpr int kSwatchPaneId = 201;
  static constexpr int kBannerResourceId = 170;
  static constexpr int kPressedOverlayResourceId = 165;
  static constexpr int kMenuTitleResourceId = 188;
  static constexpr int kBannerWidth = 480;
  static constexpr int kBannerHeight = 150;
  static constexpr int kPaneHeight = 470;
  static constexpr int kToolbarHeight = 65;
  static constexpr int kSwatchSize = 90;
  // The buttons from this position on set the pressed overlay over the face
  // with an explicit SwapImageZOrder(false); the first two keep the toolkit's
  // default, which is the same order.
  static constexpr std::size_t kFirstExplicitOverlayOrder = 2;

  // Toolbar button indexes, as the toolbar sends them in lParam.
  static constexpr LPARAM kQuitButton = 0;
  static constexpr LPARAM kHelpButton = 1;
  static constexpr LPARAM kAboutButton = 2;

  // The top-left corner of the k-th swatch button in the pane.
  struct Cell {
    int x;
    int y;
  };
  static constexpr Cell SwatchCell(std::size_t k) {
    if (k == kColorSwatchCount - 1) return {195, 1829};  // 164, alone and centred
    const int row = static_cast<int>(k / 4);
    const int column = static_cast<int>(k % 4);
    return {24 + 114 * column, 5 + 114 * row};
  }

  CTintorMainWnd();
  LPCWSTR GetWndClassName() override;
  ~CTintorMainWnd() override;
  void OnControlCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;

  const UiPicture& Banner() const { return m_Banner; }
  const UiButton_Image& SwatchButton(std::size_t k) const { return m_Swatches[k]; }
  const UiToolbar_Text& Toolbar() const { return m_Toolbar; }
  const UiScrollWin& SwatchPane() const { return m_SwatchPane; }
  const ImageContainer& ImageCache() const { return m_ImageCache; }

 private:
  void OnToolbar(LPARAM button);
  void OnSwatch(const ColorSwatch& swatch);
  void RunHelp();

  // Declaration order is construction order; destruction runs backwards.
  UiPicture m_Banner;
  std::array<UiButton_Image, kColorSwatchCount> m_Swatches;
  UiToolbar_Text m_Toolbar;
  UiScrollWin m_SwatchPane;
  ImageContainer m_ImageCache;
};
