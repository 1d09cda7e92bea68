// The system's conversions themselves: this file does not include the
// program's CodePage.h, whose names stand for the program's own table.
#include "tests/core/SystemCodePage.h"

std::optional<WCHAR> SystemDecode1252(BYTE b) {
  const char in = static_cast<char>(b);
  WCHAR out = 0;
  return MultiByteToWideChar(1252, MB_ERR_INVALID_CHARS, &in, 1, &out, 1) == 1 ? std::optional(out)
                                                                               : std::nullopt;
}
