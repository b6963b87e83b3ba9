#include "app/tintor_main_wnd.h"

#include "app/texts.h"
#include "platform/ui/toolkit_functions.h"

CTintorMainWnd::CTintorMainWnd() = default;
CTintorMainWnd::~CTintorMainWnd() = default;

LPCWSTR CTintorMainWnd::GetWndClassName() { return u"CTintorMainWnd"; }

BOOL CTintorMainWnd::OnInitDialog() {
  if (!CMzWndEx::OnInitDialog()) return 0;

  m_Banner.SetBounds(0, 0, kBannerWidth, kBannerHeight, 0);
  m_Banner.SetPaintMode(0);
  m_Banner.LoadImageW(MzGetInstanceHandle(), MAKEINTRESOURCEW(RT_RCDATA_ID),
                      MAKEINTRESOURCEW(kBannerResourceId), true);
  AddUiWin(&m_Banner);

  m_SwatchPane.SetBounds(0, kBannerHeight, GetWidth(), kPaneHeight, 0);
  m_SwatchPane.SetID(kSwatchPaneId);
  m_SwatchPane.EnableScrollBarV(true);
  m_SwatchPane.EnableDragScrollbarV(true);
  AddUiWin(&m_SwatchPane);

  const HINSTANCE module = MzGetInstanceHandle();
  // The cache gets the first face before the overlay all buttons share; the
  // first button is then given the face loaded here, the others their own.
  ImagingHelper* const first_face =
      m_ImageCache.LoadImageW(module, static_cast<UINT>(kColorSwatches[0].image_id), true);
  ImagingHelper* const pressed =
      m_ImageCache.LoadImageW(module, kPressedOverlayResourceId, true);

  for (std::size_t k = 0; k < kColorSwatchCount; ++k) {
    const ColorSwatch& swatch = kColorSwatches[k];
    UiButton_Image& button = m_Swatches[k];
    ImagingHelper* const face =
        k == 0 ? first_face
               : m_ImageCache.LoadImageW(module, static_cast<UINT>(swatch.image_id), true);
    const Cell cell = SwatchCell(k);
    button.SetID(swatch.control_id);
    button.SetButtonType(0);
    button.SetBounds(cell.x, cell.y, kSwatchSize, kSwatchSize, 0);
    button.SetImage_Normal(face);
    button.SetImage_Pressed(pressed);
    button.SetMode(1);
    if (k >= kFirstExplicitOverlayOrder) button.SwapImageZOrder(false);
    m_SwatchPane.AddChild(&button);
  }

  const int width = GetWidth();
  const int height = GetHeight();
  m_Toolbar.SetBounds(0, height - kToolbarHeight, width, kToolbarHeight, 0);
  m_Toolbar.SetButton(0, true, true, tintor_text::kQuit);
  m_Toolbar.SetButton(1, true, true, tintor_text::kReadHelp);
  m_Toolbar.SetButton(2, true, true, tintor_text::kAbout);
  m_Toolbar.SetID(kToolbarId);
  AddUiWin(&m_Toolbar);
  return 1;
}
