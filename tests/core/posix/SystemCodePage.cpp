#include "tests/core/SystemCodePage.h"

#include <iconv.h>

std::optional<WCHAR> SystemDecode1252(BYTE b) {
  // Windows maps these bytes to the C1 controls of the same value; iconv
  // leaves them undefined.
  if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
    return b;
  char in = static_cast<char>(b), out[4];
  char *pIn = &in, *pOut = out;
  std::size_t cbIn = 1, cbOut = sizeof out;
  const iconv_t cd = iconv_open("UTF-16LE", "WINDOWS-1252");
  const bool bMapped = iconv(cd, &pIn, &cbIn, &pOut, &cbOut) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  return bMapped && pOut == out + 2
             ? std::optional(static_cast<WCHAR>(BYTE(out[0]) | BYTE(out[1]) << 8))
             : std::nullopt;
}
