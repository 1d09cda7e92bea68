#include "platform/framework/CString.h"

#include <algorithm>

CString::CString(LPCWSTR psz) {
  if (psz != nullptr)
    m_str = psz;
}

#if defined(_WIN32)
CString::CString(const char16_t* psz) {
  for (; psz != nullptr && *psz != 0; ++psz)
    m_str.push_back(static_cast<WCHAR>(*psz));
}
#endif

CString::CString(LPCWSTR pch, int nLength) {
  if (pch != nullptr && nLength > 0)
    m_str.assign(pch, static_cast<std::size_t>(nLength));
}

CString& CString::operator=(LPCWSTR psz) {
  if (psz == nullptr)
    m_str.clear();
  else
    m_str = psz;  // std::basic_string handles a pointer into its own buffer
  return *this;
}

CString& CString::operator+=(const CString& str) {
  m_str += str.m_str;
  return *this;
}

LPWSTR CString::GetBuffer(int nMinBufLength) {
  const std::size_t needed = static_cast<std::size_t>(std::max(nMinBufLength, 0));
  if (m_str.size() < needed)
    m_str.resize(needed);
  return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
  const std::size_t length = nNewLength < 0 ? std::char_traits<WCHAR>::length(m_str.c_str())
                                            : static_cast<std::size_t>(nNewLength);
  m_str.resize(std::min(length, m_str.size()));
}
