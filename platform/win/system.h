// The phone's core system calls that are not about the registry or resources:
// the quit message and COM start-up.
#pragma once

#include "platform/win/win_types.h"

// Posts the quit message with the given exit code to the UI thread's queue.
void PostQuitMessage(int nExitCode);

inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
// Prepares COM on the calling thread. Nothing here uses COM; it keeps the start-up order.
HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);

// The shell installs the sink that receives posted quit messages.
using QuitMessageSink = void (*)(int exitCode);
void SetQuitMessageSink(QuitMessageSink sink);
