#include "studio/shelf/maker_texts.h"

#include "model/colour_hex.h"
#include "platform/file/shown_text.h"
#include "platform/file/utf16.h"

#include <cstdio>

namespace maker_text {

namespace {

std::u16string Quoted(const std::u16string& name) { return u"“" + name + u"”"; }

// The last part of a path, as shown (escaped and cut like any name).
std::u16string FileName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return Utf8ToUtf16(ShownText(slash == std::string::npos ? path : path.substr(slash + 1), kShownNameChars));
}

std::u16string Hex(COLORREF c) { return Utf8ToUtf16(ColourHex(c)); }

const char16_t* RuleWord(ThemeRule rule) {
  switch (rule) {
    case ThemeRule::kReadable: return u"对比度";
    case ThemeRule::kReadableByAll: return u"色觉模拟对比度";
    case ThemeRule::kApart: return u"分辨";
    case ThemeRule::kHierarchy: return u"层次";
    case ThemeRule::kLikeSource: return u"色相";
    case ThemeRule::kHarmony: return u"和谐";
  }
  return u"";
}

}  // namespace

std::u16string CandidateTitle(const MakeOptions& options) {
  return std::u16string(options.style == ThemeStyle::kVivid ? u"鲜明 " : u"柔和 ") + (options.dark ? u"深色" : u"浅色");
}

// The rules broken, one short word each: "层次、色相".
std::u16string RuleWords(const ThemeRuleCheck& check) {
  std::u16string words;
  for (ThemeRule rule : kThemeRules) {
    if (check.Breaks(rule)) words += (words.empty() ? u"" : u"、") + std::u16string(RuleWord(rule));
  }
  return words;
}

std::u16string RulesBroken(const ThemeRuleCheck& check) {
  if (check.passes()) return kAllRulesMet;
  return u"未通过：" + RuleWords(check);
}

std::u16string BrokenQuestion(const MakeOptions& options, bool saving) {
  return Quoted(CandidateTitle(options)) + u"未通过检查，仍要" + (saving ? u"保存" : u"应用") + u"吗？";
}

std::u16string BrokenNote(const ThemeRuleCheck& check) {
  return u"它不符合这些规则：" + RuleWords(check) + u"。有的文字可能难以阅读，或在色觉异常者眼中难以分辨。";
}

std::u16string NoThemeFromMain(const std::string& file, COLORREF main, COLORREF next) {
  return u"图片" + Quoted(FileName(file)) + u"的主色 " + Hex(main) + u" 做不出通过检查的主题；其中的 " + Hex(next) +
         u" 可以。";
}

std::u16string TakeNextColour(COLORREF next) { return u"改用 " + Hex(next); }

std::u16string FromColour(COLORREF colour) { return u"来源：" + Hex(colour); }

std::u16string FromSwatch(int id, COLORREF colour) {
  return u"来源：色板 " + Utf8ToUtf16(std::to_string(id)) + u"，" + Hex(colour);
}

std::u16string FromPicture(const std::string& file, COLORREF colour, double share, bool main) {
  return u"来源：图片" + Quoted(FileName(file)) + (main ? u"的主色 " : u"中的颜色 ") + Hex(colour) + u"（占 " +
         Utf8ToUtf16(std::to_string(static_cast<int>(share * 100 + 0.5))) + u"%）";
}

std::u16string BadSource(const std::u16string& typed) {
  return Quoted(typed) + u"不是 #RRGGBB 形式的颜色，也不是图片的路径。";
}

std::u16string PictureUnreadable(const std::string& file, const PictureFault* fault) {
  const char16_t* why = u"图片里每个像素都超过一半透明";
  if (fault != nullptr) {
    switch (*fault) {
      case PictureFault::kMissing: why = u"找不到这个文件"; break;
      case PictureFault::kNotAFile: why = u"它不是普通文件"; break;
      case PictureFault::kTooLarge: why = u"图片太大"; break;
      case PictureFault::kTooSlow: why = u"解码它太费时间"; break;
      case PictureFault::kInterrupted: why = u"读取被中断"; break;
      case PictureFault::kNotAPicture: why = u"它不是 PNG 或 JPEG 图片"; break;
      case PictureFault::kBroken: why = u"图片已损坏，无法解码"; break;
      case PictureFault::kUnreadable: why = u"无法打开这个文件"; break;
    }
  }
  return u"无法读取这张图片" + Quoted(FileName(file)) + u"：" + why + u"；没有生成主题。";
}

std::u16string MadeName(COLORREF source, const MakeOptions& options) {
  return Utf8ToUtf16(MadeThemeName(ColourHex(source), options));
}

std::u16string Saved(const std::u16string& name) { return u"已保存为主题" + Quoted(name) + u"。"; }

std::u16string NameTaken(const std::u16string& name) {
  return u"已有名为" + Quoted(name) + u"的主题或预设，请换一个名称。";
}

std::u16string SaveFailed(const std::string& problem) {
  // The window says it in words; the details go to standard error.
  std::fprintf(stderr, "tintor: not saved: %s\n", ShownText(problem, kShownLineChars).c_str());
  return u"没有保存，没有写入任何文件。";
}

}  // namespace maker_text
