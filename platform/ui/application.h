// The application base. A program defines exactly one global object derived
// from CMzApp; the platform's entry point finds it, calls InitApplication once,
// then Run until the quit message, and returns the quit message's exit code.
#pragma once

#include "platform/win/win_types.h"

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class CMzApp {
 public:
  CMzApp();  // registers this object as the process's application
  CMzApp(const CMzApp&) = delete;
  CMzApp& operator=(const CMzApp&) = delete;

  // Virtual operations, in table order.
  virtual ~CMzApp();
  virtual BOOL InitApplication();  // start-up; 1 when it succeeded
  virtual int Run();               // the message loop; returns the quit message's exit code
  virtual int Done();              // after the loop; returns the exit code Run gave
  virtual BOOL PreTranslateMessage(MSG* pMsg);  // nonzero when the message was consumed

  // The one application object of the process, or null.
  static CMzApp* Instance();

 private:
  int exit_code_ = 0;
};
