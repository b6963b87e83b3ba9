#include "studio/studio_texts.h"

#include "platform/file/user_folders.h"
#include "model/theme_targets.h"
#include "platform/file/utf16.h"
#include "studio/shelf/shelf_texts.h"

const char16_t* ColourVisionTitle(ColourVision vision) {
  switch (vision) {
    case ColourVision::kProtan: return u"红色盲";
    case ColourVision::kDeutan: return u"绿色盲";
    case ColourVision::kTritan: return u"蓝色盲";
    case ColourVision::kTypical: break;
  }
  return u"常见色觉";
}

namespace studio_text {

std::u16string RegistryReason(LONG status) {
  switch (status) {
    case ERROR_REGISTRY_CORRUPT:
    case ERROR_BADDB:
      return u"它不是能读懂的注册表文件（原样保留，未作改动）";
    case ERROR_ACCESS_DENIED:
      return u"没有访问它的权限";
    case ERROR_CANTOPEN:
    case ERROR_CANTREAD:
      return u"无法打开或读取它";
    case ERROR_CANTWRITE:
    case ERROR_WRITE_FAULT:
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return u"无法写入（磁盘可能已满，或文件夹不可写）";
    default:
      return u"注册表返回错误码 " + Utf8ToUtf16(std::to_string(status));
  }
}

std::u16string HistoryNotKept(const std::string& path) {
  const std::string folder = path.substr(0, path.rfind('/'));
  return u"撤销记录写不进 " + Utf8ToUtf16(folder.empty() ? "$XDG_STATE_HOME" : PathShownFromHome(folder)) +
         u"，这期间的更改无法撤销。";
}

std::u16string Unreadable(const std::string& path, LONG status) {
  return u"无法读取注册表文件 " + Utf8ToUtf16(PathShownFromHome(path)) + u"：" + RegistryReason(status) +
         u"。这里显示的是默认颜色。";
}

std::u16string RestoreFailed(const std::string& path, LONG status) {
  return u"恢复默认失败，注册表文件 " + Utf8ToUtf16(PathShownFromHome(path)) + u" 未改动：" +
         RegistryReason(status) + u"。";
}

namespace {
std::u16string Number(int n) { return Utf8ToUtf16(std::to_string(n)); }
}  // namespace

std::u16string RestoreQuestion(int changes) { return u"恢复 " + Number(changes) + u" 项默认颜色？"; }

std::u16string Restored(int changes) { return u"已恢复 " + Number(changes) + u" 项默认颜色。"; }

std::u16string StepName(const ThemeStore::StepSeen& step) {
  const std::size_t n = step.changes.size();
  if (step.kind == "change" && n == 1) {
    return u"“" + std::u16string(kThemeTargets[static_cast<std::size_t>(step.changes[0].number - 1)].label) +
           u"”的颜色";
  }
  const std::u16string label = Utf8ToUtf16(step.label);
  const std::u16string count = u"（" + Number(static_cast<int>(n)) + u" 项颜色）";
  if (step.kind == "apply") return u"应用主题" + (label.empty() ? u"" : u"“" + label + u"”") + count;
  if (step.kind == "import") return u"导入" + (label.empty() ? u"主题" : u" " + shelf_text::FileLabel(step.label)) + count;
  if (step.kind == "restore") return u"恢复默认" + count;
  return u"颜色更改" + count;
}

std::u16string HistoryLine(const std::u16string& undo, const std::u16string& redo) {
  std::u16string line;
  if (!undo.empty()) line = u"撤销将撤回：" + undo;
  if (!redo.empty()) line += (line.empty() ? u"" : u"　") + (u"重做将重做：" + redo);
  return line.empty() ? line : line + u"。";
}

std::u16string Stepped(bool undo, const ThemeStore::StepSeen& step) {
  return std::u16string(undo ? u"已撤销：" : u"已重做：") + StepName(step) + u"。手机重启后生效。";
}

std::u16string DroppedWhileHeld(const std::string& path) {
  return u"未导入 " + shelf_text::FileLabel(path) + u"：请先关闭正打开的菜单、对话框、卡片或主题架，再拖入。";
}

std::u16string StepFailed(bool undo) { return std::u16string(undo ? u"撤销" : u"重做") + u"失败，注册表未改动。"; }

std::u16string SwatchWritten(int swatch, const char16_t* label) {
  return u"已把色块 " + Utf8ToUtf16(std::to_string(swatch)) + u" 写入“" + label +
         u"”，手机重启后生效。";
}

std::u16string SwatchNotWritten(const std::string& path) {
  return u"写入失败，注册表文件 " + Utf8ToUtf16(PathShownFromHome(path)) + u" 未改动。";
}

}  // namespace studio_text
