#include "model/theme/theme_history.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/file/append_file.h"
#include "platform/file/folder.h"
#include "platform/file/lock_file.h"
#include "platform/file/read_file.h"
#include "platform/file/replace_file.h"
#include "platform/file/shown_text.h"
#include "platform/file/user_folders.h"

namespace {

// Version 2 adds what a step was made from (a theme's name, a file's) after
// the values; a file of version 1 is read as it is and written anew.
constexpr int kFormatVersion = 2;
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

// "KIND F1 ... F20[ LABEL]": each field 8 hex digits or '-', one space
// between; the label (version 2) is the rest of the line.
bool ParseState(std::string_view line, ThemeHistory::State& state, bool labelled) {
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
  if (line.empty()) return true;
  if (!labelled || line.size() < 2 || line[0] != ' ') return false;
  state.label = line.substr(1);
  return true;
}

}  // namespace

ThemeHistory::Hold::Hold(ThemeHistory& history) : history_(history) {
  const std::string& path = history.path_;
  if (path.empty()) {
    problem_ = "no place for the theme history: " + HomeFolderProblem();
    return;
  }
  // The history's lock: a file beside it. While it is held, the history's
  // folder is held open too (its place), found as FindPlace finds it:
  // another user's link on the way is never followed.
  FileError failure;
  if (!FindPlace(path, false, true, &place_, &failure)) {
    problem_ = "cannot reach the theme history " + path + " (" + failure.reason + ")";
    return;
  }
  const std::string lock_path = path + ".lock";
  if (!TakeLock(place_, place_.name + ".lock", {.new_file_mode = 0644, .wait_ms = kLockWaitMs}, &lock_, &failure)) {
    busy_ = failure.error_number == ETIMEDOUT;
    problem_ = busy_ ? "another Tintor has held the theme history's lock " + lock_path + " for 2 s"
                     : "cannot open " + lock_path + " (" + failure.reason + ")";
    return;
  }
  history.place_ = &place_;
  read_ = history.Load(problem_);
}

ThemeHistory::Hold::~Hold() { history_.place_ = nullptr; }

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
  rewrite_ = true;
  const FileFingerprint read_seen = SeenFile();
  std::string bytes, why;
  bool missing = false;
  if (!ReadLines(bytes, missing, why, problem)) return false;
  if (missing) return true;  // no history yet
  if (why.empty()) Parse(bytes, why);
  if (why.empty()) {
    rewrite_ = torn_ || old_format_ || lines_ > kLongLog;
    if (!rewrite_) seen_ = read_seen;
    return true;
  }
  states_.clear();
  cursor_ = 0;
  return SetAside(why, problem);
}

bool ThemeHistory::ReadLines(std::string& bytes, bool& missing, std::string& why, std::string& problem) {
  FileError failure;
  if (ReadWholeFileIn(*place_, kMaxFileSize, &bytes, &failure)) return true;
  bytes.clear();
  switch (failure.error_number) {
    case ENOENT:
      missing = true;
      return true;
    case EMFILE:
    case ENFILE:
    case ENOMEM:
      // Not the file's fault: nothing is set aside.
      problem = "cannot read " + path_ + " (" + failure.reason + ")";
      return false;
    case EFBIG:
      why = "is larger than " + std::to_string(kMaxFileSize >> 20) + " MiB";
      return true;
    default:
      why = "cannot be read (" + failure.reason + ")";
      return true;
  }
}

void ThemeHistory::Parse(const std::string& bytes, std::string& why) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    lines.push_back(std::string_view(bytes).substr(start, end - start));
    start = end + 1;
  }
  // A last line cut short by a crash is left out, and the file written anew.
  torn_ = !bytes.empty() && bytes.back() != '\n';
  if (torn_) lines.pop_back();
  if (lines.empty() || lines[0].rfind(kHeader, 0) != 0) {
    why = "is not a theme history";
  } else if (std::atoi(std::string(lines[0].substr(std::strlen(kHeader))).c_str()) > kFormatVersion) {
    why = "was written by a newer Tintor";
  } else if (lines[0] != kHeader + std::to_string(kFormatVersion) && lines[0] != kHeader + std::string("1")) {
    why = "has an unknown first line";
  } else if (lines.size() < 3 || lines[1] != "registry " + registry_path_) {
    why = "is not the history of " + registry_path_;
  }
  old_format_ = why.empty() && lines[0] != kHeader + std::to_string(kFormatVersion);
  const bool labelled = !old_format_;
  for (std::size_t i = 2; i < lines.size() && why.empty(); ++i) {
    State state;
    if (lines[i] == "undo" && cursor_ > 0) {
      --cursor_;
    } else if (lines[i] == "redo" && cursor_ + 1 < states_.size()) {
      ++cursor_;
    } else if (lines[i].rfind("state ", 0) == 0 && ParseState(lines[i].substr(6), state, labelled)) {
      Push(std::move(state));
    } else {
      why = "has a bad line " + std::to_string(i + 1);
    }
  }
  lines_ = lines.size();
}

bool ThemeHistory::SetAside(const std::string& why, std::string& problem) {
  const std::string aside = path_ + ".bad";
  FileError failure;
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
  if (place_ == nullptr) {
    problem = "the theme history " + path_ + " is not held";
    return false;
  }
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
  if (!state.label.empty()) out += ' ' + state.label;
  out += '\n';
}

void ThemeHistory::Push(State state) {
  states_.resize(states_.empty() ? 0 : cursor_ + 1);
  states_.push_back(std::move(state));
  if (states_.size() > kMaxSteps + 1) states_.pop_front();
  cursor_ = states_.size() - 1;
}

bool ThemeHistory::Add(const std::string& kind, const ThemeValues& values, const std::string& label) {
  if (!states_.empty() && states_[cursor_].values == values) return false;
  // Kept on one line of the file, as it is shown.
  State state{states_.empty() ? "start" : kind, values, states_.empty() ? "" : ShownText(label, kShownNameChars)};
  Line(log_, state);
  Push(std::move(state));
  return true;
}

bool ThemeHistory::Move(int direction) {
  if (direction < 0 ? cursor_ == 0 : cursor_ + 1 >= states_.size()) return false;
  cursor_ = direction < 0 ? cursor_ - 1 : cursor_ + 1;
  log_ += direction < 0 ? "undo\n" : "redo\n";
  return true;
}

void ThemeHistory::RollBack(Mark mark) {
  states_ = std::move(mark.states);
  cursor_ = mark.cursor;
  log_.resize(std::min(log_.size(), mark.log_size));
}
