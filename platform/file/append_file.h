// Adding lines to the end of a log file, for a caller that holds the log's
// lock: all of them or none. The file is opened by name in a place found
// with FindPlace, never through a link at its name, never blocking on a pipe
// or device, and only an ordinary file is written. When a write fails midway
// (a full disk, an error of the device), the file is cut back to its old
// length, so no half line stays; a failed fsync cuts it back too.
#pragma once

#include <string_view>

#include "platform/file/fingerprint.h"
#include "platform/file/file_place.h"

struct Appended {
  FileFingerprint before;  // the file as it was found
  FileFingerprint after;   // the file with the bytes added
};

// Appends `bytes` to the existing file at `place`; with `durable`, on disk
// when the call returns. False with the reason, and the file as it was.
bool AppendToFile(const FilePlace& place, std::string_view bytes, bool durable, Appended* appended,
                  FileError* error);
