// The local heap of Windows itself.
#include "platform/core/LocalHeap.h"

#include "platform/core/LocalMemory.h"

// The system's functions here, not the hooked ones of LocalMemory.h.
#undef LocalAlloc
#undef LocalFree

namespace core_detail {

HLOCAL RawLocalAlloc(bool bZeroed, SIZE_T uBytes) {
  return ::LocalAlloc(bZeroed ? LPTR : LMEM_FIXED, uBytes);
}

void RawLocalFree(HLOCAL hMem) { ::LocalFree(hMem); }

SIZE_T RawLocalSize(HLOCAL hMem) { return ::LocalSize(hMem); }

}  // namespace core_detail
