// What a folder holds: listing it, renaming and removing a file in it, and
// clearing the temporary files that a writer killed midway left there. Every
// one finds its folder as FindPlace does, so another user's link on the way
// is never followed.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "platform/file/file_place.h"

// The names in the folder at `path` (a link of this user's or root's at its
// own name is followed), without "." and "..", in no order.
bool ListFolder(const std::string& path, std::vector<std::string>* names, FileError* error);

// The same for the folder held as `folder_fd` (O_PATH is enough).
bool ListFolderAt(int folder_fd, std::vector<std::string>* names, FileError* error);

// Removes the ordinary file at `path`; a link, a folder or anything else
// there is left as it is (EINVAL, EISDIR), as is a missing one (ENOENT).
bool RemoveFile(const std::string& path, FileError* error);

// Renames the file `from` in the place's folder to `to` in the same folder,
// never following a link at either name.
bool RenameInFolder(const FilePlace& place, const std::string& from, const std::string& to, FileError* error);

// Which temporary files a clearing takes: those of one file's name, or of
// every file that ends as it does (".reg", say), and how old at least.
struct StaleTemporaries {
  std::string name;
  bool any_name_with_its_ending = false;
  std::chrono::seconds min_age{0};
  // Besides this user's, those of this owner count too (a writer running as
  // root gives a replacement the old file's owner); -1 for none.
  uid_t also_owner = static_cast<uid_t>(-1);
};

// Removes, in the folder held as `folder_fd`, the temporary files that
// ReplaceFile makes (see replace_file.h) and a writer that died left:
// ordinary files of their pattern owned by this user, last changed at least
// `min_age` ago. Returns how many went; a folder that cannot be listed keeps
// what it has.
int RemoveStaleTemporaries(int folder_fd, const StaleTemporaries& which);
