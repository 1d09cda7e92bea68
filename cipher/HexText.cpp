#include "cipher/HexText.h"

#include <array>

#include "platform/core/HexFormat.h"
#include "platform/core/LocalMemory.h"

namespace {

// Digit value of every 8-bit code: 0-9, a-f and A-F; everything else is 0.
constexpr std::array<BYTE, 256> MakeDigitValues() {
  std::array<BYTE, 256> values{};
  for (int c = '0'; c <= '9'; ++c)
    values[c] = static_cast<BYTE>(c - '0');
  for (int c = 'a'; c <= 'f'; ++c)
    values[c] = static_cast<BYTE>(c - 'a' + 10);
  for (int c = 'A'; c <= 'F'; ++c)
    values[c] = static_cast<BYTE>(c - 'A' + 10);
  return values;
}

constexpr std::array<BYTE, 256> kDigitValue = MakeDigitValues();

BYTE DigitValue(char ch) { return kDigitValue[static_cast<BYTE>(ch)]; }

}  // namespace

LPSTR BytesToHex(const BYTE* pbBytes, UINT cbBytes) {
  auto* psz = static_cast<LPSTR>(LocalAlloc(LMEM_FIXED, 2 * SIZE_T{cbBytes} + 1));
  if (psz == nullptr)
    return nullptr;
  psz[0] = '\0';  // no bytes: the empty string
  for (UINT i = 0; i < cbBytes; ++i)
    FormatByteHex(psz + 2 * SIZE_T{i}, pbBytes[i]);
  return psz;
}

BYTE* HexToBytes(LPCSTR pszText, UINT cchText) {
  const UINT cPairs = cchText / 2;
  auto* pb = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, SIZE_T{cPairs} + 1));
  if (pb == nullptr)
    return nullptr;
  for (UINT i = 0; i < cPairs; ++i)
    pb[i] = static_cast<BYTE>(16 * DigitValue(pszText[2 * i]) + DigitValue(pszText[2 * i + 1]));
  pb[cPairs] = 0;
  return pb;
}
