#include "tools/DecryptStream.h"

#include <algorithm>

#include "libvelkast/Decryption.h"
#include "platform/core/LocalMemory.h"
#include "tools/Diagnostics.h"
#include "tools/LineCipher.h"
#include "tools/OutputWriter.h"

namespace {

constexpr WStringView kUnableToDecrypt = TEXT("Unable to Decrypt");

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

void Wipe(WString& str) { SecureZeroMemory(str.data(), str.capacity() * sizeof(WCHAR)); }

}  // namespace

void CLineDecryptor::WipeLine() {
  Wipe(m_strText);
  Wipe(m_strPassword);
  m_cipher.WipeLastOperation();
}

bool CLineDecryptor::RefuseNotAText(std::string_view line, std::size_t nLine, COutputWriter& out) {
  // Digits followed by blanks most often come from a shell's echo.
  const std::size_t cbDigits = line.find_last_not_of(" \t") + 1;
  if (cbDigits == line.size() ||
      !std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(cbDigits), IsHexDigit))
    return RefuseLine(out, nLine, velkast_status_message(VELKAST_E_NOT_A_TEXT));
  return RefuseLine(out, nLine,
                    std::string("not a Velkast encrypted text: it ends with a ") +
                        (line.back() == ' ' ? "space" : "tab") +
                        (m_bShellBlankHint ? " (cmd's echo keeps the space before a |)" : ""));
}

bool CLineDecryptor::CheckLineStart(std::string_view start, std::size_t nLine, COutputWriter& out) {
  if (m_bLenient)
    return true;
  // Only what came since the last look. Blanks may end the line, which
  // then names them; anything after a blank is a fault.
  for (const char ch : start.substr(std::min(m_cbChecked, start.size()))) {
    if (!IsBlank(ch) && (m_bBlankSeen || !IsHexDigit(ch)))
      return RefuseLine(out, nLine, velkast_status_message(VELKAST_E_NOT_A_TEXT));
    m_bBlankSeen = m_bBlankSeen || IsBlank(ch);
  }
  m_cbChecked = start.size();
  return true;
}

bool CLineDecryptor::TransformLine(std::string_view line, std::size_t nLine, COutputWriter& out) {
  m_cbChecked = 0;
  m_bBlankSeen = false;
  if (m_bLenient) {
    TransformLenient(line, out);
    return true;
  }
  return TransformStrict(line, nLine, out);
}

bool CLineDecryptor::TransformStrict(std::string_view line, std::size_t nLine, COutputWriter& out) {
  if (!HasTextShape(line))
    return RefuseNotAText(line, nLine, out);
  const CPasswordFault fault = DecryptStrict(m_cipher, line, m_strText, m_strPassword);
  if (fault.nStatus == VELKAST_E_CONTROL)
    return RefuseLine(
        out, nLine,
        "the password's " + CharacterFaultText(fault) + "; --lenient prints it as it is");
  if (fault.nStatus != VELKAST_OK)
    return RefuseLine(out, nLine, velkast_status_message(fault.nStatus));
  out.AppendUtf8(m_strPassword);
  out.EndLine();
  return true;
}

void CLineDecryptor::TransformLenient(std::string_view line, COutputWriter& out) {
  WStringView password;
  const bool bDecrypted = DecryptLenient(m_cipher, line, m_strText, &password) == VELKAST_OK;
  out.AppendUtf8(bDecrypted ? password : kUnableToDecrypt);
  out.EndLine();
}
