// The quit message goes to whichever sink the shell installed; COM start-up
// has nothing to prepare on this host.
#include "platform/win/system.h"

namespace {
QuitMessageSink g_quit_sink = nullptr;
}  // namespace

void SetQuitMessageSink(QuitMessageSink sink) { g_quit_sink = sink; }

void PostQuitMessage(int nExitCode) {
  if (g_quit_sink != nullptr) g_quit_sink(nExitCode);
}

HRESULT CoInitializeEx(LPVOID /*pvReserved*/, DWORD dwCoInit) {
  if (dwCoInit != COINIT_MULTITHREADED && dwCoInit != COINIT_APARTMENTTHREADED) return S_FALSE;
  return S_OK;
}
