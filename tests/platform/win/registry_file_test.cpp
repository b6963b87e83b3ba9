// The registry file under stress: other processes, writers killed mid-write,
// concurrent writers, files that cannot be read, places that cannot be
// written, a disk that fills up, and leftovers of a crash.
#include "platform/win/hive_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <pwd.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/win/reg_file_format.h"
#include "platform/win/registry.h"
#include "tests/platform/win/handle_count.h"
#include "tests/platform/win/reg_test_util.h"
#include "tests/platform/win/temp_registry.h"
#include "tests/platform/win/write_fault.h"

namespace {

// Runs `body` in a forked child and returns its exit code (128 + signal if
// killed, 127 if an exception escaped, as it would end a real program).
int RunInChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    try {
      ::_exit(body());
    } catch (...) {
      ::_exit(127);
    }
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A writer process's work: values "p<P>_0" to "p<P>_<count-1>" under
// HKCU\Shared, each as REG_DWORD. Returns the writer's exit code.
int WriteNumberedValues(int p, int count, const std::function<DWORD(int)>& value_of) {
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Shared", 0, 0, &k) != ERROR_SUCCESS) return 1;
  for (int i = 0; i < count; ++i) {
    const std::string name = "p" + std::to_string(p) + "_" + std::to_string(i);
    const std::u16string wname(name.begin(), name.end());
    if (RegSetValueExW(k, wname.c_str(), 0, REG_DWORD, Le32(value_of(i)).data(), 4) !=
        ERROR_SUCCESS) {
      return 2;
    }
  }
  RegCloseKey(k);
  return 0;
}

template <typename Pids>
void ExpectChildrenExitedCleanly(const Pids& pids) {
  for (pid_t pid : pids) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
  }
}

// The file parsed straight from disk, bypassing what this process remembers.
bool ParseOnDisk(const TempRegistry& registry, RegistryHive* hive, std::string* error) {
  const std::string bytes = registry.ReadBytes();
  return ParseRegFile(bytes.data(), bytes.size(), hive, error);
}

DWORD DwordOf(const RegistryValue* value) {
  if (value == nullptr || value->data.size() != 4) return 0xDEADBEEF;
  return value->data[0] | (value->data[1] << 8) | (value->data[2] << 16) |
         (static_cast<DWORD>(value->data[3]) << 24);
}

// Whether a temporary file of the registry is left in `dir`.
bool TemporaryLeftIn(const std::string& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().filename().string().rfind(".registry.reg.", 0) == 0) return true;
  }
  return false;
}

class RegistryFile : public ::testing::Test {
 protected:
  void TearDown() override {
    SetWriteFault(WriteFault{});
    EXPECT_EQ(RegistryOpenHandleCount(), 0u);
  }
  bool TempExists() const { return TemporaryLeftIn(registry_.dir()); }
  TempRegistry registry_;
};

TEST_F(RegistryFile, AnotherProcessReadsWhatThisOneWrote) {
  int go[2];
  ASSERT_EQ(::pipe(go), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    char c;
    ::close(go[1]);
    if (::read(go[0], &c, 1) != 1) ::_exit(3);
    DWORD v = 0;
    if (!RegistryReadDword(HKEY_LOCAL_MACHINE, u"\\SOFTWARE\\Meizu\\Theme\\Colors", u"SYSCLR_WINDOW_BG", &v)) ::_exit(1);
    ::_exit(v == 0x0338FAA2u ? 0 : 2);
  }
  ::close(go[0]);
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"\\SOFTWARE\\Meizu\\Theme\\Colors", u"SYSCLR_WINDOW_BG",
                     REG_DWORD, Le32(0x0338FAA2u)), ERROR_SUCCESS);
  ASSERT_EQ(::write(go[1], "g", 1), 1);
  ::close(go[1]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: value missing, 2: wrong value, 3: pipe";
}

TEST_F(RegistryFile, ThisProcessSeesEveryChangeAnotherMakes) {
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, u"Shared", u"v", REG_DWORD, Le32(0)), ERROR_SUCCESS);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Shared", 0, 0, &key), ERROR_SUCCESS);
  for (DWORD round = 1; round <= 20; ++round) {
    SCOPED_TRACE(round);
    // Same size every time: only the file's identity tells the change.
    const int code = RunInChild([round] {
      return SetValue(HKEY_CURRENT_USER, u"Shared", u"v", REG_DWORD, Le32(round)) == ERROR_SUCCESS ? 0 : 1;
    });
    ASSERT_EQ(code, 0);
    BYTE data[4] = {};
    DWORD size = 4;
    ASSERT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::vector<BYTE>(data, data + 4), Le32(round));
    // And a write from here keeps what the other process added.
    const std::u16string mine = u"mine" + std::u16string(1, static_cast<char16_t>(u'A' + round));
    ASSERT_EQ(RegSetValueExW(key, mine.c_str(), 0, REG_DWORD, data, 4), ERROR_SUCCESS);
  }
  RegCloseKey(key);
  RegistryHive hive;
  std::string error;
  ASSERT_TRUE(ParseOnDisk(registry_, &hive, &error)) << error;
  EXPECT_EQ(hive.ValueCount(), 21u);
  EXPECT_EQ(DwordOf(hive.Find(1, {u"Shared"})->FindValue(u"v")), 20u);
}

TEST_F(RegistryFile, WriterKilledAtRandomMomentsLeavesOldOrNewValue) {
  // Some bulk, so that a write takes long enough to be interrupted inside.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Bulk", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
  for (int i = 0; i < 200; ++i) {
    const std::u16string name = u"value" + std::u16string(1, static_cast<char16_t>(0x4E00 + i));
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, REG_BINARY, std::vector<BYTE>(40, static_cast<BYTE>(i)).data(), 40), ERROR_SUCCESS);
  }
  ASSERT_EQ(RegSetValueExW(key, u"Counter", 0, REG_DWORD, Le32(0).data(), 4), ERROR_SUCCESS);
  RegCloseKey(key);

  // Kills land within a few writes' time after the writer is ready, however
  // fast this machine (or a sanitizer build) writes.
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"Bulk", u"Counter", REG_DWORD, Le32(0)), ERROR_SUCCESS);
    ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"Bulk", u"Counter", REG_DWORD, Le32(1)), ERROR_SUCCESS);
  }
  const auto write_us = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - t0).count() / 10 + 1;
  std::mt19937 rng(2024);
  DWORD last = 1;
  int advanced = 0;
  int temps_left = 0;
  for (int iteration = 0; iteration < 100; ++iteration) {
    SCOPED_TRACE(iteration);
    const DWORD start = last + 1;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
      HKEY k = nullptr;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Bulk", 0, 0, &k) != ERROR_SUCCESS) ::_exit(1);
      // Ready once one write is done: however slow this machine is just now,
      // every kill comes after a write that must be kept.
      if (RegSetValueExW(k, u"Counter", 0, REG_DWORD, Le32(start).data(), 4) != ERROR_SUCCESS) ::_exit(2);
      if (::write(ready[1], "r", 1) != 1) ::_exit(3);
      for (DWORD v = start + 1;; ++v) {
        if (RegSetValueExW(k, u"Counter", 0, REG_DWORD, Le32(v).data(), 4) != ERROR_SUCCESS) ::_exit(2);
      }
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    ::usleep(static_cast<useconds_t>(rng() % static_cast<unsigned>(3 * write_us)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself with " << WEXITSTATUS(status);

    RegistryHive hive;
    std::string error;
    ASSERT_TRUE(ParseOnDisk(registry_, &hive, &error)) << error;
    const DWORD now = DwordOf(hive.Find(2, {u"Bulk"})->FindValue(u"Counter"));
    ASSERT_GE(now, start) << "a finished write was lost";
    ASSERT_EQ(hive.ValueCount(), 201u);
    advanced += static_cast<int>(now - start);
    last = now;
    if (TempExists()) ++temps_left;
  }
  // The lock died with its holder; the leftover temporary file goes with the next write.
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"Bulk", u"Counter", REG_DWORD, Le32(last + 1)), ERROR_SUCCESS);
  EXPECT_FALSE(TempExists());
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"Bulk", u"Counter").data, Le32(last + 1));
  std::printf("[ info ] one write ~%lld us; counter reached %u; %d writes after the first of "
              "each writer; %d kills left a temporary file\n",
              static_cast<long long>(write_us), static_cast<unsigned>(last), advanced, temps_left);
}

TEST_F(RegistryFile, TwoProcessesWriting200ValuesEachLoseNothing) {
  ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, u"Shared"), ERROR_SUCCESS);
  pid_t pids[2];
  for (int p = 0; p < 2; ++p) {
    pids[p] = ::fork();
    if (pids[p] == 0) {
      ::_exit(WriteNumberedValues(p, 200, [p](int i) { return static_cast<DWORD>(p * 1000 + i); }));
    }
  }
  ASSERT_NO_FATAL_FAILURE(ExpectChildrenExitedCleanly(pids));
  RegistryHive hive;
  std::string error;
  ASSERT_TRUE(ParseOnDisk(registry_, &hive, &error)) << error;
  EXPECT_EQ(hive.ValueCount(), 400u);
  for (int p = 0; p < 2; ++p) {
    for (int i = 0; i < 200; ++i) {
      const std::string name = "p" + std::to_string(p) + "_" + std::to_string(i);
      const std::u16string wname(name.begin(), name.end());
      const QueryResult r = QueryValue(HKEY_CURRENT_USER, u"Shared", wname.c_str());
      ASSERT_EQ(r.status, ERROR_SUCCESS) << name;
      EXPECT_EQ(r.data, Le32(static_cast<DWORD>(p * 1000 + i))) << name;
    }
  }
}

TEST_F(RegistryFile, UnreadableFilesAreRefusedAndLeftByteForByte) {
  const std::u16string good_text =
      u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"v\"=dword:00000001\r\n\r\n";
  const std::string good = Utf16File(good_text);
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"garbage", "\x7F" "ELF\x02\x01\x01 not a registry at all \x00\xFF"},
      {"truncated mid-line", good.substr(0, good.size() - 9)},
      {"truncated inside a character", good.substr(0, good.size() - 1)},
      {"half UTF-16", good + "A"},
      {"zeros", std::string(64, '\0')},
      {"UTF-16 without header", Utf16File(u"[HKEY_LOCAL_MACHINE\\K]\r\n")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    registry_.ReplaceBytes(good);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"K", 0, 0, &key), ERROR_SUCCESS);
    registry_.ReplaceBytes(c.bytes);

    EXPECT_NE(RegSetValueExW(key, u"v", 0, REG_DWORD, Le32(2).data(), 4), ERROR_SUCCESS);
    EXPECT_NE(std::string(RegistryLastErrorMessage()).find("cannot be read"), std::string::npos)
        << RegistryLastErrorMessage();
    DWORD size = 0;
    EXPECT_NE(RegQueryValueExW(key, u"v", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    HKEY other = nullptr;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"K", 0, 0, &other), ERROR_SUCCESS);
    EXPECT_NE(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"New", 0, nullptr, 0, 0, nullptr, &other, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(registry_.ReadBytes(), c.bytes);
    EXPECT_FALSE(TempExists());
  }
  // Once the file is sound again, everything works.
  registry_.ReplaceBytes(good);
  EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(3)), ERROR_SUCCESS);
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"K", u"v").data, Le32(3));
}

TEST_F(RegistryFile, AnEmptyFileIsAnEmptyRegistry) {
  registry_.ReplaceBytes("");
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"K", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(registry_.ReadBytes(), "") << "opening nothing writes nothing";
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(7)), ERROR_SUCCESS);
  RegistryHive hive;
  std::string error;
  ASSERT_TRUE(ParseOnDisk(registry_, &hive, &error)) << error;
  EXPECT_EQ(hive.ValueCount(), 1u);
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"K", u"v").data, Le32(7));
}

TEST_F(RegistryFile, ReadOnlyFolderIsReportedAsAnError) {
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(1)), ERROR_SUCCESS);
  const std::string before = registry_.ReadBytes();
  ASSERT_EQ(::chmod(registry_.dir().c_str(), 0555), 0);
  int results[2];
  ASSERT_EQ(::pipe(results), 0);
  const int code = RunInChild([&] {
    // chmod does not stop root, so write as an ordinary user.
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) return 9;
    LONG statuses[3];
    statuses[0] = SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(2));
    statuses[1] = CreateKey(HKEY_LOCAL_MACHINE, u"NewKey");
    statuses[2] = QueryValue(HKEY_LOCAL_MACHINE, u"K", u"v").status;
    return ::write(results[1], statuses, sizeof statuses) == sizeof statuses ? 0 : 8;
  });
  ::chmod(registry_.dir().c_str(), 0700);
  ASSERT_EQ(code, 0);
  LONG statuses[3] = {-1, -1, -1};
  ASSERT_EQ(::read(results[0], statuses, sizeof statuses), static_cast<ssize_t>(sizeof statuses));
  ::close(results[0]);
  ::close(results[1]);
  EXPECT_EQ(statuses[0], ERROR_ACCESS_DENIED);
  EXPECT_EQ(statuses[1], ERROR_ACCESS_DENIED);
  EXPECT_EQ(statuses[2], ERROR_SUCCESS) << "reading still works";
  EXPECT_EQ(registry_.ReadBytes(), before);
}

TEST_F(RegistryFile, FolderThatCannotBeMadeIsAnError) {
  const std::string blocker = registry_.dir() + "/not-a-folder";
  { std::ofstream(blocker) << "a file where the folder should be"; }
  const std::string path = blocker + "/registry.reg";
  RegistryUseFile(path);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"K", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, u"K"), ERROR_CANTWRITE);
  EXPECT_NE(std::string(RegistryLastErrorMessage()).find("not-a-folder"), std::string::npos);
  EXPECT_EQ(RegSetValueExW(HKEY_LOCAL_MACHINE, u"v", 0, REG_DWORD, Le32(1).data(), 4), ERROR_CANTWRITE);
  std::ifstream in(blocker);
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "a file where the folder should be");
  RegistryUseFile(registry_.path());
}

TEST_F(RegistryFile, DiskFullMidwayKeepsTheOldFile) {
  for (int i = 0; i < 30; ++i) {
    const std::u16string name = u"n" + std::u16string(1, static_cast<char16_t>(u'A' + i));
    ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", name.c_str(), REG_DWORD, Le32(static_cast<DWORD>(i))), ERROR_SUCCESS);
  }
  const std::string before = registry_.ReadBytes();
  const long long size = static_cast<long long>(before.size());
  struct Case {
    long long after;
    bool fsync;
    int error;
    LONG expected;
  };
  const Case cases[] = {
      {0, false, ENOSPC, ERROR_DISK_FULL},        {1, false, ENOSPC, ERROR_DISK_FULL},
      {2, false, ENOSPC, ERROR_DISK_FULL},        {size / 2, false, ENOSPC, ERROR_DISK_FULL},
      {size - 1, false, ENOSPC, ERROR_DISK_FULL}, {size / 3, false, EDQUOT, ERROR_DISK_FULL},
      {size / 2, false, EIO, ERROR_CANTWRITE},    {-1, true, EIO, ERROR_CANTWRITE},
      {-1, true, ENOSPC, ERROR_DISK_FULL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("after " + std::to_string(c.after) + " bytes, fsync " + std::to_string(c.fsync) +
                 ", errno " + std::to_string(c.error));
    SetWriteFault(WriteFault{c.after, c.fsync, c.error});
    EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"nA", REG_DWORD, Le32(999)), c.expected);
    EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, u"K\\Sub"), c.expected);
    SetWriteFault(WriteFault{});
    EXPECT_EQ(registry_.ReadBytes(), before);
    EXPECT_FALSE(TempExists());
    // What this process reads agrees with the disk, not with the failed change.
    EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"K", u"nA").data, Le32(0));
    HKEY sub = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"K\\Sub", 0, 0, &sub), ERROR_FILE_NOT_FOUND);
  }
  EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"nA", REG_DWORD, Le32(999)), ERROR_SUCCESS);
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"K", u"nA").data, Le32(999));
}

TEST_F(RegistryFile, FullDiskOnTheVeryFirstWriteLeavesNoFile) {
  SetWriteFault(WriteFault{5, false, ENOSPC});
  EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(1)), ERROR_DISK_FULL);
  SetWriteFault(WriteFault{});
  EXPECT_FALSE(registry_.Exists());
  EXPECT_FALSE(TempExists());
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"K", 0, 0, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryFile, StaleTemporaryFileIsIgnoredAndCleanedUp) {
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(1)), ERROR_SUCCESS);
  const std::string temp = registry_.dir() + "/.registry.reg.Ab12Cd";
  const std::string half = Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"v\"=dwo");
  { std::ofstream(temp, std::ios::binary) << half; }
  // Not ours to remove (where we may tell): another user's file.
  const std::string others = registry_.dir() + "/.registry.reg.Zz99Yy";
  { std::ofstream(others) << "someone else's"; }
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(others.c_str(), 65534, 65534), 0);
  }

  // A reader ignores the leftover.
  {
    HiveFile reader(registry_.path());
    const RegistryHive* hive = nullptr;
    ASSERT_EQ(reader.Load(&hive), ERROR_SUCCESS);
    EXPECT_EQ(DwordOf(hive->Find(2, {u"K"})->FindValue(u"v")), 1u);
  }
  // A writer, holding the lock, knows it for a crash's leftover and removes it.
  EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(2)), ERROR_SUCCESS);
  EXPECT_FALSE(std::filesystem::exists(temp));
  EXPECT_EQ(std::filesystem::exists(others), root);
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"K", u"v").data, Le32(2));
}

TEST_F(RegistryFile, ReplacedFileKeepsItsPermissions) {
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(1)), ERROR_SUCCESS);
  ASSERT_EQ(::chmod(registry_.path().c_str(), 0600), 0);
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(2)), ERROR_SUCCESS);
  struct stat st;
  ASSERT_EQ(::stat(registry_.path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

}  // namespace

namespace {

// What one process sees of a registry path that holds no ordinary file: the
// statuses of a read and a write, or the signal that stopped it.
struct ChildStatuses {
  LONG read = -1;
  LONG write = -1;
};

int ProbeInChild(ChildStatuses* out) {
  int results[2];
  if (::pipe(results) != 0) return -1;
  const int code = RunInChild([&] {
    ::alarm(10);  // a read that blocks for ever ends the child with SIGALRM
    ChildStatuses s;
    s.read = QueryValue(HKEY_LOCAL_MACHINE, u"K", u"v").status;
    s.write = SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(1));
    return ::write(results[1], &s, sizeof s) == sizeof s ? 0 : 8;
  });
  if (code == 0 && ::read(results[0], out, sizeof *out) != static_cast<ssize_t>(sizeof *out)) {
    ::close(results[0]);
    ::close(results[1]);
    return -2;
  }
  ::close(results[0]);
  ::close(results[1]);
  return code;
}

TEST_F(RegistryFile, HugeFilesAndNonFilesAreRefusedWithoutCrashOrHang) {
  struct Case {
    const char* what;
    std::function<void(const std::string&)> make;
  };
  const Case cases[] = {
      {"1 TiB sparse file", [](const std::string& p) { ASSERT_EQ(::truncate(p.c_str(), 1LL << 40), 0); }},
      {"one byte over the size limit",
       [](const std::string& p) { ASSERT_EQ(::truncate(p.c_str(), HiveFile::kMaxFileSize + 1), 0); }},
      {"a folder", [](const std::string& p) {
         ASSERT_EQ(::unlink(p.c_str()), 0);
         ASSERT_EQ(::mkdir(p.c_str(), 0755), 0);
       }},
      {"a named pipe", [](const std::string& p) {
         ASSERT_EQ(::unlink(p.c_str()), 0);
         ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0);
       }},
      {"a link to itself", [](const std::string& p) {
         ASSERT_EQ(::unlink(p.c_str()), 0);
         ASSERT_EQ(::symlink(p.c_str(), p.c_str()), 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(registry_.path());
    ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(7)), ERROR_SUCCESS);
    c.make(registry_.path());
    struct stat before;
    ASSERT_EQ(::lstat(registry_.path().c_str(), &before), 0);

    ChildStatuses s;
    ASSERT_EQ(ProbeInChild(&s), 0) << "the registry threw (127), crashed or hung (128 + signal)";
    EXPECT_NE(s.read, ERROR_SUCCESS);
    EXPECT_NE(s.write, ERROR_SUCCESS);
    // And in this process, with a clear reason.
    EXPECT_NE(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(2)), ERROR_SUCCESS);
    EXPECT_NE(std::string(RegistryLastErrorMessage()).find(registry_.path()), std::string::npos)
        << RegistryLastErrorMessage();
    struct stat after;
    ASSERT_EQ(::lstat(registry_.path().c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode) << "what was there is left in place";
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_FALSE(TempExists());
  }
}

}  // namespace

namespace {

// A user who keeps the registry file elsewhere and links it into place expects
// the writes to reach that file and the link to stay a link.
TEST_F(RegistryFile, WritesGoThroughASymbolicLinkToItsTarget) {
  const std::string real_dir = registry_.dir() + "/real";
  ASSERT_EQ(::mkdir(real_dir.c_str(), 0755), 0);
  const std::string target = real_dir + "/kept.reg";
  struct Case {
    const char* what;
    std::string link_text;  // what the link at the registry path says
    bool target_exists;
  };
  const Case cases[] = {
      {"relative link to an existing file", "real/kept.reg", true},
      {"absolute link to an existing file", target, true},
      {"link to a file not made yet", "real/kept.reg", false},
      {"link to a link", "second-link", true},
  };
  const std::string second = registry_.dir() + "/second-link";
  ASSERT_EQ(::symlink("real/kept.reg", second.c_str()), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::unlink(registry_.path().c_str());
    ::unlink(target.c_str());
    ASSERT_EQ(::symlink(c.link_text.c_str(), registry_.path().c_str()), 0);
    if (c.target_exists) {
      const std::string bytes = Utf16File(
          u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"old\"=dword:00000001\r\n\r\n");
      std::ofstream(target, std::ios::binary) << bytes;
    }
    ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"new", REG_DWORD, Le32(2)), ERROR_SUCCESS)
        << RegistryLastErrorMessage();
    struct stat st;
    ASSERT_EQ(::lstat(registry_.path().c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link was replaced by a file";
    // The target holds the change, and whoever reads the target sees it.
    RegistryHive hive;
    std::string error;
    std::ifstream in(target, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(ParseRegFile(bytes.data(), bytes.size(), &hive, &error)) << error;
    const RegistryKey* k = hive.Find(2, {u"K"});
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(DwordOf(k->FindValue(u"new")), 2u);
    if (c.target_exists) {
      EXPECT_EQ(DwordOf(k->FindValue(u"old")), 1u);
    }
    EXPECT_FALSE(TempExists());
    EXPECT_FALSE(TemporaryLeftIn(real_dir));
  }

  // Writers through the link and writers naming the target share one lock.
  ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, u"Shared"), ERROR_SUCCESS);
  pid_t pids[2];
  for (int p = 0; p < 2; ++p) {
    pids[p] = ::fork();
    if (pids[p] == 0) {
      if (p == 1) RegistryUseFile(target);
      ::_exit(WriteNumberedValues(p, 100, [](int) { return DWORD{1}; }));
    }
  }
  ASSERT_NO_FATAL_FAILURE(ExpectChildrenExitedCleanly(pids));
  HKEY shared = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Shared", 0, 0, &shared), ERROR_SUCCESS);
  int found = 0;
  for (int p = 0; p < 2; ++p) {
    for (int i = 0; i < 100; ++i) {
      const std::string name = "p" + std::to_string(p) + "_" + std::to_string(i);
      const std::u16string wname(name.begin(), name.end());
      DWORD size = 0;
      if (RegQueryValueExW(shared, wname.c_str(), nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) ++found;
    }
  }
  RegCloseKey(shared);
  EXPECT_EQ(found, 200) << "updates were lost between the two ways to the file";
}

}  // namespace

namespace {

// Whatever is written can be read again: a change that would make the file
// larger than a registry file may be is refused, and the old file stays.
TEST_F(RegistryFile, AChangeThatWouldOutgrowTheFileIsRefused) {
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"small", REG_DWORD, Le32(5)), ERROR_SUCCESS);
  const std::string before = registry_.ReadBytes();
  // Each byte takes at least "xx," in UTF-16: six bytes of file.
  const std::vector<BYTE> too_big(static_cast<std::size_t>(HiveFile::kMaxFileSize / 6), 0xAB);
  EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"big", REG_BINARY, too_big), ERROR_CANTWRITE);
  EXPECT_NE(std::string(RegistryLastErrorMessage()).find("MiB"), std::string::npos) << RegistryLastErrorMessage();
  EXPECT_TRUE(registry_.ReadBytes() == before) << "the file changed";
  EXPECT_FALSE(TempExists());
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"K", u"big").status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"K", u"small").data, Le32(5));

  // A value that keeps the file under the limit is written, and a fresh
  // reader reads the file back.
  const std::vector<BYTE> fits(static_cast<std::size_t>(HiveFile::kMaxFileSize / 8), 0xCD);
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"big", REG_BINARY, fits), ERROR_SUCCESS);
  HiveFile reader(registry_.path());
  const RegistryHive* hive = nullptr;
  ASSERT_EQ(reader.Load(&hive), ERROR_SUCCESS) << reader.last_error();
  EXPECT_EQ(hive->Find(2, {u"K"})->FindValue(u"big")->data.size(), fits.size());
}

// A file that grows between the look at its size and its reading is read to
// its end, and refused once it is past the size a registry file may have:
// the look is played by the system calls, saying 10 bytes whatever it is.
TEST_F(RegistryFile, AFileThatGrowsWhileItIsReadIsReadToItsEndOrRefusedPastTheLimit) {
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"grown", REG_DWORD, Le32(7)), ERROR_SUCCESS);
  SystemCalls& calls = FileSystemCalls();
  calls.fstat = [](int fd, struct stat* status) {
    const int result = write_fault::kSystem.fstat(fd, status);
    if (result == 0 && S_ISREG(status->st_mode)) status->st_size = 10;
    return result;
  };
  calls.fstatat = [](int dir, const char* name, struct stat* status, int flags) {
    const int result = write_fault::kSystem.fstatat(dir, name, status, flags);
    if (result == 0 && S_ISREG(status->st_mode)) status->st_size = 10;
    return result;
  };
  HiveFile reader(registry_.path());
  const RegistryHive* hive = nullptr;
  ASSERT_EQ(reader.Load(&hive), ERROR_SUCCESS) << reader.last_error();
  EXPECT_EQ(hive->Find(2, {u"K"})->FindValue(u"grown")->Dword(), 7u);

  ASSERT_EQ(::truncate(registry_.path().c_str(), HiveFile::kMaxFileSize + 1), 0);
  EXPECT_EQ(reader.Load(&hive), ERROR_REGISTRY_CORRUPT);
  EXPECT_EQ(reader.last_error(),
            "the registry file " + registry_.path() + " is larger than 64 MiB and is left as it is");
  SetWriteFault(WriteFault{});
}

// Nor is a change written that would make the file hold more keys and values
// than a file of its size may be read with: 400,000 empty values in one key.
TEST_F(RegistryFile, AChangeThatWouldHoldMoreThanTheFileMayIsRefused) {
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"small", REG_DWORD, Le32(5)), ERROR_SUCCESS);
  const std::string before = registry_.ReadBytes();
  HiveFile file(registry_.path());
  const LONG status = file.Update([](RegistryHive& hive, bool& modified) {
    RegistryKey* key = hive.Find(2, {u"K"});
    for (int i = 0; i < 400000; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "v%06d", i);
      key->SetValue(std::u16string(name, name + 7), REG_BINARY, {});
    }
    modified = true;
    return ERROR_SUCCESS;
  });
  // The file it would be, in UTF-16 units: the header line (38), the key's
  // section (26), "small" (24), each '"v000000"=hex:' and its line break
  // (16) and the last line break (2); with the byte-order mark 12,800,182
  // bytes, which may make 2.5 times that and 16 MiB: 48,777,671 bytes.
  EXPECT_EQ(status, ERROR_CANTWRITE);
  EXPECT_EQ(file.last_error(), "the registry file " + registry_.path() +
                                   " would hold more keys and values than a file of its size may: they would take "
                                   "more than 46 MiB of memory; the change is not written");
  EXPECT_TRUE(registry_.ReadBytes() == before) << "the file changed";
  EXPECT_FALSE(TempExists());
  const RegistryHive* hive = nullptr;
  ASSERT_EQ(file.Load(&hive), ERROR_SUCCESS) << file.last_error();
  EXPECT_EQ(hive->Find(2, {u"K"})->values.size(), 1u);
}

}  // namespace

namespace {

// Root in a sticky folder that everyone may write to, as /tmp is: nothing
// another user plants there makes a write land anywhere else, and the
// owner's file stays the owner's, writable by the owner afterwards.
TEST_F(RegistryFile, RootInASharedFolderWritesNothingButTheRegistryFile) {
  if (::geteuid() != 0 || ::getpwuid(65534) == nullptr) GTEST_SKIP() << "needs root and a second user";
  const auto as_other_user = [](const std::function<int()>& body) {
    return RunInChild([&] { return ::setgid(65534) == 0 && ::setuid(65534) == 0 ? body() : 9; });
  };
  ASSERT_EQ(::chmod(registry_.dir().c_str(), 0711), 0);
  const std::string shared = registry_.dir() + "/shared";
  const std::string victim = registry_.dir() + "/private/victim";
  ASSERT_EQ(::mkdir((registry_.dir() + "/private").c_str(), 0700), 0);
  { std::ofstream(victim) << "precious"; }
  ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  const std::string file = shared + "/registry.reg";
  RegistryUseFile(file);
  const auto plant = [&](const std::vector<std::string>& names) {
    return as_other_user([&] {
      for (const std::string& name : names) {
        if (::symlink(victim.c_str(), (shared + "/" + name).c_str()) != 0) return 1;
      }
      return 0;
    });
  };

  // Links where the lock or the file itself will be: refused, nothing made.
  for (const char* name : {"registry.reg.lock", "registry.reg"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(plant({name}), 0);
    EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(1)), ERROR_ACCESS_DENIED);
    EXPECT_NE(std::string(RegistryLastErrorMessage()).find("symbolic link"), std::string::npos);
    ASSERT_EQ(as_other_user([&] { return ::unlink((shared + "/" + name).c_str()); }), 0);
  }

  // The other user's own registry file, and links at names a temporary file might take.
  ASSERT_EQ(as_other_user([&] {
    return SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(1)) == ERROR_SUCCESS &&
           ::chmod(file.c_str(), 0640) == 0 && ::unlink((file + ".lock").c_str()) == 0 ? 0 : 1;
  }), 0);
  const std::vector<std::string> traps = {"registry.reg.tmp", ".registry.reg.tmp", ".registry.reg.AAAAAA"};
  ASSERT_EQ(plant(traps), 0);
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"root", REG_DWORD, Le32(2)), ERROR_SUCCESS)
      << RegistryLastErrorMessage();
  for (const std::string& path : {file, file + ".lock"}) {
    struct stat st;
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    EXPECT_EQ(std::vector<unsigned>({st.st_uid, st.st_gid, st.st_mode & 07777u}),
              std::vector<unsigned>({65534u, 65534u, 0640u})) << path;
  }
  for (const std::string& name : traps) EXPECT_TRUE(std::filesystem::is_symlink(shared + "/" + name)) << name;
  std::ifstream in(victim);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");

  // The owner still writes, and keeps what root wrote.
  EXPECT_EQ(as_other_user([] {
    return SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(3)) == ERROR_SUCCESS &&
           QueryValue(HKEY_LOCAL_MACHINE, u"K", u"root").data == Le32(2) ? 0 : 1;
  }), 0);
  RegistryUseFile(registry_.path());
}

// Root with its data folder inside a folder another user made (not sticky):
// that user's link where the registry file or its folder will be is refused,
// and nothing is made or changed where it points.
TEST_F(RegistryFile, RootRefusesAnotherUsersLinkInAnOrdinaryFolder) {
  if (::geteuid() != 0 || ::getpwuid(65534) == nullptr) GTEST_SKIP() << "needs root and a second user";
  const std::string data = registry_.dir() + "/data", victim_dir = registry_.dir() + "/etc";
  ASSERT_EQ(::chmod(registry_.dir().c_str(), 0711), 0);
  ASSERT_EQ(::mkdir(data.c_str(), 0755), 0);
  ASSERT_EQ(::chown(data.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::mkdir(victim_dir.c_str(), 0755), 0);
  { std::ofstream(victim_dir + "/victim") << "precious"; }
  for (const std::string& file : {data + "/tintor/registry.reg", data + "/app/registry.reg"}) {
    SCOPED_TRACE(file);
    ASSERT_EQ(RunInChild([&] {
      return ::setgid(65534) == 0 && ::setuid(65534) == 0 && ::mkdir((data + "/tintor").c_str(), 0755) == 0 &&
                     ::symlink((victim_dir + "/victim").c_str(), (data + "/tintor/registry.reg").c_str()) == 0 &&
                     ::symlink(victim_dir.c_str(), (data + "/app").c_str()) == 0 ? 0 : 1;
    }), 0);
    RegistryUseFile(file);
    EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(1)), ERROR_ACCESS_DENIED);
    EXPECT_NE(std::string(RegistryLastErrorMessage()).find("symbolic link"), std::string::npos);
    std::filesystem::remove_all(data + "/tintor");
    std::filesystem::remove(data + "/app");
  }
  RegistryUseFile(registry_.path());
  std::ifstream in(victim_dir + "/victim");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(victim_dir), {}), 1) << "a lock was made";
}

// Under umask 077 the first registry file and its lock are both 0600.
TEST_F(RegistryFile, ANewLockFileTakesTheRegistryFilesMode) {
  const mode_t mask = ::umask(077);
  const LONG status = SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(1));
  ::umask(mask);
  ASSERT_EQ(status, ERROR_SUCCESS);
  for (const std::string& path : {registry_.path(), registry_.path() + ".lock"}) {
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u) << path;
  }
}

// A process that keeps the lock makes a write fail after a bounded wait,
// with the file as it was; once the lock is free, writes go through again.
TEST_F(RegistryFile, AHeldLockMakesAWriteFailNotHang) {
  ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(1)), ERROR_SUCCESS);
  const std::string before = registry_.ReadBytes();
  int held[2];
  ASSERT_EQ(::pipe(held), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    const int fd = ::open((registry_.path() + ".lock").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0 && ::flock(fd, LOCK_EX) == 0 && ::write(held[1], "h", 1) == 1) ::pause();
    ::_exit(1);
  }
  char c;
  ASSERT_EQ(::read(held[0], &c, 1), 1) << "the child could not take the lock";
  EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(2)), ERROR_CANTWRITE);
  EXPECT_NE(std::string(RegistryLastErrorMessage()).find("held the lock"), std::string::npos)
      << RegistryLastErrorMessage();
  EXPECT_EQ(registry_.ReadBytes(), before);
  EXPECT_FALSE(TempExists());
  ::kill(holder, SIGKILL);  // its lock goes with it
  ::waitpid(holder, nullptr, 0);
  EXPECT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"K", u"v", REG_DWORD, Le32(3)), ERROR_SUCCESS);
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"K", u"v").data, Le32(3));
  ::close(held[0]);
  ::close(held[1]);
}

}  // namespace
