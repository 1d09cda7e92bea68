// Random keys and buffers through the block cipher and through OpenSSL's
// AES-ECB without padding: both directions, in place and separate.
#include <gtest/gtest.h>
#include <openssl/rand.h>

#include "CipherTestSupport.h"

namespace {

std::vector<BYTE> RandomBytes(size_t cb) {
  std::vector<BYTE> v(cb);
  if (cb != 0) {
    EXPECT_EQ(RAND_bytes(v.data(), static_cast<int>(cb)), 1);
  }
  return v;
}

}  // namespace

TEST(OpenSslDifferential, RandomKeysAndBuffers) {
  const std::pair<KeySize, size_t> sizes[] = {{KeySize128, 16}, {KeySize192, 24}, {KeySize256, 32}};
  for (const auto& [nKeySize, cbKey] : sizes) {
    for (int blocks = 0; blocks <= 64; ++blocks) {
      const auto key = RandomBytes(cbKey);
      const auto data = RandomBytes(16 * static_cast<size_t>(blocks));
      const auto n = static_cast<std::int32_t>(data.size());
      CAesTextCipher aes(key.data(), nKeySize);

      for (bool bEncrypt : {true, false}) {
        const auto expected = OpenSslEcb(key, data, bEncrypt);
        std::vector<BYTE> separate(data.size()), inPlace = data;
        auto run = [&](const BYTE* in, BYTE* out) {
          return bEncrypt ? aes.EncryptBuffer(in, out, n) : aes.DecryptBuffer(in, out, n);
        };
        EXPECT_EQ(run(data.data(), separate.data()), n);
        EXPECT_EQ(run(inPlace.data(), inPlace.data()), n);
        ASSERT_EQ(separate, expected) << "key " << ToHex(key) << (bEncrypt ? " encrypt" : " decrypt");
        ASSERT_EQ(inPlace, expected);
      }
    }
  }
}
