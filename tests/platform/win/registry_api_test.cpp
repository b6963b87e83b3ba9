// The registry calls as the program and the shell use them: roots, paths,
// names, typed values, handles and where the file lives.
#include "platform/win/registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/win/registry_hive.h"
#include "tests/platform/win/handle_count.h"
#include "tests/platform/win/reg_test_util.h"
#include "tests/platform/win/temp_registry.h"

namespace {

class RegistryApi : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(RegistryOpenHandleCount(), 0u) << "a handle was left open"; }
  TempRegistry registry_;
};

TEST_F(RegistryApi, PathsAcceptALeadingBackslashAndIgnoreCase) {
  DWORD disposition = 0;
  ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, u"\\SOFTWARE\\Meizu\\Theme", &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  const LPCWSTR same[] = {u"SOFTWARE\\Meizu\\Theme", u"\\software\\MEIZU\\theme", u"Software\\Meizu\\Theme\\"};
  for (LPCWSTR path : same) {
    disposition = 0;
    EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, path, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  // The case of the first creation is what the file keeps.
  const std::string bytes = registry_.ReadBytes();
  EXPECT_NE(bytes.find(Utf16File(u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme]", false)), std::string::npos);
  EXPECT_EQ(bytes.find(Utf16File(u"MEIZU", false)), std::string::npos);
  // The roots are separate trees.
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"SOFTWARE", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExW(HKEY_USERS, u"SOFTWARE", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"SOFTWARE", 0, 0, &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryApi, MalformedPathsAreRefused) {
  const LPCWSTR bad[] = {u"A\\\\B", u"\\\\A", u"A\\B\\\\", u"A\r\nB", u"\\"};
  for (LPCWSTR path : bad) {
    HKEY key = nullptr;
    const LONG status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, 0, nullptr, &key, nullptr);
    if (std::u16string_view(path) == u"\\") {
      // A lone backslash names the root itself.
      EXPECT_EQ(status, ERROR_SUCCESS);
      RegCloseKey(key);
      continue;
    }
    EXPECT_EQ(status, ERROR_INVALID_PARAMETER);
  }
  const std::u16string too_long(256, u'k');
  EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, too_long.c_str()), ERROR_INVALID_PARAMETER);
  const std::u16string longest(255, u'k');
  EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, longest.c_str()), ERROR_SUCCESS);
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"A", 0, nullptr, 0, 0, nullptr, nullptr, nullptr),
            ERROR_INVALID_PARAMETER);
}

// Keys nest at most 512 levels, counted from the root, whether the path is
// given whole or relative to an open key; a refused path writes nothing.
TEST_F(RegistryApi, KeysNestAtMost512Levels) {
  auto path_of = [](std::size_t depth) {
    std::u16string path;
    for (std::size_t i = 0; i < depth; ++i) path += i == 0 ? u"d" : u"\\d";
    return path;
  };
  ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, path_of(RegistryHive::kMaxDepth).c_str()), ERROR_SUCCESS);
  const std::string before = registry_.ReadBytes();
  EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, path_of(RegistryHive::kMaxDepth + 1).c_str()), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(CreateKey(HKEY_LOCAL_MACHINE, path_of(1000000).c_str()), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(registry_.ReadBytes(), before);
  HKEY deep = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_of(RegistryHive::kMaxDepth - 2).c_str(), 0, 0, &deep), ERROR_SUCCESS);
  HKEY out = nullptr;
  EXPECT_EQ(RegCreateKeyExW(deep, u"x\\y", 0, nullptr, 0, 0, nullptr, &out, nullptr), ERROR_SUCCESS);
  RegCloseKey(out);
  EXPECT_EQ(RegCreateKeyExW(deep, u"x\\y\\z", 0, nullptr, 0, 0, nullptr, &out, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegOpenKeyExW(deep, u"x\\y\\z", 0, 0, &out), ERROR_INVALID_PARAMETER);
  RegCloseKey(deep);
  const std::string after = registry_.ReadBytes();
  EXPECT_EQ(after.find(Utf16File(u"\\x\\y\\z]", false)), std::string::npos);
  EXPECT_NE(after.find(Utf16File(u"\\x\\y]", false)), std::string::npos);
}

TEST_F(RegistryApi, ValueNamesIgnoreCaseAndKeepTheirFirstCase) {
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, u"K", u"Colour", REG_DWORD, Le32(1)), ERROR_SUCCESS);
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, u"k", u"COLOUR", REG_DWORD, Le32(2)), ERROR_SUCCESS);
  const QueryResult r = QueryValue(HKEY_CURRENT_USER, u"K", u"colour");
  ASSERT_EQ(r.status, ERROR_SUCCESS);
  EXPECT_EQ(r.data, Le32(2));
  const std::string bytes = registry_.ReadBytes();
  EXPECT_NE(bytes.find(Utf16File(u"\"Colour\"=dword:00000002", false)), std::string::npos);
  // Case folding reaches beyond ASCII.
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, u"Été", u"Ωmega", REG_DWORD, Le32(3)), ERROR_SUCCESS);
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, u"éTÉ", u"ωMEGA").data, Le32(3));
}

// Names match whatever their case in every script that has case, as on the
// phone, and stay apart when they differ in more than case.
TEST_F(RegistryApi, NamesIgnoreCaseInEveryCasedScript) {
  struct Pair {
    int line;
    std::u16string_view created;
    std::u16string_view looked_up;
    bool same;
  };
  const Pair pairs[] = {
      {__LINE__, u"Été", u"éTÉ", true},
      {__LINE__, u"ω", u"Ω", true},
      {__LINE__, u"ā", u"Ā", true},            // Latin Extended-A
      {__LINE__, u"łódź", u"ŁÓDŹ", true},
      {__LINE__, u"ÿ", u"Ÿ", true},            // U+00FF and U+0178
      {__LINE__, u"ǎ", u"Ǎ", true},            // Latin Extended-B
      {__LINE__, u"ά", u"Ά", true},            // Greek with tonos
      {__LINE__, u"ς", u"Σ", true},            // final sigma
      {__LINE__, u"ѣ", u"Ѣ", true},            // Cyrillic beyond the basic block
      {__LINE__, u"ґ", u"Ґ", true},
      {__LINE__, u"ա", u"Ա", true},            // Armenian
      {__LINE__, u"ạ", u"Ạ", true},            // Latin Extended Additional
      {__LINE__, u"ｚ", u"Ｚ", true},          // full width
      {__LINE__, u"e", u"é", false},
      {__LINE__, u"S", u"Σ", false},
      {__LINE__, u"字", u"子", false},
      {__LINE__, u"😀", u"😁", false},
      {__LINE__, u"𐐨", u"𐐀", false},  // outside the 16-bit range: kept apart
  };
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.line);
    // A key of its own for each pair, under a parent named after the line.
    const std::string parent = "Case" + std::to_string(p.line) + "\\";
    const std::u16string key = std::u16string(parent.begin(), parent.end()) + std::u16string(p.created);
    const std::u16string other = std::u16string(parent.begin(), parent.end()) + std::u16string(p.looked_up);
    ASSERT_EQ(SetValue(HKEY_CURRENT_USER, key.c_str(), p.created.data(), REG_DWORD, Le32(1)), ERROR_SUCCESS);
    DWORD disposition = 0;
    ASSERT_EQ(CreateKey(HKEY_CURRENT_USER, other.c_str(), &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, p.same ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY);
    const QueryResult r = QueryValue(HKEY_CURRENT_USER, key.c_str(), std::u16string(p.looked_up).c_str());
    EXPECT_EQ(r.status, p.same ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
  }
  // And the same holds for a file read back from disk.
  registry_.ReplaceBytes(registry_.ReadBytes());
  for (const Pair& p : pairs) {
    SCOPED_TRACE(p.line);
    if (!p.same) continue;
    const std::string parent = "Case" + std::to_string(p.line) + "\\";
    const std::u16string other = std::u16string(parent.begin(), parent.end()) + std::u16string(p.looked_up);
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, other.c_str(), std::u16string(p.looked_up).c_str()).data, Le32(1));
  }
}

TEST_F(RegistryApi, EveryTypeKeepsItsBytesExactly) {
  struct Case {
    DWORD type;
    std::vector<BYTE> data;
  };
  std::vector<BYTE> big(5000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<BYTE>(i * 31);
  const Case cases[] = {
      {REG_NONE, {}},
      {REG_SZ, SzBytes(u"字 \"q\" \\ ;")},
      {REG_SZ, Bytes({0x41})},
      {REG_EXPAND_SZ, SzBytes(u"%HOME%")},
      {REG_BINARY, big},
      {REG_DWORD, Le32(0)},
      {REG_DWORD, Bytes({1, 2})},
      {REG_DWORD_BIG_ENDIAN, Bytes({0, 0, 0, 1})},
      {REG_LINK, Bytes({0xFF})},
      {REG_MULTI_SZ, Bytes({0x61, 0, 0, 0, 0, 0})},
      {REG_QWORD, Bytes({1, 2, 3, 4, 5, 6, 7, 0x80})},
      {0xFFFFFFFFu, Bytes({9})},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::u16string name = u"v" + std::u16string(1, static_cast<char16_t>(u'a' + i));
    ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"Types", name.c_str(), cases[i].type, cases[i].data), ERROR_SUCCESS);
  }
  // Read back both from this process's memory and from a freshly parsed file.
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {
      // The same bytes as a new file, as an editor saves it: the next read parses it.
      registry_.ReplaceBytes(registry_.ReadBytes());
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      SCOPED_TRACE("pass " + std::to_string(pass) + " case " + std::to_string(i));
      const std::u16string name = u"v" + std::u16string(1, static_cast<char16_t>(u'a' + i));
      const QueryResult r = QueryValue(HKEY_LOCAL_MACHINE, u"Types", name.c_str());
      ASSERT_EQ(r.status, ERROR_SUCCESS);
      EXPECT_EQ(r.type, cases[i].type);
      EXPECT_EQ(r.data, cases[i].data);
    }
  }
}

TEST_F(RegistryApi, QueryReportsSizesAndShortBuffers) {
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, u"Q", u"v", REG_BINARY, Bytes({1, 2, 3, 4, 5, 6})), ERROR_SUCCESS);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Q", 0, 0, &key), ERROR_SUCCESS);
  DWORD type = 0;
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(type, REG_BINARY);
  BYTE small[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 6u);
  BYTE exact[6] = {};
  size = sizeof exact;
  EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, exact, &size), ERROR_SUCCESS);
  EXPECT_EQ(exact[5], 6);
  EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, exact, nullptr), ERROR_INVALID_PARAMETER);
  DWORD reserved = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"v", &reserved, nullptr, nullptr, &size), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExW(key, u"missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegSetValueExW(key, u"w", 0, REG_BINARY, nullptr, 3), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegSetValueExW(key, u"bad\nname", 0, REG_BINARY, exact, 1), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  DWORD v = 0;
  EXPECT_FALSE(RegistryReadDword(HKEY_CURRENT_USER, u"Q", u"v", &v)) << "a binary is not a dword";
  EXPECT_FALSE(RegistryReadDword(HKEY_CURRENT_USER, u"Q", u"missing", &v));
  EXPECT_FALSE(RegistryReadDword(HKEY_CURRENT_USER, u"NoKey", u"v", &v));
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, u"Q", u"three", REG_DWORD, Bytes({1, 2, 3})), ERROR_SUCCESS);
  EXPECT_FALSE(RegistryReadDword(HKEY_CURRENT_USER, u"Q", u"three", &v)) << "3 bytes is not a dword";
  ASSERT_EQ(SetValue(HKEY_CURRENT_USER, u"Q", u"d", REG_DWORD, Le32(0x80000001u)), ERROR_SUCCESS);
  EXPECT_TRUE(RegistryReadDword(HKEY_CURRENT_USER, u"Q", u"d", &v));
  EXPECT_EQ(v, 0x80000001u);
}

TEST_F(RegistryApi, UnknownAndClosedHandlesAreRefused) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"H", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegistryOpenHandleCount(), 1u);
  // A subkey path relative to an open handle.
  HKEY child = nullptr;
  ASSERT_EQ(RegCreateKeyExW(key, u"Child", 0, nullptr, 0, 0, nullptr, &child, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(child, u"x", 0, REG_DWORD, Le32(5).data(), 4), ERROR_SUCCESS);
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, u"H\\Child", u"x").data, Le32(5));
  EXPECT_EQ(RegCloseKey(child), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegistryOpenHandleCount(), 0u);

  const BYTE data[4] = {};
  DWORD size = 4;
  const HKEY bad[] = {key, child, nullptr, reinterpret_cast<HKEY>(0x80000004u),
                      reinterpret_cast<HKEY>(0x7FFFFFFFu), reinterpret_cast<HKEY>(static_cast<UINT_PTR>(-1))};
  for (HKEY h : bad) {
    SCOPED_TRACE(reinterpret_cast<UINT_PTR>(h));
    HKEY out = nullptr;
    EXPECT_EQ(RegSetValueExW(h, u"x", 0, REG_DWORD, data, 4), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExW(h, u"x", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(h), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExW(h, u"Child", 0, 0, &out), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCreateKeyExW(h, u"Child", 0, nullptr, 0, 0, nullptr, &out, nullptr), ERROR_INVALID_HANDLE);
  }
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS) << "closing a root is harmless";
  // Values set directly on a root.
  EXPECT_EQ(RegSetValueExW(HKEY_USERS, u"top", 0, REG_DWORD, data, 4), ERROR_SUCCESS);
  EXPECT_NE(registry_.ReadBytes().find(Utf16File(u"[HKEY_USERS]\r\n\"top\"=dword:00000000", false)),
            std::string::npos);
}

TEST_F(RegistryApi, OpeningWritesNothingAndCreatingAMissingKeyPersists) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Missing", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(registry_.Exists()) << "a missing file is an empty registry, not something to create";
  ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, u"A\\B"), ERROR_SUCCESS);
  ASSERT_TRUE(registry_.Exists());
  const auto written = std::filesystem::last_write_time(registry_.path());
  const std::string bytes = registry_.ReadBytes();
  EXPECT_NE(bytes.find(Utf16File(u"[HKEY_LOCAL_MACHINE\\A\\B]", false)), std::string::npos);
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"A\\B", 0, 0, &key), ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(CreateKey(HKEY_LOCAL_MACHINE, u"a\\b"), ERROR_SUCCESS);
  EXPECT_EQ(registry_.ReadBytes(), bytes);
  EXPECT_EQ(std::filesystem::last_write_time(registry_.path()), written);
}

TEST_F(RegistryApi, HandleOfARemovedKeyReportsItInsteadOfRecreating) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Doomed", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
  // Another program rewrites the file without the key.
  registry_.WriteBytes(Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Other]\r\n\r\n"));
  const BYTE data[4] = {1, 2, 3, 4};
  EXPECT_NE(RegSetValueExW(key, u"v", 0, REG_DWORD, data, 4), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_NE(RegQueryValueExW(key, u"v", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  HKEY child = nullptr;
  EXPECT_NE(RegCreateKeyExW(key, u"Child", 0, nullptr, 0, 0, nullptr, &child, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  HKEY probe = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Doomed", 0, 0, &probe), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Other", 0, 0, &probe), ERROR_SUCCESS);
  RegCloseKey(probe);
}

// Changes made in a transaction wait for its commit and then land together,
// or not at all: rolled back, or when a key they need went away meanwhile.
TEST_F(RegistryApi, TransactionsWriteAllTheirChangesAtCommitOrNone) {
  const BYTE one[4] = {1, 0, 0, 0};
  for (int outcome = 0; outcome < 3; ++outcome) {  // commit, rollback, key gone
    ASSERT_EQ(SetValue(HKEY_LOCAL_MACHINE, u"Gone\\Deep", u"old", REG_DWORD, Le32(7)), ERROR_SUCCESS);
    const std::string before = registry_.ReadBytes();
    HANDLE t = CreateTransaction(nullptr, nullptr, 0, 0, 0, 0, nullptr);
    HKEY key = nullptr;
    HKEY gone = nullptr;
    ASSERT_EQ(RegCreateKeyTransactedW(HKEY_LOCAL_MACHINE, u"New", 0, nullptr, 0, 0, nullptr, &key, nullptr, t, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyTransactedW(HKEY_LOCAL_MACHINE, u"Gone\\Deep", 0, 0, &gone, t, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, u"a", 0, REG_DWORD, one, 4), ERROR_SUCCESS);
    EXPECT_EQ(RegSetKeyValueW(key, u"Sub", u"b", REG_DWORD, one, 4), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyValueW(key, u"Missing", u"c"), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(gone, u"new", 0, REG_DWORD, one, 4), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueW(gone, u"old"), ERROR_SUCCESS);
    EXPECT_EQ(registry_.ReadBytes(), before) << "written before the commit";
    if (outcome == 2) {
      registry_.ReplaceBytes(Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Gone]\r\n\r\n"));
    }
    const std::string at_commit = registry_.ReadBytes();
    const BOOL committed = outcome == 1 ? RollbackTransaction(t) : CommitTransaction(t);
    EXPECT_EQ(committed, outcome == 1 ? TRUE : static_cast<BOOL>(outcome == 0));
    if (outcome == 2) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BADKEY));
    }
    EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"New\\Sub", u"b").status, outcome == 0 ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND);
    if (outcome == 0) {
      EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"Gone\\Deep", u"old").status, ERROR_FILE_NOT_FOUND);
      EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, u"New", u"a").data, Le32(1));
    } else {
      EXPECT_EQ(registry_.ReadBytes(), at_commit);
    }
    // The transaction is over: its keys change nothing any more.
    EXPECT_EQ(RegSetValueExW(key, u"late", 0, REG_DWORD, one, 4), ERROR_TRANSACTION_NOT_ACTIVE);
    EXPECT_EQ(CommitTransaction(t), FALSE);
    RegCloseKey(key);
    RegCloseKey(gone);
    EXPECT_EQ(CloseHandle(t), TRUE);
    registry_.WriteBytes(Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n"));
  }
}

// Where the file lives when TINTOR_REGISTRY does not say. The place is
// decided at start, so each change of the environment is followed by a start.
class RegistryLocation : public ::testing::Test {
 public:
  static void Start() { RegistryUseFile(HiveFile::DefaultPath()); }

 protected:
  void SetUp() override {
    Save("HOME", &home_);
    Save("XDG_DATA_HOME", &xdg_);
    ::unsetenv("TINTOR_REGISTRY");
  }
  void TearDown() override {
    Restore("HOME", home_);
    Restore("XDG_DATA_HOME", xdg_);
  }
  static void Save(const char* name, std::optional<std::string>* out) {
    const char* v = std::getenv(name);
    if (v != nullptr) *out = v;
  }
  static void Restore(const char* name, const std::optional<std::string>& v) {
    if (v) {
      ::setenv(name, v->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  TempRegistry scratch_;  // only its folder is used
  std::optional<std::string> home_;
  std::optional<std::string> xdg_;
};

// The user's folders are read once per process, so each start is a process
// of its own, as it is for a user; it says by its exit status whether the
// value it found was `expect` (0: none) and whether it could write `write`.
int StartedProcess(DWORD expect, DWORD write) {
  const pid_t child = ::fork();
  if (child == 0) {
    RegistryLocation::Start();
    const auto found = QueryValue(HKEY_CURRENT_USER, u"L", u"v");
    const bool as_expected = expect == 0 ? found.status == ERROR_FILE_NOT_FOUND : found.data == Le32(expect);
    const bool written = write == 0 || SetValue(HKEY_CURRENT_USER, u"L", u"v", REG_DWORD, Le32(write)) == ERROR_SUCCESS;
    ::_exit((as_expected ? 0 : 1) | (written ? 0 : 2));
  }
  int status = -1;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

TEST_F(RegistryLocation, DataHomeThenHomeThenTheNamedFile) {
  ::unsetenv("TINTOR_REGISTRY");
  const std::string xdg = scratch_.dir() + "/xdg";
  const std::string home = scratch_.dir() + "/home";
  ::setenv("XDG_DATA_HOME", xdg.c_str(), 1);
  ::setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(StartedProcess(0, 1), 0);
  EXPECT_TRUE(std::filesystem::exists(xdg + "/tintor/registry.reg")) << "folders are created as needed";

  ::setenv("XDG_DATA_HOME", "relative/path", 1);  // not absolute: ignored
  EXPECT_EQ(StartedProcess(0, 2), 0);
  EXPECT_TRUE(std::filesystem::exists(home + "/.local/share/tintor/registry.reg"));
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(StartedProcess(2, 0), 0);

  const std::string named = scratch_.dir() + "/elsewhere/my.reg";
  ::setenv("TINTOR_REGISTRY", named.c_str(), 1);
  EXPECT_EQ(StartedProcess(0, 3), 0);
  EXPECT_TRUE(std::filesystem::exists(named));
  ::setenv("XDG_DATA_HOME", xdg.c_str(), 1);
  ::unsetenv("TINTOR_REGISTRY");
  EXPECT_EQ(StartedProcess(1, 0), 0) << "each place keeps its own content";
  Start();
  ::setenv("TINTOR_REGISTRY", named.c_str(), 1);
  EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, u"L", u"v").data, Le32(1)) << "the place stays as decided at start";
}

}  // namespace
