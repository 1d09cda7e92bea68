// The block cipher against FIPS-197's worked examples, the buffer rules of
// electronic-codebook processing, and objects left without a key.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "CipherTestSupport.h"
#include "platform/core/LocalMemory.h"

namespace {

// The state as a block: byte 4c + r is s[r][c], which the state keeps at 4r + c.
std::string StateAsBlock(const CAesProbe& aes) {
  BYTE block[16];
  for (int i = 0; i < 16; ++i)
    block[i] = aes.m_abState[4 * (i % 4) + i / 4];
  return ToHex(block, 16);
}

bool AllAre(const BYTE* pb, size_t cb, BYTE value) {
  return std::all_of(pb, pb + cb, [value](BYTE b) { return b == value; });
}

}  // namespace

// FIPS-197 Appendix C, both directions, every key size; after each block and
// buffer operation the state holds the last output block, row by row. The
// schedule bytes beyond the words a key size uses are never written.
TEST(BlockCipher, AppendixCExamplesAndTheStateLeftBehind) {
  const char* expected[] = {"69c4e0d86a7b0430d8cdb78070b4c55a", "dda97ca4864cdfe06eaf70a0ec0d7191",
                            "8ea2b7ca516745bfeafc49904b496089"};
  const auto plain = FromHex("00112233445566778899aabbccddeeff");
  const auto key = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
  for (int k = 0; k < 3; ++k) {
    CAesProbe aes(key.data(), static_cast<KeySize>(k));
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

    const int used = 16 * (11 + 2 * k);
    std::memset(aes.m_abSchedule + used, 0xA5, 240 - used);
    aes.ExpandKey();
    EXPECT_TRUE(AllAre(aes.m_abSchedule + used, 240 - used, 0xA5)) << k;
  }
}

// A length that is not whole blocks, or is not positive, touches nothing.
// Whole blocks are checked against the NIST files and OpenSSL, in place and
// not, into buffers of their exact size.
TEST(BlockCipher, BufferLengthsOfNoWholeBlocks) {
  CAesTextCipher aes("any key", KeySize256);
  std::array<BYTE, 32> in{}, out{};
  for (std::int32_t length : {0, 1, 15, 17, 20, -5, -16, INT32_MIN}) {
    out.fill(0xEE);
    EXPECT_EQ(aes.EncryptBuffer(in.data(), out.data(), length), length % 16 == 0 ? length : 0);
    EXPECT_EQ(aes.DecryptBuffer(in.data(), out.data(), length), length % 16 == 0 ? length : 0);
    EXPECT_TRUE(AllAre(out.data(), out.size(), 0xEE)) << length;
  }
}

// An unknown key size, or key bytes that cannot be allocated, leave the
// object keyless: nothing is expanded, and every operation fails without
// touching its output.
TEST(BlockCipher, KeylessObjectsRefuseEveryOperation) {
  for (int selector : {3, -1, INT32_MIN, 2}) {
    SetLocalAllocFailure(selector == 2 ? 1 : 0);  // the key bytes' allocation
    CAesProbe aes("QuentaloVirmesHasterdo", static_cast<KeySize>(selector));
    SetLocalAllocFailure(0);
    aes.ExpandKey();
    EXPECT_TRUE(aes.m_pbKey == nullptr && AllAre(aes.m_abSchedule, 240, 0)) << selector;
    BYTE block[32] = {1, 2, 3};
    aes.EncryptBlock(block, block);
    aes.DecryptBlock(block, block);
    EXPECT_EQ(aes.EncryptBuffer(block, block, 32) + aes.DecryptBuffer(block, block, -16), 0);
    EXPECT_TRUE(block[0] == 1 && block[1] == 2 && block[2] == 3 && AllAre(block + 3, 29, 0));
    std::int32_t n = -7;
    std::uint32_t u = 7;
    EXPECT_EQ(aes.Encrypt(TEXT("password"), &n), nullptr);
    EXPECT_EQ(aes.Decrypt(TEXT("53877449c8ce5745eefc1ef26d760efa"), &u), nullptr);
    EXPECT_EQ(n, -7);
  }
}
