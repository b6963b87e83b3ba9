// Wakes a waiting loop when a file descriptor has news, without polling: a
// thread of its own blocks in poll() on the descriptor and calls `wake` when
// it turns readable, then sleeps until Rearm() says the loop has read the
// news, so a descriptor nobody has read yet costs no CPU. It never reads the
// descriptor itself. Destroying it ends the thread.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class FdWaker {
 public:
  // `wake` runs on the waker's thread; false means the news could not be
  // passed on, and it is tried again a little later.
  FdWaker(int fd, std::function<bool()> wake);
  ~FdWaker();
  FdWaker(const FdWaker&) = delete;
  FdWaker& operator=(const FdWaker&) = delete;

  // The loop has read what woke it: look at the descriptor again.
  void Rearm();

 private:
  void Run();

  int fd_;
  int stop_fd_;
  std::function<bool()> wake_;
  std::mutex mutex_;
  std::condition_variable rearmed_;
  bool armed_ = true;
  bool stopping_ = false;
  std::thread thread_;
};
