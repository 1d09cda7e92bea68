// The key-size selector of the block cipher. The underlying type is fixed,
// so any 32-bit value can be held (and refused) without undefined behaviour.
#pragma once

#include <cstdint>

enum KeySize : std::int32_t {
  KeySize128 = 0,  // Nk = 4, Nr = 10
  KeySize192 = 1,  // Nk = 6, Nr = 12
  KeySize256 = 2,  // Nk = 8, Nr = 14
};
