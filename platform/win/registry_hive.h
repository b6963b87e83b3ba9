// The registry's content in memory: keys under the four predefined roots,
// each with typed values whose bytes are kept exactly. Names compare without
// regard to case and keep the case they were created with. No files, no locks.
#pragma once

#include <cstddef>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/win_types.h"

// A REG_DWORD's four bytes as the registry stores them, lowest first: the
// one way a number becomes a dword value's data.
inline std::vector<BYTE> DwordBytes(DWORD value) {
  return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
          static_cast<BYTE>(value >> 24)};
}

struct RegistryValue {
  std::u16string name;  // empty for the key's default value
  DWORD type = 0;
  std::vector<BYTE> data;

  // A REG_DWORD's number (its four bytes, lowest first); empty for a value
  // of another type or size.
  std::optional<DWORD> Dword() const {
    if (type != REG_DWORD || data.size() != 4) return std::nullopt;
    return static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) | (static_cast<DWORD>(data[2]) << 16) |
           (static_cast<DWORD>(data[3]) << 24);
  }

  bool operator==(const RegistryValue&) const = default;
};

// Values and subkeys are lists, so that removing one costs the same however
// many siblings it has, and a key or value stays where it is while its
// siblings come and go.
struct RegistryKey {
  std::u16string name;
  std::list<RegistryValue> values;  // in the order they were first set
  std::list<RegistryKey> subkeys;   // in the order they were created

  RegistryKey();
  // A copy looks names up through tables of its own, made when needed.
  RegistryKey(const RegistryKey& other);
  RegistryKey& operator=(const RegistryKey& other);
  RegistryKey(RegistryKey&&) noexcept;
  RegistryKey& operator=(RegistryKey&&) noexcept;
  ~RegistryKey();

  RegistryValue* FindValue(std::u16string_view value_name);
  const RegistryValue* FindValue(std::u16string_view value_name) const;
  RegistryKey* FindSubkey(std::u16string_view key_name);
  const RegistryKey* FindSubkey(std::u16string_view key_name) const;
  // Sets or replaces a value; an existing value keeps its name's case, and
  // a new one (or one removed and set again) goes after the others.
  // Returns true when the stored type or bytes changed.
  bool SetValue(std::u16string_view value_name, DWORD type, std::vector<BYTE> data);
  bool DeleteValue(std::u16string_view value_name);
  // Finds the subkey or adds it at the end; *created tells which.
  RegistryKey* FindOrAddSubkey(std::u16string_view key_name, bool* created);
  // Removes the subkey and everything below it.
  bool DeleteSubkey(std::u16string_view key_name);

  // The content; the lookup tables below do not count.
  bool operator==(const RegistryKey& other) const {
    return name == other.name && values == other.values && subkeys == other.subkeys;
  }

  // Place by case-folded name, built once a key has many values or subkeys,
  // so that finding a name does not mean reading them all. A key without
  // such tables (nearly every key) spends one pointer on them.
  struct Index;
  mutable std::unique_ptr<Index> index;
};

using RegistryPath = std::vector<std::u16string>;

class RegistryHive {
 public:
  static constexpr int kRootCount = 4;  // HKEY_CLASSES_ROOT to HKEY_USERS
  // Keys nest at most this many levels below their root, as on the phone.
  static constexpr std::size_t kMaxDepth = 512;
  // A key's name has at most this many characters, a value's name this many.
  static constexpr std::size_t kMaxNameLength = 255;
  static constexpr std::size_t kMaxValueNameLength = 16383;

  RegistryHive();

  RegistryKey& Root(int root) { return roots_[static_cast<std::size_t>(root)]; }
  const RegistryKey& Root(int root) const { return roots_[static_cast<std::size_t>(root)]; }

  RegistryKey* Find(int root, const RegistryPath& path);
  const RegistryKey* Find(int root, const RegistryPath& path) const;
  // Finds the key or creates it with every missing parent. *created tells
  // whether anything was added.
  RegistryKey* Create(int root, const RegistryPath& path, bool* created);

  std::size_t ValueCount() const;
  // Roughly what all keys and values take in memory (see RegistryAddedCost).
  std::size_t Cost() const;

  bool operator==(const RegistryHive&) const = default;

 private:
  std::vector<RegistryKey> roots_;
};

// Roughly what the value or subkey last added to `key` takes in memory: its
// node, its name and data, and its place in the table of names that a key
// has once it holds many of a kind (the place of every one of them when
// that table begins). For bounding what a file may make.
std::size_t RegistryAddedValueCost(const RegistryKey& key);
std::size_t RegistryAddedSubkeyCost(const RegistryKey& key);
// What bytes of a value's data take in memory.
std::size_t RegistryDataCost(std::size_t size);

// "HKEY_LOCAL_MACHINE" and the other full root names, by root index.
std::u16string_view RegistryRootName(int root);
// The root index of a full or short root name ("HKLM"), or -1.
int RegistryRootFromName(std::u16string_view name);
// Name comparison as the registry does it: case-insensitive.
bool RegistryNamesEqual(std::u16string_view a, std::u16string_view b);
// A name in one case, for sorting and comparing.
std::u16string RegistryFoldCase(std::u16string_view name);
// Whether `a` sorts before `b` in one case (as their RegistryFoldCase do),
// without making either.
bool RegistryNameBefore(std::u16string_view a, std::u16string_view b);
