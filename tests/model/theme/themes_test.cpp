// Keeping a theme as a user meets it: export in both forms and import back,
// imports refused whole, named themes and presets, undo and redo across a
// restart and across processes, a kill in the middle of an apply, and the
// files beside the registry under a failing disk and other users' links.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <fstream>
#include <random>
#include <set>

#include "model/color_swatches.h"
#include "model/theme_color_store.h"
#include "platform/file/system_calls.h"
#include "platform/win/registry.h"
#include "studio/preview/sample_screens.h"
#include "main/theme_commands.h"
#include "model/checks/theme_report.h"
#include "model/theme/theme_history.h"
#include "model/theme/theme_store.h"
#include <nlohmann/json.hpp>
#include "tests/platform/win/temp_registry.h"

namespace {

// A registry with its history and themes folders of its own.
struct Place : TempRegistry {
  Place() {
    ::setenv("XDG_STATE_HOME", dir().c_str(), 1);
    ::setenv("XDG_DATA_HOME", dir().c_str(), 1);
  }
  ThemeValues Now() const {
    ThemeValues v;
    std::string problem;
    EXPECT_TRUE(ReadThemeValues(v, problem)) << problem;
    return v;
  }
  // Makes the registry hold exactly `values`, outside the history.
  bool Hold(const ThemeValues& values, std::string& problem) const {
    return UpdateThemeValues([&](const ThemeValues&) { return values; }, problem);
  }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir() + "/" + name, std::ios::binary) << bytes;
  }
};

int Command(ThemeCommand::Kind kind, const std::string& arg = "", RegFileForm form = RegFileForm::kVersion5) {
  return RunThemeCommand(ThemeCommand{kind, arg, form});
}

using K = ThemeCommand::Kind;

const ThemeValues& Preset(int i) { return ThemePresets()[static_cast<std::size_t>(i)].values; }

}  // namespace

TEST(Themes, ExportBothFormsImportBackAndRefuseWholeFiles) {
  Place place;
  ThemeValues theme = Preset(1);
  theme.items[4] = 0x0338FAA2;  // a top byte, kept as it is
  theme.items[7] = 0x00123456;  // no swatch's colour: taken as it is
  theme.items[9].reset();       // exported at its default
  std::string problem;
  ASSERT_TRUE(place.Hold(theme, problem)) << problem;
  for (RegFileForm form : {RegFileForm::kVersion5, RegFileForm::kRegedit4}) {
    const std::string file = place.dir() + "/export.reg";
    ASSERT_EQ(Command(K::kExport, file, form), 0);
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (form == RegFileForm::kRegedit4) {
      EXPECT_EQ(bytes.rfind("REGEDIT4\r\n", 0), 0u);
      EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '['), 2) << "the two keys and nothing else";
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        ASSERT_LT(static_cast<unsigned char>(bytes[i]), 0x80) << "not ASCII at " << i;
        if (bytes[i] == '\n') {
          ASSERT_EQ(bytes[i - 1], '\r') << "a bare LF at " << i;
        }
      }
    } else {
      EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFEW\0", 4));
    }
    ASSERT_TRUE(place.Hold(ThemeValues(), problem)) << problem;
    ASSERT_EQ(Command(K::kImport, file), 0);
    EXPECT_EQ(place.Now(), theme.Completed());
  }

  // As another registry editor writes it: the keys above empty, names in
  // any case, two items only: only those two change.
  place.Put("two.reg",
            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme]\r\n"
            "[hkey_local_machine\\software\\meizu\\theme\\colors]\r\n\"sysclr_window_bg\"=dword:00000000\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors\\APP]\r\n\"Mute_OnOff_Tips_Color\"=dword:00ffffff\r\n");
  ThemeValues expected = place.Now();
  expected.items[3] = 0;
  expected.items[10] = 0x00FFFFFF;
  ASSERT_EQ(Command(K::kImport, place.dir() + "/two.reg"), 0);
  EXPECT_EQ(place.Now(), expected);

  // Anything else refuses the whole file, at its line; the registry stays
  // byte for byte as it was, though good lines came first.
  const std::string good = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors]\r\n"
                           "\"SYSCLR_WINDOW_BG\"=dword:00ececec\r\n";
  const std::pair<std::string, std::string> refused[] = {
      {"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\r\n", ":4: this key"},
      {"\"SYSCLR_WINDOW_TEXT\"=\"black\"\r\n", ":4: \"SYSCLR_WINDOW_TEXT\" is not a dword"},
      {"\"SYSCLR_NOT_AN_ITEM\"=dword:00000001\r\n", ":4: \"SYSCLR_NOT_AN_ITEM\" is not one"},
      {"\"MUTE_ONOFF_TIPS_COLOR\"=dword:00000001\r\n", ":4: \"MUTE_ONOFF_TIPS_COLOR\" is not one"},
      {"\"SYSCLR_WINDOW_TEXT\"=-\r\n", ":4: a theme removes no values"},
      {"[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors\\App]\r\n", ":4: a theme removes no keys"},
      {"\"SYSCLR_WINDOW_TEXT\"=dword:1234567890\r\n", ":4: dword with more"},
      {"@=dword:00000001\r\n", ":4: \"\" is not one"},
      {"SYSCLR_WINDOW_TEXT=1\r\n", ":4: unexpected text"},
  };
  const std::string before = place.ReadBytes();
  for (const auto& [line, message] : refused) {
    place.Put("bad.reg", good + line);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Command(K::kImport, place.dir() + "/bad.reg"), 2) << line;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(place.dir() + "/bad.reg" + message), std::string::npos) << said;
    EXPECT_EQ(place.ReadBytes(), before) << line;
  }
  // A file that cannot be read is no refused theme: 1, as for other files.
  EXPECT_EQ(Command(K::kImport, place.dir() + "/missing.reg"), 1);
  EXPECT_EQ(place.ReadBytes(), before);
}

TEST(Themes, NamedThemesAndPresets) {
  Place place;
  // 默认 is the phone's defaults, nothing stored; the other presets store
  // swatch colours only, readable on every surface (WCAG 4.5:1).
  EXPECT_EQ(ThemePresets()[0].values, ThemeValues());
  for (std::size_t i = 1; i < ThemePresets().size(); ++i) {
    const ThemeValues& preset = ThemePresets()[i].values;
    for (const auto& item : preset.items) {
      ASSERT_TRUE(item.has_value());
      EXPECT_TRUE(SwatchOf(*item)) << std::hex << *item;
    }
    for (const ReadabilityWarning& w : FindReadabilityWarnings(preset)) {
      if (!w.figures.ratio_ok()) ADD_FAILURE() << "item " << w.item << " has contrast " << w.ratio;
    }
  }
  // Names that would escape the folder or hide are kept in it.
  const std::vector<std::string> names = {"../秘密", ".隐藏", "a/b\\c", "50%新", "春天"};
  std::set<std::string> files;
  for (const std::string& name : names) {
    const std::string file = ThemeFileName(name);
    EXPECT_EQ(file.find('/'), std::string::npos);
    EXPECT_NE(file[0], '.');
    for (char c : file) EXPECT_GE(static_cast<unsigned char>(c), 0x20);
    files.insert(file);
    ASSERT_EQ(Command(K::kSave, name), 0) << name;
  }
  EXPECT_EQ(files.size(), names.size());
  EXPECT_EQ(ListSavedThemes(), std::vector<std::string>({"../秘密", ".隐藏", "50%新", "a/b\\c", "春天"}));
  EXPECT_EQ(ThemeFileName(""), "");
  EXPECT_EQ(ThemeFileName("\xFF"), "");
  EXPECT_NE(Command(K::kSave, "深色"), 0);

  // A saved theme comes back as it was saved; a preset by its name.
  std::string problem;
  ASSERT_TRUE(place.Hold(Preset(1), problem));
  ASSERT_EQ(Command(K::kSave, "夜"), 0);
  ASSERT_EQ(Command(K::kApply, "高对比"), 0);
  EXPECT_EQ(place.Now(), Preset(2));
  ASSERT_EQ(Command(K::kApply, "夜"), 0);
  EXPECT_EQ(place.Now(), Preset(1));
  ASSERT_EQ(Command(K::kDelete, "夜"), 0);
  EXPECT_EQ(Command(K::kApply, "夜"), 1);
}

TEST(Themes, UndoRedoAcrossRestartsAndProcesses) {
  Place place;
  const ThemeTarget& bg = kThemeTargets[3];
  {
    ThemeStore studio(place.path());
    std::string problem;
    ASSERT_TRUE(studio.Record(problem)) << problem;  // the start
    ASSERT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, bg.key, bg.value_name, 0x00545454, true));
    ASSERT_TRUE(studio.Record(problem)) << problem;  // seen by two studios:
    ASSERT_TRUE(ThemeStore(place.path()).Record(problem));  // one step
  }
  ASSERT_EQ(Command(K::kApply, "高对比"), 0);
  ThemeValues one_colour;
  one_colour.items[3] = 0x00545454;

  // A restart: only the files are left.
  EXPECT_EQ(Command(K::kUndo), 0);
  EXPECT_EQ(place.Now(), one_colour);
  EXPECT_EQ(Command(K::kUndo), 0);
  EXPECT_EQ(place.Now(), ThemeValues()) << "a value that did not exist before is removed again";
  EXPECT_EQ(Command(K::kUndo), 1);
  EXPECT_EQ(Command(K::kRedo), 0);
  EXPECT_EQ(Command(K::kRedo), 0);
  EXPECT_EQ(place.Now(), Preset(2));
  EXPECT_EQ(Command(K::kUndo), 0);
  // A change by hand after an undo is a step of its own and drops the redo.
  ASSERT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, bg.key, bg.value_name, 0x00FFFFFF, true));
  EXPECT_EQ(Command(K::kRedo), 1);
  EXPECT_EQ(Command(K::kUndo), 0);
  EXPECT_EQ(place.Now(), one_colour);

  // Two processes changing the theme at once: every step recorded once.
  constexpr int kSteps = 15;
  pid_t children[2];
  for (int c = 0; c < 2; ++c) {
    children[c] = ::fork();
    if (children[c] == 0) {
      ThemeStore store(place.path());
      for (int i = 1; i <= kSteps; ++i) {
        std::string problem;
        if (!store.SetItem(11 + c, static_cast<DWORD>(i), problem)) ::_exit(1);
      }
      ::_exit(0);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::vector<ThemeStore::Step> states;
  std::size_t cursor = 0;
  std::string problem;
  ASSERT_TRUE(ThemeStore(place.path()).Steps(states, cursor, problem)) << problem;
  ASSERT_EQ(states.size(), 2u + 2 * kSteps);  // the start, one colour, and each step once
  ASSERT_EQ(cursor + 1, states.size());
  for (int i = 0; i < 2 * kSteps; ++i) ASSERT_EQ(Command(K::kUndo), 0) << i;
  EXPECT_EQ(place.Now(), one_colour);

  // A history from a newer Tintor is set aside and never stops a colour.
  std::ofstream(ThemeHistory(place.path()).path()) << "tintor theme history 9\n";
  testing::internal::CaptureStderr();
  EXPECT_EQ(Command(K::kApply, "深色"), 0);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("newer Tintor"), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(place.Now(), Preset(1));
  EXPECT_EQ(Command(K::kUndo), 0);
  EXPECT_EQ(place.Now(), one_colour);

  // A Tintor that stays open keeps the file short as well.
  ThemeStore open(place.path());
  for (std::size_t i = 0; i < 5 * ThemeHistory::kMaxSteps; ++i) {
    ASSERT_EQ(i % 2 == 0 ? open.Redo(problem) : open.Undo(problem), ThemeStore::Outcome::kDone) << problem;
  }
  std::ifstream log(open.HistoryPath());
  const auto lines = std::count(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>(), '\n');
  EXPECT_LE(lines, static_cast<long>(4 * (ThemeHistory::kMaxSteps + 1) + 1));
}

TEST(Themes, KillDuringApplyLeavesAllOrNothing) {
  Place place;
  std::mt19937 random(std::random_device{}());
  for (int round = 0; round < 20; ++round) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(ready[0]);
      if (std::freopen("/dev/null", "w", stdout) == nullptr) ::_exit(1);
      for (int i = 0;; ++i) {
        if (i == 1) (void)!::write(ready[1], "x", 1);
        if (Command(K::kApply, i % 2 == 0 ? "深色" : "高对比") != 0) ::_exit(1);
      }
    }
    ::close(ready[1]);
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ::usleep(std::uniform_int_distribution<useconds_t>(0, 20000)(random));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const ThemeValues now = place.Now();
    EXPECT_TRUE(now == Preset(1) || now == Preset(2)) << "a half-applied theme in round " << round;
  }
}

// The files beside the registry fail whole and leave nothing behind: an
// append that the disk refuses midway, a pipe or a huge file in the history's
// place, temporary files that killed writers left.
TEST(Themes, FilesBesideTheRegistryFailWholeAndLeaveNothingBehind) {
  Place place;
  ThemeStore history(place.path());
  std::string problem;
  ASSERT_TRUE(history.Record(problem)) << problem;
  const auto bytes = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  const std::string before = bytes(history.HistoryPath());
  ASSERT_FALSE(before.empty());
  ASSERT_TRUE(place.Hold(Preset(1), problem)) << problem;
  const SystemCalls system = FileSystemCalls();
  static int writes;
  writes = 0;
  FileSystemCalls().write = [](int fd, const void* b, size_t n) {
    return writes++ ? (errno = ENOSPC, ssize_t{-1}) : ::write(fd, b, n / 2);
  };
  EXPECT_FALSE(history.Record(problem));
  FileSystemCalls() = system;
  EXPECT_NE(problem.find(std::strerror(ENOSPC)), std::string::npos) << problem;
  EXPECT_EQ(bytes(history.HistoryPath()), before) << "a half line stayed";
  const std::string folder = history.HistoryPath().substr(0, history.HistoryPath().rfind('/'));
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().string().rfind(history.HistoryPath(), 0), 0u) << "left behind: " << entry.path();
  }
  ASSERT_TRUE(history.Record(problem)) << problem;
  EXPECT_GT(bytes(history.HistoryPath()).size(), before.size());

  // Neither a pipe nor a file too large to be a history blocks or stops it:
  // each is set aside and a new history begins.
  for (const bool pipe : {true, false}) {
    std::filesystem::remove(history.HistoryPath());
    if (pipe) {
      ASSERT_EQ(::mkfifo(history.HistoryPath().c_str(), 0644), 0);
    } else {
      std::ofstream(history.HistoryPath()) << std::string((16 << 20) + 1, 'x');
    }
    ::alarm(20);  // a blocked open ends the test here
    EXPECT_TRUE(history.Record(problem)) << problem;
    ::alarm(0);
    EXPECT_EQ(std::filesystem::is_fifo(history.HistoryPath() + ".bad"), pipe);
    EXPECT_EQ(bytes(history.HistoryPath()).rfind("tintor theme history ", 0), 0u);
  }

  // A temporary theme file that a killed save left goes with the next save,
  // once it is old enough not to be another one's still being written.
  const std::string themes = ThemesFolder();
  ASSERT_EQ(Command(K::kSave, "春"), 0);
  const std::string old_temp = themes + "/.夏.reg.Ab3dEf", new_temp = themes + "/.秋.reg.Gh5jKl";
  std::ofstream(old_temp) << "half";
  std::ofstream(new_temp) << "half";
  const timespec long_ago[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 3600, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, old_temp.c_str(), long_ago, 0), 0);
  ASSERT_EQ(Command(K::kSave, "春"), 0);
  EXPECT_FALSE(std::filesystem::exists(old_temp));
  EXPECT_TRUE(std::filesystem::exists(new_temp));
}

// Running as root, a link of another user at the themes folder and at the
// history's folder is never followed, and nothing is made, changed or
// removed where it points; the presets still work.
TEST(Themes, AnotherUsersLinkAtTheThemesOrHistoryFolderIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can plant another user's link";
  Place place;
  const std::string elsewhere = place.dir() + "/elsewhere", ours = place.dir() + "/tintor";
  std::filesystem::create_directories(elsewhere + "/themes");
  std::ofstream(elsewhere + "/themes/他的.reg") << "theirs";
  const auto plant = [&](const std::string& at, const std::string& target) {
    std::filesystem::create_directory_symlink(target, at);
    ASSERT_EQ(::lchown(at.c_str(), 65534, 65534), 0);
  };
  std::filesystem::create_directory(ours);
  plant(ours + "/themes", elsewhere + "/themes");
  ThemeValues values;
  std::string problem;
  EXPECT_NE(Command(K::kSave, "我的"), 0);
  EXPECT_TRUE(ListSavedThemes().empty());
  EXPECT_FALSE(DeleteTheme("他的", problem));
  EXPECT_NE(problem.find("another user"), std::string::npos) << problem;
  EXPECT_TRUE(LoadTheme("深色", values, problem)) << problem;
  EXPECT_EQ(values, Preset(1));

  std::filesystem::remove_all(ours);
  plant(ours, elsewhere);
  EXPECT_FALSE(ThemeStore(place.path()).Record(problem));
  EXPECT_NE(problem.find("another user"), std::string::npos) << problem;
  EXPECT_EQ(Command(K::kApply, "高对比"), 0) << "the theme is written, only not recorded";
  EXPECT_EQ(place.Now(), Preset(2));
  std::vector<std::string> there;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(elsewhere)) there.push_back(entry.path());
  EXPECT_EQ(there, (std::vector<std::string>{elsewhere + "/themes", elsewhere + "/themes/他的.reg"}));
}

TEST(ThemeStore, EachWriteIsOneStepAndCountsOnlyWhatIsSeen) {
  Place place;
  ThemeStore store(place.path());
  std::string problem;
  int changed = -1;
  // The untouched defaults, saved and applied: nothing a person would see
  // changes, so nothing is written or recorded. The preset 默认 is a restore.
  ASSERT_TRUE(store.SaveCurrent(" 原样\u3000", problem)) << problem;
  ASSERT_TRUE(store.ApplyNamed("原样", changed, problem)) << problem;
  EXPECT_EQ(changed, 0);
  EXPECT_EQ(place.Now(), ThemeValues());
  ASSERT_TRUE(store.ApplyNamed("默认", changed, problem)) << problem;
  EXPECT_EQ(changed, 0);
  // Stored in its default's colour over an unset default: no change, but
  // written with the item that does change.
  ASSERT_TRUE(store.Apply(ThemeValues().With(3, ThemeValues().Item(3)).With(4, 0), ThemeApply::kOver, "import",
                          changed, problem, "two.reg"));
  EXPECT_EQ(changed, 1);
  EXPECT_TRUE(place.Now().Stored(3));
  ASSERT_TRUE(store.SetItem(5, 0x00123456, problem, &changed)) << problem;
  EXPECT_EQ(changed, 1);
  ASSERT_TRUE(store.SetItem(5, 0x00123456, problem, &changed)) << problem;
  EXPECT_EQ(changed, 0);
  ASSERT_TRUE(store.Restore(problem, nullptr, &changed)) << problem;
  EXPECT_EQ(changed, 2) << "items 4 and 5; item 3 was drawn in its default already";
  EXPECT_EQ(place.Now(), ThemeValues());
  ASSERT_TRUE(store.Restore(problem, nullptr, &changed)) << problem;
  EXPECT_EQ(changed, 0);
  ThemeStore::StepSeen undone;
  ASSERT_EQ(store.Undo(problem, &undone), ThemeStore::Outcome::kDone) << problem;
  EXPECT_EQ(undone.kind, "restore");
  EXPECT_EQ(undone.changes.size(), 2u);
  EXPECT_EQ(place.Now().Item(5), 0x00123456u);
  // As a Tintor started later reads the history: each step, what it was made
  // from, and where the cursor is.
  std::vector<ThemeStore::Step> steps;
  std::size_t cursor = 0;
  ASSERT_TRUE(ThemeStore(place.path()).Steps(steps, cursor, problem)) << problem;
  std::vector<std::string> kinds;
  for (const ThemeStore::Step& step : steps) kinds.push_back(step.kind);
  EXPECT_EQ(kinds, std::vector<std::string>({"start", "import", "change", "restore"}));
  EXPECT_EQ(steps[1].label, "two.reg");
  EXPECT_EQ(cursor, 2u);

  // The report and the card's facts: an unset value is the default, a stored
  // colour that is no swatch is custom.
  std::string report, error;
  MakeThemeReport(true, report, error);
  const nlohmann::json items = nlohmann::json::parse(report)["items"];
  EXPECT_EQ(items[0]["swatch"], "default");
  EXPECT_EQ(items[0]["stored"], false);
  EXPECT_EQ(items[3]["swatch"], 102);
  EXPECT_EQ(items[4]["swatch"], "custom");

  // A write that fails leaves the registry file and the history as they were.
  const std::string history = ThemeHistory(place.path()).path();
  const std::string garbage = "\xFF\xFE not a registry file";
  place.WriteBytes(garbage);
  std::ifstream in(history, std::ios::binary);
  const std::string logged{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_FALSE(store.SetItem(6, 0, problem));
  EXPECT_FALSE(store.Restore(problem));
  EXPECT_EQ(store.Undo(problem), ThemeStore::Outcome::kFailed);
  EXPECT_EQ(place.ReadBytes(), garbage);
  std::ifstream again(history, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), std::istreambuf_iterator<char>()), logged);
}

// On the command line, undo and redo say what they move over: the item, or
// the theme or file and how many items; a step that changes nothing is said
// so and not recorded. A history of the older format is read, and written
// anew in the new one.
TEST(ThemeStore, UndoAndRedoSayWhatTheyMoveAndNothingChangedIsNoStep) {
  Place place;
  const std::string history = ThemeStore(place.path()).HistoryPath();
  std::filesystem::create_directories(history.substr(0, history.rfind('/')));
  // Version 1: no names; a start at the defaults, then a black window.
  std::string none, black;
  for (int i = 0; i < 20; ++i) {
    none += " -";
    black += i == 3 ? " 00000000" : " -";
  }
  std::ofstream(history) << "tintor theme history 1\nregistry " << place.path() << "\nstate start" << none
                         << "\nstate change" << black << "\n";
  std::string problem;
  ASSERT_TRUE(place.Hold(ThemeValues().With(4, 0), problem)) << problem;
  // Two items of a saved theme differ from the colours now.
  ASSERT_TRUE(SaveTheme("两项", place.Now().Completed().With(1, 0x00FF0000).With(2, 0x0000FF00), problem));
  ASSERT_EQ(Command(K::kApply, "两项"), 0);
  const auto said = [](K kind, const std::string& arg = "") {
    testing::internal::CaptureStdout();
    const int code = Command(kind, arg);
    return std::to_string(code) + " " + testing::internal::GetCapturedStdout();
  };
  EXPECT_EQ(said(K::kUndo), "0 undone: applying the theme '两项' (2 theme colours)\n");
  EXPECT_EQ(said(K::kRedo), "0 redone: applying the theme '两项' (2 theme colours)\n");
  EXPECT_EQ(said(K::kUndo), "0 undone: applying the theme '两项' (2 theme colours)\n");
  EXPECT_EQ(said(K::kUndo), "0 undone: the change of item 4 (SYSCLR_WINDOW_BG) from #ECECEC to #000000\n");
  EXPECT_EQ(said(K::kRedo), "0 redone: the change of item 4 (SYSCLR_WINDOW_BG) from #ECECEC to #000000\n");
  std::ifstream in(history);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "tintor theme history 2");

  // Imported again, the colours already set change nothing: said so, no step.
  const std::string file = place.dir() + "/now.reg";
  ASSERT_EQ(Command(K::kExport, file), 0);
  std::vector<ThemeStore::Step> before, after;
  std::size_t cursor = 0;
  ASSERT_TRUE(ThemeStore(place.path()).Steps(before, cursor, problem)) << problem;
  EXPECT_EQ(said(K::kImport, file),
            "0 imported " + file + ": nothing changed, the theme colours are already these; no step is recorded\n");
  ASSERT_TRUE(ThemeStore(place.path()).Steps(after, cursor, problem)) << problem;
  EXPECT_EQ(after, before);
  ASSERT_TRUE(place.Hold(ThemeValues().With(4, 0x00332211), problem)) << problem;
  ASSERT_EQ(Command(K::kImport, file), 0);
  EXPECT_EQ(said(K::kUndo), "0 undone: importing now.reg (1 theme colour)\n");
  EXPECT_EQ(said(K::kUndo), "0 undone: the change of item 4 (SYSCLR_WINDOW_BG) from #000000 to #112233\n");
}

TEST(ThemeStore, TwoImportsWhileAnotherHoldsTheHistoryEndInOneThemeOrTheOther) {
  Place place;
  const std::string files[2] = {place.dir() + "/dark.reg", place.dir() + "/contrast.reg"};
  std::string problem;
  ASSERT_TRUE(ThemeStore::Export(Preset(1), files[0], RegFileForm::kVersion5, problem)) << problem;
  ASSERT_TRUE(ThemeStore::Export(Preset(2), files[1], RegFileForm::kRegedit4, problem)) << problem;
  ASSERT_TRUE(ThemeStore(place.path()).Record(problem)) << problem;  // the history's folder and lock exist
  const std::string before = place.ReadBytes();
  // Another process's hold of the history's lock, as flock sees it.
  const int held = ::open((ThemeHistory(place.path()).path() + ".lock").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  const auto both = [&](bool let_go) {
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
      children[c] = ::fork();
      if (children[c] == 0) {
        if (std::freopen("/dev/null", "w", stdout) == nullptr || std::freopen("/dev/null", "w", stderr) == nullptr) {
          ::_exit(3);
        }
        ::_exit(Command(K::kImport, files[c]));
      }
    }
    if (let_go) ::flock(held, LOCK_UN);
    std::vector<int> codes;
    for (pid_t child : children) {
      int status = 0;
      ::waitpid(child, &status, 0);
      codes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
    return codes;
  };
  // Held past the bound: both fail, and nothing is written.
  EXPECT_EQ(both(false), std::vector<int>({1, 1}));
  EXPECT_EQ(place.ReadBytes(), before);
  // Let go while they wait: one lands after the other, each whole.
  EXPECT_EQ(both(true), std::vector<int>({0, 0}));
  const ThemeValues now = place.Now();
  EXPECT_TRUE(now == Preset(1) || now == Preset(2));
  ::close(held);
}

TEST(ThemeNames, OneRuleForEveryPlaceAndShownOnOneLine) {
  Place place;
  std::string name;
  EXPECT_EQ(CheckThemeName("\u3000 春天 ", name), ThemeNameFault::kNone);
  EXPECT_EQ(name, "春天");
  EXPECT_EQ(CheckThemeName(" \u3000 ", name), ThemeNameFault::kBlank);
  EXPECT_EQ(CheckThemeName("\u200B", name), ThemeNameFault::kBlank);
  EXPECT_EQ(CheckThemeName("夜\n晚", name), ThemeNameFault::kControl);
  EXPECT_EQ(CheckThemeName("深色 ", name), ThemeNameFault::kPreset);
  std::string longest;
  for (std::size_t i = 0; i < kThemeNameMaxChars; ++i) longest += "汉";
  EXPECT_EQ(CheckThemeName(longest, name), ThemeNameFault::kNone);
  testing::internal::CaptureStderr();
  EXPECT_EQ(Command(K::kSave, longest + "汉"), 1);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(std::to_string(kThemeNameMaxChars) + " characters"),
            std::string::npos);
  EXPECT_EQ(Command(K::kSave, "夜\n晚"), 1);

  // A name from an older Tintor's file, with a line break and an escape
  // sequence: listed on one line, escaped, and cut.
  ASSERT_EQ(Command(K::kSave, "春天"), 0);
  const std::string old_name = "a\n\x1b[31m" + longest + longest.substr(0, 60);
  std::filesystem::rename(ThemesFolder() + "/春天.reg", ThemesFolder() + "/" + ThemeFileName(old_name));
  testing::internal::CaptureStdout();
  ASSERT_EQ(Command(K::kList), 0);
  const std::string listed = testing::internal::GetCapturedStdout();
  const std::string last = listed.substr(listed.rfind("saved\t"));
  EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), static_cast<long>(ThemePresets().size()) + 1) << listed;
  EXPECT_EQ(last.rfind("saved\ta\\x0A\\x1B[31m汉", 0), 0u) << last;
  EXPECT_EQ(last.substr(last.size() - 4), "…\n") << last;

  // An exported file's name is for a person: '/' and '\\' in their full-width
  // forms, not the themes folder's %2F.
  EXPECT_EQ(ThemeFileName("夜/读"), "夜%2F读.reg");
  EXPECT_EQ(ExportFileName("夜/读"), "夜\uFF0F读.reg");
  EXPECT_EQ(ExportFileName(".a\\b\tc%"), "_a\uFF3Cb_c%.reg");
  EXPECT_EQ(ExportFileName(""), "");
}
