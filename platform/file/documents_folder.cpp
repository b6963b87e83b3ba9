#include "platform/file/documents_folder.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/file/fingerprint.h"
#include "platform/file/user_folders.h"

std::string DocumentsFolder() { return UserFolderPath(UserFolder::kDocuments); }

std::string FreeExportPath(const std::string& folder, const std::string& file_name) {
  const std::size_t dot = file_name.rfind('.');
  const std::string stem = file_name.substr(0, dot);
  const std::string ending = dot == std::string::npos ? "" : file_name.substr(dot);
  for (int n = 1; n < 100; ++n) {
    const std::string path = folder + "/" + (n == 1 ? file_name : stem + " (" + std::to_string(n) + ")" + ending);
    struct stat st;
    FileError error;
    if (!LookAt(path, false, &st, &error) && error.error_number == ENOENT) return path;
  }
  return {};
}
