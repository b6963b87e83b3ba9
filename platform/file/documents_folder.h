// Where the studio puts the themes it exports: the user's documents folder,
// as user-dirs.dirs names it, else the home folder (also when it names
// nothing usable).
#pragma once

#include <string>

// The folder, or empty when not even a home folder can be found.
std::string DocumentsFolder();

// A path in `folder` for the theme file `file_name` (NAME.reg) that names
// nothing yet: NAME.reg, else "NAME (2).reg" and so on; empty when all up to
// 99 are taken.
std::string FreeExportPath(const std::string& folder, const std::string& file_name);
