// Runs a change in a process of its own, as another program (a second
// Tintor, a shell) would make it, and waits for it to end.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

// `change` runs in a child process; the test fails when the child does not
// end with status 0 (it may end itself with _exit(1) to say it failed).
inline void InAnotherProcess(const std::function<void()>& change) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    change();
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
