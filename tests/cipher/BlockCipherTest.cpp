// The block cipher against FIPS-197's worked examples and the buffer rules
// of electronic-codebook processing.
#include <gtest/gtest.h>

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

// The state as a block: byte 4c + r is s[r][c], which the state keeps at 4r + c.
std::string StateAsBlock(const CAesProbe& aes) {
  BYTE block[16];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      block[4 * c + r] = aes.m_abState[4 * r + c];
  return ToHex(block, 16);
}

}  // namespace

// The key-size values, and FIPS-197 Appendix A: first derived words and the
// last words of each expansion. Schedule bytes beyond the words in use keep
// what they held.
TEST(BlockCipher, KeyExpansionExamples) {
  struct Case {
    const char* key;
    std::vector<std::pair<int, const char*>> words;
  };
  const Case cases[] = {
      {"2b7e151628aed2a6abf7158809cf4f3c",
       {{4, "a0fafe17"}, {5, "88542cb1"}, {42, "e13f0cc8"}, {43, "b6630ca6"}}},
      {"8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b",
       {{6, "fe0c91f7"}, {50, "8ecc7204"}, {51, "01002202"}}},
      {"603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4",
       {{8, "9ba35411"}, {12, "a8b09c1a"}, {58, "046df344"}, {59, "706c631e"}}},
  };
  for (int k = 0; k < 3; ++k) {
    const KeySizeCase& size = kKeySizes[k];
    CAesProbe aes(FromHex(cases[k].key).data(), size.nKeySize);
    EXPECT_EQ(aes.m_Nb, 4);
    EXPECT_EQ(aes.m_Nk, size.nk);
    EXPECT_EQ(aes.m_Nr, size.nr);
    for (const auto& [i, word] : cases[k].words)
      EXPECT_EQ(ScheduleWord(aes, i), word) << "key size " << size.nKeySize << " word " << i;

    const int used = 16 * (size.nr + 1);
    std::memset(aes.m_abSchedule + used, 0xA5, 240 - used);
    aes.ExpandKey();
    EXPECT_TRUE(std::all_of(aes.m_abSchedule + used, aes.m_abSchedule + 240,
                            [](BYTE b) { return b == 0xA5; }));
  }
}

// FIPS-197 Appendix C, both directions, every key size. After each block
// and buffer operation the state holds the last output block, row by row.
TEST(BlockCipher, CipherExamples) {
  const char* expected[] = {"69c4e0d86a7b0430d8cdb78070b4c55a", "dda97ca4864cdfe06eaf70a0ec0d7191",
                            "8ea2b7ca516745bfeafc49904b496089"};
  const auto plain = FromHex("00112233445566778899aabbccddeeff");
  for (int k = 0; k < 3; ++k) {
    CAesProbe aes(SequentialKey(4 * kKeySizes[k].nk).data(), kKeySizes[k].nKeySize);
    BYTE out[16];
    aes.EncryptBlock(plain.data(), out);
    EXPECT_EQ(ToHex(out, 16), expected[k]);
    EXPECT_EQ(StateAsBlock(aes), expected[k]);
    aes.DecryptBlock(out, out);  // in place
    EXPECT_EQ(ToHex(out, 16), ToHex(plain));
    EXPECT_EQ(StateAsBlock(aes), ToHex(plain));

    std::vector<BYTE> two = FromHex(expected[k]);
    two.insert(two.begin(), plain.begin(), plain.end());
    EXPECT_EQ(aes.EncryptBuffer(two.data(), two.data(), 32), 32);
    EXPECT_EQ(StateAsBlock(aes), ToHex(two.data() + 16, 16));
    EXPECT_EQ(aes.DecryptBuffer(two.data(), two.data(), 32), 32);
    EXPECT_EQ(StateAsBlock(aes), expected[k]);
  }
}

// A length that is not whole blocks, or is not positive, touches nothing.
// 48 bytes are three blocks, each as EncryptBlock gives it and equal blocks
// alike, in place or not, and the bytes after them are left alone.
TEST(BlockCipher, BufferLengths) {
  CAesTextCipher aes(SequentialKey(32).data(), KeySize256);
  std::array<BYTE, 64> in{}, out{}, expected{};
  for (int i = 0; i < 48; ++i)
    in[i] = static_cast<BYTE>(i < 32 ? i % 16 : 3 * i);  // blocks 0 and 1 are equal
  for (std::int32_t length : {0, 1, 15, 17, 20, -5, -16, INT32_MIN}) {
    const std::int32_t result = length % 16 == 0 ? length : 0;
    out.fill(0xEE);
    EXPECT_EQ(aes.EncryptBuffer(in.data(), out.data(), length), result) << length;
    EXPECT_EQ(aes.DecryptBuffer(in.data(), out.data(), length), result) << length;
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](BYTE b) { return b == 0xEE; })) << length;
  }

  expected.fill(0xEE);
  for (int k = 0; k < 3; ++k)
    aes.EncryptBlock(in.data() + 16 * k, expected.data() + 16 * k);
  EXPECT_EQ(ToHex(expected.data(), 16), ToHex(expected.data() + 16, 16));
  out.fill(0xEE);
  EXPECT_EQ(aes.EncryptBuffer(in.data(), out.data(), 48), 48);
  EXPECT_EQ(out, expected);
  out = in;
  EXPECT_EQ(aes.EncryptBuffer(out.data(), out.data(), 48), 48);
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + 48, expected.begin()));
  EXPECT_EQ(aes.DecryptBuffer(out.data(), out.data(), 48), 48);
  EXPECT_EQ(out, in);
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
    aes.ExpandKey();
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
    EXPECT_EQ(aes.Encrypt(TEXT("password"), &n), nullptr);
    EXPECT_EQ(aes.Decrypt(TEXT("53877449c8ce5745eefc1ef26d760efa"), &u), nullptr);
    EXPECT_EQ(n, -7);
  }
}
