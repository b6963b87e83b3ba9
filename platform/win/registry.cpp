// The registry API over the registry file: handles name key paths; every
// call reads the file again if it changed, and every change is written
// through before the call returns.
#include "platform/win/registry.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <memory>
#include <optional>
#include <string>

#include "platform/file/shown_text.h"
#include "platform/file/user_folders.h"
#include "platform/win/hive_file.h"
#include "platform/win/reg_file_format.h"

namespace {

constexpr UINT_PTR kFirstRoot = 0x80000000u;

struct OpenKey {
  int root = 0;
  RegistryPath path;
  UINT_PTR transaction = 0;  // 0: changes are written at once
};

// A change kept by a transaction until it is committed.
struct PendingChange {
  enum Kind { kCreateKey, kSetValue, kDeleteValue } kind;
  OpenKey key;
  std::u16string name;
  DWORD type = 0;
  std::vector<BYTE> data;
};

struct Transaction {
  std::vector<PendingChange> changes;
  bool active = true;  // neither committed nor rolled back
};

struct Registry {
  std::mutex mutex;
  std::unique_ptr<HiveFile> file;
  std::map<UINT_PTR, OpenKey> handles;
  UINT_PTR next_handle = 0x1000;
  std::map<UINT_PTR, Transaction> transactions;
  UINT_PTR next_transaction = 0x40000000;
  std::string last_error;
};

thread_local DWORD g_last_error = ERROR_SUCCESS;

Registry& State() {
  static Registry registry;
  return registry;
}

// The file named at start, or else the default place as the environment
// names it at the first call.
HiveFile& File(Registry& r) {
  if (!r.file) r.file = std::make_unique<HiveFile>(HiveFile::DefaultPath());
  return *r.file;
}

LONG Failed(Registry& r, LONG status, std::string message) {
  r.last_error = std::move(message);
  return status;
}

LONG FileFailed(Registry& r, LONG status) {
  if (status != ERROR_SUCCESS) r.last_error = File(r).last_error();
  return status;
}

// A change the file did not take. The caller's message box can only say
// that it failed, so the reason goes to standard error, one line each time.
LONG WriteFailed(Registry& r, LONG status) {
  FileFailed(r, status);
  const std::string& path = File(r).path();
  if (r.last_error.find(path) != std::string::npos) {
    std::fprintf(stderr, "tintor: registry change not written: %s\n", ShownText(r.last_error).c_str());
  } else {
    std::fprintf(stderr, "tintor: registry change not written to %s: %s\n", ShownText(path).c_str(),
                 ShownText(r.last_error).c_str());
  }
  return status;
}

int RootIndex(HKEY key) {
  const auto v = reinterpret_cast<UINT_PTR>(key);
  if (v >= kFirstRoot && v < kFirstRoot + RegistryHive::kRootCount) return static_cast<int>(v - kFirstRoot);
  return -1;
}

std::size_t Length(LPCWSTR text) {
  std::size_t n = 0;
  if (text != nullptr) {
    while (text[n] != 0) ++n;
  }
  return n;
}

bool HasLineBreak(std::u16string_view name) {
  return name.find_first_of(u"\r\n") != std::u16string_view::npos;
}

// The key that a handle (a root or an open key) plus a subkey path names.
// One leading and one trailing backslash are accepted.
LONG Resolve(Registry& r, HKEY base, LPCWSTR subkey, OpenKey* out) {
  const int root = RootIndex(base);
  if (root >= 0) {
    out->root = root;
    out->path.clear();
  } else {
    auto it = r.handles.find(reinterpret_cast<UINT_PTR>(base));
    if (it == r.handles.end()) return Failed(r, ERROR_INVALID_HANDLE, "not an open key handle");
    *out = it->second;
  }
  std::u16string_view rest(subkey == nullptr ? u"" : subkey, Length(subkey));
  if (!rest.empty() && rest.front() == u'\\') rest.remove_prefix(1);
  if (!rest.empty() && rest.back() == u'\\') rest.remove_suffix(1);
  if (rest.empty()) return ERROR_SUCCESS;
  while (true) {
    const std::size_t sep = rest.find(u'\\');
    const std::u16string_view part = rest.substr(0, sep);
    if (part.empty() || part.size() > RegistryHive::kMaxNameLength || HasLineBreak(part)) {
      return Failed(r, ERROR_INVALID_PARAMETER, "bad key name in the path");
    }
    if (out->path.size() == RegistryHive::kMaxDepth) {
      return Failed(r, ERROR_INVALID_PARAMETER,
                    "key path deeper than " + std::to_string(RegistryHive::kMaxDepth) + " levels");
    }
    out->path.emplace_back(part);
    if (sep == std::u16string_view::npos) break;
    rest.remove_prefix(sep + 1);
  }
  return ERROR_SUCCESS;
}

HKEY NewHandle(Registry& r, OpenKey key) {
  const UINT_PTR id = r.next_handle;
  r.next_handle += 4;  // handles are never reused, so a stale one stays invalid
  r.handles.emplace(id, std::move(key));
  return reinterpret_cast<HKEY>(id);
}

const OpenKey* FindHandle(Registry& r, HKEY key) {
  const int root = RootIndex(key);
  if (root >= 0) {
    static const OpenKey kRoots[RegistryHive::kRootCount] = {{0, {}}, {1, {}}, {2, {}}, {3, {}}};
    return &kRoots[root];
  }
  auto it = r.handles.find(reinterpret_cast<UINT_PTR>(key));
  return it == r.handles.end() ? nullptr : &it->second;
}

// The transaction a key's changes go to, while it is still open for them.
LONG ActiveTransaction(Registry& r, UINT_PTR id, Transaction** out) {
  auto it = r.transactions.find(id);
  if (it == r.transactions.end() || !it->second.active) {
    return Failed(r, ERROR_TRANSACTION_NOT_ACTIVE, "the key's transaction is committed or rolled back");
  }
  *out = &it->second;
  return ERROR_SUCCESS;
}

LONG Pend(Registry& r, PendingChange change) {
  Transaction* t = nullptr;
  if (LONG status = ActiveTransaction(r, change.key.transaction, &t); status != ERROR_SUCCESS) return status;
  t->changes.push_back(std::move(change));
  return ERROR_SUCCESS;
}

bool SameKeyName(const std::u16string& a, const std::u16string& b) { return RegistryNamesEqual(a, b); }

// Whether `key` is `created` or one of the parents that creating it makes.
bool MadeBy(const OpenKey& key, const PendingChange& created) {
  return created.kind == PendingChange::kCreateKey && created.key.root == key.root &&
         key.path.size() <= created.key.path.size() &&
         std::equal(key.path.begin(), key.path.end(), created.key.path.begin(), SameKeyName);
}

// Makes a transaction's changes in the content, or none of them: every key
// a value is set in must exist or be created by the transaction first. A
// removal from a key that is not there has nothing to remove.
LONG ApplyPending(const std::vector<PendingChange>& changes, RegistryHive& h, bool& modified) {
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const PendingChange& c = changes[i];
    if (c.kind != PendingChange::kSetValue || h.Find(c.key.root, c.key.path) != nullptr) continue;
    bool made = false;
    for (std::size_t k = 0; k < i && !made; ++k) made = MadeBy(c.key, changes[k]);
    if (!made) return ERROR_BADKEY;
  }
  for (const PendingChange& c : changes) {
    if (c.kind == PendingChange::kCreateKey) {
      bool created = false;
      h.Create(c.key.root, c.key.path, &created);
      modified |= created;
    } else if (c.kind == PendingChange::kSetValue) {
      modified |= h.Find(c.key.root, c.key.path)->SetValue(c.name, c.type, c.data);
    } else if (RegistryKey* key = h.Find(c.key.root, c.key.path)) {
      modified |= key->DeleteValue(c.name);
    }
  }
  return ERROR_SUCCESS;
}

BOOL TransactionFailed(LONG status) {
  g_last_error = static_cast<DWORD>(status);
  return FALSE;
}

// Sets a value of `key`, creating that key first when `create` is set.
LONG SetValueOf(Registry& r, const OpenKey& key, const OpenKey& base, bool create, LPCWSTR value_name,
                DWORD type, const BYTE* bytes, DWORD size) {
  if (bytes == nullptr && size != 0) return Failed(r, ERROR_INVALID_PARAMETER, "no data");
  const std::u16string_view name(value_name == nullptr ? u"" : value_name, Length(value_name));
  if (name.size() > RegistryHive::kMaxValueNameLength || HasLineBreak(name)) {
    return Failed(r, ERROR_INVALID_PARAMETER, "bad value name");
  }
  std::vector<BYTE> data;
  if (size != 0) data.assign(bytes, bytes + size);
  if (key.transaction != 0) {
    if (create && key.path.size() > base.path.size()) {
      if (LONG status = Pend(r, {PendingChange::kCreateKey, key, {}, 0, {}}); status != ERROR_SUCCESS) return status;
    }
    return Pend(r, {PendingChange::kSetValue, key, std::u16string(name), type, std::move(data)});
  }
  const LONG status = File(r).Update([&](RegistryHive& h, bool& modified) {
    RegistryKey* target = h.Find(key.root, key.path);
    if (target == nullptr && create && h.Find(base.root, base.path) != nullptr) {
      target = h.Create(key.root, key.path, &modified);
    }
    if (target == nullptr) return ERROR_BADKEY;
    modified |= target->SetValue(name, type, std::move(data));
    return ERROR_SUCCESS;
  });
  if (status == ERROR_BADKEY) return Failed(r, status, "the key of this handle was removed");
  return status == ERROR_SUCCESS ? status : WriteFailed(r, status);
}

LONG DeleteValueOf(Registry& r, const OpenKey& key, LPCWSTR value_name) {
  const std::u16string_view name(value_name == nullptr ? u"" : value_name, Length(value_name));
  if (key.transaction != 0) return Pend(r, {PendingChange::kDeleteValue, key, std::u16string(name), 0, {}});
  bool found = false;
  const LONG status = File(r).Update([&](RegistryHive& h, bool& modified) {
    RegistryKey* target = h.Find(key.root, key.path);
    if (target == nullptr) return ERROR_BADKEY;
    found = modified = target->DeleteValue(name);
    return ERROR_SUCCESS;
  });
  if (status == ERROR_BADKEY) return Failed(r, status, "the key of this handle was removed");
  if (status == ERROR_SUCCESS && !found) return Failed(r, ERROR_FILE_NOT_FOUND, "no such value");
  return status == ERROR_SUCCESS ? status : WriteFailed(r, status);
}

}  // namespace

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*Reserved*/, LPWSTR /*lpClass*/,
                     DWORD /*dwOptions*/, REGSAM /*samDesired*/,
                     LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, PHKEY phkResult,
                     DWORD* lpdwDisposition) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  if (phkResult == nullptr) return Failed(r, ERROR_INVALID_PARAMETER, "no place for the handle");
  OpenKey key;
  if (LONG status = Resolve(r, hKey, lpSubKey, &key); status != ERROR_SUCCESS) return status;
  HiveFile& file = File(r);
  if (key.transaction != 0) {
    // Created when the transaction is committed; reported as it is now.
    const RegistryHive* hive = nullptr;
    if (LONG status = file.Load(&hive); status != ERROR_SUCCESS) return FileFailed(r, status);
    const bool exists = hive->Find(key.root, key.path) != nullptr;
    if (LONG status = Pend(r, {PendingChange::kCreateKey, key, {}, 0, {}}); status != ERROR_SUCCESS) return status;
    *phkResult = NewHandle(r, std::move(key));
    if (lpdwDisposition != nullptr) *lpdwDisposition = exists ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    return ERROR_SUCCESS;
  }

  // Opening an existing key does not touch the file.
  const RegistryHive* hive = nullptr;
  if (LONG status = file.Load(&hive); status != ERROR_SUCCESS) return WriteFailed(r, status);
  bool created = false;
  if (hive->Find(key.root, key.path) == nullptr) {
    const OpenKey* base = FindHandle(r, hKey);
    const LONG status = file.Update([&](RegistryHive& h, bool& modified) {
      if (h.Find(base->root, base->path) == nullptr) return ERROR_BADKEY;
      h.Create(key.root, key.path, &created);
      modified = created;
      return ERROR_SUCCESS;
    });
    if (status == ERROR_BADKEY) return Failed(r, status, "the key of this handle was removed");
    if (status != ERROR_SUCCESS) return WriteFailed(r, status);
  }
  *phkResult = NewHandle(r, std::move(key));
  if (lpdwDisposition != nullptr) {
    *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  }
  return ERROR_SUCCESS;
}

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*ulOptions*/, REGSAM /*samDesired*/,
                   PHKEY phkResult) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  if (phkResult == nullptr) return Failed(r, ERROR_INVALID_PARAMETER, "no place for the handle");
  OpenKey key;
  if (LONG status = Resolve(r, hKey, lpSubKey, &key); status != ERROR_SUCCESS) return status;
  const RegistryHive* hive = nullptr;
  if (LONG status = File(r).Load(&hive); status != ERROR_SUCCESS) return FileFailed(r, status);
  if (hive->Find(key.root, key.path) == nullptr) {
    return Failed(r, ERROR_FILE_NOT_FOUND, "no such key");
  }
  *phkResult = NewHandle(r, std::move(key));
  return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD /*Reserved*/, DWORD dwType,
                    const BYTE* lpData, DWORD cbData) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  const OpenKey* key = FindHandle(r, hKey);
  if (key == nullptr) return Failed(r, ERROR_INVALID_HANDLE, "not an open key handle");
  return SetValueOf(r, *key, *key, false, lpValueName, dwType, lpData, cbData);
}

LONG RegSetKeyValueW(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValueName, DWORD dwType,
                     LPCVOID lpData, DWORD cbData) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  const OpenKey* base = FindHandle(r, hKey);
  if (base == nullptr) return Failed(r, ERROR_INVALID_HANDLE, "not an open key handle");
  OpenKey key;
  if (LONG status = Resolve(r, hKey, lpSubKey, &key); status != ERROR_SUCCESS) return status;
  return SetValueOf(r, key, *base, true, lpValueName, dwType, static_cast<const BYTE*>(lpData), cbData);
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD* lpReserved, DWORD* lpType,
                      BYTE* lpData, DWORD* lpcbData) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  const OpenKey* key = FindHandle(r, hKey);
  if (key == nullptr) return Failed(r, ERROR_INVALID_HANDLE, "not an open key handle");
  if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr)) {
    return Failed(r, ERROR_INVALID_PARAMETER, "bad arguments");
  }
  const RegistryHive* hive = nullptr;
  if (LONG status = File(r).Load(&hive); status != ERROR_SUCCESS) return FileFailed(r, status);
  const RegistryKey* target = hive->Find(key->root, key->path);
  if (target == nullptr) return Failed(r, ERROR_BADKEY, "the key of this handle was removed");
  const std::u16string_view name(lpValueName == nullptr ? u"" : lpValueName, Length(lpValueName));
  const RegistryValue* value = target->FindValue(name);
  if (value == nullptr) return Failed(r, ERROR_FILE_NOT_FOUND, "no such value");
  if (lpType != nullptr) *lpType = value->type;
  const auto size = static_cast<DWORD>(value->data.size());
  if (lpcbData == nullptr) return ERROR_SUCCESS;
  if (lpData != nullptr && *lpcbData < size) {
    *lpcbData = size;
    return Failed(r, ERROR_MORE_DATA, "buffer too small");
  }
  if (lpData != nullptr && size != 0) std::copy(value->data.begin(), value->data.end(), lpData);
  *lpcbData = size;
  return ERROR_SUCCESS;
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  const OpenKey* key = FindHandle(r, hKey);
  if (key == nullptr) return Failed(r, ERROR_INVALID_HANDLE, "not an open key handle");
  return DeleteValueOf(r, *key, lpValueName);
}

LONG RegDeleteKeyValueW(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValueName) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  OpenKey key;
  if (LONG status = Resolve(r, hKey, lpSubKey, &key); status != ERROR_SUCCESS) return status;
  return DeleteValueOf(r, key, lpValueName);
}

LONG RegCloseKey(HKEY hKey) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  if (RootIndex(hKey) >= 0) return ERROR_SUCCESS;
  if (r.handles.erase(reinterpret_cast<UINT_PTR>(hKey)) == 0) {
    return Failed(r, ERROR_INVALID_HANDLE, "not an open key handle");
  }
  return ERROR_SUCCESS;
}

HANDLE CreateTransaction(LPSECURITY_ATTRIBUTES /*lpTransactionAttributes*/, LPVOID /*UOW*/,
                         DWORD /*CreateOptions*/, DWORD /*IsolationLevel*/,
                         DWORD /*IsolationFlags*/, DWORD /*Timeout*/, LPWSTR /*Description*/) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  const UINT_PTR id = r.next_transaction;
  r.next_transaction += 4;  // never reused, like key handles
  r.transactions.emplace(id, Transaction{});
  return reinterpret_cast<HANDLE>(id);
}

BOOL CommitTransaction(HANDLE TransactionHandle) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  Transaction* t = nullptr;
  const LONG open = ActiveTransaction(r, reinterpret_cast<UINT_PTR>(TransactionHandle), &t);
  if (open != ERROR_SUCCESS) return TransactionFailed(open);
  t->active = false;
  const std::vector<PendingChange> changes = std::move(t->changes);
  t->changes.clear();
  if (changes.empty()) return TRUE;
  const LONG status = File(r).Update([&](RegistryHive& h, bool& modified) {
    return ApplyPending(changes, h, modified);
  });
  if (status == ERROR_BADKEY) {
    Failed(r, status, "a key of the transaction was removed; nothing is written");
    return TransactionFailed(status);
  }
  if (status != ERROR_SUCCESS) return TransactionFailed(WriteFailed(r, status));
  return TRUE;
}

BOOL RollbackTransaction(HANDLE TransactionHandle) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  Transaction* t = nullptr;
  const LONG open = ActiveTransaction(r, reinterpret_cast<UINT_PTR>(TransactionHandle), &t);
  if (open != ERROR_SUCCESS) return TransactionFailed(open);
  t->active = false;
  t->changes.clear();
  return TRUE;
}

BOOL CloseHandle(HANDLE hObject) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  if (r.transactions.erase(reinterpret_cast<UINT_PTR>(hObject)) == 0) {
    Failed(r, ERROR_INVALID_HANDLE, "not an open transaction");
    return TransactionFailed(ERROR_INVALID_HANDLE);
  }
  return TRUE;
}

DWORD GetLastError() { return g_last_error; }

LONG RegCreateKeyTransactedW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass,
                             DWORD dwOptions, REGSAM samDesired,
                             LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                             DWORD* lpdwDisposition, HANDLE hTransaction,
                             PVOID /*pExtendedParemeter*/) {
  HKEY base = nullptr;
  if (LONG status = RegOpenKeyTransactedW(hKey, nullptr, 0, 0, &base, hTransaction, nullptr);
      status != ERROR_SUCCESS) {
    return status;
  }
  const LONG status = RegCreateKeyExW(base, lpSubKey, Reserved, lpClass, dwOptions, samDesired,
                                      lpSecurityAttributes, phkResult, lpdwDisposition);
  RegCloseKey(base);
  return status;
}

LONG RegOpenKeyTransactedW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                           PHKEY phkResult, HANDLE hTransaction, PVOID /*pExtendedParemeter*/) {
  {
    Registry& r = State();
    std::lock_guard<std::mutex> guard(r.mutex);
    Transaction* t = nullptr;
    if (LONG status = ActiveTransaction(r, reinterpret_cast<UINT_PTR>(hTransaction), &t);
        status != ERROR_SUCCESS) {
      return status;
    }
  }
  const LONG status = RegOpenKeyExW(hKey, lpSubKey, ulOptions, samDesired, phkResult);
  if (status != ERROR_SUCCESS) return status;
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  r.handles[reinterpret_cast<UINT_PTR>(*phkResult)].transaction = reinterpret_cast<UINT_PTR>(hTransaction);
  return ERROR_SUCCESS;
}

bool RegistryReadDword(HKEY root, LPCWSTR subkey, LPCWSTR value_name, DWORD* value) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, subkey, 0, 0, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  BYTE data[4] = {};
  DWORD size = sizeof data;
  const LONG status = RegQueryValueExW(key, value_name, nullptr, &type, data, &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != 4) return false;
  if (value != nullptr) {
    *value = static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) |
             (static_cast<DWORD>(data[2]) << 16) | (static_cast<DWORD>(data[3]) << 24);
  }
  return true;
}

namespace {

using ValueNames = std::vector<std::pair<OpenKey, std::u16string_view>>;

// Each listed value's key, resolved under `root`, and its name.
LONG ResolveValueNames(Registry& r, HKEY root, const RegistryValueName* values, std::size_t count,
                       ValueNames* names) {
  for (std::size_t i = 0; i < count; ++i) {
    OpenKey key;
    const LONG status = Resolve(r, root, values[i].subkey, &key);
    if (status != ERROR_SUCCESS) return status;
    LPCWSTR name = values[i].value_name == nullptr ? u"" : values[i].value_name;
    names->emplace_back(std::move(key), std::u16string_view(name, Length(name)));
  }
  return ERROR_SUCCESS;
}

}  // namespace

LONG RegistryReadDwords(HKEY root, const RegistryValueName* values, std::size_t count, std::optional<DWORD>* out) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  ValueNames names;
  if (LONG status = ResolveValueNames(r, root, values, count, &names); status != ERROR_SUCCESS) return status;
  const RegistryHive* hive = nullptr;
  if (LONG status = File(r).Load(&hive); status != ERROR_SUCCESS) return FileFailed(r, status);
  for (std::size_t i = 0; i < count; ++i) {
    const RegistryKey* key = hive->Find(names[i].first.root, names[i].first.path);
    const RegistryValue* value = key != nullptr ? key->FindValue(names[i].second) : nullptr;
    out[i] = value != nullptr ? value->Dword() : std::nullopt;
  }
  return ERROR_SUCCESS;
}

LONG RegistryDeleteValues(HKEY root, const RegistryValueName* values, std::size_t count) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  ValueNames names;
  if (LONG status = ResolveValueNames(r, root, values, count, &names); status != ERROR_SUCCESS) return status;
  // Nothing to remove: no lock, no folder made for a registry not yet written.
  const RegistryHive* hive = nullptr;
  if (LONG status = File(r).Load(&hive); status != ERROR_SUCCESS) return WriteFailed(r, status);
  bool any = false;
  for (const auto& [key, name] : names) {
    const RegistryKey* target = hive->Find(key.root, key.path);
    any = any || (target != nullptr && target->FindValue(name) != nullptr);
  }
  if (!any) return ERROR_SUCCESS;
  const LONG status = File(r).Update([&](RegistryHive& h, bool& modified) {
    for (const auto& [key, name] : names) {
      if (RegistryKey* target = h.Find(key.root, key.path)) modified |= target->DeleteValue(name);
    }
    return ERROR_SUCCESS;
  });
  return status == ERROR_SUCCESS ? status : WriteFailed(r, status);
}

LONG RegistryUpdateDwords(HKEY root, const RegistryValueName* values, std::size_t count,
                          const std::function<void(const std::optional<DWORD>* now, std::optional<DWORD>* next)>& change,
                          bool clear_others) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  ValueNames names;
  if (LONG status = ResolveValueNames(r, root, values, count, &names); status != ERROR_SUCCESS) return status;
  std::vector<std::optional<DWORD>> now(count), next(count);
  std::vector<bool> other(count);  // a value of another type or size
  const LONG status = File(r).Update([&](RegistryHive& h, bool& modified) {
    for (std::size_t i = 0; i < count; ++i) {
      const RegistryKey* key = h.Find(names[i].first.root, names[i].first.path);
      const RegistryValue* value = key != nullptr ? key->FindValue(names[i].second) : nullptr;
      now[i] = value != nullptr ? value->Dword() : std::nullopt;
      other[i] = value != nullptr && !now[i];
    }
    next = now;
    change(now.data(), next.data());
    for (std::size_t i = 0; i < count; ++i) {
      if (next[i] == now[i] && !(clear_others && other[i])) continue;
      const auto& [key, name] = names[i];
      if (!next[i]) {
        if (RegistryKey* target = h.Find(key.root, key.path)) modified |= target->DeleteValue(name);
        continue;
      }
      bool created = false;
      RegistryKey* target = h.Create(key.root, key.path, &created);
      if (target == nullptr) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
      const DWORD v = *next[i];
      modified |= created;
      modified |= target->SetValue(name, REG_DWORD,
                                   DwordBytes(v));
    }
    return static_cast<LONG>(ERROR_SUCCESS);
  });
  return status == ERROR_SUCCESS ? status : WriteFailed(r, status);
}

void RegistryUseFile(std::string path) {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  if (!r.file || r.file->path() != path) r.file = std::make_unique<HiveFile>(std::move(path));
}

std::string RegistryFilePath() {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  return File(r).path();
}

std::u16string RegistryFileShownOrigin() {
  const char* named = std::getenv("TINTOR_REGISTRY");
  if (named != nullptr && named[0] != '\0' && RegistryFilePath() == named) {
    return u"（由 $TINTOR_REGISTRY 指定）";
  }
  return u"（或 $TINTOR_REGISTRY 所指的文件）";
}

std::u16string RegistryFileShownPath() {
  const std::string path = PathShownFromHome(RegistryFilePath());
  std::u16string shown;
  std::string why;
  if (!DecodeUtf8(reinterpret_cast<const BYTE*>(path.data()), path.size(), &shown, &why)) {
    shown.clear();
    for (const char c : path) {
      const auto b = static_cast<unsigned char>(c);
      shown.push_back(b < 0x80 ? static_cast<char16_t>(b) : u'\uFFFD');
    }
  }
  for (char16_t& c : shown) {
    if (c < 0x20 || c == 0x7F) c = u'\uFFFD';
  }
  return shown;
}

const char* RegistryLastErrorMessage() {
  Registry& r = State();
  std::lock_guard<std::mutex> guard(r.mutex);
  thread_local std::string copy;
  copy = r.last_error;
  return copy.c_str();
}
