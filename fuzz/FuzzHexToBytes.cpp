// HexToBytes on arbitrary bytes and counts: it reads exactly the pairs the
// count allows, maps every character by the digit table, and terminates;
// BytesToHex spells the bytes back as lowercase digits.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cipher/HexText.h"
#include "platform/core/LocalMemory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  // An exact-size copy, so reading one character too many is caught.
  std::vector<char> text(data, data + size);
  const UINT pairs = static_cast<UINT>(size / 2);
  BYTE* pb = HexToBytes(text.data(), static_cast<UINT>(size));
  if (pb == nullptr || pb[pairs] != 0 || LocalSize(pb) != pairs + 1)
    std::abort();
  // Every pair read back: its digits in lower case, anything else as 0.
  std::string expected;
  for (size_t i = 0; i < 2 * pairs; ++i)
    expected += std::isxdigit(data[i]) ? static_cast<char>(std::tolower(data[i])) : '0';
  LPSTR psz = BytesToHex(pb, pairs);
  if (psz == nullptr || expected != psz)
    std::abort();
  LocalFree(psz);
  LocalFree(pb);
  return 0;
}
