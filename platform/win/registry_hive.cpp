// Keys and values in memory, with the registry's case-insensitive names.
#include "platform/win/registry_hive.h"

#include <algorithm>
#include <array>
#include <locale.h>
#include <wctype.h>

namespace {

// The C library's Unicode case table (its built-in C.UTF-8 locale), or null
// where that locale is missing.
locale_t UnicodeCaseTable() {
  static const locale_t table = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return table;
}

// Folds a UTF-16 unit to upper case, one unit at a time as the phone's
// registry compares names: every script with case, not only ASCII. Halves of
// surrogate pairs, and letters whose upper case lies outside 16 bits, stay.
char16_t FoldUnit(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  if (const locale_t table = UnicodeCaseTable()) {
    const wint_t upper = ::towupper_l(static_cast<wint_t>(c), table);
    return upper <= 0xFFFF ? static_cast<char16_t>(upper) : c;
  }
  // Without the table: Latin-1, Greek, Cyrillic and full-width Latin.
  if (c < 0xE0) return c;
  if (c <= 0xFE) return c == 0xF7 ? c : static_cast<char16_t>(c - 0x20);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);
  return c;
}

constexpr std::array<std::u16string_view, RegistryHive::kRootCount> kRootNames = {
    u"HKEY_CLASSES_ROOT", u"HKEY_CURRENT_USER", u"HKEY_LOCAL_MACHINE", u"HKEY_USERS"};
constexpr std::array<std::u16string_view, RegistryHive::kRootCount> kRootShortNames = {
    u"HKCR", u"HKCU", u"HKLM", u"HKU"};

// Below this many names a plain scan is as fast as a table.
constexpr std::size_t kIndexFrom = 16;

template <typename Item>
Item* FindByName(std::vector<Item>& items, std::unordered_map<std::u16string, std::size_t>& index,
                 std::u16string_view name) {
  if (items.size() < kIndexFrom) {
    for (Item& item : items) {
      if (RegistryNamesEqual(item.name, name)) return &item;
    }
    return nullptr;
  }
  if (index.size() != items.size()) {
    index.clear();
    for (std::size_t i = 0; i < items.size(); ++i) index.emplace(RegistryFoldCase(items[i].name), i);
  }
  const auto it = index.find(RegistryFoldCase(name));
  return it == index.end() ? nullptr : &items[it->second];
}

// Keeps a table that is in use in step with a name added at the end.
void NoteAdded(std::unordered_map<std::u16string, std::size_t>& index, std::u16string_view name,
               std::size_t position) {
  if (!index.empty()) index.emplace(RegistryFoldCase(name), position);
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

RegistryValue* RegistryKey::FindValue(std::u16string_view value_name) {
  return FindByName(values, value_index, value_name);
}

const RegistryValue* RegistryKey::FindValue(std::u16string_view value_name) const {
  return const_cast<RegistryKey*>(this)->FindValue(value_name);
}

RegistryKey* RegistryKey::FindSubkey(std::u16string_view key_name) {
  return FindByName(subkeys, subkey_index, key_name);
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
  NoteAdded(value_index, value_name, values.size() - 1);
  return true;
}

bool RegistryKey::DeleteValue(std::u16string_view value_name) {
  auto it = std::find_if(values.begin(), values.end(), [&](const RegistryValue& v) {
    return RegistryNamesEqual(v.name, value_name);
  });
  if (it == values.end()) return false;
  values.erase(it);
  value_index.clear();  // positions after it moved
  return true;
}

RegistryKey* RegistryKey::FindOrAddSubkey(std::u16string_view key_name, bool* created) {
  if (RegistryKey* existing = FindSubkey(key_name)) {
    *created = false;
    return existing;
  }
  RegistryKey& added = subkeys.emplace_back();
  added.name = std::u16string(key_name);
  NoteAdded(subkey_index, key_name, subkeys.size() - 1);
  *created = true;
  return &added;
}

bool RegistryKey::DeleteSubkey(std::u16string_view key_name) {
  auto it = std::find_if(subkeys.begin(), subkeys.end(), [&](const RegistryKey& k) {
    return RegistryNamesEqual(k.name, key_name);
  });
  if (it == subkeys.end()) return false;
  subkeys.erase(it);
  subkey_index.clear();  // positions after it moved
  return true;
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

bool RegistryHive::Delete(int root, const RegistryPath& path) {
  if (path.empty()) return false;  // a root cannot be removed
  RegistryPath parent_path(path.begin(), path.end() - 1);
  RegistryKey* parent = Find(root, parent_path);
  return parent != nullptr && parent->DeleteSubkey(path.back());
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
