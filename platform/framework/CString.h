// The framework's wide string: UTF-16 code units, NUL-terminated, with
// value semantics (every object owns its characters). Lengths count code
// units. Storage comes from the standard library, not the local heap.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"

class CString {
 public:
  CString() = default;
  CString(LPCWSTR psz);  // null is the empty string
  CString(LPCWSTR pch, int nLength);
  explicit CString(std::basic_string_view<WCHAR> sv) : m_str(sv) {}
#if defined(_WIN32)
  // UTF-16 text written as u"...": the same code units the system's wchar_t
  // holds, so the program's literals read the same on every system.
  CString(const char16_t* psz);
  CString& operator=(const char16_t* psz) { return *this = CString(psz); }
#endif

  CString& operator=(LPCWSTR psz);
  CString& operator+=(const CString& str);

  int GetLength() const { return static_cast<int>(m_str.size()); }
  bool IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }
  WCHAR GetAt(int nIndex) const { return m_str.at(static_cast<std::size_t>(nIndex)); }

  // The characters with their terminator; valid until the string changes.
  LPCWSTR GetString() const { return m_str.c_str(); }
  operator LPCWSTR() const { return m_str.c_str(); }

  // A writable buffer of at least nMinBufLength code units plus a
  // terminator; ReleaseBuffer sets the length (-1: up to the first NUL).
  LPWSTR GetBuffer(int nMinBufLength);
  void ReleaseBuffer(int nNewLength = -1);

  std::basic_string_view<WCHAR> View() const { return m_str; }

  friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
  friend bool operator==(const CString& a, LPCWSTR b) { return a.m_str == CString(b).m_str; }

 private:
  std::basic_string<WCHAR> m_str;
};
