#include "platform/file/user_folders.h"

#include <glib.h>
#include <sys/stat.h>

#include "platform/file/fingerprint.h"

namespace {

std::string Absolute(const char* path) { return path != nullptr && path[0] == '/' ? path : ""; }

std::string Home() { return Absolute(g_get_home_dir()); }

std::string Base(const char* given, const char* in_home) {
  const std::string path = Absolute(given);
  if (!path.empty()) return path;
  const std::string home = Home();
  return home.empty() ? home : home + in_home;
}

std::string Special(GUserDirectory which) {
  const std::string path = Absolute(g_get_user_special_dir(which));
  struct stat st;
  FileError ignored;
  if (!path.empty() && LookAt(path, true, &st, &ignored) && S_ISDIR(st.st_mode)) return path;
  return Home();
}

}  // namespace

std::string UserFolderPath(UserFolder which) {
  switch (which) {
    case UserFolder::kHome:
      return Home();
    case UserFolder::kData:
      return Base(g_get_user_data_dir(), "/.local/share");
    case UserFolder::kState:
      return Base(g_get_user_state_dir(), "/.local/state");
    case UserFolder::kConfig:
      return Base(g_get_user_config_dir(), "/.config");
    case UserFolder::kDocuments:
      return Special(G_USER_DIRECTORY_DOCUMENTS);
    case UserFolder::kDownload:
      return Special(G_USER_DIRECTORY_DOWNLOAD);
  }
  return {};
}

std::string PathShownFromHome(const std::string& path) {
  const std::string home = Home();
  if (home.size() <= 1 || path.size() <= home.size() || path.compare(0, home.size(), home) != 0 ||
      path[home.size()] != '/') {
    return path;
  }
  return "~" + path.substr(home.size());
}
