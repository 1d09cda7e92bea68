// decrypt: each encrypted text line to its password line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "libvelkast/WideString.h"
#include "tools/LineStream.h"

class CLineCipher;

class CLineDecryptor : public CLineTransform {
 public:
  // Strict: a line is accepted only when it is a whole encrypted text made
  // with the cipher's key, and its password holds no control character.
  // Lenient: every line gives what the dialog would show for it.
  // bShellBlankHint: a refusal for a trailing space names cmd's echo, which
  // keeps the space before a "|".
  CLineDecryptor(CLineCipher& cipher, bool bLenient, bool bShellBlankHint = false)
      : m_cipher(cipher), m_bLenient(bLenient), m_bShellBlankHint(bShellBlankHint) {}
  ~CLineDecryptor() { WipeLine(); }

  // Strict: refuses a line as soon as it holds what no text holds.
  bool CheckLineStart(std::string_view start, std::size_t nLine, COutputWriter& out) override;
  bool TransformLine(std::string_view line, std::size_t nLine, COutputWriter& out) override;
  void WipeLine() override;
  std::string_view LineName() const override { return "an encrypted text"; }

 private:
  bool TransformStrict(std::string_view line, std::size_t nLine, COutputWriter& out);
  void TransformLenient(std::string_view line, COutputWriter& out);
  bool RefuseNotAText(std::string_view line, std::size_t nLine, COutputWriter& out);

  CLineCipher& m_cipher;
  bool m_bLenient;
  bool m_bShellBlankHint;
  WString m_strText;      // the line as wide text
  WString m_strPassword;  // kept while the cipher re-encrypts it
  // How much of the open line CheckLineStart has judged, and whether a
  // blank was among it.
  std::size_t m_cbChecked = 0;
  bool m_bBlankSeen = false;
};
