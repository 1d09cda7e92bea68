#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/core/LocalMemory.h"

TEST(LocalMemory, ZeroFillSizeAndRelease) {
  const long before = GetLocalAllocCount();
  auto* p = static_cast<BYTE*>(LocalAlloc(LPTR, 100));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(LocalSize(p), 100u);
  EXPECT_TRUE(std::all_of(p, p + 100, [](BYTE b) { return b == 0; }));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % alignof(std::max_align_t), 0u);
  HLOCAL empty = LocalAlloc(LMEM_FIXED, 0);
  EXPECT_NE(empty, nullptr);
  EXPECT_EQ(GetLocalAllocCount(), before + 2);
  EXPECT_EQ(LocalFree(p), nullptr);
  LocalFree(empty);
  LocalFree(nullptr);
  EXPECT_EQ(GetLocalAllocCount(), before);
  EXPECT_EQ(LocalAlloc(LMEM_FIXED, SIZE_MAX), nullptr);
}

TEST(LocalMemory, FailureHookFailsExactlyTheNthAllocationOnce) {
  SetLocalAllocFailure(3);
  std::vector<HLOCAL> blocks;
  for (int i = 0; i < 5; ++i)
    blocks.push_back(LocalAlloc(LMEM_FIXED, 8));
  EXPECT_NE(blocks[0], nullptr);
  EXPECT_NE(blocks[1], nullptr);
  EXPECT_EQ(blocks[2], nullptr);
  EXPECT_NE(blocks[3], nullptr);
  EXPECT_NE(blocks[4], nullptr);
  for (HLOCAL b : blocks)
    LocalFree(b);

  SetLocalAllocFailure(1);
  SetLocalAllocFailure(0);  // disarmed before it fired
  HLOCAL b = LocalAlloc(LMEM_FIXED, 8);
  EXPECT_NE(b, nullptr);
  LocalFree(b);
}

namespace {
std::vector<BYTE> g_lastReleased;
void Record(const void* p, SIZE_T cb) {
  const auto* bytes = static_cast<const BYTE*>(p);
  g_lastReleased.assign(bytes, bytes + cb);
}
}  // namespace

TEST(LocalMemory, WipedReleaseLeavesOnlyZeros) {
  SetLocalFreeObserver(Record);
  auto* p = static_cast<char*>(LocalAlloc(LMEM_FIXED, 12));
  std::copy_n("hunter2hunt", 12, p);
  LocalFreeWiped(p);
  EXPECT_EQ(g_lastReleased, std::vector<BYTE>(12, 0));

  p = static_cast<char*>(LocalAlloc(LMEM_FIXED, 3));
  std::copy_n("ab", 3, p);
  LocalFree(p);  // a plain release keeps its contents
  EXPECT_EQ(g_lastReleased, (std::vector<BYTE>{'a', 'b', 0}));
  SetLocalFreeObserver(nullptr);
}
