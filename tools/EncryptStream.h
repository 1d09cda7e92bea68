// encrypt: each password line to its encrypted text line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "libvelkast/WideString.h"
#include "tools/LineStream.h"

class CLineCipher;

class CLineEncryptor : public CLineTransform {
 public:
  // bNoteTrailingBlank: say on standard error when a line ends in a space or
  // a tab (which a shell may have added), and encrypt it as it stands.
  explicit CLineEncryptor(CLineCipher& cipher, bool bNoteTrailingBlank = false)
      : m_cipher(cipher), m_bNoteTrailingBlank(bNoteTrailingBlank) {}
  ~CLineEncryptor() { WipeLine(); }

  // Refuses a line that is not UTF-8, that an encrypted text cannot carry,
  // or that holds a control character: its first fault, in reading order.
  bool CheckLineStart(std::string_view start, std::size_t nLine, COutputWriter& out) override;
  bool TransformLine(std::string_view line, std::size_t nLine, COutputWriter& out) override;
  void WipeLine() override;
  std::string_view LineName() const override { return "a password"; }

 private:
  // Why the password bytes are refused, or empty; cbBefore bytes and
  // nCharsBefore characters of the line came before them. Leaves them
  // decoded in m_strPassword.
  std::string WhyRefused(std::string_view bytes, std::size_t cbBefore, std::size_t nCharsBefore);

  CLineCipher& m_cipher;
  bool m_bNoteTrailingBlank;
  WString m_strPassword;  // reused: no allocation per line
  // How much of the open line CheckLineStart has judged.
  std::size_t m_cbChecked = 0;
  std::size_t m_nCharsChecked = 0;
};
