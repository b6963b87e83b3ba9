// The program's one way out to a terminal for text from outside: a path, a
// theme's name, a value name in an imported file, an environment value, a
// reason that quotes any of them. Made fit to print on a terminal or to show
// in a list: on one line, with nothing in it a terminal would act on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How long such a text may be when shown, in characters: a name, and a
// line that names a file and a reason.
inline constexpr std::size_t kShownNameChars = 64;
inline constexpr std::size_t kShownLineChars = 300;

// `text` (UTF-8) with every control character (C0 with ESC and BEL, DEL, C1),
// line or paragraph separator and direction override or isolate written as
// \xNN or \uNNNN, and bytes that are not UTF-8 as \xNN; any other character
// (Chinese text, emoji) as it is. Cut to at most `max_chars` characters, the
// last of them "…" when anything was cut.
std::string ShownText(std::string_view text, std::size_t max_chars = kShownLineChars);
