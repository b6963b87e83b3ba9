// A quit signal ends the window's wait at once, whichever thread the kernel
// hands it to: here a thread of the test's own, as a library's worker thread
// might be, while the loop's thread blocks the signal and sleeps.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/host/quit_signals.h"
#include "platform/host/sdl_host.h"

namespace {

// The state letter of thread `tid` of this process ('S' while it sleeps).
char ThreadState(pid_t tid) {
  std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const auto close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() ? '?' : line[close + 2];
}

sigset_t QuitSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

TEST(SdlHostQuitSignal, ASignalTakenByAnotherThreadEndsTheWaitWithQuit) {
  CatchQuitSignals();
  std::string error;
  auto host = SdlHost::Create(SdlHost::Opening{}, error);
  ASSERT_NE(host, nullptr) << error;
  InputEvent event;
  while (host->WaitEvent(event, 200)) {
  }  // the window's first events

  const sigset_t quit = QuitSignals();
  const pid_t loop_thread = gettid();
  std::thread other([loop_thread, quit] {
    pthread_sigmask(SIG_UNBLOCK, &quit, nullptr);
    // Once the loop's thread sleeps in its wait, not before.
    while (ThreadState(loop_thread) != 'S') std::this_thread::yield();
    kill(getpid(), SIGTERM);
  });
  pthread_sigmask(SIG_BLOCK, &quit, nullptr);

  // Bounded only so that a missed wake fails here rather than at the
  // test's time limit.
  const bool heard = host->WaitEvent(event, 30000);
  other.join();
  EXPECT_TRUE(QuitSignalArrived());
  ASSERT_TRUE(heard) << "the wait ran to its end";
  EXPECT_EQ(event.type, InputEvent::Type::Quit);
  EXPECT_EQ(QuitSignalExitStatus(), 143);
}

}  // namespace
