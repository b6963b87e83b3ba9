#include "model/theme/theme_history.h"

#include <fcntl.h>
#include <poll.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "platform/file/system_calls.h"
#include "platform/file/whole_file.h"

namespace {

constexpr int kFormatVersion = 1;
constexpr char kHeader[] = "tintor theme history ";
constexpr int kLockWaitMs = 2000;
// The log is written anew in short once it is four times as long as its content.
constexpr std::size_t kLongLog = 4 * (ThemeHistory::kMaxSteps + 1);

std::string StateFolder() {
  const char* state_home = std::getenv("XDG_STATE_HOME");
  if (state_home != nullptr && state_home[0] == '/') return std::string(state_home) + "/tintor";
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    const passwd* pw = ::getpwuid(::getuid());
    home = pw != nullptr ? pw->pw_dir : nullptr;
  }
  if (home == nullptr || home[0] == '\0') return {};
  return std::string(home) + "/.local/state/tintor";
}

// The registry file's path as one string for every Tintor that uses it:
// absolute, with the links of its folders followed.
std::string Canonical(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::weakly_canonical(std::filesystem::absolute(path, error), error);
  return error ? path : full.string();
}

std::string HistoryFileFor(const std::string& registry) {
  std::uint64_t hash = 1469598103934665603ULL;  // FNV-1a
  for (unsigned char c : registry) hash = (hash ^ c) * 1099511628211ULL;
  char name[64];
  std::snprintf(name, sizeof name, "/history-%016" PRIx64 ".txt", hash);
  const std::string folder = StateFolder();
  return folder.empty() ? folder : folder + name;
}

constexpr char kDigits[] = "0123456789abcdef";

void AppendValues(std::string& out, const ThemeValues& values) {
  for (const auto& item : values.items) {
    out += ' ';
    if (!item) {
      out += '-';
      continue;
    }
    for (int shift = 28; shift >= 0; shift -= 4) out += kDigits[(*item >> shift) & 0xF];
  }
}

// "KIND F1 ... F20": each field 8 hex digits or '-', one space between.
bool ParseState(std::string_view line, ThemeHistory::State& state) {
  const std::size_t space = line.find(' ');
  if (space == 0 || space == std::string_view::npos) return false;
  state.kind = line.substr(0, space);
  if (state.kind.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos) return false;
  line.remove_prefix(space);
  for (auto& item : state.values.items) {
    if (line.size() < 2 || line[0] != ' ') return false;
    if (line[1] == '-') {
      item.reset();
      line.remove_prefix(2);
      continue;
    }
    if (line.size() < 9) return false;
    DWORD v = 0;
    for (std::size_t i = 1; i <= 8; ++i) {
      const char c = line[i];
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return false;
      v = (v << 4) | static_cast<DWORD>(digit);
    }
    item = v;
    line.remove_prefix(9);
  }
  return line.empty();
}

}  // namespace

// The history's lock: a file beside it, locked with flock for one operation.
class ThemeHistory::Lock {
 public:
  explicit Lock(const std::string& history) {
    if (history.empty()) {
      error_ = "no place for the theme history: HOME is not set";
      return;
    }
    const std::string path = history + ".lock";
    constexpr int kFlags = O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    fd_ = ::open(path.c_str(), kFlags, 0644);
    // The folders are made the first time only.
    if (fd_ < 0 && errno == ENOENT) {
      if (!MakeFolders(history.substr(0, history.rfind('/')), error_)) return;
      fd_ = ::open(path.c_str(), kFlags, 0644);
    }
    if (fd_ < 0) {
      error_ = "cannot open " + path + " (" + std::strerror(errno) + ")";
      return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) {
        error_ = "cannot lock " + path + " (" + std::strerror(errno) + ")";
        break;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        error_ = "another Tintor has held the theme history's lock " + path + " for 2 s";
        break;
      }
      ::poll(nullptr, 0, 5);
    }
    if (!error_.empty()) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~Lock() {
    if (fd_ >= 0) ::close(fd_);
  }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  bool held() const { return fd_ >= 0; }
  const std::string& error() const { return error_; }

 private:
  int fd_ = -1;
  std::string error_;
};

ThemeHistory::ThemeHistory(std::string registry_path)
    : registry_path_(Canonical(registry_path)), path_(HistoryFileFor(registry_path_)) {}

// The file as this history last read or wrote it: when nobody has touched it
// since, what is in memory is what it holds. An append changes its size, and
// a rewrite replaces it with another file.
ThemeHistory::Seen ThemeHistory::SeenFile(int fd) const {
  struct stat st;
  if ((fd >= 0 ? ::fstat(fd, &st) : ::lstat(path_.c_str(), &st)) != 0 || !S_ISREG(st.st_mode)) return {};
  return {true,
          static_cast<std::uint64_t>(st.st_dev),
          static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::int64_t>(st.st_size),
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
          static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec};
}

bool ThemeHistory::Load(std::string& problem) {
  log_.clear();
  if (seen_.known && !rewrite_ && SeenFile(-1) == seen_) {
    rewrite_ = lines_ > kLongLog;
    return true;
  }
  seen_ = {};
  states_.clear();
  cursor_ = 0;
  log_.clear();
  rewrite_ = true;
  std::string bytes;
  bool missing = false;
  const Seen read_seen = SeenFile(-1);
  if (!ReadWholeFile(path_, bytes, problem, &missing)) return missing;

  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    lines.push_back(std::string_view(bytes).substr(start, end - start));
    start = end + 1;
  }
  // A last line cut short by a crash is left out, and the file written anew.
  const bool torn = !bytes.empty() && bytes.back() != '\n';
  if (torn) lines.pop_back();
  std::string why;
  if (lines.empty() || lines[0].rfind(kHeader, 0) != 0) {
    why = "is not a theme history";
  } else if (std::atoi(std::string(lines[0].substr(std::strlen(kHeader))).c_str()) > kFormatVersion) {
    why = "was written by a newer Tintor";
  } else if (lines[0] != kHeader + std::to_string(kFormatVersion)) {
    why = "has an unknown first line";
  } else if (lines.size() < 3 || lines[1] != "registry " + registry_path_) {
    why = "is not the history of " + registry_path_;
  }
  for (std::size_t i = 2; i < lines.size() && why.empty(); ++i) {
    State state;
    if (lines[i] == "undo" && cursor_ > 0) {
      --cursor_;
    } else if (lines[i] == "redo" && cursor_ + 1 < states_.size()) {
      ++cursor_;
    } else if (lines[i].rfind("state ", 0) == 0 && ParseState(lines[i].substr(6), state)) {
      Push(std::move(state));
    } else {
      why = "has a bad line " + std::to_string(i + 1);
    }
  }
  if (why.empty()) {
    lines_ = lines.size();
    rewrite_ = torn || lines_ > kLongLog;
    if (!rewrite_) seen_ = read_seen;
    return true;
  }
  states_.clear();
  cursor_ = 0;
  const std::string aside = path_ + ".bad";
  if (std::rename(path_.c_str(), aside.c_str()) != 0) {
    problem = "the theme history " + path_ + " " + why + " and cannot be set aside (" + std::strerror(errno) + ")";
    return false;
  }
  std::fprintf(stderr, "tintor: the theme history %s %s; it is set aside as %s and a new history begins\n",
               path_.c_str(), why.c_str(), aside.c_str());
  return true;
}

// Neither is flushed to disk: that would double the cost of every step, and
// a history that a power cut broke loses its cut line or is set aside.
bool ThemeHistory::Save(std::string& problem) {
  if (!rewrite_) {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    bool ok = fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    for (std::size_t done = 0; ok && done < log_.size();) {
      const ssize_t n = RetryOnInterrupt([&] { return ::write(fd, log_.data() + done, log_.size() - done); });
      ok = n > 0;
      if (ok) done += static_cast<std::size_t>(n);
    }
    // Only the lines written here were added since it was read.
    const bool ours = ok && seen_.known && static_cast<std::int64_t>(st.st_size) == seen_.size;
    seen_ = ours ? SeenFile(fd) : Seen{};
    if (fd >= 0) ::close(fd);
    if (ok) {
      lines_ += static_cast<std::size_t>(std::count(log_.begin(), log_.end(), '\n'));
      log_.clear();
      return true;
    }
  }
  std::string text = kHeader + std::to_string(kFormatVersion) + "\nregistry " + registry_path_ + "\n";
  text.reserve(text.size() + states_.size() * 200);
  for (const State& s : states_) Line(text, s);
  for (std::size_t i = cursor_ + 1; i < states_.size(); ++i) text += "undo\n";
  seen_ = {};
  if (!ReplaceWholeFile(path_, text, problem, false)) return false;
  lines_ = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  log_.clear();
  rewrite_ = false;
  seen_ = SeenFile(-1);
  return true;
}

void ThemeHistory::Line(std::string& out, const State& state) {
  out += "state ";
  out += state.kind;
  AppendValues(out, state.values);
  out += '\n';
}

void ThemeHistory::Push(State state) {
  states_.resize(states_.empty() ? 0 : cursor_ + 1);
  states_.push_back(std::move(state));
  if (states_.size() > kMaxSteps + 1) states_.pop_front();
  cursor_ = states_.size() - 1;
}

bool ThemeHistory::Add(const std::string& kind, const ThemeValues& values) {
  if (!states_.empty() && states_[cursor_].values == values) return false;
  State state{states_.empty() ? "start" : kind, values};
  Line(log_, state);
  Push(std::move(state));
  return true;
}

bool ThemeHistory::Record(const std::string& kind, std::string& problem) {
  Lock lock(path_);
  if (!lock.held()) {
    problem = lock.error();
    return false;
  }
  ThemeValues now;
  if (!Load(problem) || !ReadThemeValues(now, problem)) return false;
  return !Add(kind, now) || Save(problem);
}

bool ThemeHistory::Change(const std::string& kind, const std::function<ThemeValues(const ThemeValues& now)>& make,
                          std::string& problem) {
  Lock lock(path_);
  std::string history_problem = lock.error();
  bool keep = lock.held() && Load(history_problem);
  ThemeValues now;
  if (!ReadThemeValues(now, problem)) return false;
  const bool unrecorded = keep && Add("change", now);
  const ThemeValues target = make(now);
  if (!WriteThemeValues(now, target, problem)) {
    if (unrecorded) Save(history_problem);
    return false;
  }
  if (keep && (Add(kind, target) || unrecorded)) keep = Save(history_problem);
  if (!keep) {
    std::fprintf(stderr, "tintor: the theme is changed, but the history does not record it: %s\n",
                 history_problem.c_str());
  }
  return true;
}

ThemeHistory::Outcome ThemeHistory::Move(int direction, std::string& problem) {
  Lock lock(path_);
  if (!lock.held()) {
    problem = lock.error();
    return Outcome::kFailed;
  }
  ThemeValues now;
  if (!Load(problem) || !ReadThemeValues(now, problem)) return Outcome::kFailed;
  const bool unrecorded = Add("change", now);
  const bool possible = direction < 0 ? cursor_ > 0 : cursor_ + 1 < states_.size();
  if (!possible) {
    if (unrecorded && !Save(problem)) return Outcome::kFailed;
    problem = direction < 0 ? "nothing to undo" : "nothing to redo";
    return Outcome::kNothingToDo;
  }
  const std::size_t target = direction < 0 ? cursor_ - 1 : cursor_ + 1;
  if (!WriteThemeValues(now, states_[target].values, problem)) {
    std::string ignored;
    if (unrecorded) Save(ignored);
    return Outcome::kFailed;
  }
  cursor_ = target;
  log_ += direction < 0 ? "undo\n" : "redo\n";
  std::string history_problem;
  if (!Save(history_problem)) {
    std::fprintf(stderr, "tintor: the theme is changed, but the history does not record it: %s\n",
                 history_problem.c_str());
  }
  return Outcome::kDone;
}

bool ThemeHistory::Read(std::vector<State>& states, std::size_t& cursor, std::string& problem) {
  Lock lock(path_);
  if (!lock.held()) {
    problem = lock.error();
    return false;
  }
  if (!Load(problem)) return false;
  states.assign(states_.begin(), states_.end());
  cursor = cursor_;
  return true;
}
