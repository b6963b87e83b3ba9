#include "platform/file/whole_file.h"

#include <cerrno>

#include "platform/file/read_file.h"
#include "platform/file/replace_file.h"

bool MakeFolders(const std::string& path, std::string& error) {
  FileError failure;
  if (MakeFolders(path, &failure)) return true;
  error = "cannot make the folder " + path + " (" + failure.reason + ")";
  return false;
}

namespace {

bool WriteWhole(const std::string& path, const std::string& bytes, std::string& error, bool flush, bool only_new,
                bool* taken, MissingFolder missing_folder = MissingFolder::kMake) {
  FileError failure;
  const ReplaceOptions options{.link = LinkAtPath::kRefuse,
                               .durable = flush,
                               .make_folders = missing_folder == MissingFolder::kMake,
                               .clear_stale_temporaries = true,
                               .only_new = only_new};
  const bool written = ReplaceFile(path, bytes, options, &failure);
  if (taken != nullptr) *taken = !written && only_new && failure.error_number == EEXIST;
  const std::size_t slash = path.find_last_of('/');
  if (!written && missing_folder == MissingFolder::kRefuse && failure.error_number == ENOENT &&
      slash != std::string::npos && slash > 0) {
    error = "cannot write " + path + ": the folder " + path.substr(0, slash) + " does not exist";
  } else if (!written) {
    error = "cannot write " + path + " (" + failure.reason + ")";
  }
  return written;
}

}  // namespace

bool ReplaceWholeFile(const std::string& path, const std::string& bytes, std::string& error, bool flush,
                      MissingFolder missing_folder) {
  return WriteWhole(path, bytes, error, flush, false, nullptr, missing_folder);
}

bool WriteNewWholeFile(const std::string& path, const std::string& bytes, std::string& error, bool* taken) {
  return WriteWhole(path, bytes, error, true, true, taken);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error, bool* missing,
                   std::size_t limit) {
  FileError failure;
  const bool read = ReadWholeFile(path, limit, &bytes, &failure);
  if (missing != nullptr) *missing = !read && failure.error_number == ENOENT;
  if (!read) error = "cannot read " + path + " (" + failure.reason + ")";
  return read;
}
