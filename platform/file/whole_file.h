// The theme's files (saved themes, exports, the history) read and written
// whole, with the failure said as "cannot write PATH (reason)"; the writing
// is ReplaceFile's, the reading ReadWholeFile's.
#pragma once

#include <string>

// Whether a missing folder on the way to a file is made (the program's own
// folders) or refused (a file the user names: it goes where it was asked).
enum class MissingFolder { kMake, kRefuse };

// Puts `bytes` in place of the file at `path`, creating the folder when
// missing (unless `missing_folder` refuses it: "the folder DIR does not exist"). A replaced file keeps its mode (and its owner, as root). Anything
// but an ordinary file in the way (a link, a device, a pipe, a folder) is
// refused, never written through. Temporary files that killed writers left
// in the folder are cleared first (see ReplaceOptions). False with `error`
// set when nothing changed.
// With `flush` false the new file is not waited for on the disk: a power cut
// may leave the old file, or a broken one (for files that can be rebuilt).
bool ReplaceWholeFile(const std::string& path, const std::string& bytes, std::string& error,
                      bool flush = true, MissingFolder missing_folder = MissingFolder::kMake);
// The same (flushed) for a file that must be new: a file already at `path`,
// even one another writer puts there meanwhile, is left alone, and `taken`
// (if given) then says so.
bool WriteNewWholeFile(const std::string& path, const std::string& bytes, std::string& error,
                       bool* taken = nullptr);

// Reads an ordinary file whole, never through a link at its own name and
// never blocking on a pipe; at most `limit` bytes. False with `error` set,
// and `missing` (if given) true when there is no file at all.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error,
                   bool* missing = nullptr, std::size_t limit = 16u << 20);

// Creates a folder with its missing parents, as `mkdir -p`. False with `error` set.
bool MakeFolders(const std::string& path, std::string& error);
