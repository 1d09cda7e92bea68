// Random keys and buffers through the block cipher and through OpenSSL's
// AES-ECB without padding: both directions, in place and separate. The one
// file of the cipher tests that uses OpenSSL.
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>

#include "CipherTestSupport.h"

namespace {

std::vector<BYTE> RandomBytes(size_t cb) {
  std::vector<BYTE> v(cb + 1);  // never empty, which RAND_bytes refuses
  EXPECT_EQ(RAND_bytes(v.data(), static_cast<int>(v.size())), 1);
  v.pop_back();
  return v;
}

// OpenSSL's AES-ECB without padding; the key length picks AES-128/192/256.
std::vector<BYTE> OpenSslEcb(const std::vector<BYTE>& key, const std::vector<BYTE>& in,
                             bool bEncrypt) {
  const EVP_CIPHER* cipher = key.size() == 16   ? EVP_aes_128_ecb()
                             : key.size() == 24 ? EVP_aes_192_ecb()
                                                : EVP_aes_256_ecb();
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      EVP_CIPHER_CTX_free);
  std::vector<BYTE> out(in.size() + 16);
  int n = 0, tail = 0;
  EVP_CipherInit_ex(ctx.get(), cipher, nullptr, key.data(), nullptr, bEncrypt ? 1 : 0);
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  EVP_CipherUpdate(ctx.get(), out.data(), &n, in.data(), static_cast<int>(in.size()));
  EVP_CipherFinal_ex(ctx.get(), out.data() + n, &tail);
  out.resize(static_cast<size_t>(n + tail));
  return out;
}

}  // namespace

TEST(OpenSslDifferential, RandomKeysAndBuffers) {
  for (int k = 0; k < 3; ++k) {
    for (int blocks = 0; blocks <= 64; ++blocks) {
      const auto key = RandomBytes(16 + 8 * static_cast<size_t>(k));
      const auto data = RandomBytes(16 * static_cast<size_t>(blocks));
      const auto n = static_cast<std::int32_t>(data.size());
      CAesTextCipher aes(key.data(), static_cast<KeySize>(k));
      for (bool bEncrypt : {true, false}) {
        std::vector<BYTE> separate(data.size()), inPlace = data;
        EXPECT_EQ(bEncrypt ? aes.EncryptBuffer(data.data(), separate.data(), n)
                           : aes.DecryptBuffer(data.data(), separate.data(), n),
                  n);
        EXPECT_EQ(bEncrypt ? aes.EncryptBuffer(inPlace.data(), inPlace.data(), n)
                           : aes.DecryptBuffer(inPlace.data(), inPlace.data(), n),
                  n);
        const auto expected = OpenSslEcb(key, data, bEncrypt);
        ASSERT_EQ(separate, expected) << ToHex(key) << (bEncrypt ? " encrypt" : " decrypt");
        ASSERT_EQ(inPlace, expected);
      }
    }
  }
}
