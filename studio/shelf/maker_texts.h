// The texts of the shelf's 配色 place, in the window's language; the
// sentences that name a colour, a file, a theme or a reason are made by the
// functions below.
#pragma once

#include <string>
#include <vector>

#include "model/checks/theme_rules.h"
#include "model/theme/theme_maker.h"
#include "platform/shell/picture_file.h"
#include "platform/win/win_types.h"

namespace maker_text {

inline constexpr char16_t kOpen[] = u"配色";
inline constexpr char16_t kTitle[] = u"配色 · 从一种颜色或一张图片";
inline constexpr char16_t kNote[] =
    u"选一个色板、输入 #RRGGBB 或图片的路径，或把 PNG、JPEG 图片拖到窗口上，即得到四个候选主题（柔和与鲜明，各有浅色和深色），"
    u"每个都经过可读性、色觉模拟、层次、色相与和谐的检查。";
inline constexpr char16_t kSourceHint[] = u"#RRGGBB 或图片路径";
inline constexpr char16_t kMake[] = u"生成";
inline constexpr char16_t kSwatchesOnly[] = u"只用65个色板颜色";
inline constexpr char16_t kAnyColour[] = u"可用任意颜色";
inline constexpr char16_t kStandardContrast[] = u"高对比：关";
inline constexpr char16_t kHighContrast[] = u"高对比：开";
inline constexpr char16_t kNoSource[] = u"还没有选颜色。";
inline constexpr char16_t kOtherColours[] = u"图片中的其他颜色：";
inline constexpr char16_t kNameHint[] = u"保存用的名称（空着：由来源生成）";
inline constexpr char16_t kApply[] = u"应用";
inline constexpr char16_t kSave[] = u"保存";
inline constexpr char16_t kAllRulesMet[] = u"各项检查都通过";

// "柔和 浅色", "鲜明 深色".
std::u16string CandidateTitle(const MakeOptions& options);
// What a candidate breaks, one short word a rule: "未通过：层次、色相".
std::u16string RulesBroken(const ThemeRuleCheck& check);
// Where the colour came from.
std::u16string FromColour(COLORREF colour);
std::u16string FromSwatch(int id, COLORREF colour);
// `main`: the picture's dominant colour, else another colour of it.
std::u16string FromPicture(const std::string& file, COLORREF colour, double share, bool main);
std::u16string BadSource(const std::u16string& typed);
// Why no theme is made from the picture at `file`: its fault, or (none
// given) no pixel in it that is not transparent.
std::u16string PictureUnreadable(const std::string& file, const PictureFault* fault);
// The name a candidate is saved under when none is typed: "#RRGGBB 柔和 浅色",
// as the command line names it.
std::u16string MadeName(COLORREF source, const MakeOptions& options);
// A picture whose main colour gives no theme, and its next colour that does.
std::u16string NoThemeFromMain(const std::string& file, COLORREF main, COLORREF next);
std::u16string TakeNextColour(COLORREF next);
// The question before a candidate that breaks a rule is applied or saved.
std::u16string BrokenQuestion(const MakeOptions& options, bool saving);
std::u16string BrokenNote(const ThemeRuleCheck& check);
std::u16string Saved(const std::u16string& name);
std::u16string NameTaken(const std::u16string& name);
std::u16string SaveFailed(const std::string& problem);

}  // namespace maker_text
