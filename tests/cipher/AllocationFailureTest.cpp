// Every allocation of the engine made to fail in turn, and every released
// block checked for leftovers of a password.
#include <gtest/gtest.h>

#include <algorithm>
#include <new>

#include "CipherTestSupport.h"
#include "cipher/BuiltinKey.h"
#include "platform/core/LocalMemory.h"

namespace {

// One text operation: the input, and what it gives when memory lasts.
struct TextOp {
  bool bEncrypt;
  LPCWSTR pszInput;
  LPCWSTR pszOutput;
  int nAllocations;
};

LPCWSTR RunOp(CAesTextCipher& cipher, const TextOp& op, std::int32_t* pn) {
  std::uint32_t m = 0;
  return op.bEncrypt ? cipher.Encrypt(op.pszInput, pn) : cipher.Decrypt(op.pszInput, &m);
}

}  // namespace

// The nth allocation of an operation fails, for every n: the operation
// returns null and leaves the length alone, the same object then works, and
// nothing is left allocated once it is destroyed.
TEST(AllocationFailure, EveryAllocationOfATextOperation) {
  // Encrypt allocates the plaintext, the cipher bytes, the digits and the
  // result; Decrypt the narrow text, the decoded bytes, the plaintext and
  // the result.
  const TextOp ops[] = {
      {true, TEXT("password"), TEXT("53877449c8ce5745eefc1ef26d760efa"), 4},
      {false, TEXT("53877449c8ce5745eefc1ef26d760efa"), TEXT("password"), 4},
  };
  for (const TextOp& op : ops) {
    const long baseline = GetLocalAllocCount();
    {
      CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
      for (int nth = 1; nth <= op.nAllocations + 1; ++nth) {
        std::int32_t n = -1;
        SetLocalAllocFailure(static_cast<unsigned>(nth));
        LPCWSTR psz = RunOp(cipher, op, &n);
        SetLocalAllocFailure(0);
        EXPECT_EQ(psz == nullptr, nth <= op.nAllocations) << (op.bEncrypt ? "Encrypt" : "Decrypt") << " allocation " << nth;
        if (psz == nullptr) {
          EXPECT_EQ(n, -1);
          psz = RunOp(cipher, op, &n);
        }
        EXPECT_EQ(WString(psz), op.pszOutput);
      }
    }
    EXPECT_EQ(GetLocalAllocCount(), baseline);
  }
}

namespace {
int g_released = 0;
int g_releasedDirty = 0;
void CheckWiped(const void* p, SIZE_T cb) {
  ++g_released;
  const auto* bytes = static_cast<const BYTE*>(p);
  if (std::any_of(bytes, bytes + cb, [](BYTE b) { return b != 0; }))
    ++g_releasedDirty;
}
}  // namespace

// No buffer of the engine is released holding a password, a plaintext, key
// bytes or digits; the key schedule and state are wiped at destruction.
TEST(Wipe, EveryReleasedBufferIsZero) {
  SetLocalFreeObserver(CheckWiped);
  {
    CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
    std::int32_t n = 0;
    std::uint32_t m = 0;
    cipher.Encrypt(TEXT("correct horse battery staple"), &n);
    cipher.Decrypt(TEXT("53877449c8ce5745eefc1ef26d760efa"), &m);
    cipher.Encrypt(TEXT("\u4e2d refused"), &n);
    SetLocalAllocFailure(3);
    cipher.Decrypt(TEXT("53877449c8ce5745eefc1ef26d760efa"), &m);
    SetLocalAllocFailure(0);
  }
  SetLocalFreeObserver(nullptr);
  EXPECT_GE(g_released, 13);
  EXPECT_EQ(g_releasedDirty, 0);

  alignas(CAesProbe) unsigned char storage[sizeof(CAesProbe)];
  auto* probe = ::new (storage) CAesProbe(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
  BYTE block[16] = {'s', 'e', 'c', 'r', 'e', 't'};
  probe->EncryptBlock(block, block);
  const auto scheduleAt = reinterpret_cast<unsigned char*>(probe->m_abSchedule) - storage;
  const auto stateAt = reinterpret_cast<unsigned char*>(probe->m_abState) - storage;
  probe->~CAesProbe();
  EXPECT_TRUE(std::all_of(storage + scheduleAt, storage + scheduleAt + 240, [](auto b) { return b == 0; }));
  EXPECT_TRUE(std::all_of(storage + stateAt, storage + stateAt + 16, [](auto b) { return b == 0; }));
}
