// A fixed amount of block-cipher work, for counting instructions with
// callgrind: velkast_aes_workload encrypt|decrypt|expand <count>.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "cipher/AesTextCipher.h"

namespace {

class CAesWorkload : public CAesTextCipher {
 public:
  using CAesTextCipher::CAesTextCipher;
  using CAesTextCipher::ExpandKey;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: velkast_aes_workload encrypt|decrypt|expand COUNT\n");
    return 2;
  }
  const long count = std::strtol(argv[2], nullptr, 10);
  BYTE key[32];
  for (int i = 0; i < 32; ++i)
    key[i] = static_cast<BYTE>(i * 7 + 1);
  CAesWorkload aes(key, KeySize256);
  if (std::strcmp(argv[1], "expand") == 0) {
    for (long i = 0; i < count; ++i)
      aes.ExpandKey();
    return 0;
  }
  std::vector<BYTE> buffer(16 * static_cast<size_t>(count), 0x3c);
  const auto n = static_cast<std::int32_t>(buffer.size());
  const bool bEncrypt = std::strcmp(argv[1], "encrypt") == 0;
  const std::int32_t done = bEncrypt ? aes.EncryptBuffer(buffer.data(), buffer.data(), n)
                                     : aes.DecryptBuffer(buffer.data(), buffer.data(), n);
  std::printf("%02x\n", buffer[0]);
  return done == n ? 0 : 1;
}
