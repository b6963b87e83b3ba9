// Reading a whole small file: the one way the program reads its own files
// (settings, saved themes, the history, a theme to import, a script).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file/file_place.h"

// Reads the ordinary file at `path` whole into `bytes`, never blocking on a
// pipe or device and never through another user's link on the way (see
// FindPlace); a link at its own name is followed only when
// `follow_own_link` and it is this user's or root's. At most `limit` bytes.
// False with the reason otherwise; `error->error_number` is ENOENT when
// there is no file at all, EFBIG when it is too large, EISDIR for a folder
// and EINVAL for anything else that is not an ordinary file.
bool ReadWholeFile(const std::string& path, std::size_t limit, std::string* bytes, FileError* error,
                   bool follow_own_link = false);

// The same for the file at a place already found; a link there is not followed.
bool ReadWholeFileIn(const FilePlace& place, std::size_t limit, std::string* bytes, FileError* error);

// The first `count` bytes of the ordinary file at `path` (all of a shorter
// one), by the same rules: what the file is can be told from its start.
bool ReadFileStart(const std::string& path, std::size_t count, std::string* bytes, FileError* error,
                   bool follow_own_link = false);

// An ordinary file opened by the same rules, read piece by piece: a picture
// is decoded as it is read, never held whole.
class FileReader {
 public:
  // False with the reason, as ReadWholeFile gives it, when the file cannot
  // be opened or is larger than `limit` bytes.
  bool Open(const std::string& path, std::size_t limit, FileError* error, bool follow_own_link = false);
  // Up to `size` bytes: their count, 0 at the end, -1 with errno on failure.
  long Read(void* buffer, std::size_t size);
  std::uint64_t size() const { return size_; }

 private:
  FileDescriptor file_;
  std::uint64_t size_ = 0;
};
