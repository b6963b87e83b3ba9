#include "platform/host/script.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

constexpr int kScreenWidth = 480;
constexpr int kScreenHeight = 720;
constexpr int kMaxMs = 10 * 60 * 1000;

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
  bool Arity(std::size_t n, const char* usage) {
    if (words_.size() != n + 1) return Fail("'" + words_[0] + "' takes " + usage);
    return true;
  }
  bool Number(std::size_t i, int lo, int hi, const char* what, int& out) {
    if (!ParseInt(words_[i], out)) {
      return Fail(std::string(what) + " is not a number: '" + words_[i] + "'");
    }
    if (out < lo || out > hi) {
      return Fail(std::string(what) + " " + words_[i] + " is outside " + std::to_string(lo) +
                  ".." + std::to_string(hi));
    }
    return true;
  }
  bool X(std::size_t i, int& out) { return Number(i, 0, kScreenWidth - 1, "x", out); }
  bool Y(std::size_t i, int& out) { return Number(i, 0, kScreenHeight - 1, "y", out); }

  bool Parse(ScriptCommand& c) {
    c.line = line_;
    const std::string& cmd = words_[0];
    if (cmd == "tap") {
      c.kind = ScriptCommand::Kind::Tap;
      return Arity(2, "X Y") && X(1, c.x1) && Y(2, c.y1);
    }
    if (cmd == "drag") {
      c.kind = ScriptCommand::Kind::Drag;
      return Arity(5, "X1 Y1 X2 Y2 MS") && X(1, c.x1) && Y(2, c.y1) && X(3, c.x2) &&
             Y(4, c.y2) && Number(5, 0, kMaxMs, "duration", c.ms);
    }
    if (cmd == "wait") {
      c.kind = ScriptCommand::Kind::Wait;
      return Arity(1, "MS") && Number(1, 0, kMaxMs, "duration", c.ms);
    }
    if (cmd == "key") {
      c.kind = ScriptCommand::Kind::Key;
      if (!Arity(1, "escape|enter|up|down")) return false;
      const std::string& k = words_[1];
      if (k == "escape") {
        c.key = InputKey::Escape;
      } else if (k == "enter") {
        c.key = InputKey::Enter;
      } else if (k == "up") {
        c.key = InputKey::Up;
      } else if (k == "down") {
        c.key = InputKey::Down;
      } else {
        return Fail("unknown key '" + k + "' (escape, enter, up or down)");
      }
      return true;
    }
    if (cmd == "shot") {
      c.kind = ScriptCommand::Kind::Shot;
      if (!Arity(1, "NAME.png")) return false;
      c.name = words_[1];
      if (c.name.size() < 5 || c.name.compare(c.name.size() - 4, 4, ".png") != 0) {
        return Fail("screenshot name must end in .png: '" + c.name + "'");
      }
      return true;
    }
    if (cmd == "preview") {
      c.kind = ScriptCommand::Kind::Preview;
      if (!Arity(1, "NAME.png")) return false;
      c.name = words_[1];
      if (!c.name.ends_with(".png") || c.name.size() < 5) {
        return Fail("picture name must end in .png: '" + c.name + "'");
      }
      return true;
    }
    return Fail("unknown command '" + cmd + "'");
  }

  const std::string& Error() const { return error_; }

 private:
  std::string name_;
  int line_;
  std::vector<std::string> words_;
  std::string error_;
};

}  // namespace

bool ParseScript(const std::string& text, const std::string& name,
                 std::vector<ScriptCommand>& commands, std::string& error) {
  std::vector<ScriptCommand> parsed;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    std::istringstream words_in(line);
    std::vector<std::string> words;
    for (std::string w; words_in >> w;) words.push_back(w);
    if (words.empty()) continue;
    LineParser parser(name, number, std::move(words));
    ScriptCommand c;
    if (!parser.Parse(c)) {
      error = parser.Error();
      return false;
    }
    parsed.push_back(std::move(c));
  }
  commands = std::move(parsed);
  return true;
}

bool LoadScriptFile(const std::string& path, std::vector<ScriptCommand>& commands,
                    std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot read the script";
    return false;
  }
  std::ostringstream text;
  text << file.rdbuf();
  return ParseScript(text.str(), path, commands, error);
}
