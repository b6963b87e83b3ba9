#include "platform/file/file_watch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/file/file_place.h"
#include "platform/file/fingerprint.h"
#include "platform/file/system_calls.h"

namespace {

constexpr std::uint32_t kFileEvents =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM;
constexpr std::uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;

std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

RegistryFileWatcher::RegistryFileWatcher(std::string path) : path_(std::move(path)) {
  if (path_.empty()) {
    problem_ = "no registry file to watch";
    return;
  }
  last_look_ = LookAtFile();
  fd_ = FileSystemCalls().inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) {
    problem_ = std::string("cannot watch the registry file: ") + std::strerror(errno);
    return;
  }
  Arm();
}

FileFingerprint RegistryFileWatcher::LookAtFile() const {
  struct stat st;
  FileError error;
  return LookAt(path_, true, &st, &error) ? FingerprintOf(st) : FileFingerprint{};
}

RegistryFileWatcher::~RegistryFileWatcher() {
  if (fd_ >= 0) FileSystemCalls().close(fd_);
}

// Watches the folder of the file and of every link on the way to its target,
// each for the one name that matters there. A folder that does not exist is
// watched for from the nearest parent that does, for the name on the way.
void RegistryFileWatcher::Arm() {
  std::vector<std::pair<std::string, std::string>> places{SplitPath(path_)};
  std::string current = path_;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::string next;
    if (!ReadLinkPath(current, &next)) break;
    current = std::move(next);
    places.push_back(SplitPath(current));
  }

  std::map<int, std::set<std::string>> armed;
  problem_.clear();
  for (auto [folder, name] : places) {
    struct stat st;
    FileError error;
    while (!LookAt(folder, true, &st, &error) && folder != "/" && folder != ".") {
      std::tie(folder, name) = SplitPath(folder);
    }
    const int wd = FileSystemCalls().inotify_add_watch(fd_, folder.c_str(), kFileEvents | kFolderGone | IN_ONLYDIR);
    if (wd < 0) {
      problem_ = "cannot watch " + folder + ": " + std::strerror(errno);
      continue;
    }
    armed[wd].insert(name);
  }
  for (const auto& [wd, names] : watches_) {
    if (armed.count(wd) == 0) FileSystemCalls().inotify_rm_watch(fd_, wd);
  }
  watches_ = std::move(armed);
}

bool RegistryFileWatcher::Drain() {
  bool changed = fd_ >= 0 && DrainEvents();
  if (following() && !changed) return false;
  // Without a whole watch, the file itself says whether it changed.
  const FileFingerprint now = LookAtFile();
  changed = changed || now != last_look_;
  last_look_ = now;
  return changed;
}

bool RegistryFileWatcher::DrainEvents() {
  bool changed = false;
  bool rearm = false;
  alignas(inotify_event) char buffer[16 * 1024];
  while (true) {
    const ssize_t n = RetryOnInterrupt([&] { return FileSystemCalls().read(fd_, buffer, sizeof buffer); });
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->mask & IN_Q_OVERFLOW) {
        changed = rearm = true;  // events were lost: look at everything again
        continue;
      }
      auto watch = watches_.find(event->wd);
      if (watch == watches_.end()) continue;
      if (event->mask & kFolderGone) {
        changed = rearm = true;  // the folder itself went
        continue;
      }
      if (event->len == 0) continue;
      if (watch->second.count(event->name) != 0) changed = rearm = true;
    }
  }
  // Armed before the caller reads the file, so nothing after that read is missed.
  if (rearm) Arm();
  return changed;
}
