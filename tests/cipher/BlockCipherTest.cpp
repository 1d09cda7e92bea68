// The block cipher against FIPS-197's worked examples, OpenSSL's key
// schedule, and the buffer rules of electronic-codebook processing.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <gtest/gtest.h>
#include <openssl/aes.h>
#include <openssl/rand.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "CipherTestSupport.h"
#include "platform/core/LocalMemory.h"

namespace {

struct KeySizeCase {
  KeySize nKeySize;
  int nk, nr;
};
constexpr KeySizeCase kKeySizes[] = {{KeySize128, 4, 10}, {KeySize192, 6, 12}, {KeySize256, 8, 14}};

std::vector<BYTE> SequentialKey(int cb) {
  std::vector<BYTE> key(cb);
  for (int i = 0; i < cb; ++i)
    key[i] = static_cast<BYTE>(i);
  return key;
}

std::string ScheduleWord(const CAesProbe& aes, int i) {
  return ToHex(aes.m_abSchedule + 4 * i, 4);
}

}  // namespace

// FIPS-197 Appendix A: first derived words and the last words of each
// expansion.
TEST(BlockCipher, KeyExpansionExamples) {
  CAesProbe a1(FromHex("2b7e151628aed2a6abf7158809cf4f3c").data(), KeySize128);
  EXPECT_EQ(ScheduleWord(a1, 4), "a0fafe17");
  EXPECT_EQ(ScheduleWord(a1, 5), "88542cb1");
  EXPECT_EQ(ScheduleWord(a1, 42), "e13f0cc8");
  EXPECT_EQ(ScheduleWord(a1, 43), "b6630ca6");

  CAesProbe a2(FromHex("8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b").data(), KeySize192);
  EXPECT_EQ(ScheduleWord(a2, 6), "fe0c91f7");
  EXPECT_EQ(ScheduleWord(a2, 50), "8ecc7204");
  EXPECT_EQ(ScheduleWord(a2, 51), "01002202");

  CAesProbe a3(FromHex("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4").data(),
               KeySize256);
  EXPECT_EQ(ScheduleWord(a3, 8), "9ba35411");
  EXPECT_EQ(ScheduleWord(a3, 12), "a8b09c1a");
  EXPECT_EQ(ScheduleWord(a3, 58), "046df344");
  EXPECT_EQ(ScheduleWord(a3, 59), "706c631e");
}

// Every schedule word equals OpenSSL's round keys for random keys; OpenSSL
// keeps each word as a 32-bit integer, so its byte order is checked first.
TEST(BlockCipher, KeyScheduleMatchesOpenSsl) {
  for (const auto& c : kKeySizes) {
    for (int trial = 0; trial < 50; ++trial) {
      std::vector<BYTE> key(4 * c.nk);
      ASSERT_EQ(RAND_bytes(key.data(), static_cast<int>(key.size())), 1);
      CAesProbe aes(key.data(), c.nKeySize);
      ASSERT_EQ(aes.m_Nb, 4);
      ASSERT_EQ(aes.m_Nk, c.nk);
      ASSERT_EQ(aes.m_Nr, c.nr);
      AES_KEY ref;
      ASSERT_EQ(AES_set_encrypt_key(key.data(), 32 * c.nk, &ref), 0);
      ASSERT_EQ(ref.rounds, c.nr);
      // The C code keeps words big-endian, the assembly code as key bytes.
      const bool bAsBytes = std::memcmp(ref.rd_key, key.data(), 4) == 0;
      const int words = 4 * (c.nr + 1);
      for (int i = 0; i < words; ++i) {
        const std::uint32_t w = ref.rd_key[i];
        const BYTE bigEndian[4] = {BYTE(w >> 24), BYTE(w >> 16), BYTE(w >> 8), BYTE(w)};
        const void* expected = bAsBytes ? static_cast<const void*>(&ref.rd_key[i]) : bigEndian;
        ASSERT_EQ(std::memcmp(aes.m_abSchedule + 4 * i, expected, 4), 0)
            << "key size " << c.nKeySize << " word " << i;
      }
    }
  }
}

TEST(BlockCipher, ScheduleBytesBeyondTheKeySizeAreNeverWritten) {
  for (const auto& c : kKeySizes) {
    CAesProbe aes(SequentialKey(4 * c.nk).data(), c.nKeySize);
    const int used = 16 * (c.nr + 1);
    std::memset(aes.m_abSchedule + used, 0xA5, 240 - used);
    aes.ExpandKey();
    for (int i = used; i < 240; ++i)
      ASSERT_EQ(aes.m_abSchedule[i], 0xA5) << c.nKeySize;
  }
}

// FIPS-197 Appendix C, both directions, every key size.
TEST(BlockCipher, CipherExamples) {
  const char* expected[] = {"69c4e0d86a7b0430d8cdb78070b4c55a", "dda97ca4864cdfe06eaf70a0ec0d7191",
                            "8ea2b7ca516745bfeafc49904b496089"};
  const auto plain = FromHex("00112233445566778899aabbccddeeff");
  for (int k = 0; k < 3; ++k) {
    CAesTextCipher aes(SequentialKey(4 * kKeySizes[k].nk).data(), kKeySizes[k].nKeySize);
    BYTE out[16];
    aes.EncryptBlock(plain.data(), out);
    EXPECT_EQ(ToHex(out, 16), expected[k]);
    aes.DecryptBlock(out, out);  // in place
    EXPECT_EQ(ToHex(out, 16), ToHex(plain));
  }
}

TEST(BlockCipher, BufferLengthsThatAreNotWholeBlocksTouchNothing) {
  CAesTextCipher aes(SequentialKey(32).data(), KeySize256);
  std::array<BYTE, 64> in{}, out{};
  in.fill(0x11);
  struct Case {
    std::int32_t length, result;
  };
  for (Case c : {Case{0, 0}, Case{1, 0}, Case{15, 0}, Case{17, 0}, Case{20, 0}, Case{-5, 0},
                 Case{-16, -16}, Case{INT32_MIN, INT32_MIN}}) {
    out.fill(0xEE);
    EXPECT_EQ(aes.EncryptBuffer(in.data(), out.data(), c.length), c.result) << c.length;
    EXPECT_EQ(aes.DecryptBuffer(in.data(), out.data(), c.length), c.result) << c.length;
    for (BYTE b : out)
      ASSERT_EQ(b, 0xEE) << c.length;
  }
}

TEST(BlockCipher, BufferIsBlockByBlockAndStopsAtItsLength) {
  CAesTextCipher aes(SequentialKey(32).data(), KeySize256);
  std::array<BYTE, 64> in{}, out{}, blocks{};
  for (int i = 0; i < 48; ++i)
    in[i] = static_cast<BYTE>(i < 32 ? i % 16 : 3 * i);  // blocks 0 and 1 are equal
  out.fill(0xEE);
  EXPECT_EQ(aes.EncryptBuffer(in.data(), out.data(), 48), 48);
  for (int k = 0; k < 3; ++k)
    aes.EncryptBlock(in.data() + 16 * k, blocks.data() + 16 * k);
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + 48, blocks.begin()));
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + 16, out.begin() + 16));
  for (int i = 48; i < 64; ++i)
    EXPECT_EQ(out[i], 0xEE);

  std::array<BYTE, 64> inPlace = in;
  EXPECT_EQ(aes.EncryptBuffer(inPlace.data(), inPlace.data(), 48), 48);
  EXPECT_TRUE(std::equal(inPlace.begin(), inPlace.begin() + 48, out.begin()));
  EXPECT_EQ(aes.DecryptBuffer(inPlace.data(), inPlace.data(), 48), 48);
  EXPECT_EQ(inPlace, in);
}

// An unknown key size, or key bytes that cannot be allocated, leave the
// object keyless: nothing is expanded, and every operation fails without
// touching its output.
TEST(BlockCipher, KeylessObjectsRefuseEveryOperation) {
  for (int selector : {3, -1, INT32_MIN, 2}) {
    const bool bKnownSize = selector == 2;
    SetLocalAllocFailure(bKnownSize ? 1 : 0);  // the key bytes' allocation
    CAesProbe aes("QuentaloVirmesHasterdo", static_cast<KeySize>(selector));
    SetLocalAllocFailure(0);
    EXPECT_EQ(aes.m_pbKey, nullptr);
    EXPECT_TRUE(std::all_of(std::begin(aes.m_abSchedule), std::end(aes.m_abSchedule),
                            [](BYTE b) { return b == 0; }));
    BYTE block[32] = {1, 2, 3};
    const std::vector<BYTE> before(block, block + 32);
    aes.EncryptBlock(block, block);
    aes.DecryptBlock(block, block);
    EXPECT_EQ(aes.EncryptBuffer(block, block, 32), 0);
    EXPECT_EQ(aes.DecryptBuffer(block, block, -16), 0);
    EXPECT_EQ(std::vector<BYTE>(block, block + 32), before);
    std::int32_t n = -7;
    std::uint32_t u = 7;
    EXPECT_EQ(aes.Encrypt(u"password", &n), nullptr);
    EXPECT_EQ(aes.Decrypt(u"53877449c8ce5745eefc1ef26d760efa", &u), nullptr);
    EXPECT_EQ(n, -7);
  }
}
