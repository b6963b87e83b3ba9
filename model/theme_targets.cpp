// The 20 recolourable theme items and the target menu's title.
#include "model/theme_targets.h"

const WCHAR kSystemColorsKey[] = u"\\SOFTWARE\\Meizu\\Theme\\Colors";
const WCHAR kAppColorsKey[] = u"\\SOFTWARE\\Meizu\\Theme\\Colors\\App";
const WCHAR kTargetMenuTitle[] = u"请选择要设置颜色的项目";

const std::array<ThemeTarget, kThemeTargetCount> kThemeTargets = {{
    {17, u"1 歌词阴影", kAppColorsKey, u"MUSIC_LYRIC_SHADOW_COLOR"},
    {18, u"2 锁屏星期文字", kAppColorsKey, u"LOCKPHONE_DATE_WEEK_COLOR"},
    {19, u"3 锁屏年月日与时间", kAppColorsKey, u"LOCKPHONE_DATE_MONTH_COLOR"},
    {20, u"4 窗口背景", kSystemColorsKey, u"SYSCLR_WINDOW_BG"},
    {21, u"5 窗口文字", kSystemColorsKey, u"SYSCLR_WINDOW_TEXT"},
    {22, u"6 扩展按钮主要文字", kSystemColorsKey, u"SYSCLR_BUTTONEX_TEXT"},
    {23, u"7 扩展按钮次要文字", kSystemColorsKey, u"SYSCLR_BUTTONEX_TEXT2"},
    {24, u"8 普通按钮文字", kSystemColorsKey, u"SYSCLR_BUTTON_TEXT"},
    {25, u"9 日历标题\u3001年月日\u3001星期", kAppColorsKey, u"CANLENDAR_TITLE_STATIC"},
    {26, u"10 日历\u201C没有事件\u201D", kAppColorsKey, u"CANLENDAR_NOEVENT_STATIC"},
    {27, u"11 按静音快捷键出现的对话框文字", kAppColorsKey, u"MUTE_ONOFF_TIPS_COLOR"},
    {28, u"12 列表注释文字", kSystemColorsKey, u"SYSCLR_LIST_DESCRIPTION"},
    {29, u"13 工具栏禁用文字", kSystemColorsKey, u"SYSCLR_TOOLBAR_TEXT_DISABLED"},
    {30, u"14 工具栏文本", kSystemColorsKey, u"SYSCLR_TOOLBAR_TEXT"},
    {31, u"15 列表项文字", kSystemColorsKey, u"SYSCLR_LIST_TEXT"},
    {32, u"16 列表次要文字2", kSystemColorsKey, u"SYSCLR_LIST_TEXT2"},
    {33, u"17 列表次要文字3", kSystemColorsKey, u"SYSCLR_LIST_TEXT3"},
    {34, u"18 静态控件文字", kSystemColorsKey, u"SYSCLR_STATIC_TEXT"},
    {35, u"19 文本框文字", kSystemColorsKey, u"SYSCLR_EDIT_TEXT"},
    {36, u"20 标签文字", kSystemColorsKey, u"SYSCLR_CAPTION_TEXT"},
}};

const ThemeTarget* FindThemeTarget(std::uint32_t menu_result) {
  // Results below the first id wrap around to large differences.
  const std::uint32_t index = menu_result - kFirstTargetMenuId;
  if (index >= kThemeTargetCount) return nullptr;
  return &kThemeTargets[index];
}
