// The abstract text cipher: a wide-text password to its encrypted text and
// back. A result belongs to the cipher and stays valid until the next
// operation on the same object or its destruction.
#pragma once

#include <cstdint>

#include "platform/core/WinTypes.h"

class CTextCipher {
 public:
  CTextCipher(const CTextCipher&) = delete;
  CTextCipher& operator=(const CTextCipher&) = delete;

  // Returns the encrypted text, or null on failure; *pLength receives its
  // number of characters.
  virtual LPWSTR Encrypt(LPCWSTR pszText, std::int32_t* pLength) = 0;
  // Returns the password held by an encrypted text, or null on failure.
  virtual LPWSTR Decrypt(LPCWSTR pszText, std::uint32_t* pLength) = 0;

 protected:
  CTextCipher() = default;
  // Not virtual: ciphers are created and destroyed as their concrete type.
  ~CTextCipher();

  // Wipes and releases whichever buffers of the last operation are set.
  void ReleaseBuffers();

  LPSTR m_pszNarrow = nullptr;   // 8-bit form of the current input
  BYTE* m_pbDecoded = nullptr;   // cipher bytes decoded by Decrypt
  LPWSTR m_pszResult = nullptr;  // the string the current operation returned
};
