// Linked with -Wl,--wrap for the calls below (see handle_count.cmake):
// every call from outside the registry's own file comes here first.
#include "tests/platform/win/handle_count.h"

#include <atomic>

#include "platform/win/registry.h"

extern "C" {
LONG __real_RegCreateKeyExW(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY, DWORD*);
LONG __real_RegOpenKeyExW(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY);
LONG __real_RegCloseKey(HKEY);
LONG __real_RegCreateKeyTransactedW(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES, PHKEY,
                                    DWORD*, HANDLE, PVOID);
LONG __real_RegOpenKeyTransactedW(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY, HANDLE, PVOID);
}

namespace {
std::atomic<int> g_open{0};

bool IsRoot(HKEY key) {
  const auto v = reinterpret_cast<UINT_PTR>(key);
  return v >= 0x80000000u && v <= 0x80000003u;
}
}  // namespace

extern "C" LONG __wrap_RegCreateKeyExW(HKEY key, LPCWSTR subkey, DWORD reserved, LPWSTR cls, DWORD options,
                            REGSAM sam, LPSECURITY_ATTRIBUTES security, PHKEY result, DWORD* disposition) {
  const LONG status =
      __real_RegCreateKeyExW(key, subkey, reserved, cls, options, sam, security, result, disposition);
  if (status == ERROR_SUCCESS) ++g_open;
  return status;
}

extern "C" LONG __wrap_RegOpenKeyExW(HKEY key, LPCWSTR subkey, DWORD options, REGSAM sam, PHKEY result) {
  const LONG status = __real_RegOpenKeyExW(key, subkey, options, sam, result);
  if (status == ERROR_SUCCESS) ++g_open;
  return status;
}

extern "C" LONG __wrap_RegCreateKeyTransactedW(HKEY key, LPCWSTR subkey, DWORD reserved, LPWSTR cls,
                                               DWORD options, REGSAM sam, LPSECURITY_ATTRIBUTES security,
                                               PHKEY result, DWORD* disposition, HANDLE transaction,
                                               PVOID extended) {
  const LONG status = __real_RegCreateKeyTransactedW(key, subkey, reserved, cls, options, sam, security, result,
                                                     disposition, transaction, extended);
  if (status == ERROR_SUCCESS) ++g_open;
  return status;
}

extern "C" LONG __wrap_RegOpenKeyTransactedW(HKEY key, LPCWSTR subkey, DWORD options, REGSAM sam, PHKEY result,
                                             HANDLE transaction, PVOID extended) {
  const LONG status = __real_RegOpenKeyTransactedW(key, subkey, options, sam, result, transaction, extended);
  if (status == ERROR_SUCCESS) ++g_open;
  return status;
}

extern "C" LONG __wrap_RegCloseKey(HKEY key) {
  const LONG status = __real_RegCloseKey(key);
  if (status == ERROR_SUCCESS && !IsRoot(key)) --g_open;
  return status;
}

unsigned RegistryOpenHandleCount() { return static_cast<unsigned>(g_open.load()); }
