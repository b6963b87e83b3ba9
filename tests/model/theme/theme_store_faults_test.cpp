// Every way a change of the theme's store can fail, played under the file
// layer through its table of system calls: a registry write that fails takes
// its step back (and keeps what it saw on the way), a history that cannot be
// kept never stops a colour, and each says so in whole.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/openat2.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/theme/theme_store.h"
#include "model/theme_color_store.h"
#include "platform/file/system_calls.h"
#include "platform/win/registry.h"
#include "tests/platform/win/temp_registry.h"
#include "tests/platform/win/write_fault.h"

namespace {

// A registry with its history of its own.
struct Place : TempRegistry {
  Place() { ::setenv("XDG_STATE_HOME", dir().c_str(), 1); }
  ThemeValues Now() const {
    ThemeValues v;
    std::string problem;
    EXPECT_TRUE(ReadThemeValues(v, problem)) << problem;
    return v;
  }
};

// The calls on one file name fail with `error` while it lasts: every open of
// the file named `name` (kOpen), every open for writing of a file whose name
// holds `name` (the file, its temporaries: kWriteOpen), or the renames of
// the file named `name` (kRename).
class NameFault {
 public:
  enum Call { kOpen, kWriteOpen, kRename };
  NameFault(std::string name, Call call, int error) {
    saved_ = FileSystemCalls();
    name_ = std::move(name);
    call_ = call;
    error_ = error;
    FileSystemCalls().openat = [](int dir, const char* name, int flags, mode_t mode) {
      return Hit(name, flags) ? Fail() : saved_.openat(dir, name, flags, mode);
    };
    FileSystemCalls().openat2 = [](int dir, const char* name, const open_how* how) {
      return Hit(name, static_cast<int>(how->flags)) ? Fail() : saved_.openat2(dir, name, how);
    };
    FileSystemCalls().renameat = [](int from_dir, const char* from, int to_dir, const char* to) {
      return call_ == kRename && from == name_ ? Fail() : saved_.renameat(from_dir, from, to_dir, to);
    };
  }
  ~NameFault() { FileSystemCalls() = saved_; }
  NameFault(const NameFault&) = delete;
  NameFault& operator=(const NameFault&) = delete;

 private:
  static bool Hit(const char* name, int flags) {
    if (call_ == kOpen) return name == name_;
    return call_ == kWriteOpen && (flags & (O_WRONLY | O_RDWR)) != 0 && std::strstr(name, name_.c_str()) != nullptr;
  }
  static int Fail() {
    errno = error_;
    return -1;
  }
  static inline SystemCalls saved_;
  static inline std::string name_;
  static inline Call call_;
  static inline int error_;
};

std::string Base(const std::string& path) { return path.substr(path.rfind('/') + 1); }
std::string Folder(const std::string& path) { return path.substr(0, path.rfind('/')); }

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct History {
  std::vector<ThemeStore::Step> steps;
  std::size_t cursor = 0;
  bool operator==(const History&) const = default;
};

History Steps(ThemeStore& store) {
  History h;
  std::string problem;
  EXPECT_TRUE(store.Steps(h.steps, h.cursor, problem)) << problem;
  return h;
}

std::vector<std::string> Kinds(const History& h) {
  std::vector<std::string> kinds;
  for (const ThemeStore::Step& step : h.steps) kinds.push_back(step.kind);
  return kinds;
}

}  // namespace

TEST(ThemeStoreFaults, AWriteThatFailsTakesItsStepBackAndStepsNameWhatTheyMove) {
  Place place;
  ThemeStore store(place.path());
  std::string problem;
  ThemeStore::StepSeen step;
  int changed = 0;
  ASSERT_TRUE(store.SetItem(1, 0x00000011, problem)) << problem;
  ThemeValues preset;
  preset.items[3] = 0x00222222;
  ASSERT_TRUE(store.Apply(preset, ThemeApply::kOver, "apply", changed, problem)) << problem;
  ASSERT_TRUE(store.Restore(problem)) << problem;
  // Undo and redo name the step they move over, not its neighbour.
  ASSERT_EQ(store.Undo(problem, &step), ThemeStore::Outcome::kDone) << problem;
  EXPECT_EQ(step.kind, "restore");
  ASSERT_EQ(store.Undo(problem, &step), ThemeStore::Outcome::kDone) << problem;
  EXPECT_EQ(step.kind, "apply");
  ASSERT_EQ(store.Redo(problem, &step), ThemeStore::Outcome::kDone) << problem;
  EXPECT_EQ(step.kind, "apply");
  ASSERT_EQ(store.Undo(problem, &step), ThemeStore::Outcome::kDone) << problem;
  const History before = Steps(store);
  ASSERT_EQ(Kinds(before), (std::vector<std::string>{"start", "change", "apply", "restore"}));
  ASSERT_EQ(before.cursor, 1u);
  const std::string registry = place.ReadBytes();

  // The disk fails the registry's write: no step is recorded, and the steps
  // undone stay there to be redone.
  const std::string not_written =
      "cannot write the registry file " + place.path() + ": cannot flush it to disk: " + std::strerror(EIO);
  SetWriteFault({.fail_fsync = true, .error_number = EIO});
  testing::internal::CaptureStderr();
  EXPECT_FALSE(store.SetItem(5, 0x00555555, problem));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(problem, not_written);
  EXPECT_FALSE(store.Apply(preset.With(6, 0), ThemeApply::kWhole, "apply", changed, problem));
  EXPECT_FALSE(store.Restore(problem));
  EXPECT_EQ(store.Redo(problem, &step), ThemeStore::Outcome::kFailed);
  EXPECT_EQ(store.Undo(problem, &step), ThemeStore::Outcome::kFailed);
  EXPECT_EQ(problem, not_written);
  SetWriteFault(WriteFault{});
  EXPECT_EQ(said, "tintor: registry change not written: " + not_written + "\n");
  EXPECT_EQ(place.ReadBytes(), registry);
  EXPECT_EQ(Steps(store), before);
  ASSERT_EQ(store.Redo(problem, &step), ThemeStore::Outcome::kDone) << problem;
  EXPECT_EQ(step.kind, "apply");
  EXPECT_EQ(place.Now().Item(4), 0x00222222u);

  // A change made outside (by the phone, by hand) and then a failed write:
  // the change seen is kept as a step; the failed one is not.
  const ThemeTarget& item = kThemeTargets[7];
  ASSERT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, item.key, item.value_name, 0x00888888, true));
  SetWriteFault({.fail_fsync = true, .error_number = EIO});
  testing::internal::CaptureStderr();
  EXPECT_FALSE(store.SetItem(9, 0x00999999, problem));
  testing::internal::GetCapturedStderr();
  SetWriteFault(WriteFault{});
  // As another Tintor reads it from the file.
  ThemeStore other(place.path());
  const History seen = Steps(other);
  EXPECT_EQ(Steps(store), seen);
  EXPECT_EQ(Kinds(seen), (std::vector<std::string>{"start", "change", "apply", "change"}));
  EXPECT_EQ(seen.cursor, 3u);
  EXPECT_EQ(seen.steps[3].values, place.Now());
  EXPECT_EQ(store.Redo(problem), ThemeStore::Outcome::kNothingToDo);
  EXPECT_EQ(problem, "nothing to redo");
}

TEST(ThemeStoreFaults, AHistoryThatCannotBeKeptNeverStopsAColour) {
  Place place;
  ThemeStore store(place.path());
  std::string problem;
  ASSERT_TRUE(store.Record(problem)) << problem;
  const std::string history = store.HistoryPath();
  const std::string not_recorded = "tintor: the theme is changed, but the history does not record it: ";
  const auto set = [&](int number, COLORREF color, const std::string& warning) {
    testing::internal::CaptureStderr();
    EXPECT_TRUE(store.SetItem(number, color, problem)) << problem;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), not_recorded + warning + "\n");
    EXPECT_EQ(place.Now().Item(number), color);
  };

  // Its file cannot be written: neither appended to nor written anew.
  {
    NameFault full(Base(history), NameFault::kWriteOpen, ENOSPC);
    set(1, 0x00000001, "cannot write " + history + " (cannot make a temporary file in " + Folder(history) + ": " +
                           std::strerror(ENOSPC) + ")");
  }
  // Its lock cannot be opened: nothing can be recorded or undone.
  {
    NameFault locked(Base(history) + ".lock", NameFault::kOpen, EACCES);
    const std::string cannot = "cannot open " + history + ".lock (" + std::strerror(EACCES) + ")";
    set(2, 0x00000002, cannot);
    EXPECT_EQ(store.Undo(problem), ThemeStore::Outcome::kFailed);
    EXPECT_EQ(problem, cannot);
    EXPECT_FALSE(store.Record(problem));
    EXPECT_EQ(problem, cannot);
  }
  // No file descriptor is left to read it: not the file's fault, nothing is set aside.
  {
    NameFault no_more(Base(history), NameFault::kOpen, EMFILE);
    const std::string cannot = "cannot read " + history + " (" + std::strerror(EMFILE) + ")";
    set(3, 0x00000003, cannot);
    EXPECT_EQ(store.Redo(problem), ThemeStore::Outcome::kFailed);
    EXPECT_EQ(problem, cannot);
  }
  // A file that is no history and cannot be set aside is left as it is.
  std::ofstream(history) << "not a history\n";
  {
    NameFault stays(Base(history), NameFault::kRename, EACCES);
    set(4, 0x00000004, "the theme history " + history + " is not a theme history and cannot be set aside (" +
                           std::strerror(EACCES) + ")");
  }
  EXPECT_EQ(Bytes(history), "not a history\n");
  // With the disk well again, the file is set aside and the history goes on
  // from the theme as it is.
  testing::internal::CaptureStderr();
  ASSERT_TRUE(store.Record(problem)) << problem;
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "tintor: the theme history " + history + " is not a theme history; it is set aside as " + history +
                ".bad and a new history begins\n");
  EXPECT_EQ(Bytes(history + ".bad"), "not a history\n");
  const History now = Steps(store);
  ASSERT_EQ(now.steps.size(), 1u);
  EXPECT_EQ(now.steps[0].values, place.Now());
  EXPECT_EQ(store.Undo(problem), ThemeStore::Outcome::kNothingToDo);
}
