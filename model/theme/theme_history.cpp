#include "model/theme/theme_history.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/file/append_file.h"
#include "platform/file/folder.h"
#include "platform/file/lock_file.h"
#include "platform/file/read_file.h"
#include "platform/file/replace_file.h"
#include "platform/file/shown_text.h"
#include "platform/file/user_folders.h"

namespace {

constexpr int kFormatVersion = 1;
constexpr char kHeader[] = "tintor theme history ";
constexpr int kLockWaitMs = 2000;
// The log is written anew in short once it is four times as long as its content.
constexpr std::size_t kLongLog = 4 * (ThemeHistory::kMaxSteps + 1);

// A history larger than this is not one this program wrote: it is set aside.
constexpr std::size_t kMaxFileSize = 16u << 20;

std::string StateFolder() {
  const std::string state = UserFolderPath(UserFolder::kState);
  return state.empty() ? state : state + "/tintor";
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

// The history's lock: a file beside it, locked for one operation. While it
// is held, the history's folder is held open too (its place), found as
// FindPlace finds it: another user's link on the way is never followed.
class ThemeHistory::Lock {
 public:
  explicit Lock(ThemeHistory& history) : history_(history) {
    const std::string& path = history.path_;
    if (path.empty()) {
      error_ = "no place for the theme history: HOME is not set";
      return;
    }
    FileError failure;
    if (!FindPlace(path, false, true, &place_, &failure)) {
      error_ = "cannot reach the theme history " + path + " (" + failure.reason + ")";
      return;
    }
    const std::string lock_path = path + ".lock";
    if (!TakeLock(place_, place_.name + ".lock", {.new_file_mode = 0644, .wait_ms = kLockWaitMs}, &fd_, &failure)) {
      busy_ = failure.error_number == ETIMEDOUT;
      error_ = busy_ ? "another Tintor has held the theme history's lock " + lock_path + " for 2 s"
                     : "cannot open " + lock_path + " (" + failure.reason + ")";
      return;
    }
    history.place_ = &place_;
  }
  ~Lock() { history_.place_ = nullptr; }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  bool held() const { return fd_.get() >= 0; }
  // Another holds the lock past the bound (rather than no lock to be had).
  bool busy() const { return busy_; }
  const std::string& error() const { return error_; }

 private:
  ThemeHistory& history_;
  FilePlace place_;
  FileDescriptor fd_;
  bool busy_ = false;
  std::string error_;
};

ThemeHistory::ThemeHistory(std::string registry_path)
    : registry_path_(CanonicalPath(registry_path)), path_(HistoryFileFor(registry_path_)) {}

// The file as this history last read or wrote it: when nobody has touched it
// since, what is in memory is what it holds. An append changes its size, and
// a rewrite replaces it with another file.
FileFingerprint ThemeHistory::SeenFile() const { return FingerprintAt(place_->folder.get(), place_->name); }

bool ThemeHistory::Load(std::string& problem) {
  log_.clear();
  if (seen_.exists && !rewrite_ && SeenFile() == seen_) {
    rewrite_ = lines_ > kLongLog;
    return true;
  }
  seen_ = {};
  states_.clear();
  cursor_ = 0;
  log_.clear();
  rewrite_ = true;
  std::string bytes;
  const FileFingerprint read_seen = SeenFile();
  FileError failure;
  std::string why;
  if (!ReadWholeFileIn(*place_, kMaxFileSize, &bytes, &failure)) {
    switch (failure.error_number) {
      case ENOENT:
        return true;
      case EMFILE:
      case ENFILE:
      case ENOMEM:
        problem = "cannot read " + path_ + " (" + failure.reason + ")";
        return false;
      case EFBIG:
        why = "is larger than " + std::to_string(kMaxFileSize >> 20) + " MiB";
        break;
      default:
        why = "cannot be read (" + failure.reason + ")";
    }
    bytes.clear();
  }

  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    lines.push_back(std::string_view(bytes).substr(start, end - start));
    start = end + 1;
  }
  // A last line cut short by a crash is left out, and the file written anew.
  const bool torn = !bytes.empty() && bytes.back() != '\n';
  if (torn) lines.pop_back();
  if (!why.empty()) {
    // it could not be read: set aside below
  } else if (lines.empty() || lines[0].rfind(kHeader, 0) != 0) {
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
  if (!RenameInFolder(*place_, place_->name, place_->name + ".bad", &failure)) {
    problem = "the theme history " + path_ + " " + why + " and cannot be set aside (" + failure.reason + ")";
    return false;
  }
  std::fprintf(stderr, "tintor: the theme history %s %s; it is set aside as %s and a new history begins\n",
               ShownText(path_).c_str(), ShownText(why).c_str(), ShownText(aside).c_str());
  return true;
}

// Neither is flushed to disk: that would double the cost of every step, and
// a history that a power cut broke loses its cut line or is set aside.
bool ThemeHistory::Save(std::string& problem) {
  FileError failure;
  if (!rewrite_) {
    // All the lines or none: a failed append leaves the file as it was.
    Appended appended;
    const bool ok = AppendToFile(*place_, log_, false, &appended, &failure);
    // Only the lines written here were added since it was read.
    const bool ours = ok && seen_.exists && appended.before.size == seen_.size;
    seen_ = ours ? appended.after : FileFingerprint{};
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
  Replaced replaced;
  const ReplaceOptions options{.link = LinkAtPath::kRefuse, .clear_stale_temporaries = true};
  if (!ReplaceFileIn(*place_, text, options, &replaced, &failure)) {
    problem = "cannot write " + path_ + " (" + failure.reason + ")";
    return false;
  }
  lines_ = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  log_.clear();
  rewrite_ = false;
  seen_ = FingerprintOf(replaced.status);
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
  Lock lock(*this);
  if (!lock.held()) {
    problem = lock.error();
    return false;
  }
  ThemeValues now;
  if (!Load(problem) || !ReadThemeValues(now, problem)) return false;
  return !Add(kind, now) || Save(problem);
}

bool ThemeHistory::Change(const std::string& kind, const std::function<ThemeValues(const ThemeValues& now)>& make,
                          std::string& problem, LONG* status, bool whole) {
  Lock lock(*this);
  // A history held by another is waited for, never gone around: two
  // changes at once then land one after the other, each whole.
  if (lock.busy()) {
    problem = lock.error();
    return false;
  }
  std::string history_problem = lock.error();
  bool keep = lock.held() && Load(history_problem);
  bool unrecorded = false;
  ThemeValues target;
  // The values are read under the registry's lock and written before it is
  // let go: nothing falls between the read and the write.
  const bool written = UpdateThemeValues([&](const ThemeValues& now) {
    unrecorded = keep && Add("change", now);
    target = make(now);
    return target;
  }, problem, status, whole);
  if (!written) {
    if (unrecorded) Save(history_problem);
    return false;
  }
  if (keep && (Add(kind, target) || unrecorded)) keep = Save(history_problem);
  if (!keep) {
    std::fprintf(stderr, "tintor: the theme is changed, but the history does not record it: %s\n",
                 ShownText(history_problem).c_str());
  }
  return true;
}

ThemeHistory::Outcome ThemeHistory::Move(int direction, std::string& problem) {
  Lock lock(*this);
  if (!lock.held()) {
    problem = lock.error();
    return Outcome::kFailed;
  }
  if (!Load(problem)) return Outcome::kFailed;
  bool unrecorded = false;
  bool possible = false;
  const bool written = UpdateThemeValues([&](const ThemeValues& now) {
    unrecorded = Add("change", now);
    possible = direction < 0 ? cursor_ > 0 : cursor_ + 1 < states_.size();
    return possible ? states_[direction < 0 ? cursor_ - 1 : cursor_ + 1].values : now;
  }, problem);
  if (!written || !possible) {
    std::string ignored;
    if (unrecorded && !Save(written ? problem : ignored)) return Outcome::kFailed;
    if (!written) return Outcome::kFailed;
    problem = direction < 0 ? "nothing to undo" : "nothing to redo";
    return Outcome::kNothingToDo;
  }
  cursor_ = direction < 0 ? cursor_ - 1 : cursor_ + 1;
  log_ += direction < 0 ? "undo\n" : "redo\n";
  std::string history_problem;
  if (!Save(history_problem)) {
    std::fprintf(stderr, "tintor: the theme is changed, but the history does not record it: %s\n",
                 ShownText(history_problem).c_str());
  }
  return Outcome::kDone;
}

bool ThemeHistory::Read(std::vector<State>& states, std::size_t& cursor, std::string& problem) {
  Lock lock(*this);
  if (!lock.held()) {
    problem = lock.error();
    return false;
  }
  if (!Load(problem)) return false;
  states.assign(states_.begin(), states_.end());
  cursor = cursor_;
  return true;
}
