// The program's one UTF-8 decoder. Strict: an overlong form, a surrogate or
// anything past U+10FFFF is not a character. Callers that show text put
// U+FFFD for a fault and go on with the next byte; readers of files say
// where the fault is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class Utf8Fault {
  kNone,
  kBadByte,  // a byte that cannot start, or continue, a character here
  kCut,      // the text ends inside a character
  kInvalid,  // well-formed bytes for an overlong form, a surrogate or a too large number
};

struct Utf8Char {
  char32_t code = 0;            // U+FFFD on a fault
  std::size_t length = 1;       // bytes taken (1 on a fault)
  Utf8Fault fault = Utf8Fault::kNone;
  std::size_t fault_at = 0;     // the byte of the fault
};

// The character that starts at text[at] (at < text.size()).
Utf8Char DecodeUtf8(std::string_view text, std::size_t at);

// Whether the whole text is UTF-8.
bool IsUtf8(std::string_view text);

// `code` as one or two UTF-16 units, given to `out` (push_back).
template <typename Out>
void AppendUtf16(Out& out, char32_t code) {
  if (code >= 0x10000) {
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(code));
  }
}
