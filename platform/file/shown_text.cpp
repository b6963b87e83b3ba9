#include "platform/file/shown_text.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "platform/file/utf8.h"

namespace {

// A character a terminal acts on, or that turns or breaks the line around it.
bool Acts(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F || c == 0x061C;
}

}  // namespace

std::string ShownText(std::string_view text, std::size_t max_chars) {
  // Each piece is one shown character or one escape, counted by its length.
  std::vector<std::pair<std::string, std::size_t>> pieces;
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char c = DecodeUtf8(text, i);
    char escape[12];
    if (c.fault != Utf8Fault::kNone) {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[i]));
      pieces.emplace_back(escape, 4);
      ++i;
      continue;
    }
    if (Acts(c.code)) {
      std::snprintf(escape, sizeof escape, c.code < 0x100 ? "\\x%02X" : "\\u%04X", static_cast<unsigned>(c.code));
      pieces.emplace_back(escape, std::string_view(escape).size());
    } else {
      pieces.emplace_back(std::string(text.substr(i, c.length)), 1);
    }
    i += c.length;
  }
  std::size_t total = 0;
  for (const auto& piece : pieces) total += piece.second;
  std::string shown;
  std::size_t used = 0;
  for (const auto& [bytes, chars] : pieces) {
    if (total > max_chars && used + chars + 1 > max_chars) {
      shown += "…";
      break;
    }
    shown += bytes;
    used += chars;
  }
  return shown;
}
