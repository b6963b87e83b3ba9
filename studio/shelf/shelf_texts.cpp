#include "studio/shelf/shelf_texts.h"

#include "platform/file/shown_text.h"
#include "platform/file/utf16.h"

namespace shelf_text {

namespace {
std::u16string Quoted(const std::u16string& name) { return u"“" + name + u"”"; }
std::u16string Number(int n) { return Utf8ToUtf16(std::to_string(n)); }
}  // namespace

std::u16string ApplyQuestion(const std::u16string& name) { return u"应用主题" + Quoted(name) + u"？"; }

std::u16string ApplyNote(int changes) {
  return u"以下 " + Number(changes) + u" 项颜色会改变，手机重启后生效；Ctrl+Z 可撤销。";
}

std::u16string ReplaceQuestion(const std::u16string& name) { return u"替换已保存的主题" + Quoted(name) + u"？"; }

std::u16string DeleteQuestion(const std::u16string& name) { return u"删除主题" + Quoted(name) + u"？"; }

std::u16string Saved(const std::u16string& name) { return u"已把当前的 20 项颜色保存为主题" + Quoted(name) + u"。"; }

std::u16string PresetName(const std::u16string& name) {
  return Quoted(name) + u"是预设主题的名称，请换一个名称。";
}

std::u16string NameTooLong(std::size_t limit) {
  return u"主题名称最多 " + Number(static_cast<int>(limit)) + u" 个字，请改短一些。";
}

std::u16string SaveFailed(const std::u16string& name) {
  return u"主题" + Quoted(name) + u"保存失败，没有写入任何文件。";
}

std::u16string Applied(const std::u16string& name, int changed) {
  return u"已应用主题" + Quoted(name) + u"：" + Number(changed) + u" 项颜色已改变，手机重启后生效。";
}

std::u16string Unchanged(const std::u16string& name) { return u"没有变化：当前颜色与主题" + Quoted(name) + u"相同。"; }

std::u16string ApplyFailed(const std::u16string& name) { return u"主题" + Quoted(name) + u"应用失败，注册表未改动。"; }

std::u16string Deleted(const std::u16string& name) { return u"已删除主题" + Quoted(name) + u"。"; }

std::u16string DeleteFailed(const std::u16string& name) { return u"主题" + Quoted(name) + u"删除失败，它的文件还在。"; }

std::u16string Gone(const std::u16string& name) {
  return u"主题" + Quoted(name) + u"已经不在了（可能已被其他程序删除），列表已重新读取。";
}

std::u16string Exported(const std::string& path) { return u"已导出到 " + Utf8ToUtf16(path); }

std::u16string ExportFailed(const std::u16string& name) { return Quoted(name) + u"导出失败，没有写入文件。"; }

std::u16string ImportQuestionNote(const std::string& file, int held) {
  return Utf8ToUtf16(ShownText(file, kShownLineChars)) + u"\n它有 " + Utf8ToUtf16(std::to_string(held)) +
         u" 项主题颜色，没有别的内容；导入后可用 Ctrl+Z 撤销。";
}

std::u16string FileLabel(const std::string& path) {
  constexpr std::size_t kShown = 24;
  const std::size_t slash = path.rfind('/');
  std::u16string name = Utf8ToUtf16(slash == std::string::npos ? path : path.substr(slash + 1));
  for (char16_t& c : name) {
    if (c < 0x20 || c == 0x7F) c = u'?';
  }
  if (name.size() > kShown) name = name.substr(0, kShown - 1) + u"…";
  return name;
}

std::u16string Imported(const std::string& file, int changed) {
  return u"已导入 " + FileLabel(file) + u"：" + Number(changed) + u" 项颜色已改变，手机重启后生效；Ctrl+Z 可撤销。";
}

std::u16string ImportUnchanged(const std::string& file) {
  return u"没有变化：" + FileLabel(file) + u" 中的颜色与当前相同。";
}

std::u16string ImportRefused(const std::string& file, const RegFileFault& fault) {
  const std::u16string line = u"第 " + Number(static_cast<int>(fault.line)) + u" 行";
  std::u16string why;
  switch (fault.kind) {
    case RegFileFault::Kind::kEmpty: why = u"文件是空的"; break;
    case RegFileFault::Kind::kNotText: why = u"它不是文本文件"; break;
    case RegFileFault::Kind::kNotRegistry: why = u"它不是注册表文件（第一行不是注册表文件的开头）"; break;
    case RegFileFault::Kind::kRefused: why = line + u"是主题以外的键或值，整个文件被拒绝"; break;
    case RegFileFault::Kind::kMalformed:
    case RegFileFault::Kind::kNone:
      why = fault.line > 0 ? line + u"的格式有误" : u"文件不完整（末尾缺少换行）";
      break;
  }
  return u"未导入 " + FileLabel(file) + u"：" + why + u"，注册表未改动。";
}

std::u16string ImportFailed(const std::string& file) {
  return u"未导入 " + FileLabel(file) + u"：无法读取这个文件，注册表未改动。";
}

std::u16string ImportNotWritten(const std::string& file) {
  return u"未导入 " + FileLabel(file) + u"：写入注册表失败，注册表未改动。";
}

}  // namespace shelf_text
