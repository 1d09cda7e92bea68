// The raw heap under LocalAlloc: one implementation per system. The hooks
// and counts of LocalMemory.cpp sit in front of it.
#pragma once

#include "platform/core/WinTypes.h"

namespace core_detail {

// A block of uBytes (zero-filled when bZeroed), or null.
HLOCAL RawLocalAlloc(bool bZeroed, SIZE_T uBytes);
void RawLocalFree(HLOCAL hMem);
SIZE_T RawLocalSize(HLOCAL hMem);

}  // namespace core_detail
