// Reading a whole small file: the one way the program reads its own files
// (settings, saved themes, the history, a theme to import).
#pragma once

#include <cstddef>
#include <string>

#include "platform/file/file_place.h"

// Reads the ordinary file at `path` whole into `bytes`, never through a
// symbolic link at its own name and never blocking on a pipe or device; at
// most `limit` bytes. False with the reason otherwise; `error->error_number`
// is ENOENT when there is no file at all.
bool ReadWholeFile(const std::string& path, std::size_t limit, std::string* bytes,
                   FileError* error);
