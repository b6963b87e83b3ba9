// The registry's file format: the text a desktop registry editor exports
// ("Windows Registry Editor Version 5.00", UTF-16LE with a byte-order mark,
// CRLF lines) and reads back. Pure conversion between bytes and a hive.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win/registry_hive.h"

// The whole file, byte for byte: every key below a root as its own section
// (parents before children, siblings sorted by name), values in the order
// they were set. A root gets a section only when it holds values itself.
std::string EncodeRegFile(const RegistryHive& hive);

// The same content as text, without the byte-order mark.
std::u16string FormatRegText(const RegistryHive& hive);

// Strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF) to
// UTF-16, appended to *text; false with the reason at the first fault.
bool DecodeUtf8(const BYTE* bytes, std::size_t size, std::u16string* text, std::string* error);

// Reads a file in the exported format: UTF-16LE with its byte-order mark, or
// UTF-8/ASCII; the "Windows Registry Editor Version 5.00" or "REGEDIT4" header;
// comments, blank lines, continued hex lists, escapes, keys in any order,
// "[-key]" and "name"=- removals. A REGEDIT4 file's hex(2) and hex(7) lists
// hold 8-bit text and are stored as UTF-16LE, as in a version 5 file. On any
// fault returns false, leaves *hive untouched and says where and why in *error.
bool ParseRegFile(const void* data, std::size_t size, RegistryHive* hive, std::string* error);
