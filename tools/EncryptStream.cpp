#include "tools/EncryptStream.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "libvelkast/PasswordRules.h"
#include "libvelkast/Utf8Codec.h"
#include "platform/core/LocalMemory.h"
#include "tools/Diagnostics.h"
#include "tools/LineCipher.h"
#include "tools/OutputWriter.h"

void CLineEncryptor::WipeLine() {
  SecureZeroMemory(m_strPassword.data(), m_strPassword.capacity() * sizeof(WCHAR));
  m_cipher.WipeLastOperation();
}

std::string CLineEncryptor::WhyRefused(std::string_view bytes, std::size_t cbBefore,
                                       std::size_t nCharsBefore) {
  const CPasswordFault fault = CheckPassword(bytes, m_strPassword, nCharsBefore + 1);
  if (fault.nStatus != VELKAST_E_UTF8)
    return CharacterFaultText(fault);
  char szByte[8];
  std::snprintf(szByte, sizeof szByte, "0x%02X", static_cast<unsigned char>(bytes[fault.nByte]));
  return std::string(velkast_status_message(VELKAST_E_UTF8)) + " at byte " +
         std::to_string(cbBefore + fault.nByte + 1) + " (" + szByte + ")";
}

bool CLineEncryptor::CheckLineStart(std::string_view start, std::size_t nLine, COutputWriter& out) {
  // Only what came since the last look, up to the last whole character.
  const std::string_view judged = WithoutCutSequence(start);
  const std::string_view fresh = judged.substr(std::min(m_cbChecked, judged.size()));
  if (std::string why = WhyRefused(fresh, m_cbChecked, m_nCharsChecked); !why.empty())
    return RefuseLine(out, nLine, why);
  m_cbChecked += fresh.size();
  m_nCharsChecked += static_cast<std::size_t>(
      std::count_if(fresh.begin(), fresh.end(), [](char b) { return (b & 0xC0) != 0x80; }));
  return true;
}

bool CLineEncryptor::TransformLine(std::string_view line, std::size_t nLine, COutputWriter& out) {
  m_cbChecked = m_nCharsChecked = 0;
  if (std::string why = WhyRefused(line, 0, 0); !why.empty())
    return RefuseLine(out, nLine, why);

  std::int32_t cchText = 0;
  const LPCWSTR pszText = m_cipher.Encrypt(m_strPassword.c_str(), &cchText);
  if (pszText == nullptr)
    return RefuseLine(out, nLine, "out of memory");
  if (m_bNoteTrailingBlank && (line.ends_with(' ') || line.ends_with('\t')))
    ReportError("line " + std::to_string(nLine) + " ends with a " +
                (line.back() == ' ' ? "space" : "tab") + "; it is part of the password");
  out.AppendAscii(WStringView(pszText, static_cast<std::size_t>(cchText)));
  out.EndLine();
  return true;
}
