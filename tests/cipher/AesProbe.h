// Opens the block cipher's protected members to the tests.
#pragma once

#include <string>
#include <vector>

#include "cipher/AesTextCipher.h"

class CAesProbe : public CAesTextCipher {
 public:
  using CAesTextCipher::CAesTextCipher;
  using CAesTextCipher::ApplyKeySize;
  using CAesTextCipher::ExpandKey;
  using CAesTextCipher::m_abSchedule;
  using CAesTextCipher::m_abState;
  using CAesTextCipher::m_Nb;
  using CAesTextCipher::m_Nk;
  using CAesTextCipher::m_nKeySize;
  using CAesTextCipher::m_Nr;
  using CAesTextCipher::m_pbKey;
};

// Hex helpers shared by the cipher tests.
std::vector<BYTE> FromHex(const std::string& hex);
std::string ToHex(const BYTE* pb, size_t cb);
inline std::string ToHex(const std::vector<BYTE>& v) { return ToHex(v.data(), v.size()); }
