// What the registry file fuzzer asserts for one input, shared with the test
// that replays the seed corpus: the reader never crashes, and whatever it
// accepts is written back to a file that reads to the same content.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/win/reg_file_format.h"

inline bool CheckRegFileInput(const std::uint8_t* data, std::size_t size, bool* accepted,
                              std::string* failure) {
  RegistryHive hive;
  std::string error;
  *accepted = ParseRegFile(data, size, &hive, &error);
  if (!*accepted) {
    if (error.empty()) {
      *failure = "rejected without a reason";
      return false;
    }
    return true;
  }
  const std::string written = EncodeRegFile(hive);
  RegistryHive again;
  if (!ParseRegFile(written.data(), written.size(), &again, &error)) {
    *failure = "own output rejected: " + error;
    return false;
  }
  if (EncodeRegFile(again) != written) {
    *failure = "own output reads back differently";
    return false;
  }
  if (again.ValueCount() != hive.ValueCount()) {
    *failure = "value count changed through a round trip";
    return false;
  }
  return true;
}
