#include "platform/core/HexFormat.h"

int FormatByteHex(LPSTR psz, BYTE b) {
  static constexpr char kDigits[] = "0123456789abcdef";
  psz[0] = kDigits[b >> 4];
  psz[1] = kDigits[b & 0x0F];
  psz[2] = '\0';
  return 2;
}
