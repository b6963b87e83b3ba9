// The phone's registry API, under its Win32 names and argument orders.
// Keys and values live in one file in the standard registry export format;
// see hive_file.h for where it is and how it is kept safe.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/win/win_types.h"

// Predefined roots.
#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<UINT_PTR>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<UINT_PTR>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<UINT_PTR>(0x80000002u)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<UINT_PTR>(0x80000003u)))

// C functions, as on the phone.
extern "C" {

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes,
                     PHKEY phkResult, DWORD* lpdwDisposition);

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   PHKEY phkResult);

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType,
                    const BYTE* lpData, DWORD cbData);

// lpType, lpData and lpcbData may each be null. With lpData null or too small,
// *lpcbData receives the size needed (ERROR_MORE_DATA when the buffer is short).
LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD* lpReserved, DWORD* lpType,
                      BYTE* lpData, DWORD* lpcbData);

// Removes one value of the key; ERROR_FILE_NOT_FOUND when it is not there.
LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);

LONG RegCloseKey(HKEY hKey);

// Sets a value in hKey's subkey lpSubKey (hKey itself when it is null or
// empty), creating the subkey when it is missing.
LONG RegSetKeyValueW(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValueName, DWORD dwType,
                     LPCVOID lpData, DWORD cbData);
// Removes a value of hKey's subkey lpSubKey (hKey itself when null or empty).
LONG RegDeleteKeyValueW(HKEY hKey, LPCWSTR lpSubKey, LPCWSTR lpValueName);

// ---- Transactions, as the desktop registry has them ----
// Keys opened or created in a transaction gather their changes (set and
// removed values, created keys) instead of writing them; CommitTransaction
// makes them all in one write of the registry file under its lock, so all of
// them land or none. Reads through a transacted key see the file, not the
// changes still pending. Removing a value that is not there is no fault
// inside a transaction. After the commit or rollback, the transaction's keys
// give ERROR_TRANSACTION_NOT_ACTIVE for changes; they still need RegCloseKey,
// the transaction CloseHandle. Failures of these BOOL calls: GetLastError.
HANDLE CreateTransaction(LPSECURITY_ATTRIBUTES lpTransactionAttributes, LPVOID UOW,
                         DWORD CreateOptions, DWORD IsolationLevel, DWORD IsolationFlags,
                         DWORD Timeout, LPWSTR Description);
BOOL CommitTransaction(HANDLE TransactionHandle);
BOOL RollbackTransaction(HANDLE TransactionHandle);
BOOL CloseHandle(HANDLE hObject);
DWORD GetLastError();

LONG RegCreateKeyTransactedW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass,
                             DWORD dwOptions, REGSAM samDesired,
                             LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                             DWORD* lpdwDisposition, HANDLE hTransaction,
                             PVOID pExtendedParemeter);
LONG RegOpenKeyTransactedW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                           PHKEY phkResult, HANDLE hTransaction, PVOID pExtendedParemeter);

}  // extern "C"

// ---- Tintor's own helpers around the API above (not the phone's) ----

// Reads a REG_DWORD value: opens root\subkey, queries, closes. False when the
// key or value is missing, is not a 4-byte REG_DWORD, or the file is unreadable.
bool RegistryReadDword(HKEY root, LPCWSTR subkey, LPCWSTR value_name, DWORD* value);

// One value named by its key's path under a root.
struct RegistryValueName {
  LPCWSTR subkey;
  LPCWSTR value_name;
};
// Reads every listed REG_DWORD value in one look at the file: out[i] gets
// value i, or stays empty when its key or value is missing or is not a
// 4-byte REG_DWORD. ERROR_SUCCESS, else why the file cannot be read (then
// RegistryLastErrorMessage says it in words).
LONG RegistryReadDwords(HKEY root, const RegistryValueName* values, std::size_t count, std::optional<DWORD>* out);
// Removes every listed value that exists, in one write under the lock, so
// the file holds either all of them or none; missing keys and values are
// skipped and nothing else changes. ERROR_SUCCESS also when none existed.
LONG RegistryDeleteValues(HKEY root, const RegistryValueName* values, std::size_t count);
// A read-modify-write of the listed REG_DWORD values under the registry
// file's lock: reads them as RegistryReadDwords does into `now`, lets
// `change` fill `next` (count values, initially a copy of `now`; empty
// removes the value) and writes every value that differs in one durable
// replace of the file, creating missing keys. With `clear_others`, a value
// of another type or size where `next` is empty is removed too (else it is
// left alone). `change` runs under the lock and must not call the registry.
// ERROR_SUCCESS also when nothing differs.
LONG RegistryUpdateDwords(HKEY root, const RegistryValueName* values, std::size_t count,
                          const std::function<void(const std::optional<DWORD>* now, std::optional<DWORD>* next)>& change,
                          bool clear_others = false);

// The registry file that every call from now on reads and writes. The
// program names it once at start (HiveFile::DefaultPath()); without that,
// the first registry call takes the default place.
void RegistryUseFile(std::string path);
// The registry file in use.
std::string RegistryFilePath();
// The same as a person reads it: UTF-16, the home folder as "~", anything
// that is not text (or would break a line) as U+FFFD.
std::u16string RegistryFileShownPath();
// Where that file comes from, as one line for a person, in brackets: named by
// $TINTOR_REGISTRY, or the default place unless that variable names another.
std::u16string RegistryFileShownOrigin();

// The reason the last failing registry call gave, in words, for diagnostics.
const char* RegistryLastErrorMessage();
