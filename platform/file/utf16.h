// UTF-16 to UTF-8 at the drawing boundary.
#pragma once

#include <string>
#include <string_view>

// Unpaired surrogates, and bytes that are not UTF-8, become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);
