#include "platform/file/user_folders.h"

#include <glib.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "platform/file/fingerprint.h"
#include "platform/file/system_calls.h"

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

std::string HomeFolderProblem() {
  if (!Home().empty()) return {};
  const char* home = std::getenv("HOME");
  if (home != nullptr) return std::string("HOME is '") + home + "', not an absolute path";
  return "HOME is not set and the account has no home folder";
}

std::string PathTyped(std::string typed) {
  typed.erase(0, typed.find_first_not_of(" \t"));
  typed.erase(typed.find_last_not_of(" \t") + 1);
  if (typed.rfind("file://", 0) == 0) {
    std::string path;
    for (std::size_t i = 7; i < typed.size(); ++i) {
      if (typed[i] == '%' && i + 2 < typed.size() && std::isxdigit(static_cast<unsigned char>(typed[i + 1])) &&
          std::isxdigit(static_cast<unsigned char>(typed[i + 2]))) {
        path += static_cast<char>(std::stoi(typed.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        path += typed[i];
      }
    }
    typed = path;
  } else if (typed == "~" || typed.rfind("~/", 0) == 0) {
    const std::string home = Home();
    typed = home.empty() ? std::string() : home + typed.substr(1);
  }
  if (typed.empty() || typed.find('\0') != std::string::npos) return {};
  if (typed[0] != '/') {
    char start[PATH_MAX];
    if (FileSystemCalls().getcwd(start, sizeof start) == nullptr) return {};
    typed = std::string(start) + "/" + typed;
  }
  return std::filesystem::path(typed).lexically_normal().string();
}

std::string PathShownFromHome(const std::string& path) {
  const std::string home = Home();
  if (home.size() <= 1 || path.size() <= home.size() || path.compare(0, home.size(), home) != 0 ||
      path[home.size()] != '/') {
    return path;
  }
  return "~" + path.substr(home.size());
}
