#include "platform/file/replace_file.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "platform/file/folder.h"
#include "platform/file/system_calls.h"

namespace {

// Temporary files are named ".NAME.XXXXXX" with six of these, picked at random.
constexpr std::string_view kTempLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTempSuffix = 6;

std::string TempPrefix(const std::string& name) {
  // Cut so that the temporary name fits where the name itself fits.
  std::string prefix(1, '.');
  prefix.append(name, 0, NAME_MAX - kTempSuffix - 2);
  prefix += '.';
  return prefix;
}

// A new file of our own beside the old one, under a name nobody can guess,
// never through a link: O_EXCL refuses anything already there.
int CreateTemporary(int folder, const std::string& name, mode_t mode, std::string* temp_name) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = TempPrefix(name);
    for (std::size_t i = 0; i < kTempSuffix; ++i) candidate += kTempLetters[random() % kTempLetters.size()];
    const int fd = FileSystemCalls().openat(folder, candidate.c_str(),
                                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) {
      *temp_name = std::move(candidate);
      return fd;
    }
  }
  return -1;  // errno is EEXIST
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = RetryOnInterrupt([&] { return FileSystemCalls().write(fd, bytes.data(), bytes.size()); });
    if (n < 0) return false;
    if (n == 0) {
      errno = EIO;  // a disk that takes nothing and says nothing
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Why the thing at the path is not replaced, or empty when it may be.
std::string Refusal(const struct stat& st, LinkAtPath link) {
  if (S_ISDIR(st.st_mode)) return "it is a folder; nothing is written";
  if (S_ISLNK(st.st_mode)) {
    return link == LinkAtPath::kReplace ? "" : "it is a symbolic link, which is not followed; nothing is written";
  }
  if (!S_ISREG(st.st_mode)) return "it is not a regular file; nothing is written";
  return "";
}

constexpr const char* kTaken = "a file of that name is there; nothing is written";

// Puts the temporary file `temp` in place as `name` only where no file is,
// in one step that fails where any file already is: a rename that replaces
// nothing, else (a system or file system that cannot do that) the name
// made exclusively first, for the rename to replace only that empty file of
// ours. Never a look and then a rename. 0, or the error (EEXIST: a file is
// there).
int PlaceNew(int folder, const std::string& temp, const std::string& name) {
  const SystemCalls& calls = FileSystemCalls();
  if (calls.renameat2(folder, temp.c_str(), folder, name.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
  const int held = RetryOnInterrupt([&] {
    return calls.openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  });
  if (held < 0) return errno;
  calls.close(held);
  if (calls.renameat(folder, temp.c_str(), folder, name.c_str()) == 0) return 0;
  const int e = errno;
  calls.unlinkat(folder, name.c_str(), 0);
  return e;
}

// Gives the new file `fd` the old file's owner (where this user may) and
// mode: null when done, else what failed (errno says why).
const char* KeepOwnerAndMode(int fd, const struct stat& old) {
  struct stat mine;
  if (FileSystemCalls().fstat(fd, &mine) != 0) return "";
  // Only root can give a file away; anyone else keeps the file as theirs,
  // as any editor saving it would.
  if ((mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) &&
      FileSystemCalls().fchown(fd, old.st_uid, old.st_gid) != 0 && ::geteuid() == 0) {
    return "cannot keep the old file's owner: ";
  }
  if (FileSystemCalls().fchmod(fd, old.st_mode & 0777) != 0) return "cannot keep the old file's mode: ";
  return nullptr;
}

// Flushes the folder's listing to disk: 0, or the error number.
int SyncFolder(int folder) {
  FileDescriptor listing(FileSystemCalls().openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
  if (listing.get() < 0 || FileSystemCalls().fsync(listing.get()) != 0) return errno;
  return 0;
}

}  // namespace

bool IsTemporaryFileOf(std::string_view entry, const std::string& name) {
  const std::string prefix = TempPrefix(name);
  if (entry.size() != prefix.size() + kTempSuffix || entry.substr(0, prefix.size()) != prefix) return false;
  return entry.substr(prefix.size()).find_first_not_of(kTempLetters) == std::string_view::npos;
}

bool ReplaceFile(const std::string& path, std::string_view bytes, const ReplaceOptions& options,
                 FileError* error) {
  FilePlace place;
  if (!FindPlace(path, options.link == LinkAtPath::kWriteThrough, options.make_folders, &place, error)) {
    return false;
  }
  Replaced replaced;
  return ReplaceFileIn(place, bytes, options, &replaced, error);
}

bool ReplaceFileIn(const FilePlace& place, std::string_view bytes, const ReplaceOptions& options,
                   Replaced* replaced, FileError* error) {
  const int folder = place.folder.get();
  const std::string& name = place.name;
  struct stat old;
  bool have_old = FileSystemCalls().fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (!have_old && errno != ENOENT) return Fail(error, errno, std::strerror(errno));
  if (have_old && options.only_new) return Fail(error, EEXIST, kTaken);
  if (have_old) {
    const std::string refusal = Refusal(old, options.link);
    if (!refusal.empty()) return Fail(error, S_ISDIR(old.st_mode) ? EISDIR : EINVAL, refusal);
    have_old = S_ISREG(old.st_mode);  // a link replaced passes nothing on
  }
  if (options.clear_stale_temporaries) {
    RemoveStaleTemporaries(folder, {.name = name, .any_name_with_its_ending = true, .min_age = kStaleTemporaryAge});
  }
  // A replacement gets the old file's mode below, and nobody else may open
  // it before that.
  std::string temp_name;
  FileDescriptor fd(CreateTemporary(folder, name, have_old ? 0600 : options.new_file_mode, &temp_name));
  if (fd.get() < 0) {
    const int e = errno;
    return Fail(error, e, "cannot make a temporary file in " + place.folder_path + ": " + std::strerror(e));
  }
  const auto abandon = [&](const char* what) {
    const int e = errno;
    fd.Reset();
    FileSystemCalls().unlinkat(folder, temp_name.c_str(), 0);
    return Fail(error, e, std::string(what) + std::strerror(e));
  };
  if (have_old) {
    if (const char* failed = KeepOwnerAndMode(fd.get(), old)) return abandon(failed);
  }
  if (!WriteAll(fd.get(), bytes)) return abandon("");
  if (options.durable && FileSystemCalls().fsync(fd.get()) != 0) return abandon("cannot flush it to disk: ");
  if (options.only_new) {
    if (const int e = PlaceNew(folder, temp_name, name); e != 0) {
      errno = e;
      if (e != EEXIST) return abandon("cannot put the new file in its place: ");
      abandon("");
      return Fail(error, EEXIST, kTaken);
    }
  } else if (FileSystemCalls().renameat(folder, temp_name.c_str(), folder, name.c_str()) != 0) {
    return abandon("cannot put the new file in its place: ");
  }
  // Looked at once in place: the rename changed its status time.
  if (FileSystemCalls().fstat(fd.get(), &replaced->status) != 0) replaced->status = {};
  replaced->file = std::move(fd);
  replaced->folder_sync_error = 0;
  // The file is in place; only its surviving a power cut is in doubt.
  if (options.durable) replaced->folder_sync_error = SyncFolder(folder);
  return true;
}
