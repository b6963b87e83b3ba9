#include "tests/platform/win/hostile_registry.h"

#include <cstdio>

namespace hostile {

namespace {

constexpr char kHeader[] = "Windows Registry Editor Version 5.00\r\n\r\n";

// `text` filled up to `size` bytes with comment lines ("; xxx\n") and, for
// the last few bytes, blank lines.
std::string Filled(std::string text, std::size_t size) {
  const std::string comment = "; " + std::string(1021, 'x') + "\n";
  while (text.size() + comment.size() <= size) text += comment;
  text.append(size - text.size(), '\n');
  return text;
}

std::string Hex(std::size_t n) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%zx", n);
  return buffer;
}

}  // namespace

std::string NestedKeysRegistry(std::size_t size) {
  std::string chain;
  for (int i = 0; i < 511; ++i) chain += "\\a";
  std::string text = kHeader;
  for (std::size_t n = 0;; ++n) {
    const std::string line = "[HKLM\\" + Hex(n) + chain + "]\n";
    if (text.size() + line.size() > size) break;
    text += line;
  }
  return Filled(std::move(text), size);
}

std::string ManyKeysRegistry(std::size_t size, std::size_t keys) {
  std::string text = kHeader;
  for (std::size_t n = 0; n < keys; ++n) text += "[HKLM\\k" + Hex(n) + "]\n";
  return Filled(std::move(text), size);
}

std::string BlankLinesRegistry(std::size_t size, bool utf16) {
  const std::string text = Filled(std::string(kHeader) + "[HKLM\\K]\n\"v\"=dword:2a\n", utf16 ? size / 2 - 1 : size);
  if (!utf16) return text;
  std::string wide = "\xFF\xFE";
  for (char c : text) {
    wide.push_back(c);
    wide.push_back('\0');
  }
  return wide;
}

std::string LongStringRegistry(std::size_t size, std::size_t chars) {
  return Filled(std::string(kHeader) + "[HKLM\\K]\n\"s\"=\"" + std::string(chars, 'x') + "\"\n", size);
}

std::string CommentedThemeFile(std::size_t size) {
  return Filled(std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors]\n"
                "\"SYSCLR_WINDOW_BG\"=dword:00ff8000\n", size);
}

}  // namespace hostile
