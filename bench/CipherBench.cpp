#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <memory>
#include <string>
#include <vector>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"

namespace {

constexpr int kBulkBytes = 4096;

class CAesBench : public CAesTextCipher {
 public:
  using CAesTextCipher::CAesTextCipher;
  using CAesTextCipher::ExpandKey;
};

const BYTE kKey[32] = {0x60, 0x3d, 0xeb, 0x10, 0x15, 0xca, 0x71, 0xbe, 0x2b, 0x73, 0xae,
                       0xf0, 0x85, 0x7d, 0x77, 0x81, 0x1f, 0x35, 0x2c, 0x07, 0x3b, 0x61,
                       0x08, 0xd7, 0x2d, 0x98, 0x10, 0xa3, 0x09, 0x14, 0xdf, 0xf4};

using BlockOp = void (CAesTextCipher::*)(const BYTE*, BYTE*);
using BufferOp = std::int32_t (CAesTextCipher::*)(const BYTE*, BYTE*, std::int32_t);

// One block at a time, the key size given by the argument.
template <BlockOp Op>
void Block(benchmark::State& state) {
  CAesTextCipher aes(kKey, static_cast<KeySize>(state.range(0)));
  BYTE block[16] = {};
  for (auto _ : state) {
    (aes.*Op)(block, block);
    benchmark::DoNotOptimize(block);
  }
  state.SetBytesProcessed(state.iterations() * 16);
}

void ExpandKey(benchmark::State& state) {
  CAesBench aes(kKey, static_cast<KeySize>(state.range(0)));
  for (auto _ : state) {
    aes.ExpandKey();
    benchmark::ClobberMemory();
  }
}

// AES-256 over a bulk buffer in place.
template <BufferOp Op>
void Buffer256(benchmark::State& state) {
  CAesTextCipher aes(kKey, KeySize256);
  std::vector<BYTE> buffer(kBulkBytes, 0x5a);
  for (auto _ : state) {
    (aes.*Op)(buffer.data(), buffer.data(), kBulkBytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBulkBytes);
}

// OpenSSL's AES-256-ECB on the same buffers; OPENSSL_ia32cap chooses its
// code path (AES-NI or the generic one).
void OpenSslBuffer256(benchmark::State& state) {
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      EVP_CIPHER_CTX_free);
  EVP_CipherInit_ex(ctx.get(), EVP_aes_256_ecb(), nullptr, kKey, nullptr,
                    static_cast<int>(state.range(0)));
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  std::vector<BYTE> buffer(kBulkBytes, 0x5a);
  int n = 0;
  for (auto _ : state) {
    EVP_CipherUpdate(ctx.get(), buffer.data(), &n, buffer.data(), kBulkBytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBulkBytes);
  state.SetLabel(state.range(0) ? "encrypt" : "decrypt");
}

std::u16string Password(int64_t length) {
  std::u16string s;
  for (int64_t i = 0; i < length; ++i)
    s.push_back(static_cast<char16_t>(u'a' + i % 26));
  return s;
}

// Text operations as the dialog runs them: a fresh cipher per press.
void EncryptText(benchmark::State& state) {
  const std::u16string password = Password(state.range(0));
  std::int32_t n = 0;
  for (auto _ : state) {
    CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
    benchmark::DoNotOptimize(cipher.Encrypt(password.c_str(), &n));
  }
}

void DecryptText(benchmark::State& state) {
  std::u16string text;
  {
    CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
    std::int32_t n = 0;
    text = cipher.Encrypt(Password(state.range(0)).c_str(), &n);
  }
  std::uint32_t n = 0;
  for (auto _ : state) {
    CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
    benchmark::DoNotOptimize(cipher.Decrypt(text.c_str(), &n));
  }
}

}  // namespace

BENCHMARK(Block<&CAesTextCipher::EncryptBlock>)->Name("EncryptBlock")->DenseRange(0, 2);
BENCHMARK(Block<&CAesTextCipher::DecryptBlock>)->Name("DecryptBlock")->DenseRange(0, 2);
BENCHMARK(ExpandKey)->DenseRange(0, 2);
BENCHMARK(Buffer256<&CAesTextCipher::EncryptBuffer>)->Name("EncryptBuffer256");
BENCHMARK(Buffer256<&CAesTextCipher::DecryptBuffer>)->Name("DecryptBuffer256");
BENCHMARK(OpenSslBuffer256)->Arg(1)->Arg(0);
BENCHMARK(EncryptText)->Arg(8)->Arg(15)->Arg(64);
BENCHMARK(DecryptText)->Arg(8)->Arg(15)->Arg(64);

BENCHMARK_MAIN();
