// The local heap: zero fill, sizes, the count of live blocks, the release
// that wipes, and the failure hook.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/LocalMemory.h"

static std::vector<BYTE> g_released;  // the last block released, as it was then

// Blocks come zero-filled (when asked), aligned and of their size, even of
// no bytes; the count follows them; a plain release keeps the contents, a
// wiped one leaves only zeros; no heap meets SIZE_MAX.
TEST(LocalMemory, BlocksCountsAndReleases) {
  const long before = GetLocalAllocCount();
  auto* p = static_cast<BYTE*>(LocalAlloc(LPTR, 100));
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(LocalSize(p) == 100 && std::all_of(p, p + 100, [](BYTE b) { return b == 0; }));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(std::max_align_t), 0u);
  auto* q = static_cast<char*>(LocalAlloc(LMEM_FIXED, 0));
  EXPECT_TRUE(q != nullptr && GetLocalAllocCount() == before + 2);
  SetLocalFreeObserver([](const void* pBlock, SIZE_T cb) {
    g_released.assign(static_cast<const BYTE*>(pBlock), static_cast<const BYTE*>(pBlock) + cb);
  });
  std::copy_n("hunter2", 8, p);
  EXPECT_EQ(LocalFree(p), nullptr);
  EXPECT_EQ(std::string(g_released.begin(), g_released.begin() + 8), std::string("hunter2", 8));
  LocalFree(q);
  q = static_cast<char*>(LocalAlloc(LMEM_FIXED, 3));
  std::copy_n("ab", 3, q);
  LocalFreeWiped(q);
  EXPECT_EQ(g_released, std::vector<BYTE>(3, 0));
  SetLocalFreeObserver(nullptr);
  LocalFree(nullptr);
  EXPECT_EQ(GetLocalAllocCount(), before);
  EXPECT_EQ(LocalAlloc(LMEM_FIXED, SIZE_MAX), nullptr);
}

// The third allocation from now fails, and only it; a hook disarmed before
// it fires fails nothing.
TEST(LocalMemory, FailureHookFailsExactlyTheNthAllocationOnce) {
  for (const bool bDisarmed : {false, true}) {
    SetLocalAllocFailure(3);
    SetLocalAllocFailure(bDisarmed ? 0 : 3);
    std::string failed;
    for (int i = 0; i < 5; ++i) {
      HLOCAL h = LocalAlloc(LMEM_FIXED, 8);
      failed += h == nullptr ? 'x' : '.';
      LocalFree(h);
    }
    EXPECT_EQ(failed, bDisarmed ? "....." : "..x..");
  }
}
