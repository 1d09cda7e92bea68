#include <openssl/evp.h>

#include <cstdio>
#include <memory>

#include "CipherTestSupport.h"

std::vector<BYTE> FromHex(const std::string& hex) {
  std::vector<BYTE> out(hex.size() / 2);
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<BYTE>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
  return out;
}

std::string ToHex(const BYTE* pb, size_t cb) {
  std::string s;
  char two[3];
  for (size_t i = 0; i < cb; ++i) {
    std::snprintf(two, sizeof two, "%02x", pb[i]);
    s += two;
  }
  return s;
}

std::vector<BYTE> OpenSslEcb(const std::vector<BYTE>& key, const std::vector<BYTE>& in, bool bEncrypt) {
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
