#include "platform/host/quit_signals.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t g_arrived = 0;
// Made once, before any handler can run, and never closed.
int g_descriptor = -1;

void OnQuitSignal(int sig) {
  g_arrived = sig;
  if (g_descriptor < 0) return;
  const int saved = errno;  // the call this signal interrupted may read it next
  const std::uint64_t one = 1;
  // Non-blocking: a counter already past zero says all there is to say.
  [[maybe_unused]] const ssize_t written = ::write(g_descriptor, &one, sizeof one);
  errno = saved;
}

}  // namespace

void CatchQuitSignals() {
  if (g_descriptor < 0) g_descriptor = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
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

int QuitSignalDescriptor() { return g_descriptor; }

bool QuitSignalArrived() { return g_arrived != 0; }

int QuitSignalExitStatus() { return g_arrived != 0 ? 128 + g_arrived : 0; }
