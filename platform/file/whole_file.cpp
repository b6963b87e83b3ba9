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

bool ReplaceWholeFile(const std::string& path, const std::string& bytes, std::string& error, bool flush) {
  FileError failure;
  const ReplaceOptions options{
      .link = LinkAtPath::kRefuse, .durable = flush, .make_folders = true, .clear_stale_temporaries = true};
  if (ReplaceFile(path, bytes, options, &failure)) return true;
  error = "cannot write " + path + " (" + failure.reason + ")";
  return false;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error, bool* missing,
                   std::size_t limit) {
  FileError failure;
  const bool read = ReadWholeFile(path, limit, &bytes, &failure);
  if (missing != nullptr) *missing = !read && failure.error_number == ENOENT;
  if (!read) error = "cannot read " + path + " (" + failure.reason + ")";
  return read;
}
