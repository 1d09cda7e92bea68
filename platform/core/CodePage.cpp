#include "platform/core/CodePage.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Bytes 0x80 to 0x9F of Windows-1252; every other byte maps to the code
// unit of the same value.
constexpr std::array<WCHAR, 32> kHighControls = {
    // x0      x1      x2      x3      x4      x5      x6      x7
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

bool IsSupported(UINT codePage) { return codePage == CP_ACP || codePage == CP_1252; }

// Length of the run to convert: a given count, or up to and including the
// terminator for -1.
template <typename Char>
int RunLength(const Char* text, int count) {
  if (count >= 0)
    return count;
  int n = 0;
  while (text[n] != 0)
    ++n;
  return n + 1;
}

}  // namespace

bool WideCharTo1252(WCHAR wch, BYTE* pb) {
  if (wch < 0x80 || (wch >= 0xA0 && wch <= 0xFF)) {
    *pb = static_cast<BYTE>(wch);
    return true;
  }
  const auto* it = std::find(kHighControls.begin(), kHighControls.end(), wch);
  if (it == kHighControls.end())
    return false;
  *pb = static_cast<BYTE>(0x80 + (it - kHighControls.begin()));
  return true;
}

WCHAR Cp1252ToWideChar(BYTE b) {
  return (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : WCHAR{b};
}

int WideCharToMultiByte(UINT CodePage, DWORD /*dwFlags*/, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        LPBOOL lpUsedDefaultChar) {
  if (!IsSupported(CodePage) || lpWideCharStr == nullptr || cbMultiByte < 0)
    return 0;
  const int n = RunLength(lpWideCharStr, cchWideChar);
  const char defaultChar = lpDefaultChar != nullptr ? *lpDefaultChar : '?';
  const int limit = cbMultiByte == 0 ? n : std::min(n, cbMultiByte);
  bool usedDefault = false;
  for (int i = 0; i < limit; ++i) {
    BYTE b = 0;
    if (!WideCharTo1252(lpWideCharStr[i], &b)) {
      b = static_cast<BYTE>(defaultChar);
      usedDefault = true;
    }
    if (cbMultiByte != 0)
      lpMultiByteStr[i] = static_cast<char>(b);
  }
  if (lpUsedDefaultChar != nullptr)
    *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
  return (cbMultiByte != 0 && n > cbMultiByte) ? 0 : n;
}

int MultiByteToWideChar(UINT CodePage, DWORD /*dwFlags*/, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar) {
  if (!IsSupported(CodePage) || lpMultiByteStr == nullptr || cchWideChar < 0)
    return 0;
  const int n = RunLength(lpMultiByteStr, cbMultiByte);
  if (cchWideChar == 0)
    return n;
  const int limit = std::min(n, cchWideChar);
  for (int i = 0; i < limit; ++i)
    lpWideCharStr[i] = Cp1252ToWideChar(static_cast<BYTE>(lpMultiByteStr[i]));
  return n > cchWideChar ? 0 : n;
}
