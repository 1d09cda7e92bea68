// The system library's local heap: plain and zero-filled allocation, release,
// and a wipe the optimiser cannot drop, with test hooks that work the same on
// every system.
//
// Every block knows its size, so LocalSize can answer and a caller can wipe
// a block before releasing it without tracking sizes of its own.
#pragma once

#include "platform/core/WinTypes.h"

#if defined(_WIN32)

// The system's local heap, LocalSize and SecureZeroMemory are the ones of
// <windows.h>. The program's calls to LocalAlloc and LocalFree reach the two
// functions below first, which keep the test hooks and then call the system.
HLOCAL AfxLocalAlloc(UINT uFlags, SIZE_T uBytes);
HLOCAL AfxLocalFree(HLOCAL hMem);
#define LocalAlloc AfxLocalAlloc
#define LocalFree AfxLocalFree

#else

inline constexpr UINT LMEM_FIXED = 0x0000;
inline constexpr UINT LMEM_ZEROINIT = 0x0040;
inline constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;

// Returns a block of uBytes bytes (zero-filled with LMEM_ZEROINIT), or null
// when memory runs out or the test hook below says so. Zero bytes is a valid
// request and yields a distinct, releasable block.
HLOCAL LocalAlloc(UINT uFlags, SIZE_T uBytes);

// Releases a block from LocalAlloc; null is accepted. Returns null.
HLOCAL LocalFree(HLOCAL hMem);

// The size requested for a block, 0 for null.
SIZE_T LocalSize(HLOCAL hMem);

// Overwrites cb bytes at p with zeros; never optimised away.
void SecureZeroMemory(void* p, SIZE_T cb);

#endif

// Wipes a block over its whole size, then releases it; null is accepted.
void LocalFreeWiped(HLOCAL hMem);

// Test hook: the nth LocalAlloc from now on fails (1 = the next one), once.
// 0 disarms the hook.
void SetLocalAllocFailure(unsigned nth);

// Number of blocks allocated and not yet released, for leak checks.
long GetLocalAllocCount();

// Test hook: called with every block's address and size just before
// LocalFree releases it, so tests can check what a block held at the end.
// Null removes the observer.
using LocalFreeObserver = void (*)(const void* pBlock, SIZE_T cbBlock);
void SetLocalFreeObserver(LocalFreeObserver pfnObserver);
