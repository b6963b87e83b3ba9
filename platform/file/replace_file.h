// Replacing a whole file safely: the one way the program writes a file.
//
//   FileError error;
//   if (!ReplaceFile(path, bytes, {.link = LinkAtPath::kRefuse, .durable = true}, &error))
//     report("cannot write " + path + ": " + error.reason);
//
// The bytes go into a fresh temporary file beside the old one (".NAME.XXXXXX",
// made with O_EXCL, never through a link), which is then renamed over it, so
// a reader sees the old file or the new one, never half of one, and a hard
// link to the old file keeps the old content. A replaced file keeps its
// owner (when the writer may give it away, as root may) and its mode; a new
// file gets `new_file_mode` less the umask. A folder, device, pipe or socket
// at the path is left alone, as is a folder on the way that leads through
// another user's symbolic link (see file_place.h). Nothing is left behind on
// failure but what a crash leaves: a temporary file of that name pattern,
// which the next writer asked to clear such files removes once it is old.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <sys/stat.h>

#include "platform/file/file_descriptor.h"
#include "platform/file/file_place.h"

// What a symbolic link at the path itself means.
enum class LinkAtPath {
  kWriteThrough,  // an expected link: its target (this user's or root's link) is replaced, the link stays
  kReplace,       // the link is replaced by the new file; its target is not touched
  kRefuse,        // nothing is written and the reason says so
};

struct ReplaceOptions {
  LinkAtPath link = LinkAtPath::kRefuse;
  // On disk when the call returns: fsync of the file before the rename and
  // of its folder after it.
  bool durable = false;
  bool make_folders = false;  // make missing folders on the way, as `mkdir -p`
  mode_t new_file_mode = 0666;
  // Before writing, remove the temporary files that writers killed midway
  // left in the folder: of every file ending as this one does (".reg"),
  // this user's, untouched for kStaleTemporaryAge.
  bool clear_stale_temporaries = false;
  // Only a new file: whatever is at the path already (even one another
  // writer puts there at the same moment) is left alone and the write fails
  // with EEXIST. The new file is renamed in place by a rename that replaces
  // nothing, or where the file system cannot do that, over an empty file
  // first made under the name exclusively.
  bool only_new = false;
};

// How long a temporary file lies untouched before it counts as a dead
// writer's: far longer than any write takes.
inline constexpr std::chrono::seconds kStaleTemporaryAge{600};

// What a replacement left in place.
struct Replaced {
  FileDescriptor file;        // the new file, still open (it keeps its inode number taken)
  struct stat status = {};    // the new file as written
  int folder_sync_error = 0;  // durable: the new file is in place, but its folder's fsync failed so
};

bool ReplaceFile(const std::string& path, std::string_view bytes, const ReplaceOptions& options,
                 FileError* error);

// The same in a place already found (see FindPlace), for a caller that holds
// a lock in that folder around its read and write. `options.make_folders`
// does not apply.
bool ReplaceFileIn(const FilePlace& place, std::string_view bytes, const ReplaceOptions& options,
                   Replaced* replaced, FileError* error);

// Whether `entry` is the name of a temporary file that replacing `name` makes.
bool IsTemporaryFileOf(std::string_view entry, const std::string& name);
