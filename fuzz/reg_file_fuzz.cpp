// libFuzzer target for the registry file reader (build with `make fuzz`).
#include <cstdio>
#include <cstdlib>

#include "fuzz/reg_file_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  bool accepted = false;
  std::string failure;
  if (!CheckRegFileInput(data, size, &accepted, &failure)) {
    std::fprintf(stderr, "registry file check failed: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
