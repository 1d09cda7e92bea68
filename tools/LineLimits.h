// The longest line each command reads. A line is refused as soon as it
// passes its limit, so memory stays bounded whatever the input.
#pragma once

#include <cstddef>

// A password: 1 MiB of UTF-8.
inline constexpr std::size_t kMaxPasswordLine = std::size_t{1} << 20;

// An encrypted text: the text of the longest password, whose characters
// take at least a byte each. A password of L characters gives 2P digits,
// P = (L + 17) - (L + 17) mod 16: 2,097,184 for 1 MiB.
inline constexpr std::size_t kMaxTextLine =
    2 * ((kMaxPasswordLine + 17) - (kMaxPasswordLine + 17) % 16);
static_assert(kMaxTextLine == 2'097'184);
