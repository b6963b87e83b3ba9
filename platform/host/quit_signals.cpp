#include "platform/host/quit_signals.h"

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t g_arrived = 0;

void OnQuitSignal(int sig) { g_arrived = sig; }

}  // namespace

void CatchQuitSignals() {
  for (int sig : {SIGINT, SIGTERM}) {
    struct sigaction was {};
    if (sigaction(sig, nullptr, &was) != 0 || was.sa_handler == SIG_IGN) continue;
    struct sigaction act {};
    act.sa_handler = &OnQuitSignal;
    sigemptyset(&act.sa_mask);
    act.sa_flags = SA_RESTART;
    sigaction(sig, &act, nullptr);
  }
}

void ReleaseQuitSignals() {
  for (int sig : {SIGINT, SIGTERM}) {
    struct sigaction was {};
    if (sigaction(sig, nullptr, &was) != 0 || was.sa_handler != &OnQuitSignal) continue;
    struct sigaction act {};
    act.sa_handler = SIG_DFL;
    sigemptyset(&act.sa_mask);
    sigaction(sig, &act, nullptr);
  }
}

bool QuitSignalArrived() { return g_arrived != 0; }

int QuitSignalExitStatus() { return g_arrived != 0 ? 128 + g_arrived : 0; }
