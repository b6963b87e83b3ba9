#include "platform/ui/element_window.h"

#include <algorithm>

#include "platform/ui/ui_toolbar_text.h"
#include "platform/ui/ui_win.h"

CMzWndEx::CMzWndEx() = default;

CMzWndEx::~CMzWndEx() {
  // Elements that outlive the window must not reach back into it.
  for (UiWin* e : elements_) e->SetParentWnd(nullptr);
  elements_.clear();
}

LRESULT CMzWndEx::MzDefWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
      finger_.Press(elements_, x, y);
      break;
    case WM_MOUSEMOVE:
      finger_.Move(x, y);
      break;
    case WM_LBUTTONUP:
      finger_.Release(x, y);
      break;
    case WM_MOUSEWHEEL: {
      const int delta = static_cast<std::int16_t>(HIWORD(wParam));
      const int turns = delta / WHEEL_DELTA;
      if (turns != 0) finger_.Wheel(elements_, x, y, turns);
      break;
    }
    case WM_KEYDOWN:
      // The back key goes back where a toolbar shows the way (the topmost one).
      if (wParam == VK_ESCAPE) {
        for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
          auto* toolbar = dynamic_cast<UiToolbar_Text*>(*it);
          if (toolbar != nullptr && toolbar->GoBack()) break;
        }
      }
      break;
    default:
      break;
  }
  return CMzWnd::MzDefWndProc(message, wParam, lParam);
}

void CMzWndEx::OnSize(int nWidth, int nHeight) { CMzWnd::OnSize(nWidth, nHeight); }

void CMzWndEx::PaintWin(Canvas& canvas, const RECT& rcWin, const RECT& rcUpdate) {
  CMzWnd::PaintWin(canvas, rcWin, rcUpdate);
  for (UiWin* e : elements_) e->Paint(canvas);
}

BOOL CMzWndEx::OnInitDialog() { return CMzWnd::OnInitDialog(); }

void CMzWndEx::AddUiWin(UiWin* pWin) {
  if (pWin == nullptr || std::find(elements_.begin(), elements_.end(), pWin) != elements_.end()) {
    return;
  }
  elements_.push_back(pWin);
  pWin->SetParentWnd(this);
  pWin->Invalidate();
}

void CMzWndEx::RemoveUiWin(UiWin* pWin) {
  if (std::find(elements_.begin(), elements_.end(), pWin) == elements_.end()) return;
  finger_.Forget(pWin);
  elements_.erase(std::remove(elements_.begin(), elements_.end(), pWin), elements_.end());
  pWin->SetParentWnd(nullptr);
  pWin->Invalidate();
}

void CMzWndEx::ForgetElement(UiWin* pWin) {
  finger_.Forget(pWin);
  if (pWin->GetParent() == nullptr) {
    elements_.erase(std::remove(elements_.begin(), elements_.end(), pWin), elements_.end());
  }
}
