// The longest password and text that velkast-cli reads and the library
// takes, so memory stays bounded whatever the input, and every text of one
// can be read by the other.
#pragma once

#include <cstddef>

// A password: 1 MiB of UTF-8.
inline constexpr std::size_t kMaxPasswordBytes = std::size_t{1} << 20;

// An encrypted text: the text of the longest password, whose characters
// take at least a byte each. A password of L characters gives 2P digits,
// P = (L + 17) - (L + 17) mod 16: 2,097,184 for 1 MiB.
inline constexpr std::size_t kMaxTextBytes =
    2 * ((kMaxPasswordBytes + 17) - (kMaxPasswordBytes + 17) % 16);
static_assert(kMaxTextBytes == 2'097'184);
