// Handle, message-parameter and geometry types of the window system.
//
// On Windows they are the system's own. Elsewhere handles are opaque
// pointers to structures the backend defines, with the same sizes and
// meanings as on Windows.
#pragma once

#include <cstdint>

#include "platform/core/WinTypes.h"

#if !defined(_WIN32)

struct HWND__;
struct HICON__;
struct HRSRC__;
struct RESOURCE_MODULE;

// The calling convention of procedures the system calls; nothing to say here.
#define CALLBACK

using HWND = HWND__*;
using HICON = HICON__*;
using HRSRC = HRSRC__*;
using HGLOBAL = void*;
using HINSTANCE = const RESOURCE_MODULE*;

using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;

struct POINT {
  LONG x;
  LONG y;
};

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

constexpr WORD LOWORD(UINT_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(UINT_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) {
  return static_cast<WPARAM>(lo) | (static_cast<WPARAM>(hi) << 16);
}

// nNumber * nNumerator / nDenominator with the intermediate product kept in
// 64 bits and the result rounded half away from zero; -1 when the
// denominator is zero or the result does not fit in an int.
constexpr int MulDiv(int nNumber, int nNumerator, int nDenominator) {
  if (nDenominator == 0)
    return -1;
  const std::int64_t product = static_cast<std::int64_t>(nNumber) * nNumerator;
  const bool negative = (product < 0) != (nDenominator < 0);
  const std::int64_t num = product < 0 ? -product : product;
  const std::int64_t den =
      nDenominator < 0 ? -static_cast<std::int64_t>(nDenominator) : nDenominator;
  const std::int64_t q = (num + den / 2) / den;
  if (q > 0x7FFFFFFF)
    return -1;
  return static_cast<int>(negative ? -q : q);
}

#endif
