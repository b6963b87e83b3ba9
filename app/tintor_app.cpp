#include "app/tintor_app.h"

#include "platform/ui/toolkit_functions.h"
#include "platform/win/system.h"

CTintorApp::CTintorApp() = default;
CTintorApp::~CTintorApp() = default;

BOOL CTintorApp::InitApplication() {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  const RECT area = MzGetWorkArea();
  m_MainWnd.Create(area.left, area.top, area.right - area.left, area.bottom - area.top, nullptr,
                   0, 0, 0);
  m_MainWnd.Show(true, true);
  return 1;
}
