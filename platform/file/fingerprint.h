// What tells one state of a file from another without reading it: its
// device and inode (which file), its size and its modification and status
// times (which content). Two equal fingerprints of a file that a reader held
// open in between mean the same bytes: an append changes the size, a write
// the times, a replacement the inode.
#pragma once

#include <cstdint>
#include <string>
#include <sys/stat.h>

#include "platform/file/file_place.h"

struct FileFingerprint {
  bool exists = false;
  std::uint64_t device = 0, inode = 0;
  std::int64_t size = 0, modified_ns = 0, changed_ns = 0;
  bool operator==(const FileFingerprint&) const = default;
};

FileFingerprint FingerprintOf(const struct stat& status);

// The fingerprint of the file open as `fd`; of nothing when it cannot be had.
FileFingerprint FingerprintOfOpen(int fd);

// The fingerprint of `name` in the folder `folder_fd` (a link is not followed,
// and is of nothing, as is anything else but an ordinary file).
FileFingerprint FingerprintAt(int folder_fd, const std::string& name);

// What is at `path`, found as FindPlace finds it (a link of another user is
// never followed; one at the last name only when `follow_last_link`).
// False with the reason when nothing can be seen there.
bool LookAt(const std::string& path, bool follow_last_link, struct stat* status, FileError* error);
