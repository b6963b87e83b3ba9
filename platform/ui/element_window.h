// A window that holds UI elements: it paints the window background in the
// theme colour, then its elements in the order they were added, and hands the
// finger, the wheel and the keys to its layer, which routes them to the
// elements (Esc, the phone's back key, to a toolbar that shows the way back).
#pragma once

#include <vector>

#include "platform/ui/window.h"

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
  const std::vector<UiWin*>& GetUiWins() const;
};
