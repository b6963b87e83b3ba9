#include "platform/ui/element_window.h"

#include "platform/ui/element_layer.h"
#include "platform/ui/ui_win.h"

CMzWndEx::CMzWndEx() = default;
CMzWndEx::~CMzWndEx() = default;

LRESULT CMzWndEx::MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  InputEvent event;
  if (InputFromMessage(message, wParam, lParam, event)) Layer().Route(event);
  return CMzWnd::MzDefWndProc(message, wParam, lParam);
}

void CMzWndEx::OnSize(int nWidth, int nHeight) { CMzWnd::OnSize(nWidth, nHeight); }

void CMzWndEx::PaintWin(Canvas& canvas, const RECT& rcWin, const RECT& rcUpdate) {
  CMzWnd::PaintWin(canvas, rcWin, rcUpdate);
  for (UiWin* e : Layer().Roots()) e->Paint(canvas);
}

BOOL CMzWndEx::OnInitDialog() { return CMzWnd::OnInitDialog(); }

void CMzWndEx::AddUiWin(UiWin* pWin) { Layer().AddRoot(pWin); }

void CMzWndEx::RemoveUiWin(UiWin* pWin) { Layer().RemoveRoot(pWin); }

const std::vector<UiWin*>& CMzWndEx::GetUiWins() const { return Layer().Roots(); }
