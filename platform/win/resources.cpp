// Resource lookup over the tables that the embedded modules register at start.
#include "platform/win/resources.h"

#include <array>
#include <vector>

namespace {

// Each module's handle is the address of its own marker, so handles are
// distinct, stable and never collide with a real pointer the caller holds.
struct ModuleMarker {
  char unused;
};
ModuleMarker program_marker;
ModuleMarker platform_marker;

constexpr std::size_t kModuleCount = 2;

// Built on first use: tables register from other translation units during
// static initialisation, in no fixed order.
std::array<std::vector<ResourceEntry>, kModuleCount>& Tables() {
  static std::array<std::vector<ResourceEntry>, kModuleCount> tables;
  return tables;
}

// The table of a module handle, or null for a handle no module owns. A null
// handle means the program itself, as on the phone.
const std::vector<ResourceEntry>* TableOf(HMODULE module) {
  if (module == nullptr || module == ProgramModuleHandle()) {
    return &Tables()[static_cast<std::size_t>(ResourceModuleId::Program)];
  }
  if (module == PlatformResourceModuleHandle()) {
    return &Tables()[static_cast<std::size_t>(ResourceModuleId::Platform)];
  }
  return nullptr;
}

// True when `handle` points at an entry of `module`'s table.
bool Owns(const std::vector<ResourceEntry>& table, const ResourceEntry* entry) {
  for (const ResourceEntry& e : table) {
    if (&e == entry) return true;
  }
  return false;
}

const ResourceEntry* EntryOf(HMODULE module, HRSRC info) {
  const std::vector<ResourceEntry>* table = TableOf(module);
  const auto* entry = reinterpret_cast<const ResourceEntry*>(info);
  if (table == nullptr || entry == nullptr || !Owns(*table, entry)) return nullptr;
  return entry;
}

}  // namespace

HMODULE ProgramModuleHandle() { return reinterpret_cast<HMODULE>(&program_marker); }

HMODULE PlatformResourceModuleHandle() { return reinterpret_cast<HMODULE>(&platform_marker); }

void RegisterResourceTable(ResourceModuleId module, const ResourceEntry* entries, std::size_t count) {
  const auto index = static_cast<std::size_t>(module);
  if (index >= kModuleCount || entries == nullptr) return;
  std::vector<ResourceEntry>& table = Tables()[index];
  table.reserve(table.size() + count);
  for (std::size_t i = 0; i < count; ++i) {
    // A later registration of the same type, name and language replaces the earlier one.
    bool replaced = false;
    for (ResourceEntry& e : table) {
      if (e.type == entries[i].type && e.name == entries[i].name &&
          e.language == entries[i].language) {
        e = entries[i];
        replaced = true;
        break;
      }
    }
    if (!replaced) table.push_back(entries[i]);
  }
}

HRSRC FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage) {
  const std::vector<ResourceEntry>* table = TableOf(hModule);
  // Only integer types and names are embedded; a string never matches.
  if (table == nullptr || lpType == nullptr || lpName == nullptr || !IS_INTRESOURCE(lpType) ||
      !IS_INTRESOURCE(lpName)) {
    return nullptr;
  }
  const auto type = static_cast<WORD>(reinterpret_cast<UINT_PTR>(lpType));
  const auto name = static_cast<WORD>(reinterpret_cast<UINT_PTR>(lpName));
  for (const ResourceEntry& e : *table) {
    if (e.type == type && e.name == name && e.language == wLanguage) {
      return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(&e));
    }
  }
  return nullptr;
}

HGLOBAL LoadResource(HMODULE hModule, HRSRC hResInfo) {
  const ResourceEntry* entry = EntryOf(hModule, hResInfo);
  if (entry == nullptr) return nullptr;
  return const_cast<BYTE*>(entry->data);
}

LPVOID LockResource(HGLOBAL hResData) { return hResData; }

DWORD SizeofResource(HMODULE hModule, HRSRC hResInfo) {
  const ResourceEntry* entry = EntryOf(hModule, hResInfo);
  return entry == nullptr ? 0 : entry->size;
}
