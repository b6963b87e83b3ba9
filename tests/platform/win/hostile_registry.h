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

// `keys` keys "HKLM\k<n>" (n in hex, from 0), one short UTF-8 line each
// (as many as the size holds).
std::string ManyKeysRegistry(std::size_t size, std::size_t keys);

// `values` values "v<n>" = dword:1 in HKLM\K, one short UTF-8 line each
// (as many as the size holds).
std::string ManyValuesRegistry(std::size_t size, std::size_t values);

// What the program itself writes (UTF-16), of about `size` bytes: HKLM\K's
// binary value "big", of a sixth of `size` bytes less a little.
std::string LargeValueRegistry(std::size_t size);

// A UTF-16 (or UTF-8) file holding HKLM\K's value "v" = dword:2a, then
// blank lines.
std::string BlankLinesRegistry(std::size_t size, bool utf16);

// HKLM\K's value "s", a string of `chars` letters 'x', in UTF-8.
std::string LongStringRegistry(std::size_t size, std::size_t chars);

// A REGEDIT4 file whose HKLM\K value "e" is one hex(2) list of single
// digits ("a,a,...") filling it: 8-bit text that becomes UTF-16.
std::string OldTextListRegistry(std::size_t size);

// A theme file: the colours' key and its colour SYSCLR_WINDOW_BG =
// dword:00ff8000, then comment lines (or blank lines, with `blank`).
std::string ThemeFile(std::size_t size, bool blank);

}  // namespace hostile
