// Resources embedded in the program: found by module, type, integer name and
// language, as on the phone. Nothing is read from disk at run time.
#pragma once

#include "platform/win/win_types.h"

inline constexpr WORD LANG_ZH_CN = 2052;  // Chinese (Simplified, PRC)

// Null when the module, type, name or language is unknown.
HRSRC FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage);
HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo);

// The two modules that carry resources: the program's own, and the platform's
// shared resource module (the popup menu's title picture lives there).
HMODULE ProgramModuleHandle();
HMODULE PlatformResourceModuleHandle();

// One embedded resource. A module's table is registered at static
// initialisation by the generated code that embeds it.
struct ResourceEntry {
  WORD type;
  WORD name;
  WORD language;
  const BYTE* data;
  DWORD size;
};

enum class ResourceModuleId { Program, Platform };
void RegisterResourceTable(ResourceModuleId module, const ResourceEntry* entries, std::size_t count);
