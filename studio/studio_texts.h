// The studio's texts, in the window's language (UTF-16, converted only where
// they are drawn). The messages that name a file or a reason are made by
// the functions below, whole sentences in Chinese.
#pragma once

#include <string>

#include "model/checks/colour_science.h"
#include "model/theme/theme_store.h"
#include "platform/win/win_types.h"

// The name a person reads for a way of seeing colour: "红色盲" and so on.
const char16_t* ColourVisionTitle(ColourVision vision);

namespace studio_text {

inline constexpr char16_t kTitle[] = u"主题预览";
inline constexpr char16_t kNote[] = u"手机下次启动后的样子：重启后才换成这些颜色。";
inline constexpr char16_t kUndo[] = u"撤销";
inline constexpr char16_t kRedo[] = u"重做";
inline constexpr char16_t kRestore[] = u"恢复默认";
inline constexpr char16_t kHide[] = u"隐藏";
inline constexpr char16_t kShowStudio[] = u"显示主题预览";
// The question before a restore that changes `changes` items a person sees.
std::u16string RestoreQuestion(int changes);
inline constexpr char16_t kConfirmNote[] = u"将从注册表删除这 20 项的值，手机重启后生效。";
inline constexpr char16_t kConfirm[] = u"确定";
inline constexpr char16_t kCancel[] = u"取消";
std::u16string Restored(int changes);
// A restore, or a colour written, that changes nothing a person sees:
// nothing is written or recorded.
inline constexpr char16_t kAlreadyDefaults[] = u"没有变化：20 项已经是默认颜色。";
inline constexpr char16_t kSwatchUnchanged[] = u"没有变化：这一项已经是这个颜色。";
// A stored colour that is none of the 65 swatches.
inline constexpr char16_t kCustomColour[] = u"自定义颜色";
// A value the registry does not hold: the phone draws its default.
inline constexpr char16_t kDefaultColour[] = u"默认";
inline constexpr char16_t kNothingToUndo[] = u"没有可以撤销的更改。";
inline constexpr char16_t kNothingToRedo[] = u"没有可以重做的更改。";
// The history at `path` cannot be written: what changes meanwhile cannot be
// undone.
std::u16string HistoryNotKept(const std::string& path);
inline constexpr char16_t kNotFollowing[] =
    u"不再即时跟随注册表文件：窗口回到前台或 Tintor 写入时重新读取。";

// Why the registry file at `path` could not be used, from the registry's
// status code.
std::u16string RegistryReason(LONG status);
// The registry file at `path` cannot be read: the panel shows the defaults.
std::u16string Unreadable(const std::string& path, LONG status);
// The item card wrote swatch `swatch` into the item labelled `label`.
std::u16string SwatchWritten(int swatch, const char16_t* label);
// The item card's write failed and left the file at `path` as it was.
std::u16string SwatchNotWritten(const std::string& path);
// Restoring the defaults failed and left the file at `path` as it was.
std::u16string RestoreFailed(const std::string& path, LONG status);

// A file dropped while a menu, a box, a card, the shelf or a question held
// the window: not imported.
std::u16string DroppedWhileHeld(const std::string& path);

// A step of the theme's history in words: the item it changed, or what made
// it (a theme applied, a file imported, a restore) and how many items.
std::u16string StepName(const ThemeStore::StepSeen& step);
// What undo and redo would do now (each empty when there is nothing).
std::u16string HistoryLine(const std::u16string& undo, const std::u16string& redo);

// A step of the theme's history undone or redone.
std::u16string Stepped(bool undo, const ThemeStore::StepSeen& step);
// An undo or redo that was not written: the registry is as it was (the
// reason, in English, goes to standard error).
std::u16string StepFailed(bool undo);

}  // namespace studio_text
