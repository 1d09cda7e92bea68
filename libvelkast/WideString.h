// Wide text in the library and velkast-cli: strings of the platform's WCHAR,
// which holds one UTF-16 code unit wherever they build (char16_t here,
// wchar_t on Windows). The UTF-8 codec relies on that size.
//
// A wide string may hold a password, so its buffers come from the local heap
// and are wiped before they go back to it, a reallocation's old buffer
// included; their allocations count and fail as every other does
// (SetLocalAllocFailure), so running out of memory is tested for real. What
// a short string keeps inside itself is its owner's to wipe (CWipedWString).
#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <string_view>

#include "platform/core/LocalMemory.h"
#include "platform/core/WinTypes.h"

static_assert(sizeof(WCHAR) == 2, "WCHAR must be a UTF-16 code unit");

template <typename T>
struct CWipingAllocator {
  using value_type = T;

  CWipingAllocator() = default;
  template <typename U>
  CWipingAllocator(const CWipingAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > SIZE_MAX / sizeof(T))
      throw std::bad_array_new_length();
    if (void* p = LocalAlloc(LMEM_FIXED, n * sizeof(T)))
      return static_cast<T*>(p);
    throw std::bad_alloc();
  }
  void deallocate(T* p, std::size_t) noexcept { LocalFreeWiped(p); }

  friend bool operator==(const CWipingAllocator&, const CWipingAllocator&) { return true; }
};

using WString = std::basic_string<WCHAR, std::char_traits<WCHAR>, CWipingAllocator<WCHAR>>;
using WStringView = std::basic_string_view<WCHAR>;

// A wide string that wipes all it holds when it goes, a short one's
// characters kept inside the object included.
class CWipedWString : public WString {
 public:
  ~CWipedWString() { SecureZeroMemory(data(), capacity() * sizeof(WCHAR)); }
};
