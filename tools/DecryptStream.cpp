#include "tools/DecryptStream.h"

#include <algorithm>
#include <cstdint>

#include "platform/core/LocalMemory.h"
#include "tools/LineCipher.h"
#include "tools/OutputWriter.h"
#include "tools/PasswordRules.h"
#include "tools/Utf8LineCodec.h"

namespace {

constexpr std::string_view kNotAText =
    "not a Velkast encrypted text (damaged, or made with another key)";
constexpr WStringView kUnableToDecrypt = TEXT("Unable to Decrypt");

// Whole blocks of two digits per byte: 32 digits per 16-byte block.
constexpr std::size_t kDigitsPerBlock = 32;

bool IsHexDigit(char ch) {
  return (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

WCHAR LowerHexDigit(char ch) {
  return static_cast<WCHAR>(ch >= 'A' && ch <= 'F' ? ch - 'A' + 'a' : ch);
}

bool HasTextShape(std::string_view line) {
  return !line.empty() && line.size() % kDigitsPerBlock == 0 &&
         std::all_of(line.begin(), line.end(), IsHexDigit);
}

bool IsBlank(char ch) {
  return ch == ' ' || ch == '\t';
}

void Wipe(WString& str) {
  SecureZeroMemory(str.data(), str.capacity() * sizeof(WCHAR));
}

}  // namespace

void CLineDecryptor::WipeLine() {
  Wipe(m_strText);
  Wipe(m_strPassword);
  m_cipher.WipeLastOperation();
}

bool CLineDecryptor::RefuseNotAText(std::string_view line, std::size_t nLine,
                                    COutputWriter& out) {
  // Digits followed by blanks most often come from a shell's echo.
  const std::size_t cbDigits = line.find_last_not_of(" \t") + 1;
  if (cbDigits == line.size() ||
      !std::all_of(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(cbDigits), IsHexDigit))
    return RefuseLine(out, nLine, kNotAText);
  return RefuseLine(out, nLine,
                    std::string("not a Velkast encrypted text: it ends with a ") +
                        (line.back() == ' ' ? "space" : "tab") +
                        (m_bShellBlankHint ? " (cmd's echo keeps the space before a |)" : ""));
}

bool CLineDecryptor::CheckLineStart(std::string_view start, std::size_t nLine,
                                    COutputWriter& out) {
  if (m_bLenient)
    return true;
  // Only what came since the last look. Blanks may end the line, which
  // then names them; anything after a blank is a fault.
  for (const char ch : start.substr(std::min(m_cbChecked, start.size()))) {
    if (!IsBlank(ch) && (m_bBlankSeen || !IsHexDigit(ch)))
      return RefuseLine(out, nLine, kNotAText);
    m_bBlankSeen = m_bBlankSeen || IsBlank(ch);
  }
  m_cbChecked = start.size();
  return true;
}

bool CLineDecryptor::TransformLine(std::string_view line, std::size_t nLine,
                                   COutputWriter& out) {
  m_cbChecked = 0;
  m_bBlankSeen = false;
  if (m_bLenient) {
    TransformLenient(line, out);
    return true;
  }
  return TransformStrict(line, nLine, out);
}

bool CLineDecryptor::TransformStrict(std::string_view line, std::size_t nLine,
                                     COutputWriter& out) {
  if (!HasTextShape(line))
    return RefuseNotAText(line, nLine, out);
  // Lowercase, so the re-encrypted text compares digit for digit.
  m_strText.resize(line.size());
  std::transform(line.begin(), line.end(), m_strText.begin(), LowerHexDigit);

  std::uint32_t cchPassword = 0;
  const LPCWSTR pszPassword = m_cipher.Decrypt(m_strText.c_str(), &cchPassword);
  if (pszPassword == nullptr)
    return RefuseLine(out, nLine, "out of memory");
  m_strPassword.assign(pszPassword, cchPassword);

  // Only a text this key made from that password encrypts back to itself:
  // damage, another key or stray bytes after the password all show here.
  std::int32_t cchAgain = 0;
  const LPCWSTR pszAgain = m_cipher.Encrypt(m_strPassword.c_str(), &cchAgain);
  if (pszAgain == nullptr)
    return RefuseLine(out, nLine, "out of memory");
  if (WStringView(pszAgain, static_cast<std::size_t>(cchAgain)) != m_strText)
    return RefuseLine(out, nLine, kNotAText);

  if (std::string why = WhyNotPrintable(m_strPassword); !why.empty())
    return RefuseLine(out, nLine, "the password's " + why + "; --lenient prints it as it is");
  out.AppendUtf8(m_strPassword);
  out.EndLine();
  return true;
}

void CLineDecryptor::TransformLenient(std::string_view line, COutputWriter& out) {
  DecodeUtf8Lenient(line, m_strText);
  std::uint32_t cchPassword = 0;
  const LPCWSTR pszPassword = m_cipher.Decrypt(m_strText.c_str(), &cchPassword);
  if (pszPassword == nullptr)
    out.AppendUtf8(kUnableToDecrypt);
  else
    out.AppendUtf8(WStringView(pszPassword, cchPassword));
  out.EndLine();
}
