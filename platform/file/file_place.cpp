#include "platform/file/file_place.h"

#include <climits>
#include <cstring>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <vector>

#include "platform/file/system_calls.h"

bool Fail(FileError* error, int error_number, std::string reason) {
  error->error_number = error_number;
  error->reason = std::move(reason);
  return false;
}

bool SystemFail(FileError* error, int error_number) {
  return Fail(error, error_number, std::strerror(error_number));
}

namespace {

// The names of `path` in order, without empty ones and ".".
std::vector<std::string> Names(const std::string& path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string name = path.substr(start, end - start);
    if (!name.empty() && name != ".") names.push_back(std::move(name));
    start = end + 1;
  }
  return names;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}


// Reads the link held open (O_PATH | O_NOFOLLOW) as `fd`.
bool ReadLinkAt(int fd, std::string* text) {
  char buffer[PATH_MAX];
  const ssize_t n = FileSystemCalls().readlinkat(fd, "", buffer, sizeof buffer);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) return false;
  text->assign(buffer, static_cast<std::size_t>(n));
  return true;
}

// The place of a path with no symbolic link in it, found in one call: the
// kernel walks the folders and refuses any link on the way. False when it
// cannot say (a link somewhere, a folder missing, a kernel without the
// call): the caller then walks the path one name at a time. `missing` tells
// a folder that is not there on a way without links, which no walk finds.
bool FindPlaceWithoutLinks(const std::vector<std::string>& names, bool absolute, bool follow_last_link,
                           FilePlace* place, int* missing) {
  std::string shown = absolute ? "/" : "";
  for (std::size_t i = 0; i + 1 < names.size(); ++i) shown = Join(shown, names[i]);
  const std::string folder_path = shown.empty() ? "." : shown;
  open_how how{};
  how.flags = O_PATH | O_DIRECTORY | O_CLOEXEC;
  how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS;
  FileDescriptor folder(FileSystemCalls().openat2(AT_FDCWD, folder_path.c_str(), &how));
  if (folder.get() < 0) {
    // A link on the way fails as ELOOP before any name after it is looked up.
    if (errno == ENOENT || errno == ENOTDIR) *missing = errno;
    return false;
  }
  // The last name may be missing (a file still to be made), and is a link
  // left for the caller unless it is to be followed.
  struct stat st;
  const bool exists = FileSystemCalls().fstatat(folder.get(), names.back().c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  if (!exists && errno != ENOENT) return false;
  if (exists && S_ISLNK(st.st_mode) && follow_last_link) return false;
  place->folder = std::move(folder);
  place->folder_path = folder_path;
  place->name = names.back();
  return true;
}

// Puts the names of the link `link` (status `st`), the last of `ahead`, in
// its place, counting the hop; an absolute target starts again at the root.
// Never a link of another user.
bool FollowLink(int link, const struct stat& st, int* hops, std::vector<std::string>* ahead,
                FileDescriptor* folder, std::string* shown, FileError* error) {
  if (!TrustedLinkOwner(st.st_uid)) {
    return Fail(error, EPERM, "the symbolic link " + Join(*shown, ahead->back()) +
                                  " belongs to another user and is never followed");
  }
  std::string target;
  if (++*hops > kMaxLinkHops) return SystemFail(error, ELOOP);
  if (!ReadLinkAt(link, &target)) return SystemFail(error, ENOENT);
  ahead->pop_back();
  const std::vector<std::string> names = Names(target);
  ahead->insert(ahead->end(), names.rbegin(), names.rend());
  if (target[0] == '/') {
    folder->Reset(FileSystemCalls().openat(AT_FDCWD, "/", O_PATH | O_DIRECTORY | O_CLOEXEC, 0));
    *shown = "/";
    if (folder->get() < 0) return SystemFail(error, errno);
  }
  if (ahead->empty()) return Fail(error, EISDIR, "it is a folder");
  return true;
}

}  // namespace

bool TrustedLinkOwner(uid_t owner) { return owner == ::geteuid() || owner == 0; }

bool FindPlace(const std::string& path, bool follow_last_link, bool make_folders, FilePlace* place,
               FileError* error) {
  if (path.empty()) return SystemFail(error, ENOENT);
  // The names still to walk, the next one last.
  std::vector<std::string> ahead = Names(path);
  if (ahead.empty()) return Fail(error, EISDIR, "it is a folder");
  const bool absolute = path[0] == '/';
  int missing = 0;
  if (FindPlaceWithoutLinks(ahead, absolute, follow_last_link, place, &missing)) return true;
  if (missing != 0 && !make_folders) return SystemFail(error, missing);
  std::vector<std::string> reversed(ahead.rbegin(), ahead.rend());
  ahead = std::move(reversed);
  FileDescriptor folder(FileSystemCalls().openat(AT_FDCWD, absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC, 0));
  std::string shown = absolute ? "/" : "";
  if (folder.get() < 0) return SystemFail(error, errno);
  int hops = 0;
  while (!ahead.empty()) {
    const std::string name = ahead.back();
    const bool last = ahead.size() == 1;
    FileDescriptor next(FileSystemCalls().openat(folder.get(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC, 0));
    if (next.get() < 0) {
      const int e = errno;
      if (e == ENOENT && last) break;  // a file still to be made
      if (e == ENOENT && make_folders) {
        if (FileSystemCalls().mkdirat(folder.get(), name.c_str(), 0755) != 0 && errno != EEXIST) {
          const int made = errno;
          return Fail(error, made, "cannot make the folder " + Join(shown, name) + ": " + std::strerror(made));
        }
        continue;  // and open what is there now
      }
      return SystemFail(error, e);
    }
    struct stat st;
    if (FileSystemCalls().fstat(next.get(), &st) != 0) return SystemFail(error, errno);
    if (S_ISLNK(st.st_mode) && (!last || follow_last_link)) {
      if (!FollowLink(next.get(), st, &hops, &ahead, &folder, &shown, error)) return false;
      continue;
    }
    if (last) break;
    if (!S_ISDIR(st.st_mode)) return Fail(error, ENOTDIR, Join(shown, name) + " is not a folder");
    folder = std::move(next);
    shown = Join(shown, name);
    ahead.pop_back();
  }
  place->folder = std::move(folder);
  place->folder_path = shown.empty() ? "." : shown;
  place->name = ahead.back();
  return true;
}

bool MakeFolders(const std::string& path, FileError* error) {
  FilePlace place;
  if (!FindPlace(path, true, true, &place, error)) return false;
  const char* name = place.name.c_str();
  if (FileSystemCalls().mkdirat(place.folder.get(), name, 0755) != 0 && errno != EEXIST) {
    return SystemFail(error, errno);
  }
  struct stat st;
  if (FileSystemCalls().fstatat(place.folder.get(), name, &st, AT_SYMLINK_NOFOLLOW) != 0) return SystemFail(error, errno);
  if (!S_ISDIR(st.st_mode)) return Fail(error, ENOTDIR, "a file of that name is in the way");
  return true;
}

bool ReadLinkPath(const std::string& path, std::string* target) {
  FileDescriptor link(FileSystemCalls().openat(AT_FDCWD, path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC, 0));
  struct stat st;
  if (link.get() < 0 || FileSystemCalls().fstat(link.get(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
  std::string text;
  if (!ReadLinkAt(link.get(), &text)) return false;
  if (text[0] != '/') {
    const std::size_t slash = path.rfind('/');
    if (slash != std::string::npos) text = path.substr(0, slash + 1) + text;
  }
  *target = std::move(text);
  return true;
}

std::string CanonicalPath(const std::string& path) {
  std::string absolute = path;
  if (path.empty() || path[0] != '/') {
    char cwd[PATH_MAX];
    if (FileSystemCalls().getcwd(cwd, sizeof cwd) == nullptr) return path;
    absolute = Join(cwd, path);
  }
  const auto normal = [](const std::string& p) { return std::filesystem::path(p).lexically_normal().string(); };
  absolute = normal(absolute);
  FilePlace place;
  FileError ignored;
  if (!FindPlace(absolute, true, false, &place, &ignored)) return absolute;
  return normal(Join(place.folder_path, place.name));
}
