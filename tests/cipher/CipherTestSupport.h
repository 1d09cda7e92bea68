// What the cipher tests share: the block cipher's protected members, wide
// strings, and hex helpers.
#pragma once

#include <string>
#include <vector>

#include "cipher/AesTextCipher.h"

using WString = std::basic_string<WCHAR>;

class CAesProbe : public CAesTextCipher {
 public:
  using CAesTextCipher::CAesTextCipher;
  using CAesTextCipher::ExpandKey;
  using CAesTextCipher::m_abSchedule;
  using CAesTextCipher::m_abState;
  using CAesTextCipher::m_Nb;
  using CAesTextCipher::m_Nk;
  using CAesTextCipher::m_Nr;
  using CAesTextCipher::m_pbKey;
};

std::vector<BYTE> FromHex(const std::string& hex);
std::string ToHex(const BYTE* pb, size_t cb);
inline std::string ToHex(const std::vector<BYTE>& v) { return ToHex(v.data(), v.size()); }
