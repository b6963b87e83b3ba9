// Registry files that attack the reader's memory, made by the tests (and the
// benchmarks) themselves: each exactly `size` bytes, the rest after what it
// is made of filled with comment lines.
#pragma once

#include <cstddef>
#include <string>

namespace hostile {

// UTF-8 lines each naming a key 512 levels deep under a key of its own
// ("[HKLM\<n>\a\a...]"): two bytes of file for every key.
std::string NestedKeysRegistry(std::size_t size);

// `keys` keys "HKLM\k<n>" (n in hex, from 0), one short UTF-8 line each.
std::string ManyKeysRegistry(std::size_t size, std::size_t keys);

// A UTF-16 (or UTF-8) file holding HKLM\K's value "v" = dword:2a, then
// blank lines.
std::string BlankLinesRegistry(std::size_t size, bool utf16);

// HKLM\K's value "s", a string of `chars` letters 'x', in UTF-8.
std::string LongStringRegistry(std::size_t size, std::size_t chars);

// A theme file: the colours' key and its colour SYSCLR_WINDOW_BG = dword:00ff8000.
std::string CommentedThemeFile(std::size_t size);

}  // namespace hostile
