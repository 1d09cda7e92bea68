// encrypt: each password line to its encrypted text line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tools/LineStream.h"
#include "tools/WideString.h"

class CLineCipher;

class CLineEncryptor : public CLineTransform {
 public:
  explicit CLineEncryptor(CLineCipher& cipher) : m_cipher(cipher) {}
  ~CLineEncryptor() { WipeLine(); }

  // Refuses a line that is not UTF-8, that an encrypted text cannot carry,
  // or that holds a control character.
  bool TransformLine(std::string_view line, std::size_t nLine, COutputWriter& out) override;
  void WipeLine() override;

 private:
  CLineCipher& m_cipher;
  WString m_strPassword;  // reused: no allocation per line
};
