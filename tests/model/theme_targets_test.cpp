// The target table as the menu and the registry write see it.
#include "model/theme_targets.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

std::u16string_view View(LPCWSTR s) { return std::u16string_view(s); }

TEST(ThemeTargets, MenuIdsRunFrom17To36InTableOrder) {
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) {
    EXPECT_EQ(kThemeTargets[i].menu_id, 17u + i) << "target " << i + 1;
  }
}

TEST(ThemeTargets, EveryLabelBeginsWithItsPositionAndOneSpace) {
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) {
    const std::string digits = std::to_string(i + 1);
    std::u16string prefix(digits.begin(), digits.end());
    prefix += u' ';
    const std::u16string_view label = View(kThemeTargets[i].label);
    ASSERT_GT(label.size(), prefix.size()) << "target " << i + 1;
    EXPECT_EQ(label.substr(0, prefix.size()), prefix) << "target " << i + 1;
    // The character after the space is the Chinese name, not another digit or space.
    EXPECT_GT(label[prefix.size()], u'\u2000') << "target " << i + 1;
  }
}

TEST(ThemeTargets, LabelsCarryTheirExactPunctuationAndDigits) {
  EXPECT_EQ(View(kThemeTargets[8].label), u"9 日历标题\u3001年月日\u3001星期");
  EXPECT_EQ(View(kThemeTargets[9].label), u"10 日历\u201C没有事件\u201D");
  EXPECT_EQ(View(kThemeTargets[15].label), u"16 列表次要文字2");
  EXPECT_EQ(View(kThemeTargets[16].label), u"17 列表次要文字3");
  EXPECT_EQ(View(kThemeTargets[0].label), u"1 歌词阴影");
  EXPECT_EQ(View(kThemeTargets[3].label), u"4 窗口背景");
  EXPECT_EQ(View(kThemeTargets[19].label), u"20 标签文字");
}

TEST(ThemeTargets, KeysAndValueNamesAreExact) {
  EXPECT_EQ(View(kSystemColorsKey), u"\\SOFTWARE\\Meizu\\Theme\\Colors");
  EXPECT_EQ(View(kAppColorsKey), u"\\SOFTWARE\\Meizu\\Theme\\Colors\\App");

  struct Expected {
    bool app;
    std::u16string_view value_name;
  };
  const Expected expected[kThemeTargetCount] = {
      {true, u"MUSIC_LYRIC_SHADOW_COLOR"},   {true, u"LOCKPHONE_DATE_WEEK_COLOR"},
      {true, u"LOCKPHONE_DATE_MONTH_COLOR"}, {false, u"SYSCLR_WINDOW_BG"},
      {false, u"SYSCLR_WINDOW_TEXT"},        {false, u"SYSCLR_BUTTONEX_TEXT"},
      {false, u"SYSCLR_BUTTONEX_TEXT2"},     {false, u"SYSCLR_BUTTON_TEXT"},
      {true, u"CANLENDAR_TITLE_STATIC"},     {true, u"CANLENDAR_NOEVENT_STATIC"},
      {true, u"MUTE_ONOFF_TIPS_COLOR"},      {false, u"SYSCLR_LIST_DESCRIPTION"},
      {false, u"SYSCLR_TOOLBAR_TEXT_DISABLED"}, {false, u"SYSCLR_TOOLBAR_TEXT"},
      {false, u"SYSCLR_LIST_TEXT"},          {false, u"SYSCLR_LIST_TEXT2"},
      {false, u"SYSCLR_LIST_TEXT3"},         {false, u"SYSCLR_STATIC_TEXT"},
      {false, u"SYSCLR_EDIT_TEXT"},          {false, u"SYSCLR_CAPTION_TEXT"},
  };
  int system_count = 0;
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) {
    SCOPED_TRACE("target " + std::to_string(i + 1));
    const ThemeTarget& t = kThemeTargets[i];
    EXPECT_EQ(View(t.value_name), expected[i].value_name);
    EXPECT_EQ(View(t.key), expected[i].app ? View(kAppColorsKey) : View(kSystemColorsKey));
    // Exactly the system key's values carry the SYSCLR_ prefix.
    const bool sysclr = View(t.value_name).substr(0, 7) == u"SYSCLR_";
    EXPECT_EQ(sysclr, !expected[i].app);
    system_count += expected[i].app ? 0 : 1;
  }
  EXPECT_EQ(system_count, 14);
  // The calendar values keep their nine-letter first word.
  EXPECT_EQ(View(kThemeTargets[8].value_name).substr(0, 10), u"CANLENDAR_");
  EXPECT_EQ(View(kThemeTargets[9].value_name).substr(0, 10), u"CANLENDAR_");
}

TEST(ThemeTargets, MenuTitleIsExact) {
  EXPECT_EQ(View(kTargetMenuTitle), u"请选择要设置颜色的项目");
}

TEST(FindThemeTarget, OnlyResults17To36YieldATarget) {
  for (std::uint32_t id = 17; id <= 36; ++id) {
    EXPECT_EQ(FindThemeTarget(id), &kThemeTargets[id - 17]) << id;
  }
  EXPECT_EQ(View(FindThemeTarget(17)->value_name), u"MUSIC_LYRIC_SHADOW_COLOR");
  EXPECT_EQ(View(FindThemeTarget(36)->value_name), u"SYSCLR_CAPTION_TEXT");
  const std::uint32_t none[] = {0, 1, 16, 37, 38, 100, 0x7FFFFFFFu, 0x80000010u, 0x80000011u,
                                0xFFFFFFEFu, 0xFFFFFFFFu};
  for (std::uint32_t id : none) EXPECT_EQ(FindThemeTarget(id), nullptr) << id;
}

TEST(FindThemeTarget, SelectsTheRightKeyForNeighbouringIds) {
  const ThemeTarget* window_bg = FindThemeTarget(20);
  ASSERT_NE(window_bg, nullptr);
  EXPECT_EQ(View(window_bg->label), u"4 窗口背景");
  EXPECT_EQ(View(window_bg->key), u"\\SOFTWARE\\Meizu\\Theme\\Colors");
  EXPECT_EQ(View(window_bg->value_name), u"SYSCLR_WINDOW_BG");
  const ThemeTarget* lock_date = FindThemeTarget(19);
  ASSERT_NE(lock_date, nullptr);
  EXPECT_EQ(View(lock_date->label), u"3 锁屏年月日与时间");
  EXPECT_EQ(View(lock_date->key), u"\\SOFTWARE\\Meizu\\Theme\\Colors\\App");
  EXPECT_EQ(View(lock_date->value_name), u"LOCKPHONE_DATE_MONTH_COLOR");
}

}  // namespace
