#include "studio/documents_folder.h"

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

extern char** environ;

namespace {

// How long the folder's program may take before its answer is not waited for.
constexpr int kAnswerWaitMs = 2000;

bool IsFolder(const std::string& path) {
  struct stat st;
  return !path.empty() && path[0] == '/' && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    const passwd* pw = ::getpwuid(::getuid());
    home = pw != nullptr ? pw->pw_dir : nullptr;
  }
  return home != nullptr ? home : "";
}

// What `xdg-user-dir DOCUMENTS` prints, without its line end; empty when it
// cannot be run or says nothing in time.
std::string AskXdgUserDir() {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  char program[] = "xdg-user-dir";
  char which[] = "DOCUMENTS";
  char* argv[] = {program, which, nullptr};
  pid_t child = -1;
  const bool started = posix_spawnp(&child, program, &actions, nullptr, argv, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  std::string answer;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerWaitMs);
  while (started && answer.size() < 4096) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd wait{out[0], POLLIN, 0};
    if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0) {
      answer.clear();
      ::kill(child, SIGKILL);
      break;
    }
    char buffer[512];
    const ssize_t n = ::read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  if (started) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) answer.clear();
  }
  while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
  return answer;
}

}  // namespace

std::string DocumentsFolder() {
  const std::string documents = AskXdgUserDir();
  if (IsFolder(documents)) return documents;
  return HomeFolder();
}

std::string FreeExportPath(const std::string& folder, const std::string& file_name) {
  const std::size_t dot = file_name.rfind('.');
  const std::string stem = file_name.substr(0, dot);
  const std::string ending = dot == std::string::npos ? "" : file_name.substr(dot);
  for (int n = 1; n < 100; ++n) {
    const std::string path = folder + "/" + (n == 1 ? file_name : stem + " (" + std::to_string(n) + ")" + ending);
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT) return path;
  }
  return {};
}
