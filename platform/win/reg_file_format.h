// The registry's file format: the text a desktop registry editor exports
// ("Windows Registry Editor Version 5.00", UTF-16LE with a byte-order mark,
// CRLF lines) and reads back. Pure conversion between bytes and a hive.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/registry_hive.h"

// The whole file, byte for byte: every key below a root as its own section
// (parents before children, siblings sorted by name), values in the order
// they were set. A root gets a section only when it holds values itself.
std::string EncodeRegFile(const RegistryHive& hive);

// How many bytes EncodeRegFile(hive) gives, without making them.
std::size_t RegFileSize(const RegistryHive& hive);
// The same bytes, where `size` is RegFileSize(hive), known already.
std::string EncodeRegFile(const RegistryHive& hive, std::size_t size);

// The same content as text, without the byte-order mark.
std::u16string FormatRegText(const RegistryHive& hive);

// Strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF) to
// UTF-16, appended to *text (only checked when `text` is null); false with
// the reason at the first fault.
bool DecodeUtf8(const BYTE* bytes, std::size_t size, std::u16string* text, std::string* error);

// Reads a file in the exported format: UTF-16LE with its byte-order mark, or
// UTF-8/ASCII; the "Windows Registry Editor Version 5.00" or "REGEDIT4" header;
// comments, blank lines, continued hex lists, escapes, keys in any order,
// "[-key]" and "name"=- removals. A REGEDIT4 file's hex(2) and hex(7) lists
// hold 8-bit text and are stored as UTF-16LE, as in a version 5 file. On any
// fault returns false, leaves *hive untouched and says where and why in *error.
bool ParseRegFile(const void* data, std::size_t size, RegistryHive* hive, std::string* error);

// The two forms registry editors write: "Windows Registry Editor Version
// 5.00" in UTF-16LE with a byte-order mark (the registry file's own form),
// and the older "REGEDIT4" in 8-bit text, which older importers on phones
// take only: ASCII, any other character as UTF-8, hex(2) and hex(7) lists as
// 8-bit text. Both with CRLF lines; ParseRegFile reads either.
enum class RegFileForm { kVersion5, kRegedit4 };
// With `only_keys_with_values`, a key without values gets no section of its
// own (its subkeys still do), as for a file that carries a few values only.
std::string EncodeRegFile(const RegistryHive& hive, RegFileForm form, bool only_keys_with_values = false);

// A key line or a value line of a file being read, as ReadRegFile shows it
// to a check before taking it.
struct RegFileEntry {
  std::size_t line;                   // where it begins, from 1
  int root;                           // the key's root index
  const RegistryPath& path;           // the key below its root
  const std::u16string* value_name;   // null on a key line
  bool removal;                       // "[-key]" or "name"=-
  DWORD type;                         // a value's type
  const std::vector<BYTE>* data;      // a value's bytes; null for a removal
};
// Empty when the entry may stand in the file, else why it may not.
using RegFileCheck = std::function<std::string(const RegFileEntry& entry)>;

// The most the keys and values read from a file of `size` bytes may take in
// memory (RegistryHive::Cost): two and a half times the file's size and
// 16 MiB more, so that reading a file of the largest size a registry file
// may have takes less than four times its size. A file that would make more is refused at the line that goes
// past it (what it removes again is not counted back).
std::size_t RegFileMemoryLimit(std::size_t size);

// Where a file could not be read (line 0: the file as a whole) and why.
struct RegFileFault {
  // What kind of fault: the file is empty, it is no text, it is text but no
  // registry file (no header line), a registry file broken at `line`, or
  // one whose entry at `line` the reader's check refused.
  enum class Kind { kNone, kEmpty, kNotText, kNotRegistry, kMalformed, kRefused };
  std::size_t line = 0;  // 0: the fault is the whole file's, of no one line
  std::string reason;
  Kind kind = Kind::kNone;
  // "FILE:LINE: reason", or "FILE: reason" for a fault of no one line.
  std::string In(const std::string& file) const;
};

// ParseRegFile, with every key and value line shown to `check` (which may be
// empty): the first it refuses ends the reading as a fault at that line.
bool ReadRegFile(const void* data, std::size_t size, const RegFileCheck& check, RegistryHive* hive,
                 RegFileFault* fault);
