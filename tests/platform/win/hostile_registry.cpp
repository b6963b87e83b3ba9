#include "tests/platform/win/hostile_registry.h"

#include <cstdio>

#include "platform/win/reg_file_format.h"

namespace hostile {

namespace {

constexpr char kHeader[] = "Windows Registry Editor Version 5.00\r\n\r\n";

// `text` filled up to `size` bytes with comment lines ("; xxx\n") and, for
// the last few bytes (or all of them, with `blank`), blank lines.
std::string Filled(std::string text, std::size_t size, bool blank = false) {
  const std::string comment = "; " + std::string(1021, 'x') + "\n";
  while (!blank && text.size() + comment.size() <= size) text += comment;
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
  for (std::size_t n = 0; n < keys; ++n) {
    const std::string line = "[HKLM\\k" + Hex(n) + "]\n";
    if (text.size() + line.size() > size) break;
    text += line;
  }
  return Filled(std::move(text), size);
}

std::string ManyValuesRegistry(std::size_t size, std::size_t values) {
  std::string text = std::string(kHeader) + "[HKLM\\K]\n";
  for (std::size_t n = 0; n < values; ++n) {
    const std::string line = "\"v" + Hex(n) + "\"=dword:1\n";
    if (text.size() + line.size() > size) break;
    text += line;
  }
  return Filled(std::move(text), size);
}

std::string LargeValueRegistry(std::size_t size) {
  RegistryHive hive;
  // Each byte is "xx," in UTF-16 and a line break after every 25: 6.4 bytes of file.
  hive.Create(2, {u"K"}, nullptr)->SetValue(u"big", REG_BINARY, std::vector<BYTE>(size * 10 / 64, 0xAB));
  return EncodeRegFile(hive);
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

std::string OldTextListRegistry(std::size_t size) {
  std::string text = "REGEDIT4\r\n\r\n[HKLM\\K]\r\n\"e\"=hex(2):";
  while (text.size() + 4 <= size) text += "a,";
  text += "a\n";
  return Filled(std::move(text), size);
}

std::string ThemeFile(std::size_t size, bool blank) {
  return Filled(std::string(kHeader) + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors]\n"
                "\"SYSCLR_WINDOW_BG\"=dword:00ff8000\n", size, blank);
}

}  // namespace hostile
