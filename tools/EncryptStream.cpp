#include "tools/EncryptStream.h"

#include <cstdint>
#include <cstdio>

#include "platform/core/LocalMemory.h"
#include "tools/LineCipher.h"
#include "tools/OutputWriter.h"
#include "tools/PasswordRules.h"
#include "tools/Utf8LineCodec.h"

void CLineEncryptor::WipeLine() {
  SecureZeroMemory(m_strPassword.data(), m_strPassword.capacity() * sizeof(WCHAR));
  m_cipher.WipeLastOperation();
}

bool CLineEncryptor::TransformLine(std::string_view line, std::size_t nLine,
                                   COutputWriter& out) {
  std::size_t nBadByte = 0;
  if (!DecodeUtf8Strict(line, m_strPassword, &nBadByte)) {
    char szByte[8];
    std::snprintf(szByte, sizeof szByte, "0x%02X", static_cast<unsigned char>(line[nBadByte]));
    return RefuseLine(out, nLine,
                      "not valid UTF-8 at byte " + std::to_string(nBadByte + 1) + " (" + szByte +
                          ")");
  }
  if (std::string why = WhyNotEncryptable(m_strPassword); !why.empty())
    return RefuseLine(out, nLine, why);

  std::int32_t cchText = 0;
  const LPCWSTR pszText = m_cipher.Encrypt(m_strPassword.c_str(), &cchText);
  if (pszText == nullptr)
    return RefuseLine(out, nLine, "out of memory");
  out.AppendAscii(WStringView(pszText, static_cast<std::size_t>(cchText)));
  out.EndLine();
  return true;
}
