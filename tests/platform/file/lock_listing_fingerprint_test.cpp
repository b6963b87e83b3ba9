// The lock beside a file (its bound, what it refuses at its name), a
// folder's listing, and a file's fingerprint, each as its callers rely on it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/file/fingerprint.h"
#include "platform/file/folder.h"
#include "platform/file/lock_file.h"
#include "tests/support/another_process.h"

namespace {

namespace fs = std::filesystem;

class FileLayerTest : public ::testing::Test {
 protected:
  ~FileLayerTest() override { fs::remove_all(dir_); }
  FilePlace Place(const std::string& name) {
    FilePlace place;
    FileError error;
    EXPECT_TRUE(FindPlace(dir_ + "/" + name, false, false, &place, &error)) << error.reason;
    return place;
  }
  FileFingerprint Print(const std::string& name) {
    struct stat st;
    FileError error;
    return LookAt(dir_ + "/" + name, false, &st, &error) ? FingerprintOf(st) : FileFingerprint{};
  }
  std::string pattern_ = fs::temp_directory_path().string() + "/tintor-layer-XXXXXX";
  const std::string dir_ = ::mkdtemp(pattern_.data());
};

}  // namespace

// Held by another process past the bound: refused, saying so; let go while
// waited for: taken. At its name, a link, a folder or a pipe is refused and
// nothing blocks.
TEST_F(FileLayerTest, TheLockIsBoundedAndTakesOnlyAnOrdinaryFile) {
  const FilePlace place = Place("registry.reg");
  FileDescriptor lock;
  FileError error;
  ASSERT_TRUE(TakeLock(place, "registry.reg.lock", {.wait_ms = 1000}, &lock, &error)) << error.reason;
  EXPECT_EQ(fs::status(dir_ + "/registry.reg.lock").type(), fs::file_type::regular);
  int held[2], go[2];
  ASSERT_EQ(::pipe(held), 0);
  ASSERT_EQ(::pipe(go), 0);
  lock.Reset();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {  // another process: holds the lock until told to let go
    const int fd = ::open((dir_ + "/registry.reg.lock").c_str(), O_RDONLY);
    char c = 0;
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(held[1], "h", 1) != 1 || ::read(go[0], &c, 1) != 1) ::_exit(1);
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(held[0], &c, 1), 1);
  EXPECT_FALSE(TakeLock(place, "registry.reg.lock", {.wait_ms = 1000}, &lock, &error));
  EXPECT_EQ(error.error_number, ETIMEDOUT);
  EXPECT_EQ(error.reason, "another process has held it for 1 s");
  ASSERT_EQ(::write(go[1], "g", 1), 1);
  EXPECT_TRUE(TakeLock(place, "registry.reg.lock", {.wait_ms = 60000}, &lock, &error)) << error.reason;
  ::waitpid(child, nullptr, 0);
  for (int fd : {held[0], held[1], go[0], go[1]}) ::close(fd);
  lock.Reset();

  fs::create_symlink(dir_ + "/elsewhere.lock", dir_ + "/link.lock");
  fs::create_directory(dir_ + "/folder.lock");
  ASSERT_EQ(::mkfifo((dir_ + "/pipe.lock").c_str(), 0600), 0);
  EXPECT_FALSE(TakeLock(place, "link.lock", {}, &lock, &error));
  EXPECT_EQ(error.error_number, ELOOP);
  EXPECT_EQ(error.reason, "it is a symbolic link, which is never followed");
  EXPECT_FALSE(fs::exists(dir_ + "/elsewhere.lock")) << "made through the link";
  for (const char* name : {"folder.lock", "pipe.lock"}) {
    EXPECT_FALSE(TakeLock(place, name, {}, &lock, &error)) << name;
    EXPECT_EQ(error.error_number, EINVAL) << name;
    EXPECT_EQ(error.reason, "it is not an ordinary file") << name;
  }
}

// Every name but "." and "..", hidden ones too; through this user's link at
// the folder's own name; a folder that is not there is said to be missing.
TEST_F(FileLayerTest, AListingHoldsEveryNameOnce) {
  fs::create_directory(dir_ + "/themes");
  for (const char* name : {"春.reg", ".夏.reg.Ab3dEf", "sub"}) std::ofstream(dir_ + "/themes/" + name) << "x";
  fs::create_directory_symlink(dir_ + "/themes", dir_ + "/link");
  std::vector<std::string> names, through_link;
  FileError error;
  ASSERT_TRUE(ListFolder(dir_ + "/themes", &names, &error)) << error.reason;
  ASSERT_TRUE(ListFolder(dir_ + "/link", &through_link, &error)) << error.reason;
  std::sort(names.begin(), names.end());
  std::sort(through_link.begin(), through_link.end());
  EXPECT_EQ(names, (std::vector<std::string>{".夏.reg.Ab3dEf", "sub", "春.reg"}));
  EXPECT_EQ(through_link, names);
  EXPECT_FALSE(ListFolder(dir_ + "/missing", &names, &error));
  EXPECT_EQ(error.error_number, ENOENT);
}

// Untouched, a file keeps its fingerprint; an append, a write of the same
// length, a replacement by rename each change it; a link's own fingerprint
// is not its target's; nothing there has none.
TEST_F(FileLayerTest, AFingerprintChangesWithEveryChangeOfTheFile) {
  std::ofstream(dir_ + "/f") << "one";
  const FileFingerprint first = Print("f");
  ASSERT_TRUE(first.exists);
  EXPECT_EQ(Print("f"), first);
  InAnotherProcess([&] { std::ofstream(dir_ + "/f", std::ios::app) << "two"; });
  const FileFingerprint appended = Print("f");
  EXPECT_NE(appended, first);
  EXPECT_EQ(appended.size, 6);
  // The same length written in place: only the times tell.
  const timespec long_ago[2] = {{1, 0}, {1, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (dir_ + "/f").c_str(), long_ago, 0), 0);
  const FileFingerprint dated = Print("f");
  InAnotherProcess([&] { std::ofstream(dir_ + "/f") << "onetwo"; });
  EXPECT_NE(Print("f"), dated);
  EXPECT_EQ(Print("f").inode, dated.inode);
  std::ofstream(dir_ + "/g") << "onetwo";
  fs::rename(dir_ + "/g", dir_ + "/f");
  EXPECT_NE(Print("f").inode, dated.inode);
  fs::create_symlink(dir_ + "/f", dir_ + "/l");
  EXPECT_NE(Print("l"), Print("f"));
  EXPECT_FALSE(Print("none").exists);
}
