// HexToBytes on arbitrary bytes and counts: it reads exactly the pairs the
// count allows, maps every character by the digit table, and terminates.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cipher/HexText.h"
#include "platform/core/LocalMemory.h"

namespace {

int Digit(unsigned char ch) {
  if (ch >= '0' && ch <= '9')
    return ch - '0';
  if (ch >= 'a' && ch <= 'f')
    return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F')
    return ch - 'A' + 10;
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  // An exact-size copy, so reading one character too many is caught.
  std::vector<char> text(data, data + size);
  const UINT count = static_cast<UINT>(size);
  BYTE* pb = HexToBytes(text.data(), count);
  if (pb == nullptr)
    std::abort();
  for (UINT i = 0; i < count / 2; ++i) {
    const int expected = 16 * Digit(data[2 * i]) + Digit(data[2 * i + 1]);
    if (pb[i] != expected)
      std::abort();
  }
  if (pb[count / 2] != 0 || LocalSize(pb) != count / 2 + 1)
    std::abort();

  LPSTR psz = BytesToHex(pb, count / 2);
  if (psz == nullptr || std::strlen(psz) != 2 * (count / 2))
    std::abort();
  LocalFree(psz);
  LocalFree(pb);
  return 0;
}
