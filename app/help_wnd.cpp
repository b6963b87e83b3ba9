#include "app/help_wnd.h"

#include "app/texts.h"

HelpWnd::HelpWnd() = default;
HelpWnd::~HelpWnd() = default;

LPCWSTR HelpWnd::GetWndClassName() { return u"HelpWnd"; }

BOOL HelpWnd::OnInitDialog() {
  if (!CMzWndEx::OnInitDialog()) return 0;

  m_TextPane.SetBounds(0, 0, GetWidth(), GetHeight() - kToolbarHeight, 0);
  m_TextPane.SetID(kTextPaneId);
  m_TextPane.EnableScrollBarV(true);
  m_TextPane.EnableDragScrollbarV(true);
  AddUiWin(&m_TextPane);

  m_Text.SetBounds(kTextLeft, kTextTop, GetWidth() - 2 * kTextLeft, kTextHeight, 0);
  m_Text.SetDrawTextFormat(kTextFormat);
  m_Text.SetDisplayText(tintor_text::kUsageText);
  m_TextPane.AddChild(&m_Text);

  m_Toolbar.SetBounds(0, GetHeight() - kToolbarHeight, GetWidth(), kToolbarHeight, 0);
  m_Toolbar.SetButton(0, true, true, tintor_text::kBack);
  m_Toolbar.EnableLeftArrow(true);
  m_Toolbar.SetID(kToolbarId);
  AddUiWin(&m_Toolbar);
  return 1;
}

void HelpWnd::OnControlCommand(WPARAM wParam, LPARAM /*lParam*/) {
  if (LOWORD(wParam) == kToolbarId) EndModal(1);
}
