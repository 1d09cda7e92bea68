// Reading the binary formats a resource compiler writes: little-endian
// words, UTF-16 strings, the "string or ordinal" names of resources and
// dialog classes, and DWORD alignment. Every read is bounds-checked: a read
// past the end yields 0 and marks the reader failed, so a parser reads on
// and checks Failed() once at the end.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"

// A resource name as compiled: an ordinal (0xFFFF and a word) or a string.
struct RESOURCE_NAME {
  WORD nOrdinal = 0;  // 0 when the name is a string
  std::basic_string<WCHAR> strName;
};

// Resource names and the keys of version blocks compare as the system
// compares them: without regard to ASCII case.
inline bool SameResourceName(std::basic_string_view<WCHAR> a, std::basic_string_view<WCHAR> b) {
  auto upper = [](WCHAR ch) { return ch >= 'a' && ch <= 'z' ? WCHAR(ch - 'a' + 'A') : ch; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&upper](WCHAR x, WCHAR y) { return upper(x) == upper(y); });
}

class CResourceReader {
 public:
  explicit CResourceReader(std::span<const BYTE> bytes, std::size_t at = 0)
      : m_bytes(bytes), m_at(at) {}

  std::size_t Offset() const { return m_at; }
  bool AtEnd() const { return m_at >= m_bytes.size(); }
  bool Failed() const { return m_bFailed; }

  BYTE Byte() {
    if (!Has(1))
      return 0;
    return m_bytes[m_at++];
  }
  WORD Word() {
    if (!Has(2))
      return 0;
    const WORD w = static_cast<WORD>(m_bytes[m_at] | (m_bytes[m_at + 1] << 8));
    m_at += 2;
    return w;
  }
  DWORD Dword() {
    const DWORD lo = Word();
    return lo | (static_cast<DWORD>(Word()) << 16);
  }
  short Short() { return static_cast<short>(Word()); }

  // UTF-16 up to its terminator, which is read but not kept.
  std::basic_string<WCHAR> String() {
    std::basic_string<WCHAR> text;
    for (WORD w = Word(); w != 0 && !m_bFailed; w = Word())
      text.push_back(static_cast<WCHAR>(w));
    return text;
  }
  // 0xFFFF and a word: an ordinal; otherwise a terminated string (which is
  // empty when the first word is 0).
  RESOURCE_NAME Name() {
    if (Has(2) && m_bytes[m_at] == 0xFF && m_bytes[m_at + 1] == 0xFF) {
      m_at += 2;
      return {Word(), {}};
    }
    return {0, String()};
  }
  // The next cb bytes, consumed; empty (and failed) when fewer remain.
  std::span<const BYTE> Bytes(std::size_t cb) {
    if (!Has(cb))
      return {};
    const auto bytes = m_bytes.subspan(m_at, cb);
    m_at += cb;
    return bytes;
  }
  // Offsets are aligned from the start of the bytes the reader was given.
  void AlignDword() { m_at = (m_at + 3) & ~std::size_t{3}; }

 private:
  bool Has(std::size_t cb) {
    if (m_at > m_bytes.size() || cb > m_bytes.size() - m_at)
      m_bFailed = true;
    return !m_bFailed;
  }

  std::span<const BYTE> m_bytes;
  std::size_t m_at;
  bool m_bFailed = false;
};
