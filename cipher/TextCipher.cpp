#include "cipher/TextCipher.h"

#include "platform/core/LocalMemory.h"

CTextCipher::~CTextCipher() { ReleaseBuffers(); }

void CTextCipher::ReleaseBuffers() {
  // Every slot may hold a password or its plaintext: wipe before release.
  LocalFreeWiped(m_pszNarrow);
  LocalFreeWiped(m_pbDecoded);
  LocalFreeWiped(m_pszResult);
  m_pszNarrow = nullptr;
  m_pbDecoded = nullptr;
  m_pszResult = nullptr;
}
