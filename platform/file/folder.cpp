#include "platform/file/folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <ctime>

#include "platform/file/replace_file.h"
#include "platform/file/system_calls.h"

namespace {

// The part of a name from its last dot on (".reg"), or the whole name.
std::string_view Ending(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos || dot == 0 ? name : name.substr(dot);
}

bool IsStaleCandidate(std::string_view entry, const StaleTemporaries& which) {
  if (IsTemporaryFileOf(entry, which.name)) return true;
  if (!which.any_name_with_its_ending || entry.size() < 2 || entry[0] != '.') return false;
  // ".NAME.XXXXXX": the name is what lies between the first dot and the last.
  const std::size_t last = entry.rfind('.');
  if (last == 0) return false;
  const std::string name(entry.substr(1, last - 1));
  return Ending(name) == Ending(which.name) && IsTemporaryFileOf(entry, name);
}

}  // namespace

bool ListFolderAt(int folder_fd, std::vector<std::string>* names, FileError* error) {
  names->clear();
  const FileDescriptor listing(FileSystemCalls().openat(folder_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
  if (listing.get() < 0) return SystemFail(error);
  alignas(dirent64) char buffer[32768];
  for (;;) {
    const ssize_t n = RetryOnInterrupt([&] { return FileSystemCalls().getdents64(listing.get(), buffer, sizeof buffer); });
    if (n < 0) return SystemFail(error);
    if (n == 0) return true;
    for (ssize_t at = 0; at < n;) {
      const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
      const std::string_view name = entry->d_name;
      if (name != "." && name != "..") names->emplace_back(name);
      at += entry->d_reclen;
    }
  }
}

bool ListFolder(const std::string& path, std::vector<std::string>* names, FileError* error) {
  FilePlace place;
  if (!FindPlace(path, true, false, &place, error)) return false;
  const FileDescriptor folder(FileSystemCalls().openat(place.folder.get(), place.name.c_str(),
                                                       O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC, 0));
  if (folder.get() < 0) return SystemFail(error);
  return ListFolderAt(folder.get(), names, error);
}

bool RemoveFile(const std::string& path, FileError* error) {
  FilePlace place;
  if (!FindPlace(path, false, false, &place, error)) return false;
  struct stat status;
  const char* name = place.name.c_str();
  if (FileSystemCalls().fstatat(place.folder.get(), name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
    return SystemFail(error);
  }
  if (S_ISDIR(status.st_mode)) return Fail(error, EISDIR, "it is a folder, which is left as it is");
  if (!S_ISREG(status.st_mode)) return Fail(error, EINVAL, "it is not an ordinary file and is left as it is");
  if (FileSystemCalls().unlinkat(place.folder.get(), name, 0) != 0) return SystemFail(error);
  return true;
}

bool RenameInFolder(const FilePlace& place, const std::string& from, const std::string& to, FileError* error) {
  const int folder = place.folder.get();
  if (FileSystemCalls().renameat(folder, from.c_str(), folder, to.c_str()) != 0) return SystemFail(error);
  return true;
}

int RemoveStaleTemporaries(int folder_fd, const StaleTemporaries& which) {
  std::vector<std::string> names;
  FileError ignored;
  if (!ListFolderAt(folder_fd, &names, &ignored)) return 0;
  const std::time_t now = std::time(nullptr);
  int removed = 0;
  for (const std::string& entry : names) {
    if (!IsStaleCandidate(entry, which)) continue;
    struct stat st;
    if (FileSystemCalls().fstatat(folder_fd, entry.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) {
      continue;  // a link or anything else is never ours
    }
    if (st.st_uid != ::geteuid() && st.st_uid != which.also_owner) continue;
    if (now - st.st_mtim.tv_sec < which.min_age.count()) continue;  // perhaps still being written
    if (FileSystemCalls().unlinkat(folder_fd, entry.c_str(), 0) == 0) ++removed;
  }
  return removed;
}
