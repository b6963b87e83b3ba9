// Where a file is: its folder, held open, and its name there, found so that
// nobody else's symbolic link leads a write of ours elsewhere: a path with no
// link in it in one call that refuses every link, any other one name at a
// time.
#pragma once

#include <cerrno>
#include <string>

#include "platform/file/file_descriptor.h"

// Links followed on the way to one file, at most (as the kernel allows).
inline constexpr int kMaxLinkHops = 40;

// Why a file operation failed: the system's error number (0 when none fits)
// and the reason in words, e.g. "No space left on device" or "the symbolic
// link /srv/x belongs to another user and is never followed". Messages read
// "cannot write PATH: " + reason.
struct FileError {
  int error_number = 0;
  std::string reason;
};

// Fills `error` and gives false: the file layer's way out of a failed step.
bool Fail(FileError* error, int error_number, std::string reason);
// The same with the system's own words for `error_number` (errno by default).
bool SystemFail(FileError* error, int error_number = errno);

struct FilePlace {
  FileDescriptor folder;    // opened with O_PATH: enough to make, rename and open files in it
  std::string folder_path;  // the folder as reached, links followed ("." for the current one)
  std::string name;         // the file's name in that folder; it may not exist yet
};

// Whether a symbolic link may be followed: it is this user's or root's. A
// link of anyone else is never followed, in whatever folder it lies and
// whatever the kernel's own link protection says.
bool TrustedLinkOwner(uid_t owner);

// Finds the place of `path`. Every symbolic link on the way is followed only
// when TrustedLinkOwner says so; a link at the last name is followed the
// same way when `follow_last_link`, and otherwise left for the caller to
// see. With `make_folders`, missing folders are made (0755 less the umask),
// as `mkdir -p` does. False with the reason otherwise.
bool FindPlace(const std::string& path, bool follow_last_link, bool make_folders, FilePlace* place,
               FileError* error);

// Makes the folder `path` and its missing parents, as `mkdir -p` does, on
// the same way FindPlace takes. True when a folder is there at the end.
bool MakeFolders(const std::string& path, FileError* error);

// The target of the symbolic link at `path` as a path: a relative target is
// taken from the link's folder. False when `path` is not a link.
bool ReadLinkPath(const std::string& path, std::string* target);

// `path` as one string for every process that names the same file: absolute,
// without "." and "..", and with the links on the way that FindPlace follows
// followed (the last one too). A path that cannot be walked is only made
// absolute.
std::string CanonicalPath(const std::string& path);
