// A colour as colours are usually written: "#RRGGBB".
#pragma once

#include <string>

#include "platform/win/win_types.h"

std::string ColourHex(COLORREF colour);
