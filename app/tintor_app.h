// Tintor's application object: prepares COM, creates the main window over
// the work area and shows it; the inherited loop does the rest.
#pragma once

#include "app/tintor_main_wnd.h"
#include "platform/ui/application.h"

class CTintorApp : public CMzApp {
 public:
  CTintorApp();
  ~CTintorApp() override;
  BOOL InitApplication() override;

  CTintorMainWnd& MainWindow() { return m_MainWnd; }

 private:
  CTintorMainWnd m_MainWnd;
};
