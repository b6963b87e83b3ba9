// The user's folders, as glib finds them: the home folder ($HOME, else the
// user database), the XDG base folders ($XDG_DATA_HOME, $XDG_STATE_HOME,
// $XDG_CONFIG_HOME, each else its place in the home folder) and the folders
// that user-dirs.dirs names (documents, downloads). glib reads the
// environment once per process: a change to it later is not seen.
#pragma once

#include <string>

enum class UserFolder {
  kHome,
  kData,       // ~/.local/share
  kState,      // ~/.local/state
  kConfig,     // ~/.config
  kDocuments,  // the documents folder, else the home folder
  kDownload,   // the download folder, else the home folder
};

// The folder's absolute path; empty when not even a home folder can be
// found (HomeFolderProblem says why). A base folder given as a relative path is not one, as the XDG rules
// say: its place in the home folder is taken instead. A documents or
// download folder that is named but is no folder gives the home folder.
std::string UserFolderPath(UserFolder which);

// Why there is no home folder: HOME is set but not to an absolute path, or
// it is not set and the account has no home folder. Empty when there is one.
// An unset HOME is no fault: the account's home folder is taken.
std::string HomeFolderProblem();

// `path` as a person reads it: the home folder written "~".
std::string PathShownFromHome(const std::string& path);
// A path as a person types or pastes it, in every path box: trimmed of
// spaces, "~" for the home folder, a file:// address (as a file manager
// copies a file) decoded, and a relative path taken from the folder the
// program started in (it never changes folder); the whole path, without "."
// and "..", to be shown as it is. Empty when it names no path.
std::string PathTyped(std::string typed);
