// The theme shelf's texts, in the window's language (UTF-16, converted only
// where they are drawn); the sentences that name a theme, a file or a
// reason are made by the functions below.
#pragma once

#include <string>

#include "platform/win/reg_file_format.h"

namespace shelf_text {

inline constexpr char16_t kOpen[] = u"主题";
inline constexpr char16_t kTitle[] = u"主题 · 保存、应用、导出";
inline constexpr char16_t kClose[] = u"关闭";
inline constexpr char16_t kNote[] =
    u"已保存的主题和预设都可以应用到注册表（可用 Ctrl+Z 撤销），或导出到“文档”文件夹带到手机上。"
    u"把 .reg 文件拖到窗口上即可导入。";
inline constexpr char16_t kNameHint[] = u"输入名称，把当前的 20 项颜色保存为主题";
inline constexpr char16_t kSave[] = u"保存";
inline constexpr char16_t kExportCurrent[] = u"导出当前颜色";
inline constexpr char16_t kImport[] = u"导入";
inline constexpr char16_t kImportOpen[] = u"导入…";
inline constexpr char16_t kImportTitle[] = u"导入主题";
inline constexpr char16_t kImportNote[] = u"文档和下载文件夹里的注册表文件，选一个即导入；也可以在下面输入路径。";
inline constexpr char16_t kNoRegistryFiles[] = u"文档和下载文件夹里没有注册表文件（.reg），可以在下面输入路径。";
inline constexpr char16_t kImportPathHint[] = u"注册表文件的路径，如 ~/主题.reg";
inline constexpr char16_t kFormat5[] = u"格式：Version 5.00";
inline constexpr char16_t kFormat4[] = u"格式：REGEDIT4（旧手机）";
inline constexpr char16_t kApply[] = u"应用";
inline constexpr char16_t kExport[] = u"导出";
inline constexpr char16_t kDelete[] = u"删除";
inline constexpr char16_t kPreset[] = u"预设";
inline constexpr char16_t kSaved[] = u"已保存";
inline constexpr char16_t kUnreadableTheme[] = u"无法读取";
inline constexpr char16_t kCurrent[] = u"当前颜色";
inline constexpr char16_t kNameFirst[] = u"请先输入主题的名称。";
inline constexpr char16_t kNameControl[] = u"主题名称不能含有换行或控制字符。";

// Questions.
std::u16string ApplyQuestion(const std::u16string& name);
std::u16string ApplyNote(int changes);
std::u16string ReplaceQuestion(const std::u16string& name);
inline constexpr char16_t kReplaceNote[] = u"已保存的同名主题将被当前的 20 项颜色替换。";
std::u16string DeleteQuestion(const std::u16string& name);
inline constexpr char16_t kDeleteNote[] = u"主题文件将被删除；注册表里的颜色不变。";

// Outcomes.
std::u16string Saved(const std::u16string& name);
std::u16string PresetName(const std::u16string& name);
// A name longer than `limit` characters.
std::u16string NameTooLong(std::size_t limit);
// A failure's details (English, from the file layer) go to standard error;
// the shelf says what did and did not happen, wholly in Chinese.
std::u16string SaveFailed(const std::u16string& name);
std::u16string Applied(const std::u16string& name, int changed);
std::u16string Unchanged(const std::u16string& name);
std::u16string ApplyFailed(const std::u16string& name);
std::u16string Deleted(const std::u16string& name);
std::u16string DeleteFailed(const std::u16string& name);
// A saved theme that is no longer there when it is applied or deleted
// (another program deleted it): the list is read again.
std::u16string Gone(const std::u16string& name);
std::u16string Exported(const std::string& path);
std::u16string ExportFailed(const std::u16string& name);
std::u16string Imported(const std::string& file, int changed);
// An import of the colours already set: nothing written or recorded.
std::u16string ImportUnchanged(const std::string& file);
// The question before importing a file the window was opened with.
inline constexpr char16_t kImportQuestion[] = u"导入这个文件中的主题颜色？";
// Asked only of a file that holds theme colours alone: `held` of them.
std::u16string ImportQuestionNote(const std::string& file, int held);
// A dropped file that is not imported: nothing is written.
std::u16string ImportRefused(const std::string& file, const RegFileFault& fault);
std::u16string ImportFailed(const std::string& file);
std::u16string ImportNotWritten(const std::string& file);
// A file's name as the studio shows it: the last part of its path, control
// characters as "?", cut at a length that leaves a message on two lines.
std::u16string FileLabel(const std::string& path);

}  // namespace shelf_text
