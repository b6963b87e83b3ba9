// The 20 recolourable theme items and the target menu's title.
#include "model/theme_targets.h"

const WCHAR kTargetMenuTitle[] = u"请选择要设置颜色的项目";

namespace {

// Stops a constant evaluation: the name is none of the schema's values.
void NotInTheThemeSchema() {}

// The target `label` with menu id `menu_id`, stored where the schema keeps
// the value `name` (of its key `key`).
constexpr ThemeTarget Target(std::uint32_t menu_id, LPCWSTR label, LPCWSTR key, LPCWSTR name) {
  const std::size_t i = ThemeItemIndex(key, name);
  if (i >= kThemeItemCount) NotInTheThemeSchema();
  return ThemeTarget{menu_id, label, kThemeSchema[i].key, kThemeSchema[i].value_name};
}

constexpr std::array<ThemeTarget, kThemeTargetCount> kTable = {{
    Target(17, u"1 歌词阴影", kAppColorsKey, u"MUSIC_LYRIC_SHADOW_COLOR"),
    Target(18, u"2 锁屏星期文字", kAppColorsKey, u"LOCKPHONE_DATE_WEEK_COLOR"),
    Target(19, u"3 锁屏年月日与时间", kAppColorsKey, u"LOCKPHONE_DATE_MONTH_COLOR"),
    Target(20, u"4 窗口背景", kSystemColorsKey, u"SYSCLR_WINDOW_BG"),
    Target(21, u"5 窗口文字", kSystemColorsKey, u"SYSCLR_WINDOW_TEXT"),
    Target(22, u"6 扩展按钮主要文字", kSystemColorsKey, u"SYSCLR_BUTTONEX_TEXT"),
    Target(23, u"7 扩展按钮次要文字", kSystemColorsKey, u"SYSCLR_BUTTONEX_TEXT2"),
    Target(24, u"8 普通按钮文字", kSystemColorsKey, u"SYSCLR_BUTTON_TEXT"),
    Target(25, u"9 日历标题\u3001年月日\u3001星期", kAppColorsKey, u"CANLENDAR_TITLE_STATIC"),
    Target(26, u"10 日历\u201C没有事件\u201D", kAppColorsKey, u"CANLENDAR_NOEVENT_STATIC"),
    Target(27, u"11 按静音快捷键出现的对话框文字", kAppColorsKey, u"MUTE_ONOFF_TIPS_COLOR"),
    Target(28, u"12 列表注释文字", kSystemColorsKey, u"SYSCLR_LIST_DESCRIPTION"),
    Target(29, u"13 工具栏禁用文字", kSystemColorsKey, u"SYSCLR_TOOLBAR_TEXT_DISABLED"),
    Target(30, u"14 工具栏文本", kSystemColorsKey, u"SYSCLR_TOOLBAR_TEXT"),
    Target(31, u"15 列表项文字", kSystemColorsKey, u"SYSCLR_LIST_TEXT"),
    Target(32, u"16 列表次要文字2", kSystemColorsKey, u"SYSCLR_LIST_TEXT2"),
    Target(33, u"17 列表次要文字3", kSystemColorsKey, u"SYSCLR_LIST_TEXT3"),
    Target(34, u"18 静态控件文字", kSystemColorsKey, u"SYSCLR_STATIC_TEXT"),
    Target(35, u"19 文本框文字", kSystemColorsKey, u"SYSCLR_EDIT_TEXT"),
    Target(36, u"20 标签文字", kSystemColorsKey, u"SYSCLR_CAPTION_TEXT"),
}};

// Item N of the menu is item N of the schema: the studio, the checks and the
// store number the items alike.
constexpr bool InSchemaOrder() {
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) {
    if (kTable[i].value_name != kThemeSchema[i].value_name) return false;
  }
  return true;
}
static_assert(InSchemaOrder(), "the targets are in the order of the theme schema");

}  // namespace

const std::array<ThemeTarget, kThemeTargetCount> kThemeTargets = kTable;

const ThemeTarget* FindThemeTarget(std::uint32_t menu_result) {
  // Results below the first id wrap around to large differences.
  const std::uint32_t index = menu_result - kFirstTargetMenuId;
  if (index >= kThemeTargetCount) return nullptr;
  return &kThemeTargets[index];
}
