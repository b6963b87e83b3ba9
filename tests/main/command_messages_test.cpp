// What the command line says, whole: text from outside (a path, a theme's
// name, an option or an environment value holding escape codes, controls or
// bytes that are not UTF-8) reaches standard output and error only escaped,
// in every message that names it; each thing is called what it is; theme
// names follow one rule for save, apply and delete; an export goes only where
// it is asked.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "main/entry_point.h"
#include "platform/ui/toolkit.h"

namespace {

// ESC with a screen-clearing sequence, BEL, CSI as a C1 control, DEL, a byte
// that is not UTF-8, a line separator and a right-to-left override; and how
// each is shown, written out by hand.
const std::string kHostile = "\x1b[2J\a\xc2\x9b\x7f\xff\xe2\x80\xa8\xe2\x80\xae";
const std::string kShown = "\\x1B[2J\\x07\\x9B\\x7F\\xFF\\u2028\\u202E";

// The program's application object, never reached: every run here stops
// before the phone starts.
class NoPhone : public CMzApp {
 public:
  BOOL InitApplication() override { return FALSE; }
} g_app;

struct Said {
  int code;
  std::string out;
  std::string err;
};

Said Tintor(const std::vector<std::string>& args) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int code = RunTintor(args);
  std::string out = testing::internal::GetCapturedStdout();
  return {code, out, testing::internal::GetCapturedStderr()};
}

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("tintor-terminal-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    ::setenv("XDG_DATA_HOME", dir_.c_str(), 1);
    ::setenv("XDG_STATE_HOME", dir_.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    ::setenv("TINTOR_REGISTRY", (dir_ / "registry.reg").c_str(), 1);
  }
  void TearDown() override {
    ::unsetenv("TINTOR_REGISTRY");
    std::filesystem::remove_all(dir_);
  }
  std::string In(const std::string& name) const { return (dir_ / name).string(); }
  std::string Shown(const std::string& name) const { return dir_.string() + "/" + name; }
  std::filesystem::path dir_;
};

}  // namespace

TEST_F(CommandLine, EveryMessageThatNamesAFileAFolderAThemeOrAnOptionShowsItEscaped) {
  const std::string picture = In("x" + kHostile + ".png");
  const std::string shown_picture = Shown("x" + kShown + ".png");
  Said said = Tintor({"--make-theme", picture});
  EXPECT_EQ(said.code, 2);
  EXPECT_EQ(said.err, "tintor: cannot read " + shown_picture +
                          ": No such file or directory\ntintor: no theme is made; nothing is written\n");
  std::ofstream(picture) << "no picture\n";
  said = Tintor({"--make-theme", picture});
  EXPECT_EQ(said.err, "tintor: " + shown_picture +
                          " is neither a PNG nor a JPEG picture\ntintor: no theme is made; nothing is written\n");
  said = Tintor({"--script", picture});
  EXPECT_EQ(said.code, 2);
  EXPECT_EQ(said.err, "tintor: " + shown_picture + ":1: unknown command 'no'\n");
  said = Tintor({"--headless", "--screenshot-dir", picture + "/shots"});
  EXPECT_EQ(said.code, 2);
  EXPECT_EQ(said.err, "tintor: " + shown_picture + "/shots: cannot make the screenshot folder (" + shown_picture +
                          " is not a folder)\n");
  said = Tintor({"--preview-png", picture + "/p.png"});
  EXPECT_EQ(said.code, 1);
  EXPECT_EQ(said.err, "tintor: cannot write " + shown_picture + "/p.png: Not a directory\n");
  said = Tintor({"--import-theme", In(kHostile + ".reg")});
  EXPECT_EQ(said.code, 1);
  EXPECT_EQ(said.err, "tintor: cannot read " + Shown(kShown + ".reg") + " (No such file or directory)\ntintor: " +
                          Shown(kShown + ".reg") + " is not imported; nothing is written\n");

  // Options and theme names.
  said = Tintor({"--x" + kHostile});
  EXPECT_EQ(said.code, 2);
  EXPECT_EQ(said.err, "tintor: Unknown option --x" + kShown + " (see tintor --help)\n");
  said = Tintor({"--scale", kHostile});
  EXPECT_EQ(said.err, "tintor: --scale wants a number from 0.25 to 4, not '" + kShown + "' (see tintor --help)\n");
  said = Tintor({"--save-theme", "a" + kHostile});
  EXPECT_EQ(said.code, 1);
  EXPECT_EQ(said.err, "tintor: 'a" + kShown + "' cannot be a theme name: it is not UTF-8 text\n");
  const std::string name = "a\x1b[2J\a\xc2\x9b";
  const std::string shown_name = "a\\x1B[2J\\x07\\x9B";
  said = Tintor({"--save-theme", name});
  EXPECT_EQ(said.err, "tintor: '" + shown_name + "' cannot be a theme name: it holds a control character or a line break\n");
  said = Tintor({"--apply-theme", name});
  EXPECT_EQ(said.err, "tintor: no theme named '" + shown_name + "' (see tintor --list-themes)\n");
  said = Tintor({"--delete-theme", name});
  EXPECT_EQ(said.err, "tintor: no saved theme named '" + shown_name + "'\n");

  // The registry file named by the environment: a write that fails names it
  // escaped, on both lines.
  const std::string registry = In("f" + kHostile) + "/registry.reg";
  const std::string shown_folder = Shown("f" + kShown);
  std::ofstream(In("f" + kHostile)) << "";
  ::setenv("TINTOR_REGISTRY", registry.c_str(), 1);
  said = Tintor({"--apply-theme", "深色"});
  EXPECT_EQ(said.code, 1);
  const std::string why = "cannot write the registry file " + shown_folder + "/registry.reg: " + shown_folder +
                          " is not a folder";
  EXPECT_EQ(said.err, "tintor: registry change not written: " + why + "\ntintor: " + why +
                          "; the registry is not changed\n");
  EXPECT_EQ(said.out, "");
}

namespace {

// The program itself, run with exactly `environment`: what it exits with and
// what it writes.
Said Program(const std::vector<std::string>& environment, const std::vector<std::string>& args) {
  std::vector<char*> argv = {const_cast<char*>(TINTOR_PROGRAM)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);
  int out[2], err[2];
  if (::pipe(out) != 0 || ::pipe(err) != 0) return {-1, "", "no pipe"};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  pid_t child = -1;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  ::close(err[1]);
  auto drain = [](int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    ::close(fd);
    return text;
  };
  // Small outputs: the pipes never fill, so reading one after the other is safe.
  Said said{-1, drain(out[0]), drain(err[0])};
  int status = 0;
  if (spawned == 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) said.code = WEXITSTATUS(status);
  return said;
}

}  // namespace

// HOME set to a path that is not absolute names no home folder: every theme
// command that needs a folder below it says so with HOME's value, escaped, and
// exits 1. (HOME unset means the account's home folder, which a test does not
// touch.)
TEST(HomeFolder, ARelativeHomeIsRefusedWithItsValue) {
  const std::vector<std::string> environment = {"HOME=rel\x1b[2J", "PATH=/usr/bin:/bin"};
  const std::string why = "HOME is 'rel\\x1B[2J', not an absolute path";
  Said said = Program(environment, {"--save-theme", "q"});
  EXPECT_EQ(said.code, 1);
  EXPECT_EQ(said.err, "tintor: no registry file: " + why + "\n");
  said = Program(environment, {"--apply-theme", "深色"});
  EXPECT_EQ(said.code, 1);
  EXPECT_EQ(said.err, "tintor: registry change not written: no registry file: " + why + "\ntintor: no registry file: " +
                          why + "; the registry is not changed\n");
  said = Program(environment, {"--list-themes"});
  EXPECT_EQ(said.code, 1);
  EXPECT_EQ(said.out, "preset\t默认\npreset\t深色\npreset\t高对比\npreset\t清晰\n");
  EXPECT_EQ(said.err, "tintor: no themes folder: " + why + "\n");
  said = Program({"HOME=", "PATH=/usr/bin:/bin"}, {"--undo"});
  EXPECT_EQ(said.code, 1);
  EXPECT_EQ(said.err, "tintor: no place for the theme history: HOME is '', not an absolute path; the registry is not changed\n");
}

// What a source that is neither a colour nor a file is called, and a file
// with no line at all.
TEST_F(CommandLine, ASourceOrAFileIsCalledWhatItIs) {
  for (const std::string source : {"#12", "red", "#GGGGGG"}) {
    const Said said = Tintor({"--make-theme", source});
    EXPECT_EQ(said.code, 2);
    EXPECT_EQ(said.err, "tintor: '" + source +
                            "' is neither a colour #RRGGBB, nor a swatch id, nor a picture: there is no file of that "
                            "name\ntintor: no theme is made; nothing is written\n");
  }
  Said said = Tintor({"--save-theme", ""});
  EXPECT_EQ(said.code, 1);
  EXPECT_EQ(said.err, "tintor: a theme name needs a visible character\n");
  std::ofstream(In("empty.reg")).flush();
  said = Tintor({"--import-theme", In("empty.reg")});
  EXPECT_EQ(said.code, 2);
  EXPECT_EQ(said.err, In("empty.reg") + ": empty file\ntintor: " + In("empty.reg") +
                          " is not imported; nothing is written\n");
}

TEST_F(CommandLine, NamesFollowOneRuleAndAnExportGoesOnlyWhereAsked) {
  Said said = Tintor({"--save-theme", " Q\u3000"});
  EXPECT_EQ(said.out, "saved the theme as 'Q'\n");
  said = Tintor({"--apply-theme", "\u3000Q "});
  EXPECT_EQ(said.code, 0) << said.err;
  EXPECT_EQ(said.out.rfind("applied theme 'Q': ", 0), 0u) << said.out;
  said = Tintor({"--apply-theme", " 深色 "});
  EXPECT_EQ(said.out.rfind("applied theme '深色': ", 0), 0u) << said.out << said.err;
  said = Tintor({"--delete-theme", " Q "});
  EXPECT_EQ(said.out, "deleted the theme 'Q'\n");
  said = Tintor({"--delete-theme", "Q"});
  EXPECT_EQ(said.err, "tintor: no saved theme named 'Q'\n");
  said = Tintor({"--delete-theme", " 默认"});
  EXPECT_EQ(said.code, 1);
  EXPECT_EQ(said.err, "tintor: '默认' is a preset; presets are built in and cannot be deleted\n");

  said = Tintor({"--export-theme", In("none/sub/x.reg")});
  EXPECT_EQ(said.code, 1);
  EXPECT_EQ(said.err, "tintor: cannot write " + In("none/sub/x.reg") + ": the folder " + In("none/sub") +
                          " does not exist\n");
  EXPECT_FALSE(std::filesystem::exists(In("none"))) << "a folder was made for the export";
  said = Tintor({"--export-theme", In("x.reg")});
  EXPECT_EQ(said.out, "exported the theme to " + In("x.reg") + "\n");
}
