// The one watch of files and folders: what it tells, of which target, and
// what it says and does when the system gives no watch.
#include "platform/file/file_watch.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file/system_calls.h"
#include "tests/support/another_process.h"

namespace {

namespace fs = std::filesystem;

class FileWatchTest : public ::testing::Test {
 protected:
  ~FileWatchTest() override {
    FileSystemCalls() = system_;
    fs::remove_all(dir_);
  }
  // What the watch tells within 5 s of something readable; at once when
  // `expect_nothing` (another process's change is queued when it ends).
  static std::vector<bool> Told(FileWatch& watch, bool expect_nothing = false) {
    pollfd p{watch.fd(), POLLIN, 0};
    if (::poll(&p, 1, expect_nothing ? 0 : 5000) <= 0) return std::vector<bool>(2);
    return watch.Drain();
  }
  static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

  const SystemCalls system_ = FileSystemCalls();
  std::string pattern_ = fs::temp_directory_path().string() + "/tintor-watch-XXXXXX";
  const std::string dir_ = ::mkdtemp(pattern_.data());
};

const std::vector<bool> kFile{true, false}, kFolder{false, true}, kNone{false, false};

}  // namespace

// A file and a folder watched at once, neither there yet: each change is
// told of its own target only, by whatever process makes it.
TEST_F(FileWatchTest, TellsEachTargetOfItsOwnChangesFromAnyProcess) {
  const std::string file = dir_ + "/data/registry.reg", folder = dir_ + "/data/themes";
  FileWatch watch({{file, FileWatch::Kind::kFile}, {folder, FileWatch::Kind::kFolder}});
  ASSERT_TRUE(watch.following()) << watch.problem();

  InAnotherProcess([&] { fs::create_directories(dir_ + "/data"); });
  Told(watch);  // the folder on the way: neither changed yet, or looked at again
  InAnotherProcess([&] { Write(file, "one"); });
  EXPECT_EQ(Told(watch), kFile) << "a file made where none was";
  InAnotherProcess([&] { fs::create_directory(folder); });
  EXPECT_EQ(Told(watch), kFolder) << "the folder made";
  InAnotherProcess([&] { Write(folder + "/春.reg", "spring"); });
  EXPECT_EQ(Told(watch), kFolder) << "an entry added";
  InAnotherProcess([&] {
    Write(folder + "/.夏.reg.tmp", "summer");
    fs::rename(folder + "/.夏.reg.tmp", folder + "/夏.reg");
  });
  EXPECT_EQ(Told(watch), kFolder) << "an entry put in place by a rename";
  InAnotherProcess([&] { fs::remove(folder + "/春.reg"); });
  EXPECT_EQ(Told(watch), kFolder) << "an entry removed";
  InAnotherProcess([&] {
    Write(dir_ + "/data/.registry.tmp", "two");
    fs::rename(dir_ + "/data/.registry.tmp", file);
  });
  EXPECT_EQ(Told(watch), kFile) << "the file replaced by a rename";
  // Another file beside the file is no news; nor is nothing.
  InAnotherProcess([&] { Write(dir_ + "/data/other.txt", "x"); });
  EXPECT_EQ(Told(watch), kNone);
  EXPECT_EQ(Told(watch, true), kNone);
  // The folder removed and made again: both told, and followed after.
  InAnotherProcess([&] { fs::remove_all(folder); });
  EXPECT_EQ(Told(watch), kFolder);
  InAnotherProcess([&] { fs::create_directory(folder); });
  EXPECT_EQ(Told(watch), kFolder);
  InAnotherProcess([&] { Write(folder + "/秋.reg", "autumn"); });
  EXPECT_EQ(Told(watch), kFolder) << "the new folder is not followed";
  // The folder above moved away and another made in its place: both told,
  // and the new place followed.
  InAnotherProcess([&] { fs::rename(dir_ + "/data", dir_ + "/old"); });
  EXPECT_EQ(Told(watch), (std::vector<bool>{true, true}));
  InAnotherProcess([&] { fs::create_directories(folder); });
  EXPECT_EQ(Told(watch), (std::vector<bool>{true, true}));
  InAnotherProcess([&] { Write(folder + "/冬.reg", "winter"); });
  EXPECT_EQ(Told(watch), kFolder) << "the folder made in the old one's place is not followed";
  InAnotherProcess([&] { Write(dir_ + "/old/themes/春.reg", "spring"); });
  EXPECT_EQ(Told(watch, true), kNone) << "the folder moved away is still watched";
}

// Behind a link, the target's folder is watched, and a link that points
// elsewhere is followed there.
TEST_F(FileWatchTest, FollowsALinkToWhereItPointsNow) {
  fs::create_directories(dir_ + "/a");
  fs::create_directories(dir_ + "/b");
  const std::string link = dir_ + "/themes";
  fs::create_directory_symlink(dir_ + "/a", link);
  FileWatch watch({{dir_ + "/registry.reg"}, {link, FileWatch::Kind::kFolder}});
  ASSERT_TRUE(watch.following()) << watch.problem();
  InAnotherProcess([&] { Write(dir_ + "/a/一.reg", "1"); });
  EXPECT_EQ(Told(watch), kFolder);
  InAnotherProcess([&] {
    fs::remove(link);
    fs::create_directory_symlink(dir_ + "/b", link);
  });
  EXPECT_EQ(Told(watch), kFolder) << "the link pointed elsewhere";
  InAnotherProcess([&] { Write(dir_ + "/b/二.reg", "2"); });
  EXPECT_EQ(Told(watch), kFolder) << "the link's new target is not followed";
  InAnotherProcess([&] { Write(dir_ + "/a/三.reg", "3"); });
  EXPECT_EQ(Told(watch, true), kNone) << "the old target is still watched";
}

// Without inotify, or without a watch left, it says why in whole and looks
// at each target itself whenever it is drained.
TEST_F(FileWatchTest, WithoutAWatchItSaysWhyAndLooks) {
  const std::string file = dir_ + "/registry.reg", folder = dir_ + "/themes";
  fs::create_directory(folder);
  FileSystemCalls().inotify_init1 = [](int) { return errno = EMFILE, -1; };
  {
    FileWatch watch({{file}, {folder, FileWatch::Kind::kFolder}});
    EXPECT_EQ(watch.fd(), -1);
    EXPECT_EQ(watch.problem(), "cannot watch " + file + ": " + std::strerror(EMFILE));
    EXPECT_FALSE(watch.following());
    EXPECT_EQ(watch.Drain(), kNone);
    Write(file, "one");
    EXPECT_EQ(watch.Drain(), kFile);
    Write(folder + "/春.reg", "spring");
    EXPECT_EQ(watch.Drain(), kFolder);
    EXPECT_EQ(watch.Drain(), kNone);
  }
  FileSystemCalls() = system_;
  FileSystemCalls().inotify_add_watch = [](int, const char*, std::uint32_t) { return errno = ENOSPC, -1; };
  FileWatch watch({{file}, {folder, FileWatch::Kind::kFolder}});
  EXPECT_GE(watch.fd(), 0);
  EXPECT_EQ(watch.problem(), "cannot watch " + folder + ": " + std::strerror(ENOSPC));
  EXPECT_FALSE(watch.following());
  fs::remove(folder + "/春.reg");
  EXPECT_EQ(watch.Drain(), kFolder);
  EXPECT_EQ(FileWatch(std::vector<FileWatch::Target>{}).problem(), "nothing to watch: no path is known");
}
