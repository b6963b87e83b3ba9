// Keys and values in memory, with the registry's case-insensitive names.
#include "platform/win/registry_hive.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <iterator>

namespace {

// Folds a UTF-16 unit to upper case, one unit at a time as the phone's
// registry compares names: every script with case, by GLib's Unicode tables
// (the simple, one-character mapping; no locale's rules). Halves of
// surrogate pairs, and letters whose upper case lies outside 16 bits, stay.
char16_t FoldUnit(char16_t c) {
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  const gunichar upper = g_unichar_toupper(c);
  return upper <= 0xFFFF ? static_cast<char16_t>(upper) : c;
}

constexpr std::array<std::u16string_view, RegistryHive::kRootCount> kRootNames = {
    u"HKEY_CLASSES_ROOT", u"HKEY_CURRENT_USER", u"HKEY_LOCAL_MACHINE", u"HKEY_USERS"};
constexpr std::array<std::u16string_view, RegistryHive::kRootCount> kRootShortNames = {
    u"HKCR", u"HKCU", u"HKLM", u"HKU"};

// Below this many names a plain scan is as fast as a table.
constexpr std::size_t kIndexFrom = 16;

template <typename Item>
using NameIndex = std::unordered_map<std::u16string, typename std::list<Item>::iterator>;

// The table is made when first needed; once in use, it follows every name
// added and removed.
template <typename Item>
bool UseIndex(std::list<Item>& items, NameIndex<Item>& index) {
  if (items.size() < kIndexFrom) return false;
  if (index.size() != items.size()) {
    index.clear();
    for (auto it = items.begin(); it != items.end(); ++it) index.emplace(RegistryFoldCase(it->name), it);
  }
  return true;
}

template <typename Item>
typename std::list<Item>::iterator FindByName(std::list<Item>& items, NameIndex<Item>& index,
                                              std::u16string_view name) {
  if (!UseIndex(items, index)) {
    return std::find_if(items.begin(), items.end(),
                        [&](const Item& item) { return RegistryNamesEqual(item.name, name); });
  }
  const auto found = index.find(RegistryFoldCase(name));
  return found == index.end() ? items.end() : found->second;
}

template <typename Item>
Item* Added(std::list<Item>& items, NameIndex<Item>& index) {
  if (!index.empty()) index.emplace(RegistryFoldCase(items.back().name), std::prev(items.end()));
  return &items.back();
}

template <typename Item>
bool Remove(std::list<Item>& items, NameIndex<Item>& index, std::u16string_view name) {
  if (UseIndex(items, index)) {
    const auto found = index.find(RegistryFoldCase(name));
    if (found == index.end()) return false;
    items.erase(found->second);
    index.erase(found);
    return true;
  }
  const auto it = FindByName(items, index, name);
  if (it == items.end()) return false;
  if (!index.empty()) index.erase(RegistryFoldCase(it->name));
  items.erase(it);
  return true;
}

template <typename Key>
Key* Walk(Key* key, const RegistryPath& path) {
  for (const std::u16string& name : path) {
    key = key->FindSubkey(name);
    if (key == nullptr) return nullptr;
  }
  return key;
}

}  // namespace

bool RegistryNamesEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && FoldUnit(a[i]) != FoldUnit(b[i])) return false;
  }
  return true;
}

std::u16string RegistryFoldCase(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) c = FoldUnit(c);
  return folded;
}

std::u16string_view RegistryRootName(int root) {
  if (root < 0 || root >= RegistryHive::kRootCount) return {};
  return kRootNames[static_cast<std::size_t>(root)];
}

int RegistryRootFromName(std::u16string_view name) {
  for (int i = 0; i < RegistryHive::kRootCount; ++i) {
    if (RegistryNamesEqual(name, kRootNames[static_cast<std::size_t>(i)]) ||
        RegistryNamesEqual(name, kRootShortNames[static_cast<std::size_t>(i)])) {
      return i;
    }
  }
  return -1;
}

RegistryKey& RegistryKey::operator=(const RegistryKey& other) {
  if (this != &other) *this = RegistryKey(other);
  return *this;
}

RegistryValue* RegistryKey::FindValue(std::u16string_view value_name) {
  const auto it = FindByName(values, value_index, value_name);
  return it == values.end() ? nullptr : &*it;
}

const RegistryValue* RegistryKey::FindValue(std::u16string_view value_name) const {
  return const_cast<RegistryKey*>(this)->FindValue(value_name);
}

RegistryKey* RegistryKey::FindSubkey(std::u16string_view key_name) {
  const auto it = FindByName(subkeys, subkey_index, key_name);
  return it == subkeys.end() ? nullptr : &*it;
}

const RegistryKey* RegistryKey::FindSubkey(std::u16string_view key_name) const {
  return const_cast<RegistryKey*>(this)->FindSubkey(key_name);
}

bool RegistryKey::SetValue(std::u16string_view value_name, DWORD type, std::vector<BYTE> data) {
  if (RegistryValue* existing = FindValue(value_name)) {
    if (existing->type == type && existing->data == data) return false;
    existing->type = type;
    existing->data = std::move(data);
    return true;
  }
  values.push_back(RegistryValue{std::u16string(value_name), type, std::move(data)});
  Added(values, value_index);
  return true;
}

bool RegistryKey::DeleteValue(std::u16string_view value_name) {
  return Remove(values, value_index, value_name);
}

RegistryKey* RegistryKey::FindOrAddSubkey(std::u16string_view key_name, bool* created) {
  if (RegistryKey* existing = FindSubkey(key_name)) {
    *created = false;
    return existing;
  }
  subkeys.emplace_back().name = std::u16string(key_name);
  *created = true;
  return Added(subkeys, subkey_index);
}

bool RegistryKey::DeleteSubkey(std::u16string_view key_name) {
  return Remove(subkeys, subkey_index, key_name);
}

RegistryHive::RegistryHive() : roots_(kRootCount) {
  for (int i = 0; i < kRootCount; ++i) Root(i).name = std::u16string(RegistryRootName(i));
}

RegistryKey* RegistryHive::Find(int root, const RegistryPath& path) {
  if (root < 0 || root >= kRootCount) return nullptr;
  return Walk(&Root(root), path);
}

const RegistryKey* RegistryHive::Find(int root, const RegistryPath& path) const {
  if (root < 0 || root >= kRootCount) return nullptr;
  return Walk(&Root(root), path);
}

RegistryKey* RegistryHive::Create(int root, const RegistryPath& path, bool* created) {
  if (created != nullptr) *created = false;
  if (root < 0 || root >= kRootCount) return nullptr;
  RegistryKey* key = &Root(root);
  for (const std::u16string& name : path) {
    bool added = false;
    key = key->FindOrAddSubkey(name, &added);
    if (added && created != nullptr) *created = true;
  }
  return key;
}

namespace {
std::size_t CountValues(const RegistryKey& key) {
  std::size_t n = key.values.size();
  for (const RegistryKey& sub : key.subkeys) n += CountValues(sub);
  return n;
}
}  // namespace

std::size_t RegistryHive::ValueCount() const {
  std::size_t n = 0;
  for (const RegistryKey& root : roots_) n += CountValues(root);
  return n;
}
