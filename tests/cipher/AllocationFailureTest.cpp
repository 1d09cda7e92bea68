// Every allocation of the engine made to fail in turn, and every released
// block checked for leftovers of a password.
#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "CipherTestSupport.h"
#include "cipher/BuiltinKey.h"
#include "cipher/HexText.h"
#include "platform/core/LocalMemory.h"

namespace {

// Runs op with the nth allocation failing, for n = 1, 2, ... until op
// succeeds; returns how many allocations it took to succeed.
int FailEachAllocationInTurn(const std::function<bool()>& op) {
  for (int nth = 1; nth < 100; ++nth) {
    SetLocalAllocFailure(static_cast<unsigned>(nth));
    const bool ok = op();
    SetLocalAllocFailure(0);
    if (ok)
      return nth - 1;
  }
  return -1;
}

}  // namespace

TEST(AllocationFailure, EncryptFailsCleanlyAtEveryAllocation) {
  const long baseline = GetLocalAllocCount();
  {
    CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
    std::int32_t n = 0;
    const int allocations = FailEachAllocationInTurn([&] {
      n = -1;
      LPCWSTR psz = cipher.Encrypt(u"password", &n);
      if (psz == nullptr) {
        EXPECT_EQ(n, -1);  // left unchanged on failure
        // The same object goes on working once memory is back.
        EXPECT_EQ(std::u16string(cipher.Encrypt(u"password", &n)), u"53877449c8ce5745eefc1ef26d760efa");
        return false;
      }
      return true;
    });
    EXPECT_EQ(allocations, 4);  // plaintext, cipher bytes, digits, result
  }
  EXPECT_EQ(GetLocalAllocCount(), baseline);
}

TEST(AllocationFailure, DecryptFailsCleanlyAtEveryAllocation) {
  const long baseline = GetLocalAllocCount();
  {
    CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
    std::uint32_t n = 0;
    const int allocations = FailEachAllocationInTurn([&] {
      if (cipher.Decrypt(u"53877449c8ce5745eefc1ef26d760efa", &n) == nullptr) {
        EXPECT_EQ(std::u16string(cipher.Decrypt(u"53877449C8CE5745EEFC1EF26D760EFA", &n)), u"password");
        return false;
      }
      return true;
    });
    EXPECT_EQ(allocations, 4);  // narrow text, decoded bytes, plaintext, result
  }
  EXPECT_EQ(GetLocalAllocCount(), baseline);
}

TEST(AllocationFailure, KeyThatCannotBeAllocatedLeavesTheObjectKeyless) {
  const long baseline = GetLocalAllocCount();
  {
    SetLocalAllocFailure(1);
    CAesProbe cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
    SetLocalAllocFailure(0);
    EXPECT_EQ(cipher.m_pbKey, nullptr);
    std::int32_t n = 0;
    std::uint32_t m = 0;
    EXPECT_EQ(cipher.Encrypt(u"password", &n), nullptr);
    EXPECT_EQ(cipher.Decrypt(u"53877449c8ce5745eefc1ef26d760efa", &m), nullptr);
    BYTE block[16] = {};
    EXPECT_EQ(cipher.EncryptBuffer(block, block, 16), 0);
  }
  EXPECT_EQ(GetLocalAllocCount(), baseline);
}

TEST(AllocationFailure, HexConversionsReturnNull) {
  const BYTE bytes[2] = {1, 2};
  SetLocalAllocFailure(1);
  EXPECT_EQ(BytesToHex(bytes, 2), nullptr);
  SetLocalAllocFailure(1);
  EXPECT_EQ(HexToBytes("0102", 4), nullptr);
  SetLocalAllocFailure(0);
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
  g_released = g_releasedDirty = 0;
  SetLocalFreeObserver(CheckWiped);
  {
    CAesTextCipher cipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize);
    std::int32_t n = 0;
    std::uint32_t m = 0;
    cipher.Encrypt(u"correct horse battery staple", &n);
    cipher.Decrypt(u"53877449c8ce5745eefc1ef26d760efa", &m);
    cipher.Encrypt(u"\u4e2d refused", &n);
    SetLocalAllocFailure(3);
    cipher.Decrypt(u"53877449c8ce5745eefc1ef26d760efa", &m);
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
