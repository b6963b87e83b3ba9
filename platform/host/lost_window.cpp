#include "platform/host/lost_window.h"

#include <X11/Xlib.h>

#include <atomic>

namespace {

std::atomic<unsigned long> g_window{0};
std::atomic<bool> g_lost{false};
XErrorHandler g_previous = nullptr;

int OnXError(Display* display, XErrorEvent* error) {
  if (error->resourceid == g_window.load() &&
      (error->error_code == BadWindow || error->error_code == BadDrawable)) {
    g_lost = true;
    return 0;
  }
  return g_previous != nullptr ? g_previous(display, error) : 0;
}

}  // namespace

void WatchForLostWindow(unsigned long x_window) {
  g_window = x_window;
  g_lost = false;
  XErrorHandler was = XSetErrorHandler(&OnXError);
  if (was != &OnXError) g_previous = was;
}

bool WindowWasLost() { return g_lost.load(); }
