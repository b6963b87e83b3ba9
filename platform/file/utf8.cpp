#include "platform/file/utf8.h"

Utf8Char DecodeUtf8(std::string_view text, std::size_t at) {
  Utf8Char c;
  const auto fault = [&c](Utf8Fault kind, std::size_t where) {
    c.code = 0xFFFD;
    c.fault = kind;
    c.fault_at = where;
    return c;
  };
  const auto b = static_cast<unsigned char>(text[at]);
  std::size_t extra;
  char32_t min;
  if (b < 0x80) {
    c.code = b;
    return c;
  } else if ((b & 0xE0) == 0xC0) {
    c.code = b & 0x1F, extra = 1, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    c.code = b & 0x0F, extra = 2, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    c.code = b & 0x07, extra = 3, min = 0x10000;
  } else {
    return fault(Utf8Fault::kBadByte, at);
  }
  if (text.size() - at - 1 < extra) {
    return fault(Utf8Fault::kCut, at);
  }
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) {
      return fault(Utf8Fault::kBadByte, at + k);
    }
    c.code = (c.code << 6) | (next & 0x3F);
  }
  if (c.code < min || c.code > 0x10FFFF || (c.code >= 0xD800 && c.code <= 0xDFFF)) {
    return fault(Utf8Fault::kInvalid, at);
  }
  c.length = 1 + extra;
  return c;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Char c = DecodeUtf8(text, i);
    if (c.fault != Utf8Fault::kNone) return false;
    i += c.length;
  }
  return true;
}
