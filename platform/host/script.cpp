#include "platform/host/script.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <sstream>
#include <string_view>
#include <unistd.h>
#include <utility>

#include "platform/file/read_file.h"
#include "platform/file/shown_text.h"
#include "platform/file/utf8.h"
#include "platform/host/host.h"

namespace {

constexpr int kScreenWidth = Host::kScreenWidth;
constexpr int kScreenHeight = Host::kScreenHeight;
// A drag is a gesture, a wait a pause: neither is a way to stall a run.
constexpr int kMaxDragMs = 60 * 1000;
constexpr int kMaxWaitMs = 10 * 60 * 1000;
// A script is a short list of taps; anything larger is not one.
constexpr std::size_t kMaxScriptBytes = 1 << 20;
// Words echoed in a message are cut after this many characters.
constexpr std::size_t kShownWordChars = 40;

bool ParseInt(const std::string& word, int& out) {
  if (word.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(word.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < INT_MIN || v > INT_MAX) return false;
  out = static_cast<int>(v);
  return true;
}

class LineParser {
 public:
  LineParser(const std::string& name, int line, std::vector<std::string> words)
      : name_(name), line_(line), words_(std::move(words)) {}

  bool Fail(const std::string& what) {
    error_ = name_ + ":" + std::to_string(line_) + ": " + what;
    return false;
  }
  bool Number(std::size_t i, int lo, int hi, const char* what, int& out) {
    if (!ParseInt(words_[i], out)) {
      return Fail(std::string(what) + " is not a number: '" + ShownText(words_[i], kShownWordChars) + "'");
    }
    if (out < lo || out > hi) {
      return Fail(std::string(what) + " " + ShownText(words_[i], kShownWordChars) + " is outside " +
                  std::to_string(lo) +
                  ".." + std::to_string(hi));
    }
    return true;
  }
  bool X(std::size_t i, int& out) { return Number(i, 0, kScreenWidth - 1, "x", out); }
  bool Y(std::size_t i, int& out) { return Number(i, 0, kScreenHeight - 1, "y", out); }
  bool Duration(std::size_t i, int most, int& out) { return Number(i, 0, most, "duration", out); }
  const std::string& Word(std::size_t i) const { return words_[i]; }
  std::size_t Words() const { return words_.size(); }

  bool Parse(ScriptCommand& c, const std::vector<ScriptExtension>& extensions);

  const std::string& Error() const { return error_; }

 private:
  std::string name_;
  int line_;
  std::vector<std::string> words_;
  std::string error_;
};

// One entry a command: its word, what it makes, its arguments and how they
// are read (words numbered from 1).
struct CommandRule {
  const char* word;
  ScriptCommand::Kind kind;
  std::size_t arguments;  // kWordsToTheEnd: one or more; kAnyWords: none or more
  const char* usage;
  bool (*read)(LineParser& p, ScriptCommand& c);
};

bool ReadKey(LineParser& p, ScriptCommand& c) {
  static constexpr std::pair<const char*, InputKey> kKeys[] = {
      {"escape", InputKey::Escape}, {"enter", InputKey::Enter},   {"space", InputKey::Space},
      {"tab", InputKey::Tab},       {"up", InputKey::Up},         {"down", InputKey::Down},
      {"left", InputKey::Left},     {"right", InputKey::Right},   {"pageup", InputKey::PageUp},
      {"pagedown", InputKey::PageDown}, {"home", InputKey::Home}, {"end", InputKey::End},
      {"f2", InputKey::F2},         {"z", InputKey::Z},           {"y", InputKey::Y},
      {"backspace", InputKey::Backspace}, {"delete", InputKey::Delete}, {"a", InputKey::A},
      {"c", InputKey::C},           {"x", InputKey::X},           {"v", InputKey::V}};
  static constexpr std::pair<const char*, KeyModifier> kHeld[] = {{"shift+", kShift},
                                                                   {"ctrl+", kCtrl}};
  std::string word = p.Word(1);
  c.modifiers = kNoModifier;
  for (bool more = true; more;) {
    more = false;
    for (const auto& [prefix, held] : kHeld) {
      const std::string lead = prefix;
      if (word.compare(0, lead.size(), lead) == 0 && (c.modifiers & held) == 0) {
        c.modifiers |= held;
        word.erase(0, lead.size());
        more = true;
      }
    }
  }
  for (const auto& [name, key] : kKeys) {
    if (word == name) {
      c.key = key;
      return true;
    }
  }
  std::string known;
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    known += (i == 0 ? "" : i + 1 == std::size(kKeys) ? " or " : ", ") + std::string(kKeys[i].first);
  }
  return p.Fail("unknown key '" + ShownText(p.Word(1), kShownWordChars) + "' (" + known +
                ", after shift+ or ctrl+ when held)");
}

constexpr std::size_t kWordsToTheEnd = static_cast<std::size_t>(-1);
constexpr std::size_t kAnyWords = static_cast<std::size_t>(-2);

// The words from the first on, one space between them.
bool ReadWords(LineParser& p, ScriptCommand& c) {
  c.name.clear();
  for (std::size_t i = 1; i < p.Words(); ++i) c.name += (i > 1 ? " " : "") + p.Word(i);
  return true;
}

bool ReadShot(LineParser& p, ScriptCommand& c) {
  c.name = p.Word(1);
  if (c.name.size() < 5 || c.name.compare(c.name.size() - 4, 4, ".png") != 0) {
    return p.Fail("screenshot name must end in .png: '" + ShownText(c.name, kShownWordChars) + "'");
  }
  if (!StaysInScreenshotFolder(c.name)) {
    return p.Fail("screenshot name must be a name inside the screenshot folder: '" +
                  ShownText(c.name, kShownWordChars) + "'");
  }
  return true;
}

constexpr CommandRule kCommands[] = {
    {"tap", ScriptCommand::Kind::Tap, 2, "X Y",
     [](LineParser& p, ScriptCommand& c) { return p.X(1, c.x1) && p.Y(2, c.y1); }},
    {"drag", ScriptCommand::Kind::Drag, 5, "X1 Y1 X2 Y2 MS",
     [](LineParser& p, ScriptCommand& c) {
       return p.X(1, c.x1) && p.Y(2, c.y1) && p.X(3, c.x2) && p.Y(4, c.y2) && p.Duration(5, kMaxDragMs, c.ms);
     }},
    {"wait", ScriptCommand::Kind::Wait, 1, "MS",
     [](LineParser& p, ScriptCommand& c) { return p.Duration(1, kMaxWaitMs, c.ms); }},
    {"key", ScriptCommand::Kind::Key, 1, "a key name", ReadKey},
    {"shot", ScriptCommand::Kind::Shot, 1, "NAME.png", ReadShot},
    {"type", ScriptCommand::Kind::Type, kWordsToTheEnd, "TEXT", ReadWords},
    {"compose", ScriptCommand::Kind::Compose, kAnyWords, "[TEXT]", ReadWords},
};

bool LineParser::Parse(ScriptCommand& c, const std::vector<ScriptExtension>& extensions) {
  c.line = line_;
  for (const CommandRule& rule : kCommands) {
    if (words_[0] != rule.word) continue;
    c.kind = rule.kind;
    const bool counted = rule.arguments == kAnyWords        ? true
                         : rule.arguments == kWordsToTheEnd ? words_.size() >= 2
                                                            : words_.size() == rule.arguments + 1;
    if (!counted) {
      return Fail("'" + words_[0] + "' takes " + rule.usage);
    }
    return rule.read(*this, c);
  }
  for (const ScriptExtension& extension : extensions) {
    if (words_[0] != extension.word) continue;
    if (words_.size() != extension.arguments + 1) {
      return Fail("'" + words_[0] + "' takes " + extension.usage);
    }
    c.kind = ScriptCommand::Kind::Extension;
    c.name = words_[0];
    c.arguments.assign(words_.begin() + 1, words_.end());
    const std::string wrong = extension.check != nullptr ? extension.check(c.arguments) : "";
    return wrong.empty() || Fail(wrong);
  }
  return Fail("unknown command '" + ShownText(words_[0], kShownWordChars) + "'");
}

}  // namespace

bool StaysInScreenshotFolder(const std::string& name) {
  return !name.empty() && name[0] != '/' && ("/" + name + "/").find("/../") == std::string::npos;
}

bool ParseScript(const std::string& text, const std::string& file_name,
                 std::vector<ScriptCommand>& commands, std::string& error,
                 const std::vector<ScriptExtension>& extensions) {
  const std::string name = ShownText(file_name);
  std::vector<ScriptCommand> parsed;
  // An editor may start UTF-8 text with a byte-order mark.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  std::istringstream in(text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0
                            ? text.substr(kByteOrderMark.size())
                            : text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto fail = [&](const char* why) {
      error = name + ":" + std::to_string(number) + ": " + why;
      return false;
    };
    if (line.find('\0') != std::string::npos) return fail("a NUL byte in the line; a script is text");
    if (!IsUtf8(line)) return fail("not UTF-8 text");
    std::size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words_in(line);
    std::vector<std::string> words;
    for (std::string w; words_in >> w;) words.push_back(w);
    if (words.empty()) continue;
    LineParser parser(name, number, std::move(words));
    ScriptCommand c;
    if (!parser.Parse(c, extensions)) {
      error = parser.Error();
      return false;
    }
    parsed.push_back(std::move(c));
  }
  commands = std::move(parsed);
  return true;
}

bool LoadScriptFile(const std::string& path, std::vector<ScriptCommand>& commands,
                    std::string& error, const std::vector<ScriptExtension>& extensions) {
  const auto fail = [&](const std::string& why) {
    error = ShownText(path) + ": " + why;
    return false;
  };
  // Not blocking, so that a named pipe is refused rather than waited on.
  std::string text;
  FileError failure;
  if (!ReadWholeFile(path, kMaxScriptBytes, &text, &failure, true)) {
    switch (failure.error_number) {
      case EISDIR:
        return fail("a folder, not a script file");
      case EINVAL:
        return fail("not an ordinary file; a script is a text file");
      case EFBIG:
        return fail("larger than " + std::to_string(kMaxScriptBytes >> 20) + " MiB; a script is a short text file");
      default:
        return fail("cannot read the script: " + failure.reason);
    }
  }
  return ParseScript(text, path, commands, error, extensions);
}
