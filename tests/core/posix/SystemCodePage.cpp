#include "tests/core/SystemCodePage.h"

#include <iconv.h>

namespace {

// Converts one unit of `from` into at most two bytes of `to`; the number of
// bytes written, or nothing when iconv has no mapping.
std::optional<std::size_t> Convert(const char* to, const char* from, const void* in,
                                   std::size_t cbIn, unsigned char (&out)[4]) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    return std::nullopt;
  char* pin = static_cast<char*>(const_cast<void*>(in));
  char* pout = reinterpret_cast<char*>(out);
  std::size_t inLeft = cbIn, outLeft = sizeof out;
  const std::size_t rc = iconv(cd, &pin, &inLeft, &pout, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<std::size_t>(-1) || inLeft != 0)
    return std::nullopt;
  return sizeof out - outLeft;
}

}  // namespace

std::optional<WCHAR> SystemDecode1252(BYTE b) {
  unsigned char out[4] = {};
  if (Convert("UTF-16LE", "WINDOWS-1252", &b, 1, out) != 2u)
    return std::nullopt;
  return static_cast<WCHAR>(out[0] | (out[1] << 8));
}

std::optional<BYTE> SystemEncode1252(WCHAR wch) {
  const unsigned char in[2] = {static_cast<unsigned char>(wch), static_cast<unsigned char>(wch >> 8)};
  unsigned char out[4] = {};
  if (Convert("WINDOWS-1252", "UTF-16LE", in, 2, out) != 1u)
    return std::nullopt;
  return out[0];
}

bool SystemLacksC1Bytes() { return true; }
