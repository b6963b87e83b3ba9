#include "platform/host/fd_waker.h"

#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/file/system_calls.h"

namespace {
// How long to wait before passing on news that could not be passed on.
constexpr int kRetryMs = 50;
}  // namespace

FdWaker::FdWaker(int fd, std::function<bool()> wake)
    : fd_(fd), stop_fd_(::eventfd(0, EFD_CLOEXEC)), wake_(std::move(wake)) {
  if (stop_fd_ < 0) return;
  // A quit signal is the window's loop's to take: the kernel may hand a
  // process signal to any thread that does not block it, and one caught here,
  // in this thread's poll, would leave the loop asleep until its next timeout.
  // The thread starts with them blocked (it inherits the mask it starts with).
  sigset_t quit_signals, was;
  sigemptyset(&quit_signals);
  sigaddset(&quit_signals, SIGINT);
  sigaddset(&quit_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &quit_signals, &was);
  thread_ = std::thread([this] { Run(); });
  pthread_sigmask(SIG_SETMASK, &was, nullptr);
}

FdWaker::~FdWaker() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  rearmed_.notify_one();
  if (thread_.joinable()) {
    const std::uint64_t one = 1;
    RetryOnInterrupt([&] { return ::write(stop_fd_, &one, sizeof one); });
    thread_.join();
  }
  if (stop_fd_ >= 0) ::close(stop_fd_);
}

void FdWaker::Rearm() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_ = true;
  }
  rearmed_.notify_one();
}

void FdWaker::Run() {
  for (;;) {
    pollfd fds[2] = {{fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
    if (RetryOnInterrupt([&] { return ::poll(fds, 2, -1); }) < 0) return;
    if (fds[1].revents != 0) return;
    // A descriptor closed under us has nothing more to say.
    if ((fds[0].revents & (POLLERR | POLLNVAL)) != 0) return;
    if ((fds[0].revents & (POLLIN | POLLHUP)) == 0) continue;
    // Disarmed before the news goes out: the loop may read it and rearm
    // before this thread runs again.
    {
      std::lock_guard<std::mutex> lock(mutex_);
      armed_ = false;
    }
    if (!wake_()) {
      Rearm();
      pollfd stop{stop_fd_, POLLIN, 0};
      if (::poll(&stop, 1, kRetryMs) > 0) return;
      continue;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    rearmed_.wait(lock, [this] { return armed_ || stopping_; });
    if (stopping_) return;
  }
}
