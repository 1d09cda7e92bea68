// Random keys and buffers through the block cipher and through OpenSSL's
// AES-ECB without padding: both directions, in place and separate. The one
// file of the cipher tests that uses OpenSSL.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <memory>
#include <random>
#include <string>

#include "CipherTestSupport.h"

namespace {

// OpenSSL's AES-ECB without padding; the key length picks AES-128/192/256.
std::vector<BYTE> OpenSslEcb(const std::vector<BYTE>& key, const std::vector<BYTE>& in,
                             bool bEncrypt) {
  const std::string name = "aes-" + std::to_string(8 * key.size()) + "-ecb";
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      EVP_CIPHER_CTX_free);
  std::vector<BYTE> out(in.size() + 16);
  int n = 0, tail = 0;
  EVP_CipherInit_ex(ctx.get(), EVP_get_cipherbyname(name.c_str()), nullptr, key.data(), nullptr,
                    bEncrypt ? 1 : 0);
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  EVP_CipherUpdate(ctx.get(), out.data(), &n, in.data(), static_cast<int>(in.size()));
  EVP_CipherFinal_ex(ctx.get(), out.data() + n, &tail);
  out.resize(static_cast<size_t>(n + tail));
  return out;
}

}  // namespace

TEST(OpenSslDifferential, RandomKeysAndBuffers) {
  std::mt19937 rng(197);
  const auto random = [&rng](size_t cb) {
    std::vector<BYTE> v(cb);
    for (BYTE& b : v)
      b = static_cast<BYTE>(rng());
    return v;
  };
  for (int k = 0; k < 3; ++k) {
    for (int blocks = 0; blocks <= 64; ++blocks) {
      const auto key = random(16 + 8 * static_cast<size_t>(k));
      const auto data = random(16 * static_cast<size_t>(blocks));
      const auto n = static_cast<std::int32_t>(data.size());
      CAesTextCipher aes(key.data(), static_cast<KeySize>(k));
      for (bool bEncrypt : {true, false}) {
        const auto op = bEncrypt ? &CAesTextCipher::EncryptBuffer : &CAesTextCipher::DecryptBuffer;
        std::vector<BYTE> separate(data.size()), inPlace = data;
        EXPECT_EQ((aes.*op)(data.data(), separate.data(), n), n);
        EXPECT_EQ((aes.*op)(inPlace.data(), inPlace.data(), n), n);
        const auto expected = OpenSslEcb(key, data, bEncrypt);
        ASSERT_EQ(separate, expected) << ToHex(key) << (bEncrypt ? " encrypt" : " decrypt");
        ASSERT_EQ(inPlace, expected);
      }
    }
  }
}
