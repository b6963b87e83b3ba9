// The help window: the usage instructions in a scrolling pane above a
// toolbar whose "返回" button ends its modal run.
#pragma once

#include "platform/ui/element_window.h"
#include "platform/ui/ui_scroll_win.h"
#include "platform/ui/ui_static.h"
#include "platform/ui/ui_toolbar_text.h"

class HelpWnd : public CMzWndEx {
 public:
  static constexpr int kTextPaneId = 103;
  static constexpr int kToolbarId = 400;
  static constexpr int kToolbarHeight = 65;
  static constexpr int kTextLeft = 20;
  static constexpr int kTextTop = 30;
  static constexpr int kTextHeight = 2050;
  static constexpr UINT kTextFormat = DT_WORDBREAK | DT_END_ELLIPSIS;  // 0x8010

  HelpWnd();
  LPCWSTR GetWndClassName() override;
  ~HelpWnd() override;
  void OnControlCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;

  const UiToolbar_Text& Toolbar() const { return m_Toolbar; }
  const UiStatic& Text() const { return m_Text; }
  const UiScrollWin& TextPane() const { return m_TextPane; }

 private:
  // Declaration order is construction order; the pane goes before its text.
  UiToolbar_Text m_Toolbar;
  UiStatic m_Text;
  UiScrollWin m_TextPane;
};
