// A window that holds UI elements: it paints the window background in the
// theme colour, then its elements in the order they were added, and routes the
// finger to the element under it.
#pragma once

#include <vector>

#include "platform/ui/mz_wnd.h"

class CMzWndEx : public CMzWnd {
 public:
  CMzWndEx();
  ~CMzWndEx() override;

  LRESULT MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnSize(int nWidth, int nHeight) override;
  void PaintWin(Canvas& canvas, const RECT& rcWin, const RECT& rcUpdate) override;
  BOOL OnInitDialog() override;

  // Adds a top-level element; the window does not own it.
  void AddUiWin(UiWin* pWin);
  void RemoveUiWin(UiWin* pWin);
  const std::vector<UiWin*>& GetUiWins() const { return elements_; }

 protected:
  std::vector<UiWin*> elements_;
};
