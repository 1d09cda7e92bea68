#include "platform/core/LocalMemory.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Each block is preceded by a header holding its size; the header keeps the
// payload aligned as malloc's would be.
struct alignas(std::max_align_t) BlockHeader {
  SIZE_T size;
};

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

BlockHeader* HeaderOf(HLOCAL hMem) {
  return static_cast<BlockHeader*>(hMem) - 1;
}

}  // namespace

HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  if (ShouldFail() || uBytes > SIZE_MAX - sizeof(BlockHeader))
    return nullptr;
  const SIZE_T total = sizeof(BlockHeader) + uBytes;
  void* raw = (uFlags & LMEM_ZEROINIT) ? std::calloc(1, total) : std::malloc(total);
  if (raw == nullptr)
    return nullptr;
  auto* header = ::new (raw) BlockHeader{uBytes};
  g_liveBlocks.fetch_add(1, std::memory_order_relaxed);
  return header + 1;
}

HLOCAL LocalFree(HLOCAL hMem) {
  if (hMem != nullptr) {
    if (auto observer = g_freeObserver.load(std::memory_order_relaxed))
      observer(hMem, LocalSize(hMem));
    std::free(HeaderOf(hMem));
    g_liveBlocks.fetch_sub(1, std::memory_order_relaxed);
  }
  return nullptr;
}

SIZE_T LocalSize(HLOCAL hMem) {
  return hMem == nullptr ? 0 : HeaderOf(hMem)->size;
}

void SecureZeroMemory(void* p, SIZE_T cb) {
  if (p != nullptr && cb != 0)
    explicit_bzero(p, cb);
}

void LocalFreeWiped(HLOCAL hMem) {
  SecureZeroMemory(hMem, LocalSize(hMem));
  LocalFree(hMem);
}

void SetLocalAllocFailure(unsigned nth) {
  g_failCountdown.store(nth, std::memory_order_relaxed);
}

long GetLocalAllocCount() {
  return g_liveBlocks.load(std::memory_order_relaxed);
}

void SetLocalFreeObserver(LocalFreeObserver pfnObserver) {
  g_freeObserver.store(pfnObserver, std::memory_order_relaxed);
}
