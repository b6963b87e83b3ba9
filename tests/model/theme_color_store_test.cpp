// WriteThemeColor over the real registry, each test with a registry file of its own.
#include "model/theme_color_store.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

#include "model/theme_targets.h"
#include "platform/win/registry.h"
#include "tests/platform/win/handle_count.h"
#include "tests/platform/win/reg_test_util.h"
#include "tests/platform/win/temp_registry.h"
#include "tests/platform/win/write_fault.h"

namespace {

bool KeyExists(LPCWSTR subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, 0, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

class ThemeColorStore : public ::testing::Test {
 protected:
  void TearDown() override {
    SetWriteFault(WriteFault{});
    EXPECT_EQ(RegistryOpenHandleCount(), 0u) << "a key handle was left open";
  }
  TempRegistry registry_;
};

TEST_F(ThemeColorStore, FirstWriteIntoFreshRegistryCreatesKeyAndValue) {
  ASSERT_FALSE(registry_.Exists());
  ASSERT_FALSE(KeyExists(kAppColorsKey));
  EXPECT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, kAppColorsKey, u"MUSIC_LYRIC_SHADOW_COLOR",
                              0x00215E21u, true));
  EXPECT_TRUE(registry_.Exists());
  EXPECT_TRUE(KeyExists(u"\\SOFTWARE\\Meizu\\Theme\\Colors"));
  const QueryResult s = QueryValue(HKEY_LOCAL_MACHINE, kAppColorsKey, u"MUSIC_LYRIC_SHADOW_COLOR");
  ASSERT_EQ(s.status, ERROR_SUCCESS);
  EXPECT_EQ(s.type, REG_DWORD);
  EXPECT_EQ(s.data, Le32(0x00215E21u));
}

TEST_F(ThemeColorStore, SameValueTwiceLeavesOneDword) {
  const std::string_view dword_line = "SYSCLR_WINDOW_BG";
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_WINDOW_BG",
                                0x00ECECECu, true)) << "write " << i;
  }
  const QueryResult s = QueryValue(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_WINDOW_BG");
  ASSERT_EQ(s.status, ERROR_SUCCESS);
  EXPECT_EQ(s.type, REG_DWORD);
  EXPECT_EQ(s.data, Le32(0x00ECECECu));
  // The file holds the name once (UTF-16LE, so look for it with zero bytes between).
  std::string needle;
  for (char c : dword_line) needle += std::string{c, '\0'};
  const std::string bytes = registry_.ReadBytes();
  const std::size_t first = bytes.find(needle);
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(bytes.find(needle, first + 1), std::string::npos);
}

TEST_F(ThemeColorStore, DifferentColourReplacesTheOldOne) {
  ASSERT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_LIST_TEXT", 0x000000FFu, true));
  ASSERT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_LIST_TEXT", 0x00FF7F00u, true));
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_LIST_TEXT").data, Le32(0x00FF7F00u));
}

TEST_F(ThemeColorStore, BlackIsFourZeroBytesAndTopBytesSurvive) {
  const std::uint32_t colours[] = {0u, 0x0338FAA2u, 0x04338D5Eu, 0x059D5D9Au, 0xFFFFFFFFu};
  for (std::uint32_t c : colours) {
    SCOPED_TRACE(c);
    ASSERT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, kAppColorsKey, u"CANLENDAR_TITLE_STATIC", c, true));
    const QueryResult s = QueryValue(HKEY_LOCAL_MACHINE, kAppColorsKey, u"CANLENDAR_TITLE_STATIC");
    ASSERT_EQ(s.status, ERROR_SUCCESS);
    EXPECT_EQ(s.type, REG_DWORD);
    EXPECT_EQ(s.data, Le32(c));
    DWORD read_back = 1;
    EXPECT_TRUE(RegistryReadDword(HKEY_LOCAL_MACHINE, kAppColorsKey, u"canlendar_title_static", &read_back));
    EXPECT_EQ(read_back, c);
  }
  EXPECT_EQ(Le32(0x0338FAA2u), (std::vector<BYTE>{0xA2, 0xFA, 0x38, 0x03}));
}

TEST_F(ThemeColorStore, OpenOnlyOnMissingKeyFailsAndCreatesNothing) {
  EXPECT_FALSE(WriteThemeColor(HKEY_LOCAL_MACHINE, kAppColorsKey, u"MUTE_ONOFF_TIPS_COLOR", 5, false));
  EXPECT_FALSE(registry_.Exists());
  EXPECT_FALSE(KeyExists(u"\\SOFTWARE"));
  // With the parent present but the key itself missing, still nothing appears.
  ASSERT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_EDIT_TEXT", 7, true));
  const std::string before = registry_.ReadBytes();
  EXPECT_FALSE(WriteThemeColor(HKEY_LOCAL_MACHINE, kAppColorsKey, u"MUTE_ONOFF_TIPS_COLOR", 5, false));
  EXPECT_FALSE(KeyExists(kAppColorsKey));
  EXPECT_EQ(registry_.ReadBytes(), before);
  // An existing key opens and is written.
  EXPECT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_EDIT_TEXT", 9, false));
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_EDIT_TEXT").data, Le32(9));
}

TEST_F(ThemeColorStore, FailingSetValueStillClosesTheKey) {
  ASSERT_TRUE(WriteThemeColor(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_STATIC_TEXT", 1, true));
  const std::string before = registry_.ReadBytes();
  // The key opens (it exists, so opening writes nothing), then the disk fills up.
  SetWriteFault(WriteFault{10, false, ENOSPC});
  EXPECT_FALSE(WriteThemeColor(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_STATIC_TEXT", 2, true));
  EXPECT_EQ(RegistryOpenHandleCount(), 0u);
  SetWriteFault(WriteFault{-1, true, EIO});
  EXPECT_FALSE(WriteThemeColor(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_STATIC_TEXT", 3, false));
  EXPECT_EQ(RegistryOpenHandleCount(), 0u);
  SetWriteFault(WriteFault{});
  EXPECT_EQ(registry_.ReadBytes(), before);
  EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_STATIC_TEXT").data, Le32(1));
}

TEST_F(ThemeColorStore, UnreadableFileOrBadRootFailsWithoutLeakingHandles) {
  const std::string garbage = "not a registry file\n";
  registry_.WriteBytes(garbage);
  EXPECT_FALSE(WriteThemeColor(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_WINDOW_BG", 1, true));
  EXPECT_FALSE(WriteThemeColor(HKEY_LOCAL_MACHINE, kSystemColorsKey, u"SYSCLR_WINDOW_BG", 1, false));
  EXPECT_EQ(registry_.ReadBytes(), garbage);
  EXPECT_FALSE(WriteThemeColor(nullptr, kSystemColorsKey, u"SYSCLR_WINDOW_BG", 1, true));
  EXPECT_FALSE(WriteThemeColor(reinterpret_cast<HKEY>(0x80000004u), kSystemColorsKey, u"X", 1, true));
}

}  // namespace
