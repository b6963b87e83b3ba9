// Small helpers for the registry tests: UTF-16LE file bytes from text, and
// reading values back through the API.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win/registry.h"

inline std::string Utf16File(std::u16string_view text, bool bom = true) {
  std::string bytes;
  if (bom) bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

inline std::vector<BYTE> Bytes(std::initializer_list<int> list) {
  std::vector<BYTE> out;
  for (int b : list) out.push_back(static_cast<BYTE>(b));
  return out;
}

inline std::vector<BYTE> Le32(DWORD v) {
  return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
          static_cast<BYTE>(v >> 24)};
}

// The UTF-16LE bytes of a string plus its terminating zero, as REG_SZ stores it.
inline std::vector<BYTE> SzBytes(std::u16string_view text) {
  std::vector<BYTE> out;
  for (char16_t c : text) {
    out.push_back(static_cast<BYTE>(c & 0xFF));
    out.push_back(static_cast<BYTE>(c >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

struct QueryResult {
  LONG status = -1;
  DWORD type = 0;
  std::vector<BYTE> data;
};

inline QueryResult QueryValue(HKEY root, LPCWSTR subkey, LPCWSTR name) {
  QueryResult r;
  HKEY key = nullptr;
  r.status = RegOpenKeyExW(root, subkey, 0, 0, &key);
  if (r.status != ERROR_SUCCESS) return r;
  DWORD size = 0;
  r.status = RegQueryValueExW(key, name, nullptr, &r.type, nullptr, &size);
  if (r.status == ERROR_SUCCESS) {
    r.data.resize(size);
    r.status = RegQueryValueExW(key, name, nullptr, &r.type, r.data.data(), &size);
    r.data.resize(size);
  }
  RegCloseKey(key);
  return r;
}

// Creates root\subkey and sets one value; the status of the first failing call.
inline LONG SetValue(HKEY root, LPCWSTR subkey, LPCWSTR name, DWORD type,
                     const std::vector<BYTE>& data) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(root, subkey, 0, nullptr, 0, 0, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status = RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return status;
}

// Creates root\subkey (and its parents) without setting anything.
inline LONG CreateKey(HKEY root, LPCWSTR subkey, DWORD* disposition = nullptr) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExW(root, subkey, 0, nullptr, 0, 0, nullptr, &key, disposition);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return status;
}
