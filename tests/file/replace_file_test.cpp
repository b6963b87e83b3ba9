// The one way the program writes a file: a disk that fails at each step
// (played through the table of system calls), what stands at the path, and
// links that another user plants.
#include "platform/file/replace_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "platform/file/system_calls.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

bool Replace(const std::string& path, const std::string& bytes, LinkAtPath link, FileError* error,
             bool durable = false) {
  return ReplaceFile(path, bytes, ReplaceOptions{.link = link, .durable = durable}, error);
}

class ReplaceFileTest : public ::testing::Test {
 protected:
  ReplaceFileTest() : system_(FileSystemCalls()) {
    std::string pattern = fs::temp_directory_path().string() + "/tintor-file-XXXXXX";
    dir_ = ::mkdtemp(pattern.data());
  }
  ~ReplaceFileTest() override {
    FileSystemCalls() = system_;
    fs::remove_all(dir_);
  }
  // Names in the folder other than `keep`: what a failed write left behind.
  int Leftovers(const std::string& keep) const {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(dir_)) n += entry.path().filename() != keep;
    return n;
  }
  const SystemCalls system_;
  std::string dir_;
};

// Each call of the disk at fault, one at a time: what is written is the
// whole new file or nothing, and the old file stays whole.
TEST_F(ReplaceFileTest, ADiskFailingAtEachStepLeavesTheOldFileWhole) {
  static int calls;  // of the call at fault, in this case
  struct Case {
    const char* what;
    std::function<void(SystemCalls&)> fault;
    int error_number;  // 0: the write succeeds anyway
  } cases[] = {
      {"short writes", [](SystemCalls& c) {
         c.write = [](int fd, const void* b, size_t n) { return ::write(fd, b, n < 7 ? n : 7); };
       }, 0},
      {"an interrupted write", [](SystemCalls& c) {
         c.write = [](int fd, const void* b, size_t n) -> ssize_t {
           if (calls++ % 2 == 0) return errno = EINTR, -1;
           return ::write(fd, b, n < 100 ? n : 100);
         };
       }, 0},
      {"a full disk midway", [](SystemCalls& c) {
         c.write = [](int fd, const void* b, size_t n) -> ssize_t {
           if (calls++ > 0) return errno = ENOSPC, -1;
           return ::write(fd, b, n / 2);
         };
       }, ENOSPC},
      {"a failed fsync", [](SystemCalls& c) { c.fsync = [](int) { return errno = EIO, -1; }; }, EIO},
      {"a failed rename", [](SystemCalls& c) {
         c.renameat = [](int, const char*, int, const char*) { return errno = EXDEV, -1; };
       }, EXDEV},
  };
  const std::string path = dir_ + "/picture.png";
  const std::string old_bytes(1000, 'o');
  const std::string new_bytes(3000, 'n');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Write(path, old_bytes);
    calls = 0;
    c.fault(FileSystemCalls());
    FileError error;
    const bool ok = Replace(path, new_bytes, LinkAtPath::kRefuse, &error, true);
    FileSystemCalls() = system_;
    EXPECT_EQ(ok, c.error_number == 0) << error.reason;
    EXPECT_EQ(error.error_number, c.error_number);
    EXPECT_EQ(Read(path), ok ? new_bytes : old_bytes);
    EXPECT_EQ(Leftovers("picture.png"), 0);
  }
}

TEST_F(ReplaceFileTest, WhatStandsAtThePathDecides) {
  const std::string file = dir_ + "/a.png", hard = dir_ + "/hard", target = dir_ + "/target";
  const std::string link = dir_ + "/link.png", folder = dir_ + "/folder.png", pipe = dir_ + "/pipe.png";
  Write(file, "old");
  ASSERT_EQ(::link(file.c_str(), hard.c_str()), 0);
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
  }
  FileError error;
  // A hard link keeps the old content; the file keeps its mode and owner.
  ASSERT_TRUE(Replace(file, "new", LinkAtPath::kRefuse, &error)) << error.reason;
  EXPECT_EQ(Read(file) + Read(hard), "newold");
  struct stat st;
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(st.st_uid, 65534u);
  }

  // A symbolic link: refused, replaced, or written through, as asked.
  Write(target, "target");
  fs::create_symlink(target, link);
  EXPECT_FALSE(Replace(link, "x", LinkAtPath::kRefuse, &error));
  EXPECT_NE(error.reason.find("symbolic link"), std::string::npos) << error.reason;
  ASSERT_TRUE(Replace(link, "through", LinkAtPath::kWriteThrough, &error)) << error.reason;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(target), "through");
  ASSERT_TRUE(Replace(link, "instead", LinkAtPath::kReplace, &error)) << error.reason;
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(Read(link) + Read(target), "insteadthrough");

  // A folder or a pipe is nobody's picture to replace.
  fs::create_directory(folder);
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& path : {folder, pipe}) {
    EXPECT_FALSE(Replace(path, "x", LinkAtPath::kReplace, &error)) << path;
    EXPECT_NE(error.reason.find("nothing is written"), std::string::npos) << error.reason;
  }
  EXPECT_TRUE(fs::is_directory(folder) && fs::is_fifo(pipe));

  // A new file takes the mode less the umask.
  const mode_t mask = ::umask(077);
  const bool made = Replace(dir_ + "/new.png", "n", LinkAtPath::kRefuse, &error);
  ::umask(mask);
  ASSERT_TRUE(made) << error.reason;
  ASSERT_EQ(::stat((dir_ + "/new.png").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// Root in an ordinary folder that another user may write to: that user's
// links, on the way or at the name, are never followed, whatever the
// kernel's own link protection; root's own link is.
TEST_F(ReplaceFileTest, RootNeverFollowsAnotherUsersLink) {
  if (::geteuid() != 0 || ::getpwuid(65534) == nullptr) GTEST_SKIP() << "needs root and a second user";
  const std::string open = dir_ + "/open", victim_dir = dir_ + "/private", victim = victim_dir + "/victim";
  fs::create_directories(victim_dir);
  Write(victim, "precious");
  fs::create_directory(open);
  ASSERT_EQ(::chmod(dir_.c_str(), 0711), 0);
  ASSERT_EQ(::chmod(open.c_str(), 0777), 0);  // not sticky
  const pid_t child = ::fork();
  if (child == 0) {
    const bool planted = ::setgid(65534) == 0 && ::setuid(65534) == 0 &&
                         ::symlink(victim.c_str(), (open + "/shot.png").c_str()) == 0 &&
                         ::symlink(victim_dir.c_str(), (open + "/sub").c_str()) == 0;
    ::_exit(planted ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  FileError error;
  for (const std::string& path : {open + "/shot.png", open + "/sub/victim", open + "/sub/new.png"}) {
    for (LinkAtPath rule : {LinkAtPath::kWriteThrough, LinkAtPath::kRefuse}) {
      EXPECT_FALSE(Replace(path, "x", rule, &error)) << path;
      EXPECT_NE(error.reason.find(rule == LinkAtPath::kRefuse ? "symbolic link" : "belongs to another user"),
                std::string::npos) << error.reason;
    }
  }
  EXPECT_FALSE(ReplaceFile(open + "/sub/deeper/x.png", "x", {.make_folders = true}, &error));
  EXPECT_EQ(Read(victim), "precious");
  EXPECT_EQ(std::distance(fs::directory_iterator(victim_dir), {}), 1);
  // Root's own link is followed.
  fs::create_symlink(victim_dir, open + "/mine");
  EXPECT_TRUE(Replace(open + "/mine/victim", "root's", LinkAtPath::kRefuse, &error)) << error.reason;
  EXPECT_EQ(Read(victim), "root's");
}

}  // namespace
