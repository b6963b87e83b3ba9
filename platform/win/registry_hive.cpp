// Keys and values in memory, with the registry's case-insensitive names.
#include "platform/win/registry_hive.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <iterator>
#include <unordered_set>

namespace {

// Folds a UTF-16 unit to upper case, one unit at a time as the phone's
// registry compares names: every script with case, by GLib's Unicode tables
// (the simple, one-character mapping; no locale's rules). Halves of
// surrogate pairs, and letters whose upper case lies outside 16 bits, stay.
char16_t FoldUnit(char16_t c) {
  // Nearly every name is ASCII: the same answer without the table's look-up.
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
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

}  // namespace

// The tables hold places in the lists, found by the names there folded to
// one case as they are hashed and compared: no name is copied into them.
struct RegistryKey::Index {
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view name) const {
      std::size_t h = 14695981039346656037u;
      for (char16_t c : name) h = (h ^ FoldUnit(c)) * 1099511628211u;
      return h;
    }
    template <typename Place>
    std::size_t operator()(const Place& place) const {
      return (*this)(std::u16string_view(place->name));
    }
  };
  struct Equal {
    using is_transparent = void;
    static std::u16string_view Name(std::u16string_view name) { return name; }
    template <typename Place>
    static std::u16string_view Name(const Place& place) {
      return place->name;
    }
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
      return RegistryNamesEqual(Name(a), Name(b));
    }
  };
  std::unordered_set<std::list<RegistryValue>::iterator, Hash, Equal> values;
  std::unordered_set<std::list<RegistryKey>::iterator, Hash, Equal> subkeys;
};

RegistryKey::RegistryKey() = default;
RegistryKey::RegistryKey(const RegistryKey& other) : name(other.name), values(other.values), subkeys(other.subkeys) {}
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

namespace {

template <typename Item>
using NameIndex = std::unordered_set<typename std::list<Item>::iterator, RegistryKey::Index::Hash,
                                     RegistryKey::Index::Equal>;

// The key's table of values or of subkeys (by which list is given), made
// when `make`; else null while the key has none.
NameIndex<RegistryValue>* TableOf(const RegistryKey& key, const std::list<RegistryValue>&, bool make) {
  if (!key.index && make) key.index = std::make_unique<RegistryKey::Index>();
  return key.index ? &key.index->values : nullptr;
}
NameIndex<RegistryKey>* TableOf(const RegistryKey& key, const std::list<RegistryKey>&, bool make) {
  if (!key.index && make) key.index = std::make_unique<RegistryKey::Index>();
  return key.index ? &key.index->subkeys : nullptr;
}

// The table is made when first needed; once in use, it follows every name
// added and removed. Null while a plain scan will do.
template <typename Item>
NameIndex<Item>* UseIndex(const RegistryKey& key, std::list<Item>& items) {
  if (items.size() < kIndexFrom) return nullptr;
  NameIndex<Item>* index = TableOf(key, items, true);
  if (index->size() != items.size()) {
    index->clear();
    for (auto it = items.begin(); it != items.end(); ++it) index->insert(it);
  }
  return index;
}

template <typename Item>
typename std::list<Item>::iterator FindByName(const RegistryKey& key, std::list<Item>& items,
                                              std::u16string_view name) {
  NameIndex<Item>* index = UseIndex(key, items);
  if (index == nullptr) {
    return std::find_if(items.begin(), items.end(),
                        [&](const Item& item) { return RegistryNamesEqual(item.name, name); });
  }
  const auto found = index->find(name);
  return found == index->end() ? items.end() : *found;
}

template <typename Item>
Item* Added(const RegistryKey& key, std::list<Item>& items) {
  NameIndex<Item>* index = TableOf(key, items, false);
  if (index != nullptr && !index->empty()) index->insert(std::prev(items.end()));
  return &items.back();
}

template <typename Item>
bool Remove(const RegistryKey& key, std::list<Item>& items, std::u16string_view name) {
  if (NameIndex<Item>* index = UseIndex(key, items)) {
    const auto found = index->find(name);
    if (found == index->end()) return false;
    // Out of the table first: finding its bucket reads the name.
    const auto place = *found;
    index->erase(found);
    items.erase(place);
    return true;
  }
  const auto it = FindByName(key, items, name);
  if (it == items.end()) return false;
  NameIndex<Item>* index = TableOf(key, items, false);
  if (index != nullptr && !index->empty()) index->erase(it);
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

bool RegistryNameBefore(std::u16string_view a, std::u16string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const char16_t x = FoldUnit(a[i]);
    const char16_t y = FoldUnit(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
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
  const auto it = FindByName(*this, values, value_name);
  return it == values.end() ? nullptr : &*it;
}

const RegistryValue* RegistryKey::FindValue(std::u16string_view value_name) const {
  return const_cast<RegistryKey*>(this)->FindValue(value_name);
}

RegistryKey* RegistryKey::FindSubkey(std::u16string_view key_name) {
  const auto it = FindByName(*this, subkeys, key_name);
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
  Added(*this, values);
  return true;
}

bool RegistryKey::DeleteValue(std::u16string_view value_name) {
  return Remove(*this, values, value_name);
}

RegistryKey* RegistryKey::FindOrAddSubkey(std::u16string_view key_name, bool* created) {
  if (RegistryKey* existing = FindSubkey(key_name)) {
    *created = false;
    return existing;
  }
  subkeys.emplace_back().name = std::u16string(key_name);
  *created = true;
  return Added(*this, subkeys);
}

bool RegistryKey::DeleteSubkey(std::u16string_view key_name) {
  return Remove(*this, subkeys, key_name);
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

// A block of the heap as the allocator hands it out: the bytes asked for and
// its header, in steps of 16, at least 32.
std::size_t Block(std::size_t bytes) { return std::max<std::size_t>(32, (bytes + 8 + 15) / 16 * 16); }

// A name's characters, beyond the few a string keeps in itself.
std::size_t NameCost(const std::u16string& name) {
  return name.size() > std::u16string().capacity() ? Block(2 * (name.size() + 1)) : 0;
}

// A name's place in a table: its node (the place in the list and the
// link) and its bucket.
std::size_t TableEntryCost(const std::u16string&) { return Block(2 * sizeof(void*)) + sizeof(void*); }

// An item of a list: its node (the item and two links), its name, its data.
std::size_t ItemCost(const RegistryValue& value) {
  return Block(sizeof(RegistryValue) + 2 * sizeof(void*)) + NameCost(value.name) + RegistryDataCost(value.data.size());
}
std::size_t ItemCost(const RegistryKey& key) {
  return Block(sizeof(RegistryKey) + 2 * sizeof(void*)) + NameCost(key.name);
}

template <typename Item>
std::size_t AddedCost(const std::list<Item>& items) {
  std::size_t cost = ItemCost(items.back());
  if (items.size() == kIndexFrom) {
    cost += Block(sizeof(RegistryKey::Index));
    for (const Item& item : items) cost += TableEntryCost(item.name);
  } else if (items.size() > kIndexFrom) {
    cost += TableEntryCost(items.back().name);
  }
  return cost;
}

template <typename Item>
std::size_t ListCost(const std::list<Item>& items) {
  const bool table = items.size() >= kIndexFrom;
  std::size_t cost = table ? Block(sizeof(RegistryKey::Index)) : 0;
  for (const Item& item : items) cost += ItemCost(item) + (table ? TableEntryCost(item.name) : 0);
  return cost;
}

std::size_t KeyCost(const RegistryKey& key) {
  std::size_t cost = ListCost(key.values) + ListCost(key.subkeys);
  for (const RegistryKey& sub : key.subkeys) cost += KeyCost(sub);
  return cost;
}

}  // namespace

std::size_t RegistryDataCost(std::size_t size) { return size == 0 ? 0 : Block(size); }
std::size_t RegistryAddedValueCost(const RegistryKey& key) { return AddedCost(key.values); }
std::size_t RegistryAddedSubkeyCost(const RegistryKey& key) { return AddedCost(key.subkeys); }

std::size_t RegistryHive::Cost() const {
  std::size_t cost = 0;
  for (const RegistryKey& root : roots_) cost += KeyCost(root);
  return cost;
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
