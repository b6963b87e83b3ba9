// A window that holds UI elements: it paints the window background in the
// theme colour, then its elements in the order they were added, and routes the
// finger to the element under it. Esc (the phone's back key) presses the back
// arrow of a toolbar that shows one; without one it does nothing.
#pragma once

#include <vector>

#include "platform/ui/finger_tracker.h"
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
  const std::vector<UiWin*>& GetUiWins() const { return elements_; }
  // An element (or one inside it) is going away: drop every pointer to it.
  void ForgetElement(UiWin* pWin);
  // The finger over this window's elements.
  const FingerTracker& Finger() const { return finger_; }

 protected:
  std::vector<UiWin*> elements_;

 private:
  FingerTracker finger_;
};
