#include "model/shown_text.h"

#include <cstdio>
#include <vector>

namespace {

// The next character of `text` at `i` and its length in bytes; 0 length for
// a byte that does not begin a whole UTF-8 character.
char32_t Decode(std::string_view text, std::size_t i, std::size_t& length) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b = byte(i);
  length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || i + length > text.size()) {
    length = 0;
    return 0;
  }
  char32_t c = length == 1 ? b : b & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      length = 0;
      return 0;
    }
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and numbers past Unicode are no characters.
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) length = 0;
  return c;
}

bool Acts(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029 || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

std::string ShownText(std::string_view text, std::size_t max_chars) {
  // Each piece is one shown character or one escape, counted by its length.
  std::vector<std::pair<std::string, std::size_t>> pieces;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 0;
    const char32_t c = Decode(text, i, length);
    char escape[12];
    if (length == 0) {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[i]));
      pieces.emplace_back(escape, 4);
      ++i;
    } else if (Acts(c)) {
      if (c < 0x100) {
        std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
      } else {
        std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(c));
      }
      pieces.emplace_back(escape, std::string_view(escape).size());
      i += length;
    } else {
      pieces.emplace_back(std::string(text.substr(i, length)), 1);
      i += length;
    }
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

std::string ColourHex(COLORREF colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return text;
}
