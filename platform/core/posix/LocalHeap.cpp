// The local heap on malloc: each block is preceded by a header holding its
// size, aligned as malloc's own blocks are.
#include "platform/core/LocalHeap.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/core/LocalMemory.h"

namespace {

struct alignas(std::max_align_t) BlockHeader {
  SIZE_T size;
};

BlockHeader* HeaderOf(HLOCAL hMem) { return static_cast<BlockHeader*>(hMem) - 1; }

}  // namespace

namespace core_detail {

HLOCAL RawLocalAlloc(bool bZeroed, SIZE_T uBytes) {
  if (uBytes > SIZE_MAX - sizeof(BlockHeader))
    return nullptr;
  const SIZE_T total = sizeof(BlockHeader) + uBytes;
  void* raw = bZeroed ? std::calloc(1, total) : std::malloc(total);
  if (raw == nullptr)
    return nullptr;
  return ::new (raw) BlockHeader{uBytes} + 1;
}

void RawLocalFree(HLOCAL hMem) { std::free(HeaderOf(hMem)); }

SIZE_T RawLocalSize(HLOCAL hMem) { return HeaderOf(hMem)->size; }

}  // namespace core_detail

SIZE_T LocalSize(HLOCAL hMem) { return hMem == nullptr ? 0 : core_detail::RawLocalSize(hMem); }

void SecureZeroMemory(void* p, SIZE_T cb) {
  if (p != nullptr && cb != 0)
    explicit_bzero(p, cb);
}
