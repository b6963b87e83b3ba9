// Writes one colour value into one registry value of the phone's theme.
#pragma once

#include <cstdint>

#include "platform/win/win_types.h"

// Creates (create = true) or opens the subkey under root, sets value_name to
// `value` as REG_DWORD and closes the key. True when the value was written.
bool WriteThemeColor(HKEY root, LPCWSTR subkey, LPCWSTR value_name, std::uint32_t value,
                     bool create);
