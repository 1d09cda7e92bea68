#include "tests/core/SystemCodePage.h"

#include <iconv.h>

#include <string>

namespace {

// What glibc's iconv makes of one character; empty when it has no mapping.
std::string Convert(const char* to, const char* from, std::string in) {
  const iconv_t cd = iconv_open(to, from);
  char out[4];
  char* pIn = in.data();
  char* pOut = out;
  std::size_t cbIn = in.size(), cbOut = sizeof out;
  const bool bMapped = iconv(cd, &pIn, &cbIn, &pOut, &cbOut) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  return bMapped && cbIn == 0 ? std::string(out, pOut) : std::string();
}

// Windows maps these bytes to the C1 controls of the same value; iconv
// leaves them undefined.
bool IsUndefinedInIconv(unsigned u) {
  return u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
}

}  // namespace

std::optional<WCHAR> SystemDecode1252(BYTE b) {
  if (IsUndefinedInIconv(b))
    return b;
  const std::string out = Convert("UTF-16LE", "WINDOWS-1252", std::string(1, static_cast<char>(b)));
  return out.size() == 2 ? std::optional(static_cast<WCHAR>(BYTE(out[0]) | BYTE(out[1]) << 8))
                         : std::nullopt;
}

std::optional<BYTE> SystemEncode1252(WCHAR wch) {
  if (IsUndefinedInIconv(wch))
    return static_cast<BYTE>(wch);
  const std::string out = Convert("WINDOWS-1252", "UTF-16LE", {char(wch & 0xFF), char(wch >> 8)});
  return out.size() == 1 ? std::optional(static_cast<BYTE>(out[0])) : std::nullopt;
}
