// LocalAlloc and LocalFree with the test hooks in front of the raw heap.
#include "platform/core/LocalMemory.h"

#include <atomic>

#include "platform/core/LocalHeap.h"

namespace {

std::atomic<unsigned> g_failCountdown{0};
std::atomic<long> g_liveBlocks{0};
std::atomic<LocalFreeObserver> g_freeObserver{nullptr};

bool ShouldFail() {
  unsigned n = g_failCountdown.load(std::memory_order_relaxed);
  while (n != 0) {
    if (g_failCountdown.compare_exchange_weak(n, n - 1, std::memory_order_relaxed))
      return n == 1;
  }
  return false;
}

}  // namespace

// On Windows LocalMemory.h gives these two their hooked names, so the
// system's functions of the same names stay untouched.
HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  if (ShouldFail())
    return nullptr;
  HLOCAL hMem = core_detail::RawLocalAlloc((uFlags & LMEM_ZEROINIT) != 0, uBytes);
  if (hMem != nullptr)
    g_liveBlocks.fetch_add(1, std::memory_order_relaxed);
  return hMem;
}

HLOCAL LocalFree(HLOCAL hMem) {
  if (hMem != nullptr) {
    if (auto observer = g_freeObserver.load(std::memory_order_relaxed))
      observer(hMem, core_detail::RawLocalSize(hMem));
    core_detail::RawLocalFree(hMem);
    g_liveBlocks.fetch_sub(1, std::memory_order_relaxed);
  }
  return nullptr;
}

void LocalFreeWiped(HLOCAL hMem) {
  if (hMem != nullptr)
    SecureZeroMemory(hMem, core_detail::RawLocalSize(hMem));
  LocalFree(hMem);
}

void SetLocalAllocFailure(unsigned nth) { g_failCountdown.store(nth, std::memory_order_relaxed); }

long GetLocalAllocCount() { return g_liveBlocks.load(std::memory_order_relaxed); }

void SetLocalFreeObserver(LocalFreeObserver pfnObserver) {
  g_freeObserver.store(pfnObserver, std::memory_order_relaxed);
}
