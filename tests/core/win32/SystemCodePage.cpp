// The system's conversions themselves: this file does not include the
// program's CodePage.h, whose names stand for the program's own table.
#include "tests/core/SystemCodePage.h"

std::optional<WCHAR> SystemDecode1252(BYTE b) {
  const char in = static_cast<char>(b);
  WCHAR out = 0;
  if (MultiByteToWideChar(1252, MB_ERR_INVALID_CHARS, &in, 1, &out, 1) != 1)
    return std::nullopt;
  return out;
}

std::optional<BYTE> SystemEncode1252(WCHAR wch) {
  char out = 0;
  BOOL usedDefault = FALSE;
  if (WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &wch, 1, &out, 1, nullptr, &usedDefault) != 1 ||
      usedDefault)
    return std::nullopt;
  return static_cast<BYTE>(out);
}

bool SystemLacksC1Bytes() { return false; }
