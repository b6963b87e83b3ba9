// Tintor's icon for the window: the PNG bytes of the installed 128 x 128
// icon, built into the program (the build draws it with the artwork tool).
#pragma once

#include <cstddef>

struct WindowIconPng {
  const unsigned char* data;
  std::size_t size;
};

WindowIconPng TintorWindowIcon();
